// A program that RunAndWait is tested with:
//   run_and_wait_child "<record file>" <window handle>
// It sends a message to the window before it first looks for input and
// another one after (the waiting parent must keep delivering sent messages
// while the program starts and while it runs), writes the window's two answers
// to the record file ("none" for a message not delivered within ten seconds)
// and ends.
#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {
constexpr UINT kQuestion = WM_APP + 1;
constexpr UINT kAnswerTimeoutMs = 10000;
constexpr UINT kPauseMs = 200;
}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (!arguments || count < 3) return 3;
  const std::wstring record = arguments[1];
  const HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(_wtoi64(arguments[2])));
  LocalFree(arguments);

  const auto ask = [window] {
    DWORD_PTR answer = 0;
    const bool answered =
        SendMessageTimeoutW(window, kQuestion, GetCurrentProcessId(), 0, SMTO_NORMAL, kAnswerTimeoutMs, &answer) != 0;
    return answered ? std::to_string(answer) : std::string("none");
  };
  const std::string starting = ask();
  // Waiting for input with nothing to read makes it count as ready; the
  // parent then waits for the end (the pause gives it time to see that).
  SetTimer(nullptr, 0, kPauseMs, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) {
  }
  const std::string running = ask();

  std::ofstream out(std::filesystem::path(record), std::ios::binary | std::ios::trunc);
  out << starting << ' ' << running;
  return out.good() ? 0 : 1;
}
