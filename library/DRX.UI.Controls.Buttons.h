#pragma once
// Skinned push buttons, check boxes and radio boxes.
//
// One model for all of them: a view info keeps the interaction flags, derives
// the visual state from them, picks the texture frame of the state (visual
// state + 5 × check state) and draws the caption in the state's text colour.
// The flags, the state rule, the frame, the text colour's slot, the grayed
// cycle and the push-button and check-box layouts are portable functions; the
// controls (Windows) are real child windows whose window text is the caption.

#include <cstdint>
#include <functional>
#include <vector>

#include "DRX.UI.Controls.h"
#include "DRX.UI.Resources.Styles.h"

// ---- State ----

// The interaction flags of a view info, bit by bit.
enum TDRXButtonFlag : uint8_t {
  bfPressed = 1 << 0,  // the left button or Space went down on the control while enabled
  bfHover = 1 << 1,    // the mouse is over the control while enabled
  bfEnabled = 1 << 2,
  bfFocused = 1 << 3,
  bfDown = 1 << 4,     // a push button's Down
  bfDefault = 1 << 5,  // the default-button look
};
using TDRXButtonFlags = uint8_t;

// The texture's five frames per check state, in this order.
enum TDRXButtonVisualState : uint8_t { bvsNormal, bvsHover, bvsPressed, bvsDisabled, bvsFocused };
inline constexpr int kButtonFramesPerCheckState = 5;

enum TCheckBoxState : uint8_t { cbUnchecked, cbChecked, cbGrayed };

// The first rule that applies: not enabled → disabled; pressed or down →
// pressed; hover → hover; focused or default → focused; else normal.
TDRXButtonVisualState ButtonVisualState(TDRXButtonFlags flags);
// visual state + 5 × check state (push buttons use cbUnchecked).
int ButtonFrameIndex(TDRXButtonVisualState state, TCheckBoxState checkState = cbUnchecked);
// A click on a box with a check mark: unchecked ↔ checked, or with grayed
// allowed unchecked → checked → grayed → unchecked.
TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed);
// Whether a change of visual state is shown as a cross-fade: hover to normal
// or focused, while enabled and not pressed.
bool ButtonStateChangeFades(TDRXButtonVisualState from, TDRXButtonVisualState to, TDRXButtonFlags newFlags);

// ---- Styles ----

// Colour slots of the button styles.
enum TDRXButtonColorSlot : uint8_t {
  bcsText, bcsTextHover, bcsTextPressed, bcsTextDisabled, bcsLine1, bcsLine2
};
// The slot of the state's text colour: hover, pressed and disabled have their
// own; normal and focused use the text colour.
TDRXButtonColorSlot ButtonTextColorSlot(TDRXButtonVisualState state);

class TDRXStyleButton : public TDRXStyle {
 public:
  explicit TDRXStyleButton(IDRXStyleOwner* owner = nullptr);
  TDRXResourceTexture& Texture() const { return Textures(0); }
  // The state's text colour; the text colour where the state's is claNull (the default value).
  TDRXAlphaColor TextColor(TDRXButtonVisualState state) const;
};

class TDRXStyleCheckBox : public TDRXStyleButton {
 public:
  explicit TDRXStyleCheckBox(IDRXStyleOwner* owner = nullptr);

 protected:
  TDRXStyleCheckBox(IDRXStyleOwner* owner, UStringView textureID);
};

class TDRXStyleRadioBox : public TDRXStyleCheckBox {
 public:
  explicit TDRXStyleRadioBox(IDRXStyleOwner* owner = nullptr);
};

// ---- Layouts (all lengths in pixels of the current DPI) ----

enum TDRXButtonKind : uint8_t { bkPush, bkDropDown, bkSplit };

struct TDRXPushButtonLayoutInput {
  TRect Bounds;                  // the client rectangle
  TDRXMargins ContentOffsets;    // the texture's, at the current DPI
  TSize Glyph;                   // zero without a glyph
  bool HasCaption = true;
  TDRXScaleFactor Scale;
  TDRXButtonKind Kind = bkPush;
  int32_t DropDownWidth = 0;     // the arrow area (drop-down) or the split part (split)
};

struct TDRXPushButtonLayout {
  TRect Background;  // where the frame is drawn (the button part of a split button)
  TRect Content;     // also the focus rectangle
  TRect Glyph;       // empty without a glyph
  TRect Caption;
  TRect DropDown;    // the arrow area or the split part; empty for a plain button
};

TDRXPushButtonLayout CalculatePushButtonLayout(const TDRXPushButtonLayoutInput& input);

struct TDRXCheckBoxLayoutInput {
  TRect Bounds;  // the client rectangle
  TSize Box;     // the texture frame size
  bool ShowCheckMark = true;
  bool WordWrap = false;
  bool ShowLine = false;
  bool CaptionEmpty = false;
  TAlignment Alignment = taLeftJustify;
  int32_t LineHeight = 0;  // the font's
  TDRXScaleFactor Scale;
};

// Measures the caption: wrapped at words within maxWidth, or on one line when
// maxWidth is 0.
using TDRXCaptionMeasure = std::function<TSize(int32_t maxWidth)>;

struct TDRXCheckBoxLayout {
  TRect Box;          // empty without a check mark
  TRect CaptionArea;  // where the caption may go
  TRect Caption;      // the caption's own rectangle inside it
  TRect LineLeft;     // the line's two rows left and right of the caption (ShowLine)
  TRect LineRight;
  TSize AutoSize;     // the size AutoSize asks for
  bool AutoWidth = false;  // whether AutoSize may change the width
};

TDRXCheckBoxLayout CalculateCheckBoxLayout(const TDRXCheckBoxLayoutInput& input, const TDRXCaptionMeasure& measure,
                                           TAlign align);
// Only the box, the caption and the line accept the mouse.
bool CheckBoxAcceptsPoint(const TDRXCheckBoxLayout& layout, TPoint point);

#ifdef _WIN32
#include "DRX.UI.Forms.h"

class TDRXCustomButton;
class TDRXDIBCanvas;

// Makes the style of a kind once the control exists (the style's owner).
using TDRXButtonStyleFactory = std::unique_ptr<TDRXStyleButton> (*)(IDRXStyleOwner* owner);
template <typename TStyle>
std::unique_ptr<TDRXStyleButton> MakeButtonStyle(IDRXStyleOwner* owner) {
  return std::make_unique<TStyle>(owner);
}
struct HMENU__;

// The interaction flags of one control, its visual state and how it is drawn.
class TDRXCustomButtonViewInfo {
 public:
  explicit TDRXCustomButtonViewInfo(TDRXCustomButton& owner);
  virtual ~TDRXCustomButtonViewInfo() = default;

  TDRXButtonFlags Flags() const { return flags_; }
  bool HasFlag(TDRXButtonFlag flag) const { return (flags_ & flag) != 0; }
  // Sets or clears a flag; a changed visual state repaints the control (or fades).
  void SetFlag(TDRXButtonFlag flag, bool on);
  TDRXButtonVisualState VisualState() const { return ButtonVisualState(flags_); }
  virtual TCheckBoxState CheckState() const { return cbUnchecked; }
  int FrameIndex() const { return ButtonFrameIndex(VisualState(), CheckState()); }

  // Recomputes the layout for the owner's client rectangle (kinds lay out; the base has nothing).
  virtual void Calculate() {}
  // Draws the control as it looks in that visual state.
  virtual void Draw(HDC__* dc, TDRXButtonVisualState state) {}
  virtual bool HitTest(TPoint point) const { return true; }

 protected:
  TDRXCustomButton& owner_;

 private:
  friend class TDRXCustomButton;
  TDRXButtonFlags flags_ = bfEnabled;
};

// The base of the skinned buttons: flags, keyboard and mouse, accelerators,
// the caption as window text, the cross-fade from hover.
class TDRXCustomButton : public TDRXWinControl, protected IDRXStyleOwner {
 public:
  explicit TDRXCustomButton(TDRXComponent* owner = nullptr);
  ~TDRXCustomButton() override;
  UString ClassName() const override { return u"TDRXCustomButton"; }
  bool HasCaption() const override { return true; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);
  bool FocusOnClick() const { return focusOnClick_; }
  void SetFocusOnClick(bool value) { focusOnClick_ = value; }
  TDRXStyleButton& Style() const { return *style_; }
  TDRXCustomButtonViewInfo& ViewInfo() const { return *viewInfo_; }

  // The caption's shown text colour and font handle for the state.
  TColor TextColor(TDRXButtonVisualState state) const;
  // Focused while the form shows focus rectangles: the focus mark is drawn.
  bool ShowsFocusCue() const;
  // The DrawText flag for the caption's accelerator: underlined once the form shows the cues.
  uint32_t AcceleratorFlag() const;

  void ChangeScale(int32_t numerator, int32_t denominator) override;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
  bool DialogKey(uint16_t key, TShiftState shift) override;
  bool DialogChar(char16_t character) override;

  // Called by the view info when the visual state changed.
  void VisualStateChanged(TDRXButtonVisualState from, TDRXButtonVisualState to);

 protected:
  TDRXCustomButton(TDRXComponent* owner, TDRXButtonStyleFactory makeStyle);
  void SetViewInfo(std::unique_ptr<TDRXCustomButtonViewInfo> viewInfo);
  // Whether Enter clicks this control when it is focused or has the default look.
  virtual bool AcceptsEnter() const { return false; }
  // Pressing keeps the control's own look for as long as the button is held.
  void Paint(HDC__* dc) override;
  bool HitTest(TPoint point) const override { return viewInfo_->HitTest(point); }
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseLeave() override;
  void KeyDown(uint16_t key, TShiftState shift) override;
  void KeyUp(uint16_t key, TShiftState shift) override;
  void FocusEntered() override;
  void FocusExited() override;
  void EnabledChanged() override;
  void Resized() override;
  void FontChanged() override;
  void CaptionChanged() override;
  void ParentChanged() override;
  void StyleChanged(TDRXStyle& style) override;
  // A property that moves things changed: recalculates and repaints.
  virtual void LayoutChanged();
  // Runs a click and clears pressed afterwards unless the click destroyed the control.
  void ClickAndRelease();

 private:
  void UpdateStyleDPI();
  void StartFade(TDRXButtonVisualState from);
  void StopFade();

  std::unique_ptr<TDRXStyleButton> style_;
  std::unique_ptr<TDRXCustomButtonViewInfo> viewInfo_;
  TAlignment alignment_ = taCenter;
  bool showCaption_ = true;
  bool focusOnClick_ = true;
  // The cross-fade: the old look, and when it started.
  std::unique_ptr<TDRXDIBCanvas> fadeFrom_;
  uint32_t fadeStart_ = 0;
};

class TDRXButtonViewInfo : public TDRXCustomButtonViewInfo {
 public:
  using TDRXCustomButtonViewInfo::TDRXCustomButtonViewInfo;
  void Calculate() override;
  void Draw(HDC__* dc, TDRXButtonVisualState state) override;
  const TDRXPushButtonLayout& Layout() const { return layout_; }

 private:
  TDRXPushButtonLayout layout_;
};

class TDRXSimpleButton : public TDRXCustomButton {
 public:
  explicit TDRXSimpleButton(TDRXComponent* owner = nullptr);
  ~TDRXSimpleButton() override;
  UString ClassName() const override { return u"TDRXSimpleButton"; }

  bool Default() const { return default_; }
  // A default button registers with TDRXDefaultButtonsController.
  void SetDefault(bool value);
  // Escape clicks a cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  bool Down() const { return ViewInfo().HasFlag(bfDown); }
  void SetDown(bool value) { ViewInfo().SetFlag(bfDown, value); }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult result) { modalResult_ = result; }
  // A texture drawn beside (or without a caption, instead of) the caption; not owned.
  TDRXResourceTexture* Glyph() const { return glyph_; }
  void SetGlyph(TDRXResourceTexture* glyph);
  int GlyphFrame() const { return glyphFrame_; }
  void SetGlyphFrame(int frame);
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // When enabled: the click handler, then the form's modal result (if the button still exists).
  void Click() override;
  bool DialogKey(uint16_t key, TShiftState shift) override;
  bool AccessibleItem(TDRXAccessibleItem& item) const override;

 protected:
  bool AcceptsEnter() const override { return true; }

 private:
  bool default_ = false;
  bool cancel_ = false;
  TModalResult modalResult_ = mrNone;
  TDRXResourceTexture* glyph_ = nullptr;
  int glyphFrame_ = 0;
  TColor color_ = clWhite;
};

class TDRXButton : public TDRXSimpleButton {
 public:
  explicit TDRXButton(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXButton"; }
  TDRXButtonKind Kind() const { return kind_; }
  void SetKind(TDRXButtonKind kind);
  // A popup menu shown under the button by the drop-down part; not owned.
  HMENU__* DropDownMenu() const { return dropDownMenu_; }
  void SetDropDownMenu(HMENU__* menu) { dropDownMenu_ = menu; }
  TDRXNotifyEvent OnDropDownClick;
  // The drop-down part was clicked: the handler, else the menu.
  virtual void DropDownClick();

 protected:
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 private:
  TDRXButtonKind kind_ = bkPush;
  HMENU__* dropDownMenu_ = nullptr;
};

class TDRXCheckBoxViewInfo : public TDRXCustomButtonViewInfo {
 public:
  using TDRXCustomButtonViewInfo::TDRXCustomButtonViewInfo;
  TCheckBoxState CheckState() const override;
  void Calculate() override;
  void Draw(HDC__* dc, TDRXButtonVisualState state) override;
  bool HitTest(TPoint point) const override { return CheckBoxAcceptsPoint(layout_, point); }
  const TDRXCheckBoxLayout& Layout() const { return layout_; }

 private:
  TDRXCheckBoxLayout layout_;
};

class TDRXCustomCheckBox : public TDRXCustomButton {
 public:
  explicit TDRXCustomCheckBox(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXCustomCheckBox"; }

  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool ShowCheckMark() const { return showCheckMark_; }
  // Without a check mark the box is no tab stop.
  void SetShowCheckMark(bool value);
  // ShowLine and WordWrap exclude each other: switching one on switches the other off.
  bool ShowLine() const { return showLine_; }
  void SetShowLine(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  TCheckBoxState State() const { return state_; }
  virtual void SetState(TCheckBoxState state);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }

  // With a check mark: the next state; then the click handler.
  void Click() override;
  // Sizes the control to its layout when AutoSize is on.
  void AdjustSize();
  bool AccessibleItem(TDRXAccessibleItem& item) const override;

 protected:
  TDRXCustomCheckBox(TDRXComponent* owner, TDRXButtonStyleFactory makeStyle);
  virtual void StateChanged() {}
  void LayoutChanged() override;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool autoSize_ = true;
  bool showCheckMark_ = true;
  bool showLine_ = false;
  bool wordWrap_ = false;
  bool adjusting_ = false;
};

class TDRXCheckBox : public TDRXCustomCheckBox {
 public:
  explicit TDRXCheckBox(TDRXComponent* owner = nullptr) : TDRXCustomCheckBox(owner) {}
  UString ClassName() const override { return u"TDRXCheckBox"; }
  // Enabled exactly while the box is enabled and checked; not owned.
  TDRXCustomControl* SubControl() const { return subControlAlive_.expired() ? nullptr : subControl_; }
  void SetSubControl(TDRXCustomControl* control);

 protected:
  void StateChanged() override { UpdateSubControl(); }
  void EnabledChanged() override;

 private:
  void UpdateSubControl();
  TDRXCustomControl* subControl_ = nullptr;
  std::weak_ptr<const void> subControlAlive_;
};

class TDRXRadioBox : public TDRXCustomCheckBox {
 public:
  explicit TDRXRadioBox(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXRadioBox"; }
  int GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(int index) { groupIndex_ = index; }
  // Checked first unchecks the other radio boxes of the group under the same
  // parent; any other state is ignored.
  void SetState(TCheckBoxState state) override;
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  // As in the system's dialogs, Tab stops once in a group: at its checked
  // box, or at its first one while none that can take the focus is checked.
  bool InTabCycle() const override;

 protected:
  // The arrow keys move the focus to the previous or next box of the group,
  // round at its ends, and check it.
  void KeyDown(uint16_t key, TShiftState shift) override;

 private:
  // The boxes of the group that can take the focus, in tab order (this one included).
  std::vector<TDRXRadioBox*> FocusableGroup() const;
  int groupIndex_ = 0;
};

// The default buttons of the process: the default look follows the focus.
class TDRXDefaultButtonsController : private IDRXFocusObserver {
 public:
  static TDRXDefaultButtonsController& Instance();
  void Register(TDRXSimpleButton* button);
  void Unregister(TDRXSimpleButton* button);
  bool IsRegistered(const TDRXSimpleButton* button) const;

 private:
  TDRXDefaultButtonsController();
  // Focus on a push button: the default buttons with the same owner lose the
  // look; focus on anything else: every default button gets it.
  void FocusMoved(TDRXForm& form, TDRXWinControl& focused) override;
  std::vector<TDRXSimpleButton*> buttons_;
};
#endif
