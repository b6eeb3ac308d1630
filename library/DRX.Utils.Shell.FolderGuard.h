#pragma once
// The destination guard: the folders of the system and of its users that a
// program must never be installed into, onto or above, because an installer
// backs up, cleans and finally removes its folder. Paths are compared in their
// final form, so another drive letter, a junction or a symbolic link that leads
// to a protected folder is the protected folder.
//
// The rule itself is portable (MatchProtectedFolders); the machine's folders
// and the resolution of a path are Windows-only.

#include <cstdint>
#include <vector>

#include "DRX.Strings.h"

enum TDRXFolderScope : uint8_t {
  fsFolder,  // the folder itself and every folder above it
  fsTree,    // and every folder inside it as well
};

struct TDRXProtectedFolder {
  UString Path;  // final form, with a trailing backslash
  TDRXFolderScope Scope;
};

enum TDRXFolderConflict : uint8_t {
  fcNone,        // the folder may hold an installation
  fcRoot,        // a drive or share root
  fcSame,        // a protected folder itself
  fcAbove,       // holds a protected folder
  fcInside,      // lies inside a protected tree
  fcUnresolved,  // its final form cannot be determined: nothing may be decided about it
};

struct TDRXFolderCheck {
  TDRXFolderConflict Conflict = fcNone;
  UString Folder;           // the checked folder in final form (as given when unresolved)
  UString ProtectedFolder;  // the protected folder concerned (fcSame, fcAbove, fcInside)
};

// "C:\" or "\\server\share\" (with or without the trailing backslash).
bool IsRootFolderName(UStringView Folder);

// Compares a folder in final form with the protected folders (both with
// trailing backslashes, letter case ignored). A root comes first, then the
// first protected folder it equals, then one it lies inside, then one it holds.
TDRXFolderCheck MatchProtectedFolders(const UString& Folder, const std::vector<TDRXProtectedFolder>& Protected);

#ifdef _WIN32
// The protected folders of this machine, each in final form: the Windows folder
// with everything inside it, ProgramData's "Microsoft" folder, the default user
// profile and the system drive's recycle bin, volume information and recovery
// trees; and as folders (neither they nor a folder above them): Program Files
// and Common Files (both views), ProgramData, the folder of the profiles, the
// Public profile and its known folders, every account's profile folder with
// its usual known folders and application-data folder, the current user's
// shell folders and the temporary folders (the system's named and resolved once a process).
std::vector<TDRXProtectedFolder> GetProtectedFolders();

// Resolves Folder (relative names against the current folder) and matches it
// against the machine's protected folders. fcUnresolved when the folder's
// final form or the machine's folders cannot be determined.
TDRXFolderCheck CheckFolder(const UString& Folder);

// Any conflict, including a folder that cannot be checked.
bool IsProtectedFolder(const UString& Folder);
#endif
