#pragma once
// What the stand-in programs of the demo product share: each appends one line,
// its own file name and the parameters it was started with, to a log that the
// tests and the demo read back. The log is the file named by the environment
// variable OVIX_STANDIN_LOG, else "OvixStandIns.log" in the temporary folder.

#include <windows.h>

#include <string>

inline std::wstring StandInLogFile() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(L"OVIX_STANDIN_LOG", buffer, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return std::wstring(buffer, length);
  const DWORD tempLength = GetTempPathW(MAX_PATH, buffer);
  return std::wstring(buffer, tempLength < MAX_PATH ? tempLength : 0) + L"OvixStandIns.log";
}

// The parameters: the command line without the program path (quoted or bare).
inline std::wstring StandInParameters() {
  const wchar_t* line = GetCommandLineW();
  if (*line == L'"') {
    ++line;
    while (*line && *line != L'"') ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

inline std::wstring StandInProgramName() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  const std::wstring path(buffer, length < MAX_PATH ? length : 0);
  return path.substr(path.find_last_of(L"\\/") + 1);
}

inline void RecordStart() {
  const std::wstring text = StandInProgramName() + L" " + StandInParameters() + L"\r\n";
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string bytes(size, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr, nullptr);
  const HANDLE file = CreateFileW(StandInLogFile().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

// Marks the program ready for input at once (WaitForInputIdle returns), for
// programs that the setup starts and waits for.
inline void SignalInputIdle() {
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);
}
