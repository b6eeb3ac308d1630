// The wizard of the demo release run as a process: an unattended run without
// /SILENT shows its progress page, installs and closes by itself.
#include <windows.h>

#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

TEST_F(SetupEndToEnd, WithoutSilentTheWizardInstallsThroughItsProgressPageAndClosesByItself) {
  const TSetupRun run = RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(Dest));
  EXPECT_EQ(run.ExitCode, 0);
  EXPECT_TRUE(run.Boxes.empty()) << Utf16ToUtf8(run.Boxes.empty() ? UString() : run.Boxes[0].Text);
  for (const UStringView file : {u"Ovix.exe", u"Plugins\\Equalizer.dll", u"Uninstall.exe", u"Uninstall.dat"})
    EXPECT_TRUE(FileExists(Dest + UString(file))) << Utf16ToUtf8(file);
  EXPECT_EQ(UninstallValue(u"InstallPath"), Dest);
}

TEST_F(SetupEndToEnd, ALockedTargetIsAskedAboutFromTheWizard) {
  ASSERT_EQ(Install().ExitCode, 0);
  WriteFileBytes(Dest + u"ReadMe.txt", "old read-me");
  const TReadLock lock(Dest + u"ReadMe.txt");
  ASSERT_TRUE(lock.Locked());

  const TSetupRun run = RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(Dest), AnswerQuestions({IDRETRY, IDIGNORE}));
  EXPECT_EQ(run.ExitCode, 0);
  ASSERT_EQ(run.Boxes.size(), 2u) << "asked, retried, asked again, ignored";
  for (const TSeenBox& box : run.Boxes) EXPECT_NE(box.Text.find(Dest + u"ReadMe.txt"), UString::npos);
  EXPECT_EQ(ReadFileBytes(Dest + u"ReadMe.txt"), "old read-me");
}
