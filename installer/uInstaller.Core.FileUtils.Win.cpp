#include <windows.h>

#include "uInstaller.Core.FileUtils.h"

#include "DRX.Classes.Thread.h"
#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

namespace {

constexpr DWORD kInputIdleTimeout = 5000;
constexpr DWORD kReadyPollInterval = 20;

// A folder's files go to `files`, the subfolders that may be entered to `folders`.
void ListFolder(const UString& folder, TDRXStringList& files, TDRXStringList& folders) {
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    if (entry.Kind == fekFile) files.Add(folder + entry.Name);
    if (entry.Kind == fekFolder) folders.Add(folder + entry.Name + u"\\");
  }
}

void SearchFolder(const UString& folder, const TFileSearchHelper& filter, TDRXStringList& list) {
  if (!filter.AcceptFolder(folder)) return;
  TDRXStringList folders;
  ListFolder(folder, list, folders);
  folders.SortLogical();
  for (int i = 0; i < folders.Count(); ++i) SearchFolder(folders.Strings(i), filter, list);
}

// Waits, delivering sent messages, until the program waits for input or has
// ended; false when it does neither within the time allowed.
bool WaitUntilReady(HANDLE process) {
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (WaitForInputIdle(process, 0) != WAIT_TIMEOUT) return true;  // also a program without a message queue
    const ULONGLONG elapsed = GetTickCount64() - start;
    if (elapsed >= kInputIdleTimeout) return false;
    const DWORD slice = static_cast<DWORD>(std::min<ULONGLONG>(kReadyPollInterval, kInputIdleTimeout - elapsed));
    if (WaitForHandlePumping(process, slice)) return true;
  }
}

}  // namespace

void DeleteFileOnReboot(const UString& fileName) {
  MoveFileExW(W(fileName), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void SafeDeleteFile(const UString& fileName) { SafeDeleteFile(fileName, GetFileAttributesW(W(fileName))); }

void SafeDeleteFile(const UString& fileName, uint32_t attributes) {
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return;
  // A link's attributes are left alone: the change might reach what it points to.
  constexpr DWORD kProtecting = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  if ((attributes & kProtecting) && !IsFileLink(fileName)) SetFileAttributesW(W(fileName), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(W(fileName))) return;
  wchar_t tempName[MAX_PATH];
  const UString tempFolder = PlatformTempFolder();
  if (!GetTempFileNameW(W(tempFolder), L"delete", 0, tempName)) RaiseLastOSError();
  DeleteFileW(tempName);
  if (MoveFileW(W(fileName), tempName)) DeleteFileOnReboot(FromW(tempName));
}

bool RemoveFileLink(const UString& fileName) {
  if (!IsFileLink(fileName)) return true;
  // Only a reparse point is deleted as a link: deleting a link that the system
  // does not show as one (Wine's view of the host's) would delete what it points to.
  if (!(GetFileAttributesW(W(fileName)) & FILE_ATTRIBUTE_REPARSE_POINT)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  return DeleteFileW(W(fileName)) != FALSE;
}

bool MayOverwriteInPlace(const UString& fileName) {
  constexpr DWORD kKeptInPlace =
      FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;
  const DWORD attributes = GetFileAttributesW(W(fileName));
  return attributes == INVALID_FILE_ATTRIBUTES || (!(attributes & kKeptInPlace) && !IsFileLink(fileName));
}

void CopyFileOrRaise(const UString& source, const UString& target) {
  // CopyFileW would write through a link at the target into what it points to.
  DWORD error = 0;
  if (!RemoveFileLink(target)) {
    error = GetLastError();
  } else if (!MayOverwriteInPlace(target)) {
    error = ERROR_ACCESS_DENIED;
  } else if (!CopyFileW(W(source), W(target), FALSE)) {
    error = GetLastError();
  }
  // The system's text comes without its final period; the paths get a line of their own.
  if (error) RaiseOSError(error, u".\r\n" + source + u" -> " + target);
}

UString CopyToTempFolder(const UString& fileName) {
  const UString target = PlatformTempFolder() + ExtractFileName(fileName);
  CopyFileOrRaise(fileName, target);
  DeleteFileOnReboot(target);
  return target;
}

bool IsUninstaller() { return SameText(ExtractFileName(PlatformProgramFileName()), u"Uninstall.exe"); }

bool RunAndWait(const UString& commandLine) {
  UString mutableLine = commandLine;  // CreateProcessW may write into its command line
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(mutableLine), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return false;
  const bool ended = WaitUntilReady(process.hProcess) && WaitForHandlePumping(process.hProcess);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

bool TFileSearchHelper::AcceptFolder(const UString& folderWithBackslash) const {
  return excludePath_.empty() || folderWithBackslash.size() < excludePath_.size() ||
         !SameText(UStringView(folderWithBackslash).substr(0, excludePath_.size()), excludePath_);
}

void FindFiles(const UString& path, const UString& excludePath, TDRXStringList& list) {
  if (IsFolderLink(path)) return;  // what it points to is not below path
  SearchFolder(IncludeTrailingBackslash(path), TFileSearchHelper(excludePath), list);
}

void TInstallerFileList::Add(const UString& fileName, const UString& archiveName) {
  items_.push_back(std::make_unique<TInstallerFileListItem>(TInstallerFileListItem{archiveName, fileName}));
}

void TInstallerFileList::AddFolder(const UString& path, const UString& excludePath, const UString& archivePrefix) {
  TDRXStringList found;
  FindFiles(path, excludePath, found);
  const size_t folderLength = IncludeTrailingBackslash(path).size();  // found names start with it
  for (int i = 0; i < found.Count(); ++i) {
    const UString& fileName = found.Strings(i);
    Add(fileName, archivePrefix + fileName.substr(std::min(folderLength, fileName.size())));
  }
}

void TInstallerFileList::RemoveByName(UStringView name) {
  std::erase_if(items_, [&](const auto& item) { return SameText(ExtractFileName(item->FileName), name); });
}
