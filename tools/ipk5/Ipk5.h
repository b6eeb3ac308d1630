#pragma once
// The ipk5 command line: create, list, extract, unpack, verify and index setup packages.
// Errors go to standard error; the result is the process's exit code.

#include <filesystem>
#include <vector>

#include "DRX.Strings.h"

enum TIpk5ExitCode : int { ieSuccess = 0, ieError = 1, ieUsage = 2 };

int RunIpk5(const std::vector<UString>& args);

// Where unpack writes an entry below a folder: the name's backslash- or
// slash-separated parts, or false when the name is empty, absolute, names a
// drive or stream (a colon) or has an empty, "." or ".." part.
bool EntryPathBelow(const UString& folder, const UString& name, UString& path);

// The platform halves: the path form of the file system and its separator.
std::filesystem::path NativePath(const UString& path);
UString PathToUString(const std::filesystem::path& path);
extern const char16_t kPathDelimiter;
