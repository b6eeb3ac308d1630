#pragma once
// Elevation and the spawn service (Windows). A standard user's setup restarts
// itself elevated and waits as the "first process"; the elevated copy asks that
// first process to start programs, so they run with the user's own rights
// instead of the administrator's. Without a first process programs are started
// through Windows Explorer, which runs as the logged-on user.
//
// The channel: the copy receives the first process's spawn window as the switch
// SKIPUAC (the window handle as a 32-bit decimal) and sends it WM_COPYDATA with
// wParam 0, dwData = the registered message "SpawnToken" and the file name's
// UTF-16 characters (no terminator) as the data.

#include <cstdint>

#include "DRX.Strings.h"
#include "uInstaller.ExitCodes.h"

// What became of an elevated restart.
struct TElevatedRun {
  bool Started = false;   // false: the user refused the elevation prompt
  uint32_t ExitCode = 0;  // the elevated copy's exit code, once it has ended

  // The first process ends with the copy's exit code, or ecCancelled after a refusal.
  TExitCode ProcessExitCode() const { return Started ? static_cast<TExitCode>(ExitCode) : ecCancelled; }
};

// First process (Vista or later, user not an administrator), main thread: creates
// the spawn window, starts the own program through the elevation prompt with
// "/SKIPUAC=<window> " in front of `Params`, and waits for the copy to end while
// handling its requests. A refused prompt is silent; any other failure to start
// raises EOSError.
TElevatedRun RelaunchElevated(const UString& Params);
// The same with another program in place of the own file (tests start a stand-in).
TElevatedRun RelaunchElevatedProgram(const UString& Program, const UString& Params);

// Class-level state only: one service per process, used on the main thread.
class TInstallerSpawnService {
 public:
  // Handle 0: this process creates its own message-only spawn window (class
  // "TInstallerSpawnService") and serves requests. Otherwise `Handle` is the
  // first process's window as passed in SKIPUAC. Raises "SpawnService is
  // already initialized" on a second call.
  static void Initialize(int32_t Handle);

  // Starts `FileName` with the user's rights: through the first process when this
  // is an elevated copy (returning once that process has started it), otherwise
  // through Explorer. No result: a program that cannot be started is not started.
  static void Run(const UString& FileName);

  static void* SpawnWindow();
  static bool OwnsWindow();
  static uint32_t SpawnToken();

  // Test-only: forgets everything (destroying an owned window) so that one test
  // process can run several cases. The program never calls it.
  static void ResetForTesting();
};
