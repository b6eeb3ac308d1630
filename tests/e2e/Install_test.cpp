// Unattended installations of the demo release, run as processes.
#include <windows.h>

#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

namespace {

const std::vector<UString> kInstalledFiles = {
    u"Ovix.exe",           u"Rediruzu.exe",          u"ReadMe.txt",
    u"Plugins\\Equalizer.dll", u"Plugins\\Visualizer.dll", u"Skins\\Classic.ovs",
    u"Langs\\English.lng", u"Langs\\German.lng",
};

}  // namespace

TEST_F(SetupEndToEnd, AFreshUnattendedInstallLeavesFilesUninstallDataRegistryAndShortcuts) {
  const TSetupRun run = Install();
  ASSERT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty()) << Utf16ToUtf8(run.Boxes.empty() ? UString() : run.Boxes[0].Text);

  for (const UString& file : kInstalledFiles) EXPECT_TRUE(FileExists(Dest + file)) << Utf16ToUtf8(file);
  EXPECT_FALSE(FileExists(Dest + u"Langs\\Russian.lng")) << "a file of the RU family only";

  const auto uninstallIni = ReadUninstallIni(Dest);
  std::vector<UString> expected = kInstalledFiles;
  expected.insert(expected.end(), {u"Uninstall.dat", u"Uninstall.exe"});
  EXPECT_EQ(UninstallEntries(*uninstallIni), expected);

  TDRXIniFile config(Dest + u"Ovix.ini");
  EXPECT_EQ(config.ReadString(u"System", u"UserMode", u""), u"1");
  EXPECT_EQ(config.ReadString(u"System", u"Version", u""), u"5020");
  EXPECT_EQ(config.ReadString(u"System", u"DefaultLang", u""), u"English.lng");

  EXPECT_EQ(UninstallValue(u"DisplayName"), u"Ovix");
  EXPECT_EQ(UninstallValue(u"InstallPath"), Dest);
  EXPECT_EQ(UninstallValue(u"UninstallString"), Dest + u"Uninstall.exe");
  EXPECT_EQ(UninstallValue(u"DisplayVersion"), u"5.2.0.1");

  EXPECT_EQ(GetShortcutTarget(DesktopShortcut()), Dest + u"Ovix.exe");
  EXPECT_EQ(GetShortcutTarget(StartMenuFolder() + u"Ovix.lnk"), Dest + u"Ovix.exe");
  EXPECT_EQ(GetShortcutTarget(StartMenuFolder() + u"Uninstall Ovix.lnk"), Dest + u"Uninstall.exe");
  EXPECT_EQ(FileExists(StartMenuFolder() + u"Read Me.lnk"), !IsWindows8OrLater())
      << "links to other files than programs only before Windows 8";

  // Unattended: no file-type dialog of Windows 8 and later, and no program started after setup.
  EXPECT_EQ(StandIns.Lines(), std::vector<UString>{u"Rediruzu.exe /REG=L1 /REG=D1 /REG=R1 /REG=M1 /REG=R2"});
}

TEST_F(SetupEndToEnd, APortableInstallTouchesNothingOutsideItsFolder) {
  const TSetupRun run = Install(u"/PORTABLE");
  ASSERT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(FileExists(Dest + u"Ovix.exe"));
  EXPECT_TRUE(FileExists(Dest + u"Uninstall.exe"));
  EXPECT_EQ(UninstallEntries(*ReadUninstallIni(Dest)).size(), kInstalledFiles.size() + 2);
  EXPECT_EQ(TDRXIniFile(Dest + u"Ovix.ini").ReadString(u"System", u"UserMode", u""), u"0");
  EXPECT_FALSE(UninstallKeyExists());
  EXPECT_FALSE(FileExists(DesktopShortcut()));
  EXPECT_FALSE(DirectoryExists(StartMenuFolder()));
  EXPECT_TRUE(StandIns.Lines().empty()) << "no integration";
}

TEST_F(SetupEndToEnd, AnUpdateWithoutAnInstallationFailsWithTheInstalledVersion) {
  const TSetupRun run = RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(Dest) + u" /UPDATE");
  EXPECT_EQ(run.ExitCode, 1);
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, u"Setup");
  EXPECT_EQ(run.Boxes[0].Text, u"Cannot install update on v0.00");
  EXPECT_FALSE(DirectoryExists(Dest));
}
