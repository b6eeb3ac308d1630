#include "DRX.UI.Controls.SystemWindow.h"

#include <commctrl.h>

#include <exception>

#include "DRX.Exceptions.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.h"

namespace {

constexpr UINT_PTR kSubclassId = 0x44525853;  // "DRXS"

}  // namespace

TDRXSystemWindow::~TDRXSystemWindow() { Destroy(); }

void TDRXSystemWindow::CreateIn(HWND parent, const TRect& bounds, int id) {
  if (handle_) return;
  TDRXSystemWindowParams params;
  CreateParams(params);
  HWND window = CreateWindowExW(params.ExStyle, W(params.ClassName), L"", params.Style, bounds.Left, bounds.Top,
                                bounds.Width(), bounds.Height(), parent,
                                reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!window) throw EOSError(u"CreateWindowEx", GetLastError());
  if (!SetWindowSubclass(window, &SubclassProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
    const DWORD error = GetLastError();
    DestroyWindow(window);
    throw EOSError(u"SetWindowSubclass", error);
  }
  handle_ = window;
  HandleCreated();
}

void TDRXSystemWindow::Destroy() {
  if (!handle_) return;
  HWND window = handle_;
  handle_ = nullptr;
  RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
  DestroyWindow(window);
}

LRESULT CALLBACK TDRXSystemWindow::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<TDRXSystemWindow*>(data);
  if (message == WM_NCDESTROY) {
    RemoveWindowSubclass(window, &SubclassProc, kSubclassId);
    if (self && self->handle_ == window) self->handle_ = nullptr;
    return DefSubclassProc(window, message, wParam, lParam);
  }
  if (!self || self->handle_ != window) return DefSubclassProc(window, message, wParam, lParam);
  try {
    return self->WndProc(message, wParam, lParam);
  } catch (...) {
    TDRXApplication::HandleException(std::current_exception());
    return 0;
  }
}

intptr_t TDRXSystemWindow::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return DefaultHandler(message, wParam, lParam);
}

intptr_t TDRXSystemWindow::DefaultHandler(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return handle_ ? DefSubclassProc(handle_, message, wParam, lParam) : 0;
}

UString TDRXSystemWindow::Text() const {
  if (!handle_) return {};
  const int length = GetWindowTextLengthW(handle_);
  UString text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(handle_, W(text), length + 1)));
  return text;
}

void TDRXSystemWindow::SetText(UStringView text) {
  if (handle_) SetWindowTextW(handle_, W(UString(text)));
}

bool TDRXInnerWindow::IsDialogKey(uintptr_t key) const {
  return (key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE) && !KeepsKey(static_cast<uint16_t>(key));
}

void TDRXInnerWindow::TrackHover() {
  if (hover_) return;
  TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, Handle(), 0};
  hover_ = TrackMouseEvent(&track) != FALSE;
  if (hover_) host_.InnerHoverChanged(true);
}

TDRXInnerWindow::TDRXInnerWindow(IDRXInnerWindowHost& host) : host_(host) {}

TDRXInnerWindow::~TDRXInnerWindow() = default;

TDRXAccessibleItem TDRXInnerWindow::AccessibleSelf() {
  TDRXAccessibleItem item;
  item.State |= DRXAccessibleState::Focusable;
  InnerAccessibleItem(item);
  return item;
}

// Only for a kind that describes itself, and only where the window class has
// no object of its own (a rich edit on Windows has one; under Wine it has not).
bool TDRXInnerWindow::HandleAccessibility(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
  if (message == WM_GETOBJECT) {
    TDRXAccessibleItem probe;
    if (static_cast<LONG>(lParam) != OBJID_CLIENT || !InnerAccessibleItem(probe)) return false;
    if ((result = DefaultHandler(message, wParam, lParam)) != 0) return true;
    if (!accessible_) accessible_ = std::make_unique<TDRXAccessibleWindow>(static_cast<IDRXAccessibleSource&>(*this));
  }
  return accessible_ && accessible_->HandleMessage(Handle(), message, wParam, lParam, result);
}

intptr_t TDRXInnerWindow::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (intptr_t answer = 0; HandleAccessibility(message, wParam, lParam, answer)) return answer;
  switch (message) {
    case WM_KEYDOWN:
      if (IsDialogKey(wParam) && host_.InnerDialogKey(static_cast<uint16_t>(wParam))) return 0;
      break;
    case WM_SYSKEYDOWN:
      if (wParam == VK_MENU) ShowKeyboardCues(Handle());
      break;
    case WM_SYSCHAR:
      if (host_.InnerDialogChar(static_cast<char16_t>(wParam))) return 0;
      break;
    case WM_CHAR:
      if ((wParam == u'\t' && IsDialogKey(VK_TAB)) || (wParam == u'\r' && IsDialogKey(VK_RETURN)) ||
          (wParam == 0x1B && IsDialogKey(VK_ESCAPE)))
        return 0;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      const intptr_t result = DefaultHandler(message, wParam, lParam);
      host_.InnerFocusChanged(message == WM_SETFOCUS);
      return result;
    }
    case WM_KEYUP:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_VSCROLL:
    case WM_HSCROLL:
    case WM_TIMER:
    case WM_LBUTTONUP:
    case WM_SIZE:
    case EM_SCROLL:
    case EM_LINESCROLL:
    case EM_SCROLLCARET:
    case EM_SETSEL: {
      const intptr_t result = DefaultHandler(message, wParam, lParam);
      host_.InnerContentMoved();
      return result;
    }
    case WM_MOUSELEAVE:
      hover_ = false;
      host_.InnerHoverChanged(false);
      break;
    case WM_MOUSEMOVE:
      TrackHover();
      if (wParam & MK_LBUTTON) {  // selecting may scroll
        const intptr_t result = DefaultHandler(message, wParam, lParam);
        host_.InnerContentMoved();
        return result;
      }
      break;
    default:
      break;
  }
  const intptr_t result = DefaultHandler(message, wParam, lParam);
  if (message == WM_KEYDOWN || message == WM_CHAR) host_.InnerContentMoved();
  return result;
}
