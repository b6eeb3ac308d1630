#pragma once
// Helpers shared by the tests: a temporary folder that removes itself and
// plain file access independent of the code under test.

#include <filesystem>
#include <string>
#include <vector>

#include "DRX.Classes.StringList.h"
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

// "a\" `count` times: the folder names below a base for a path of that depth.
UString FolderLevels(int count);

// The list's lines, for comparing with EXPECT_EQ.
std::vector<UString> ListStrings(const TDRXStringList& list);

// The message of the exception of class E that the action raises, as UTF-8.
template <typename E, typename F>
std::string MessageOf(F action) {
  try {
    action();
  } catch (const E& e) {
    return Utf16ToUtf8(e.Message());
  }
  return "(nothing raised)";
}

// A file of the committed test data (tests/data/).
UString TestDataFile(UStringView name);
// A default skin as the build compiled it: "light" or "dark".
UString CompiledSkinFile(UStringView name);
// A file of the demo release's setup package (product/setup/: wizard images, licences).
UString ProductSetupFile(UStringView name);
// The form stream the build compiled from resources/forms/ ("InstallerForm").
UString CompiledFormFile(UStringView name);

#ifdef _WIN32
// The folder of the running test program (where every built program lives).
UString BinFolder();
// Delivers every message waiting for the thread's windows.
void PumpMessages();
// A bottom-up "BM" file of 24 or 32 bits per pixel; `pixels` are top-down 0xAARRGGBB.
std::string BitmapFile(int32_t width, int32_t height, int bpp, const std::vector<uint32_t>& pixels);
#endif

#ifdef _WIN32
// A symbolic link to a folder, removed again (the link, never its target) when
// the object goes; declare it after the TTempFolder it lives in. Wine 8 makes
// no reparse points itself: there the link is made on the host, and Wine
// reports it as a folder reparse point.
class TFolderLink {
 public:
  TFolderLink(const UString& link, const UString& target);
  ~TFolderLink();
  TFolderLink(const TFolderLink&) = delete;
  TFolderLink& operator=(const TFolderLink&) = delete;
  bool Made() const { return made_; }

 private:
  UString link_;
  bool made_;
};

// A link to a file, removed again (the link, never its target) when the object
// goes. On Wine the link is made on the host; Wine shows it as a plain file.
class TFileLink {
 public:
  TFileLink(const UString& link, const UString& target);
  ~TFileLink();
  TFileLink(const TFileLink&) = delete;
  TFileLink& operator=(const TFileLink&) = delete;
  bool Made() const { return made_; }

 private:
  UString link_;
  bool made_;
};

// A drive letter from P to Y that names no drive; empty when all are taken.
UString FreeDriveLetter();

// A drive letter whose root is `folder` while the object lives (on Wine, a
// host link in the prefix's device folder). `letter` must be unused.
class TMappedDrive {
 public:
  TMappedDrive(char16_t letter, const UString& folder);
  ~TMappedDrive();
  TMappedDrive(const TMappedDrive&) = delete;
  TMappedDrive& operator=(const TMappedDrive&) = delete;
  bool Made() const { return made_; }

 private:
  char16_t letter_;
  bool made_;
};
#endif

#ifdef _WIN32
// Starts a command line and waits for the process; its exit code, or -1 when
// it could not be started.
long RunProgram(const UString& commandLine);
#endif

// The application's dark mode as a test sets it: the theme reader answers
// `dark` and the application is told, until UseSystemTheme gives the
// system's reader back (and tells the application again).
void UseTestTheme(bool dark);
void UseSystemTheme();
