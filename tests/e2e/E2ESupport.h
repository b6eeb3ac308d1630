#pragma once
// Running the built setup program as a process under Wine, the way a user or a
// script does: message boxes of the setup's processes are found, read and
// answered by a driver thread (none is ever left open), the uninstaller's copy
// in the temporary folder is waited for, and what an installation left behind
// (files, Uninstall.ini, the registry entry, shortcuts, the stand-ins' log) is
// read back.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DRX.FileFormats.INI.h"
#include "DRX.Strings.h"

// A message box as the driver saw it.
struct TSeenBox {
  UString Caption;
  UString Text;
  std::vector<int> Buttons;  // the button ids the box has
};

// Chooses the button (IDOK, IDABORT, IDRETRY, IDIGNORE, ...) for a box.
using TBoxAnswer = std::function<int(const TSeenBox& box)>;
// OK where the box has it, else Cancel, else Abort.
int DismissBox(const TSeenBox& box);
// Answers the questions (boxes not captioned "Setup") with the buttons in
// turn, the last one again when they run out; error boxes are dismissed.
TBoxAnswer AnswerQuestions(std::vector<int> buttons);

struct TSetupRun {
  long ExitCode = -1;          // of the started process
  long CopyExitCode = -1;      // of the uninstaller's copy, when the process started one
  std::vector<TSeenBox> Boxes;  // every box of the run, in the order they appeared
};

class TBoxDriver;

// "<program>" <params> started in the current folder given (the program's own
// by default), its boxes answered while it runs, for a test that works its
// windows meanwhile.
class TSetupProcess {
 public:
  TSetupProcess(const UString& program, const UString& params, const TBoxAnswer& answer = DismissBox,
                const UString& currentFolder = {});
  ~TSetupProcess();
  TSetupProcess(const TSetupProcess&) = delete;
  TSetupProcess& operator=(const TSetupProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // Waits (at most two minutes) for the process and every uninstaller copy it started.
  TSetupRun Wait();

 private:
  UString program_;
  std::unique_ptr<TBoxDriver> driver_;
  void* process_ = nullptr;
  unsigned long processId_ = 0;
};

// Starts the program as TSetupProcess does and waits for it.
TSetupRun RunSetupProgram(const UString& program, const UString& params, const TBoxAnswer& answer = DismissBox,
                          const UString& currentFolder = {});

// OvixSetup.exe of the build.
UString SetupProgram();
UString Quoted(const UString& path);

// Uninstall.ini inside <folder>Uninstall.dat.
std::unique_ptr<TDRXIniFile> ReadUninstallIni(const UString& folder);
// Replaces <folder>Uninstall.dat with a package of the given entries (name,
// bytes), built with the package builder and key as the installer builds it.
void WriteUninstallDat(const UString& folder, const std::vector<std::pair<UString, std::string>>& entries);
// The list of installed files that Uninstall.ini holds, as stored.
std::vector<UString> UninstallEntries(const TDRXIniFile& ini);

// The product's entry in the list of installed programs: a value, or empty
// when the key or the value is missing.
bool UninstallKeyExists();
UString UninstallValue(const UString& name);
void DeleteUninstallKey();

// Shortcuts the demo script creates, by where they go.
UString DesktopShortcut();
UString StartMenuFolder();

// The stand-ins' log (see product/README.md): one line per start.
class TStandInLog {
 public:
  TStandInLog();   // points OVIX_STANDIN_LOG at a fresh file for child processes
  ~TStandInLog();  // removes the file and the variable
  std::vector<UString> Lines() const;

 private:
  UString file_;
};

// Holds a file open for reading, letting others read it but neither write,
// move nor delete it, while it lives.
class TReadLock {
 public:
  explicit TReadLock(const UString& file);
  ~TReadLock();
  TReadLock(const TReadLock&) = delete;
  TReadLock& operator=(const TReadLock&) = delete;
  bool Locked() const;

 private:
  void* handle_;
};

// Names of the entries of a zip archive.
std::vector<std::string> ZipEntryNames(const UString& archive);
// The files directly in a folder (names only), or below it with relative paths.
std::vector<UString> FilesIn(const UString& folder, bool recursive = false);
bool Contains(const std::vector<UString>& list, UStringView item);

#include <gtest/gtest.h>

#include "TestSupport.h"

// A test that installs into a fresh folder and leaves the prefix as it found
// it: no uninstall entry, shortcuts, profile folders or uninstaller copies.
class SetupEndToEnd : public ::testing::Test {
 protected:
  SetupEndToEnd();
  ~SetupEndToEnd() override;

  // OvixSetup.exe /AUTO="<Dest>" /SILENT <switches>
  TSetupRun Install(UStringView switches = u"", const TBoxAnswer& answer = DismissBox);
  // <Dest>Uninstall.exe <params>
  TSetupRun Uninstall(UStringView params = u"/AUTO /SILENT");
  // The player's profile folder of the current user for a version id.
  static UString ProfileFolder(int versionId = 5020);
  static void RemoveTraces();

  TTempFolder Root;
  UString Dest;  // Root + "Ovix\"
  TStandInLog StandIns;
};
