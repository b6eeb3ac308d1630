#pragma once
// Shell and file-system services (Windows): the system's version, shell
// folders, shell links, and operations on whole folder trees.

#include <cstdint>
#include <vector>

#include "DRX.Strings.h"

// ---- System version ----

struct TDRXOSVersion {
  uint32_t Major = 0;
  uint32_t Minor = 0;
  uint32_t Build = 0;
};

// The version the system reports about itself (RtlGetVersion, so the program's
// manifest does not change the answer), read once; or the version a test set.
TDRXOSVersion OSVersion();
bool IsOSVersionAtLeast(const TDRXOSVersion& version, uint32_t major, uint32_t minor, uint32_t build = 0);
bool IsWindowsVistaOrLater();  // 6.0
bool IsWindows7OrLater();      // 6.1
bool IsWindows8OrLater();      // 6.2
bool IsWindows10OrLater();     // 10.0
bool IsWindows11OrLater();     // 10.0, build 22000

// Tests: OSVersion reports `version` while the object lives. Create it before
// starting threads that ask.
class TDRXOSVersionOverride {
 public:
  explicit TDRXOSVersionOverride(const TDRXOSVersion& version);
  ~TDRXOSVersionOverride();
  TDRXOSVersionOverride(const TDRXOSVersionOverride&) = delete;
  TDRXOSVersionOverride& operator=(const TDRXOSVersionOverride&) = delete;

 private:
  TDRXOSVersion version_;
  const TDRXOSVersion* previous_;
};

// ---- Shell folders and links ----

// The shell folder of a CSIDL value, not created when missing, with a trailing
// backslash; the temporary folder when the system names none.
UString GetShellFolder(int csidl);

// A link to Target (path only) saved as LinkFile; false unless Target exists
// as a file and the link was saved. COM is initialised on the calling thread
// by the first link operation and stays initialised.
bool CreateShortcut(const UString& LinkFile, const UString& Target);
// The target path of a shell link; empty when it cannot be read.
UString GetShortcutTarget(const UString& LinkFile);
// Tells the shell that file associations changed; returns once it has been told.
void NotifyAssociationsChanged();

// ---- Files and folder trees ----

// The full path of FileName (relative to the current folder); unchanged when it cannot be formed.
UString ExpandFileName(const UString& FileName);
// The long form (no 8.3 short names) of an existing path; unchanged when it does not exist.
UString ExpandLongFileName(const UString& FileName);
// The current folder, with a trailing backslash.
UString CurrentFolder();
// The final form of a path, as the system names what it leads to: full, long
// names, every junction, symbolic link, mount point and drive letter that
// stands for another folder resolved ("C:\..." or "\\server\share\..."). The
// parts that do not exist yet are appended as written to the final form of the
// deepest part that does. A trailing backslash is kept. Empty when no part of
// the path can be opened (or it cannot be made a full path).
UString GetFinalPathName(const UString& Path);
bool FileExists(const UString& FileName);   // exists and is not a folder
bool DirectoryExists(const UString& Folder);
// The entry itself is a reparse point (symbolic link, junction, mount point):
// a folder link, or a file link through which a write would reach what it
// points to. A file also counts as a link when its final form is not its own
// name in its folder (links that carry no reparse attribute, as Wine shows the
// host's). Neither looks behind the link.
bool IsFolderLink(const UString& Folder);
bool IsFileLink(const UString& FileName);
// The first folder on the way from Base (excluded) down to Path (included)
// that is a folder link; empty when there is none or Path is not below Base.
UString FirstFolderLinkBelow(const UString& Base, const UString& Path);
// Creates Folder with all missing parents; true when it exists afterwards.
bool ForceDirectories(const UString& Folder);
// Path rebuilt from its names (IsPathInsideFolder) when it lies inside Folder
// and no folder between the two is a link, so that what is reached by the
// path is what its text says; empty otherwise. Folder itself may be a link.
UString PathInsideFolderWithoutLinks(const UString& Path, const UString& Folder);

// The listing rule of every tree walk. "." and ".." and entries with the system
// attribute are skipped. A folder that is a reparse point (junction, symbolic
// link, mount point) is a link: a walk never enters it; deleting it removes
// the link, not what it points to. A file that is a reparse point is a file:
// DeleteFileW removes a file link itself.
enum TDRXFolderEntryKind { fekSkipped, fekFile, fekFolder, fekFolderLink };
TDRXFolderEntryKind ClassifyFolderEntry(UStringView Name, uint32_t Attributes);

struct TDRXFolderEntry {
  UString Name;
  TDRXFolderEntryKind Kind;
};
// The entries of Folder in the file system's order, skipped ones left out.
std::vector<TDRXFolderEntry> ListFolderEntries(const UString& Folder);

// Deletes Folder with everything in it, stopping at the first entry that
// cannot be deleted (files keep their attributes: a read-only file stops it).
// A Folder that is itself a link loses the link only. An empty Folder name or
// a drive or share root is refused. True when Folder itself was removed.
bool DeleteFolderTree(const UString& Folder);

// Copies the files and folders inside Source into Target (created with its
// parents when there is something to copy: an empty folder is not copied),
// overwriting files; file links are copied as links, folder links inside
// Source are left out. Stops at the first failure. False when Source is no
// folder, Source or Target is itself a link (neither is entered or written
// through), or Target is Source or lies inside it.
bool CopyFolderTree(const UString& Source, const UString& Target);
