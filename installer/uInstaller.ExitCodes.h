#pragma once
// Exit codes of OvixSetup.exe and Uninstall.exe. A number is never reused.
// The waiting first process of an elevated run returns the elevated copy's code.

enum TExitCode : int {
  ecSuccess = 0,
  ecError = 1,      // an error message was shown (or would have been, in a test)
  ecCancelled = 2,  // the installation was cancelled or the elevation refused
};
