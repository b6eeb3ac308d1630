#include <windows.h>

#include "DRX.Utils.Paths.h"
#include "TestSupport.h"

UString BinFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return ExtractFilePath(FromW(buffer, length));
}
