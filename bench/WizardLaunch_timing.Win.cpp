// The wizard's start-up as a user meets it, under Wine or Windows: starts a
// setup and watches the screen from outside. The language dialog's OK is
// clicked as soon as the dialog shows what it goes on showing; the wizard is
// painted once its window shows what it goes on showing (kSettleMs without a
// change). Prints milliseconds from the start of the process:
//   language_dialog_shown    the dialog's window is visible
//   language_dialog_painted  its pixels first as they then stay
//   ok_clicked               the click is posted
//   wizard_shown             the wizard's window (TInstallerForm) is visible
//   wizard_painted           its pixels first as they then stay
// then closes the wizard, answers its close question and waits for the setup
// to end (it is ended after kCloseTimeoutMs).
//   WizardLaunch_timing.exe SETUP.exe [ARGUMENT ...]
// Exit code: 0 when the wizard was painted, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "BenchClock.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.Strings.h"
#include "DRX.Utils.CommandLine.h"

namespace {

constexpr double kTimeoutMs = 120000;
constexpr double kSettleMs = 1000;
constexpr DWORD kCloseTimeoutMs = 30000;
constexpr int kSampleStep = 8;  // every 8th pixel of every 8th row is compared

std::wstring ClassNameOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

bool EndsWith(const std::wstring& text, const std::wstring& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

struct TWindowSearch {
  DWORD ProcessId;
  bool (*Matches)(const std::wstring& className);
  HWND Found = nullptr;
};

// A visible top-level window of the process whose class matches.
HWND FindProcessWindow(DWORD processId, bool (*matches)(const std::wstring&)) {
  TWindowSearch search{processId, matches};
  EnumWindows(
      [](HWND window, LPARAM data) {
        auto& search = *reinterpret_cast<TWindowSearch*>(data);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search.ProcessId || !IsWindowVisible(window) || !search.Matches(ClassNameOf(window))) return TRUE;
        search.Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.Found;
}

bool IsLanguageDialog(const std::wstring& name) { return EndsWith(name, L"LanguageDialog"); }
bool IsWizard(const std::wstring& name) { return name == L"TInstallerForm"; }
bool IsMessageBox(const std::wstring& name) { return name == L"#32770"; }

// The window's client area as the screen shows it, every kSampleStep-th pixel.
std::vector<COLORREF> ScreenSamples(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  std::vector<COLORREF> samples;
  if (client.right <= 0 || client.bottom <= 0) return samples;
  TDRXDIBCanvas canvas(client.right, client.bottom);
  HDC screen = GetDC(nullptr);
  BitBlt(canvas.DC(), 0, 0, canvas.Width(), canvas.Height(), screen, origin.x, origin.y, SRCCOPY);
  ReleaseDC(nullptr, screen);
  GdiFlush();
  for (int y = 0; y < canvas.Height(); y += kSampleStep)
    for (int x = 0; x < canvas.Width(); x += kSampleStep) samples.push_back(canvas.Pixel(x, y));
  return samples;
}

class TLaunch {
 public:
  explicit TLaunch(const PROCESS_INFORMATION& process) : process_(process) {}

  // Polls until the process shows a matching window; its time, or a negative one.
  HWND WaitForWindow(bool (*matches)(const std::wstring&), double& shownAt) {
    while (Running()) {
      if (HWND window = FindProcessWindow(process_.dwProcessId, matches)) {
        shownAt = clock_.Milliseconds();
        return window;
      }
      Sleep(1);
    }
    shownAt = -1;
    return nullptr;
  }

  // The time of the first look at the window that showed what it then showed
  // for kSettleMs; negative when the window went or the time ran out first.
  double WaitUntilPainted(HWND window) {
    std::vector<COLORREF> last = ScreenSamples(window);
    double changedAt = clock_.Milliseconds();
    while (Running() && IsWindow(window)) {
      Sleep(1);
      const double now = clock_.Milliseconds();
      std::vector<COLORREF> samples = ScreenSamples(window);
      if (samples != last) {
        last = std::move(samples);
        changedAt = now;
      } else if (now - changedAt >= kSettleMs) {
        return changedAt;
      }
    }
    return -1;
  }

  double Now() const { return clock_.Milliseconds(); }

  // Closes the wizard, answering the close question, and waits for the setup to end.
  void Close(HWND wizard) {
    PostMessageW(wizard, WM_CLOSE, 0, 0);
    const ULONGLONG end = GetTickCount64() + kCloseTimeoutMs;
    while (WaitForSingleObject(process_.hProcess, 20) == WAIT_TIMEOUT) {
      if (GetTickCount64() > end) {
        TerminateProcess(process_.hProcess, 1);
        return;
      }
      if (HWND box = FindProcessWindow(process_.dwProcessId, IsMessageBox)) PostMessageW(box, WM_COMMAND, IDOK, 0);
    }
  }

 private:
  bool Running() const {
    return clock_.Milliseconds() < kTimeoutMs && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
  }

  const PROCESS_INFORMATION& process_;
  TBenchClock clock_;
};

// The first button of the dialog (its only one, OK).
HWND FirstButton(HWND dialog) {
  HWND found = nullptr;
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) {
        if (ClassNameOf(child) != L"TDRXButton") return TRUE;
        *reinterpret_cast<HWND*>(data) = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

void Print(const char* what, double milliseconds) {
  std::printf("%s %.1f\n", what, milliseconds);
  std::fflush(stdout);
}

int Fail(const char* what) {
  std::fprintf(stderr, "WizardLaunch_timing: %s\n", what);
  return 1;
}

}  // namespace

int main() {
  std::wstring command(W(GetCommandLineParams()));
  if (command.empty()) {
    std::fprintf(stderr, "usage: WizardLaunch_timing.exe SETUP.exe [ARGUMENT ...]\n");
    return 1;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return Fail("cannot start the setup");
  TLaunch launch(process);
  double at = 0;
  if (HWND dialog = launch.WaitForWindow(IsLanguageDialog, at)) {
    Print("language_dialog_shown", at);
    Print("language_dialog_painted", launch.WaitUntilPainted(dialog));
    const HWND ok = FirstButton(dialog);
    if (ok)
      PostMessageW(ok, BM_CLICK, 0, 0);
    else
      PostMessageW(dialog, WM_CLOSE, 0, 0);
    Print("ok_clicked", launch.Now());
  }
  const HWND wizard = launch.WaitForWindow(IsWizard, at);
  if (!wizard) return Fail("no wizard showed");
  Print("wizard_shown", at);
  const double painted = launch.WaitUntilPainted(wizard);
  if (painted < 0) return Fail("the wizard did not settle");
  Print("wizard_painted", painted);
  launch.Close(wizard);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return 0;
}
