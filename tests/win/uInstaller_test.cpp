#include "uInstaller.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <thread>

#include "DRX.Exceptions.h"
#include "DRX.Utils.Shell.h"
#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Installer.h"

namespace {

// What the run's one action saw of the installer.
struct TActionRecord {
  int Runs = 0;
  UString DestPath;
  UString LangName;
  bool Fail = false;
};
TActionRecord Record;

class TRecordingAction : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TRecordingAction";
  void Execute() override {
    ++Record.Runs;
    Record.DestPath = Installer->DestPath();
    Record.LangName = Resources().LangName();
    if (Record.Fail) throw Exception(u"Disk full");
  }
};

class ProgramEntry : public ::testing::Test {
 protected:
  ProgramEntry() {
    Record = {};
    TTestProductInfo::ActionClasses = {ActionClass<TRecordingAction>()};
    SetErrorDisplay([this](const UString& message) { shown.push_back(message); });
  }
  ~ProgramEntry() override {
    SetErrorDisplay(nullptr);
    SetMessageBoxesSuppressed(false);
    TInstallerSpawnService::ResetForTesting();
  }

  // Runs the sequence as the program does, with the given parameters and system.
  TExitCode Run(const UString& params, TTestEntries product = {}, TTestEntries setup = DefaultSetupEntries()) {
    SetSetupParams(params);
    system.Packages = [this, product, setup] {
      ++packageLoads;
      return TestPackages(setup, product)();
    };
    return RunGuarded([this] { return StartSequence(system); });
  }

  TTestProductGuard guard;
  TTempFolder destination;
  std::vector<UString> shown;
  std::vector<UString> relaunched;
  int packageLoads = 0;
  TSetupSystem system{[] { return true; },
                      [this](const UString& params) {
                        relaunched.push_back(params);
                        return TElevatedRun{true, 7};
                      },
                      nullptr};
};

}  // namespace

TEST(ProgramEntryGuard, AnEscapingErrorIsShownOnceAndEndsWithTheErrorCode) {
  std::vector<UString> shown;
  SetErrorDisplay([&](const UString& message) { shown.push_back(message); });
  EXPECT_EQ(RunGuarded([]() -> TExitCode { throw Exception(u"DestPath is empty"); }), ecError);
  EXPECT_EQ(RunGuarded([]() -> TExitCode { throw std::bad_alloc(); }), ecError);
  EXPECT_EQ(RunGuarded([] { return ecSuccess; }), ecSuccess);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0], u"DestPath is empty");
  SetErrorDisplay(nullptr);
}

TEST_F(ProgramEntry, WithoutAProductClassNothingElseHappens) {
  ProductInfoClass = nullptr;
  EXPECT_EQ(Run(u"/AUTO /SILENT"), ecError);
  EXPECT_EQ(shown, std::vector<UString>{u"ProductInfoClass is nil"});
  EXPECT_EQ(packageLoads, 0);
}

TEST_F(ProgramEntry, AStandardUserRestartsElevatedAndEndsWithTheCopysCode) {
  system.IsAdmin = [] { return false; };
  EXPECT_EQ(Run(u"/AUTO=\"C:\\Ovix\" /SILENT"), static_cast<TExitCode>(7));
  EXPECT_EQ(relaunched, std::vector<UString>{u"/AUTO=\"C:\\Ovix\" /SILENT"});
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(packageLoads, 0) << "the first process never opens the packages";

  system.RelaunchElevated = [](const UString&) { return TElevatedRun{}; };
  EXPECT_EQ(Run(u""), ecCancelled) << "a refused prompt ends quietly";
  EXPECT_TRUE(shown.empty());
}

TEST_F(ProgramEntry, AnElevatedCopyTakesTheFirstProcessWindowFromSkipUac) {
  const UString params = u"/SKIPUAC=4242 /AUTO=\"" + destination.Path() + u"\" /SILENT";
  EXPECT_EQ(Run(params), ecSuccess);
  EXPECT_TRUE(relaunched.empty());
  EXPECT_EQ(TInstallerSpawnService::SpawnWindow(), reinterpret_cast<void*>(intptr_t{4242}));
  EXPECT_FALSE(TInstallerSpawnService::OwnsWindow());
  EXPECT_EQ(Record.Runs, 1);
}

TEST_F(ProgramEntry, SkipUacWithoutAdministratorRightsStillFails) {
  system.IsAdmin = [] { return false; };
  EXPECT_EQ(Run(u"/SKIPUAC=0 /AUTO /SILENT"), ecError);
  EXPECT_TRUE(TInstallerSpawnService::OwnsWindow()) << "SKIPUAC=0: the process made its own spawn window";
  EXPECT_EQ(shown, std::vector<UString>{u"Administrator rights are required to process this operation."});
  EXPECT_TRUE(relaunched.empty());
  EXPECT_EQ(packageLoads, 0);
}

TEST_F(ProgramEntry, BeforeVistaOnlyTheRightsAreChecked) {
  const TDRXOSVersionOverride xp({5, 1, 2600});
  system.IsAdmin = [] { return false; };
  EXPECT_EQ(Run(u"/SKIPUAC=4242 /AUTO /SILENT"), ecError);
  EXPECT_EQ(TInstallerSpawnService::SpawnWindow(), nullptr) << "SKIPUAC is ignored";
  EXPECT_TRUE(relaunched.empty());
  EXPECT_EQ(shown, std::vector<UString>{u"Administrator rights are required to process this operation."});
}

TEST_F(ProgramEntry, ASilentRunInstallsWithTheDefaultLanguage) {
  EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\" /SILENT"), ecSuccess);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(Record.Runs, 1);
  EXPECT_EQ(Record.DestPath, destination.Path());
  EXPECT_FALSE(Record.LangName.empty()) << "languages are initialised before the run";
  EXPECT_EQ(Installer, nullptr) << "the installer is gone when the sequence ends";
}

TEST_F(ProgramEntry, ASilentRunThatFailsShowsTheCollectedErrorsOnce) {
  Record.Fail = true;
  EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\" /SILENT"), ecError);
  EXPECT_EQ(shown, std::vector<UString>{u"Disk full\r\n"});
}

TEST_F(ProgramEntry, SuppressMsgBoxesKeepsTheErrorsOfASilentRunToTheExitCode) {
  Record.Fail = true;
  const struct {
    const char16_t* switches;
    bool shown;
  } cases[] = {
      {u"/SILENT /SUPPRESSMSGBOXES", false},
      {u"/suppressmsgboxes /SILENT", false},
      {u"/SUPPRESSMSGBOXES", true},  // not silent: the wizard's place, with someone to read the box
      {u"/UPDATE /SILENT /SUPPRESSMSGBOXES", false},  // refused while the installer is made
  };
  for (const auto& c : cases) {
    shown.clear();
    EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\" " + c.switches), ecError) << Utf16ToUtf8(c.switches);
    EXPECT_EQ(shown.size(), c.shown ? 1u : 0u) << Utf16ToUtf8(c.switches);
  }
}

TEST_F(ProgramEntry, WithoutSilentAnUnattendedRunInstallsThroughTheWizardAndClosesByItself) {
  EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\"", {}, WizardSetupEntries()), ecSuccess);
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(Record.Runs, 1);
  EXPECT_EQ(Installer, nullptr);
}

TEST_F(ProgramEntry, AWizardThatCannotBeBuiltIsReportedAndNothingIsInstalled) {
  EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\""), ecError) << "the packages hold no header image";
  EXPECT_EQ(shown, std::vector<UString>{u"Cannot locate \"header.png\" file in setup archive"});
  EXPECT_EQ(Record.Runs, 0);
}

TEST_F(ProgramEntry, AnUnattendedWizardRunWithErrorsEndsWithTheErrorCode) {
  Record.Fail = true;
  std::thread closer([] {
    // The finish page shows the errors and waits: close it as a user would.
    for (int attempt = 0; attempt < 500; ++attempt) {
      Sleep(20);
      if (HWND form = FindWindowW(L"TInstallerForm", nullptr); form && IsWindowVisible(form)) {
        Sleep(500);
        PostMessageW(form, WM_CLOSE, 0, 0);
        return;
      }
    }
  });
  EXPECT_EQ(Run(u"/AUTO=\"" + destination.Path() + u"\"", {}, WizardSetupEntries()), ecError);
  closer.join();
  EXPECT_TRUE(shown.empty()) << "the errors are on the finish page";
  EXPECT_EQ(Record.Runs, 1);
}

TEST_F(ProgramEntry, AnUninstallerWithAnExistingPathUninstallsThere) {
  const TTestEntries uninstallData{{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}};
  wchar_t previousFolder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previousFolder);
  SetCurrentDirectoryW(W(destination.Path()));
  for (const UString& path : {destination.Path(), UString(u".")}) {
    Record = {};
    EXPECT_EQ(Run(u"/PATH=\"" + path + u"\" /AUTO /SILENT", uninstallData), ecSuccess);
    EXPECT_EQ(Record.Runs, 1);
    EXPECT_EQ(Record.DestPath, destination.Path()) << "a relative PATH is made full: " << Utf16ToUtf8(path);
  }
  SetCurrentDirectoryW(previousFolder);
  EXPECT_TRUE(shown.empty());
}
