#pragma once
// Helpers shared by the tests: a temporary folder that removes itself and
// plain file access independent of the code under test.

#include <filesystem>
#include <string>

#include "DRX.Strings.h"

// A fresh folder under the system's temporary folder, deleted with everything in it.
class TTempFolder {
 public:
  TTempFolder();
  ~TTempFolder();
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;

  // The folder as the program sees it (a Windows path with a trailing
  // backslash on Windows, a POSIX path with a trailing slash natively).
  const UString& Path() const { return path_; }
  UString File(UStringView name) const { return path_ + UString(name); }
  std::filesystem::path Native() const { return native_; }

 private:
  std::filesystem::path native_;
  UString path_;
};

// Writes and reads whole files with plain bytes, independent of the code under test.
void WriteFileBytes(const UString& fileName, std::string_view bytes);
std::string ReadFileBytes(const UString& fileName);

// A file of the committed test data (tests/data/).
UString TestDataFile(UStringView name);

#ifdef _WIN32
// The folder of the running test program (where every built program lives).
UString BinFolder();
#endif
