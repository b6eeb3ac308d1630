// Installing over an installation: the update path with its backup and update
// tasks, a running player, and a target that cannot be replaced.
#include <windows.h>

#include <algorithm>

#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

namespace {

bool HasEntry(const std::vector<std::string>& names, const std::string& name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

UString Text(const std::vector<TSeenBox>& boxes) {
  UString text;
  for (const TSeenBox& box : boxes) text += box.Caption + u": " + box.Text + u"\n";
  return text;
}

}  // namespace

TEST_F(SetupEndToEnd, AnUpdateBacksUpReplacesAndKeepsTheUsersSettings) {
  ASSERT_EQ(Install().ExitCode, 0);
  TDRXIniFile(Dest + u"Ovix.ini", true).WriteString(u"Integration", u"RegisterContextMenu", u"0");
  ForceDirectories(ProfileFolder());
  WriteFileBytes(ProfileFolder() + u"Playlist.opl", "my songs");
  WriteFileBytes(Dest + u"Skins\\Mine.ovs", "my skin");
  WriteFileBytes(Dest + u"Ovix.exe", "damaged");

  const TSetupRun run = Install();
  ASSERT_EQ(run.ExitCode, 0) << Utf16ToUtf8(Text(run.Boxes));
  EXPECT_NE(ReadFileBytes(Dest + u"Ovix.exe"), "damaged");
  EXPECT_EQ(ReadFileBytes(ProfileFolder() + u"Playlist.opl"), "my songs");
  EXPECT_EQ(ReadFileBytes(Dest + u"Skins\\Mine.ovs"), "my skin");
  TDRXIniFile config(Dest + u"Ovix.ini");
  EXPECT_EQ(config.ReadString(u"Integration", u"RegisterContextMenu", u""), u"0") << "the user's choice is kept";
  EXPECT_EQ(StandIns.Lines().size(), 1u) << "an update integrates nothing again";

  const std::vector<UString> archives = FilesIn(Dest + u"!Backup\\");
  ASSERT_EQ(archives.size(), 1u);
  EXPECT_EQ(archives[0].rfind(u"z Before install 5.02 [", 0), 0u) << Utf16ToUtf8(archives[0]);
  const std::vector<std::string> entries = ZipEntryNames(Dest + u"!Backup\\" + archives[0]);
  EXPECT_TRUE(HasEntry(entries, "Program\\Ovix.exe"));
  EXPECT_TRUE(HasEntry(entries, "Program\\Ovix.ini"));
  const auto user = std::find_if(entries.begin(), entries.end(), [](const std::string& name) {
    return name.starts_with("Profiles\\") && name.ends_with("\\Playlist.opl");
  });
  EXPECT_NE(user, entries.end()) << "the user's profile is in the archive";
}

TEST_F(SetupEndToEnd, AnUpdateFromVersion3MovesAndRenamesTheProfile) {
  ASSERT_EQ(Install().ExitCode, 0);
  TDRXIniFile(Dest + u"Ovix.ini", true).WriteString(u"System", u"Version", u"3900");
  const UString oldProfile = ProfileFolder(3900);
  ForceDirectories(oldProfile);
  WriteFileBytes(oldProfile + u"Ovix3.ini", "[Main]\r\nVolume=7\r\n");
  WriteFileBytes(oldProfile + u"AlbumArtsForURLs.db", "covers");

  const TSetupRun run = Install();
  ASSERT_EQ(run.ExitCode, 0) << Utf16ToUtf8(Text(run.Boxes));
  EXPECT_EQ(ReadFileBytes(ProfileFolder() + u"Ovix.ini"), "[Main]\r\nVolume=7\r\n");
  EXPECT_EQ(ReadFileBytes(ProfileFolder() + u"AlbumArts.Custom.db"), "covers");
  EXPECT_FALSE(FileExists(oldProfile + u"Ovix3.ini")) << "the old profile's files are removed after the backup";
  EXPECT_EQ(TDRXIniFile(Dest + u"Ovix.ini").ReadString(u"System", u"Version", u""), u"5020");
}

TEST_F(SetupEndToEnd, ARunningPlayerIsClosedBeforeItsFilesAreReplaced) {
  ASSERT_EQ(Install().ExitCode, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION player{};
  UString commandLine = Quoted(Dest + u"Ovix.exe");
  ASSERT_TRUE(CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &player));
  WaitForInputIdle(player.hProcess, 10000);
  ASSERT_NE(FindWindowW(L"TOvixMainForm", nullptr), nullptr);

  const TSetupRun run = Install();
  const bool playerEnded = WaitForSingleObject(player.hProcess, 0) == WAIT_OBJECT_0;
  if (!playerEnded) TerminateProcess(player.hProcess, 1);
  CloseHandle(player.hThread);
  CloseHandle(player.hProcess);
  EXPECT_EQ(run.ExitCode, 0) << Utf16ToUtf8(Text(run.Boxes));
  EXPECT_TRUE(playerEnded) << "the setup closed the player's window";
  EXPECT_FALSE(FileExists(Dest + u"Ovix.exe.bak")) << "nothing had to be moved aside";
}

TEST_F(SetupEndToEnd, ALockedTargetIsAskedAboutUntilTheUserIgnoresIt) {
  ASSERT_EQ(Install().ExitCode, 0);
  WriteFileBytes(Dest + u"ReadMe.txt", "old read-me");
  const TReadLock lock(Dest + u"ReadMe.txt");
  ASSERT_TRUE(lock.Locked());

  const TSetupRun run = Install(u"", AnswerQuestions({IDRETRY, IDIGNORE}));
  EXPECT_EQ(run.ExitCode, 0) << Utf16ToUtf8(Text(run.Boxes));
  ASSERT_EQ(run.Boxes.size(), 2u) << "asked, retried, asked again, ignored";
  for (const TSeenBox& box : run.Boxes) EXPECT_NE(box.Text.find(Dest + u"ReadMe.txt"), UString::npos);
  EXPECT_EQ(ReadFileBytes(Dest + u"ReadMe.txt"), "old read-me");
  EXPECT_TRUE(FileExists(Dest + u"Uninstall.dat")) << "the installation went on";
}

TEST_F(SetupEndToEnd, ALockedTargetAnsweredWithAbortEndsTheSetupWithItsError) {
  ASSERT_EQ(Install().ExitCode, 0);
  WriteFileBytes(Dest + u"ReadMe.txt", "old read-me");
  const TReadLock lock(Dest + u"ReadMe.txt");

  const TSetupRun run = Install(u"", AnswerQuestions({IDABORT}));
  EXPECT_EQ(run.ExitCode, 1);
  ASSERT_EQ(run.Boxes.size(), 2u) << Utf16ToUtf8(Text(run.Boxes));
  EXPECT_EQ(run.Boxes[1].Caption, u"Setup");
  EXPECT_EQ(run.Boxes[1].Text, u"Setup was aborted while writing \"" + Dest + u"ReadMe.txt\".\r\n");
}
