#include "DRX.Classes.Thread.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "DRX.Exceptions.h"
#include "DRX.Utils.MessageWindow.h"

namespace {

class TFunctionThread : public TDRXThread {
 public:
  explicit TFunctionThread(std::function<void(TFunctionThread&)> body) : body_(std::move(body)) {}
  ~TFunctionThread() override { TerminateAndWait(); }

 protected:
  void Execute() override { body_(*this); }

 private:
  std::function<void(TFunctionThread&)> body_;
};

}  // namespace

TEST(Thread, SendsAndSynchronisedCallsReachTheWaitingMainThread) {
  std::vector<DWORD> handledOn;
  TDRXMessageWindow window(u"TThreadTestWindow", [&](uint32_t message, uintptr_t, intptr_t, intptr_t& result) {
    if (message != WM_USER) return false;
    handledOn.push_back(GetCurrentThreadId());
    result = 7;
    return true;
  });
  LRESULT sent = 0;
  bool synchronisedOnMain = false;
  bool errorCameBack = false;
  TFunctionThread thread([&](TFunctionThread&) {
    sent = SendMessageW(static_cast<HWND>(window.Handle()), WM_USER, 0, 0);
    Synchronize([&] { synchronisedOnMain = IsMainThread(); });
    try {
      Synchronize([] { throw Exception(u"raised on the main thread"); });
    } catch (const Exception& error) {
      errorCameBack = error.Message() == u"raised on the main thread";
    }
  });
  thread.Start();
  thread.WaitFor();
  EXPECT_TRUE(thread.Finished());
  EXPECT_EQ(sent, 7);
  ASSERT_EQ(handledOn.size(), 1u);
  EXPECT_EQ(handledOn[0], GetCurrentThreadId());
  EXPECT_TRUE(synchronisedOnMain);
  EXPECT_TRUE(errorCameBack);
}

TEST(Thread, DestructionTerminatesAndWaitsForTheBody) {
  std::atomic<int> rounds{0};
  {
    TFunctionThread thread([&](TFunctionThread& self) {
      while (!self.Terminated()) {
        ++rounds;
        Sleep(5);
      }
    });
    thread.Start();
    while (rounds == 0) Sleep(1);
  }
  const int after = rounds;
  Sleep(30);
  EXPECT_EQ(rounds, after) << "the body must have ended with the object";
}

TEST(Thread, AThreadTerminatedBeforeItRanNeverRunsItsBody) {
  bool ran = false;
  TFunctionThread thread([&](TFunctionThread&) { ran = true; });
  thread.Terminate();
  thread.WaitFor();
  EXPECT_FALSE(ran);
}

TEST(Thread, PumpingWaitHonoursItsTimeout) {
  const HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  EXPECT_FALSE(WaitForHandlePumping(never, 50));
  SetEvent(never);
  EXPECT_TRUE(WaitForHandlePumping(never, 50));
  CloseHandle(never);
}
