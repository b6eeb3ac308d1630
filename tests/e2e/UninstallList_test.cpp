// An Uninstall.dat that someone other than the installer wrote: its cipher key
// is public and the installation folder may be writable by users, so the
// uninstaller must not delete anything its list names outside what the
// installation put there, and must stop before it removes anything when the
// list cannot be read.
#include <windows.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

namespace {

// "Uninstall.ini" with the entries, numbered in order, and the count given.
std::string UninstallIniText(const std::vector<UString>& entries, const std::string& count) {
  std::string text = "[Uninstall]\r\n";
  for (size_t i = 0; i < entries.size(); ++i) text += std::to_string(i) + "=" + Utf16ToUtf8(entries[i]) + "\r\n";
  return text + "Count=" + count + "\r\n";
}

class HostileUninstallList : public SetupEndToEnd {
 protected:
  void InstallAndPlantVictims() {
    ASSERT_EQ(Install().ExitCode, 0);
    installed = UninstallEntries(*ReadUninstallIni(Dest));
    for (const UString& victim : Victims()) {
      ForceDirectories(ExtractFilePath(victim));
      WriteFileBytes(victim, "the user's own");
    }
  }
  std::vector<UString> Victims() const {
    return {Root.File(u"victim-outside.txt"), Root.File(u"victim-dotdot.txt"), Root.File(u"victim1.txt"),
            Root.File(u"Data\\victim2.txt"), Root.File(u"Data2\\victim3.txt"), Root.File(u"Elsewhere\\victim-link.txt"),
            Root.File(u"Documents\\letter.txt"), Dest + u"Keep\\notes.txt"};
  }
  // Still what the test wrote.
  void ExpectVictimsSurvive() {
    for (const UString& victim : Victims()) EXPECT_EQ(ReadFileBytes(victim), "the user's own") << Utf16ToUtf8(victim);
  }
  void ExpectInstallationKept() {
    for (const UString& file : installed) EXPECT_TRUE(FileExists(Dest + file)) << Utf16ToUtf8(file);
    EXPECT_TRUE(UninstallKeyExists());
    EXPECT_TRUE(FileExists(DesktopShortcut()));
  }

  std::vector<UString> installed;
};

}  // namespace

TEST_F(HostileUninstallList, EveryVictimSurvivesAndTheRealInstallationIsRemoved) {
  InstallAndPlantVictims();
  const TFolderLink link(Dest + u"Linked", Root.File(u"Elsewhere"));
  ASSERT_TRUE(link.Made());
  std::vector<UString> entries = {Root.File(u"victim-outside.txt"),
                                  u"..\\victim-dotdot.txt",
                                  u"...\\victim1.txt",
                                  u"...\\Data\\victim2.txt",
                                  u"Plugins\\...\\...\\Data2\\victim3.txt",
                                  u"Linked\\victim-link.txt",
                                  Root.File(u"Documents"),
                                  Root.File(u"Documents\\..\\Documents\\letter.txt"),
                                  u"Keep",
                                  u""};
  entries.insert(entries.end(), installed.begin(), installed.end());
  WriteUninstallDat(Dest, {{u"Uninstall.ini", UninstallIniText(entries, "2000000000")}});

  const TSetupRun run = Uninstall();
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_EQ(run.CopyExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty());
  ExpectVictimsSurvive();
  for (const UString& file : installed) EXPECT_FALSE(FileExists(Dest + file)) << Utf16ToUtf8(file);
  EXPECT_FALSE(UninstallKeyExists());
}

// The uninstaller reads its package in place of a product: without the list
// it would install that package over the folder it was meant to remove.
TEST_F(HostileUninstallList, AnUninstallDatWithoutItsListStopsTheUninstallerAtOnce) {
  InstallAndPlantVictims();
  WriteFileBytes(Dest + u"mine.txt", "the user's own");
  WriteUninstallDat(Dest, {{u"Other.txt", "not a list"}});

  const TSetupRun run = Uninstall();
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_EQ(run.CopyExitCode, -1) << "no copy was started";
  ASSERT_EQ(run.Boxes.size(), 1u);
  EXPECT_EQ(run.Boxes[0].Caption, u"Setup");
  EXPECT_EQ(run.Boxes[0].Text, u"Cannot locate \"Uninstall.ini\" file in \"" + Dest + u"Uninstall.dat\"");
  ExpectInstallationKept();
  EXPECT_EQ(ReadFileBytes(Dest + u"mine.txt"), "the user's own");
  EXPECT_FALSE(DirectoryExists(Dest + u"!Backup\\")) << "nothing was backed up, so nothing was about to go";
}

TEST_F(HostileUninstallList, ACountThatIsNoNumberOfEntriesStopsTheUninstallerBeforeAnything) {
  InstallAndPlantVictims();
  for (const std::string count : {"many", "-1", "99999999999"}) {
    SCOPED_TRACE(count);
    WriteUninstallDat(Dest, {{u"Uninstall.ini", UninstallIniText(installed, count)}});
    const TSetupRun run = Uninstall();
    EXPECT_EQ(run.ExitCode, 1);
    ASSERT_EQ(run.Boxes.size(), 1u);
    EXPECT_EQ(run.Boxes[0].Text,
              u"\"Uninstall.ini\" is damaged: the \"Count\" of installed files is missing or not a number");
    ExpectInstallationKept();
  }
  const TSetupRun quiet = Uninstall(u"/AUTO /SILENT /SUPPRESSMSGBOXES");
  EXPECT_EQ(quiet.ExitCode, 1);
  EXPECT_TRUE(quiet.Boxes.empty());
  ExpectInstallationKept();
}
