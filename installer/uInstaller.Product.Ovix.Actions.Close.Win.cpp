#include <windows.h>

#include "uInstaller.Product.Ovix.Actions.Close.h"

#include "DRX.Classes.Thread.h"
#include "DRX.Format.h"
#include "uInstaller.Core.Exceptions.h"

TInstallerActionCloseApplications::TTiming TInstallerActionCloseApplications::Timing;

struct TInstallerActionCloseApplications::TCancelEvent {
  TCancelEvent() : Handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
    if (!Handle) RaiseLastOSError();
  }
  ~TCancelEvent() { CloseHandle(Handle); }
  HANDLE Handle;
};

namespace {

UString ProgramOrClassOfWindow(HWND window, UStringView windowClass) {
  const UString program = ProgramFileOfWindow(window);
  return program.empty() ? UString(windowClass) : program;
}

// One pass: asks one window of each class to close. Returns the last window
// found, or nullptr; `windowClass` names its class.
HWND CloseOneWindowPerClass(uint32_t closeTimeout, UStringView& windowClass) {
  HWND found = nullptr;
  for (const UStringView name : OvixWindowClasses) {
    const HWND window = FindWindowW(W(UString(name)), nullptr);
    if (!window) continue;
    DWORD_PTR ignored;
    SendMessageTimeoutW(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, closeTimeout, &ignored);
    found = window;
    windowClass = name;
  }
  return found;
}

}  // namespace

UString ProgramFileOfWindow(void* window) {
  DWORD processId = 0;
  if (!GetWindowThreadProcessId(static_cast<HWND>(window), &processId)) return {};
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  std::wstring path(32768, L'\0');
  DWORD length = static_cast<DWORD>(path.size());
  const bool known = QueryFullProcessImageNameW(process, 0, path.data(), &length);
  CloseHandle(process);
  return known ? FromW(path.data(), length) : UString();
}

TInstallerActionCloseApplications::TInstallerActionCloseApplications() : cancelled_(std::make_unique<TCancelEvent>()) {}

TInstallerActionCloseApplications::~TInstallerActionCloseApplications() = default;

void TInstallerActionCloseApplications::Execute() {
  SetStatus(CommonString(u"A8"));
  const TTiming timing = Timing;
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    UStringView windowClass;
    const HWND window = CloseOneWindowPerClass(timing.CloseTimeout, windowClass);
    // Without a window there is nothing to wait for; after a close request the
    // program gets the interval to end and free its files.
    if (!window || WaitForHandlePumping(cancelled_->Handle, timing.PassInterval)) return;
    if (GetTickCount64() - start >= timing.GiveUpAfter && IsWindow(window)) {
      throw EInstallerInstallError(Format(CommonString(u"E6"), {ProgramOrClassOfWindow(window, windowClass)}));
    }
  }
}

void TInstallerActionCloseApplications::Cancel() { SetEvent(cancelled_->Handle); }
