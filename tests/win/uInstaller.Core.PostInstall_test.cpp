// Starting the programs of the script's Actions group when the run is over
// (TInstaller::RunPostInstallActions): which ones start, and that they go to
// the first process through the spawn service.
#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Classes.Thread.h"
#include "DRX.Utils.MessageWindow.h"
#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Spawn.h"
#include "uInstaller.Core.Thread.h"

namespace {

// Stands in for the first, unelevated process: its spawn window records the
// file names the elevated copy asks it to start.
class TFirstProcess {
 public:
  TFirstProcess()
      : window_(u"TPostInstallFirstProcess", [this](uint32_t message, uintptr_t, intptr_t lParam, intptr_t&) {
          const auto* request = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
          if (message == WM_COPYDATA && request && request->dwData == TInstallerSpawnService::SpawnToken())
            Started.emplace_back(static_cast<const char16_t*>(request->lpData), request->cbData / 2);
          return false;
        }) {
    TInstallerSpawnService::ResetForTesting();
    TInstallerSpawnService::Initialize(HandleToLong(window_.Handle()));
  }
  ~TFirstProcess() { TInstallerSpawnService::ResetForTesting(); }
  std::vector<UString> Started;

 private:
  TDRXMessageWindow window_;
};

// Tells that it runs, then waits until the run is cancelled.
class TWaitForCancelAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TWaitForCancelAction";
  static inline HANDLE Running = nullptr;
  void Execute() override {
    TInstallerThread* thread = Installer->Thread();  // the installer lets go of it while StopThread destroys it
    SetEvent(Running);
    while (!thread->Terminated()) Sleep(1);
  }
};

class PostInstallActions : public ::testing::Test {
 protected:
  std::unique_ptr<TInstaller> Create(const UString& switches, TTestEntries product = {}) {
    auto installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination.Path() + u"\" " + switches,
                                                  TestPackages(DefaultSetupEntries(), std::move(product)));
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
    return installer;
  }
  UString Player() const { return destination.File(u"Ovix.exe"); }

  TTestProductGuard product;
  TTempFolder destination;
  TFirstProcess first;
};

}  // namespace

TEST_F(PostInstallActions, AnAutomaticUpdateWithRunStartsThemUnlessTheSettingsSayOtherwise) {
  struct Case {
    const char* name;
    int installedVersion;        // 0: none, so no update
    const char16_t* switches;
    const char16_t* setting;     // "Actions" value for the file; nullptr: none
    bool started;
  };
  const Case cases[] = {
      {"update with RUN", 200, u"/RUN", nullptr, true},
      {"update without RUN", 200, u"", nullptr, false},
      {"fresh install with RUN", 0, u"/RUN", nullptr, false},
      {"silent update with RUN", 200, u"/RUN /SILENT", nullptr, true},
      {"settings say no", 200, u"/RUN", u"0", false},
      {"settings say yes", 0, u"", u"1", true},
      {"a setting that is no number keeps the default", 200, u"/RUN", u"yes", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteFileW(W(destination.File(u"installed.ini")));
    if (c.installedVersion) WriteTestInstallation(destination.Path(), c.installedVersion, false);
    auto installer = Create(c.switches);
    if (c.setting) installer->Settings().WriteString(u"Actions", u"$DEST\\Ovix.exe", c.setting);
    first.Started.clear();
    installer->RunPostInstallActions();
    EXPECT_EQ(first.Started, c.started ? std::vector<UString>{Player()} : std::vector<UString>{});
  }
}

TEST_F(PostInstallActions, NothingStartsAfterErrorsOrACancelOrInTheUninstaller) {
  WriteTestInstallation(destination.Path(), 200, false);
  {
    auto installer = Create(u"/RUN");
    AddError(u"Disk full");
    installer->RunPostInstallActions();
  }
  {
    // Cancelled while the one action runs: the run ends with ("Common", "E4").
    const HANDLE running = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    TTestProductInfo::ActionClasses = {ActionClass<TWaitForCancelAction>()};
    auto installer = Create(u"/RUN");
    TWaitForCancelAction::Running = running;
    installer->Start(false);
    ASSERT_TRUE(WaitForHandlePumping(running, 10000));
    installer->StopThread();
    EXPECT_EQ(ListStrings(installer->Errors()), std::vector<UString>{u"Cancelled by user"});
    installer->RunPostInstallActions();
    CloseHandle(running);
  }
  {
    auto installer = Create(u"/RUN", {{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}});
    installer->SetDestPath(destination.Path());
    ASSERT_EQ(installer->Mode(), imUninstall);
    installer->Settings().WriteString(u"Actions", u"$DEST\\Ovix.exe", u"1");
    installer->RunPostInstallActions();
  }
  EXPECT_TRUE(first.Started.empty());
}
