#include "uInstaller.Product.Ovix.Actions.Uninstall.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestAccounts.h"
#include "TestInstaller.h"
#include "TestOvix.h"
#include "TestRecorder.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Product.Ovix.UpdateTasks.h"

namespace {

// "Uninstall.ini" with the numbered entries and their count.
std::string UninstallIni(const std::vector<UString>& entries, std::optional<int> count = std::nullopt) {
  std::string text = "[Uninstall]\r\n";
  for (size_t i = 0; i < entries.size(); ++i) text += std::to_string(i) + "=" + Utf16ToUtf8(entries[i]) + "\r\n";
  return text + "Count=" + std::to_string(count.value_or(static_cast<int>(entries.size()))) + "\r\n";
}

// The uninstaller of the installation in `destination`, as started with or without AUTO.
std::unique_ptr<TInstaller> NewUninstaller(const UString& destination, const std::string& uninstallIni,
                                           bool automatic = false, TTestEntries setup = DefaultSetupEntries()) {
  auto installer = std::make_unique<TInstaller>(automatic ? u"/AUTO /SILENT" : u"",
                                                TestPackages(std::move(setup), {{u"Uninstall.ini", uninstallIni}}));
  installer->SetDestPath(destination);
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  return installer;
}

void Choose(TInstaller& installer, std::optional<bool> removeBackups, std::optional<bool> removeContent) {
  if (removeBackups) installer.Settings().WriteBool(u"Common", u"RemoveBackups", *removeBackups);
  if (removeContent) installer.Settings().WriteBool(u"Common", u"RemoveContent", *removeContent);
}

bool Exists(const UString& path) { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }

void MakeFile(const UString& fileName) {
  ForceDirectories(ExtractFilePath(fileName));
  WriteFileBytes(fileName, "x");
}

// An installation: listed files (two of them in folders that become empty),
// a folder with a file of the user's, backups, the portable profile and the
// player's configuration.
class UninstallFiles : public ::testing::Test {
 protected:
  const std::vector<UString> listed = {u"Ovix.exe", u"Langs\\Russian.lng", u"Skins\\Classic\\Classic.skn",
                                       u"Uninstall.dat", u"Uninstall.exe"};
  void MakeInstallation(const UString& userMode = u"0") {
    for (const UString& file : listed) MakeFile(Dest(file));
    for (UStringView file : {u"Keep\\mine.txt", u"!Backup\\Ovix 5.00.zip", u"Profile\\Ovix.ini"}) MakeFile(Dest(file));
    WriteFileBytes(Dest(u"Ovix.ini"), userMode.empty() ? "[System]\r\nVersion=5010\r\n"
                                                        : "[System]\r\nUserMode=" + Utf16ToUtf8(userMode) + "\r\n");
  }
  UString Dest(UStringView name = u"") const { return destination + UString(name); }

  TTestProductGuard product;
  TTempFolder root;
  UString destination = root.Path() + u"Ovix\\";
};

}  // namespace

TEST_F(UninstallFiles, TheOptionsDecideWhatGoesBesideTheListedFilesAndEmptiedFolders) {
  struct Case {
    bool automatic;
    std::optional<bool> removeBackups, removeContent;
    bool backupsGone, profileGone, destinationGone;
  } cases[] = {
      {false, std::nullopt, std::nullopt, false, false, false},
      {false, true, false, true, false, false},
      {false, false, true, false, true, false},
      {false, true, true, true, true, true},
      {true, std::nullopt, std::nullopt, true, false, false},  // AUTO: backups go, content stays
  };
  for (const Case& c : cases) {
    const std::string label = std::to_string(&c - cases);
    MakeInstallation();
    auto installer = NewUninstaller(destination, UninstallIni(listed), c.automatic);
    installer->Settings().DeleteSection(u"Common");
    Choose(*installer, c.removeBackups, c.removeContent);
    std::vector<int> progress;
    TInstallerActionUninstallFiles action;
    action.OnProgress = [&](TInstallerAction& sender) { progress.push_back(sender.Progress()); };
    action.Execute();

    for (const UString& file : listed) EXPECT_FALSE(Exists(Dest(file))) << label << Utf16ToUtf8(file);
    for (UStringView folder : {u"Langs", u"Skins\\Classic", u"Skins"}) EXPECT_FALSE(Exists(Dest(folder))) << label;
    EXPECT_EQ(Exists(Dest(u"!Backup")), !c.backupsGone) << label;
    EXPECT_EQ(Exists(Dest(u"Profile")), !c.profileGone) << label;
    EXPECT_EQ(Exists(Dest(u"Keep\\mine.txt")), !c.destinationGone) << label;
    EXPECT_EQ(Exists(Dest()), !c.destinationGone) << label;
    ASSERT_FALSE(progress.empty()) << label;
    EXPECT_EQ(progress.back(), 100) << label;
    installer = nullptr;
    DeleteFolderTree(destination);
  }
}

TEST_F(UninstallFiles, FoldersAreListedDeepestFirstWithoutEnteringLinks) {
  MakeInstallation();
  ForceDirectories(root.Path() + u"outside\\Empty");
  const TFolderLink link(Dest(u"Skins\\Linked"), root.Path() + u"outside");
  ASSERT_TRUE(link.Made());
  auto installer = NewUninstaller(destination, UninstallIni(listed));
  Choose(*installer, true, false);
  const std::unique_ptr<TDRXStringList> folders = TInstallerActionUninstallFiles().CreateFolderList();
  std::vector<std::pair<UString, int64_t>> listedFolders;
  for (int i = 0; i < folders->Count(); ++i) listedFolders.push_back({folders->Strings(i), folders->Data(i)});
  std::vector<std::pair<UString, int64_t>> expected = {
      {Dest(u"!Backup\\"), kRemoveWhenEmpty}, {Dest(u"Keep\\"), kRemoveWhenEmpty}, {Dest(u"Langs\\"), kRemoveWhenEmpty},
      {Dest(u"Profile\\"), kRemoveWhenEmpty}, {Dest(u"Skins\\Classic\\"), kRemoveWhenEmpty},
      {Dest(u"Skins\\"), kRemoveWhenEmpty},   {Dest(u"!Backup\\"), kRemoveWithContent}};
  // Sibling order is the file system's; a folder must follow its subfolders.
  std::sort(listedFolders.begin(), listedFolders.end() - 1);
  std::sort(expected.begin(), expected.end() - 1);
  EXPECT_EQ(listedFolders, expected);
  const auto position = [&](const UString& folder) {
    for (int i = 0; i < folders->Count(); ++i)
      if (folders->Strings(i) == folder) return i;
    return -1;
  };
  EXPECT_LT(position(Dest(u"Skins\\Classic\\")), position(Dest(u"Skins\\")));

  TInstallerActionUninstallFiles().Execute();
  EXPECT_TRUE(DirectoryExists(root.Path() + u"outside\\Empty")) << "nothing behind a link is touched";
}

TEST_F(UninstallFiles, TheFileListTakesEachEntryOnceAndNothingOutsideTheDestination) {
  MakeFile(Dest(u"Plugins\\a.dll"));
  const UString outside = root.Path() + u"elsewhere.txt";
  const std::vector<UString> entries = {u"Ovix.exe",
                                        u"ovix.EXE",
                                        u"Plugins/a.dll",
                                        u"Langs\\..\\Readme.txt",
                                        u"..\\Ovix.ini",
                                        u"Langs\\..\\..\\x.txt",
                                        u"...\\victim1.txt",
                                        u"...\\Data\\victim2.txt",
                                        u"Plugins\\...\\...\\Data2\\victim3.txt",
                                        u"Plugins\\.\\a.dll",
                                        u"Plugins. \\a.dll",
                                        u"C:victim.txt",
                                        u"Ovix.exe:stream",
                                        outside,
                                        u"\\\\?\\" + Dest(u"Ovix.exe"),
                                        u"",
                                        u"   ",
                                        u"Plugins",
                                        Dest(u"Langs\\English.lng"),
                                        u"Uninstall.exe",
                                        u"Ovix.exe"};
  auto installer = NewUninstaller(destination, UninstallIni(entries));
  const std::unique_ptr<TDRXStringList> files = TInstallerActionUninstallFiles().CreateFileList();
  EXPECT_EQ(ListStrings(*files), (std::vector<UString>{Dest(u"Ovix.exe"), Dest(u"Plugins\\a.dll"),
                                                       Dest(u"Langs\\English.lng"), Dest(u"Uninstall.exe")}));

  installer = nullptr;
  installer = NewUninstaller(destination, UninstallIni({u"Ovix.exe"}, 2000000000));
  EXPECT_EQ(TInstallerActionUninstallFiles().CreateFileList()->Count(), 1) << "a huge count is no work list";
}

// The script names a file outside the destination and shortcuts: those files,
// and what lies in the product's own Start-menu and profile folders, may be
// deleted by full path; no other full path, also not one the script names in
// the Windows folder.
TEST_F(UninstallFiles, AFullPathIsDeletedOnlyWhereTheProductPutsFiles) {
  const UString tag = u"OvixUninstallScope" + IntToStr(GetCurrentProcessId());
  const UString helper = root.Path() + u"Shared\\" + tag + u".dll";
  const UString windowsFile = GetShellFolder(CSIDL_WINDOWS) + tag + u".dll";
  TTestEntries setup = DefaultSetupEntries();
  std::string& script = setup[u"Install.xml"];
  script.replace(script.find("</Components>"), 0,
                 "<File name=\"" + Utf16ToUtf8(helper) + "\">player.bin</File><File name=\"" +
                     Utf16ToUtf8(windowsFile) + "\">player.bin</File>");
  script.replace(script.find("</product>"), 0,
                 "<Shortcuts><File name=\"$STARTMENU\\$NAME\\$NAME.lnk\">$DEST\\Ovix.exe</File>"
                 "<File name=\"$DESKTOP\\$NAME.lnk\">$DEST\\Ovix.exe</File></Shortcuts>");
  const UString startMenu = GetShellFolder(CSIDL_COMMON_PROGRAMS);
  const UString desktop = GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
  const UString profile = GetShellFolder(CSIDL_APPDATA) + u"Ovix Test\\";
  const std::vector<UString> kept = {helper, startMenu + u"Ovix Test\\Ovix Test.lnk",
                                     startMenu + u"Ovix Test\\Old\\Read Me.lnk", desktop + u"Ovix Test.lnk",
                                     profile + u"Playlists\\old.opl"};
  const std::vector<UString> skipped = {windowsFile, startMenu + u"Other.lnk", desktop + u"notes.txt",
                                        GetShellFolder(CSIDL_APPDATA) + u"Other\\settings.ini",
                                        profile + u"..\\Other\\settings.ini", root.Path() + u"Shared\\other.dll"};
  std::vector<UString> entries = kept;
  entries.insert(entries.end(), skipped.begin(), skipped.end());
  auto installer = NewUninstaller(destination, UninstallIni(entries), false, setup);
  EXPECT_EQ(ListStrings(*TInstallerActionUninstallFiles().CreateFileList()), kept);
}

TEST_F(UninstallFiles, AnEntryThroughALinkBelowTheDestinationIsSkipped) {
  MakeInstallation();
  const UString victim = root.Path() + u"outside\\victim.txt";
  MakeFile(victim);
  const TFolderLink link(Dest(u"Skins\\Linked"), root.Path() + u"outside");
  ASSERT_TRUE(link.Made());
  std::vector<UString> entries = listed;
  entries.insert(entries.end(), {u"Skins\\Linked\\victim.txt", Dest(u"Skins\\Linked\\victim.txt")});
  auto installer = NewUninstaller(destination, UninstallIni(entries));
  TInstallerActionUninstallFiles().Execute();
  EXPECT_TRUE(Exists(victim));
  EXPECT_FALSE(Exists(Dest(u"Ovix.exe")));
}

TEST_F(UninstallFiles, AFullPathOutsideAndADotDotEntryAreSkipped) {
  MakeInstallation();
  const UString outside = root.Path() + u"Shared\\player.dat";
  const UString sibling = root.Path() + u"Other\\keep.txt";
  for (const UString& file : {outside, sibling}) MakeFile(file);
  std::vector<UString> entries = listed;
  entries.insert(entries.begin(), {outside, u"..\\Other\\keep.txt", u"...\\Other\\keep.txt", u"Ovix.exe"});
  auto installer = NewUninstaller(destination, UninstallIni(entries));
  Choose(*installer, false, false);
  TInstallerActionUninstallFiles().Execute();
  EXPECT_TRUE(Exists(outside));
  EXPECT_TRUE(Exists(sibling));
  EXPECT_FALSE(Exists(Dest(u"Ovix.exe")));
}

TEST_F(UninstallFiles, AListWhoseCountCannotBeReadStopsTheUninstallerBeforeAnything) {
  MakeInstallation();
  for (const char* count : {"many", "-1", "99999999999", ""}) {
    std::string ini = UninstallIni(listed);
    ini.replace(ini.find("Count=") + 6, std::string::npos, std::string(count) + "\r\n");
    EXPECT_THROW(NewUninstaller(destination, ini), EInstallerInstallError) << count;
  }
  EXPECT_THROW(NewUninstaller(destination, "[Uninstall]\r\n0=Ovix.exe\r\n"), EInstallerInstallError);
  for (const UString& file : listed) EXPECT_TRUE(Exists(Dest(file))) << Utf16ToUtf8(file);
}

TEST_F(UninstallFiles, WithoutUninstallIniNothingIsDeleted) {
  MakeInstallation();
  auto installer = std::make_unique<TInstaller>(u"", TestPackages(DefaultSetupEntries(), {{u"Other.ini", ""}}));
  installer->SetDestPath(destination);
  EXPECT_THROW(TInstallerActionUninstallFiles().CreateFileList(), EInstallerInstallError);
}

TEST_F(UninstallFiles, PerUserProfilesGoWithTheContentOfAPerUserInstallation) {
  TFakeAccounts accounts;
  const UString bob = root.Path() + u"bob\\";
  const UString carol = root.Path() + u"carol\\";
  accounts.Add(u"2001", ExcludeTrailingBackslash(bob));
  accounts.LoadHive(accounts.Add(u"2002", ExcludeTrailingBackslash(carol)), u"%USERPROFILE%\\Data");
  const std::vector<UString> profiles = {bob + u"AppData\\Roaming\\Ovix Test\\", carol + u"Data\\Ovix Test\\",
                                         GetShellFolder(CSIDL_APPDATA) + u"Ovix Test\\"};
  struct Case {
    const char16_t* userMode;  // empty: no key
    bool removeContent;
    bool profilesGone;
  } cases[] = {{u"1", true, true}, {u"1", false, false}, {u"", true, false}, {u"0", true, false}};
  for (const Case& c : cases) {
    const std::string label = Utf16ToUtf8(c.userMode) + (c.removeContent ? " content" : "");
    MakeInstallation(c.userMode);
    for (const UString& profile : profiles) MakeFile(profile + u"Ovix.ini");
    auto installer = NewUninstaller(destination, UninstallIni(listed));
    Choose(*installer, false, c.removeContent);
    TInstallerActionUninstallFiles().Execute();
    for (const UString& profile : profiles) EXPECT_EQ(Exists(profile), !c.profilesGone) << label << Utf16ToUtf8(profile);
    EXPECT_TRUE(DirectoryExists(bob)) << "the profile root stays";
    installer = nullptr;
    DeleteFolderTree(destination);
  }
  for (const UString& profile : profiles) DeleteFolderTree(profile);
}

TEST_F(UninstallFiles, AProductNameWithDotDotRemovesNoFolderAboveTheProfiles) {
  TFakeAccounts accounts;
  const UString erin = root.Path() + u"erin\\";
  accounts.Add(u"2004", ExcludeTrailingBackslash(erin));
  const UString local = erin + u"AppData\\Local\\";
  MakeFile(local + u"keep.txt");
  TTestEntries setup = DefaultSetupEntries();
  std::string& script = setup[u"Install.xml"];
  script.replace(script.find("Ovix Test"), 9, "..\\Local");
  MakeInstallation(u"1");
  auto installer = NewUninstaller(destination, UninstallIni(listed), false, setup);
  ASSERT_EQ(installer->ProductInfo().GetName(), u"..\\Local");
  Choose(*installer, false, true);
  TInstallerActionUninstallFiles().Execute();
  EXPECT_TRUE(Exists(local + u"keep.txt"));
}

TEST_F(UninstallFiles, AProtectedDestinationKeepsEverythingButTheListedFiles) {
  TFakeAccounts accounts;
  destination = root.Path() + u"dave\\";  // a user's profile root
  accounts.Add(u"2003", ExcludeTrailingBackslash(destination));
  MakeInstallation();
  auto installer = NewUninstaller(destination, UninstallIni(listed));
  Choose(*installer, true, true);
  TInstallerActionUninstallFiles().Execute();
  EXPECT_FALSE(Exists(Dest(u"Ovix.exe")));
  for (UStringView kept : {u"Keep\\mine.txt", u"!Backup\\Ovix 5.00.zip", u"Profile\\Ovix.ini", u"Langs"})
    EXPECT_TRUE(Exists(Dest(kept))) << Utf16ToUtf8(kept);
}

TEST_F(UninstallFiles, InAFolderThatHeldOtherFilesOnlyTheInstallationsOwnFilesAndFoldersGo) {
  MakeInstallation();
  const UString ownArchive = u"!Backup\\z Before install 5.00 [2025.01.01 10-00-00].zip";
  for (const UString& file : {ownArchive, UString(u"Skins\\mine.skn")}) MakeFile(Dest(file));
  ASSERT_TRUE(ForceDirectories(Dest(u"Empty")));
  auto installer = NewUninstaller(destination, "[Destination]\r\nSharedFolder=1\r\n" + UninstallIni(listed));
  Choose(*installer, true, true);
  TInstallerActionUninstallFiles().Execute();

  for (const UString& file : listed) EXPECT_FALSE(Exists(Dest(file))) << Utf16ToUtf8(file);
  for (const UString& gone : {UString(u"Langs"), UString(u"Skins\\Classic"), UString(u"Profile"), ownArchive})
    EXPECT_FALSE(Exists(Dest(gone))) << Utf16ToUtf8(gone);
  for (UStringView kept : {u"Keep\\mine.txt", u"Skins\\mine.skn", u"Empty", u"!Backup\\Ovix 5.00.zip"})
    EXPECT_TRUE(Exists(Dest(kept))) << Utf16ToUtf8(kept);
}

TEST_F(UninstallFiles, ADestinationThatIsALinkLosesItsListedFilesOnly) {
  const UString target = root.Path() + u"target\\";
  const UString link = destination;
  destination = target;
  MakeInstallation();
  const TFolderLink destinationLink(link, target);
  ASSERT_TRUE(destinationLink.Made());
  auto installer = NewUninstaller(link, UninstallIni(listed));
  Choose(*installer, true, true);
  EXPECT_EQ(TInstallerActionUninstallFiles().CreateFolderList()->Count(), 0);
  TInstallerActionUninstallFiles().Execute();

  for (const UString& file : listed) EXPECT_FALSE(Exists(target + file)) << Utf16ToUtf8(file);
  for (UStringView kept : {u"Keep\\mine.txt", u"!Backup\\Ovix 5.00.zip", u"Profile\\Ovix.ini"})
    EXPECT_TRUE(Exists(target + UString(kept))) << Utf16ToUtf8(kept);
  EXPECT_TRUE(IsFolderLink(link));
}

TEST(UninstallIntegration, RunsItsThreeTasksInOrderWithoutADeleteList) {
  TTestProductGuard product;
  TTempFolder root, desktop;
  TShellFolderRedirect redirect(u"Desktop", desktop.Path());
  const UString destination = root.Path() + u"Ovix Player\\";
  MakeFile(destination + u"System\\ovix_menu64.dll");
  MakeFile(desktop.File(u"Ovix.lnk"));
  TCommandRecorder rediruzu(destination + u"Rediruzu.exe");
  auto installer = NewUninstaller(destination, UninstallIni({}));

  TInstallerActionUninstallIntegration action;
  ASSERT_EQ(action.TaskCount(), 3);
  EXPECT_NE(dynamic_cast<TInstallerUpdateTaskRemoveShellMenu*>(&action.Tasks(0)), nullptr);
  EXPECT_NE(dynamic_cast<TInstallerUpdateTaskRemoveShortcuts*>(&action.Tasks(1)), nullptr);
  EXPECT_NE(dynamic_cast<TInstallerUpdateTaskRemoveFromRegistry*>(&action.Tasks(2)), nullptr);
  std::vector<int> progress;
  action.OnProgress = [&](TInstallerAction& sender) { progress.push_back(sender.Progress()); };
  action.Execute();
  EXPECT_FALSE(Exists(destination + u"System\\ovix_menu64.dll"));
  EXPECT_FALSE(Exists(desktop.File(u"Ovix.lnk")));
  EXPECT_EQ(rediruzu.CommandLine(), u"\"" + rediruzu.Path() + u"\" /REG=U");
  EXPECT_EQ(progress, (std::vector<int>{33, 67, 100}));
}
