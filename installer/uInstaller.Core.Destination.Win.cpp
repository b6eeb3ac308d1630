#include <windows.h>
#include <shlwapi.h>

#include "uInstaller.Core.Destination.h"

#include <algorithm>

#include "DRX.Format.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.FolderGuard.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"

namespace {

[[noreturn]] void Refuse(UStringView key, std::initializer_list<TFormatArg> args) {
  throw EInstallerInstallError(Format(Installer->Resources().GetLangString(u"Common", key), args));
}

// Every file the run writes whose name the package decides, and the uninstaller's.
std::vector<UString> InstalledFiles(const UString& destPath) {
  TInstallerResources& resources = Installer->Resources();
  std::vector<UString> files = {destPath + u"Uninstall.exe", destPath + u"Uninstall.dat"};
  const TInstallerScriptGroup& components = resources.Script().Components;
  for (int i = 0; i < components.Count(); ++i) files.push_back(resources.ExpandPath(components.Items(i).Name));
  return files;
}

bool FitsWithoutLongPaths(const UString& destPath) {
  if (ExcludeTrailingBackslash(destPath).size() > kMaxInstalledFolderLength) return false;
  const std::vector<UString> files = InstalledFiles(destPath);
  return std::all_of(files.begin(), files.end(), [](const UString& file) {
    return file.size() <= kMaxInstalledFileLength &&
           ExcludeTrailingBackslash(ExtractFilePath(file)).size() <= kMaxInstalledFolderLength;
  });
}

// The deepest part of the folder that exists is a folder: what is missing can
// be created. A part that cannot be examined is left to the creation to report.
bool CanBeCreated(const UString& folder) {
  for (UString part = ExcludeTrailingBackslash(folder);;) {
    const bool root = PathIsRootW(W(IncludeTrailingBackslash(part))) != FALSE;
    const DWORD attributes = GetFileAttributesW(W(root ? IncludeTrailingBackslash(part) : part));
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (root) return false;  // no such drive or share
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND && error != ERROR_DIRECTORY) return true;
    part = ExcludeTrailingBackslash(ExtractFilePath(part));
    if (part.empty()) return false;
  }
}

}  // namespace

void ValidateDestination(const UString& DestPath) {
  if (!IsValidDestinationName(DestPath)) Refuse(u"DestInvalid", {DestPath});
  if (!FitsWithoutLongPaths(DestPath)) Refuse(u"DestTooLong", {DestPath, static_cast<int>(kMaxInstalledFileLength)});
  if (!CanBeCreated(DestPath)) Refuse(u"E3", {DestPath});
  RefuseProtectedDestination(DestPath);
}

void RefuseProtectedDestination(const UString& DestPath) {
  const TDRXFolderCheck check = CheckFolder(DestPath);
  switch (check.Conflict) {
    case fcNone: return;
    case fcRoot:
    case fcSame: Refuse(u"DestProtected", {DestPath});
    case fcAbove: Refuse(u"DestHoldsProtected", {DestPath, check.ProtectedFolder});
    case fcInside: Refuse(u"DestInsideProtected", {DestPath, check.ProtectedFolder});
    case fcUnresolved: Refuse(u"DestUnresolved", {DestPath});
  }
  Refuse(u"DestUnresolved", {DestPath});
}
