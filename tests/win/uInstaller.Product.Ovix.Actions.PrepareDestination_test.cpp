// What the prepare action may touch: only a folder that holds an installation
// of the player (or held nothing) is archived and cleaned as a whole, and no
// walk, copy or deletion goes through a link.
#include "uInstaller.Product.Ovix.Actions.Prepare.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

#include "DRX.FileFormats.INI.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestPrepare.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Product.Ovix.Destination.h"

namespace {

bool RecordsSharedFolder(TInstaller& installer) {
  return installer.Settings().ReadBool(kDestinationSection, kSharedFolderKey, false);
}

// Takes this run's archive ("z Before install 5.10 [...]") out of the files
// below the destination; returns the names it holds (none when there is not
// exactly one).
std::set<std::string> TakeThisRunsArchive(const UString& dest, std::set<UString>& files) {
  std::vector<UString> archives;
  std::erase_if(files, [&](const UString& file) {
    const bool ours = StartsWith(file, u"!Backup\\z Before install 5.10 [");
    if (ours) archives.push_back(file);
    return ours;
  });
  EXPECT_EQ(archives.size(), 1u);
  return archives.size() == 1 ? NamesOf(ReadArchive(dest + archives[0])) : std::set<std::string>();
}

}  // namespace

TEST_F(PrepareAction, AFolderWithoutAnInstallationKeepsItsFilesAndOnlyThePackagesTargetsAreReplaced) {
  const UString appData = AddUser(u"fay");
  WriteFiles(dest, {u"notes.txt", u"Photos\\cat.jpg", u"Ovix.exe", u"Plugins\\AudioCD\\cd.dll", u"!Backup\\a.zip",
                    u"!Backup\\b.zip", u"!Backup\\c.zip", u"!Backup\\d.zip"});
  WriteFiles(appData + u"Ovix3\\", {u"Ovix3.ini"});

  Run();

  EXPECT_TRUE(RecordsSharedFolder(*installer));
  std::set<UString> left = FilesBelow(dest);
  const std::set<std::string> archived = {"Program\\Ovix.exe", "Profiles\\fay\\Ovix3.ini"};
  EXPECT_EQ(TakeThisRunsArchive(dest, left), archived);
  const std::set<UString> kept = {u"notes.txt",     u"Photos\\cat.jpg", u"Plugins\\AudioCD\\cd.dll", u"!Backup\\a.zip",
                                  u"!Backup\\b.zip", u"!Backup\\c.zip",  u"!Backup\\d.zip"};
  EXPECT_EQ(left, kept) << "only the package's own target went";
  EXPECT_FALSE(DirectoryExists(appData + u"Ovix3")) << "profiles go as in any fresh installation";
}

TEST_F(PrepareAction, AnInstallationAnEmptyFolderAndAMissingOneAreThePlayersOtherFilesMakeAFolderShared) {
  struct Case {
    const char* label;
    std::function<void()> make;
    bool shared;
  };
  const Case cases[] = {
      {"empty", [&] { DeleteFileW(W(dest + u"notes.txt")); }, false},
      {"configuration", [&] { WriteOvixConfig(dest, 0); }, false},
      {"old configuration", [&] { WriteOvixConfig(dest, 3900, "1", "", u"Ovix3.ini"); }, false},
      {"uninstall data", [&] { WriteUninstallData(dest, "[Uninstall]\r\nCount=0\r\n"); }, false},
      {"uninstall data of a shared folder",
       [&] { WriteUninstallData(dest, "[Destination]\r\nSharedFolder=1\r\n[Uninstall]\r\nCount=0\r\n"); }, true},
      {"other files", [&] { WriteFiles(dest, {u"Docs\\notes.txt"}); }, true},
      {"a file named like uninstall data", [&] { WriteFiles(dest, {u"Uninstall.dat"}); }, true},
  };
  for (const Case& c : cases) {
    DeleteFolderTree(dest);
    WriteFiles(dest, {u"notes.txt"});
    c.make();
    Open();
    EXPECT_EQ(IsSharedDestination(), c.shared) << c.label;
    TInstallerActionPrepare().Execute();
    EXPECT_EQ(RecordsSharedFolder(*installer), c.shared) << c.label;
  }
  DeleteFolderTree(dest);
  Open();
  EXPECT_FALSE(IsSharedDestination()) << "a folder yet to be made";
}

TEST_F(PrepareAction, AnUpdateInASharedFolderArchivesAndReplacesOnlyTheInstallationsOwnFiles) {
  WriteOvixConfig(dest, 4800);
  WriteUninstallData(dest, "[Destination]\r\nSharedFolder=1\r\n[Uninstall]\r\n0=Ovix.exe\r\nCount=1\r\n");
  WriteFiles(dest, {u"Ovix.exe", u"Rediruzu.exe", u"Uninstall.exe", u"notes.txt", u"Docs\\x.txt",
                    u"Plugins\\MMKeys\\keys.dll", u"!Backup\\mine.zip", u"!Backup\\z Before install 4.00 [a].zip",
                    u"!Backup\\z Before install 4.10 [a].zip", u"!Backup\\z Before install 4.20 [a].zip"});

  Run();

  ASSERT_TRUE(installer->HasFlag(ifUpdate));
  EXPECT_TRUE(RecordsSharedFolder(*installer)) << "and so it stays";
  std::set<UString> left = FilesBelow(dest);
  const std::set<std::string> archived = {"Program\\Ovix.exe", "Program\\Rediruzu.exe", "Program\\Uninstall.exe",
                                          "Program\\Uninstall.dat", "Program\\Ovix.ini"};
  EXPECT_EQ(TakeThisRunsArchive(dest, left), archived);
  const std::set<UString> kept = {u"notes.txt", u"Docs\\x.txt", u"Plugins\\MMKeys\\keys.dll", u"!Backup\\mine.zip",
                                  u"!Backup\\z Before install 4.10 [a].zip", u"!Backup\\z Before install 4.20 [a].zip"};
  EXPECT_EQ(left, kept) << "the oldest of its own archives went, the user's zip stayed";
}

// ---- Links ----

TEST_F(PrepareAction, AProfileFolderThatIsALinkIsNeitherArchivedNorDeleted) {
  const UString appData = AddUser(u"gus");
  TTempFolder outside;
  WriteFiles(outside.Path(), {u"secret.txt", u"Sub\\more.txt"});
  const TFolderLink profile(appData + u"Ovix3", outside.Path());
  ASSERT_TRUE(profile.Made());

  Run();

  EXPECT_EQ(FilesBelow(outside.Path()), (std::set<UString>{u"secret.txt", u"Sub\\more.txt"}));
  EXPECT_TRUE(IsFolderLink(appData + u"Ovix3")) << "the link itself stays too";
  EXPECT_FALSE(DirectoryExists(dest + u"!Backup")) << "nothing was archived";
}

TEST_F(PrepareAction, AnUpdateFromVersion3NeverCopiesTheProfileIntoALink) {
  const UString appData = AddUser(u"hal");
  WriteOvixConfig(dest, 3900, "1", "", u"Ovix3.ini");
  WriteFiles(dest, {u"Ovix.exe"});
  WriteFiles(appData + u"Ovix3\\", {u"Ovix3.ini", u"Playlists\\Party.m3u"});
  TTempFolder outside;
  const TFolderLink newProfile(appData + u"Ovix", outside.Path());
  ASSERT_TRUE(newProfile.Made());

  EXPECT_THROW(Run(), EInstallerInstallError);

  EXPECT_TRUE(FilesBelow(outside.Path()).empty()) << "nothing was written through the link";
  EXPECT_TRUE(FileExists(appData + u"Ovix3\\Ovix3.ini")) << "and nothing deleted";
  EXPECT_TRUE(FileExists(dest + u"Ovix.exe"));
}

TEST_F(PrepareAction, ADestinationThatIsALinkIsNotWalked) {
  TTempFolder outside;
  WriteOvixConfig(outside.Path(), 4800);
  WriteFiles(outside.Path(), {u"Ovix.exe", u"mine.txt", u"Docs\\x.txt"});
  const TFolderLink link(users.Path() + u"Ovix", outside.Path());
  ASSERT_TRUE(link.Made());
  installer = MakeOvixInstaller(u"/AUTO=\"" + users.Path() + u"Ovix\\\"");

  TInstallerActionPrepare().Execute();

  EXPECT_EQ(FilesBelow(outside.Path()), (std::set<UString>{u"Ovix.ini", u"mine.txt", u"Docs\\x.txt"}))
      << "only the package's target went";
}

TEST_F(PrepareAction, ABackupFolderThatIsALinkIsNeitherWrittenIntoNorPruned) {
  TTempFolder outside;
  WriteFiles(outside.Path(), {u"z Before install 1.00 [a].zip", u"z Before install 1.10 [a].zip",
                              u"z Before install 1.20 [a].zip", u"z Before install 1.30 [a].zip",
                              u"z Before install 1.40 [a].zip"});
  WriteOvixConfig(dest, 4800);
  WriteFiles(dest, {u"Ovix.exe"});
  const TFolderLink backups(dest + u"!Backup", outside.Path());
  ASSERT_TRUE(backups.Made());
  const std::set<UString> archives = FilesBelow(outside.Path());

  try {
    Run();
    ADD_FAILURE() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"Cannot create folder " + dest + u"!Backup\\");
  }
  EXPECT_TRUE(FileExists(dest + u"Ovix.exe")) << "nothing deleted";
  Run(u"/NOBACKUP");
  EXPECT_EQ(FilesBelow(outside.Path()), archives);
}

TEST_F(PrepareAction, ObsoletePluginsAndTargetsBehindLinksAreLeftAlone) {
  TTempFolder plugin, plugins, languages;
  WriteFiles(plugin.Path(), {u"cd.dll"});
  WriteFiles(plugins.Path(), {u"MMKeys\\keys.dll"});
  WriteFiles(languages.Path(), {u"Russian.lng"});
  for (const bool wholeFolder : {false, true}) {
    DeleteFolderTree(dest);
    WriteFiles(dest, {u"Ovix.exe"});
    WriteOvixConfig(dest, 3900);
    if (!wholeFolder) {
      ASSERT_TRUE(ForceDirectories(dest + u"Plugins"));
    }
    const TFolderLink link = wholeFolder ? TFolderLink(dest + u"Plugins", plugins.Path())
                                         : TFolderLink(dest + u"Plugins\\AudioCD", plugin.Path());
    const TFolderLink langs(dest + u"Langs", languages.Path());
    ASSERT_TRUE(link.Made() && langs.Made());

    Run(u"/NOBACKUP");

    EXPECT_TRUE(FileExists(plugin.File(u"cd.dll"))) << wholeFolder;
    EXPECT_TRUE(FileExists(plugins.File(u"MMKeys\\keys.dll"))) << wholeFolder;
    EXPECT_TRUE(FileExists(languages.File(u"Russian.lng"))) << wholeFolder;
    EXPECT_FALSE(FileExists(dest + u"Ovix.exe")) << "the other targets went";
  }
}
