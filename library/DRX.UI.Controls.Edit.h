#pragma once
// The skinned single-line edit: a border of the skin ("EditBox" resources)
// around the system's edit window, with buttons embedded at its right end (the
// Setup page's "Browse"). The placement of text and buttons is portable; the
// windows are Windows-only (TDRXEdit, TDRXEditButton, further down).

#include <cstdint>
#include <span>
#include <vector>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Controls.EditBox.h"
#include "DRX.UI.Resources.Styles.h"

// One embedded button as the layout sees it: its width (pixels of the current
// DPI) and whether it shows.
struct TDRXEditButtonSlot {
  int32_t Width = 0;
  bool Visible = true;
};

struct TDRXEditLayout {
  TRect Text;                  // where the edit window goes
  std::vector<TRect> Buttons;  // one per slot, in slot order; empty for a hidden one
};

// Buttons are placed side by side at the right end of the area, in slot order
// from left to right, each as high as the area; the text takes the rest, less
// the gap before the first visible button. Buttons that do not fit push the
// text to nothing and are cut at the area's left edge.
TDRXEditLayout CalculateEditLayout(const TRect& area, std::span<const TDRXEditButtonSlot> buttons, int32_t gap);

// Colour slots of the embedded buttons, after the shared ones.
enum TDRXEditButtonColorSlot : uint8_t { ecsButtonText = 4, ecsButtonTextDisabled };

// The edit's style: the shared slots, "EditBox.Textures.Border", and the push
// button's texture and text colours for the embedded buttons.
class TDRXStyleEdit : public TDRXStyleEditBox {
 public:
  explicit TDRXStyleEdit(IDRXStyleOwner* owner = nullptr);
  TDRXResourceTexture& Button() const { return Textures(etsButton); }
};

#ifdef _WIN32
#include <memory>

class TDRXEdit;

// A button inside an edit (windowless, painted by the edit with the push
// button's texture). Its width is in pixels of the current DPI and scales
// with the edit; a click runs OnClick. An "&" in the caption makes its letter
// an accelerator of the form. Tab reaches it after the edit's text; while it
// has the focus, Space and Enter press it.
class TDRXEditButton : public TDRXCustomControl {
 public:
  explicit TDRXEditButton(TDRXEdit& edit);
  UString ClassName() const override { return u"TDRXEditButton"; }
  bool HasCaption() const override { return true; }

  int32_t ButtonWidth() const { return width_; }
  void SetButtonWidth(int32_t width);
  bool Pressed() const { return pressed_; }
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  void ChangeScale(int32_t numerator, int32_t denominator) override;

 protected:
  void Paint(HDC__* dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseEnter() override { Invalidate(); }
  void MouseLeave() override { Invalidate(); }
  void VisibleChanged() override;

 private:
  TDRXEdit& edit_;
  int32_t width_ = 0;
  bool pressed_ = false;
  bool pressedInside_ = false;
};

// The edit's inner window: a single-line "EDIT".
class TDRXInnerEdit : public TDRXInnerWindow {
 public:
  explicit TDRXInnerEdit(TDRXEdit& edit);

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override;

 private:
  TDRXEdit& edit_;
};

// The skinned single-line edit. OnChange runs after every change of the text,
// keystroke by keystroke, and also when SetText changes it. Screen readers
// find the system edit inside it and its buttons as push buttons.
class TDRXEdit : public TDRXCustomEditBox {
 public:
  explicit TDRXEdit(TDRXComponent* owner = nullptr);
  ~TDRXEdit() override;
  UString ClassName() const override { return u"TDRXEdit"; }

  UString Text() const;
  void SetText(UStringView text);
  TDRXStyleEdit& Style() { return static_cast<TDRXStyleEdit&>(TDRXCustomEditBox::Style()); }

  // Adds a button at the right end, after the ones there; the edit owns it.
  TDRXEditButton& AddButton(int32_t width, UStringView caption);
  int ButtonCount() const { return static_cast<int>(buttons_.size()); }
  TDRXEditButton& Buttons(int index) const { return *buttons_.at(static_cast<size_t>(index)); }
  // Places the text and the buttons again (after a button changed).
  void LayoutButtons();
  // The inner window; none before the edit has a window.
  TDRXSystemWindow* InnerControl() const { return inner_.get(); }

  TDRXNotifyEvent OnChange;

  bool DialogChar(char16_t character) override;
  // Enter presses the focused button.
  bool DialogKey(uint16_t key, TShiftState shift) override;
  // The buttons that show and are enabled are stops of Tab after the text.
  void EnterFromTab(bool forward) override;
  bool SelectNextPart(bool forward) override;
  // The button that has the focus; none while the text has it or the edit has none.
  TDRXEditButton* FocusedButton() const;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  void ChangeScale(int32_t numerator, int32_t denominator) override;

 protected:
  TDRXSystemWindow* Inner() const override { return inner_.get(); }
  void HandleCreated() override;
  void BoundsChanged() override;
  void FontChanged() override;
  void FocusEntered() override;
  void FocusExited() override;
  void KeyDown(uint16_t key, TShiftState shift) override;
  void KeyUp(uint16_t key, TShiftState shift) override;
  virtual void Change();

 private:
  TRect TextRect(const TRect& area);
  std::vector<TDRXEditButton*> TabButtons() const;
  // Gives the focus to the button, or to the text for none.
  void FocusButton(TDRXEditButton* button);

  std::unique_ptr<TDRXInnerEdit> inner_;
  std::vector<TDRXEditButton*> buttons_;
  UString text_;  // while there is no inner window
  bool creatingInner_ = false;
  TDRXEditButton* focusedButton_ = nullptr;  // while the edit's own window has the focus
  bool spaceDown_ = false;
};
#endif
