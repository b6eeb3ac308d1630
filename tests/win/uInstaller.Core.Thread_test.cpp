#include "uInstaller.Core.Thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "DRX.Exceptions.h"
#include "TestInstaller.h"
#include "TestSupport.h"

namespace {

struct TRecorded {
  int listener;
  int code;
  intptr_t data;
  UString text;
  bool onMainThread;
};

class TRecordingListener : public IInstallerNotify {
 public:
  TRecordingListener(int id, std::vector<TRecorded>& log) : id_(id), log_(log) {}
  void Notify(int code, intptr_t data) override {
    log_.push_back({id_, code, code == inProgress || code == inFinished ? data : 0,
                    code == inStatusText ? NotifyText(data) : UString(), IsMainThread()});
  }

 private:
  int id_;
  std::vector<TRecorded>& log_;
};

// Test actions; what they do is set per test through these hooks.
std::function<void(TInstallerAction&)> gFirstBody, gSecondBody;
std::vector<int> gExecuted;

class TFirstAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TFirstAction";
  void Execute() override {
    gExecuted.push_back(1);
    if (gFirstBody) gFirstBody(*this);
  }
};

class TSecondAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TSecondAction";
  void Execute() override {
    gExecuted.push_back(2);
    if (gSecondBody) gSecondBody(*this);
  }
};

class InstallerThread : public ::testing::Test {
 protected:
  InstallerThread() {
    gFirstBody = gSecondBody = nullptr;
    gExecuted.clear();
    TTestProductInfo::ActionClasses = {ActionClass<TFirstAction>(), ActionClass<TSecondAction>()};
    installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination.Path() + u"\" /SILENT", TestPackages());
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
    installer->AddListener(&first);
    installer->AddListener(&second);
  }
  std::vector<TRecorded> FromListener(int id) const {
    std::vector<TRecorded> result;
    for (const auto& entry : log) if (entry.listener == id) result.push_back(entry);
    return result;
  }

  TTestProductGuard product;
  TTempFolder destination;
  std::vector<TRecorded> log;
  TRecordingListener first{1, log}, second{2, log};
  std::unique_ptr<TInstaller> installer;
};

constexpr intptr_t Progress(int overall, int current) { return (intptr_t(overall) << 16) | current; }

// The wizard's message loop, until `done` or ten seconds have passed.
void PumpMessagesUntil(const std::function<bool()>& done) {
  const ULONGLONG start = GetTickCount64();
  while (!done() && GetTickCount64() - start < 10000) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

}  // namespace

TEST_F(InstallerThread, NotificationsReachListenersOnTheMainThreadLastRegisteredFirst) {
  gFirstBody = [](TInstallerAction& action) {
    action.SetStatus(u"copying");
    action.SetProgress(40);
  };
  installer->Start(true);
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_FALSE(installer->HasErrors());
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log[0].listener, 2) << "the last registered listener hears first";
  for (const auto& entry : log) EXPECT_TRUE(entry.onMainThread);

  std::vector<std::pair<int, intptr_t>> heard;
  for (const auto& entry : FromListener(1)) {
    if (entry.code == inStatusText) EXPECT_EQ(entry.text, u"copying");
    if (entry.code != inRedraw) heard.push_back({entry.code, entry.data});
  }
  const std::vector<std::pair<int, intptr_t>> expected = {
      {inProgress, Progress(0, 0)},    {inStatusText, 0},
      {inProgress, Progress(20, 40)},  {inProgress, Progress(50, 100)},
      {inProgress, Progress(50, 0)},   // second action starts: overall 50, current 0
      {inProgress, Progress(100, 100)}, {inFinished, 0}};
  EXPECT_EQ(heard, expected);
}

TEST_F(InstallerThread, AnActionThatRaisesEndsTheRunWithOneError) {
  gFirstBody = [](TInstallerAction& action) {
    action.SetProgress(30);
    throw Exception(u"disk full");
  };
  installer->Start(true);
  ASSERT_EQ(installer->Errors().Count(), 1);
  EXPECT_EQ(installer->Errors().Strings(0), u"disk full");
  EXPECT_EQ(gExecuted, std::vector<int>{1});
  const TInstallerActionList& actions = installer->Thread()->Actions();
  EXPECT_EQ(actions.Items(0).Progress(), 30) << "a failed action does not reach 100";
  EXPECT_EQ(actions.Items(1).Progress(), 0);
  EXPECT_EQ(FromListener(1).back().code, inFinished);
  EXPECT_EQ(FromListener(1).back().data, 0);
}

TEST_F(InstallerThread, CancellingLetsTheRunningActionFinishAndStartsNoOther) {
  const HANDLE running = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  bool firstCompleted = false;
  TInstallerThread* thread = nullptr;
  gFirstBody = [&](TInstallerAction&) {
    SetEvent(running);
    WaitForSingleObject(release, 10000);
    while (!thread->Terminated()) Sleep(1);  // the cancel arrives while this action runs
    firstCompleted = true;
  };
  installer->Start(false);
  thread = installer->Thread();
  ASSERT_TRUE(WaitForHandlePumping(running, 10000));  // the thread reports while we wait
  SetEvent(release);
  installer->StopThread();
  EXPECT_TRUE(firstCompleted);
  EXPECT_EQ(gExecuted, std::vector<int>{1});
  EXPECT_EQ(installer->State(), stFinished);
  ASSERT_TRUE(installer->HasErrors());
  EXPECT_EQ(installer->Errors().Strings(installer->Errors().Count() - 1), u"Cancelled by user");
  CloseHandle(running);
  CloseHandle(release);
}

TEST_F(InstallerThread, AQuestionToTheMainThreadIsAnsweredWhileStartWaits) {
  bool askedOnMainThread = false;
  gFirstBody = [&](TInstallerAction&) { Synchronize([&] { askedOnMainThread = IsMainThread(); }); };
  installer->Start(true);
  EXPECT_TRUE(askedOnMainThread);
  EXPECT_EQ(gExecuted, (std::vector<int>{1, 2}));
  installer->Start(true);  // an installation runs once per process
  EXPECT_EQ(gExecuted, (std::vector<int>{1, 2}));
}

TEST_F(InstallerThread, AProductWithoutActionsFinishesAtOnce) {
  TTestProductInfo::ActionClasses.clear();
  installer->Start(true);
  const auto heard = FromListener(1);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].code, inFinished);
}

TEST_F(InstallerThread, SomethingThatIsNoExceptionEndsTheRunWithAnError) {
  gFirstBody = [](TInstallerAction&) { throw 42; };
  installer->Start(true);
  EXPECT_EQ(ListStrings(installer->Errors()), std::vector<UString>{u"Stopped unexpectedly"});
  EXPECT_EQ(gExecuted, std::vector<int>{1});
  EXPECT_EQ(FromListener(1).back().code, inFinished);
}

// A thread that dies (here it ends itself; a stack overflow ends it the same
// way under Wine) sends no inFinished: the waiting start notices it.
TEST_F(InstallerThread, AThreadThatDiesInAnActionEndsTheRunWithAnError) {
  gFirstBody = [](TInstallerAction&) { ExitThread(3); };
  installer->Start(true);
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_EQ(ListStrings(installer->Errors()), std::vector<UString>{u"Stopped unexpectedly"});
  EXPECT_EQ(gExecuted, std::vector<int>{1});
  ASSERT_FALSE(FromListener(1).empty());
  EXPECT_EQ(FromListener(1).back().code, inFinished);
  EXPECT_EQ(FromListener(1).back().data, 0);
}

TEST_F(InstallerThread, WithoutWaitingTheMessageLoopLearnsOfADeadThread) {
  gFirstBody = [](TInstallerAction&) { ExitThread(3); };
  installer->Start(false);
  PumpMessagesUntil([&] { return installer->State() == stFinished; });
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_EQ(ListStrings(installer->Errors()), std::vector<UString>{u"Stopped unexpectedly"});
  ASSERT_FALSE(FromListener(2).empty());
  EXPECT_EQ(FromListener(2).back().code, inFinished);
  installer->StopThread();
  EXPECT_EQ(installer->Errors().Count(), 1) << "reported once";
}

TEST_F(InstallerThread, ANormalEndWithoutWaitingAddsNothing) {
  installer->Start(false);
  PumpMessagesUntil([&] { return installer->State() == stFinished; });
  // The system's wait reports the end as well; that report must find the run finished.
  const ULONGLONG ended = GetTickCount64();
  PumpMessagesUntil([&] { return GetTickCount64() - ended > 300; });
  EXPECT_EQ(installer->State(), stFinished);
  EXPECT_FALSE(installer->HasErrors());
  EXPECT_EQ(gExecuted, (std::vector<int>{1, 2}));
}
