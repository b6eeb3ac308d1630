// Unattended runs as deployment tools start them: switches quoted the way
// scripts quote them, runs that must end by themselves, failures that must
// reach the exit code, and the player started after an automatic update.
#include <windows.h>

#include <chrono>
#include <thread>

#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

// PowerShell, .NET, Python and Wine quote an argument with a space as a whole.
TEST_F(SetupEndToEnd, ASwitchQuotedAsAWholeInstallsIntoAFolderWithASpace) {
  const UString folder = Root.File(u"My Apps\\Ovix\\");
  const TSetupRun run = RunSetupProgram(SetupProgram(), u"\"/AUTO=" + folder + u"\" \"/SILENT\"");
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty()) << Utf16ToUtf8(run.Boxes.empty() ? UString() : run.Boxes[0].Text);
  EXPECT_TRUE(FileExists(folder + u"Ovix.exe"));
  EXPECT_EQ(UninstallValue(u"InstallPath"), folder);
}

TEST_F(SetupEndToEnd, WithSuppressMsgBoxesAFailingSilentRunEndsByItselfWithExitCode1) {
  ASSERT_EQ(Install().ExitCode, 0);
  WriteFileBytes(Dest + u"ReadMe.txt", "old read-me");
  const TReadLock lock(Dest + u"ReadMe.txt");
  ASSERT_TRUE(lock.Locked());
  // A box would be answered with Ignore, and the run would report success.
  const TSetupRun run = Install(u"/SUPPRESSMSGBOXES", AnswerQuestions({IDIGNORE}));
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Boxes.empty()) << "no question and no error box";
  EXPECT_EQ(ReadFileBytes(Dest + u"ReadMe.txt"), "old read-me");
}

TEST_F(SetupEndToEnd, WithSuppressMsgBoxesAnErrorBeforeTheRunShowsNoBoxEither) {
  const TSetupRun run = RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(Dest) + u" /UPDATE /SILENT /SUPPRESSMSGBOXES");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_FALSE(DirectoryExists(Dest));
}

// A destination of 12,000 levels (below a file, so that no folder can be
// made): such a run once ended with exit code 0 and no message, its installer
// thread dead of a stack overflow while creating the folders. The destination
// check now refuses it before the run starts; the folder creation and a dead
// thread are tested on their own (FolderTree, InstallerThread).
TEST_F(SetupEndToEnd, ADestinationOfTwelveThousandLevelsFailsWithExitCode1) {
  WriteFileBytes(Root.File(u"block"), "a file where a folder should be");
  const UString deep = Root.File(u"block\\") + FolderLevels(12000);
  const TSetupRun run = RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(deep) + u" /SILENT /SUPPRESSMSGBOXES");
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.Boxes.empty());
  EXPECT_FALSE(UninstallKeyExists());
}

// The player's own update form is /AUTO /UPDATE /RUN, which shows the reduced
// wizard; the silent form over an installation sets the same options.
TEST_F(SetupEndToEnd, AnAutomaticUpdateWithRunStartsThePlayer) {
  ASSERT_EQ(Install().ExitCode, 0);
  const TSetupRun run = Install(u"/RUN");
  EXPECT_EQ(run.ExitCode, 0);
  bool started = false;
  for (int attempt = 0; attempt < 200 && !started; ++attempt) {
    started = Contains(StandIns.Lines(), u"Ovix.exe ");
    if (!started) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(started) << "the stand-in player recorded its start";
  // It records its start before it opens its window; closed, it ends.
  HWND window = nullptr;
  for (int attempt = 0; attempt < 200 && !(window = FindWindowW(L"TOvixMainForm", nullptr)); ++attempt)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  ASSERT_NE(window, nullptr);
  DWORD playerId = 0;
  GetWindowThreadProcessId(window, &playerId);
  const HANDLE player = OpenProcess(SYNCHRONIZE, FALSE, playerId);
  PostMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(player, 10000), WAIT_OBJECT_0) << "the player ended";
  CloseHandle(player);
}
