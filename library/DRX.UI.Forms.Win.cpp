#include <windows.h>

#include <algorithm>
#include <vector>

#include "DRX.UI.Application.h"
#include "DRX.Classes.Thread.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Forms.h"

namespace {

std::vector<IDRXFocusObserver*>& FocusObservers() {
  static auto* observers = new std::vector<IDRXFocusObserver*>;
  return *observers;
}

using TGetDpiForWindow = UINT(WINAPI*)(HWND);
using TAdjustWindowRectExForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

// A function of user32 that older systems lack, or null.
template <typename TFunction>
TFunction User32Function(const char* name) {
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

// The outer size of a window with that client size, style and DPI.
SIZE WindowSizeFor(SIZE client, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32Function<TAdjustWindowRectExForDpi>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, client.cx, client.cy};
  if (!adjustForDpi || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return {rect.right - rect.left, rect.bottom - rect.top};
}

// Top-level windows of the thread that a modal form disables while it shows.
struct TDisabledWindows {
  HWND except;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableThreadWindow(HWND window, LPARAM data) {
  auto* disabled = reinterpret_cast<TDisabledWindows*>(data);
  if (window != disabled->except && IsWindowVisible(window) && IsWindowEnabled(window)) {
    disabled->windows.push_back(window);
    EnableWindow(window, FALSE);
  }
  return TRUE;
}

}  // namespace

int WindowDPI(HWND window) {
  static const auto dpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (dpiForWindow && window) {
    const UINT dpi = dpiForWindow(window);
    if (dpi) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : 96;
}

TDRXForm::TDRXForm(TDRXComponent* owner) : TDRXWinControl(owner) {
  SetVisible(false);
  TFont font;
  font.Name = u"Segoe UI";
  font.Height = -11;
  font.Color = GetSysColor(COLOR_WINDOWTEXT);
  SetFont(font);
  SetClientSize(320, 240);
  TDRXApplication::AddListener(this);
}

TDRXForm::~TDRXForm() {
  TDRXApplication::RemoveListener(this);
  activeControl_ = nullptr;
  DestroyChildren();
  DestroyHandle();
}

TDRXForm* TDRXForm::FormOf(TDRXCustomControl* control) {
  return control ? dynamic_cast<TDRXForm*>(control->Root()) : nullptr;
}

void TDRXForm::AddFocusObserver(IDRXFocusObserver* observer) {
  auto& observers = FocusObservers();
  if (std::find(observers.begin(), observers.end(), observer) == observers.end()) observers.push_back(observer);
}

void TDRXForm::RemoveFocusObserver(IDRXFocusObserver* observer) {
  auto& observers = FocusObservers();
  observers.erase(std::remove(observers.begin(), observers.end(), observer), observers.end());
}

// ---- The window ----

void TDRXForm::CreateParams(TDRXCreateParams& params) {
  params.ClassName = ClassName();
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case bsNone:
      params.Style |= WS_POPUP;
      break;
    case bsSingle:
      params.Style |= WS_CAPTION | WS_BORDER;
      break;
    case bsSizeable:
      params.Style |= WS_CAPTION | WS_THICKFRAME;
      break;
    case bsDialog:
      params.Style |= WS_CAPTION | WS_DLGFRAME;
      params.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
  }
  if (borderStyle_ != bsNone && (borderIcons_ & biSystemMenu)) {
    params.Style |= WS_SYSMENU;
    if (borderStyle_ != bsDialog && (borderIcons_ & biMinimize)) params.Style |= WS_MINIMIZEBOX;
    if (borderStyle_ != bsDialog && (borderIcons_ & biMaximize)) params.Style |= WS_MAXIMIZEBOX;
  }
  params.ExStyle |= WS_EX_CONTROLPARENT;
  if (stayOnTop_) params.ExStyle |= WS_EX_TOPMOST;
  auto* ownerForm = dynamic_cast<TDRXForm*>(Owner());
  params.ParentWindow = ownerForm ? ownerForm->Handle() : nullptr;
}

void TDRXForm::HandleCreated() {
  // Children were placed for the DPI the form had so far; the window's monitor decides now.
  const int dpi = WindowDPI(handle_);
  if (dpi != dpi_) ChangeDPI(dpi);
  UpdateWindowBounds();
  ChangeKeyboardCues(UIS_INITIALIZE, 0);
}

void TDRXForm::ChangeKeyboardCues(uint16_t action, uint16_t flags) {
  constexpr uint16_t kCues = UISF_HIDEACCEL | UISF_HIDEFOCUS;
  uint16_t hidden = hiddenCues_;
  if (action == UIS_INITIALIZE) {
    // As in the system's dialogs, the cues wait for the keyboard unless the
    // user asked to see them always.
    BOOL always = FALSE;
    const bool known = SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0) != FALSE;
    hidden = known && always ? 0 : kCues;
  } else if (action == UIS_SET) {
    hidden |= flags & kCues;
  } else if (action == UIS_CLEAR) {
    hidden &= ~(flags & kCues);
  }
  if (hidden == hiddenCues_) return;
  hiddenCues_ = hidden;
  // The controls ask the form for the cues when they paint.
  if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TDRXForm::UpdateWindowBounds() {
  if (!handle_ || syncingFromWindow_) return;
  const auto style = static_cast<DWORD>(GetWindowLongW(handle_, GWL_STYLE));
  const auto exStyle = static_cast<DWORD>(GetWindowLongW(handle_, GWL_EXSTYLE));
  const SIZE outer = WindowSizeFor({Width(), Height()}, style, exStyle, dpi_);
  syncingFromWindow_ = true;
  SetWindowPos(handle_, nullptr, windowPosition_.X, windowPosition_.Y, outer.cx, outer.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  // Where the frame is not that of the DPI (a system that does not scale it),
  // the difference is made up once.
  RECT client{};
  GetClientRect(handle_, &client);
  const int32_t missingWidth = Width() - client.right, missingHeight = Height() - client.bottom;
  if ((missingWidth || missingHeight) && !IsIconic(handle_))
    SetWindowPos(handle_, nullptr, 0, 0, outer.cx + missingWidth, outer.cy + missingHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
  syncingFromWindow_ = false;
  // The system may refuse a size (a minimum, the screen): the form takes what it got.
  SyncBoundsFromWindow();
}

void TDRXForm::SyncBoundsFromWindow() {
  RECT client{};
  GetClientRect(handle_, &client);
  if (IsIconic(handle_) || (client.right == Width() && client.bottom == Height())) return;
  syncingFromWindow_ = true;
  SetBounds(0, 0, client.right, client.bottom);
  syncingFromWindow_ = false;
}

void TDRXForm::SetWindowPosition(TPoint position) {
  windowPosition_ = position;
  UpdateWindowBounds();
}

void TDRXForm::CenterWindow() {
  if (!handle_) return;
  RECT window{};
  GetWindowRect(handle_, &window);
  RECT area{};
  HWND owner = GetWindow(handle_, GW_OWNER);
  if (position_ == poOwnerFormCenter && owner) {
    GetWindowRect(owner, &area);
  } else {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    GetMonitorInfoW(MonitorFromWindow(owner ? owner : handle_, MONITOR_DEFAULTTOPRIMARY), &monitor);
    area = monitor.rcWork;
  }
  const int32_t width = window.right - window.left, height = window.bottom - window.top;
  windowPosition_ = {area.left + FloorDiv(int64_t(area.right - area.left) - width, 2),
                     area.top + FloorDiv(int64_t(area.bottom - area.top) - height, 2)};
  UpdateWindowBounds();
}

void TDRXForm::BoundsChanged() { UpdateWindowBounds(); }

void TDRXForm::PlacementChanged() {
  if (handle_) {
    const bool show = Visible();
    if (show != (IsWindowVisible(handle_) != FALSE)) ShowWindow(handle_, show ? SW_SHOW : SW_HIDE);
  }
  TDRXCustomControl::PlacementChanged();
}

void TDRXForm::Show() {
  Handle();
  if (!centred_ && position_ != poDesigned) {
    CenterWindow();
    centred_ = true;
  }
  SetVisible(true);
  if (handle_) {
    ShowWindow(handle_, SW_SHOW);
    SetForegroundWindow(handle_);
  }
}

void TDRXForm::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Invalidate();
}

// ---- DPI ----

void TDRXForm::ChangeDPI(int dpi) {
  if (dpi <= 0 || dpi == dpi_) return;
  const int old = dpi_;
  dpi_ = dpi;
  ChangeScale(dpi, old);
  ScaleChanged();
  if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void TDRXForm::ChangeScale(int32_t numerator, int32_t denominator) {
  TDRXWinControl::ChangeScale(numerator, denominator);
}

// ---- Closing and modal runs ----

bool TDRXForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(*this, canClose);
  return canClose;
}

void TDRXForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;  // the modal loop asks the close query
    return;
  }
  if (!CloseQuery()) return;
  Hide();
  if (mainForm_) PostQuitMessage(0);
}

bool TDRXForm::HandleMessage() {
  MSG message;
  const BOOL got = GetMessageW(&message, nullptr, 0, 0);
  if (got == 0) {
    PostQuitMessage(static_cast<int>(message.wParam));
    return false;
  }
  if (got < 0) return false;
  TranslateMessage(&message);
  DispatchMessageW(&message);
  CheckSynchronize();
  return true;
}

TModalResult TDRXForm::ShowModal() {
  if (modal_) return mrNone;
  const std::weak_ptr<const void> alive = AliveToken();
  HWND previousActive = GetActiveWindow();
  TDisabledWindows disabled{Handle(), {}};
  EnumThreadWindows(GetCurrentThreadId(), &DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));
  modal_ = true;
  modalResult_ = mrNone;
  Show();
  while (!alive.expired() && handle_) {
    if (modalResult_ != mrNone) {
      if (CloseQuery()) break;
      modalResult_ = mrNone;
    }
    if (!HandleMessage()) break;
  }
  for (HWND window : disabled.windows) EnableWindow(window, TRUE);
  if (previousActive && IsWindow(previousActive)) SetActiveWindow(previousActive);
  if (alive.expired()) return mrCancel;
  modal_ = false;
  Hide();
  return modalResult_ == mrNone ? mrCancel : modalResult_;
}

void TDRXForm::RunAsMainForm() {
  mainForm_ = true;
  const std::weak_ptr<const void> alive = AliveToken();
  Show();
  // Boxes without an owner of their own go over the main window while it runs.
  void* const previousMain = TDRXApplication::MainWindow();
  TDRXApplication::SetMainWindow(handle_);
  while (!alive.expired() && handle_ && Visible())
    if (!HandleMessage()) break;
  TDRXApplication::SetMainWindow(previousMain);
}

// ---- Painting ----

void TDRXForm::PaintBackground(HDC dc) {
  const bool contrast = TDRXApplication::HighContrast();
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(contrast ? TDRXApplication::SystemColor(scWindow) : color_));
  const RECT client = ToRECT(ClientRect());
  FillRect(dc, &client, brush.Get());
}

void TDRXForm::Paint(HDC dc) {
  if (OnPaint) OnPaint(*this, dc);
}

// ---- Keyboard and focus ----

void TDRXForm::SelectNext(bool forward) {
  TDRXWinControl* focused = FocusedControl();
  if (focused && FormOf(focused) == this && focused->SelectNextPart(forward)) return;
  std::vector<TDRXWinControl*> candidates;
  for (TDRXWinControl* control : TabList())
    if (control->InTabCycle() || control == focused) candidates.push_back(control);
  if (candidates.empty()) return;
  const auto current = std::find(candidates.begin(), candidates.end(), focused);
  size_t next = 0;
  if (current != candidates.end()) {
    const size_t index = static_cast<size_t>(current - candidates.begin());
    next = forward ? (index + 1) % candidates.size() : (index + candidates.size() - 1) % candidates.size();
  } else if (!forward) {
    next = candidates.size() - 1;
  }
  candidates[next]->EnterFromTab(forward);
}

void TDRXForm::SetActiveControl(TDRXWinControl* control) {
  if (control && FormOf(control) != this) return;
  activeControl_ = control;
  if (control && handle_ && GetActiveWindow() == handle_) control->SetFocus();
}

bool TDRXForm::OfferDialogKey(uint16_t key, TShiftState shift) {
  // The focused control first: Enter presses a focused button rather than the default one.
  TDRXWinControl* focused = FocusedControl();
  if (focused && focused != this && FormOf(focused) == this && focused->DialogKey(key, shift)) return true;
  for (TDRXWinControl* control : TabList())
    if (control->Showing() && control->EnabledInTree() && control->DialogKey(key, shift)) return true;
  return false;
}

bool TDRXForm::FormKey(uint16_t key, TShiftState shift) {
  if (key == VK_TAB && !(shift & (ssCtrl | ssAlt))) {
    ShowKeyboardCues(handle_);
    SelectNext(!(shift & ssShift));
    return true;
  }
  if (key == VK_RETURN || key == VK_ESCAPE) return OfferDialogKey(key, shift);
  return false;
}

bool TDRXForm::FormChar(char16_t character, bool alt) {
  for (TDRXWinControl* control : TabList())
    if (control->Showing() && control->EnabledInTree() && control->DialogChar(character)) return true;
  return false;
}

void TDRXForm::FocusChangedTo(TDRXWinControl* control) {
  if (control && control != this) activeControl_ = control;
  if (!control) return;
  const std::vector<IDRXFocusObserver*> observers = FocusObservers();
  for (IDRXFocusObserver* observer : observers) observer->FocusMoved(*this, *control);
}

void TDRXForm::ForgetControl(TDRXCustomControl* control) {
  for (TDRXCustomControl* candidate = activeControl_; candidate; candidate = candidate->Parent())
    if (candidate == control) {
      activeControl_ = nullptr;
      break;
    }
  TDRXWinControl::ForgetControl(control);
}

// ---- Messages ----

void TDRXForm::ApplicationDarkModeChanged() {
  DarkModeChanged();
  RedrawAll();
}

void TDRXForm::ApplicationHighContrastChanged() {
  NotifyHighContrastChanged();
  RedrawAll();
}

void TDRXForm::RedrawAll() {
  if (handle_) RedrawWindow(handle_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
}

intptr_t TDRXForm::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_CLOSE:
      Close();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE && !HIWORD(wParam)) {
        if (activeControl_ && activeControl_->CanFocus())
          activeControl_->SetFocus();
        else
          SelectNext(true);
        if (!FocusedControl()) ::SetFocus(handle_);
      }
      return 0;
    case WM_SIZE:
      if (!syncingFromWindow_ && wParam != SIZE_MINIMIZED) SyncBoundsFromWindow();
      return 0;
    case WM_MOVE:
      if (!syncingFromWindow_ && !IsIconic(handle_)) {
        RECT window{};
        GetWindowRect(handle_, &window);
        windowPosition_ = {window.left, window.top};
      }
      return 0;
    case WM_DPICHANGED: {
      if (const auto* suggested = reinterpret_cast<const RECT*>(lParam))
        windowPosition_ = {suggested->left, suggested->top};
      ChangeDPI(LOWORD(wParam));
      return 0;
    }
    case WM_SETTINGCHANGE:
      TDRXApplication::SettingChangeMessage(lParam);
      TDRXApplication::UpdateHighContrast();
      return DefaultHandler(message, wParam, lParam);
    case WM_SYSCOLORCHANGE:
      TDRXApplication::UpdateHighContrast();
      return DefaultHandler(message, wParam, lParam);
    case WM_CHANGEUISTATE:
    case WM_UPDATEUISTATE:
      ChangeKeyboardCues(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_QUERYUISTATE:
      return hiddenCues_;
    default:
      return TDRXWinControl::WndProc(message, wParam, lParam);
  }
}

// ---- What screen readers learn ----

bool TDRXForm::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::Dialog;
  item.Shortcut.clear();
  item.State &= ~DRXAccessibleState::Focusable;  // a window, not a stop of the Tab cycle
  item.Description = accessibleDescription_;
  return true;
}

void TDRXForm::SetAccessibleDescription(UStringView text) {
  if (accessibleDescription_ == text) return;
  accessibleDescription_ = UString(text);
  NotifyAccessibleChange(EVENT_OBJECT_DESCRIPTIONCHANGE);
}
