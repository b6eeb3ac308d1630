#pragma once
// Path text in the Windows form (backslashes, drive colons), independent of the
// platform the code runs on: the installer's paths are Windows paths everywhere.

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
// \ < > * : ? | /, strips leading spaces and trailing spaces and dots (never the
// part's first character), cuts parts to 255 characters and drops empty parts.
// A trailing backslash survives.
UString ValidatePath(UStringView path);
