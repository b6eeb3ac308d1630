// A stand-in for a window of the player: "ovix_window.exe <window class>
// [/ignoreclose]" shows a top-level window of that class which closes, and
// ends the program, on WM_CLOSE, unless told to ignore it. It ends by itself
// after two minutes so that a failed test leaves nothing running.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
constexpr UINT_PTR kLifetimeTimer = 1;
constexpr UINT kLifetime = 120000;
bool gIgnoreClose = false;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      if (!gIgnoreClose) DestroyWindow(window);
      return 0;
    case WM_TIMER:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}
}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 2) return 2;
  const std::wstring windowClass = arguments[1];
  gIgnoreClose = count > 2 && lstrcmpiW(arguments[2], L"/ignoreclose") == 0;
  LocalFree(arguments);

  WNDCLASSW definition{};
  definition.lpfnWndProc = WindowProc;
  definition.hInstance = instance;
  definition.lpszClassName = windowClass.c_str();
  if (!RegisterClassW(&definition)) return 3;
  const HWND window = CreateWindowExW(0, windowClass.c_str(), L"Ovix stand-in", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                      nullptr, nullptr, instance, nullptr);
  if (!window) return 4;
  SetTimer(window, kLifetimeTimer, kLifetime, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}
