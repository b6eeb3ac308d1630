// The Uninstall.exe an installation leaves: it moves itself to the temporary
// folder, restarts there with PATH and removes the installation.
#include <windows.h>

#include "DRX.Platform.h"
#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

TEST_F(SetupEndToEnd, TheUninstallerRemovesTheInstallationFromItsCopyInTheTemporaryFolder) {
  ASSERT_EQ(Install().ExitCode, 0);
  const std::vector<UString> installed = UninstallEntries(*ReadUninstallIni(Dest));
  ForceDirectories(Dest + u"!Backup\\");
  WriteFileBytes(Dest + u"!Backup\\z Before install 5.01 [2025.01.01 10-00-00].zip", "old archive");
  ForceDirectories(ProfileFolder());
  WriteFileBytes(ProfileFolder() + u"Playlist.opl", "my songs");

  const TSetupRun run = Uninstall();
  EXPECT_EQ(run.ExitCode, 0) << "the first process only starts its copy";
  EXPECT_EQ(run.CopyExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty());
  for (const UString& file : installed) EXPECT_FALSE(FileExists(Dest + file)) << Utf16ToUtf8(file);
  EXPECT_FALSE(DirectoryExists(Dest + u"Plugins\\")) << "emptied folders go";
  EXPECT_FALSE(DirectoryExists(Dest + u"!Backup\\")) << "an unattended uninstall removes the backups";
  EXPECT_TRUE(FileExists(ProfileFolder() + u"Playlist.opl")) << "but not the users' content";
  EXPECT_EQ(FilesIn(Dest, true), std::vector<UString>{u"Ovix.ini"}) << "the player's configuration is user content";
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_FALSE(FileExists(DesktopShortcut()));
  EXPECT_FALSE(DirectoryExists(StartMenuFolder()));
  EXPECT_TRUE(Contains(StandIns.Lines(), u"Rediruzu.exe /REG=U"));
  EXPECT_TRUE(FileExists(PlatformTempFolder() + u"Uninstall.exe")) << "the copy that did the work";
}

TEST_F(SetupEndToEnd, APortableUninstallKeepsTheProfileUnlessAskedToRemoveContent) {
  ASSERT_EQ(Install(u"/PORTABLE").ExitCode, 0);
  ForceDirectories(Dest + u"Profile\\");
  WriteFileBytes(Dest + u"Profile\\Playlist.opl", "my songs");

  const TSetupRun run = Uninstall();
  EXPECT_EQ(run.CopyExitCode, 0);
  EXPECT_FALSE(FileExists(Dest + u"Ovix.exe"));
  EXPECT_EQ(ReadFileBytes(Dest + u"Profile\\Playlist.opl"), "my songs") << "RemoveContent is off unattended";
}

TEST_F(SetupEndToEnd, AMissingPathIsIgnoredAndTheCopyGetsTheInstallFolderFirst) {
  ASSERT_EQ(Install().ExitCode, 0);
  const TSetupRun run = Uninstall(u"/PATH=\"X:\\missing\\\" /AUTO /SILENT");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.CopyExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_FALSE(FileExists(Dest + u"Uninstall.exe"));
}

TEST_F(SetupEndToEnd, AnUninstallerStartedInTheTemporaryFolderWithoutPathRefuses) {
  ASSERT_EQ(Install().ExitCode, 0);
  const UString temp = PlatformTempFolder();
  ASSERT_TRUE(CopyFileW(W(Dest + u"Uninstall.exe"), W(temp + u"Uninstall.exe"), FALSE));
  ASSERT_TRUE(CopyFileW(W(Dest + u"Uninstall.dat"), W(temp + u"Uninstall.dat"), FALSE));

  const TSetupRun run = RunSetupProgram(temp + u"Uninstall.exe", u"/AUTO /SILENT");
  EXPECT_EQ(run.ExitCode, 1);
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Text, u"Cannot Start the Uninstaller");
  EXPECT_TRUE(FileExists(Dest + u"Ovix.exe")) << "nothing was removed";
}
