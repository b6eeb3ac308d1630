#pragma once
// The program entry: the start sequence of OvixSetup.exe and Uninstall.exe,
// with the one error display around it.

#include <functional>

#include "DRX.Strings.h"
#include "uInstaller.ExitCodes.h"

// Shows an error that ended the start sequence. The program shows a message box
// captioned "Setup" with the error icon; tests replace it.
using TErrorDisplay = std::function<void(const UString& message)>;
void SetErrorDisplay(TErrorDisplay display);
// Shows the message, unless message boxes are suppressed.
void ShowSetupError(const UString& message);
// A silent run started with SUPPRESSMSGBOXES shows no error: its exit code tells.
void SetMessageBoxesSuppressed(bool suppressed);

// Runs one attempt of the start sequence: an exception that escapes it is shown
// through the error display and turns into ecError.
TExitCode RunGuarded(const std::function<TExitCode()>& sequence);

// The parameter text: the process command line without the program path. The
// start sequence fetches it once; it is kept for the life of the process.
const UString& SetupParams();
void SetSetupParams(UString params);

// The whole program: returns the process's exit code.
TExitCode RunSetup();

#ifdef _WIN32
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Spawn.h"

// What the start sequence asks of the system; tests replace members.
struct TSetupSystem {
  std::function<bool()> IsAdmin;                                        // IsUserAnAdmin
  std::function<TElevatedRun(const UString& params)> RelaunchElevated;  // the elevated restart, waited for
  TInstallerPackageSource Packages;                                     // the module's packages
};
TSetupSystem DefaultSetupSystem();

// The start sequence after the parameter text is kept: elevation, the installer,
// the uninstaller's move to the temporary folder, languages, then the silent
// run or the wizard. Errors escape; RunGuarded shows them.
TExitCode StartSequence(const TSetupSystem& system);

// Copies the program and the ".dat" file beside it into the temporary folder
// and starts the copy with /PATH="<own folder>" in front of the parameter text;
// returns without waiting. Raises when the copy cannot be started.
void RunUninstallerFromTemp();
#endif
