// wizard_capture.exe OUT RUN OPTIONS PROGRAM [ARGUMENTS...]
//
// Starts PROGRAM (a setup or an uninstaller) and walks its dialogs the way a
// person clicking "Next" would, writing each thing it meets as the screen
// shows it into the folder OUT: "RUN-language.png" for the language dialog,
// "RUN-message.png" for the first message box, "RUN-NN.png" for the NN-th
// wizard page, and beside each picture a ".txt" with what a screen reader
// reads of the window (the accessible tree).
//
// OPTIONS is "-" or a comma-separated list of
//   language=N  choose the N-th language (0-based, in the dialog's order);
//   close=N     close the wizard on its N-th page (the question is answered OK);
//   suffix=S    end every file name with S (before the extension);
//   tabs=N      press Tab N times on each page before its picture (the focus marks show).
// The player the finish page starts is closed as soon as it shows.
// The windows of every process count, so that an uninstaller that restarts
// from the temporary folder is followed. Exits 0 once a wizard was seen and
// every window has gone, 1 on a timeout or when a picture cannot be written.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <optional>
#include <vector>

#include "AccessibleTree.h"
#include "ControlGallery.h"
#include "TestDialogs.h"
#include "WizardWindows.h"

namespace {

constexpr ULONGLONG kTimeoutMs = 120000;
constexpr DWORD kSettleMs = 700;  // a page's fades and timers have run by then

struct TOptions {
  UString Folder;
  UString Run;
  int Language = -1;
  int CloseOnPage = 0;
  UString Suffix;
  int Tabs = 0;
};

class TCapturer {
 public:
  explicit TCapturer(const TOptions& options) : options_(options) {}

  // Writes RUN-<what>.png and its accessible tree; false when it cannot (a
  // window that went meanwhile is no failure).
  bool Write(HWND window, UStringView what) {
    const UString base = options_.Folder + u"\\" + options_.Run + u"-" + UString(what) + options_.Suffix;
    if (!CaptureWindowPng(window, base + u".png")) {
      if (!IsWindow(window)) return true;
      std::fwprintf(stderr, L"wizard_capture: cannot write %ls.png\n", W(base));
      return false;
    }
    const std::string tree = DumpAccessibleTree(ReadAccessibleTree(window));
    if (FILE* file = _wfopen(W(base + u".txt"), L"wb")) {
      fwrite(tree.data(), 1, tree.size(), file);
      fclose(file);
    }
    std::wprintf(L"wizard_capture: %ls.png\n", W(base));
    return true;
  }

 private:
  const TOptions& options_;
};

// What tells one page from the next: the form's description (the page's
// title), the Next button's caption and availability, the visible controls.
UString PageSignature(HWND wizard) {
  UString signature = WizardPageDescription(wizard);
  if (HWND next = WizardNextButton(wizard)) signature += u"|" + WindowText(next) + (IsWindowEnabled(next) ? u"+" : u"-");
  for (HWND child : ChildWindows(wizard))
    if (IsWindowVisible(child)) signature += u"|" + WindowText(child);
  return signature;
}

class TWalker {
 public:
  explicit TWalker(const TOptions& options) : options_(options), capturer_(options) {}

  // One look at the screen; false when a picture could not be written.
  bool Step() {
    if (HWND player = FindVisibleTopLevel(IsPlayerWindow)) PostMessageW(player, WM_CLOSE, 0, 0);
    if (HWND box = FindVisibleTopLevel(IsMessageBoxWindow)) return AnswerMessageBox(box);
    if (HWND dialog = FindVisibleTopLevel(IsLanguageDialog)) return ChooseLanguage(dialog);
    if (HWND wizard = FindVisibleTopLevel(IsWizardWindow)) return WalkWizard(wizard);
    return true;
  }

  bool SawWizard() const { return pages_ > 0; }
  bool AnyWindowLeft() const {
    return FindVisibleTopLevel(IsMessageBoxWindow) || FindVisibleTopLevel(IsLanguageDialog) ||
           FindVisibleTopLevel(IsWizardWindow) || FindVisibleTopLevel(IsPlayerWindow);
  }

 private:
  bool AnswerMessageBox(HWND box) {
    PumpAndWait(kSettleMs);
    const bool written = messageWritten_ || capturer_.Write(box, u"message");
    messageWritten_ = true;
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    PumpAndWait(300);
    return written;
  }

  bool ChooseLanguage(HWND dialog) {
    SelectLanguage(dialog, options_.Language);
    PumpAndWait(kSettleMs);
    const bool written = capturer_.Write(dialog, u"language");
    ConfirmLanguage(dialog);
    PumpAndWait(300);
    return written;
  }

  bool WalkWizard(HWND wizard) {
    const UString signature = PageSignature(wizard);
    if (signature == lastSignature_) {
      PumpAndWait(50);  // the installation is running, or the click is on its way
      return true;
    }
    PumpAndWait(kSettleMs);
    if (!IsWindow(wizard) || PageSignature(wizard) != signature) return true;  // closing, or still changing
    lastSignature_ = signature;
    ++pages_;
    for (int i = 0; i < options_.Tabs; ++i) PostKey(wizard, VK_TAB);
    if (options_.Tabs > 0) PumpAndWait(kSettleMs);
    wchar_t number[8];
    std::swprintf(number, 8, L"%02d", pages_);
    if (!capturer_.Write(wizard, FromW(number))) return false;
    Advance(wizard);
    return true;
  }

  void Advance(HWND wizard) {
    if (pages_ == options_.CloseOnPage) {
      PostMessageW(wizard, WM_CLOSE, 0, 0);
      return;
    }
    HWND next = WizardNextButton(wizard);
    if (!next) return;
    if (!IsWindowEnabled(next)) {
      AcceptWhatGatesNext(wizard);
      return;
    }
    PostMessageW(next, BM_CLICK, 0, 0);
  }

  // A page whose Next waits for a tick (the licence): tick its boxes, once.
  void AcceptWhatGatesNext(HWND wizard) {
    for (HWND box : VisibleChildren(wizard, u"TDRXCheckBox"))
      if (SendMessageW(box, BM_GETCHECK, 0, 0) == BST_UNCHECKED) PostMessageW(box, BM_CLICK, 0, 0);
  }

  const TOptions& options_;
  TCapturer capturer_;
  UString lastSignature_;
  int pages_ = 0;
  bool messageWritten_ = false;
};

std::optional<TOptions> ParseOptions(int argc, wchar_t** argv) {
  if (argc < 5) return std::nullopt;
  TOptions options;
  options.Folder = FromW(argv[1]);
  options.Run = FromW(argv[2]);
  const std::wstring list = argv[3];
  size_t start = 0;
  while (start <= list.size()) {
    const size_t comma = std::min(list.find(L',', start), list.size());
    const std::wstring item = list.substr(start, comma - start);
    if (item.rfind(L"language=", 0) == 0) options.Language = _wtoi(item.c_str() + 9);
    if (item.rfind(L"close=", 0) == 0) options.CloseOnPage = _wtoi(item.c_str() + 6);
    if (item.rfind(L"suffix=", 0) == 0) options.Suffix = FromW(item.c_str() + 7);
    if (item.rfind(L"tabs=", 0) == 0) options.Tabs = _wtoi(item.c_str() + 5);
    start = comma + 1;
  }
  return options;
}

std::wstring CommandLineOf(int argc, wchar_t** argv) {
  std::wstring line = L"\"" + std::wstring(argv[4]) + L"\"";
  for (int i = 5; i < argc; ++i) line += L" " + std::wstring(argv[i]);
  return line;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::optional<TOptions> options = ParseOptions(argc, argv);
  if (!options) {
    std::fwprintf(stderr, L"usage: wizard_capture OUT RUN OPTIONS PROGRAM [ARGUMENTS...]\n");
    return 2;
  }
  CoInitialize(nullptr);
  std::wstring line = CommandLineOf(argc, argv);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::fwprintf(stderr, L"wizard_capture: cannot start %ls\n", argv[4]);
    return 1;
  }
  CloseHandle(process.hThread);
  TWalker walker(*options);
  const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
  bool ok = true;
  while (ok && GetTickCount64() < deadline) {
    ok = walker.Step();
    const bool started = WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT;
    if (walker.SawWizard() && !started && !walker.AnyWindowLeft()) {
      PumpAndWait(1500);  // an uninstaller's copy may still be on its way
      if (!walker.AnyWindowLeft()) break;
    }
    PumpAndWait(50);
  }
  CloseHandle(process.hProcess);
  if (GetTickCount64() >= deadline) std::fwprintf(stderr, L"wizard_capture: timed out\n");
  return ok && walker.SawWizard() && GetTickCount64() < deadline ? 0 : 1;
}
