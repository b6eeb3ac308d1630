// Where an unattended setup may install: a folder with other files keeps them
// for good, a system or user folder is refused before anything is touched, a
// relative folder is taken from the current one, and an invalid or too long
// one is refused before anything is written.
#include <windows.h>
#include <shlobj.h>

#include <algorithm>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "E2ESupport.h"

namespace {

// Every file below the folder with its size and time of last change: what a refused run must leave as it was.
std::vector<UString> Snapshot(const UString& folder) {
  std::vector<UString> files = FilesIn(folder, true);
  for (UString& file : files) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(W(IncludeTrailingBackslash(folder) + file), GetFileExInfoStandard, &data);
    file += u" " + IntToStr(static_cast<int>(data.nFileSizeLow)) + u" " +
            IntToStr(static_cast<int>(data.ftLastWriteTime.dwLowDateTime));
  }
  return files;
}

UString BoxTexts(const TSetupRun& run) {
  UString text;
  for (const TSeenBox& box : run.Boxes) text += box.Caption + u": " + box.Text + u"\n";
  return text;
}

// The run ended with exit code 1 and one "Setup" box holding `part`.
void ExpectRefused(const TSetupRun& run, const UString& part, const std::string& label) {
  EXPECT_EQ(run.ExitCode, 1) << label;
  ASSERT_EQ(run.Boxes.size(), 1u) << label << Utf16ToUtf8(BoxTexts(run));
  EXPECT_EQ(run.Boxes[0].Caption, u"Setup") << label;
  EXPECT_NE(run.Boxes[0].Text.find(part), UString::npos) << label << ": " << Utf16ToUtf8(run.Boxes[0].Text);
}

TSetupRun InstallInto(const UString& folder, const UString& currentFolder = {}) {
  return RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(folder) + u" /SILENT", DismissBox, currentFolder);
}

}  // namespace

TEST_F(SetupEndToEnd, AFolderWithOtherFilesKeepsThemThroughInstallUpdateAndUninstall) {
  ASSERT_TRUE(ForceDirectories(Dest + u"Photos\\") && ForceDirectories(Dest + u"Empty\\"));
  WriteFileBytes(Dest + u"notes.txt", "my notes");
  WriteFileBytes(Dest + u"Photos\\cat.jpg", "a cat");
  WriteFileBytes(Dest + u"Plugins.txt", "not a plug-in");
  const std::vector<UString> mine = Snapshot(Dest);

  for (const char* step : {"install", "update"}) {
    const TSetupRun run = Install();
    ASSERT_EQ(run.ExitCode, 0) << step << Utf16ToUtf8(BoxTexts(run));
    EXPECT_TRUE(FileExists(Dest + u"Ovix.exe")) << step;
    std::vector<UString> left = Snapshot(Dest);
    for (const UString& file : mine) EXPECT_TRUE(Contains(left, file)) << step << ": " << Utf16ToUtf8(file);
    EXPECT_TRUE(DirectoryExists(Dest + u"Empty")) << step;
  }
  const TSetupRun run = Uninstall();
  EXPECT_EQ(run.CopyExitCode, 0);
  EXPECT_FALSE(FileExists(Dest + u"Ovix.exe"));
  EXPECT_FALSE(FileExists(Dest + u"Uninstall.exe"));
  std::vector<UString> left = Snapshot(Dest);
  // The player's settings stay.
  std::erase_if(left, [](const UString& file) { return StartsWith(file, u"Ovix.ini "); });
  EXPECT_EQ(left, mine);
  EXPECT_TRUE(DirectoryExists(Dest + u"Empty"));
}

TEST_F(SetupEndToEnd, AFolderOfThePlayerIsStillArchivedAndCleanedAsAWhole) {
  ASSERT_EQ(Install().ExitCode, 0);
  ASSERT_TRUE(ForceDirectories(Dest + u"Logs"));
  WriteFileBytes(Dest + u"Logs\\player.log", "played");

  ASSERT_EQ(Install().ExitCode, 0);
  EXPECT_FALSE(FileExists(Dest + u"Logs\\player.log")) << "the player's own files go with the update";
  const std::vector<UString> archives = FilesIn(Dest + u"!Backup\\");
  ASSERT_EQ(archives.size(), 1u);
  const std::vector<std::string> entries = ZipEntryNames(Dest + u"!Backup\\" + archives[0]);
  EXPECT_NE(std::find(entries.begin(), entries.end(), "Program\\Logs\\player.log"), entries.end());
}

TEST_F(SetupEndToEnd, SystemAndUserFoldersAreRefusedWithExitCode1AndLeftUntouched) {
  const UString windows = GetShellFolder(CSIDL_WINDOWS);
  const UString profile = GetShellFolder(CSIDL_PROFILE);
  const UString letter = FreeDriveLetter();
  ASSERT_FALSE(letter.empty());
  const TMappedDrive alias(letter[0], u"C:\\");
  ASSERT_TRUE(alias.Made());
  ASSERT_TRUE(StartsText(profile, u"C:\\"));
  const std::pair<UString, UString> cases[] = {
      {windows + u"system32\\drivers", windows + u"system32\\drivers"},
      {GetShellFolder(CSIDL_COMMON_DOCUMENTS), u"cannot be installed"},
      {ExtractFilePath(ExcludeTrailingBackslash(GetShellFolder(CSIDL_COMMON_DOCUMENTS))), u"cannot be installed"},
      {letter + u":" + profile.substr(2), letter + u":" + profile.substr(2)},
      {GetShellFolder(CSIDL_FAVORITES), u"cannot be installed"},
  };
  for (const auto& [folder, part] : cases) {
    const std::vector<UString> before = Snapshot(folder);
    const TSetupRun run = InstallInto(folder);
    ExpectRefused(run, part, Utf16ToUtf8(folder));
    EXPECT_EQ(Snapshot(folder), before) << Utf16ToUtf8(folder);
    EXPECT_FALSE(UninstallKeyExists());
  }
}

TEST_F(SetupEndToEnd, ARelativeFolderIsTakenFromTheCurrentFolderAndRegisteredInFull) {
  const TSetupRun run = InstallInto(u"Ovixrel", Root.Path());
  ASSERT_EQ(run.ExitCode, 0) << Utf16ToUtf8(BoxTexts(run));
  const UString installed = Root.Path() + u"Ovixrel\\";
  EXPECT_TRUE(FileExists(installed + u"Ovix.exe"));
  EXPECT_EQ(UninstallValue(u"InstallPath"), installed);
  EXPECT_EQ(UninstallValue(u"UninstallString"), installed + u"Uninstall.exe");
  EXPECT_EQ(RunSetupProgram(installed + u"Uninstall.exe", u"/AUTO /SILENT").CopyExitCode, 0);

  const UString windows = GetShellFolder(CSIDL_WINDOWS);
  ExpectRefused(InstallInto(u"Ovixrel", windows), windows + u"Ovixrel", "from the Windows folder");
  EXPECT_FALSE(DirectoryExists(windows + u"Ovixrel"));
}

TEST_F(SetupEndToEnd, AnInvalidOrTooLongFolderIsRefusedBeforeAnythingIsWritten) {
  const UString base = Root.Path() + u"Ovix";
  const std::pair<UString, UString> cases[] = {
      {u"/AUTO=\"" + base + u";C:\\Other\" /SILENT", u"cannot hold"},
      {u"/AUTO=" + base + u"\" /SILENT", u"cannot hold"},
      {u"/AUTO=\"" + base + u". . .\" /SILENT", u"cannot hold"},
      {u"/AUTO=\"" + Root.Path() + UString(150, u'a') + u"\\" + UString(150, u'b') + u"\" /SILENT", u"too long"},
  };
  for (const auto& [params, part] : cases) {
    const TSetupRun run = RunSetupProgram(SetupProgram(), params);
    ExpectRefused(run, part, Utf16ToUtf8(params));
    EXPECT_TRUE(ListFolderEntries(Root.Path()).empty()) << Utf16ToUtf8(params);
    EXPECT_FALSE(UninstallKeyExists());
    DeleteFolderTree(Root.Path() + u"C");  // should a run have made anything, the next starts clean
  }
}
