#include <windows.h>

#include "DRX.Utils.CommandLine.h"
#include "uInstaller.h"

namespace {

void ShowErrorBox(const UString& message) {
  MessageBoxW(nullptr, W(message), L"Setup", MB_ICONERROR);
}

TExitCode StartSequence() {
  SetSetupParams(GetCommandLineParams());
  // The later steps (elevation, the installer object, the wizard or the silent
  // run) plug in here as they are built.
  return ecSuccess;
}

}  // namespace

TExitCode RunSetup() {
  SetErrorDisplay(ShowErrorBox);
  return RunGuarded(StartSequence);
}
