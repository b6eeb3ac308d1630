#pragma once
// File and process operations shared by the core and the product's actions:
// deletion that never fails on a file in use, copies with a readable error,
// deletion at the next restart, running a program to its end, and the file
// lists the backup is made from.

#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Strings.h"
#include "DRX.Utils.Shell.h"

// Deletes a file (attributes cleared first, except on a link). A file that
// cannot be deleted is moved to a "delete" temporary name and deleted at the
// next restart. Raises only when no temporary name can be made; a missing file
// or a folder is no error.
void SafeDeleteFile(const UString& fileName);
// The same for a file whose attributes the caller has just read
// (INVALID_FILE_ATTRIBUTES: there is no such file), one look fewer.
void SafeDeleteFile(const UString& fileName, uint32_t attributes);
// Schedules the file for deletion at the next restart; the result is ignored.
void DeleteFileOnReboot(const UString& fileName);
// Removes the name when it is a link to a file, never what it points to, so
// that writing the name afterwards makes a file of its own. False when a link
// is there and cannot be removed (the system's last error tells why), as a
// link without the reparse attribute, which the system would follow.
bool RemoveFileLink(const UString& fileName);
// A file may be overwritten in place: it is not read-only, hidden or system (as
// Windows refuses those, whatever rights the program has) and not a link (the
// write would reach what it points to). True when there is no such file.
bool MayOverwriteInPlace(const UString& fileName);
// Copies, replacing the target (a link at the target is replaced, never written
// through; a read-only, hidden or system target fails with access denied);
// raises EOSError whose text ends with "<source> -> <target>".
void CopyFileOrRaise(const UString& source, const UString& target);
// Copies the file into the temporary folder, scheduled for deletion at the next
// restart; returns the copy's path.
UString CopyToTempFolder(const UString& fileName);
// The program's own file is named "Uninstall.exe" (ignoring case).
bool IsUninstaller();
// Starts the command line and waits until the program has ended (the caller's
// thread keeps delivering sent messages meanwhile, also while the program
// starts up). False when it could not be started or neither became ready for
// input nor ended within 5 seconds.
bool RunAndWait(const UString& commandLine);

// Skips a folder, with everything below it, whose path starts with the excluded prefix.
class TFileSearchHelper {
 public:
  explicit TFileSearchHelper(UString excludePath) : excludePath_(std::move(excludePath)) {}
  bool AcceptFolder(const UString& folderWithBackslash) const;

 private:
  UString excludePath_;
};

// Adds the full names of all files below Path: a folder's files in the order the
// system lists them, then its subfolders in logical order, depth first. System
// entries are skipped, and a junction or symbolic link to a folder is never
// entered, Path itself included (a link there yields nothing).
void FindFiles(const UString& path, const UString& excludePath, TDRXStringList& list);

struct TInstallerFileListItem {
  UString ArchiveName;  // relative name inside the backup archive
  UString FileName;     // full path on disk
};

class TInstallerFileList {
 public:
  void Add(const UString& fileName, const UString& archiveName);
  // Every file below Path, named ArchivePrefix + its path relative to Path.
  void AddFolder(const UString& path, const UString& excludePath, const UString& archivePrefix);
  // Removes every item whose file name without folder equals Name, ignoring case.
  void RemoveByName(UStringView name);
  int Count() const { return static_cast<int>(items_.size()); }
  const TInstallerFileListItem& Items(int index) const { return *items_[index]; }

 private:
  std::vector<std::unique_ptr<TInstallerFileListItem>> items_;
};
