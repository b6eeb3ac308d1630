#include <windows.h>

#include <algorithm>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.HighContrast.h"

namespace {

constexpr UINT_PTR kFadeTimer = 1;
constexpr uint32_t kFadeMilliseconds = 150;
constexpr UINT kFadeTimerInterval = 15;

UINT AlignmentFlag(TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return DT_RIGHT;
    case taCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

void DrawCaption(HDC dc, const TFont& font, TColor color, const UString& caption, TRect rect, UINT flags) {
  if (caption.empty() || rect.IsEmpty()) return;
  TDRXSelection selection(dc, ControlFontHandle(font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  RECT area = ToRECT(rect);
  DrawTextW(dc, W(caption), static_cast<int>(caption.size()), &area, flags);
}

TDRXContrastMark ContrastMarkOf(TCheckBoxState state) {
  switch (state) {
    case cbChecked: return cmCheck;
    case cbGrayed: return cmGrayed;
    case cbUnchecked: break;
  }
  return cmNone;
}

// Measures a caption in the font, in one memory DC kept for the process; an
// accelerator mark takes no room.
class TCaptionMeasurer {
 public:
  explicit TCaptionMeasurer(const TFont& font) : selection_(SharedDC(), ControlFontHandle(font)) {}
  TSize Measure(const UString& text, int32_t maxWidth) const {
    RECT area{0, 0, maxWidth, 0};
    const UINT flags = DT_CALCRECT | (maxWidth > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    DrawTextW(SharedDC(), W(text), static_cast<int>(text.size()), &area, flags);
    return {area.right - area.left, area.bottom - area.top};
  }
  int32_t LineHeight() const {
    TEXTMETRICW metrics{};
    GetTextMetricsW(SharedDC(), &metrics);
    return metrics.tmHeight;
  }

 private:
  static HDC SharedDC() {
    static auto* dc = new TDRXMemoryDC;
    return dc->Get();
  }
  TDRXSelection selection_;
};

}  // namespace

// ---- TDRXCustomButtonViewInfo ----

TDRXCustomButtonViewInfo::TDRXCustomButtonViewInfo(TDRXCustomButton& owner) : owner_(owner) {}

void TDRXCustomButtonViewInfo::SetFlag(TDRXButtonFlag flag, bool on) {
  const TDRXButtonFlags flags = on ? (flags_ | flag) : (flags_ & ~flag);
  if (flags == flags_) return;
  const TDRXButtonVisualState before = VisualState();
  flags_ = flags;
  const TDRXButtonVisualState after = VisualState();
  if (after != before) owner_.VisualStateChanged(before, after);
}

// ---- TDRXCustomButton ----

TDRXCustomButton::TDRXCustomButton(TDRXComponent* owner)
    : TDRXCustomButton(owner, &MakeButtonStyle<TDRXStyleButton>) {}

TDRXCustomButton::TDRXCustomButton(TDRXComponent* owner, TDRXButtonStyleFactory makeStyle)
    : TDRXWinControl(owner), style_(makeStyle(this)), viewInfo_(std::make_unique<TDRXCustomButtonViewInfo>(*this)) {}

TDRXCustomButton::~TDRXCustomButton() = default;

void TDRXCustomButton::SetViewInfo(std::unique_ptr<TDRXCustomButtonViewInfo> viewInfo) {
  viewInfo->flags_ = viewInfo_->flags_;
  viewInfo_ = std::move(viewInfo);
  LayoutChanged();
}

void TDRXCustomButton::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  LayoutChanged();
}

void TDRXCustomButton::SetShowCaption(bool value) {
  if (value == showCaption_) return;
  showCaption_ = value;
  LayoutChanged();
}

TColor TDRXCustomButton::TextColor(TDRXButtonVisualState state) const {
  return AlphaColorToColor(style_->TextColor(state));
}

void TDRXCustomButton::LayoutChanged() {
  viewInfo_->Calculate();
  Invalidate();
}

void TDRXCustomButton::UpdateStyleDPI() { style_->SetTargetDPI(CurrentDPI()); }

void TDRXCustomButton::ChangeScale(int32_t numerator, int32_t denominator) {
  TDRXWinControl::ChangeScale(numerator, denominator);
  UpdateStyleDPI();
  LayoutChanged();
}

void TDRXCustomButton::ParentChanged() {
  TDRXWinControl::ParentChanged();
  UpdateStyleDPI();
  LayoutChanged();
}

void TDRXCustomButton::StyleChanged(TDRXStyle&) { LayoutChanged(); }
void TDRXCustomButton::FontChanged() { LayoutChanged(); }
void TDRXCustomButton::Resized() {
  TDRXWinControl::Resized();
  LayoutChanged();
}

void TDRXCustomButton::CaptionChanged() {
  TDRXWinControl::CaptionChanged();
  LayoutChanged();
}

void TDRXCustomButton::EnabledChanged() {
  TDRXWinControl::EnabledChanged();
  if (!Enabled()) {
    viewInfo_->SetFlag(bfPressed, false);
    viewInfo_->SetFlag(bfHover, false);
  }
  viewInfo_->SetFlag(bfEnabled, Enabled());
}

// ---- Looks and the cross-fade ----

void TDRXCustomButton::VisualStateChanged(TDRXButtonVisualState from, TDRXButtonVisualState to) {
  if (ButtonStateChangeFades(from, to, viewInfo_->Flags()))
    StartFade(from);
  else
    StopFade();
  Invalidate();
}

void TDRXCustomButton::StartFade(TDRXButtonVisualState from) {
  if (!HandleAllocated() || !Showing() || Width() <= 0 || Height() <= 0) return;
  auto look = std::make_unique<TDRXDIBCanvas>(Width(), Height());
  PaintBackground(look->DC());
  viewInfo_->Draw(look->DC(), from);
  fadeFrom_ = std::move(look);
  fadeStart_ = GetTickCount();
  SetTimer(handle_, kFadeTimer, kFadeTimerInterval, nullptr);
}

void TDRXCustomButton::StopFade() {
  if (!fadeFrom_) return;
  fadeFrom_.reset();
  if (handle_) KillTimer(handle_, kFadeTimer);
}

void TDRXCustomButton::Paint(HDC dc) {
  viewInfo_->Draw(dc, viewInfo_->VisualState());
  if (!fadeFrom_) return;
  const uint32_t elapsed = GetTickCount() - fadeStart_;
  if (elapsed >= kFadeMilliseconds) return;
  BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(255 * (kFadeMilliseconds - elapsed) / kFadeMilliseconds), 0};
  GdiFlush();
  AlphaBlend(dc, 0, 0, fadeFrom_->Width(), fadeFrom_->Height(), fadeFrom_->DC(), 0, 0, fadeFrom_->Width(),
             fadeFrom_->Height(), blend);
}

// ---- Mouse and keyboard ----

bool TDRXCustomButton::ShowsFocusCue() const { return Focused() && FocusCuesShown(handle_); }

uint32_t TDRXCustomButton::AcceleratorFlag() const { return AcceleratorDrawFlag(handle_); }

void TDRXCustomButton::ClickAndRelease() {
  const std::weak_ptr<const void> alive = AliveToken();
  Click();
  if (!alive.expired()) viewInfo_->SetFlag(bfPressed, false);
}

void TDRXCustomButton::MouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft || !Enabled() || !ClientRect().Contains(x, y)) return;
  if (focusOnClick_ && !Focused()) SetFocus();
  viewInfo_->SetFlag(bfPressed, true);
}

void TDRXCustomButton::MouseMove(TShiftState, int32_t x, int32_t y) {
  viewInfo_->SetFlag(bfHover, Enabled() && ClientRect().Contains(x, y));
}

void TDRXCustomButton::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft) return;
  if (viewInfo_->HasFlag(bfPressed) && ClientRect().Contains(x, y))
    ClickAndRelease();
  else
    viewInfo_->SetFlag(bfPressed, false);
}

void TDRXCustomButton::MouseLeave() { viewInfo_->SetFlag(bfHover, false); }

void TDRXCustomButton::KeyDown(uint16_t key, TShiftState) {
  if (key == VK_SPACE && Enabled()) viewInfo_->SetFlag(bfPressed, true);
}

void TDRXCustomButton::KeyUp(uint16_t key, TShiftState) {
  if (key == VK_SPACE && viewInfo_->HasFlag(bfPressed))
    ClickAndRelease();
  else if (key == VK_ESCAPE)
    viewInfo_->SetFlag(bfPressed, false);
}

void TDRXCustomButton::FocusEntered() { viewInfo_->SetFlag(bfFocused, true); }

void TDRXCustomButton::FocusExited() {
  viewInfo_->SetFlag(bfPressed, false);
  viewInfo_->SetFlag(bfFocused, false);
}

bool TDRXCustomButton::DialogChar(char16_t character) {
  if (!Enabled() || !IsAccelerator(character, Caption())) return false;
  const std::weak_ptr<const void> alive = AliveToken();
  SetFocus();
  if (!alive.expired() && Focused()) Click();
  return true;
}

bool TDRXCustomButton::DialogKey(uint16_t key, TShiftState) {
  if (key != VK_RETURN || !AcceptsEnter() || !Enabled()) return false;
  if (!Focused() && !viewInfo_->HasFlag(bfDefault)) return false;
  const std::weak_ptr<const void> alive = AliveToken();
  SetFocus();
  if (!alive.expired() && Focused()) Click();
  return true;
}

intptr_t TDRXCustomButton::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kFadeTimer) break;
      if (!fadeFrom_ || GetTickCount() - fadeStart_ >= kFadeMilliseconds) StopFade();
      Invalidate();
      return 0;
    case BM_CLICK:
      if (Enabled()) ClickAndRelease();
      return 0;
    default:
      break;
  }
  return TDRXWinControl::WndProc(message, wParam, lParam);
}

// ---- Push buttons ----

void TDRXButtonViewInfo::Calculate() {
  const auto& button = static_cast<const TDRXSimpleButton&>(owner_);
  const TDRXResourceTexture& texture = button.Style().Texture();
  TDRXPushButtonLayoutInput input;
  input.Bounds = button.ClientRect();
  input.ContentOffsets = texture.ContentOffsets();
  if (const TDRXResourceTexture* glyph = button.Glyph()) input.Glyph = {glyph->FrameWidth(), glyph->FrameHeight()};
  input.HasCaption = button.ShowCaption() && !button.Caption().empty();
  input.Scale = button.ScaleFactor();
  if (const auto* full = dynamic_cast<const TDRXButton*>(&button)) {
    input.Kind = full->Kind();
    input.DropDownWidth = input.Kind == bkSplit ? texture.FrameWidth() : input.Scale.Apply(12);
  }
  layout_ = CalculatePushButtonLayout(input);
}

void TDRXButtonViewInfo::Draw(HDC dc, TDRXButtonVisualState state) {
  const auto& button = static_cast<const TDRXSimpleButton&>(owner_);
  const TDRXResourceTexture& texture = button.Style().Texture();
  const bool contrast = TDRXApplication::HighContrast();
  const TColor textColor = contrast ? ContrastButtonTextColor(state) : button.TextColor(state);
  const auto drawFace = [&](const TRect& rect) {
    if (contrast)
      DrawContrastButtonFace(dc, rect, state, button.ScaleFactor());
    else
      texture.Draw(dc, rect, ButtonFrameIndex(state));
  };
  drawFace(layout_.Background);
  if (button.ShowsFocusCue()) DrawDottedFrame(dc, layout_.Content, textColor);
  if (button.ShowCaption())
    DrawCaption(dc, button.Font(), textColor, button.Caption(), layout_.Caption,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | button.AcceleratorFlag() | AlignmentFlag(button.Alignment()));
  if (const TDRXResourceTexture* glyph = button.Glyph())
    glyph->Draw(dc, layout_.Glyph, button.GlyphFrame(), state != bvsDisabled);
  if (layout_.DropDown.IsEmpty()) return;
  const auto* full = dynamic_cast<const TDRXButton*>(&button);
  if (full && full->Kind() == bkSplit) drawFace(layout_.DropDown);
  DrawArrow(dc, layout_.DropDown, textColor, button.ScaleFactor());
}

TDRXSimpleButton::TDRXSimpleButton(TDRXComponent* owner) : TDRXCustomButton(owner) {
  SetBounds(0, 0, 120, 25);
  SetViewInfo(std::make_unique<TDRXButtonViewInfo>(*this));
}

TDRXSimpleButton::~TDRXSimpleButton() { TDRXDefaultButtonsController::Instance().Unregister(this); }

void TDRXSimpleButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  if (value) {
    TDRXDefaultButtonsController::Instance().Register(this);
  } else {
    TDRXDefaultButtonsController::Instance().Unregister(this);
    ViewInfo().SetFlag(bfDefault, false);
  }
}

void TDRXSimpleButton::SetGlyph(TDRXResourceTexture* glyph) {
  glyph_ = glyph;
  LayoutChanged();
}

void TDRXSimpleButton::SetGlyphFrame(int frame) {
  glyphFrame_ = frame;
  Invalidate();
}

void TDRXSimpleButton::SetColor(TColor color) {
  color_ = color;
  Invalidate();
}

void TDRXSimpleButton::Click() {
  if (!Enabled()) return;
  const std::weak_ptr<const void> alive = AliveToken();
  TDRXCustomButton::Click();
  if (alive.expired() || modalResult_ == mrNone) return;
  if (TDRXForm* form = TDRXForm::FormOf(this)) form->SetModalResult(modalResult_);
}

bool TDRXSimpleButton::DialogKey(uint16_t key, TShiftState shift) {
  if (key == VK_ESCAPE && cancel_ && Enabled()) {
    Click();
    return true;
  }
  return TDRXCustomButton::DialogKey(key, shift);
}

TDRXButton::TDRXButton(TDRXComponent* owner) : TDRXSimpleButton(owner) {}

void TDRXButton::SetKind(TDRXButtonKind kind) {
  if (kind == kind_) return;
  kind_ = kind;
  LayoutChanged();
}

void TDRXButton::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  const auto& layout = static_cast<const TDRXButtonViewInfo&>(ViewInfo()).Layout();
  if (button == mbLeft && kind_ != bkPush && ViewInfo().HasFlag(bfPressed) && layout.DropDown.Contains(x, y)) {
    ViewInfo().SetFlag(bfPressed, false);
    DropDownClick();
    return;
  }
  TDRXSimpleButton::MouseUp(button, shift, x, y);
}

void TDRXButton::DropDownClick() {
  if (OnDropDownClick) {
    OnDropDownClick(*this);
    return;
  }
  if (!dropDownMenu_ || !HandleAllocated()) return;
  POINT below{0, Height()};
  ClientToScreen(handle_, &below);
  TrackPopupMenu(dropDownMenu_, TPM_LEFTALIGN | TPM_TOPALIGN, below.x, below.y, 0, handle_, nullptr);
}

// ---- Check boxes and radio boxes ----

TCheckBoxState TDRXCheckBoxViewInfo::CheckState() const {
  return static_cast<const TDRXCustomCheckBox&>(owner_).State();
}

void TDRXCheckBoxViewInfo::Calculate() {
  const auto& box = static_cast<const TDRXCustomCheckBox&>(owner_);
  const TDRXResourceTexture& texture = box.Style().Texture();
  TDRXCheckBoxLayoutInput input;
  input.Bounds = box.ClientRect();
  input.Box = {texture.FrameWidth(), texture.FrameHeight()};
  input.ShowCheckMark = box.ShowCheckMark();
  input.WordWrap = box.WordWrap();
  input.ShowLine = box.ShowLine();
  const UString caption = box.Caption();
  input.CaptionEmpty = caption.empty() || !box.ShowCaption();
  input.Alignment = box.Alignment();
  input.Scale = box.ScaleFactor();
  const TCaptionMeasurer measurer(box.Font());
  input.LineHeight = measurer.LineHeight();
  layout_ = CalculateCheckBoxLayout(
      input, [&](int32_t maxWidth) { return measurer.Measure(caption, maxWidth); }, box.Align());
}

void TDRXCheckBoxViewInfo::Draw(HDC dc, TDRXButtonVisualState state) {
  const auto& box = static_cast<const TDRXCustomCheckBox&>(owner_);
  const TDRXStyleButton& style = box.Style();
  const bool contrast = TDRXApplication::HighContrast();
  const bool enabled = state != bvsDisabled;
  for (const TRect& row : {layout_.LineLeft, layout_.LineRight}) {
    const TRect upper = Rect(row.Left, row.Top, row.Right, row.Top + 1);
    if (contrast) {
      FillContrast(dc, upper, enabled ? scWindowText : scGrayText);
      continue;
    }
    FillRectInColor(dc, upper, style.Colors(bcsLine1).Value());
    FillRectInColor(dc, Rect(row.Left, row.Top + 1, row.Right, row.Bottom), style.Colors(bcsLine2).Value());
  }
  const bool round = dynamic_cast<const TDRXRadioBox*>(&box) != nullptr;
  if (box.ShowCheckMark() && contrast)
    DrawContrastBox(dc, RectIntersection(layout_.Box, box.ClientRect()), ContrastMarkOf(box.State()), round, enabled,
                    box.ScaleFactor());
  else if (box.ShowCheckMark())
    style.Texture().Draw(dc, layout_.Box, ButtonFrameIndex(state, box.State()));
  if (!box.ShowCaption()) return;
  const TColor textColor = contrast ? ContrastTextColor(enabled) : box.TextColor(state);
  // As the system's boxes do, a dotted frame around the caption marks the focus.
  if (box.ShowsFocusCue() && !layout_.Caption.IsEmpty()) {
    const TRect& caption = layout_.Caption;
    DrawDottedFrame(dc, Rect(caption.Left - 1, caption.Top, caption.Right + 1, caption.Bottom), textColor);
  }
  // The accelerator a box answers to is underlined as on a push button (while the form shows the cues).
  const UINT wrapping = box.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
  DrawCaption(dc, box.Font(), textColor, box.Caption(), layout_.Caption,
              box.AcceleratorFlag() | DT_END_ELLIPSIS | wrapping | AlignmentFlag(box.Alignment()));
}

TDRXCustomCheckBox::TDRXCustomCheckBox(TDRXComponent* owner)
    : TDRXCustomCheckBox(owner, &MakeButtonStyle<TDRXStyleCheckBox>) {}

TDRXCustomCheckBox::TDRXCustomCheckBox(TDRXComponent* owner, TDRXButtonStyleFactory makeStyle)
    : TDRXCustomButton(owner, makeStyle) {
  SetAlignment(taLeftJustify);
  SetBounds(0, 0, 120, 17);
  SetViewInfo(std::make_unique<TDRXCheckBoxViewInfo>(*this));
}

void TDRXCustomCheckBox::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  LayoutChanged();
}

void TDRXCustomCheckBox::SetShowCheckMark(bool value) {
  if (value == showCheckMark_) return;
  showCheckMark_ = value;
  SetTabStop(value);
  LayoutChanged();
}

void TDRXCustomCheckBox::SetShowLine(bool value) {
  if (value == showLine_) return;
  showLine_ = value;
  if (value) wordWrap_ = false;
  LayoutChanged();
}

void TDRXCustomCheckBox::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  if (value) showLine_ = false;
  LayoutChanged();
}

void TDRXCustomCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  StateChanged();
  NotifyAccessibleChange(EVENT_OBJECT_STATECHANGE);
  Invalidate();
}

bool TDRXCustomCheckBox::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::CheckButton;
  if (state_ == cbChecked) item.State |= DRXAccessibleState::Checked;
  if (state_ == cbGrayed) item.State |= DRXAccessibleState::Mixed;
  item.DefaultAction = state_ == cbChecked ? u"Uncheck" : u"Check";
  return true;
}

bool TDRXRadioBox::AccessibleItem(TDRXAccessibleItem& item) const {
  TDRXCustomCheckBox::AccessibleItem(item);
  item.Role = TDRXAccessibleRole::RadioButton;
  item.DefaultAction = u"Check";
  return true;
}

bool TDRXSimpleButton::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::PushButton;
  item.DefaultAction = u"Press";
  // Enter presses the focused push button, else the one with the default look.
  if (ViewInfo().HasFlag(bfDefault) || Focused()) item.State |= DRXAccessibleState::Default;
  if (Down()) item.State |= DRXAccessibleState::Pressed;
  return true;
}

void TDRXCustomCheckBox::Click() {
  const std::weak_ptr<const void> alive = AliveToken();
  if (showCheckMark_) SetState(NextCheckState(state_, allowGrayed_));
  if (!alive.expired()) TDRXCustomButton::Click();
}

void TDRXCustomCheckBox::LayoutChanged() {
  TDRXCustomButton::LayoutChanged();
  AdjustSize();
}

void TDRXCustomCheckBox::AdjustSize() {
  if (!autoSize_ || adjusting_) return;
  const auto& layout = static_cast<const TDRXCheckBoxViewInfo&>(ViewInfo()).Layout();
  const int32_t width = layout.AutoWidth ? layout.AutoSize.cx : Width();
  const int32_t height = AlignStretchesHeight(Align()) ? Height() : layout.AutoSize.cy;
  if (width == Width() && height == Height()) return;
  adjusting_ = true;
  SetBounds(Left(), Top(), width, height);
  adjusting_ = false;
}

intptr_t TDRXCustomCheckBox::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case BM_GETCHECK:
      return state_;  // BST_UNCHECKED, BST_CHECKED, BST_INDETERMINATE
    case BM_SETCHECK:
      if (wParam <= cbGrayed) SetState(static_cast<TCheckBoxState>(wParam));
      return 0;
    default:
      return TDRXCustomButton::WndProc(message, wParam, lParam);
  }
}

void TDRXCheckBox::SetSubControl(TDRXCustomControl* control) {
  subControl_ = control;
  subControlAlive_ = control ? control->AliveToken() : std::weak_ptr<const void>();
  UpdateSubControl();
}

void TDRXCheckBox::EnabledChanged() {
  TDRXCustomCheckBox::EnabledChanged();
  UpdateSubControl();
}

void TDRXCheckBox::UpdateSubControl() {
  if (TDRXCustomControl* control = SubControl()) control->SetEnabled(Enabled() && Checked());
}

TDRXRadioBox::TDRXRadioBox(TDRXComponent* owner) : TDRXCustomCheckBox(owner, &MakeButtonStyle<TDRXStyleRadioBox>) {}

void TDRXRadioBox::SetState(TCheckBoxState state) {
  if (state != cbChecked) return;
  if (TDRXCustomControl* parent = Parent())
    for (int i = 0; i < parent->ControlCount(); ++i) {
      auto* other = dynamic_cast<TDRXRadioBox*>(parent->Controls(i));
      if (other && other != this && other->groupIndex_ == groupIndex_) other->TDRXCustomCheckBox::SetState(cbUnchecked);
    }
  TDRXCustomCheckBox::SetState(cbChecked);
}

std::vector<TDRXRadioBox*> TDRXRadioBox::FocusableGroup() const {
  std::vector<TDRXRadioBox*> group;
  if (TDRXCustomControl* parent = Parent())
    for (TDRXCustomControl* sibling : parent->ControlsInTabOrder()) {
      auto* box = dynamic_cast<TDRXRadioBox*>(sibling);
      if (box && box->groupIndex_ == groupIndex_ && box->TabStop() && box->CanFocus()) group.push_back(box);
    }
  return group;
}

bool TDRXRadioBox::InTabCycle() const {
  if (!TDRXCustomCheckBox::InTabCycle()) return false;
  if (Checked()) return true;
  const std::vector<TDRXRadioBox*> group = FocusableGroup();
  const bool anyChecked = std::any_of(group.begin(), group.end(), [](TDRXRadioBox* box) { return box->Checked(); });
  return !anyChecked && !group.empty() && group.front() == this;
}

void TDRXRadioBox::KeyDown(uint16_t key, TShiftState shift) {
  const bool back = key == VK_UP || key == VK_LEFT;
  if (!back && key != VK_DOWN && key != VK_RIGHT) {
    TDRXCustomCheckBox::KeyDown(key, shift);
    return;
  }
  const std::vector<TDRXRadioBox*> group = FocusableGroup();
  const auto self = std::find(group.begin(), group.end(), this);
  if (self == group.end() || group.size() < 2) return;
  const size_t index = static_cast<size_t>(self - group.begin());
  TDRXRadioBox* target = group[(index + (back ? group.size() - 1 : 1)) % group.size()];
  ShowKeyboardCues(handle_);
  const std::weak_ptr<const void> alive = target->AliveToken();
  target->SetFocus();
  if (!alive.expired() && target->Focused() && !target->Checked()) target->Click();
}

// ---- Default buttons ----

TDRXDefaultButtonsController& TDRXDefaultButtonsController::Instance() {
  static auto* instance = new TDRXDefaultButtonsController;  // lives as long as the process
  return *instance;
}

TDRXDefaultButtonsController::TDRXDefaultButtonsController() { TDRXForm::AddFocusObserver(this); }

void TDRXDefaultButtonsController::Register(TDRXSimpleButton* button) {
  if (!button || IsRegistered(button)) return;
  buttons_.push_back(button);
  // The look is on unless the focus is on another push button of the same owner.
  const auto* focused = dynamic_cast<TDRXSimpleButton*>(FocusedControl());
  button->ViewInfo().SetFlag(bfDefault, !focused || focused->Owner() != button->Owner());
}

void TDRXDefaultButtonsController::Unregister(TDRXSimpleButton* button) {
  buttons_.erase(std::remove(buttons_.begin(), buttons_.end(), button), buttons_.end());
}

bool TDRXDefaultButtonsController::IsRegistered(const TDRXSimpleButton* button) const {
  return std::find(buttons_.begin(), buttons_.end(), button) != buttons_.end();
}

void TDRXDefaultButtonsController::FocusMoved(TDRXForm&, TDRXWinControl& focused) {
  const auto* pushButton = dynamic_cast<const TDRXSimpleButton*>(&focused);
  for (TDRXSimpleButton* button : std::vector<TDRXSimpleButton*>(buttons_)) {
    if (!pushButton)
      button->ViewInfo().SetFlag(bfDefault, true);
    else if (button->Owner() == pushButton->Owner())
      button->ViewInfo().SetFlag(bfDefault, false);
  }
}
