#include "TestDialogs.h"

UString WindowText(HWND window) {
  const int length = GetWindowTextLengthW(window);
  UString text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, W(text), length + 1)));
  return text;
}

UString WindowClassName(HWND window) {
  wchar_t name[256] = {};
  return FromW(name, static_cast<size_t>(GetClassNameW(window, name, 256)));
}

std::vector<HWND> ChildWindows(HWND parent, UStringView className) {
  struct TSearch {
    UStringView className;
    std::vector<HWND> found;
  } search{className, {}};
  EnumChildWindows(
      parent,
      [](HWND child, LPARAM data) {
        auto& s = *reinterpret_cast<TSearch*>(data);
        if (s.className.empty() || WindowClassName(child) == s.className) s.found.push_back(child);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindChildByText(HWND parent, UStringView className, UStringView text) {
  for (HWND child : ChildWindows(parent, className)) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

void ClickButton(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }

namespace {

struct TThreadSearch {
  UStringView className;
  HWND found = nullptr;
};

HWND FindThreadWindow(DWORD threadId, UStringView className) {
  TThreadSearch search{className};
  EnumThreadWindows(
      threadId,
      [](HWND window, LPARAM data) {
        auto& s = *reinterpret_cast<TThreadSearch*>(data);
        if (!IsWindowVisible(window) || WindowClassName(window) != s.className) return TRUE;
        s.found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CloseThreadWindows(DWORD threadId) {
  EnumThreadWindows(
      threadId,
      [](HWND window, LPARAM) {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return TRUE;
      },
      0);
}

}  // namespace

TWindowDriver::TWindowDriver(UStringView className, std::function<void(HWND)> act, DWORD timeoutMs) {
  const DWORD owner = GetCurrentThreadId();
  thread_ = std::thread([this, owner, name = UString(className), act = std::move(act), timeoutMs] {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (GetTickCount64() < deadline) {
      if (HWND window = FindThreadWindow(owner, name)) {
        found_ = true;
        act(window);
        return;
      }
      Sleep(10);
    }
    CloseThreadWindows(owner);
  });
}

TWindowDriver::~TWindowDriver() { Finish(); }

bool TWindowDriver::Finish() {
  if (thread_.joinable()) thread_.join();
  return found_;
}
