#include <windows.h>
#include <shellapi.h>
#include <versionhelpers.h>

#include "uInstaller.Core.Spawn.h"

#include <memory>

#include "DRX.Classes.Thread.h"
#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.MessageWindow.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"

namespace {

struct TSpawnState {
  HWND window = nullptr;
  std::unique_ptr<TDRXMessageWindow> ownedWindow;  // destroyed with the module
  UINT token = 0;
};

TSpawnState& State() {
  static TSpawnState state;
  return state;
}

// Window handles are 32-bit values shared between 32- and 64-bit processes;
// widening sign-extends, as the system does.
HWND WindowFromValue(int32_t value) { return reinterpret_cast<HWND>(static_cast<intptr_t>(value)); }
int32_t ValueOfWindow(HWND window) { return static_cast<int32_t>(reinterpret_cast<intptr_t>(window)); }

void ShellOpen(const UString& file, const wchar_t* parameters) {
  ShellExecuteW(nullptr, L"open", W(file), parameters, nullptr, SW_SHOW);
}

void StartRequestedProgram(const COPYDATASTRUCT& request) {
  if (request.dwData != State().token || request.cbData < 2 || !request.lpData) return;
  const UString fileName(static_cast<const char16_t*>(request.lpData), request.cbData / 2);
  ShellOpen(fileName, nullptr);
}

bool HandleSpawnMessage(uint32_t message, uintptr_t, intptr_t lParam, intptr_t&) {
  if (message == WM_COPYDATA && lParam) StartRequestedProgram(*reinterpret_cast<const COPYDATASTRUCT*>(lParam));
  return false;  // every message goes on to the default procedure
}

void SendToFirstProcess(HWND window, const UString& fileName) {
  COPYDATASTRUCT request{};
  request.dwData = State().token;
  request.cbData = static_cast<DWORD>(fileName.size() * sizeof(char16_t));
  request.lpData = const_cast<char16_t*>(fileName.data());
  // A window that is gone takes the message nowhere, without an error.
  SendMessageW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&request));
}

struct THandleCloser {
  void operator()(void* handle) const { CloseHandle(handle); }
};
using TOwnedHandle = std::unique_ptr<void, THandleCloser>;

uint32_t WaitForExitPumping(HANDLE process) {
  const TOwnedHandle owned(process);
  WaitForHandlePumping(process);
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process, &exitCode)) RaiseLastOSError();
  return exitCode;
}

}  // namespace

TElevatedRun RelaunchElevated(const UString& Params) { return RelaunchElevatedProgram(PlatformProgramFileName(), Params); }

TElevatedRun RelaunchElevatedProgram(const UString& Program, const UString& Params) {
  TInstallerSpawnService::Initialize(0);
  const UString parameters = Format(u"/%s=%d %s", {u"SKIPUAC", ValueOfWindow(State().window), Params});
  const UString folder = CurrentFolder();
  SHELLEXECUTEINFOW info{};
  static_assert(sizeof info == 112);
  static_assert((SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS) == 0x800540);
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOZONECHECKS;
  info.lpVerb = L"runas";
  info.lpFile = W(Program);
  info.lpParameters = W(parameters);
  info.lpDirectory = W(folder);
  info.nShow = SW_SHOWNORMAL;
  if (!ShellExecuteExW(&info)) {
    const DWORD error = GetLastError();
    if (error == ERROR_CANCELLED) return TElevatedRun{};  // the user said no: nothing to report
    RaiseOSError(error);
  }
  // Starting a program always yields its process; without one there is nothing to wait for.
  if (!info.hProcess) return TElevatedRun{true, ecSuccess};
  return TElevatedRun{true, WaitForExitPumping(info.hProcess)};
}

void TInstallerSpawnService::Initialize(int32_t Handle) {
  TSpawnState& state = State();
  if (state.window) throw Exception(u"SpawnService is already initialized");
  if (Handle != 0) {
    state.window = WindowFromValue(Handle);
  } else {
    state.ownedWindow = std::make_unique<TDRXMessageWindow>(u"TInstallerSpawnService", HandleSpawnMessage);
    state.window = static_cast<HWND>(state.ownedWindow->Handle());
  }
  state.token = RegisterWindowMessageW(L"SpawnToken");
}

void TInstallerSpawnService::Run(const UString& FileName) {
  const TSpawnState& state = State();
  if (state.window && !state.ownedWindow) {
    SendToFirstProcess(state.window, FileName);
  } else if (IsWindowsVistaOrGreater()) {
    ShellOpen(u"explorer.exe", W(FileName));  // Explorer runs as the logged-on user
  } else {
    ShellOpen(FileName, nullptr);  // no elevation before Vista: the user's own rights already
  }
}

void* TInstallerSpawnService::SpawnWindow() { return State().window; }

bool TInstallerSpawnService::OwnsWindow() { return State().ownedWindow != nullptr; }

uint32_t TInstallerSpawnService::SpawnToken() { return State().token; }

void TInstallerSpawnService::ResetForTesting() { State() = TSpawnState{}; }
