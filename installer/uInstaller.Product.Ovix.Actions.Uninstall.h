#pragma once
// The uninstaller's actions: undoing the integration with the system (through
// update tasks), then removing the installed files of "Uninstall.ini" and the
// folders: those that became empty and, as the user chose, the backups, the
// profiles or the whole program folder.

#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "uInstaller.Core.Actions.h"

class TInstallerUpdateTask;

// How a folder of the uninstaller's folder list goes (the line's data value).
enum : int64_t {
  kRemoveWhenEmpty = 0,    // only an empty folder is removed
  kRemoveWithContent = 1,  // the folder goes with everything inside, unless it is a protected folder
  kRemoveOwnArchives = 2,  // the setup's own backup archives in it go, then the folder if it is empty
};

class TInstallerActionUninstallIntegration : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionUninstallIntegration";

  // The tasks, in order: shell menu libraries, shortcuts, registrations.
  TInstallerActionUninstallIntegration();
  ~TInstallerActionUninstallIntegration() override;
  // Runs every task without a delete list; a task's error ends the action.
  void Execute() override;

  int TaskCount() const { return static_cast<int>(tasks_.size()); }
  TInstallerUpdateTask& Tasks(int index) const { return *tasks_.at(index); }

 private:
  std::vector<std::unique_ptr<TInstallerUpdateTask>> tasks_;
};

class TInstallerActionUninstallFiles : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionUninstallFiles";

  // Lists folders and files first, then deletes the files, then the folders.
  void Execute() override;

  // "RemoveBackups" of the settings' "Common" section; an automatic run removes them by default.
  bool RemoveBackups();
  bool RemoveContent();
  // The installation keeps a profile per user: DestPath\Ovix.ini says
  // "UserMode" (missing: no).
  bool IsUserMode();
  // The package's "Uninstall.ini" records that the folder held other files
  // before the installation.
  bool SharesFolder();

  // The installed files of the package's "Uninstall.ini", each once, as full
  // paths. An entry is taken only where the installation may have put it:
  // inside DestPath, a file the script names, or inside the product's own
  // Start-menu or profile folders; never through a link, never a folder, never
  // in the Windows folder. Anything else, a name with a part of dots included,
  // is skipped. A list that cannot be read raises before anything is deleted.
  // Each file's data is its attributes as read for the check.
  std::unique_ptr<TDRXStringList> CreateFileList();
  // The folders to remove, in order, each with its mark: every subfolder of
  // DestPath after its own subfolders (links are neither listed nor entered),
  // then by the options "!Backup\", "Profile\" or DestPath itself, and every
  // user's profile folder. A protected DestPath, or one that is a link,
  // contributes no folder. In a shared folder only the folders of the listed
  // files (when empty), the setup's own archives and the portable profile go.
  std::unique_ptr<TDRXStringList> CreateFolderList();

 private:
  // CreateFolderList's part in DestPath.
  void AddDestinationFolders(TDRXStringList& folders);
};
