#include <windows.h>
#include <windowsx.h>

#include <functional>
#include <set>

#include "DRX.Exceptions.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.TextLayout.GDI.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.h"

namespace {

TPoint PointOf(LPARAM lParam) { return {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}; }

TShiftState MouseShiftState(WPARAM wParam) {
  TShiftState shift = 0;
  if (wParam & MK_SHIFT) shift |= ssShift;
  if (wParam & MK_CONTROL) shift |= ssCtrl;
  if (wParam & MK_LBUTTON) shift |= ssLeft;
  if (wParam & MK_RBUTTON) shift |= ssRight;
  if (wParam & MK_MBUTTON) shift |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

// BeginPaint and EndPaint as a pair.
class TPaintScope {
 public:
  explicit TPaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  ~TPaintScope() { EndPaint(window_, &paint_); }
  TPaintScope(const TPaintScope&) = delete;
  TPaintScope& operator=(const TPaintScope&) = delete;
  HDC DC() const { return dc_; }
  TRect Area() const { return {paint_.rcPaint.left, paint_.rcPaint.top, paint_.rcPaint.right, paint_.rcPaint.bottom}; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  HDC dc_;
};

}  // namespace

// The window procedure of every window of the library.
struct TDRXWinControlThunk {
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    TDRXWinControl* control;
    if (message == WM_NCCREATE) {
      control = static_cast<TDRXWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
      if (control) control->handle_ = window;
    } else {
      control = reinterpret_cast<TDRXWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    }
    if (!control) return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result = 0;
    try {
      result = control->WndProc(message, wParam, lParam);
    } catch (...) {
      TDRXApplication::HandleException(std::current_exception());
      if (message == WM_NCCREATE) result = FALSE;
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      control->HandleDestroyed();
    }
    return result;
  }
};

namespace {

void RegisterWindowClass(const UString& name) {
  static std::set<UString>* registered = new std::set<UString>;
  if (registered->count(name)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &TDRXWinControlThunk::WindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = W(name);
  if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw EOSError(u"RegisterClassEx", GetLastError());
  registered->insert(name);
}

}  // namespace

// ---- Painting of windowless controls ----

void TDRXCustomControl::PaintTo(HDC dc) {
  {
    TDRXSavedDCState saved(dc);
    Paint(dc);
  }
  for (TDRXCustomControl* child : controls_) {
    if (child->IsWindowed() || !child->visible_) continue;
    const RECT area = ToRECT(child->bounds_);
    if (!RectVisible(dc, &area)) continue;
    TDRXSavedDCState saved(dc);
    OffsetViewportOrgEx(dc, child->bounds_.Left, child->bounds_.Top, nullptr);
    IntersectClipRect(dc, 0, 0, child->Width(), child->Height());
    child->PaintTo(dc);
  }
}

// ---- TDRXWinControl ----

TDRXWinControl::TDRXWinControl(TDRXComponent* owner)
    : TDRXCustomControl(owner),
      accessible_(std::make_unique<TDRXAccessibleWindow>(static_cast<IDRXAccessibleSource&>(*this))) {}

TDRXWinControl::~TDRXWinControl() {
  DestroyChildren();
  DestroyHandle();
}

TDRXWinControl* TDRXWinControl::FromHandle(HWND window) {
  if (!window || GetWindowLongPtrW(window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&TDRXWinControlThunk::WindowProc))
    return nullptr;
  return reinterpret_cast<TDRXWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND TDRXWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TDRXWinControl::CreateParams(TDRXCreateParams& params) {
  params.ClassName = ClassName();
  params.Style = WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (Showing()) params.Style |= WS_VISIBLE;
  TDRXWinControl* parent = ParentWindow();
  params.ParentWindow = parent ? parent->Handle() : nullptr;
}

void TDRXWinControl::CreateHandle() {
  if (handle_) return;
  TDRXCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && !params.ParentWindow) return;  // not yet under a window
  RegisterWindowClass(params.ClassName);
  TRect place = BoundsRect();
  if (params.Style & WS_CHILD) place = TRect::FromSize(OriginInParentWindow(), {Width(), Height()});
  const UString caption = Caption();
  CreateWindowExW(params.ExStyle, W(params.ClassName), W(caption), params.Style, place.Left, place.Top,
                  place.Width(), place.Height(), params.ParentWindow, nullptr, GetModuleHandleW(nullptr), this);
  if (!handle_) throw EOSError(u"CreateWindowEx", GetLastError());
  windowPlace_ = place;
  windowShown_ = (params.Style & WS_VISIBLE) != 0;
  HandleCreated();
  for (int i = 0; i < ControlCount(); ++i) CreateChildHandles(*Controls(i));
}

void TDRXWinControl::CreateChildHandles(TDRXCustomControl& control) {
  if (TDRXWinControl* window = control.AsWinControl()) {
    window->CreateHandle();  // makes its own children's windows
    return;
  }
  for (int i = 0; i < control.ControlCount(); ++i) CreateChildHandles(*control.Controls(i));
}

void TDRXWinControl::DestroyHandle() {
  if (!handle_) return;
  HWND window = handle_;
  // The object is going: the window's last messages go to the default procedure.
  SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  HandleDestroyed();
  DestroyWindow(window);
}

void TDRXWinControl::HandleDestroyed() {
  accessible_->Detach();
  handle_ = nullptr;
  mouseTarget_ = nullptr;
  hoverControl_ = nullptr;
  trackingLeave_ = false;
}

void TDRXWinControl::ForgetControl(TDRXCustomControl* control) {
  auto within = [control](TDRXCustomControl* candidate) {
    for (; candidate; candidate = candidate->Parent())
      if (candidate == control) return true;
    return false;
  };
  if (within(mouseTarget_)) {
    mouseTarget_ = nullptr;
    if (handle_ && GetCapture() == handle_) ReleaseCapture();
  }
  if (within(hoverControl_)) hoverControl_ = nullptr;
}

void TDRXWinControl::ParentChanged() {
  if (handle_) {
    TDRXWinControl* parent = ParentWindow();
    HWND parentHandle = parent ? parent->Handle() : nullptr;
    if (parentHandle && GetParent(handle_) != parentHandle) ::SetParent(handle_, parentHandle);
  } else {
    TDRXWinControl* parent = ParentWindow();
    if (parent && parent->HandleAllocated()) CreateHandle();
  }
  TDRXCustomControl::ParentChanged();
}

void TDRXWinControl::UpdateWindowPlacement() {
  if (!handle_ || !(GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)) return;
  const TRect place = TRect::FromSize(OriginInParentWindow(), {Width(), Height()});
  const bool shown = Showing();
  if (place == windowPlace_ && shown == windowShown_) return;  // each move costs a round trip
  windowPlace_ = place;
  windowShown_ = shown;
  SetWindowPos(handle_, nullptr, place.Left, place.Top, place.Width(), place.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE | (shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TDRXWinControl::PlacementChanged() {
  UpdateWindowPlacement();
  TDRXCustomControl::PlacementChanged();
}

void TDRXWinControl::EnabledChanged() {
  if (handle_) EnableWindow(handle_, Enabled());
  NotifyAccessibleChange(EVENT_OBJECT_STATECHANGE);
  Invalidate();
}

void TDRXWinControl::CaptionChanged() {
  if (handle_) {
    const UString caption = Caption();
    const int length = GetWindowTextLengthW(handle_);
    UString shown(static_cast<size_t>(length) + 1, u'\0');
    shown.resize(static_cast<size_t>(GetWindowTextW(handle_, W(shown), length + 1)));
    if (shown != caption) SetWindowTextW(handle_, W(caption));
  }
  NotifyAccessibleChange(EVENT_OBJECT_NAMECHANGE);
  Invalidate();
}

// ---- Focus and tab order ----

bool TDRXWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TDRXWinControl::CanFocus() const { return Showing() && EnabledInTree(); }

void TDRXWinControl::SetFocus() {
  if (CanFocus() && Handle()) ::SetFocus(handle_);
}

namespace {

void CollectTabList(const TDRXCustomControl& control, std::vector<TDRXWinControl*>& list) {
  for (TDRXCustomControl* child : control.ControlsInTabOrder()) {
    if (TDRXWinControl* window = child->AsWinControl()) list.push_back(window);
    CollectTabList(*child, list);
  }
}

}  // namespace

std::vector<TDRXWinControl*> TDRXWinControl::TabList() {
  std::vector<TDRXWinControl*> list;
  CollectTabList(*this, list);
  return list;
}

bool TDRXWinControl::FormKey(uint16_t key, TShiftState shift) {
  TDRXWinControl* root = Root()->AsWinControl();
  return root && root != this && root->FormKey(key, shift);
}

bool TDRXWinControl::FormChar(char16_t character, bool alt) {
  TDRXWinControl* root = Root()->AsWinControl();
  return root && root != this && root->FormChar(character, alt);
}

void TDRXWinControl::FocusChangedTo(TDRXWinControl* control) {
  TDRXWinControl* root = Root()->AsWinControl();
  if (root && root != this) root->FocusChangedTo(control);
}

intptr_t TDRXWinControl::OnGetObject(uintptr_t wParam, intptr_t lParam) {
  intptr_t result = 0;
  if (handle_ && accessible_->HandleMessage(handle_, WM_GETOBJECT, wParam, lParam, result)) return result;
  return DefaultHandler(WM_GETOBJECT, wParam, lParam);
}

// ---- What screen readers learn ----

TDRXAccessibleItem TDRXWinControl::AccessibleSelf() {
  TDRXAccessibleItem item;
  item.Name = StripAccelerator(Caption());
  item.Shortcut = AcceleratorShortcut(Caption());
  if (TabStop() && CanFocus()) item.State |= DRXAccessibleState::Focusable;
  AccessibleItem(item);
  return item;
}

std::vector<TDRXWinControl::TWindowlessAccessible> TDRXWinControl::AccessibleWindowless() {
  std::vector<TWindowlessAccessible> found;
  std::function<void(TDRXCustomControl&)> walk = [&](TDRXCustomControl& container) {
    for (int i = 0; i < container.ControlCount(); ++i) {
      TDRXCustomControl* control = container.Controls(i);
      if (control->IsWindowed() || !control->Visible()) continue;
      TDRXAccessibleItem item;
      item.Name = StripAccelerator(control->Caption());
      item.Shortcut = AcceleratorShortcut(control->Caption());
      const TPoint origin = control->OriginInParentWindow();
      const uint32_t unavailable = control->EnabledInTree() ? 0 : DRXAccessibleState::Unavailable;
      if (control->AccessibleItem(item)) {
        item.Bounds = ::Bounds(origin.X, origin.Y, control->Width(), control->Height());
        item.State |= unavailable;
        found.push_back({control, std::move(item)});
        std::vector<TDRXAccessibleItem> subItems = control->AccessibleSubItems();
        for (size_t k = 0; k < subItems.size(); ++k) {
          subItems[k].Bounds.Offset(origin.X, origin.Y);
          subItems[k].State |= unavailable;
          found.push_back({control, std::move(subItems[k]), static_cast<int>(k)});
        }
      }
      walk(*control);
    }
  };
  walk(*this);
  return found;
}

std::vector<TDRXAccessibleItem> TDRXWinControl::AccessibleParts() {
  std::vector<TDRXAccessibleItem> parts;
  for (TWindowlessAccessible& element : AccessibleWindowless()) parts.push_back(std::move(element.Item));
  return parts;
}

void TDRXWinControl::AccessibleDoDefaultAction(int part) {
  if (part == 0) {
    if (EnabledInTree()) AccessibleDefaultAction();
    return;
  }
  auto windowless = AccessibleWindowless();
  if (part < 1 || static_cast<size_t>(part) > windowless.size()) return;
  const TWindowlessAccessible& element = windowless[static_cast<size_t>(part) - 1];
  if (!element.Control->EnabledInTree()) return;
  if (element.SubItem < 0)
    element.Control->AccessibleDefaultAction();
  else
    element.Control->AccessibleSubItemAction(static_cast<size_t>(element.SubItem));
}

void TDRXCustomControl::NotifyAccessibleChange(uint32_t event) {
  if (TDRXWinControl* self = AsWinControl()) {
    if (self->HandleAllocated()) NotifyAccessibleEvent(self->handle_, event);
    return;
  }
  TDRXWinControl* window = ParentWindow();
  if (!window || !window->HandleAllocated() || !Visible()) return;
  auto windowless = window->AccessibleWindowless();
  std::vector<TDRXAccessibleItem> parts;
  size_t mine = windowless.size();
  for (size_t i = 0; i < windowless.size(); ++i) {
    if (windowless[i].Control == this && windowless[i].SubItem < 0 && mine == windowless.size()) mine = i;
    parts.push_back(windowless[i].Item);
  }
  if (mine == windowless.size()) return;
  NotifyAccessibleEvent(window->handle_, event, AccessibleChildIdOfPart(window->handle_, parts, mine));
}

// ---- Painting ----

void TDRXWinControl::InvalidateRect(const TRect& rect) {
  if (!handle_) return;
  const RECT area = ToRECT(rect);
  ::InvalidateRect(handle_, &area, FALSE);
}

void TDRXWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

void TDRXWinControl::PaintBackground(HDC dc) {
  TDRXWinControl* parent = ParentWindow();
  if (!parent) return;
  const TPoint origin = OriginInParentWindow();
  TDRXSavedDCState saved(dc);
  OffsetViewportOrgEx(dc, -origin.X, -origin.Y, nullptr);
  IntersectClipRect(dc, origin.X, origin.Y, origin.X + Width(), origin.Y + Height());
  parent->PaintWindow(dc);
}

void TDRXWinControl::PaintWindow(HDC dc) {
  {
    TDRXSavedDCState saved(dc);
    PaintBackground(dc);
  }
  PaintTo(dc);
}

void TDRXWinControl::PaintTree(HDC dc) {
  PaintWindow(dc);
  for (TDRXWinControl* window : TabList()) {
    if (!window->Showing() || window->ParentWindow() == nullptr) continue;
    // Where the window sits in this one's client area.
    TPoint origin{};
    for (TDRXCustomControl* control = window; control && control != this; control = control->ParentWindow()) {
      const TPoint step = control->OriginInParentWindow();
      origin.X += step.X;
      origin.Y += step.Y;
    }
    TDRXSavedDCState saved(dc);
    OffsetViewportOrgEx(dc, origin.X, origin.Y, nullptr);
    IntersectClipRect(dc, 0, 0, window->Width(), window->Height());
    window->PaintWindow(dc);
  }
}

intptr_t TDRXWinControl::OnPaintMessage() {
  TPaintScope paint(handle_);
  const TRect area = RectIntersection(paint.Area(), ClientRect());
  if (area.IsEmpty()) return 0;
  TDRXDIBCanvas buffer(area.Width(), area.Height());
  {
    TDRXSavedDCState saved(buffer.DC());
    SetViewportOrgEx(buffer.DC(), -area.Left, -area.Top, nullptr);
    PaintWindow(buffer.DC());
  }
  GdiFlush();
  BitBlt(paint.DC(), area.Left, area.Top, area.Width(), area.Height(), buffer.DC(), 0, 0, SRCCOPY);
  return 0;
}

// ---- Mouse ----

void TDRXWinControl::RouteMouseMove(TShiftState shift, TPoint point) {
  TPoint local{};
  TDRXCustomControl* hit = WindowlessControlAt(point, local);
  TDRXCustomControl* hover = hit ? hit : this;
  if (hover != hoverControl_) {
    TDRXCustomControl* previous = hoverControl_;
    hoverControl_ = hover;
    if (previous) previous->SetMouseInControl(false);
    hover->SetMouseInControl(true);
  }
  if (mouseTarget_) {
    const TPoint origin = mouseTarget_->OriginInParentWindow();
    mouseTarget_->MouseMove(shift, point.X - origin.X, point.Y - origin.Y);
  } else if (hit) {
    hit->MouseMove(shift, local.X, local.Y);
  } else {
    MouseMove(shift, point.X, point.Y);
  }
}

void TDRXWinControl::ReleaseMouseTarget() {
  mouseTarget_ = nullptr;
  if (handle_ && GetCapture() == handle_) ReleaseCapture();
}

intptr_t TDRXWinControl::OnMouseMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const TPoint point = PointOf(lParam);
  const TShiftState shift = MouseShiftState(wParam);
  TMouseButton button = mbLeft;
  if (message == WM_RBUTTONDOWN || message == WM_RBUTTONUP) button = mbRight;
  if (message == WM_MBUTTONDOWN || message == WM_MBUTTONUP) button = mbMiddle;
  switch (message) {
    case WM_MOUSEMOVE:
      if (!trackingLeave_) {
        TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, handle_, 0};
        trackingLeave_ = TrackMouseEvent(&track) != FALSE;
      }
      RouteMouseMove(shift, point);
      return 0;
    case WM_MOUSELEAVE:
      trackingLeave_ = false;
      if (TDRXCustomControl* previous = std::exchange(hoverControl_, nullptr)) previous->SetMouseInControl(false);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      SetCapture(handle_);
      TPoint local{};
      if (!mouseTarget_) mouseTarget_ = WindowlessControlAt(point, local);
      if (mouseTarget_) {
        const TPoint origin = mouseTarget_->OriginInParentWindow();
        mouseTarget_->MouseDown(button, shift, point.X - origin.X, point.Y - origin.Y);
      } else {
        MouseDown(button, shift, point.X, point.Y);
      }
      return 0;
    }
    default: {  // a button went up
      const bool last = (wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) == 0;
      const std::weak_ptr<const void> alive = AliveToken();
      if (TDRXCustomControl* target = mouseTarget_) {
        if (last) mouseTarget_ = nullptr;
        const TPoint origin = target->OriginInParentWindow();
        target->MouseUp(button, shift, point.X - origin.X, point.Y - origin.Y);
      } else {
        MouseUp(button, shift, point.X, point.Y);
      }
      if (!alive.expired() && last && handle_ && GetCapture() == handle_) ReleaseCapture();
      return 0;
    }
  }
}

// ---- Messages ----

intptr_t TDRXWinControl::DefaultHandler(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return handle_ ? DefWindowProcW(handle_, message, wParam, lParam) : 0;
}

intptr_t TDRXWinControl::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_PAINT:
      return OnPaintMessage();
    case WM_ERASEBKGND:
      return 1;  // the paint covers everything
    case WM_PRINTCLIENT:
      PaintWindow(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_NCHITTEST: {
      const intptr_t result = DefaultHandler(message, wParam, lParam);
      if (result != HTCLIENT || !(GetWindowLongW(handle_, GWL_STYLE) & WS_CHILD)) return result;
      POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      ScreenToClient(handle_, &point);
      return HitTest({point.x, point.y}) ? result : HTTRANSPARENT;
    }
    case WM_MOUSEMOVE:
    case WM_MOUSELEAVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
      return OnMouseMessage(message, wParam, lParam);
    case WM_CAPTURECHANGED:
      mouseTarget_ = nullptr;
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      const auto key = static_cast<uint16_t>(wParam);
      const TShiftState shift = KeyboardShiftState();
      if (key == VK_MENU) ShowKeyboardCues(handle_);
      if (!WantsKey(key) && FormKey(key, shift)) return 0;
      KeyDown(key, shift);
      return message == WM_SYSKEYDOWN ? DefaultHandler(message, wParam, lParam) : 0;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
      KeyUp(static_cast<uint16_t>(wParam), KeyboardShiftState());
      return message == WM_SYSKEYUP ? DefaultHandler(message, wParam, lParam) : 0;
    case WM_CHAR: {
      const auto character = static_cast<char16_t>(wParam);
      if (character >= u' ' && !WantsChars() && FormChar(character, false)) return 0;
      KeyPress(character);
      return 0;
    }
    case WM_SYSCHAR:
      if (FormChar(static_cast<char16_t>(wParam), true)) return 0;
      return DefaultHandler(message, wParam, lParam);
    case WM_SETFOCUS: {
      const std::weak_ptr<const void> alive = AliveToken();
      NotifyAccessibleEvent(handle_, EVENT_OBJECT_FOCUS);
      FocusEntered();
      if (!alive.expired()) FocusChangedTo(this);
      return 0;
    }
    case WM_KILLFOCUS:
      FocusExited();
      return 0;
    case WM_SETTEXT: {
      const intptr_t result = DefaultHandler(message, wParam, lParam);
      SetCaption(FromW(reinterpret_cast<const wchar_t*>(lParam)));
      return result;
    }
    case WM_GETOBJECT:
      return OnGetObject(wParam, lParam);
    default: {
      intptr_t result = 0;
      if (message == AccessibleDefaultActionMessage() &&
          accessible_->HandleMessage(handle_, message, wParam, lParam, result))
        return result;
      return DefaultHandler(message, wParam, lParam);
    }
  }
}

// ---- Process-wide helpers ----

TDRXWinControl* FocusedControl() {
  // A system window inside a control (an edit's inner window) counts as that control.
  for (HWND window = GetFocus(); window; window = GetParent(window))
    if (TDRXWinControl* control = TDRXWinControl::FromHandle(window)) return control;
  return nullptr;
}

HFONT ControlFontHandle(const TFont& font) {
  static TDRXGdiTextMeasurer* fonts = new TDRXGdiTextMeasurer;  // lives as long as the process
  return fonts->FontHandle(font);
}

TShiftState KeyboardShiftState() {
  TShiftState shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
  if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
  if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
  return shift;
}

namespace {

uintptr_t HiddenKeyboardCues(HWND window) {
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  return root ? static_cast<uintptr_t>(SendMessageW(root, WM_QUERYUISTATE, 0, 0)) : 0;
}

}  // namespace

// A high-contrast look shows the focus at all times.
bool FocusCuesShown(HWND window) {
  return TDRXApplication::HighContrast() || !(HiddenKeyboardCues(window) & UISF_HIDEFOCUS);
}

bool AcceleratorCuesShown(HWND window) { return !(HiddenKeyboardCues(window) & UISF_HIDEACCEL); }

void ShowKeyboardCues(HWND window) {
  HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
  if (root && HiddenKeyboardCues(root))
    SendMessageW(root, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}

uint32_t AcceleratorDrawFlag(HWND window) { return AcceleratorCuesShown(window) ? 0 : DT_HIDEPREFIX; }
