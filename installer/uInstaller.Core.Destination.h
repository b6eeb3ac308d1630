#pragma once
// The destination is checked once, before the first action writes anything: a
// run that cannot complete there, or that would back up, clean and at last
// remove a folder of the system or of a user, never starts. The reasons are
// language texts of section "Common".

#include "DRX.Strings.h"

// The longest paths the installation may write without long-path support:
// files (MAX_PATH without its terminating zero) and folders (what
// CreateDirectoryW accepts).
inline constexpr size_t kMaxInstalledFileLength = 259;
inline constexpr size_t kMaxInstalledFolderLength = 247;

// A full path ("C:\..." or "\\server\share\...") whose every name is a valid
// file name as written: no control character, none of \ / : * ? " < > |, no
// leading space, no trailing dot or space, no empty name, no "." or "..", at
// most 255 characters each. A trailing backslash is allowed.
bool IsValidDestinationName(UStringView Path);

#ifdef _WIN32
// Refuses, with the language error of the first reason found:
// "DestInvalid" an invalid name (IsValidDestinationName); "DestTooLong" a
// file of the package, the uninstaller or their folders would exceed the
// lengths above; "E3" the folder cannot be created (a file stands in the way
// or the drive is missing); the guard's reasons (RefuseProtectedDestination).
void ValidateDestination(const UString& DestPath);

// Refuses a destination that is, holds or lies inside a protected folder
// after resolving it to its final form: "DestProtected" (a root or a
// protected folder), "DestHoldsProtected", "DestInsideProtected", and
// "DestUnresolved" when its final form cannot be determined.
void RefuseProtectedDestination(const UString& DestPath);
#endif
