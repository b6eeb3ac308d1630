#pragma once
// Drives the dialogs of the calling thread from a thread of its own, as a
// person would: finds the window, reads it, clicks its buttons.

#include <windows.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "DRX.Strings.h"

UString WindowText(HWND window);
UString WindowClassName(HWND window);
// The child windows of `parent` at any depth, of class `className` (every class when empty).
std::vector<HWND> ChildWindows(HWND parent, UStringView className = {});
// The first child of that class whose text is `text`; null when there is none.
HWND FindChildByText(HWND parent, UStringView className, UStringView text);
// Presses a button as a click does (BM_CLICK, sent from the driver's thread).
void ClickButton(HWND button);

// Waits on its own thread for a visible top-level window of `className` that
// belongs to the thread that made the driver, then runs `act` with it. A window
// that does not come within `timeoutMs` is not waited for any longer: every
// window of that thread is then sent WM_CLOSE, so that a test fails instead of
// hanging. The destructor waits for the thread.
class TWindowDriver {
 public:
  TWindowDriver(UStringView className, std::function<void(HWND)> act, DWORD timeoutMs = 20000);
  ~TWindowDriver();
  TWindowDriver(const TWindowDriver&) = delete;
  TWindowDriver& operator=(const TWindowDriver&) = delete;

  // Waits for the thread; true when the window was found and acted on.
  bool Finish();

 private:
  std::atomic<bool> found_{false};
  std::thread thread_;
};
