#include <windows.h>

#include "DRX.MUI.h"

namespace {

BOOL CALLBACK SendToOwnWindow(HWND window, LPARAM) {
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == GetCurrentProcessId()) SendMessageW(window, WM_DRX_LANGCHANGED, 0, 0);
  return TRUE;
}

}  // namespace

// Every form of the program is a top-level window of its process.
void BroadcastLangChangedToForms() { EnumWindows(SendToOwnWindow, 0); }
