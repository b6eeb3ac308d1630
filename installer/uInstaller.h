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
void ShowSetupError(const UString& message);

// Runs one attempt of the start sequence: an exception that escapes it is shown
// through the error display and turns into ecError.
TExitCode RunGuarded(const std::function<TExitCode()>& sequence);

// The parameter text: the process command line without the program path. The
// start sequence fetches it once; it is kept for the life of the process.
const UString& SetupParams();
void SetSetupParams(UString params);

// The whole program: returns the process's exit code.
TExitCode RunSetup();
