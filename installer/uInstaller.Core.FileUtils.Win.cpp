#include <windows.h>

#include "uInstaller.Core.FileUtils.h"

#include "DRX.Classes.Thread.h"
#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

namespace {

constexpr DWORD kInputIdleTimeout = 5000;

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

}  // namespace

void DeleteFileOnReboot(const UString& fileName) {
  MoveFileExW(W(fileName), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
}

void SafeDeleteFile(const UString& fileName) {
  if (!FileExists(fileName)) return;
  SetFileAttributesW(W(fileName), FILE_ATTRIBUTE_NORMAL);
  if (DeleteFileW(W(fileName))) return;
  wchar_t tempName[MAX_PATH];
  const UString tempFolder = PlatformTempFolder();
  if (!GetTempFileNameW(W(tempFolder), L"delete", 0, tempName)) RaiseLastOSError();
  DeleteFileW(tempName);
  if (MoveFileW(W(fileName), tempName)) DeleteFileOnReboot(FromW(tempName));
}

void CopyFileOrRaise(const UString& source, const UString& target) {
  if (!CopyFileW(W(source), W(target), FALSE)) RaiseOSError(GetLastError(), source + u" -> " + target);
}

UString CopyToTempFolder(const UString& fileName) {
  const UString target = PlatformTempFolder() + ExtractFileName(fileName);
  CopyFileOrRaise(fileName, target);
  DeleteFileOnReboot(target);
  return target;
}

UString ModuleFileName() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length < buffer.size()) return FromW(buffer.data(), length);
    buffer.resize(buffer.size() * 2);
  }
}

bool IsUninstaller() { return SameText(ExtractFileName(ModuleFileName()), u"Uninstall.exe"); }

bool RunAndWait(const UString& commandLine) {
  UString mutableLine = commandLine;  // CreateProcessW may write into its command line
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(mutableLine), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process))
    return false;
  bool ended = false;
  if (WaitForInputIdle(process.hProcess, kInputIdleTimeout) != WAIT_TIMEOUT) {
    WaitForHandlePumping(process.hProcess);
    ended = true;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return ended;
}

bool TFileSearchHelper::AcceptFolder(const UString& folderWithBackslash) const {
  return excludePath_.empty() || folderWithBackslash.size() < excludePath_.size() ||
         !SameText(UStringView(folderWithBackslash).substr(0, excludePath_.size()), excludePath_);
}

void FindFiles(const UString& path, const UString& excludePath, TDRXStringList& list) {
  SearchFolder(IncludeTrailingBackslash(path), TFileSearchHelper(excludePath), list);
}

void TInstallerFileList::Add(const UString& fileName, const UString& archiveName) {
  items_.push_back(std::make_unique<TInstallerFileListItem>(TInstallerFileListItem{archiveName, fileName}));
}

void TInstallerFileList::AddFolder(const UString& path, const UString& excludePath, const UString& archivePrefix) {
  TDRXStringList found;
  FindFiles(path, excludePath, found);
  for (int i = 0; i < found.Count(); ++i) {
    const UString& fileName = found.Strings(i);
    Add(fileName, archivePrefix + fileName.substr(std::min(path.size(), fileName.size())));
  }
}

void TInstallerFileList::RemoveByName(UStringView name) {
  std::erase_if(items_, [&](const auto& item) { return SameText(ExtractFileName(item->FileName), name); });
}
