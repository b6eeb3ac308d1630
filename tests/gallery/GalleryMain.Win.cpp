// control_gallery.exe [/capture=FILE.png]: shows the control gallery; with
// /capture it waits until the window is drawn, writes the window as the
// screen shows it (frame included) to the PNG file and exits (0, or 1 when
// the file could not be written).
#include <windows.h>

#include "ControlGallery.h"

namespace {

// The per-monitor awareness that OvixSetup.exe declares in its manifest.
void BecomePerMonitorAware() {
  using TSetContext = BOOL(WINAPI*)(HANDLE);
  const auto set = reinterpret_cast<TSetContext>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (set) set(reinterpret_cast<HANDLE>(-4));  // DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
}

void PumpFor(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < milliseconds) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    Sleep(10);
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  BecomePerMonitorAware();
  UString captureFile;
  for (int i = 1; i < argc; ++i) {
    const UString argument = FromW(argv[i]);
    if (argument.rfind(u"/capture=", 0) == 0) captureFile = argument.substr(9);
  }
  TControlGallery gallery;
  gallery.SetWindowPosition({0, 0});
  if (captureFile.empty()) {
    gallery.SetPosition(poScreenCenter);
    gallery.RunAsMainForm();
    return 0;
  }
  gallery.Show();
  PumpFor(1500);
  return CaptureWindowPng(gallery.Handle(), captureFile) ? 0 : 1;
}
