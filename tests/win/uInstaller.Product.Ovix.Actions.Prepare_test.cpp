#include "uInstaller.Product.Ovix.Actions.Prepare.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>
#include <zip.h>

#include <map>
#include <set>
#include <vector>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestAccounts.h"
#include "TestOvix.h"
#include "TestPrepare.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Core.Summary.h"
#include "uInstaller.Product.Ovix.Actions.Close.h"

TEST_F(PrepareAction, AnUpdateFrom3900IsArchivedMigratedAndCleanedUp) {
  const UString appData = AddUser(u"alice");
  WriteOvixConfig(dest, 3900, "1", "", u"Ovix3.ini");
  WriteFiles(dest,
             {u"Ovix.exe", u"Rediruzu.exe", u"readme.txt", u"Docs\\manual.txt", u"AlbumArts.db", u"UpdateInstaller.exe",
              u"Plugins\\AudioCD\\cd.dll", u"Plugins\\Mine\\mine.dll", u"Skins\\Mine.oxs", u"Skins\\Ovix3 Classic.oxs",
              u"Icons\\ovix.ico", u"System\\Data\\genres.dat", u"System\\ovix_menu32.dll", u"Плейлисты\\Любимое.m3u"});
  WriteFiles(appData + u"Ovix3\\",
             {u"Ovix3.ini", u"Ovix3.bak", u"AlbumArts.db", u"AlbumArtsForURLs.db", u"Playlists\\Party.m3u"});

  const auto action = Run();
  ASSERT_TRUE(installer->HasFlag(ifUpdate));

  const std::vector<UString> archives = Archives();
  ASSERT_EQ(archives.size(), 1u);
  const UString& name = archives[0];
  EXPECT_TRUE(StartsWith(name, u"z Before install 5.10 [") && EndsWith(name, u"].zip")) << Utf16ToUtf8(name);
  ASSERT_EQ(name.size(), UString(u"z Before install 5.10 [yyyy.MM.dd hh-mm-ss].zip").size());
  for (const size_t at : {27u, 30u, 33u, 36u, 39u})
    EXPECT_EQ(name.substr(at, 1), at == 33u ? u" " : at < 33u ? u"." : u"-");
  const auto entries = ReadArchive(dest + u"!Backup\\" + name);
  const std::set<std::string> expected = {"Profiles\\alice\\Ovix3.ini",
                                          "Profiles\\alice\\Ovix3.bak",
                                          "Profiles\\alice\\AlbumArtsForURLs.db",
                                          "Profiles\\alice\\Playlists\\Party.m3u",
                                          "Program\\Ovix3.ini",
                                          "Program\\Ovix.exe",
                                          "Program\\Rediruzu.exe",
                                          "Program\\readme.txt",
                                          "Program\\Docs\\manual.txt",
                                          "Program\\Plugins\\AudioCD\\cd.dll",
                                          "Program\\Plugins\\Mine\\mine.dll",
                                          "Program\\Skins\\Mine.oxs",
                                          "Program\\Skins\\Ovix3 Classic.oxs",
                                          "Program\\Icons\\ovix.ico",
                                          "Program\\System\\Data\\genres.dat",
                                          "Program\\System\\ovix_menu32.dll",
                                          "Program\\Плейлисты\\Любимое.m3u"};
  EXPECT_EQ(NamesOf(entries), expected);
  EXPECT_EQ(entries.at("Program\\Docs\\manual.txt"), "Docs\\manual.txt");
  EXPECT_EQ(action->Total, 4 + 17) << "three clean-up tasks, one profile, seventeen files archived";
  EXPECT_EQ(action->Position, action->Total);

  const std::set<UString> program = {u"Ovix.ini",        u"Plugins\\Mine\\mine.dll",  u"Skins\\Mine.oxs",
                                     u"Icons\\ovix.ico", u"System\\Data\\genres.dat", u"!Backup\\" + name};
  EXPECT_EQ(FilesBelow(dest), program);
  EXPECT_FALSE(DirectoryExists(dest + u"Docs")) << "emptied folders go";
  EXPECT_FALSE(DirectoryExists(appData + u"Ovix3")) << "the old profile moved";
  const std::set<UString> profile = {u"Ovix.ini", u"AlbumArts.Custom.db", u"Playlists\\Party.m3u"};
  EXPECT_EQ(FilesBelow(appData + u"Ovix\\"), profile);
  const std::vector<UString> statuses = {u"Backing up", u"Updating", u"Deleting"};
  EXPECT_EQ(status.Texts, statuses);
}

TEST_F(PrepareAction, WhatAnUpdateKeepsDependsOnTheInstalledVersion) {
  struct Case {
    int version;
    std::set<UString> program;  // files left in the destination, besides the archive
    std::set<UString> profile;  // files left in the profile
  };
  const std::set<UString> userContent = {u"Skins\\Mine.oxs", u"Icons\\ovix.ico"};
  auto with = [](std::set<UString> files, std::initializer_list<const char16_t*> more) {
    for (const char16_t* file : more) files.insert(file);
    return files;
  };
  const Case cases[] = {
      {3500, userContent, {u"Ovix.ini", u"AlbumArts.Custom.db", u"Playlists\\Party.m3u"}},
      {4550,
       with(userContent, {u"Plugins\\Mine\\mine.dll"}),
       {u"Ovix.ini", u"AlbumArts.Custom.db", u"Playlists\\Party.m3u"}},
      {5020,
       with(userContent, {u"Plugins\\Mine\\mine.dll"}),
       {u"Ovix.ini", u"AlbumArts.db", u"AlbumArtsForURLs.db", u"Playlists\\Party.m3u"}},
  };
  const UString appData = AddUser(u"bob");
  for (const Case& c : cases) {
    DeleteFolderTree(dest + u"!Backup");
    WriteOvixConfig(dest, c.version);
    WriteFiles(dest, {u"Ovix.exe", u"Plugins\\Mine\\mine.dll", u"Plugins\\Shoutcast\\sc.dll", u"Skins\\Mine.oxs",
                      u"Icons\\ovix.ico"});
    const UString profile = appData + (c.version < 4000 ? u"Ovix3\\" : u"Ovix\\");
    WriteFiles(profile, {c.version < 4000 ? u"Ovix3.ini" : u"Ovix.ini", u"AlbumArts.db", u"AlbumArtsForURLs.db",
                         u"Playlists\\Party.m3u"});

    Run();

    std::set<UString> left = FilesBelow(dest);
    EXPECT_EQ(std::erase_if(left, [](const UString& file) { return StartsWith(file, u"!Backup\\"); }), 1u);
    EXPECT_EQ(left, c.program) << c.version;
    EXPECT_EQ(FilesBelow(appData + u"Ovix\\"), c.profile) << c.version;
    DeleteFolderTree(appData + u"Ovix");
  }
}

TEST_F(PrepareAction, WithoutBackupOnlyTargetsObsoletePluginsAndSurplusArchivesGo) {
  WriteOvixConfig(dest, 4500);
  WriteFiles(dest,
             {u"Ovix.exe", u"readme.txt", u"Plugins\\VideoRenderer\\vr.dll", u"Plugins\\Shoutcast\\sc.dll",
              u"Plugins\\MMKeys\\keys.dll", u"Plugins\\AudioCD\\cd.dll", u"!Backup\\z Before install 4.00 [a].zip",
              u"!Backup\\z Before install 4.10 [a].zip", u"!Backup\\z Before install 4.20 [a].zip",
              u"!Backup\\z Before install 4.30 [a].zip", u"!Backup\\notes.txt"});
  const UString codec = GetShellFolder(CSIDL_SYSTEM) + u"ovixdec.ax";
  WriteFileBytes(codec, "codec");

  const auto action = Run(u"/NOBACKUP");

  const std::set<UString> left = {u"Ovix.ini",
                                  u"readme.txt",
                                  u"Plugins\\AudioCD\\cd.dll",
                                  u"!Backup\\z Before install 4.10 [a].zip",
                                  u"!Backup\\z Before install 4.20 [a].zip",
                                  u"!Backup\\z Before install 4.30 [a].zip",
                                  u"!Backup\\notes.txt"};
  EXPECT_EQ(FilesBelow(dest), left);
  EXPECT_FALSE(FileExists(codec));
  EXPECT_EQ(action->Total, 0) << "an update from 4.00 on without profiles: no tasks, and no files to back up";
  EXPECT_EQ(std::count(status.Texts.begin(), status.Texts.end(), u"Backing up"), 0);
}

TEST_F(PrepareAction, TheLastThreeArchivesByNameStayAndThisRunsArchiveAlways) {
  struct Case {
    const char16_t* label;
    std::vector<UString> earlier;
    std::set<UString> kept;  // "new": this run's archive
  };
  const Case cases[] = {
      {u"an upgrade",
       {u"z Before install 4.50 [2024.01.01 10-00-00].zip", u"z Before install 5.00 [2025.01.01 10-00-00].zip",
        u"z Before install 5.00 [2026.01.01 10-00-00].zip"},
       {u"z Before install 5.00 [2025.01.01 10-00-00].zip", u"z Before install 5.00 [2026.01.01 10-00-00].zip",
        u"new"}},
      {u"a downgrade",
       {u"z Before install 5.20 [2024.01.01 10-00-00].zip", u"z Before install 5.30 [2025.01.01 10-00-00].zip",
        u"z Before install 5.40 [2026.01.01 10-00-00].zip", u"notes.zip.txt"},
       {u"z Before install 5.30 [2025.01.01 10-00-00].zip", u"z Before install 5.40 [2026.01.01 10-00-00].zip", u"new",
        u"notes.zip.txt"}},
  };
  for (const Case& c : cases) {
    DeleteFolderTree(dest + u"!Backup");
    ASSERT_TRUE(ForceDirectories(dest + u"!Backup"));
    for (const UString& name : c.earlier) WriteFileBytes(dest + u"!Backup\\" + name, "old");
    WriteFiles(dest, {u"Ovix.exe"});

    Run();

    std::set<UString> kept;
    for (const UString& name : Archives()) kept.insert(StartsWith(name, u"z Before install 5.10 [") ? u"new" : name);
    EXPECT_EQ(kept, c.kept) << Utf16ToUtf8(c.label);
  }
}

TEST_F(PrepareAction, APortableUpdateArchivesTheFolderAsItIsAndKeepsItsProfile) {
  WriteOvixConfig(dest, 4700, "0");
  WriteFiles(dest, {u"Ovix.exe", u"Profile\\Ovix.ini", u"Profile\\AlbumArts.db", u"Profile\\Lists\\a.m3u"});

  Run();

  ASSERT_TRUE(installer->HasFlag(ifPortable) && installer->HasFlag(ifUpdate));
  const std::vector<UString> archives = Archives();
  ASSERT_EQ(archives.size(), 1u);
  const std::set<std::string> archived = {"Ovix.ini", "Ovix.exe", "Profile\\Ovix.ini", "Profile\\Lists\\a.m3u"};
  EXPECT_EQ(NamesOf(ReadArchive(dest + u"!Backup\\" + archives[0])), archived);
  const std::set<UString> left = {u"Profile\\Ovix.ini", u"Profile\\AlbumArts.db", u"Profile\\Lists\\a.m3u",
                                  u"!Backup\\" + archives[0]};
  EXPECT_EQ(FilesBelow(dest), left);
}

TEST_F(PrepareAction, AFreshInstallationOverOneItCannotUpdateArchivesAndRemovesTheOldProfiles) {
  const UString appData = AddUser(u"carol");
  WriteOvixConfig(dest, 5200);
  WriteFiles(dest, {u"Ovix.exe"});
  WriteFiles(appData + u"Ovix\\", {u"Ovix.ini"});

  Run();

  ASSERT_FALSE(installer->HasFlag(ifUpdate));
  const std::vector<UString> archives = Archives();
  ASSERT_EQ(archives.size(), 1u);
  const std::set<std::string> archived = {"Profiles\\carol\\Ovix.ini", "Program\\Ovix.ini", "Program\\Ovix.exe"};
  EXPECT_EQ(NamesOf(ReadArchive(dest + u"!Backup\\" + archives[0])), archived);
  EXPECT_FALSE(DirectoryExists(appData + u"Ovix"));
  EXPECT_EQ(FilesBelow(dest), std::set<UString>{u"!Backup\\" + archives[0]});
}

TEST_F(PrepareAction, AnEmptyDestinationShowsTheBackupStepButMakesNoArchive) {
  Run();
  EXPECT_FALSE(DirectoryExists(dest + u"!Backup"));
  EXPECT_EQ(status.Texts.front(), u"Backing up");
}

// The files of a backup that fails at "Data\\locked.bin", held by another handle.
class PrepareWithLockedFile : public PrepareAction {
 protected:
  PrepareWithLockedFile() {
    appData = AddUser(u"dave");
    WriteOvixConfig(dest, 4800);
    WriteFiles(dest, {u"Ovix.exe", u"Data\\locked.bin", u"Zeta\\later.bin"});
    WriteFiles(appData + u"Ovix\\", {u"Ovix.ini"});
  }
  // The backup error names the file, its size, what failed and the system's text; the
  // files before it stay archived and nothing is deleted.
  void ExpectBackupFailure(const UString& operation, DWORD systemError) {
    const std::set<UString> program = FilesBelow(dest);
    try {
      Run();
      ADD_FAILURE() << "expected EInstallerBackupError";
    } catch (const EInstallerBackupError& error) {
      const UString system = SysErrorMessage(systemError);
      EXPECT_EQ(error.Message(), u"An error occurs while backuping the \"" + locked + u"\" file (15)\r\n" + operation +
                                     u" \"" + locked + u"\". " + system + u"\r\n" + system);
    }
    const std::vector<UString> archives = Archives();
    ASSERT_EQ(archives.size(), 1u);
    std::set<UString> left = FilesBelow(dest);
    left.erase(u"!Backup\\" + archives[0]);
    EXPECT_EQ(left, program);
    EXPECT_TRUE(FileExists(appData + u"Ovix\\Ovix.ini"));
    const std::set<std::string> archived = {"Profiles\\dave\\Ovix.ini", "Program\\Ovix.ini", "Program\\Ovix.exe"};
    EXPECT_EQ(NamesOf(ReadArchive(dest + u"!Backup\\" + archives[0])), archived);
  }

  UString appData;
  const UString locked = dest + u"Data\\locked.bin";
};

TEST_F(PrepareWithLockedFile, AFileOpenedExclusivelyFailsTheBackupAndNothingIsDeleted) {
  const HANDLE holder = CreateFileW(W(locked), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  ExpectBackupFailure(u"Cannot open file", ERROR_SHARING_VIOLATION);
  CloseHandle(holder);
}

TEST_F(PrepareWithLockedFile, AFileWhoseBytesAreLockedFailsTheBackupAndNothingIsDeleted) {
  const HANDLE holder =
      CreateFileW(W(locked), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  OVERLAPPED whole{};
  ASSERT_TRUE(LockFileEx(holder, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole));
  const bool enforced = ReadFileBytes(locked).empty();  // another handle's read fails while the lock stands
  if (enforced) ExpectBackupFailure(u"Cannot read file", ERROR_LOCK_VIOLATION);
  CloseHandle(holder);
  if (!enforced) GTEST_SKIP() << "this system does not stop reads of locked bytes (Wine)";
}

TEST_F(PrepareAction, TwoGibibytesOfFilesAreRefusedBeforeAnythingIsWritten) {
  WriteOvixConfig(dest, 4800);
  WriteFiles(dest, {u"Ovix.exe", u"big.bin"});
  const HANDLE big = CreateFileW(W(dest + u"big.bin"), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(big, INVALID_HANDLE_VALUE);
  LARGE_INTEGER size;
  size.QuadPart = 2147483648LL - 8;  // with "Ovix.exe" (8 bytes) exactly 2 GiB, with the configuration more
  ASSERT_TRUE(SetFilePointerEx(big, size, nullptr, FILE_BEGIN) && SetEndOfFile(big));
  CloseHandle(big);

  try {
    Run();
    ADD_FAILURE() << "expected EInstallerBackupError";
  } catch (const EInstallerBackupError& error) {
    EXPECT_EQ(error.Message(), u"Too many files for backup");
  }
  EXPECT_TRUE(FileExists(dest + u"Ovix.exe"));
  EXPECT_FALSE(DirectoryExists(dest + u"!Backup"));
}

TEST_F(PrepareAction, ASystemOrUserRootIsNeverADestination) {
  AddUser(u"erin");
  const UString profile = users.Path() + u"erin\\";
  WriteFiles(profile, {u"NTUSER.DAT", u"Documents\\letter.txt"});
  for (const UString& folder : {profile, profile + u"AppData\\Roaming\\"}) {
    installer.reset();
    installer = MakeOvixInstaller(u"/AUTO=\"" + folder + u"\" /NOBACKUP");
    TInstallerActionPrepare action;
    EXPECT_THROW(action.Execute(), EInstallerInstallError) << Utf16ToUtf8(folder);
  }
  const std::set<UString> untouched = {u"NTUSER.DAT", u"Documents\\letter.txt"};
  EXPECT_EQ(FilesBelow(profile), untouched);
}

// A package that lacks a file of the script (an uninstaller's Uninstall.dat
// read as a product, say) must fail before the old installation is backed up
// and deleted, not at the extraction afterwards.
TEST_F(PrepareAction, APackageWithoutAComponentsFileFailsBeforeAnythingIsDeleted) {
  WriteOvixConfig(dest, 5010, "0");
  WriteFiles(dest, {u"Ovix.exe", u"Rediruzu.exe", u"Skins\\Mine.ovs"});
  installer = MakeOvixInstaller(u"/AUTO=\"" + dest + u"\"", {{u"player.bin", "new player"}});
  try {
    TInstallerActionPrepare().Execute();
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"Cannot locate \"rediruzu.bin\" file in setup archive");
  }
  const std::set<UString> untouched = {u"Ovix.exe", u"Ovix.ini", u"Rediruzu.exe", u"Skins\\Mine.ovs"};
  EXPECT_EQ(FilesBelow(dest), untouched);
}

TEST_F(PrepareAction, TheSummaryNamesFolderKindBackupAndAnInstallationLeftAlone) {
  struct Case {
    int installed;  // 0: none
    const char* userMode;
    const char16_t* switches;
    const char16_t* options;
  };
  const Case cases[] = {
      {0, "1", u"", u"    Normal\r\n    Backup\r\n"},
      {4500, "1", u"/NOBACKUP", u"    Update\r\n"},
      {0, "1", u"/PORTABLE /NOBACKUP", u"    Portable\r\n"},
      {5200, "1", u"", u"    Normal\r\n    Backup\r\n\r\nOptions:\r\n    Another installation stays\r\n"},
  };
  for (const Case& c : cases) {
    DeleteFileW(W(dest + u"Ovix.ini"));
    if (c.installed) WriteOvixConfig(dest, c.installed, c.userMode);
    Open(c.switches);
    TInstallerSummaryBuilder builder;
    TInstallerActionPrepare().BuildSummary(builder);
    EXPECT_EQ(builder.ToString(), u"Folder:\r\n    " + dest + u"\r\n\r\nOptions:\r\n" + c.options) << c.installed;
  }
}

TEST_F(PrepareAction, ARunOfTheInstallerThreadReplacesTheOldInstallationAfterBackingItUp) {
  const auto timing = TInstallerActionCloseApplications::Timing;
  TInstallerActionCloseApplications::Timing.PassInterval = 10;
  WriteOvixConfig(dest, 4500, "0");
  WriteFiles(dest, {u"Ovix.exe", u"Profile\\Ovix.ini"});
  installer = MakeOvixInstaller(u"/AUTO=\"" + dest + u"\" /SILENT",
                                {{u"player.bin", "new player"}, {u"rediruzu.bin", "new rediruzu"}});
  installer->Start(true);
  TInstallerActionCloseApplications::Timing = timing;

  EXPECT_EQ(installer->Errors().Text(), u"");
  EXPECT_EQ(ReadFileBytes(dest + u"Ovix.exe"), "new player");
  EXPECT_EQ(ReadFileBytes(dest + u"Profile\\Ovix.ini"), "Profile\\Ovix.ini");
  EXPECT_TRUE(FileExists(dest + u"Uninstall.dat"));
  ASSERT_EQ(Archives().size(), 1u);
}
