#include <windows.h>

#include <algorithm>
#include <utility>

#include "DRX.Graphics.Colors.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.HighContrast.h"

namespace {

constexpr int kInnerControlId = 1;
// Between the text and the first button, at 96 DPI.
constexpr int32_t kButtonGap = 2;
// The frame of the push-button texture for the state: normal, hover, pressed, disabled, focused.
int32_t EditButtonFrame(TDRXButtonVisualState state) {
  switch (state) {
    case bvsHover: return 1;
    case bvsPressed: return 2;
    case bvsDisabled: return 3;
    case bvsFocused: return 4;
    default: return 0;
  }
}

std::unique_ptr<TDRXStyleEditBox> MakeEditStyle(IDRXStyleOwner* owner) { return std::make_unique<TDRXStyleEdit>(owner); }

}  // namespace

// ---- TDRXEditButton ----

TDRXEditButton::TDRXEditButton(TDRXEdit& edit) : TDRXCustomControl(&edit), edit_(edit) { SetParent(&edit); }

void TDRXEditButton::SetButtonWidth(int32_t width) {
  width_ = std::max(width, 0);
  edit_.LayoutButtons();
}

void TDRXEditButton::ChangeScale(int32_t numerator, int32_t denominator) {
  TDRXCustomControl::ChangeScale(numerator, denominator);
  if (numerator > 0 && denominator > 0) width_ = TDRXScaleFactor{numerator, denominator}.Apply(width_);
}

void TDRXEditButton::VisibleChanged() {
  TDRXCustomControl::VisibleChanged();
  edit_.LayoutButtons();
}

void TDRXEditButton::Paint(HDC dc) {
  TDRXStyleEdit& style = edit_.Style();
  const bool enabled = EnabledInTree();
  const bool focused = edit_.FocusedButton() == this;
  TDRXButtonVisualState state = bvsNormal;
  if (!enabled) state = bvsDisabled;
  else if (pressed_ && pressedInside_) state = bvsPressed;
  else if (MouseInControl() || pressed_) state = bvsHover;
  else if (focused) state = bvsFocused;
  const bool contrast = TDRXApplication::HighContrast();
  if (contrast)
    DrawContrastButtonFace(dc, ClientRect(), state, ScaleFactor());
  else
    style.Button().Draw(dc, ClientRect(), EditButtonFrame(state));
  const TRect text = ShrinkRect(ClientRect(), style.Button().ContentOffsets());
  const TColor textColor =
      contrast ? ContrastButtonTextColor(state)
               : AlphaColorToColor(style.Colors(enabled ? ecsButtonText : ecsButtonTextDisabled).Value());
  HWND window = edit_.HandleAllocated() ? edit_.Handle() : nullptr;
  if (focused && FocusCuesShown(window)) DrawDottedFrame(dc, text, textColor);
  RECT area = ToRECT(text);
  const UString caption = Caption();
  TDRXSelection font(dc, ControlFontHandle(Font()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, textColor);
  DrawTextW(dc, W(caption), static_cast<int>(caption.size()), &area,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOCLIP | AcceleratorDrawFlag(window));
}

void TDRXEditButton::MouseDown(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button != mbLeft) return;
  pressed_ = pressedInside_ = true;
  Invalidate();
}

void TDRXEditButton::MouseMove(TShiftState, int32_t x, int32_t y) {
  if (!pressed_) return;
  const bool inside = ClientRect().Contains(x, y);
  if (inside == pressedInside_) return;
  pressedInside_ = inside;
  Invalidate();
}

void TDRXEditButton::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft || !pressed_) return;
  pressed_ = false;
  Invalidate();
  if (ClientRect().Contains(x, y)) Click();
}

// ---- TDRXInnerEdit ----

TDRXInnerEdit::TDRXInnerEdit(TDRXEdit& edit) : TDRXInnerWindow(edit), edit_(edit) {}

void TDRXInnerEdit::CreateParams(TDRXSystemWindowParams& params) {
  params.ClassName = u"EDIT";
  params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_AUTOHSCROLL;
  if (edit_.ReadOnly()) params.Style |= ES_READONLY;
  if (!edit_.EnabledInTree()) params.Style |= WS_DISABLED;
}

// ---- TDRXEdit ----

TDRXEdit::TDRXEdit(TDRXComponent* owner) : TDRXCustomEditBox(owner, &MakeEditStyle) {}

TDRXEdit::~TDRXEdit() {
  inner_.reset();
  DestroyChildren();  // the buttons reach back to the edit
}

UString TDRXEdit::Text() const { return inner_ && inner_->Handle() ? inner_->Text() : text_; }

void TDRXEdit::SetText(UStringView text) {
  if (text == Text()) return;
  if (inner_ && inner_->Handle()) {
    inner_->SetText(text);  // the inner window tells of the change
    return;
  }
  text_ = UString(text);
  Change();
}

TDRXEditButton& TDRXEdit::AddButton(int32_t width, UStringView caption) {
  auto* button = new TDRXEditButton(*this);
  button->SetCaption(caption);
  buttons_.push_back(button);
  button->SetButtonWidth(width);
  return *button;
}

TRect TDRXEdit::TextRect(const TRect& area) {
  // The single-line edit draws from its top: its window is one line high, centred.
  const int32_t line = std::min(FontLineHeight(), std::max(area.Height(), 0));
  const int32_t top = area.Top + FloorDiv(static_cast<int64_t>(area.Height()) - line, 2);
  return {area.Left, top, area.Right, top + line};
}

void TDRXEdit::LayoutButtons() {
  std::vector<TDRXEditButtonSlot> slots;
  for (const TDRXEditButton* button : buttons_) slots.push_back({button->ButtonWidth(), button->Visible()});
  const TRect area = ContentRect();
  // Buttons sit inside the border; the text keeps the border's content offsets.
  const TRect buttonArea = ShrinkRect(ClientRect(), ScaleFactor().Apply(TDRXMargins{1, 1, 1, 1}));
  const TDRXEditLayout layout = CalculateEditLayout(buttonArea, slots, ScaleFactor().Apply(kButtonGap));
  for (size_t i = 0; i < buttons_.size(); ++i) buttons_[i]->SetBoundsRect(layout.Buttons[i]);
  const int32_t textRight = std::min(area.Right, layout.Text.Right);
  const TRect text = TextRect({area.Left, area.Top, std::max(textRight, area.Left), area.Bottom});
  if (inner_ && inner_->Handle())
    SetWindowPos(inner_->Handle(), nullptr, text.Left, text.Top, text.Width(), text.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  Invalidate();
}

void TDRXEdit::HandleCreated() {
  TDRXCustomEditBox::HandleCreated();
  inner_ = std::make_unique<TDRXInnerEdit>(*this);
  inner_->CreateIn(handle_, TextRect(ContentRect()), kInnerControlId);
  ApplyFont();
  {
    // The text set before the window existed was told of already.
    const bool quiet = std::exchange(creatingInner_, true);
    inner_->SetText(text_);
    creatingInner_ = quiet;
  }
  LayoutButtons();
}

void TDRXEdit::BoundsChanged() {
  TDRXCustomEditBox::BoundsChanged();
  LayoutButtons();
}

void TDRXEdit::FontChanged() {
  TDRXCustomEditBox::FontChanged();
  LayoutButtons();
}

void TDRXEdit::ChangeScale(int32_t numerator, int32_t denominator) {
  TDRXCustomEditBox::ChangeScale(numerator, denominator);
  LayoutButtons();
}

void TDRXEdit::Change() {
  if (OnChange && !creatingInner_) OnChange(*this);
}

bool TDRXEdit::DialogChar(char16_t character) {
  for (TDRXEditButton* button : buttons_)
    if (button->Showing() && button->EnabledInTree() && IsAccelerator(character, button->Caption())) {
      button->Click();
      return true;
    }
  return false;
}

bool TDRXEdit::DialogKey(uint16_t key, TShiftState) {
  TDRXEditButton* button = FocusedButton();
  if (key != VK_RETURN || !button) return false;
  button->Click();
  return true;
}

std::vector<TDRXEditButton*> TDRXEdit::TabButtons() const {
  std::vector<TDRXEditButton*> stops;
  for (TDRXEditButton* button : buttons_)
    if (button->Showing() && button->EnabledInTree() && !button->BoundsRect().IsEmpty()) stops.push_back(button);
  return stops;
}

TDRXEditButton* TDRXEdit::FocusedButton() const { return Focused() ? focusedButton_ : nullptr; }

void TDRXEdit::FocusButton(TDRXEditButton* button) {
  focusedButton_ = button;
  spaceDown_ = false;
  Invalidate();
  if (!CanFocus() || !Handle()) return;
  // A button keeps the focus in the edit's own window, the text in the inner one.
  HWND target = button || !inner_ || !inner_->Handle() ? handle_ : inner_->Handle();
  if (GetFocus() != target) ::SetFocus(target);
  if (button && FocusedButton() == button) button->NotifyAccessibleChange(EVENT_OBJECT_FOCUS);
}

void TDRXEdit::EnterFromTab(bool forward) {
  const std::vector<TDRXEditButton*> stops = TabButtons();
  FocusButton(forward || stops.empty() ? nullptr : stops.back());
}

bool TDRXEdit::SelectNextPart(bool forward) {
  const std::vector<TDRXEditButton*> stops = TabButtons();
  TDRXEditButton* current = FocusedButton();
  // -1 stands for the text, before the first button.
  const auto found = std::find(stops.begin(), stops.end(), current);
  const ptrdiff_t index = current && found != stops.end() ? found - stops.begin() : -1;
  const ptrdiff_t next = index + (forward ? 1 : -1);
  if (next < -1 || next >= static_cast<ptrdiff_t>(stops.size())) return false;
  FocusButton(next < 0 ? nullptr : stops[static_cast<size_t>(next)]);
  return true;
}

void TDRXEdit::FocusEntered() {
  if (focusedButton_)
    Invalidate();  // the button keeps the focus in the edit's own window
  else
    TDRXCustomEditBox::FocusEntered();
}

void TDRXEdit::FocusExited() {
  focusedButton_ = nullptr;
  spaceDown_ = false;
  Invalidate();
  TDRXCustomEditBox::FocusExited();
}

void TDRXEdit::KeyDown(uint16_t key, TShiftState shift) {
  if (key == VK_SPACE && FocusedButton()) spaceDown_ = true;
  TDRXCustomEditBox::KeyDown(key, shift);
}

void TDRXEdit::KeyUp(uint16_t key, TShiftState shift) {
  TDRXEditButton* button = FocusedButton();
  if (key == VK_SPACE && button && std::exchange(spaceDown_, false)) {
    button->Click();
    return;
  }
  if (key == VK_ESCAPE) spaceDown_ = false;
  TDRXCustomEditBox::KeyUp(key, shift);
}

bool TDRXEditButton::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::PushButton;
  item.DefaultAction = u"Press";
  if (pressed_) item.State |= DRXAccessibleState::Pressed;
  // A stop of Tab: readers hear of it when it takes the focus.
  item.State |= DRXAccessibleState::Focusable;
  if (edit_.FocusedButton() == this) item.State |= DRXAccessibleState::Focused;
  return true;
}

intptr_t TDRXEdit::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  if (message == WM_COMMAND && inner_ && reinterpret_cast<HWND>(lParam) == inner_->Handle() &&
      inner_->Handle() != nullptr && HIWORD(wParam) == EN_CHANGE) {
    Change();
    return 0;
  }
  return TDRXCustomEditBox::WndProc(message, wParam, lParam);
}
