#include <windows.h>

#include "uInstaller.Product.Ovix.Actions.Uninstall.h"

#include <map>

#include "DRX.FileFormats.INI.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.UserAccounts.h"
#include "DRX.Utils.Shell.FolderGuard.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Product.Ovix.Destination.h"
#include "uInstaller.Product.Ovix.Profiles.h"
#include "uInstaller.Product.Ovix.UpdateTasks.h"

namespace {

// After both are made full paths, `path` lies below `folder` (not `folder` itself).
bool IsInsideFolder(const UString& path, const UString& folder) {
  const UString base = IncludeTrailingBackslash(ExpandFileName(folder));
  const UString full = ExpandFileName(path);
  return full.size() > base.size() && StartsText(full, base);
}

// The values of the keys "0" to count - 1 of the section, by number. Only the
// lines present are visited, so a huge count costs nothing; with a repeated
// key the first line counts.
std::map<int32_t, UString> NumberedValues(const TDRXIniFileSection& section, int32_t count) {
  std::map<int32_t, UString> values;
  for (int i = 0; i < section.Count(); ++i) {
    const UString key = section.KeyOf(i);
    int32_t number;
    if (TryStrToInt(key, number) && number >= 0 && number < count && IntToStr(number) == key)
      values.emplace(number, section.ValueFromIndex(i));
  }
  return values;
}

// Every subfolder below `folder`, each after its own subfolders.
void AddSubfoldersDeepestFirst(const UString& folder, TDRXStringList& list) {
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    if (entry.Kind != fekFolder) continue;
    const UString subfolder = folder + entry.Name + u"\\";
    AddSubfoldersDeepestFirst(subfolder, list);
    list.Add(subfolder, kRemoveWhenEmpty);
  }
}

// The folders on the way from DestPath down to the listed files, each after its own subfolders.
void AddFoldersOfFiles(const UString& destPath, const TDRXStringList& files, TDRXStringList& list) {
  TDRXStringList folders;
  for (int i = 0; i < files.Count(); ++i) {
    UString folder = ExtractFilePath(files.Strings(i));
    for (; folder.size() > destPath.size() && StartsText(folder, destPath);
         folder = ExtractFilePath(ExcludeTrailingBackslash(folder)))
      folders.Add(folder);
  }
  folders.RemoveDuplicates();
  folders.Sort();  // a folder before the folders inside it
  for (int i = folders.Count() - 1; i >= 0; --i) list.Add(folders.Strings(i), kRemoveWhenEmpty);
}

void RemoveOwnArchives(const UString& folder) {
  if (IsFolderLink(folder)) return;
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    if (entry.Kind == fekFile && IsOwnBackupArchive(entry.Name)) SafeDeleteFile(folder + entry.Name);
  }
  RemoveDirectoryW(W(ExcludeTrailingBackslash(folder)));
}

void RemoveFolder(const UString& folder, int64_t mark) {
  if (mark == kRemoveWhenEmpty) {
    RemoveDirectoryW(W(ExcludeTrailingBackslash(folder)));
  } else if (mark == kRemoveOwnArchives) {
    RemoveOwnArchives(folder);
  } else if (!IsProtectedFolder(folder)) {
    DeleteFolderTree(folder);
  }
}

}  // namespace

// ---- TInstallerActionUninstallIntegration ----

TInstallerActionUninstallIntegration::TInstallerActionUninstallIntegration() {
  tasks_.push_back(std::make_unique<TInstallerUpdateTaskRemoveShellMenu>());
  tasks_.push_back(std::make_unique<TInstallerUpdateTaskRemoveShortcuts>());
  tasks_.push_back(std::make_unique<TInstallerUpdateTaskRemoveFromRegistry>());
}

TInstallerActionUninstallIntegration::~TInstallerActionUninstallIntegration() = default;

void TInstallerActionUninstallIntegration::Execute() {
  SetStatus(CommonString(u"A9"));
  for (int i = 0; i < TaskCount(); ++i) {
    tasks_[i]->Execute(nullptr);
    SetProgress(MulDiv(100, i + 1, TaskCount()));
  }
}

// ---- TInstallerActionUninstallFiles ----

bool TInstallerActionUninstallFiles::RemoveBackups() {
  return Settings().ReadBool(u"Common", u"RemoveBackups", Installer->HasFlag(ifAuto));
}

bool TInstallerActionUninstallFiles::RemoveContent() { return Settings().ReadBool(u"Common", u"RemoveContent", false); }

bool TInstallerActionUninstallFiles::SharesFolder() {
  TDRXIniFile ini;
  ini.LoadFromStream(*Resources().GetFile(u"Uninstall.ini"));
  return IsSharedFolder(ini);
}

bool TInstallerActionUninstallFiles::IsUserMode() {
  const TDRXIniFile config(Installer->DestPath() + u"Ovix.ini");
  return config.ReadBool(u"System", u"UserMode", false);
}

std::unique_ptr<TDRXStringList> TInstallerActionUninstallFiles::CreateFileList() {
  TDRXIniFile ini;
  ini.LoadFromStream(*Resources().GetFile(u"Uninstall.ini"));
  auto files = std::make_unique<TDRXStringList>();
  const TDRXIniFileSection* section = ini.FindSection(u"Uninstall");
  if (!section) return files;
  const UString destPath = Installer->DestPath();
  for (const auto& [number, entry] : NumberedValues(*section, ini.ReadInteger(u"Uninstall", u"Count", 0))) {
    if (Trim(entry).empty()) continue;
    if (IsFullPath(entry)) {
      files->Add(entry);
      continue;
    }
    // ".." may lead out of the destination: such an entry is not ours to delete.
    const UString path = destPath + entry;
    if (IsInsideFolder(path, destPath)) files->Add(ExpandFileName(path));
  }
  files->RemoveDuplicates();
  return files;
}

void TInstallerActionUninstallFiles::AddDestinationFolders(TDRXStringList& folders) {
  const UString& destPath = Installer->DestPath();
  // A destination such as a drive root or Program Files is shared with
  // others, and a link leads to a folder that is not the installation's: only
  // the listed files go from there.
  if (IsProtectedFolder(destPath) || IsFolderLink(destPath)) return;
  const bool removeBackups = RemoveBackups();
  const bool removeContent = RemoveContent();
  if (SharesFolder()) {
    // The folder held other files before: none of them, nor a folder of theirs, goes.
    AddFoldersOfFiles(destPath, *CreateFileList(), folders);
    if (removeBackups) folders.Add(destPath + u"!Backup\\", kRemoveOwnArchives);
    if (removeContent) folders.Add(destPath + u"Profile\\", kRemoveWithContent);
    if (removeContent && removeBackups) folders.Add(destPath, kRemoveWhenEmpty);
    return;
  }
  AddSubfoldersDeepestFirst(destPath, folders);
  if (removeBackups) folders.Add(destPath + u"!Backup\\", kRemoveWithContent);
  if (removeContent) folders.Add(removeBackups ? destPath : destPath + u"Profile\\", kRemoveWithContent);
}

std::unique_ptr<TDRXStringList> TInstallerActionUninstallFiles::CreateFolderList() {
  auto folders = std::make_unique<TDRXStringList>();
  AddDestinationFolders(*folders);
  const bool removeContent = RemoveContent();
  if (removeContent && IsUserMode()) {
    const std::unique_ptr<TDRXUserAccountInfoList> accounts = GetUserAccounts();
    for (size_t i = 0; i < accounts->Count(); ++i) {
      const TDRXUserAccountInfo& account = accounts->Items(i);
      // The folder is named after the product: a name with ".." must not
      // reach the application-data folder itself or above.
      const UString profile = TInstallerProfileHelper::GetNewProfilePath(&account);
      if (IsInsideFolder(profile, account.AppDataPath)) folders->Add(profile, kRemoveWithContent);
    }
  }
  return folders;
}

void TInstallerActionUninstallFiles::Execute() {
  const std::unique_ptr<TDRXStringList> folders = CreateFolderList();
  const std::unique_ptr<TDRXStringList> files = CreateFileList();
  SetStatus(CommonString(u"A9"));
  const int total = files->Count() + folders->Count();
  int done = 0;
  for (int i = 0; i < files->Count(); ++i) {
    SafeDeleteFile(files->Strings(i));
    SetProgress(MulDiv(100, ++done, total));
  }
  for (int i = 0; i < folders->Count(); ++i) {
    RemoveFolder(folders->Strings(i), folders->Data(i));
    SetProgress(MulDiv(100, ++done, total));
  }
}
