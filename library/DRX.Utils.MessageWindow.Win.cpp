#include <windows.h>

#include "DRX.Utils.MessageWindow.h"

#include "DRX.Exceptions.h"

TDRXMessageWindow::TDRXMessageWindow(const UString& className, THandler handler) : handler_(std::move(handler)) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  if (!GetClassInfoExW(instance, W(className), &windowClass)) {
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(&TDRXMessageWindow::WindowProc);
    windowClass.hInstance = instance;
    windowClass.lpszClassName = W(className);
    if (!RegisterClassExW(&windowClass)) RaiseLastOSError();
  }
  handle_ = CreateWindowExW(0, W(className), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
  if (!handle_) RaiseLastOSError();
}

TDRXMessageWindow::~TDRXMessageWindow() {
  SetWindowLongPtrW(static_cast<HWND>(handle_), GWLP_USERDATA, 0);
  DestroyWindow(static_cast<HWND>(handle_));
}

intptr_t __stdcall TDRXMessageWindow::WindowProc(void* window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const HWND handle = static_cast<HWND>(window);
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TDRXMessageWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
  intptr_t result = 0;
  if (self && self->handler_ && self->handler_(message, wParam, lParam, result)) return result;
  return DefWindowProcW(handle, message, wParam, lParam);
}
