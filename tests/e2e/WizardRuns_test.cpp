// The demo release installed, updated and removed through its wizard, as a
// person clicking through it does: the test chooses the language, waits for
// each page by its title, ticks boxes and presses Next in the setup's own
// windows while the setup runs. Two runs do it all with keystrokes alone.
#include <windows.h>

#include <shlobj.h>

#include <algorithm>
#include <string>

#include "AccessibleTree.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"
#include "TestOvix.h"
#include "TestDialogs.h"
#include "WizardWindows.h"

namespace {

constexpr int kRussian = 2;  // the language dialog lists Deutsch, English, Русский

// The wizard of the running setup.
class TWizard {
 public:
  // Chooses the language (the dialog's N-th; -1: the one it offers) and waits for the wizard.
  explicit TWizard(int language = -1) {
    if (HWND dialog = WaitForVisibleTopLevel(IsLanguageDialog)) {
      SelectLanguage(dialog, language);
      ConfirmLanguage(dialog);
    }
    window_ = WaitForVisibleTopLevel(IsWizardWindow);
  }
  // Takes the language the dialog offers with Enter.
  struct TByKeyboard {};
  explicit TWizard(TByKeyboard) {
    if (HWND dialog = WaitForVisibleTopLevel(IsLanguageDialog)) PostKey(dialog, VK_RETURN);
    window_ = WaitForVisibleTopLevel(IsWizardWindow);
  }
  HWND Window() const { return window_; }

  // Waits for the page of that title; false (and a failure) when another stays.
  bool WaitForPage(UStringView title) {
    const ULONGLONG end = GetTickCount64() + 30000;
    while (!WizardPageDescription(window_).starts_with(UString(title) + u".")) {
      if (GetTickCount64() >= end || !IsWindow(window_)) {
        ADD_FAILURE() << "no page " << Utf16ToUtf8(title) << ", shown: " << Utf16ToUtf8(WizardPageDescription(window_));
        return false;
      }
      PumpAndWait(50);
    }
    return true;
  }
  UString Page() const { return WizardPageDescription(window_); }

  HWND Box(UStringView caption) const { return Found(FindControl(window_, u"TDRXCheckBox", caption), caption); }
  HWND Radio(UStringView caption) const { return Found(FindControl(window_, u"TDRXRadioBox", caption), caption); }
  HWND Next() const { return WizardNextButton(window_); }
  // A control's click, delivered before the test looks again.
  void Click(HWND control) const {
    SendMessageW(control, BM_CLICK, 0, 0);
    PumpAndWait(100);
  }
  void ClickNext() const { PostMessageW(Next(), BM_CLICK, 0, 0); }
  // What typing into the destination does.
  void SetPath(const UString& path) const {
    for (HWND edit : ChildWindows(window_, u"Edit")) SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(path)));
    PumpAndWait(100);
  }
  // The edit's text (asked for: another process's edit keeps no window title).
  UString Path() const {
    const std::vector<HWND> edits = ChildWindows(window_, u"Edit");
    if (edits.empty()) return {};
    wchar_t text[MAX_PATH] = {};
    SendMessageW(edits.front(), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(text));
    return FromW(text);
  }
  // Enter as the keyboard gives it, to the focused control.
  void PressEnter() const { PostKey(window_, VK_RETURN); }
  // Tab to the box and toggle it with Space; whether it is checked then.
  bool SpaceOn(UStringView caption) const {
    EXPECT_TRUE(TabTo(window_, caption)) << "Tab does not reach " << Utf16ToUtf8(caption);
    PostKey(window_, VK_SPACE);
    return IsChecked(Box(caption));
  }
  // Tab to the destination's text, clear it and type the path.
  void TypePath(const UString& path) const {
    ASSERT_TRUE(TabUntil(window_, [](HWND focused) { return WindowClassName(focused) == u"Edit"; }));
    PostKey(window_, VK_END);
    PostText(window_, UString(Path().size(), u'\b'));
    PostText(window_, path);
  }
  // The page's texts as a screen reader reads them (the labels are windowless).
  bool Shows(UStringView text) const {
    return FindAccessible(ReadAccessibleTree(window_), ROLE_SYSTEM_STATICTEXT, text) != nullptr;
  }

 private:
  static HWND Found(HWND control, UStringView caption) {
    if (!control) ADD_FAILURE() << "no control " << Utf16ToUtf8(caption);
    return control;
  }
  HWND window_ = nullptr;
};

// The player the finish page started, closed; false when none came.
bool PlayerStartedAndClosed() {
  HWND player = WaitForVisibleTopLevel(IsPlayerWindow, 10000);
  if (!player) return false;
  PostMessageW(player, WM_CLOSE, 0, 0);
  return true;
}

// Ticks the licence and goes on to the Setup page.
void AcceptTheLicence(TWizard& wizard, UStringView accept) {
  ASSERT_FALSE(IsWindowEnabled(wizard.Next()));
  wizard.Click(wizard.Box(accept));
  ASSERT_TRUE(IsWindowEnabled(wizard.Next()));
  wizard.ClickNext();
}

// Welcome and licence, up to the Setup page (English).
void WalkToTheOptions(TWizard& wizard) {
  ASSERT_TRUE(wizard.WaitForPage(u"Welcome"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"License Agreement"));
  AcceptTheLicence(wizard, u"I &accept the terms of the license agreement");
  ASSERT_TRUE(wizard.WaitForPage(u"Installation Options"));
}

// Ready → Install → the finish page; the player box set as asked, then Finish.
void InstallAndFinish(TWizard& wizard, bool startPlayer) {
  ASSERT_TRUE(wizard.WaitForPage(u"Ready to Install"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Completed"));
  HWND start = wizard.Box(u"&Start Ovix now");
  ASSERT_TRUE(start && IsChecked(start));
  if (!startPlayer) wizard.Click(start);
  wizard.ClickNext();
}

class WizardRuns : public SetupEndToEnd {
 protected:
  // The pages are read as screen readers read them, through COM.
  WizardRuns() { CoInitialize(nullptr); }
  ~WizardRuns() override {
    DeleteFolderTree(PortableFolder());
    // A run that went wrong may have installed into the default folder.
    DeleteFolderTree(GetShellFolder(CSIDL_PROGRAM_FILES) + u"Ovix\\");
    CoUninitialize();
  }
  static UString PortableFolder() { return GetShellFolder(CSIDL_DESKTOP) + u"Ovix\\"; }
};

}  // namespace

TEST_F(WizardRuns, AFirstInstallThroughEveryPageStartsThePlayerAfterTheWizard) {
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard;
  ASSERT_TRUE(wizard.WaitForPage(u"Welcome"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"License Agreement"));
  wizard.PressEnter();
  EXPECT_TRUE(wizard.Page().starts_with(u"License Agreement")) << "Enter does nothing while Next is disabled";
  wizard.Click(wizard.Box(u"I &accept the terms of the license agreement"));
  wizard.PressEnter();

  ASSERT_TRUE(wizard.WaitForPage(u"Installation Options"));
  EXPECT_TRUE(IsChecked(wizard.Radio(u"N&ormal installation for all users")));
  wizard.SetPath(Dest);
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Shortcuts and Integration"));
  wizard.Click(wizard.Box(u"Add Ovix to the &context menu of folders"));
  wizard.ClickNext();
  InstallAndFinish(wizard, true);
  EXPECT_TRUE(PlayerStartedAndClosed()) << "the finish page's choice, started after the wizard closed";

  const TSetupRun run = setup.Wait();
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_TRUE(FileExists(Dest + u"Ovix.exe"));
  EXPECT_EQ(UninstallValue(u"InstallPath"), Dest);
  EXPECT_EQ(GetShortcutTarget(DesktopShortcut()), Dest + u"Ovix.exe");
  const UString fileTypes = IsWindows8OrLater() ? u" /REG_UI" : u"";
  EXPECT_EQ(StandIns.Lines(),
            (std::vector<UString>{u"Rediruzu.exe /REG=L1 /REG=D1 /REG=R1 /REG=R2" + fileTypes, u"Ovix.exe "}))
      << "no context menu, as chosen; then the player";
}

namespace {

// What a screen reader finds on the wizard's page: the first element of that role and name.
class TReaderView {
 public:
  explicit TReaderView(HWND window) : window_(window), tree_(ReadAccessibleTree(window)) {}
  const TAccessibleNode& Find(long role, UStringView name) {
    const TAccessibleNode* node = FindAccessible(tree_, role, name);
    if (!node) {
      ADD_FAILURE() << "no " << AccessibleRoleText(role) << " \"" << Utf16ToUtf8(name) << "\" in\n"
                    << DumpAccessibleTree(tree_);
      static const TAccessibleNode none;
      return none;
    }
    return *node;
  }
  // Does what a reader's "activate" does, and gives the window time to answer.
  // A reader that finds an element gone while the page changed reads again.
  void Activate(long role, UStringView name) {
    bool done = Find(role, name).DoDefaultAction();
    if (!done) {
      PumpAndWait(300);
      tree_ = ReadAccessibleTree(window_);
      done = Find(role, name).DoDefaultAction();
    }
    EXPECT_TRUE(done) << Utf16ToUtf8(name);
    PumpAndWait(200);
  }

 private:
  HWND window_;
  TAccessibleNode tree_;
};

constexpr long kUnavailable = STATE_SYSTEM_UNAVAILABLE;

}  // namespace

// The share a progress bar reads ("45%"), as a number.
int PercentOf(const UString& value) { return value.empty() ? -1 : std::stoi(Utf16ToUtf8(value)); }

TEST_F(WizardRuns, AScreenReaderReadsEveryPageAndInstallsAndUninstallsThroughIt) {
  // A running player holds the first step (closing it) for a moment, so that the progress can be read.
  const TPlayerWindow player(u"TOvixMainForm");
  ASSERT_TRUE(player.Shown());
  TSetupProcess setup(SetupProgram(), u"");
  HWND dialog = WaitForVisibleTopLevel(IsLanguageDialog);
  ASSERT_TRUE(dialog);
  PumpAndWait(300);
  {
    // Under Wine, objects of a window that went, still held, spoil what the
    // process reads later: each view is let go before its window goes.
    TReaderView language(dialog);
    EXPECT_EQ(language.Find(ROLE_SYSTEM_COMBOBOX, u"Select Language").Value, u"English");
    language.Activate(ROLE_SYSTEM_PUSHBUTTON, u"OK");
  }
  TWizard wizard;
  ASSERT_TRUE(wizard.WaitForPage(u"Welcome"));
  TReaderView(wizard.Window()).Activate(ROLE_SYSTEM_PUSHBUTTON, u"Next >");

  ASSERT_TRUE(wizard.WaitForPage(u"License Agreement"));
  {
    TReaderView page(wizard.Window());
    const TAccessibleNode& terms = page.Find(ROLE_SYSTEM_TEXT, u"License Agreement");
    EXPECT_NE(terms.Value.find(u"demo release"), UString::npos);
    EXPECT_TRUE(terms.Has(STATE_SYSTEM_READONLY));
    EXPECT_FALSE(page.Find(ROLE_SYSTEM_CHECKBUTTON, u"I accept the terms of the license agreement")
                     .Has(STATE_SYSTEM_CHECKED));
    EXPECT_TRUE(page.Find(ROLE_SYSTEM_PUSHBUTTON, u"Next >").Has(kUnavailable));
    page.Activate(ROLE_SYSTEM_CHECKBUTTON, u"I accept the terms of the license agreement");
  }
  {
    TReaderView page(wizard.Window());
    EXPECT_TRUE(page.Find(ROLE_SYSTEM_CHECKBUTTON, u"I accept the terms of the license agreement")
                    .Has(STATE_SYSTEM_CHECKED));
    EXPECT_FALSE(page.Find(ROLE_SYSTEM_PUSHBUTTON, u"Next >").Has(kUnavailable));
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Next >");
  }

  ASSERT_TRUE(wizard.WaitForPage(u"Installation Options"));
  wizard.SetPath(Dest);
  {
    TReaderView page(wizard.Window());
    page.Find(ROLE_SYSTEM_PANE, u"Destination folder");
    page.Find(ROLE_SYSTEM_PUSHBUTTON, u"Browse...");
    EXPECT_TRUE(page.Find(ROLE_SYSTEM_RADIOBUTTON, u"Normal installation for all users").Has(STATE_SYSTEM_CHECKED));
    EXPECT_FALSE(page.Find(ROLE_SYSTEM_RADIOBUTTON, u"Portable installation").Has(STATE_SYSTEM_CHECKED));
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Next >");
  }
  ASSERT_TRUE(wizard.WaitForPage(u"Shortcuts and Integration"));
  {
    TReaderView page(wizard.Window());
    EXPECT_TRUE(page.Find(ROLE_SYSTEM_CHECKBUTTON, u"Create a shortcut on the desktop").Has(STATE_SYSTEM_CHECKED));
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Next >");
  }
  ASSERT_TRUE(wizard.WaitForPage(u"Ready to Install"));
  {
    TReaderView page(wizard.Window());
    EXPECT_NE(page.Find(ROLE_SYSTEM_TEXT, u"Ready to Install").Value.find(Dest), UString::npos) << "the summary";
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Install");
  }
  ASSERT_TRUE(wizard.WaitForPage(u"Installing"));
  std::vector<int> progress;
  while (wizard.Page().starts_with(u"Installing.")) {
    const TAccessibleNode tree = ReadAccessibleTree(wizard.Window());
    if (const TAccessibleNode* bar = FindAccessible(tree, ROLE_SYSTEM_PROGRESSBAR, u"Installing"))
      if (progress.empty() || PercentOf(bar->Value) != progress.back()) progress.push_back(PercentOf(bar->Value));
    PumpAndWait(20);
  }
  ASSERT_GE(progress.size(), 2u) << "the progress bar's value rises while the reader looks";
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  ASSERT_TRUE(wizard.WaitForPage(u"Completed"));
  {
    TReaderView page(wizard.Window());
    page.Find(ROLE_SYSTEM_LINK, u"Visit the Ovix home page");
    page.Activate(ROLE_SYSTEM_CHECKBUTTON, u"Start Ovix now");
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Finish");
  }
  ASSERT_EQ(setup.Wait().ExitCode, 0);
  ASSERT_TRUE(FileExists(Dest + u"Ovix.exe"));

  TSetupProcess uninstall(Dest + u"Uninstall.exe", u"");
  TWizard remover;
  ASSERT_TRUE(remover.WaitForPage(u"Uninstall Ovix"));
  {
    TReaderView page(remover.Window());
    EXPECT_FALSE(page.Find(ROLE_SYSTEM_CHECKBUTTON, u"Remove the backups of earlier versions").Has(STATE_SYSTEM_CHECKED));
    page.Activate(ROLE_SYSTEM_PUSHBUTTON, u"Uninstall");
  }
  ASSERT_TRUE(remover.WaitForPage(u"Completed"));
  TReaderView(remover.Window()).Activate(ROLE_SYSTEM_PUSHBUTTON, u"Finish");
  EXPECT_EQ(uninstall.Wait().ExitCode, 0);
  EXPECT_FALSE(FileExists(Dest + u"Ovix.exe")) << "removed before the wizard showed its end";
}

TEST_F(WizardRuns, PortableUnderProgramFilesMovesToItsOwnFolderAndSkipsIntegration) {
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard;
  ASSERT_NO_FATAL_FAILURE(WalkToTheOptions(wizard));
  EXPECT_TRUE(StartsText(wizard.Path(), GetShellFolder(CSIDL_PROGRAM_FILES)));
  wizard.Click(wizard.Radio(u"&Portable installation"));
  EXPECT_EQ(wizard.Path(), PortableFolder());
  wizard.ClickNext();
  InstallAndFinish(wizard, false);

  EXPECT_EQ(setup.Wait().ExitCode, 0);
  EXPECT_TRUE(FileExists(PortableFolder() + u"Ovix.exe"));
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_FALSE(FileExists(DesktopShortcut()));
  EXPECT_TRUE(StandIns.Lines().empty());
}

TEST_F(WizardRuns, AnUpdateShowsItsOptionsAndBacksUpUnlessTheBoxIsUnticked) {
  ASSERT_EQ(Install().ExitCode, 0);
  for (const bool backup : {true, false}) {
    TSetupProcess setup(SetupProgram(), u"");
    TWizard wizard;
    ASSERT_NO_FATAL_FAILURE(WalkToTheOptions(wizard));
    EXPECT_EQ(wizard.Path(), Dest) << "the registered installation";
    EXPECT_TRUE(IsChecked(wizard.Box(u"&Update the installed version")));
    HWND backupBox = wizard.Box(u"Make a ba&ckup of the installed version");
    EXPECT_FALSE(IsWindowEnabled(wizard.Radio(u"&Portable installation")));
    EXPECT_TRUE(wizard.Shows(u"The installed version in this folder will be updated. Your settings are kept."));
    if (!backup) wizard.Click(backupBox);
    wizard.ClickNext();
    InstallAndFinish(wizard, false);
    EXPECT_EQ(setup.Wait().ExitCode, 0);
  }
  EXPECT_EQ(FilesIn(Dest + u"!Backup\\").size(), 1u) << "one backup, of the first update";
}

TEST_F(WizardRuns, TheRussianWizardOffersTheAddonAndItsChoicesReachItsInstaller) {
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard(kRussian);
  ASSERT_TRUE(wizard.WaitForPage(u"Добро пожаловать"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Лицензионное соглашение"));
  AcceptTheLicence(wizard, u"Я &принимаю условия лицензионного соглашения");
  ASSERT_TRUE(wizard.WaitForPage(u"Параметры установки"));
  wizard.SetPath(Dest);
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Рекомендуемые программы"));
  wizard.Click(wizard.Box(u"Открывать &изображения в просмотрщике"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Ярлыки и интеграция"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Всё готово к установке"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Готово"));
  wizard.Click(wizard.Box(u"&Запустить Ovix"));
  wizard.ClickNext();

  EXPECT_EQ(setup.Wait().ExitCode, 0);
  EXPECT_TRUE(FileExists(Dest + u"Langs\\Russian.lng"));
  const std::vector<UString> started = StandIns.Lines();
  EXPECT_TRUE(Contains(started, u"OvixAddonSetup.exe /SILENT /NOASSOC /VIEWER /SHORTCUTS "))
      << "the viewer without its file types";
}

TEST_F(WizardRuns, CancellingOnTheWelcomePageInstallsNothing) {
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard;
  ASSERT_TRUE(wizard.WaitForPage(u"Welcome"));
  PostMessageW(wizard.Window(), WM_CLOSE, 0, 0);
  const TSetupRun run = setup.Wait();
  EXPECT_EQ(run.ExitCode, 2);
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Text, u"Do you really want to cancel the setup of Ovix?");
  EXPECT_FALSE(DirectoryExists(Dest));
  EXPECT_FALSE(UninstallKeyExists());
}

TEST_F(WizardRuns, CancellingWhileInstallingStopsAfterTheRunningStepAndClosesTheWizard) {
  // A player that will not close holds the first step (closing the player) for a minute.
  const TPlayerWindow player(u"TOvixMainForm", true);
  ASSERT_TRUE(player.Shown());
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard;
  ASSERT_NO_FATAL_FAILURE(WalkToTheOptions(wizard));
  wizard.SetPath(Dest);
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Shortcuts and Integration"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Ready to Install"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Installing"));
  PostMessageW(wizard.Window(), WM_CLOSE, 0, 0);

  const TSetupRun run = setup.Wait();
  EXPECT_EQ(run.ExitCode, 2) << "cancelled";
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Text, u"Do you really want to cancel the setup of Ovix?");
  EXPECT_FALSE(FileExists(Dest + u"Ovix.exe")) << "no step after the one that ran";
  EXPECT_FALSE(UninstallKeyExists());
}

TEST_F(WizardRuns, TheInstalledProgramsEntryOpensTheUninstallWizardWhichRemovesWhatWasChosen) {
  ASSERT_EQ(Install().ExitCode, 0);
  const UString profile = ProfileFolder();
  ForceDirectories(profile);
  WriteFileBytes(profile + u"Playlist.m3u", "a playlist");
  const UString command = UninstallValue(u"UninstallString");
  ASSERT_EQ(command, Dest + u"Uninstall.exe") << "started without switches";

  TSetupProcess uninstall(command, u"");
  TWizard wizard;
  ASSERT_TRUE(wizard.WaitForPage(u"Uninstall Ovix"));
  wizard.Click(wizard.Box(u"Remove the &backups of earlier versions"));
  wizard.Click(wizard.Box(u"Remove &playlists, settings and other user data"));
  wizard.ClickNext();
  ASSERT_TRUE(wizard.WaitForPage(u"Completed"));
  wizard.ClickNext();

  const TSetupRun run = uninstall.Wait();
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.CopyExitCode, 0) << "the copy in the temporary folder did the work";
  EXPECT_FALSE(DirectoryExists(Dest));
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_FALSE(DirectoryExists(profile)) << "the user data, as chosen";
}

// ---- The keyboard alone ----

TEST_F(WizardRuns, AWholeInstallWithKeystrokesOnly) {
  TSetupProcess setup(SetupProgram(), u"");
  TWizard wizard(TWizard::TByKeyboard{});
  ASSERT_TRUE(wizard.WaitForPage(u"Welcome"));
  wizard.PressEnter();
  ASSERT_TRUE(wizard.WaitForPage(u"License Agreement"));
  ASSERT_TRUE(wizard.SpaceOn(u"I &accept the terms of the license agreement"));
  wizard.PressEnter();

  ASSERT_TRUE(wizard.WaitForPage(u"Installation Options"));
  wizard.TypePath(Dest);
  EXPECT_EQ(wizard.Path(), Dest);
  EXPECT_TRUE(IsChecked(wizard.Radio(u"N&ormal installation for all users")));
  wizard.PressEnter();  // Enter in the text presses Next
  ASSERT_TRUE(wizard.WaitForPage(u"Shortcuts and Integration"));
  PostAltKey(wizard.Window(), u'c');  // "Add Ovix to the &context menu of folders"
  EXPECT_FALSE(IsChecked(wizard.Box(u"Add Ovix to the &context menu of folders")));
  wizard.PressEnter();
  ASSERT_TRUE(wizard.WaitForPage(u"Ready to Install"));
  wizard.PressEnter();
  ASSERT_TRUE(wizard.WaitForPage(u"Completed"));
  EXPECT_FALSE(wizard.SpaceOn(u"&Start Ovix now"));
  wizard.PressEnter();

  const TSetupRun run = setup.Wait();
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_TRUE(FileExists(Dest + u"Ovix.exe"));
  EXPECT_EQ(UninstallValue(u"InstallPath"), Dest);
  const UString fileTypes = IsWindows8OrLater() ? u" /REG_UI" : u"";
  EXPECT_EQ(StandIns.Lines(), (std::vector<UString>{u"Rediruzu.exe /REG=L1 /REG=D1 /REG=R1 /REG=R2" + fileTypes}))
      << "no context menu and no player, as typed";
}

TEST_F(WizardRuns, AWholeUninstallWithKeystrokesOnly) {
  ASSERT_EQ(Install().ExitCode, 0);
  const UString profile = ProfileFolder();
  ForceDirectories(profile);
  WriteFileBytes(profile + u"Playlist.m3u", "a playlist");

  TSetupProcess uninstall(UninstallValue(u"UninstallString"), u"");
  TWizard wizard(TWizard::TByKeyboard{});
  ASSERT_TRUE(wizard.WaitForPage(u"Uninstall Ovix"));
  PostAltKey(wizard.Window(), u'p');  // "Remove &playlists, settings and other user data"
  EXPECT_TRUE(wizard.SpaceOn(u"Remove the &backups of earlier versions"));
  EXPECT_TRUE(IsChecked(wizard.Box(u"Remove &playlists, settings and other user data")));
  wizard.PressEnter();
  ASSERT_TRUE(wizard.WaitForPage(u"Completed"));
  wizard.PressEnter();

  const TSetupRun run = uninstall.Wait();
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_FALSE(DirectoryExists(Dest));
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_FALSE(DirectoryExists(profile)) << "the user data, as chosen";
}
