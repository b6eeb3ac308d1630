#pragma once
// The Ovix product in tests (Windows): a setup package whose script names
// "Ovix", installations of the player written into a folder, and the product
// made the installer's for the life of a guard.

#include <memory>
#include <string>

#include "TestInstaller.h"

// DefaultSetupEntries with a script for "Ovix" 5.10 (5100) whose components
// are "$DEST\Ovix.exe", "$DEST\Rediruzu.exe" and, for "RU" only,
// "$DEST\Langs\Russian.lng"; English.lng carries the actions' status texts
// ("Common": A1 "Backing up", A3 "Deleting", A5 "Updating", A8 "Closing", E3,
// E6 "Still open: %s" and the destination's errors as "Protected %s",
// "Inside %s %s" and so on)
// and the Setup page's summary texts ("PageSetup": LB1, Title, CB1 to CB4, W3).
TTestEntries OvixSetupEntries();

// Writes the player's configuration into the folder (ending with a backslash):
// [System] Version and, unless empty, UserMode, followed by `more` (INI text).
void WriteOvixConfig(const UString& folder, int versionId, std::string_view userMode = "1", std::string_view more = "",
                     UStringView fileName = u"Ovix.ini");

// Writes <folder>Uninstall.dat, a package holding "Uninstall.ini" with the text.
void WriteUninstallData(const UString& folder, std::string_view uninstallIni);

// Makes TProductInfoOvix the product for the life of the guard.
class TOvixProductGuard {
 public:
  TOvixProductGuard();
  ~TOvixProductGuard();
  TOvixProductGuard(const TOvixProductGuard&) = delete;
  TOvixProductGuard& operator=(const TOvixProductGuard&) = delete;

 private:
  TInstallerProductInfoClass previous_;
};

// An installer of the Ovix product for the command line, English loaded; a
// product package holding "Uninstall.ini" makes it an uninstaller. Without
// entries given, the product package holds the components' ("player.bin" and
// "rediruzu.bin").
std::unique_ptr<TInstaller> MakeOvixInstaller(const UString& commandLine, TTestEntries product = {});

// A running stand-in player window (bin/ovix_window.exe) of the given class;
// the program is ended, if it still runs, when the object goes.
class TPlayerWindow {
 public:
  explicit TPlayerWindow(const UString& windowClass, bool ignoreClose = false);
  ~TPlayerWindow();
  TPlayerWindow(const TPlayerWindow&) = delete;
  TPlayerWindow& operator=(const TPlayerWindow&) = delete;

  // The window showed up.
  bool Shown() const { return shown_; }
  // Waits (at most 10 seconds) for the program to end.
  bool Ended() const;

 private:
  void* process_ = nullptr;
  bool shown_ = false;
};

// Points the current user's shell folder `valueName` ("Desktop", say) of
// "User Shell Folders" at `folder` while the object lives, so that no test
// file reaches the real one (in Wine, a link to the host's home folder).
class TShellFolderRedirect {
 public:
  TShellFolderRedirect(const UString& valueName, const UString& folder);
  ~TShellFolderRedirect();
  TShellFolderRedirect(const TShellFolderRedirect&) = delete;
  TShellFolderRedirect& operator=(const TShellFolderRedirect&) = delete;

 private:
  UString valueName_;
  UString previous_;
  bool hadValue_ = false;
};
