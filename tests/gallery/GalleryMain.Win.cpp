// control_gallery.exe [/browser | /new-folder] [/contrast] [/capture=FILE.png]:
// shows the control gallery, with /browser the folder browser open at the
// system folder, with /new-folder its question for a new folder's name; with
// /contrast in high contrast (the "High Contrast Black" colours);
// with /capture it waits until the window is drawn, writes the window as the
// screen shows it (frame included) to the PNG file and exits (0, or 1 when
// the file could not be written).
#include <windows.h>

#include "ControlGallery.h"
#include "DRX.UI.Dialogs.FolderBrowser.h"

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

// Shows the form until it is drawn and writes it to the file.
int Capture(TDRXForm& form, const UString& file) {
  form.Show();
  PumpFor(1500);
  return CaptureWindowPng(form.Handle(), file) ? 0 : 1;
}

// The folder browser as Setup shows it (unowned), or its question for a new
// folder's name; shown modally when not captured.
int ShowDialog(UStringView which, const UString& captureFile) {
  const UString& newFolder = DialogsStrs().NewFolder;
  if (which == u"/new-folder") {
    TDRXInputQueryDialog query(nullptr, newFolder, {}, newFolder);
    query.SelectValue();
    return captureFile.empty() ? (query.Execute() ? 0 : 1) : Capture(query, captureFile);
  }
  TDRXShellFolderBrowserDialog browser(nullptr, u"C:\\windows\\system32");
  return captureFile.empty() ? (browser.Execute() ? 0 : 1) : Capture(browser, captureFile);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  BecomePerMonitorAware();
  UString captureFile, dialog;
  for (int i = 1; i < argc; ++i) {
    const UString argument = FromW(argv[i]);
    if (argument.rfind(u"/capture=", 0) == 0) captureFile = argument.substr(9);
    if (argument == u"/browser" || argument == u"/new-folder") dialog = argument;
    if (argument == u"/contrast") TDRXApplication::SetHighContrastReader(&GalleryContrastScheme);
  }
  if (!dialog.empty()) return ShowDialog(dialog, captureFile);
  TControlGallery gallery;
  gallery.SetWindowPosition({0, 0});
  if (captureFile.empty()) {
    gallery.SetPosition(poScreenCenter);
    gallery.RunAsMainForm();
    return 0;
  }
  return Capture(gallery, captureFile);
}
