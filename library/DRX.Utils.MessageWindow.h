#pragma once
// A message-only window of the calling thread with a handler in place of a
// window procedure: the channel by which other threads and processes talk to
// this one with synchronous sends.

#include <cstdint>
#include <functional>

#include "DRX.Strings.h"

class TDRXMessageWindow {
 public:
  // Return true from the handler when the message is handled, with the result in `result`.
  using THandler = std::function<bool(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result)>;

  // The window class is registered under `className` on first use.
  TDRXMessageWindow(const UString& className, THandler handler);
  ~TDRXMessageWindow();
  TDRXMessageWindow(const TDRXMessageWindow&) = delete;
  TDRXMessageWindow& operator=(const TDRXMessageWindow&) = delete;

  void* Handle() const { return handle_; }

 private:
  static intptr_t __stdcall WindowProc(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam);
  THandler handler_;
  void* handle_ = nullptr;
};
