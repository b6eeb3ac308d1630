#pragma once
// Path text in the Windows form (backslashes, drive colons), independent of the
// platform the code runs on: the installer's paths are Windows paths everywhere.

#include <vector>

#include "DRX.Strings.h"

UString IncludeTrailingBackslash(UStringView path);
UString ExcludeTrailingBackslash(UStringView path);
// Everything up to and including the last backslash, slash or colon.
UString ExtractFilePath(UStringView path);
// Everything after the last backslash, slash or colon.
UString ExtractFileName(UStringView path);
// From the last dot of the file name on (".lng"); empty when it has none.
UString ExtractFileExt(UStringView path);
UString ChangeFileExt(UStringView path, UStringView extension);
// Starts at a drive root ("C:\") or a network root ("\\"): a path that does
// not depend on the current folder or drive.
bool IsFullPath(UStringView path);

// Cleans a path so that every part is a valid file name: keeps a drive ("C:")
// or network ("\\server") root, turns '"' into an apostrophe, drops
// \ < > * : ? | /, then strips leading spaces and trailing spaces and dots (never
// the part's first character), cuts parts to 255 characters and drops empty
// parts. A trailing backslash survives.
UString ValidatePath(UStringView path);

// ---- Containment, decided on the text alone ----
//
// A full path taken apart for deciding what lies inside what: its root ("C:"
// or "\\server\share") and the names below it. "\" and "/" both separate and
// empty names are dropped. Windows and Wine resolve some names differently
// ("..." or "a." may name the parent, the folder "a" or a folder of its own),
// so such paths cannot be decided and are refused: a name made only of dots or
// ending in a dot or a space, a colon after the drive, a root other than a
// drive or a share ("\\?\", "\\.\"), or no root at all.
struct TDRXPathNames {
  UString Root;
  std::vector<UString> Names;
};
bool SplitFullPath(UStringView path, TDRXPathNames& parts);
// The names of `path` below `folder`, at least one, when both split and
// `path` lies inside `folder`, comparing roots and names ignoring case. False
// for `folder` itself and for anything that cannot be decided.
bool NamesBelowFolder(UStringView path, UStringView folder, std::vector<UString>& names);
bool IsPathInsideFolder(UStringView path, UStringView folder);
// Both split and name the same place: roots and names equal ignoring case.
bool IsSamePath(UStringView a, UStringView b);
// Root and names joined with backslashes, the root's own included ("C:\a\b").
UString JoinPathNames(const TDRXPathNames& parts);
// The folder rebuilt from its names, with a trailing backslash; empty when it does not split.
UString RebuildFolderPath(UStringView folder);
// `path` rebuilt from its names when it lies inside `folder` (NamesBelowFolder),
// beginning with RebuildFolderPath(folder); empty otherwise.
UString RebuildPathInsideFolder(UStringView path, UStringView folder);
