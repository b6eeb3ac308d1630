#pragma once
// The skinned form (Windows): a top-level window with the client size, border
// and title-bar icons it is given, centred on its monitor or owner, painted
// double-buffered (a paint hook draws over the form's colour), with a close
// query, modal results for dialogs, and per-monitor DPI: the client size,
// every child's rectangle and every font are scaled by current DPI ÷ 96 (the
// MulDiv rule) when the window is made on a monitor of another DPI and again
// on WM_DPICHANGED. It follows the application's dark mode and high contrast
// and repaints when they change. Tab and Shift+Tab move the focus in tab
// order; Enter and Escape are offered to the controls (the focused one first;
// a default button takes Enter), so is an accelerator typed with or without
// Alt. Focus rectangles and accelerator underlines are hidden, as the
// system's dialogs hide them, until Alt, Tab or an arrow key is used on the form.

#include <functional>

#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.h"

enum TDRXFormBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog };
enum TDRXBorderIcon : uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using TDRXBorderIcons = uint8_t;
enum TDRXFormPosition : uint8_t { poDesigned, poScreenCenter, poOwnerFormCenter };

using TModalResult = int32_t;
inline constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                              mrYes = 6, mrNo = 7, mrClose = 8;

class TDRXForm;

// Told whenever the focus moves to a control of any form (the default buttons follow it).
class IDRXFocusObserver {
 public:
  virtual void FocusMoved(TDRXForm& form, TDRXWinControl& focused) = 0;

 protected:
  ~IDRXFocusObserver() = default;
};

class TDRXForm : public TDRXWinControl, private IDRXApplicationListener {
 public:
  // An owner that is a form owns the window too (it stays above it).
  explicit TDRXForm(TDRXComponent* owner = nullptr);
  ~TDRXForm() override;

  UString ClassName() const override { return u"TDRXForm"; }
  bool HasCaption() const override { return true; }

  // The client area in pixels of the current DPI; the form's bounds are its
  // client rectangle (at 0, 0), its place on the screen is WindowPosition.
  void SetClientSize(int32_t width, int32_t height) { SetBounds(0, 0, width, height); }
  int32_t ClientWidth() const { return Width(); }
  int32_t ClientHeight() const { return Height(); }
  TPoint WindowPosition() const { return windowPosition_; }
  void SetWindowPosition(TPoint position);

  TDRXFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TDRXFormBorderStyle style) { borderStyle_ = style; }
  TDRXBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TDRXBorderIcons icons) { borderIcons_ = icons; }
  TDRXFormPosition Position() const { return position_; }
  void SetPosition(TDRXFormPosition position) { position_ = position; }
  bool StayOnTop() const { return stayOnTop_; }
  void SetStayOnTop(bool value) { stayOnTop_ = value; }
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // Readers know the form as a dialog named by its caption; the description
  // is what they read besides (the wizard: the page's title and description).
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  const UString& AccessibleDescription() const { return accessibleDescription_; }
  void SetAccessibleDescription(UStringView text);

  int CurrentDPI() const override { return dpi_; }
  // What WM_DPICHANGED does: scales everything by dpi ÷ current DPI.
  void ChangeDPI(int dpi);

  void Show();
  void Hide() { SetVisible(false); }
  // Asks the close query; a modal form then ends with mrCancel, another one hides
  // (and the main form ends the message loop).
  void Close();
  // Shows the form with the other windows of the thread disabled until a modal
  // result is set (a button's ModalResult, Close) and the close query allows it.
  TModalResult ShowModal();
  bool IsModal() const { return modal_; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // Shows the form and runs the message loop until it is closed or WM_QUIT comes.
  void RunAsMainForm();

  // The control that has (or last had) the focus on this form; setting it
  // focuses it now when the form is active, else when the form is activated.
  TDRXWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TDRXWinControl* control);
  // Focuses the next (or previous) control in tab order that can take the focus.
  void SelectNext(bool forward);

  std::function<void(TDRXForm& sender, HDC__* dc)> OnPaint;
  std::function<void(TDRXForm& sender, bool& canClose)> OnCloseQuery;
  virtual bool CloseQuery();

  // The form a control is on; none off a form.
  static TDRXForm* FormOf(TDRXCustomControl* control);
  static void AddFocusObserver(IDRXFocusObserver* observer);
  static void RemoveFocusObserver(IDRXFocusObserver* observer);
  // One message of the thread: delivered, then the waiting synchronised calls
  // run. False once WM_QUIT came (it is posted again for the outer loop).
  static bool HandleMessage();

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void ChangeScale(int32_t numerator, int32_t denominator) override;

 protected:
  // The form's colour, then the paint hook.
  void Paint(HDC__* dc) override;
  void PaintBackground(HDC__* dc) override;
  void CreateParams(TDRXCreateParams& params) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void PlacementChanged() override;
  bool FormKey(uint16_t key, TShiftState shift) override;
  bool FormChar(char16_t character, bool alt) override;
  void FocusChangedTo(TDRXWinControl* control) override;
  void ForgetControl(TDRXCustomControl* control) override;
  // After the application's dark mode changed (the form repaints afterwards).
  virtual void DarkModeChanged() {}
  // After a change of DPI scaled the form.
  virtual void ScaleChanged() {}

 private:
  UString accessibleDescription_;
  void ApplicationDarkModeChanged() override;
  void ApplicationHighContrastChanged() override;
  void RedrawAll();
  void UpdateWindowBounds();
  void CenterWindow();
  bool OfferDialogKey(uint16_t key, TShiftState shift);
  // The form keeps its keyboard cues itself (WM_CHANGEUISTATE, WM_QUERYUISTATE),
  // the same on every system, and repaints when they change.
  void ChangeKeyboardCues(uint16_t action, uint16_t flags);
  void SyncBoundsFromWindow();

  int dpi_ = 96;
  TPoint windowPosition_;
  TDRXFormBorderStyle borderStyle_ = bsSizeable;
  TDRXBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
  TDRXFormPosition position_ = poDesigned;
  bool stayOnTop_ = false;
  TColor color_ = clWhite;
  bool modal_ = false;
  bool mainForm_ = false;
  bool centred_ = false;
  bool syncingFromWindow_ = false;
  TModalResult modalResult_ = mrNone;
  TDRXWinControl* activeControl_ = nullptr;
  uint16_t hiddenCues_ = 0;  // UISF_HIDEACCEL, UISF_HIDEFOCUS
};

// The DPI of the monitor a window is on (the system DPI where the system cannot tell).
int WindowDPI(HWND__* window);
