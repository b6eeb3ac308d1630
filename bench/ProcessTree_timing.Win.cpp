// Times a program with every process it starts, under Wine or Windows: runs the
// command line (its first argument onwards) inside a job object and prints the
// milliseconds from the start until the last process of the job has ended, then
// the first process's exit code. An uninstaller that copies itself to the
// temporary folder and ends at once is thus timed until its copy is done.
//   ProcessTree_timing.exe PROGRAM [ARGUMENT ...]
// Exit code: 0 when it could time the command, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>

#include "DRX.Strings.h"
#include "DRX.Utils.CommandLine.h"

namespace {

int Fail(const char* what) {
  std::fprintf(stderr, "ProcessTree_timing: %s (error %lu)\n", what, GetLastError());
  return 1;
}

// On Windows the shell's desktop is always there. Under Wine the first program
// that makes a window starts explorer.exe for the desktop, and the server keeps
// that desktop a second after the last program using it has ended: a timed
// program would carry both. A window of the timer's own, made before the job
// starts, puts explorer.exe outside the job and keeps the desktop until the
// timed tree has ended.
HWND HoldDesktop() {
  return CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
}

}  // namespace

int main() {
  std::wstring command(W(GetCommandLineParams()));
  if (command.empty()) {
    std::fprintf(stderr, "usage: ProcessTree_timing.exe PROGRAM [ARGUMENT ...]\n");
    return 1;
  }
  const HANDLE job = CreateJobObjectW(nullptr, nullptr);
  const HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  if (!job || !port) return Fail("no job object");
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT association{job, port};
  if (!SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &association, sizeof association))
    return Fail("no completion port for the job");

  const HWND desktopHolder = HoldDesktop();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                      &process))
    return Fail("cannot start the program");
  if (!AssignProcessToJobObject(job, process.hProcess)) {
    TerminateProcess(process.hProcess, 1);
    return Fail("cannot put the program into the job");
  }
  ResumeThread(process.hThread);

  DWORD message = 0;
  ULONG_PTR key = 0;
  LPOVERLAPPED overlapped = nullptr;
  while (GetQueuedCompletionStatus(port, &message, &key, &overlapped, INFINITE)) {
    if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO) break;
  }
  QueryPerformanceCounter(&end);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  std::printf("%.0f %lu\n", (end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart, exitCode);
  if (desktopHolder) DestroyWindow(desktopHolder);
  return 0;
}
