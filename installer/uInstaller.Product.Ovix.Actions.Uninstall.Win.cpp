#include <windows.h>

#include "uInstaller.Product.Ovix.Actions.Uninstall.h"

#include <shlobj.h>

#include "DRX.FileFormats.INI.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.UserAccounts.h"
#include "DRX.Utils.Shell.FolderGuard.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.FolderCache.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"
#include "uInstaller.Core.UninstallList.h"
#include "uInstaller.Product.Ovix.Destination.h"
#include "uInstaller.Product.Ovix.Profiles.h"
#include "uInstaller.Product.Ovix.UpdateTasks.h"

namespace {

// The product's profile folder of every account, where it lies inside the
// account's application-data folder (a product name with ".." must not lead to
// that folder itself or above).
std::vector<UString> ProductProfileFolders() {
  std::vector<UString> folders;
  const std::unique_ptr<TDRXUserAccountInfoList> accounts = GetUserAccounts();
  for (size_t i = 0; i < accounts->Count(); ++i) {
    const TDRXUserAccountInfo& account = accounts->Items(i);
    const UString profile = TInstallerProfileHelper::GetNewProfilePath(&account);
    if (IsPathInsideFolder(profile, account.AppDataPath)) folders.push_back(profile);
  }
  return folders;
}

// Where the uninstaller may delete what its list names. The list lies in a
// folder that users may be able to write, and its cipher key is public, so an
// entry is deleted only inside DestPath, as a file that the script itself
// names, or inside a folder of this product's own (the Start-menu folder of
// its shortcuts, a user's profile folder); never through a link on the way,
// never a folder (a protected one included), and never a file whose final
// form lies in the Windows folder.
class TUninstallScope {
 public:
  TUninstallScope()
      : destPath_(Installer->DestPath()),
        windowsFolder_(GetFinalPathName(GetShellFolder(CSIDL_WINDOWS))),
        folders_(RebuildFolderPath(destPath_)) {
    TInstallerResources& resources = Installer->Resources();
    TInstallerScript& script = resources.Script();
    for (const TInstallerScriptGroup* group : {&script.Components, &script.Shortcuts}) {
      for (int i = 0; i < group->Count(); ++i) {
        const UString target = resources.ExpandPath(group->Items(i).Name);
        if (IsFullPath(target)) scriptFiles_.push_back(target);
      }
    }
    for (int i = 0; i < script.Shortcuts.Count(); ++i) {
      const UString folder = ExtractFilePath(resources.ExpandPath(script.Shortcuts.Items(i).Name));
      if (IsPathInsideFolder(folder, resources.StartMenuPath()) || IsPathInsideFolder(folder, resources.DesktopPath()))
        productFolders_.push_back(folder);
    }
  }

  // The file to delete for an entry of the list, with its attributes as they
  // were read for the check; empty when it is not ours.
  UString FileOf(const UString& entry, uint32_t& attributes) {
    if (Trim(entry).empty()) return {};
    const bool full = IsFullPath(entry);
    UString file = InsideDestination(full ? entry : destPath_ + entry);
    if (file.empty() && full) file = InProductPlaces(entry);
    if (file.empty()) return {};
    attributes = GetFileAttributesW(W(file));
    return IsNeverDeleted(file, attributes) ? UString() : file;
  }

 private:
  // PathInsideFolderWithoutLinks(path, destPath_), each folder looked at once.
  UString InsideDestination(const UString& path) {
    UString file = RebuildPathInsideFolder(path, destPath_);
    return !file.empty() && folders_.IsFreeOfLinks(ExtractFilePath(file)) ? file : UString();
  }

  UString InProductPlaces(const UString& path) {
    for (const UString& file : scriptFiles_) {
      if (IsSamePath(path, file)) return file;
    }
    AddProfileFolders();
    for (const UString& folder : productFolders_) {
      if (UString file = PathInsideFolderWithoutLinks(path, folder); !file.empty()) return file;
    }
    return {};
  }

  // Asked for only when an entry is a full path outside DestPath.
  void AddProfileFolders() {
    if (profilesAdded_) return;
    profilesAdded_ = true;
    try {
      for (const UString& folder : ProductProfileFolders()) productFolders_.push_back(folder);
    } catch (const Exception&) {
      // Accounts that cannot be listed add no place to delete from.
    }
  }

  bool IsNeverDeleted(const UString& file, uint32_t attributes) {
    const bool found = attributes != INVALID_FILE_ATTRIBUTES;
    if (found && (attributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
    const bool link = found && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
    const UString final = link ? GetFinalPathName(file) : FinalPathOfPlainFile(file);
    return final.empty() || windowsFolder_.empty() || IsPathInsideFolder(final, windowsFolder_);
  }

  // GetFinalPathName of a file that is no link (or missing): its folder's final form and its name.
  UString FinalPathOfPlainFile(const UString& file) {
    const UString& folder = folders_.FinalPath(ExtractFilePath(file));
    return folder.empty() ? UString() : folder + ExtractFileName(file);
  }

  UString destPath_;
  UString windowsFolder_;  // final form
  std::vector<UString> scriptFiles_;
  std::vector<UString> productFolders_;
  bool profilesAdded_ = false;
  TInstallerFolderCache folders_;  // below DestPath; final forms of any folder
};

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
  const std::vector<UString> entries = ReadUninstallEntries(ini);
  TUninstallScope scope;
  auto files = std::make_unique<TDRXStringList>();
  for (const UString& entry : entries) {
    uint32_t attributes = 0;
    if (const UString file = scope.FileOf(entry, attributes); !file.empty()) files->Add(file, attributes);
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
    for (const UString& profile : ProductProfileFolders()) folders->Add(profile, kRemoveWithContent);
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
    SafeDeleteFile(files->Strings(i), static_cast<uint32_t>(files->Data(i)));
    SetProgress(MulDiv(100, ++done, total));
  }
  for (int i = 0; i < folders->Count(); ++i) {
    RemoveFolder(folders->Strings(i), folders->Data(i));
    SetProgress(MulDiv(100, ++done, total));
  }
}
