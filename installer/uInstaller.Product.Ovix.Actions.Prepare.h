#pragma once
// The first real step of an installation: the previous installation (program
// folder and user profiles) is packed into a zip archive in "!Backup\" of the
// destination, then one delete list is built (what was backed up, minus the
// user's content in an update, plus old archives, obsolete plug-ins and every
// file the package brings again), the update tasks migrate and protect the
// profiles, and the list is deleted. Nothing is deleted unless the backup (if
// any) is complete, and never in a destination that is, holds or lies inside
// a system or user folder. In a folder the installation shares with other
// files only its own files are archived and deleted; no walk enters a link.

#include <memory>
#include <vector>

#include "uInstaller.Core.Actions.h"
#include "uInstaller.Product.Ovix.Profiles.h"
#include "uInstaller.Product.Ovix.UpdateTasks.h"

class TDRXStringList;
class TInstallerFileList;

class TInstallerActionPrepare : public TInstallerAction {
 public:
  static constexpr UStringView ClassName = u"TInstallerActionPrepare";

  TInstallerActionPrepare();
  ~TInstallerActionPrepare() override;

  void Execute() override;
  // The Setup page's part: folder, kind of installation, backup, and the
  // warning about an installation this run does not update.
  void BuildSummary(TInstallerSummaryBuilder& builder) override;

  // The profiles of the installation found in the destination.
  std::unique_ptr<TInstallerProfileInfoList> Profiles;
  // Steps done: files archived plus update tasks run.
  int Position = 0;
  std::vector<std::unique_ptr<TInstallerUpdateTask>> Tasks;
  // The update tasks plus the files to back up.
  int Total = 0;

 private:
  void RecordSharedFolder(bool shared);
  void CreateUpdateTasks();
  void BackupFiles(TDRXStringList& deleteList);
  // The program folder's files for the backup, under ArchivePrefix.
  void AddProgramFolder(TInstallerFileList& files, const UString& archivePrefix);
  void WriteBackup(const TInstallerFileList& files);
  void KeepUserContent(TDRXStringList& deleteList);
  void AddOldBackups(TDRXStringList& deleteList);
  void AddObsoleteFiles(TDRXStringList& deleteList);
  void AddComponentTargets(TDRXStringList& deleteList);
  void RunUpdateTasks(TDRXStringList& deleteList);
  void DeleteFiles(TDRXStringList& deleteList);
  // Position += 1 and the progress that follows from it.
  void StepDone();

  UString archiveFileName_;  // the archive of this run; empty without one
  bool sharedFolder_ = false;
};

// "!Backup\" in the destination.
UString BackupFolder();
// "z Before install <version> [yyyy.MM.dd hh-mm-ss].zip" for the local time now.
UString BackupArchiveName();
