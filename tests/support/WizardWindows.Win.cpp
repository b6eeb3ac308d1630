#include "WizardWindows.h"

#include "AccessibleTree.h"
#include "DRX.UI.Controls.h"
#include "TestDialogs.h"

namespace {

bool EndsWith(const UString& text, UStringView end) {
  return text.size() >= end.size() && UStringView(text).substr(text.size() - end.size()) == end;
}

}  // namespace

std::vector<HWND> VisibleTopLevelWindows() {
  std::vector<HWND> windows;
  EnumWindows(
      [](HWND window, LPARAM data) {
        if (IsWindowVisible(window)) reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&windows));
  return windows;
}

HWND FindVisibleTopLevel(bool (*matches)(HWND)) {
  for (HWND window : VisibleTopLevelWindows())
    if (matches(window)) return window;
  return nullptr;
}

HWND WaitForVisibleTopLevel(bool (*matches)(HWND), DWORD timeoutMs) {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (HWND window = FindVisibleTopLevel(matches)) return window;
    if (GetTickCount64() >= end) return nullptr;
    PumpAndWait(50);
  }
}

void PumpAndWait(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(20);
  } while (GetTickCount64() < end);
}

bool IsLanguageDialog(HWND window) { return EndsWith(WindowClassName(window), u"LanguageDialog"); }
bool IsWizardWindow(HWND window) { return WindowClassName(window) == u"TInstallerForm"; }
bool IsMessageBoxWindow(HWND window) { return WindowClassName(window) == u"#32770"; }
bool IsPlayerWindow(HWND window) { return WindowClassName(window) == u"TOvixMainForm"; }

HWND WizardNextButton(HWND wizard) {
  HWND next = nullptr;
  RECT best{};
  for (HWND button : VisibleChildren(wizard, u"TDRXButton")) {
    RECT place{};
    GetWindowRect(button, &place);
    if (!next || place.top > best.top || (place.top == best.top && place.left > best.left)) {
      next = button;
      best = place;
    }
  }
  return next;
}

UString WizardPageDescription(HWND wizard) { return ReadAccessibleTree(wizard, 1).Description; }

std::vector<HWND> VisibleChildren(HWND parent, UStringView className) {
  std::vector<HWND> visible;
  for (HWND child : ChildWindows(parent, className))
    if (IsWindowVisible(child)) visible.push_back(child);
  return visible;
}

HWND FindControl(HWND parent, UStringView className, UStringView caption) {
  const UString wanted = StripAccelerator(caption);
  for (HWND child : VisibleChildren(parent, className))
    if (StripAccelerator(WindowText(child)) == wanted) return child;
  return nullptr;
}

bool IsChecked(HWND box) { return SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }

void SelectLanguage(HWND dialog, int index) {
  if (index < 0) return;
  for (HWND combo : ChildWindows(dialog))
    if (WindowClassName(combo).find(u"Combo") != UString::npos)
      SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void ConfirmLanguage(HWND dialog) {
  if (HWND ok = FindChildByText(dialog, u"TDRXButton", u"OK")) PostMessageW(ok, BM_CLICK, 0, 0);
}

// ---- The keyboard ----

namespace {

constexpr DWORD kKeyAnswerMs = 150;

}  // namespace

HWND FocusedWindowOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void PostKey(HWND window, UINT key) {
  HWND target = FocusedWindowOf(window);
  if (!target) target = window;
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  PumpAndWait(kKeyAnswerMs);
}

void PostAltKey(HWND window, char16_t letter) {
  HWND target = FocusedWindowOf(window);
  if (!target) target = window;
  PostMessageW(target, WM_SYSKEYDOWN, VK_MENU, 0x20000001);
  PostMessageW(target, WM_SYSCHAR, letter, 0x20000001);
  PostMessageW(target, WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001));
  PumpAndWait(kKeyAnswerMs);
}

void PostText(HWND window, UStringView text) {
  HWND target = FocusedWindowOf(window);
  if (!target) return;
  for (const char16_t character : text) PostMessageW(target, WM_CHAR, character, 1);
  PumpAndWait(kKeyAnswerMs);
}

bool TabUntil(HWND window, const std::function<bool(HWND focused)>& reached) {
  for (int i = 0; i < 20; ++i) {
    if (HWND focused = FocusedWindowOf(window); focused && reached(focused)) return true;
    PostKey(window, VK_TAB);
  }
  return false;
}

bool TabTo(HWND window, UStringView caption) {
  const UString wanted = StripAccelerator(caption);
  return TabUntil(window, [&](HWND focused) { return StripAccelerator(WindowText(focused)) == wanted; });
}
