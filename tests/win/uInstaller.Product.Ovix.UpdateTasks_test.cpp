#include "uInstaller.Product.Ovix.UpdateTasks.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Exceptions.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestOvix.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Product.Ovix.Profiles.h"

namespace {

class OvixUpdateTasks : public ::testing::Test {
 protected:
  // An installation of the version in `folder` (the destination by default).
  void Install(int version, const UString& configName = u"Ovix.ini") {
    const UString folder = destination.Path();
    WriteOvixConfig(folder, version, "1", "", configName);
    installer.reset();
    installer = MakeOvixInstaller(u"/AUTO=\"" + folder + u"\"");
  }
  std::set<UString> Entries(const TDRXStringList& list) {
    std::set<UString> entries;
    for (int i = 0; i < list.Count(); ++i) entries.insert(list.Strings(i));
    return entries;
  }

  TOvixProductGuard product;
  TTempFolder destination;
  TTempFolder appData;
  std::unique_ptr<TInstaller> installer;
};

void WriteFiles(const UString& folder, std::initializer_list<const char16_t*> names) {
  for (const char16_t* name : names) {
    ASSERT_TRUE(ForceDirectories(ExtractFilePath(folder + name)));
    WriteFileBytes(folder + name, Utf16ToUtf8(name));
  }
}

}  // namespace

TEST_F(OvixUpdateTasks, AProfileOf3900MovesToTheNewFolderAndGetsItsNewNames) {
  Install(3900, u"Ovix3.ini");
  const UString oldProfile = appData.Path() + u"Ovix3\\", newProfile = appData.Path() + u"Ovix\\";
  WriteFiles(oldProfile, {u"Ovix3.ini", u"Ovix3-cat.db", u"ovix3_menu.ini", u"Ovix3ac.ini", u"Ovix3qel.ini",
                          u"Ovix3-SkinLayout.ini", u"Ovix3.bak", u"Ovix3ac.bak", u"AlbumArts.db", u"AlbumArtCache.db",
                          u"AlbumArtsForURLs.db", u"Playlists\\Party.m3u"});
  WriteFiles(destination.Path(), {u"Skins\\Ovix3 Classic.oxs", u"Skins\\Modern.oxs"});
  TDRXStringList deleteList;
  deleteList.Add(oldProfile + u"Ovix3.ini");
  deleteList.Add(newProfile + u"stale.db");
  deleteList.Add(destination.Path() + u"Ovix.exe");
  TInstallerProfileInfo profile{u"alice", newProfile, oldProfile};

  TInstallerUpdateTaskUpdateConfigs(profile).Execute(&deleteList);

  const std::set<UString> expected = {
      oldProfile + u"Ovix3.ini",    destination.Path() + u"Ovix.exe", newProfile + u"Ovix3-SkinLayout.ini",
      newProfile + u"Ovix3.bak",    newProfile + u"Ovix3ac.bak",      destination.Path() + u"Skins\\Ovix3 Classic.oxs",
      newProfile + u"AlbumArts.db", newProfile + u"AlbumArtCache.db"};
  EXPECT_EQ(Entries(deleteList), expected);
  for (const char16_t* name : {u"Ovix.ini", u"Ovix-cat.db", u"Ovix-ContextMenu.ini", u"Ovixac.ini", u"Ovixqel.ini",
                               u"AlbumArts.Custom.db", u"Playlists\\Party.m3u"})
    EXPECT_TRUE(FileExists(newProfile + name)) << Utf16ToUtf8(name);
  EXPECT_EQ(ReadFileBytes(newProfile + u"Ovix.ini"), "Ovix3.ini");
  for (const char16_t* name : {u"Ovix3.ini", u"ovix3_menu.ini", u"AlbumArtsForURLs.db"})
    EXPECT_FALSE(FileExists(newProfile + name)) << Utf16ToUtf8(name);
  EXPECT_TRUE(FileExists(oldProfile + u"Ovix3.ini")) << "the old folder is the prepare action's to delete";
  EXPECT_TRUE(FileExists(destination.File(u"Ovix.ini")));
  EXPECT_FALSE(FileExists(destination.File(u"Ovix3.ini")));
}

TEST_F(OvixUpdateTasks, LaterVersionsOnlyProtectTheProfileAndTidyTheAlbumArt) {
  struct Case {
    int version;
    std::set<UString> added;  // names in the profile
    bool renamed;             // AlbumArtsForURLs.db became AlbumArts.Custom.db
  };
  const Case cases[] = {
      {4550, {u"AlbumArts.db", u"AlbumArtCache.db"}, true},
      {4700, {u"AlbumArtCache.db"}, true},
      {5020, {}, false},
  };
  const UString profilePath = appData.Path() + u"Ovix\\";
  for (const Case& c : cases) {
    Install(c.version);
    WriteFiles(profilePath, {u"Ovix.ini", u"Ovix3.ini", u"AlbumArts.db", u"AlbumArtCache.db", u"AlbumArtsForURLs.db"});
    DeleteFileW(W(profilePath + u"AlbumArts.Custom.db"));
    WriteFiles(destination.Path(), {u"Skins\\Ovix3 Classic.oxs"});
    TDRXStringList deleteList;
    deleteList.Add(profilePath + u"Ovix.ini");
    deleteList.Add(destination.Path() + u"Ovix.exe");
    TInstallerProfileInfo profile{u"bob", profilePath, profilePath};

    TInstallerUpdateTaskUpdateConfigs(profile).Execute(&deleteList);

    std::set<UString> expected = {destination.Path() + u"Ovix.exe"};
    for (const UString& name : c.added) expected.insert(profilePath + name);
    EXPECT_EQ(Entries(deleteList), expected) << c.version;
    EXPECT_EQ(FileExists(profilePath + u"AlbumArts.Custom.db"), c.renamed) << c.version;
    EXPECT_TRUE(FileExists(profilePath + u"Ovix3.ini")) << "no legacy renames from " << c.version;
  }
}

TEST_F(OvixUpdateTasks, ALegacyFileWhoseNewNameIsTakenEndsTheTaskWithTheSystemError) {
  Install(3900);
  const UString profilePath = appData.Path() + u"Ovix\\";
  WriteFiles(profilePath, {u"Ovix3.ini", u"Ovix.ini"});
  TInstallerProfileInfo profile{u"alice", profilePath, profilePath};
  TDRXStringList deleteList;
  try {
    TInstallerUpdateTaskUpdateConfigs(profile).Execute(&deleteList);
    FAIL() << "expected EOSError";
  } catch (const EOSError& error) {
    EXPECT_TRUE(error.ErrorCode() == ERROR_ALREADY_EXISTS || error.ErrorCode() == ERROR_FILE_EXISTS)
        << error.ErrorCode();
  }
  EXPECT_EQ(ReadFileBytes(profilePath + u"Ovix.ini"), "Ovix.ini") << "nothing overwritten";

  // Inside the album-art step the same failure is ignored.
  Install(4800);
  WriteFiles(profilePath, {u"AlbumArtsForURLs.db", u"AlbumArts.Custom.db"});
  EXPECT_NO_THROW(TInstallerUpdateTaskUpdateConfigs(profile).Execute(&deleteList));
  EXPECT_TRUE(FileExists(profilePath + u"AlbumArtsForURLs.db"));
}

TEST(SetupHelper, CopyFolderCopiesTheTreeOrReportsBothFolders) {
  TTempFolder temp;
  WriteFiles(temp.Path() + u"from\\", {u"a.ini", u"sub\\b.db"});
  TSetupHelper::CopyFolder(temp.Path() + u"from\\", temp.Path() + u"to\\");
  EXPECT_EQ(ReadFileBytes(temp.Path() + u"to\\sub\\b.db"), "sub\\b.db");
  TSetupHelper::CopyFolder(temp.Path() + u"FROM\\", temp.Path() + u"from\\");  // the same folder: nothing to do

  WriteFileBytes(temp.File(u"file"), "");
  const UString target = temp.Path() + u"file\\to\\";
  try {
    TSetupHelper::CopyFolder(temp.Path() + u"from\\", target);
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"Cannot copy \"" + temp.Path() + u"from\\\" to \"" + target + u"\"");
  }
}

TEST(SetupHelper, RemoveFromListDropsEveryEntryBelowThePrefixIgnoringCase) {
  TDRXStringList list;
  for (const char16_t* entry : {u"C:\\Ovix\\Skins\\a.oxs", u"C:\\Ovix\\Ovix.exe", u"c:\\OVIX\\skins\\b.oxs",
                                u"C:\\Ovix\\Skins2\\c.oxs", u"C:\\Ovix\\Skins\\"})
    list.Add(entry);
  TSetupHelper::RemoveFromList(list, u"C:\\Ovix\\Skins\\");
  EXPECT_EQ(list.Text(), u"C:\\Ovix\\Ovix.exe\r\nC:\\Ovix\\Skins2\\c.oxs\r\n");
}

TEST_F(OvixUpdateTasks, TheShellMenuLibrariesAreUnregisteredWhenPossibleAndDeleted) {
  Install(3900);
  const UString system = destination.Path() + u"System\\";
  ASSERT_TRUE(ForceDirectories(system));
  ASSERT_TRUE(CopyFileW(W(BinFolder() + u"OvixTestComServer.dll"), W(system + u"ovix_menu64.dll"), FALSE));
  WriteFileBytes(system + u"ovix_menu32.dll", "a library of the other width");
  TInstallerUpdateTaskRemoveShellMenu().Execute(nullptr);
  EXPECT_TRUE(FileExists(system + u"unregistered.txt"));
  EXPECT_FALSE(FileExists(system + u"ovix_menu64.dll"));
  EXPECT_FALSE(FileExists(system + u"ovix_menu32.dll"));
}

TEST_F(OvixUpdateTasks, OnlyUninstallEntriesThatPointIntoTheDestinationAreRemoved) {
  Install(3900);
  TTempFolder elsewhere;
  ASSERT_TRUE(ForceDirectories(destination.Path() + u"Old"));
  ASSERT_TRUE(
      TInstallerApplicationRepository::Register(u"Ovix3", destination.Path() + u"Old\\Uninstall.exe", u"3", u"", u""));
  ASSERT_TRUE(TInstallerApplicationRepository::Register(u"Ovix", elsewhere.File(u"Uninstall.exe"), u"4", u"", u""));
  TInstallerUpdateTaskRemoveUninstallInfo().Execute(nullptr);
  UString path;
  EXPECT_FALSE(TInstallerApplicationRepository::GetInstallPath(u"Ovix3", path));
  EXPECT_TRUE(TInstallerApplicationRepository::GetInstallPath(u"Ovix", path));
  EXPECT_EQ(path, elsewhere.Path());

  // The uninstaller's task removes the product's entry wherever it points.
  TInstallerUpdateTaskRemoveFromRegistry().Execute(nullptr);
  EXPECT_FALSE(TInstallerApplicationRepository::GetInstallPath(u"Ovix", path));
}

TEST_F(OvixUpdateTasks, RediruzuIsStartedFromAQuotedPathWithItsSwitch) {
  const UString spaced = destination.Path() + u"Program Files\\Ovix Player\\";
  ASSERT_TRUE(ForceDirectories(spaced));
  WriteOvixConfig(spaced, 4800);
  installer = MakeOvixInstaller(u"/AUTO=\"" + spaced + u"\"");
  ASSERT_TRUE(CopyFileW(W(BinFolder() + u"spawn_marker.exe"), W(spaced + u"Rediruzu.exe"), FALSE));
  // What an unquoted command line would start instead.
  ASSERT_TRUE(CopyFileW(W(BinFolder() + u"spawn_marker.exe"), W(destination.Path() + u"Program.exe"), FALSE));

  TInstallerUpdateTaskRemoveFromRegistry().Execute(nullptr);

  const std::string record = ReadFileBytes(spaced + u"Rediruzu.exe.started");
  EXPECT_NE(record.find("\n/REG=U\n"), std::string::npos) << record;
  EXPECT_FALSE(FileExists(destination.Path() + u"Program.exe.started"));
}

TEST_F(OvixUpdateTasks, OldShortcutsAndMenuFoldersGoAndThoseOf3xOnlyBelow4000) {
  TTempFolder desktop;
  TShellFolderRedirect redirect(u"Desktop", desktop.Path());
  ASSERT_EQ(GetShellFolder(CSIDL_DESKTOP), desktop.Path());
  const UString commonDesktop = GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY),
                startMenu = GetShellFolder(CSIDL_STARTMENU), commonPrograms = GetShellFolder(CSIDL_COMMON_PROGRAMS),
                commonStartMenu = GetShellFolder(CSIDL_COMMON_STARTMENU);
  auto place = [&](const UString& name) {
    std::vector<UString> files = {desktop.Path() + name + u".lnk", commonDesktop + name + u".lnk",
                                  startMenu + name + u"\\Player.lnk", commonPrograms + name + u"\\Tools\\Editor.lnk",
                                  commonStartMenu + name + u"\\Player.lnk"};
    for (const UString& file : files) {
      EXPECT_TRUE(ForceDirectories(ExtractFilePath(file)));
      WriteFileBytes(file, "link");
    }
    return files;
  };
  auto anyLeft = [&](const UString& name, const std::vector<UString>& files) {
    for (const UString& file : files)
      if (FileExists(file)) return true;
    for (const UString& menu : {startMenu, commonPrograms, commonStartMenu})
      if (DirectoryExists(menu + name)) return true;
    return false;
  };
  const UString keep = startMenu + u"Ovix Tools\\Keep.lnk";
  ASSERT_TRUE(ForceDirectories(ExtractFilePath(keep)));
  WriteFileBytes(keep, "not ours");

  Install(4100);
  std::vector<UString> current = place(u"Ovix"), legacy = place(u"Ovix3");
  TInstallerUpdateTaskRemoveShortcuts().Execute(nullptr);
  EXPECT_FALSE(anyLeft(u"Ovix", current));
  EXPECT_TRUE(FileExists(legacy[0]) && FileExists(legacy[2])) << "3.x links stay from 4.00 on";

  Install(3900);
  current = place(u"Ovix");
  TInstallerUpdateTaskRemoveShortcuts().Execute(nullptr);
  EXPECT_FALSE(anyLeft(u"Ovix", current));
  EXPECT_FALSE(anyLeft(u"Ovix3", legacy));
  EXPECT_TRUE(FileExists(keep));
  DeleteFolderTree(ExtractFilePath(keep));
}
