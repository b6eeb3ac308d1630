#pragma once
// Update tasks: small clean-up and migration steps that bring what an older
// installation left behind in line with the new version. The prepare action
// runs them between its backup and its deletion with its delete list (full
// paths), which a task may extend or shorten; the uninstaller runs some of
// them without a list.

#include "DRX.Strings.h"
#include "uInstaller.Core.Actions.h"

class TDRXStringList;
struct TInstallerProfileInfo;

class TInstallerUpdateTask : public TInstallerPersistent {
 public:
  // DeleteList may be null (uninstall).
  virtual void Execute(TDRXStringList* DeleteList) = 0;
};

// Unregisters and deletes the old shell menu libraries in "System\".
class TInstallerUpdateTaskRemoveShellMenu : public TInstallerUpdateTask {
 public:
  void Execute(TDRXStringList* DeleteList) override;
};

// Deletes the uninstall entries "Ovix3" and "Ovix" that point into DestPath.
class TInstallerUpdateTaskRemoveUninstallInfo : public TInstallerUpdateTask {
 public:
  void Execute(TDRXStringList* DeleteList) override;
};

// Deletes the desktop links and Start menu folders of "Ovix" (and of "Ovix3"
// for installed versions below 4.00), the user's and the shared ones.
class TInstallerUpdateTaskRemoveShortcuts : public TInstallerUpdateTask {
 public:
  void Execute(TDRXStringList* DeleteList) override;
};

// Has Rediruzu.exe undo its registrations, then deletes the product's uninstall entry.
class TInstallerUpdateTaskRemoveFromRegistry : public TInstallerUpdateTask {
 public:
  void Execute(TDRXStringList* DeleteList) override;
};

// Moves one user profile to the folder of the new version and migrates its
// files by the installed version; what lies in the new folder is taken off
// the delete list.
class TInstallerUpdateTaskUpdateConfigs : public TInstallerUpdateTask {
 public:
  // Profile is not owned and must outlive the task.
  explicit TInstallerUpdateTaskUpdateConfigs(TInstallerProfileInfo& Profile) : Profile(&Profile) {}
  void Execute(TDRXStringList* DeleteList) override;

  TInstallerProfileInfo* Profile;

 private:
  void RenameLegacyConfigs(TDRXStringList* DeleteList);
  void RemoveLegacySkins(TDRXStringList* DeleteList);
  void UpdateAlbumArtFiles(TDRXStringList* DeleteList);
  // Moves Folder + OldName to Folder + NewName when the old file exists;
  // raises the system error when the move fails (the new name exists, say).
  static void RenameFile(const UString& Folder, const UString& OldName, const UString& NewName);
  static void AddIfExists(TDRXStringList* List, const UString& FileName);
};

class TSetupHelper {
 public:
  // Copies the tree; nothing when both name the same folder (ignoring case).
  // Raises EInstallerInstallError "Cannot copy "<source>" to "<target>"".
  static void CopyFolder(const UString& Source, const UString& Target);
  // Deletes every entry that starts with Prefix, ignoring case.
  static void RemoveFromList(TDRXStringList& List, const UString& Prefix);
};
