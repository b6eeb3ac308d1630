// A program that RunAndWait is tested with:
//   run_and_wait_child "<record file>" <window handle>
// Before it ever reads input it sends a message to the window (the waiting
// parent must keep delivering sent messages), then writes the window's answer
// to the record file ("none" when the message was not delivered within ten
// seconds) and ends.
#include <windows.h>
#include <shellapi.h>

#include <string>

namespace {
constexpr UINT kQuestion = WM_APP + 1;
constexpr UINT kAnswerTimeoutMs = 10000;
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 3;
  const std::wstring record = arguments[1];
  const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(_wtoi64(arguments[2])));
  LocalFree(arguments);

  DWORD_PTR answer = 0;
  const bool answered =
      SendMessageTimeoutW(window, kQuestion, GetCurrentProcessId(), 0, SMTO_NORMAL, kAnswerTimeoutMs, &answer) != 0;
  MSG message;
  PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE);  // now waiting for input

  const std::string text = answered ? std::to_string(answer) : "none";
  const HANDLE file = CreateFileW(record.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
  return ok ? 0 : 1;
}
