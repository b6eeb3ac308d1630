#include "uInstaller.Core.FileUtils.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DRX.Classes.Thread.h"
#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.MessageWindow.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.FolderGuard.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

namespace {

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";
const wchar_t kPendingOperations[] = L"PendingFileRenameOperations";

// The system's list of renames and deletions for the next start: pairs of
// "\??\<source>" and target, an empty target meaning deletion.
class TPendingOperations {
 public:
  static std::vector<UString> Read() {
    std::vector<UString> strings;
    DWORD type = 0, size = 0;
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingOperations, RRF_RT_REG_MULTI_SZ, &type, nullptr,
                     &size) != ERROR_SUCCESS)
      return strings;
    UString buffer(size / sizeof(char16_t) + 1, u'\0');
    if (RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingOperations, RRF_RT_REG_MULTI_SZ, &type, W(buffer),
                     &size) != ERROR_SUCCESS)
      return strings;
    buffer.resize(size / sizeof(char16_t));
    for (size_t start = 0; start < buffer.size();) {
      const size_t end = std::min(buffer.find(u'\0', start), buffer.size());
      strings.push_back(buffer.substr(start, end - start));
      start = end + 1;
    }
    while (!strings.empty() && strings.back().empty() && strings.size() % 2) strings.pop_back();  // list end
    return strings;
  }
  // The files the list deletes at the next start, without their "\??\" prefix.
  static std::vector<UString> Deletions() {
    const std::vector<UString> strings = Read();
    std::vector<UString> files;
    for (size_t i = 0; i + 1 < strings.size(); i += 2) {
      if (strings[i + 1].empty() && StartsWith(strings[i], u"\\??\\")) files.push_back(strings[i].substr(4));
    }
    return files;
  }
  // Takes the deletion of `file` out of the list again.
  static void Forget(const UString& file) {
    const std::vector<UString> strings = Read();
    UString kept;
    for (size_t i = 0; i + 1 < strings.size(); i += 2) {
      if (strings[i + 1].empty() && SameText(strings[i], u"\\??\\" + file)) continue;
      kept += strings[i] + u'\0' + strings[i + 1] + u'\0';
    }
    if (kept.empty()) {
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingOperations);
      return;
    }
    kept += u'\0';
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, kSessionManager, kPendingOperations, REG_MULTI_SZ, kept.c_str(),
                    static_cast<DWORD>(kept.size() * sizeof(char16_t)));
  }
  static bool Deletes(const UString& file) {
    const std::vector<UString> files = Deletions();
    return std::any_of(files.begin(), files.end(), [&](const UString& f) { return SameText(f, file); });
  }
};

// root\ holding b.txt, a.txt, a system file, Sub1\f1.txt, sub2\f2.txt,
// sub2\inner\g.txt, sub10\a.txt, !Backup\old.txt and a system folder.
void MakeSearchTree(const UString& root) {
  for (const char16_t* folder : {u"Sub1", u"sub2\\inner", u"sub10", u"!Backup", u"sysdir"}) {
    ASSERT_TRUE(ForceDirectories(root + folder));
  }
  for (const char16_t* file : {u"b.txt", u"a.txt", u"system.dat", u"Sub1\\f1.txt", u"sub2\\f2.txt",
                               u"sub2\\inner\\g.txt", u"sub10\\a.txt", u"!Backup\\old.txt", u"sysdir\\h.txt"}) {
    WriteFileBytes(root + file, "x");
  }
  ASSERT_TRUE(SetFileAttributesW(W(root + u"system.dat"), FILE_ATTRIBUTE_SYSTEM));
  ASSERT_TRUE(SetFileAttributesW(W(root + u"sysdir"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM));
}

// The root's own files in the order the system lists them.
std::vector<UString> RootFiles(const UString& root) {
  std::vector<UString> files;
  for (const TDRXFolderEntry& entry : ListFolderEntries(root)) {
    if (entry.Kind == fekFile) files.push_back(root + entry.Name);
  }
  return files;
}

}  // namespace

TEST(ProtectedFolders, SystemFoldersAndRootsAreNeverWholeTreesToDelete) {
  TTempFolder folder;
  const UString windows = GetShellFolder(CSIDL_WINDOWS);
  const UString profile = GetShellFolder(CSIDL_PROFILE);
  for (const UString& path : {UString(u""), UString(u"C:\\"), UString(u"c:"), UString(u"C:\\Windows\\..\\"), windows,
                              ExcludeTrailingBackslash(windows), GetShellFolder(CSIDL_PROGRAM_FILES), profile,
                              ExtractFilePath(ExcludeTrailingBackslash(profile)), GetShellFolder(CSIDL_APPDATA),
                              GetShellFolder(CSIDL_COMMON_APPDATA)}) {
    EXPECT_TRUE(IsProtectedFolder(path)) << Utf16ToUtf8(path);
  }
  for (const UString& path : {folder.Path(), GetShellFolder(CSIDL_PROGRAM_FILES) + u"Ovix\\", profile + u"Ovix"}) {
    EXPECT_FALSE(IsProtectedFolder(path)) << Utf16ToUtf8(path);
  }
}

TEST(SafeDeleteFile, ClearsProtectingAttributesAndLeavesFoldersAndMissingFilesAlone) {
  TTempFolder temp;
  const UString file = temp.File(u"readonly.txt");
  WriteFileBytes(file, "x");
  ASSERT_TRUE(SetFileAttributesW(W(file), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
  SafeDeleteFile(file);
  EXPECT_FALSE(FileExists(file));

  TTempFolder outside;
  WriteFileBytes(outside.File(u"kept.txt"), "k");
  ASSERT_TRUE(ForceDirectories(temp.File(u"folder")));
  TFolderLink link(temp.File(u"link"), outside.Path());
  for (const UString& path : {temp.File(u"missing.txt"), temp.File(u"folder"), temp.File(u"folder\\"),
                              temp.File(u"link")}) {
    EXPECT_NO_THROW(SafeDeleteFile(path)) << Utf16ToUtf8(path);
  }
  EXPECT_TRUE(DirectoryExists(temp.File(u"folder")));
  EXPECT_TRUE(FileExists(outside.File(u"kept.txt")));
  EXPECT_TRUE(!link.Made() || IsFolderLink(temp.File(u"link")));
}

// A loaded library stands for a running program's file: it cannot be deleted
// but may be moved. (Wine, like Windows, refuses the deletion of a mapped image
// and allows the move. A file merely held open, shared for deletion, is deleted
// at once by DeleteFileW and goes when its last handle closes, on Wine as on
// Windows before the POSIX semantics of Windows 10.)
TEST(SafeDeleteFile, AFileInUseLeavesItsFolderAtOnceAndIsDeletedAtTheNextStart) {
  TTempFolder temp;
  const UString library = temp.File(u"InUse.dll");
  ASSERT_TRUE(CopyFileW(W(BinFolder() + u"OvixTestComServer.dll"), W(library), FALSE));
  const std::string content = ReadFileBytes(library);
  const HMODULE module = LoadLibraryW(W(library));
  ASSERT_NE(module, nullptr);
  ASSERT_FALSE(DeleteFileW(W(library))) << "the fixture must be a file that cannot be deleted";

  const std::vector<UString> before = TPendingOperations::Deletions();
  SafeDeleteFile(library);
  EXPECT_FALSE(FileExists(library));
  // Other test programs may schedule deletions meanwhile: ours is the new one holding the library.
  std::vector<UString> moved;
  for (const UString& file : TPendingOperations::Deletions()) {
    const bool isNew = std::find(before.begin(), before.end(), file) == before.end();
    if (isNew && FileExists(file) && ReadFileBytes(file) == content) moved.push_back(file);
  }
  ASSERT_EQ(moved.size(), 1u);
  const UString name = ExtractFileName(moved[0]);
  EXPECT_TRUE(SameText(ExtractFilePath(moved[0]), PlatformTempFolder())) << Utf16ToUtf8(moved[0]);
  EXPECT_TRUE(SameText(name.substr(0, 3), u"del") && SameText(ExtractFileExt(name), u".tmp")) << Utf16ToUtf8(name);

  FreeLibrary(module);
  DeleteFileW(W(moved[0]));
  TPendingOperations::Forget(moved[0]);
}

TEST(CopyFileOrRaise, ReplacesTheTargetOrNamesBothFilesInTheError) {
  TTempFolder temp;
  const UString source = temp.File(u"source.bin");
  const UString target = temp.File(u"target.bin");
  WriteFileBytes(source, "new");
  WriteFileBytes(target, "old");
  CopyFileOrRaise(source, target);
  EXPECT_EQ(ReadFileBytes(target), "new");

  const UString readOnly = temp.File(u"readonly.bin");
  const UString hidden = temp.File(u"hidden.bin");
  WriteFileBytes(readOnly, "kept");
  WriteFileBytes(hidden, "kept");
  ASSERT_TRUE(SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_READONLY));
  ASSERT_TRUE(SetFileAttributesW(W(hidden), FILE_ATTRIBUTE_HIDDEN));
  struct Case {
    UString source, target;
    uint32_t code;
  };
  for (const Case& c : {Case{source, readOnly, ERROR_ACCESS_DENIED}, Case{source, hidden, ERROR_ACCESS_DENIED},
                        Case{temp.File(u"missing.bin"), target, ERROR_FILE_NOT_FOUND}}) {
    try {
      CopyFileOrRaise(c.source, c.target);
      ADD_FAILURE() << "expected EOSError for " << Utf16ToUtf8(c.target);
    } catch (const EOSError& error) {
      const UString suffix = c.source + u" -> " + c.target;
      EXPECT_EQ(error.ErrorCode(), c.code);
      EXPECT_TRUE(StartsWith(error.Message(), u"System Error.  Code: " + IntToStr(c.code) + u".\r\n"))
          << error.what();
      EXPECT_TRUE(EndsWith(error.Message(), u".\r\n" + suffix)) << error.what();
    }
  }
  EXPECT_EQ(ReadFileBytes(readOnly), "kept");
  EXPECT_EQ(ReadFileBytes(hidden), "kept");
  SetFileAttributesW(W(readOnly), FILE_ATTRIBUTE_NORMAL);
}

TEST(CopyToTempFolder, CopiesBesideOtherTemporaryFilesAndSchedulesTheCopyForDeletion) {
  TTempFolder temp;
  const UString original = temp.File(u"OvixCopyToTemp" + IntToStr(GetCurrentProcessId()) + u".exe");
  WriteFileBytes(original, "program");
  const UString copy = CopyToTempFolder(original);
  EXPECT_EQ(copy, PlatformTempFolder() + ExtractFileName(original));
  EXPECT_EQ(ReadFileBytes(copy), "program");
  EXPECT_TRUE(TPendingOperations::Deletes(copy));
  DeleteFileW(W(copy));
  TPendingOperations::Forget(copy);
  EXPECT_FALSE(TPendingOperations::Deletes(copy));
}

TEST(FindFiles, ListsAFoldersFilesThenItsSubfoldersInLogicalOrderDepthFirst) {
  TTempFolder temp;
  const UString root = temp.File(u"root\\");
  MakeSearchTree(root);
  TTempFolder outside;
  WriteFileBytes(outside.File(u"behind-link.txt"), "l");
  TFolderLink link(root + u"link", outside.Path());

  std::vector<UString> expected = RootFiles(root);
  ASSERT_EQ(expected.size(), 2u) << "a.txt and b.txt, not the system file";
  for (const char16_t* file : {u"!Backup\\old.txt", u"Sub1\\f1.txt", u"sub2\\f2.txt", u"sub2\\inner\\g.txt",
                               u"sub10\\a.txt"}) {
    expected.push_back(root + file);
  }
  TDRXStringList found;
  FindFiles(ExcludeTrailingBackslash(root), u"", found);
  EXPECT_EQ(ListStrings(found), expected);

  expected.erase(expected.begin() + 2);  // !Backup\old.txt
  TDRXStringList withoutBackup;
  FindFiles(root, PlatformUpperCase(root + u"!backup\\"), withoutBackup);
  EXPECT_EQ(ListStrings(withoutBackup), expected) << "the excluded prefix compares ignoring case";

  TDRXStringList nothing;
  FindFiles(temp.File(u"missing"), u"", nothing);
  FindFiles(root, root, nothing);
  EXPECT_EQ(nothing.Count(), 0);
}

TEST(TInstallerFileList, AddFolderNamesFilesRelativeToTheFolderAndRemoveByNameIgnoresCaseAndFolder) {
  TTempFolder temp;
  const UString root = temp.File(u"Ovix\\");
  MakeSearchTree(root);
  for (const UString& path : {root, ExcludeTrailingBackslash(root)}) {
    TInstallerFileList list;
    list.Add(temp.File(u"Ovix.ini"), u"Profile\\Ovix.ini");
    list.AddFolder(path, root + u"!Backup\\", u"Program\\");
    std::vector<UString> archiveNames;
    for (int i = 0; i < list.Count(); ++i) {
      archiveNames.push_back(list.Items(i).ArchiveName);
      EXPECT_EQ(list.Items(i).FileName, i == 0 ? temp.File(u"Ovix.ini") : root + list.Items(i).ArchiveName.substr(8));
    }
    std::vector<UString> expected = {u"Profile\\Ovix.ini"};
    for (const UString& file : RootFiles(root)) expected.push_back(u"Program\\" + ExtractFileName(file));
    for (const char16_t* name : {u"Program\\Sub1\\f1.txt", u"Program\\sub2\\f2.txt", u"Program\\sub2\\inner\\g.txt",
                                 u"Program\\sub10\\a.txt"}) {
      expected.push_back(name);
    }
    EXPECT_EQ(archiveNames, expected) << Utf16ToUtf8(path);

    list.RemoveByName(u"A.TXT");
    list.RemoveByName(u"ovix.ini");
    archiveNames.clear();
    for (int i = 0; i < list.Count(); ++i) archiveNames.push_back(list.Items(i).ArchiveName);
    EXPECT_EQ(archiveNames, (std::vector<UString>{u"Program\\b.txt", u"Program\\Sub1\\f1.txt", u"Program\\sub2\\f2.txt",
                                                  u"Program\\sub2\\inner\\g.txt"}));
  }
}

TEST(RunAndWait, ReturnsWhenTheProgramHasEndedWhileSentMessagesKeepArriving) {
  TTempFolder temp;
  const UString record = temp.File(u"answer.txt");
  int questions = 0;
  bool onMainThread = false;
  TDRXMessageWindow window(u"OvixRunAndWaitTest", [&](uint32_t message, uintptr_t, intptr_t, intptr_t& result) {
    if (message != WM_APP + 1) return false;
    ++questions;
    onMainThread = IsMainThread();
    result = 42;
    return true;
  });
  const UString program = BinFolder() + u"run_and_wait_child.exe";
  const UString handle = IntToStr(static_cast<int64_t>(reinterpret_cast<intptr_t>(window.Handle())));
  EXPECT_TRUE(RunAndWait(Format(u"\"%s\" \"%s\" %s", {program, record, handle})));
  EXPECT_EQ(ReadFileBytes(record), "42 42") << "the child was answered twice and had ended";
  EXPECT_EQ(questions, 2);
  EXPECT_TRUE(onMainThread);

  EXPECT_FALSE(RunAndWait(Format(u"\"%s\"", {temp.File(u"missing.exe")})));
}
