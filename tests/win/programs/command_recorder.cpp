// A stand-in for the product's helper programs that the setup starts
// (Rediruzu.exe, the add-on installer): it records its whole command line, as
// UTF-8, in "<own file>.cmdline" and exits. The record appears in one step
// (written under another name, then renamed), so a reader never sees part of it.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t self[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, self, MAX_PATH);
  const std::wstring record = std::wstring(self, length) + L".cmdline";
  const std::wstring partial = record + L".partial";
  const std::wstring commandLine = GetCommandLineW();
  const int units = static_cast<int>(commandLine.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, commandLine.data(), units, nullptr, 0, nullptr, nullptr);
  std::string text(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, commandLine.data(), units, text.data(), size, nullptr, nullptr);
  const HANDLE file = CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExW(partial.c_str(), record.c_str(), MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
