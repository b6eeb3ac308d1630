// A small form read by DRX.UI.Accessibility_test from another process, as a
// screen reader reads one: the form answers for itself and for the windowless
// parts it paints (a text, a progress bar); a check box and a disabled default
// button are child windows answering for themselves. The check box toggles on
// its default action and tells readers. Ends after two minutes by itself.
#include <windows.h>
#include <objbase.h>

#include <memory>

#include "DRX.UI.Accessibility.h"
#include "DRX.UI.Controls.h"

namespace {

TDRXAccessibleItem Item(TDRXAccessibleRole role, UString name, TRect bounds = {}) {
  TDRXAccessibleItem item;
  item.Role = role;
  item.Name = std::move(name);
  item.Bounds = bounds;
  return item;
}

class TAccessibleTestWindow : public IDRXAccessibleSource {
 public:
  explicit TAccessibleTestWindow(TDRXAccessibleItem self) : self_(std::move(self)), accessible_(*this) {}
  virtual ~TAccessibleTestWindow() = default;

  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
      auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
      SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TAccessibleTestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    LRESULT result = 0;
    if (self && self->accessible_.HandleMessage(window, message, wParam, lParam, result)) return result;
    if (message == WM_TIMER || (message == WM_CLOSE && !GetParent(window))) {
      DestroyWindow(window);
      return 0;
    }
    if (message == WM_DESTROY && !GetParent(window)) PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
  }

  TDRXAccessibleItem AccessibleSelf() override { return self_; }

 protected:
  TDRXAccessibleItem self_;
  HWND window_ = nullptr;

 private:
  TDRXAccessibleWindow accessible_;
  friend HWND Create(TAccessibleTestWindow&, HWND, const wchar_t*, TRect, DWORD);
};

class TForm : public TAccessibleTestWindow {
 public:
  TForm() : TAccessibleTestWindow(Item(TDRXAccessibleRole::Dialog, u"Setup - Ovix")) { self_.Description = u"Welcome"; }
  std::vector<TDRXAccessibleItem> AccessibleParts() override {
    TDRXAccessibleItem progress = Item(TDRXAccessibleRole::ProgressBar, u"Progress", Bounds(10, 200, 300, 18));
    progress.Value = AccessiblePercent(0, 200, 100);
    TDRXAccessibleItem text = Item(TDRXAccessibleRole::StaticText, u"Welcome to Ovix", Bounds(10, 10, 300, 20));
    text.State = DRXAccessibleState::ReadOnly;
    return {progress, text};
  }
};

class TCheckBox : public TAccessibleTestWindow {
 public:
  TCheckBox() : TAccessibleTestWindow(Item(TDRXAccessibleRole::CheckButton, u"Remember me")) {
    self_.Shortcut = AcceleratorShortcut(u"&Remember me");
    Update();
  }
  void AccessibleDoDefaultAction(int part) override {
    if (part != 0) return;
    checked_ = !checked_;
    Update();
    NotifyAccessibleEvent(window_, EVENT_OBJECT_STATECHANGE);
  }

 private:
  void Update() {
    self_.State = DRXAccessibleState::Focusable | (checked_ ? DRXAccessibleState::Checked : 0);
    self_.DefaultAction = checked_ ? u"Uncheck" : u"Check";
  }
  bool checked_ = false;
};

HWND Create(TAccessibleTestWindow& object, HWND parent, const wchar_t* className, TRect place, DWORD style) {
  WNDCLASSW definition{};
  definition.lpfnWndProc = TAccessibleTestWindow::Procedure;
  definition.hInstance = GetModuleHandleW(nullptr);
  definition.lpszClassName = className;
  RegisterClassW(&definition);
  object.window_ = CreateWindowExW(0, className, W(object.AccessibleSelf().Name), style, place.Left, place.Top,
                                   place.Width(), place.Height(), parent, nullptr, definition.hInstance, &object);
  return object.window_;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  TForm form;
  TCheckBox box;
  TDRXAccessibleItem nextItem = Item(TDRXAccessibleRole::PushButton, u"Next >");
  nextItem.Shortcut = u"Alt+N";
  nextItem.DefaultAction = u"Press";
  nextItem.State = DRXAccessibleState::Focusable | DRXAccessibleState::Default;
  TAccessibleTestWindow next(nextItem);
  HWND formWindow = Create(form, nullptr, L"DRXAccessibleTestForm", Bounds(100, 100, 400, 320),
                           WS_OVERLAPPED | WS_CAPTION | WS_VISIBLE);
  if (!formWindow) return 4;
  Create(box, formWindow, L"DRXAccessibleTestBox", Bounds(10, 100, 200, 20), WS_CHILD | WS_VISIBLE);
  HWND nextWindow = Create(next, formWindow, L"DRXAccessibleTestButton", Bounds(220, 240, 80, 24),
                           WS_CHILD | WS_VISIBLE | WS_DISABLED);
  (void)nextWindow;
  SetTimer(formWindow, 1, 120000, nullptr);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  CoUninitialize();
  return 0;
}
