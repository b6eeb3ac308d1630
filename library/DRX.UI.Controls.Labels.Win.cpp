#include <windows.h>
#include <shellapi.h>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Resources.Texture.h"

namespace {

std::function<void(const UString&)>& ShellOpenHandler() {
  static std::function<void(const UString&)> handler;
  return handler;
}

void DrawOpaqueText(HDC dc, HFONT font, UStringView text, const TRect& rect, uint32_t format, TColor color) {
  TDRXSelection selection(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  RECT area = ToRECT(rect);
  DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()), &area, format);
}

// Mixes drawn into original by alpha ÷ 255, colour channels only.
void BlendInto(TDRXDIBCanvas& original, const TDRXDIBCanvas& drawn, uint8_t alpha) {
  GdiFlush();
  uint8_t* out = original.Section().Bits();
  const uint8_t* in = drawn.Section().Bits();
  const size_t count = static_cast<size_t>(original.Width()) * original.Height();
  for (size_t i = 0; i < count; ++i)
    for (size_t channel = 0; channel < 3; ++channel) {
      uint8_t& o = out[4 * i + channel];
      o = static_cast<uint8_t>(o + (in[4 * i + channel] - o) * alpha / 255);
    }
}

UINT TextFormat(const TDRXStyleLabel& style, TAlignment alignment) {
  UINT format = DT_NOPREFIX | DT_END_ELLIPSIS;
  if (alignment == taRightJustify) format |= DT_RIGHT;
  if (alignment == taCenter) format |= DT_CENTER;
  format |= style.WordWrap() ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER;
  return format;
}

std::unique_ptr<TDRXStyleLabel> MakeLabelStyle(IDRXStyleOwner* owner) { return std::make_unique<TDRXStyleLabel>(owner); }
std::unique_ptr<TDRXStyleLabel> MakeValidationLabelStyle(IDRXStyleOwner* owner) {
  return std::make_unique<TDRXStyleValidationLabel>(owner);
}

}  // namespace

void DrawTextInColor(HDC dc, const TFont& font, UStringView text, const TRect& rect, uint32_t format,
                     TDRXAlphaColor color) {
  const uint8_t alpha = AlphaOf(color);
  if (alpha == 0 || text.empty()) return;
  HFONT handle = ControlFontHandle(font);
  if (alpha == 255) return DrawOpaqueText(dc, handle, text, rect, format, AlphaColorToColor(color));
  // Translucent: the text drawn opaque over a copy of what lies under it,
  // then the copy blended back.
  const TRect area = RectIntersection(rect, ClipBoxOf(dc));
  if (area.IsEmpty()) return;
  TDRXDIBCanvas original(area.Width(), area.Height()), drawn(area.Width(), area.Height());
  BitBlt(original.DC(), 0, 0, area.Width(), area.Height(), dc, area.Left, area.Top, SRCCOPY);
  BitBlt(drawn.DC(), 0, 0, area.Width(), area.Height(), original.DC(), 0, 0, SRCCOPY);
  SetViewportOrgEx(drawn.DC(), -area.Left, -area.Top, nullptr);
  DrawOpaqueText(drawn.DC(), handle, text, rect, format, AlphaColorToColor(color));
  BlendInto(original, drawn, alpha);
  BitBlt(dc, area.Left, area.Top, area.Width(), area.Height(), original.DC(), 0, 0, SRCCOPY);
}

void ShellOpen(const UString& target) {
  if (target.empty()) return;
  if (ShellOpenHandler()) return ShellOpenHandler()(target);
  ShellExecuteW(nullptr, L"open", W(target), nullptr, nullptr, SW_SHOWNORMAL);
}

void SetShellOpenHandler(std::function<void(const UString& target)> handler) { ShellOpenHandler() = std::move(handler); }

// ---- TDRXLabel ----

TDRXLabel::TDRXLabel(TDRXComponent* owner) : TDRXLabel(owner, &MakeLabelStyle) {}

TDRXLabel::TDRXLabel(TDRXComponent* owner, TStyleMaker makeStyle) : TDRXCustomControl(owner) {
  style_ = makeStyle(static_cast<IDRXStyleOwner*>(this));
  SetBounds(0, 0, 75, 15);
  TextLayoutChanged();
}

TDRXLabel::~TDRXLabel() = default;

void TDRXLabel::SetAlignment(TAlignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  TextLayoutChanged();
}

void TDRXLabel::SetAlignmentVert(TVerticalAlignment alignment) {
  if (alignment == alignmentVert_) return;
  alignmentVert_ = alignment;
  TextLayoutChanged();
}

void TDRXLabel::SetAutoSize(bool on) {
  if (on == autoSize_) return;
  autoSize_ = on;
  TextLayoutChanged();
}

void TDRXLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Invalidate();
}

void TDRXLabel::SetResourceCollection(TDRXCustomResourceCollection* collection) {
  if (collection == resourceCollection_) return;
  resourceCollection_ = collection;
  style_->ResolveSlots();
}

TDRXCustomControl* TDRXLabel::SubControl() const { return subControlAlive_.expired() ? nullptr : subControl_; }

void TDRXLabel::SetSubControl(TDRXCustomControl* control) {
  subControl_ = control;
  subControlAlive_ = control ? control->AliveToken() : std::weak_ptr<const void>();
  UpdateSubControl();
}

void TDRXLabel::UpdateSubControl() {
  if (TDRXCustomControl* control = SubControl()) control->SetEnabled(Enabled());
}

void TDRXLabel::SetURL(UStringView url) {
  url_.assign(url);
  TFont font = Font();
  font.Style = url_.empty() ? (font.Style & ~fsUnderline) : (font.Style | fsUnderline);
  if (!(font == Font())) SetFont(font);
  Invalidate();
}

TDRXAlphaColor TDRXLabel::TextColor() const {
  const TColor fontColor = Font().Color;
  // A high-contrast look has no colours of its own, and shows links as links at all times.
  const bool contrast = TDRXApplication::HighContrast();
  const bool ownColor = fontColor != TFont{}.Color && !contrast;
  const std::optional<TColor> explicitColor = ownColor ? std::optional<TColor>(fontColor) : std::nullopt;
  const TDRXLabelTextColors colors{LabelSlotColor(*style_, lcsText), LabelSlotColor(*style_, lcsTextDisabled),
                                   LabelSlotColor(*style_, lcsTextHyperlink)};
  return LabelTextColor(explicitColor, !url_.empty() && (contrast || MouseInControl()), EnabledInTree(), colors);
}

void TDRXLabel::FollowDPI() const { style_->SetTargetDPI(CurrentDPI()); }

TSize TDRXLabel::MeasureText(int32_t width) const {
  const TDRXMemoryDC dc;
  const TDRXSelection selection(dc.Get(), ControlFontHandle(Font()));
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  const UString caption = Caption();
  if (caption.empty()) return {0, metrics.tmHeight};
  RECT area{0, 0, std::max(width, 0), 0};
  const UINT format = DT_CALCRECT | DT_NOPREFIX | (style_->WordWrap() ? DT_WORDBREAK : DT_SINGLELINE);
  DrawTextW(dc.Get(), W(caption), static_cast<int>(caption.size()), &area, format);
  return {area.right - area.left, std::max<int32_t>(area.bottom - area.top, metrics.tmHeight)};
}

void TDRXLabel::TextLayoutChanged() {
  const TSize extent = LabelTextExtent(MeasureText(TextArea().Width()), style_->Effect(), style_->EffectSize());
  if (autoSize_ && !sizing_) ApplyAutoSize(extent);
  textRect_ = PlaceLabelText(TextArea(), extent, alignment_, alignmentVert_);
  Invalidate();
}

void TDRXLabel::ApplyAutoSize(TSize extent) {
  const TSize size = AutoSizeFor(extent);
  TRect bounds = BoundsRect();
  if (!style_->WordWrap() && !AlignStretchesWidth(Align())) bounds.Right = bounds.Left + size.cx;
  if (!AlignStretchesHeight(Align())) bounds.Bottom = bounds.Top + size.cy;
  sizing_ = true;
  SetBoundsRect(bounds);
  sizing_ = false;
}

void TDRXLabel::StyleChanged(TDRXStyle&) { TextLayoutChanged(); }

void TDRXLabel::Resized() {
  TDRXCustomControl::Resized();
  TextLayoutChanged();
}

void TDRXLabel::EnabledChanged() {
  TDRXCustomControl::EnabledChanged();
  UpdateSubControl();
}

void TDRXLabel::FontChanged() {
  TDRXCustomControl::FontChanged();
  TextLayoutChanged();
}

void TDRXLabel::CaptionChanged() {
  TDRXCustomControl::CaptionChanged();
  TextLayoutChanged();
  NotifyAccessibleChange(EVENT_OBJECT_NAMECHANGE);
}

bool TDRXLabel::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Name = Caption();
  if (url_.empty()) {
    item.Role = TDRXAccessibleRole::StaticText;
    item.State |= DRXAccessibleState::ReadOnly;
  } else {
    item.Role = TDRXAccessibleRole::Link;
    item.Value = url_;
    item.DefaultAction = u"Jump";
    item.State |= DRXAccessibleState::Linked;
  }
  return true;
}

void TDRXLabel::MouseEnter() {
  if (!url_.empty()) Invalidate();
}

void TDRXLabel::MouseLeave() {
  if (!url_.empty()) Invalidate();
}

bool TDRXLabel::HitTest(TPoint point) const {
  return url_.empty() ? TDRXCustomControl::HitTest(point) : textRect_.Contains(point);
}

void TDRXLabel::MouseDown(TMouseButton button, TShiftState, int32_t, int32_t) {
  if (button == mbLeft) pressed_ = true;
}

void TDRXLabel::MouseMove(TShiftState, int32_t x, int32_t y) {
  if (!url_.empty() && textRect_.Contains(x, y)) SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void TDRXLabel::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft) return;
  const bool click = pressed_ && HitTest({x, y});
  pressed_ = false;
  if (click) Click();
}

void TDRXLabel::Click() {
  if (OnClick) return OnClick(*this);
  ShellOpen(url_);
}

void TDRXLabel::PaintText(HDC dc, const TRect& rect, TDRXAlphaColor color) const {
  DrawTextInColor(dc, Font(), Caption(), rect, TextFormat(*style_, alignment_), color);
}

void TDRXLabel::PaintLine(HDC dc) const {
  const TDRXLabelLine line = LabelLine(ClientRect(), textRect_, ScaleFactor().Apply(kLabelLineGap));
  for (const TRect& piece : line.Upper) FillRectInColor(dc, piece, LabelSlotColor(*style_, lcsLine1));
  for (const TRect& piece : line.Lower) FillRectInColor(dc, piece, LabelSlotColor(*style_, lcsLine2));
}

void TDRXLabel::Paint(HDC dc) {
  FollowDPI();
  if (!transparent_) FillRectInColor(dc, ClientRect(), LabelSlotColor(*style_, lcsBackground));
  const TDRXLabelEffect effect = style_->HasEffect() ? style_->Effect() : leNone;
  const TDRXLabelEffectPlan plan = PlanLabelEffect(textRect_, effect, style_->EffectSize());
  for (const TRect& pass : plan.Passes) PaintText(dc, pass, LabelSlotColor(*style_, lcsTextShadow));
  PaintText(dc, plan.Text, TextColor());
  if (style_->ShowLine()) PaintLine(dc);
}

// ---- TDRXValidationLabel ----

TDRXValidationLabel::TDRXValidationLabel(TDRXComponent* owner) : TDRXLabel(owner, &MakeValidationLabelStyle) {
  SetAutoSize(true);
}

void TDRXValidationLabel::SetIcon(int32_t icon) {
  if (icon == icon_) return;
  icon_ = icon;
  Invalidate();
}

TSize TDRXValidationLabel::IconSize() const {
  FollowDPI();
  const TDRXResourceTexture& icons = Style().Icons();
  if (icons.FrameCount() == 0) return {};
  return {icons.FrameWidth(), icons.FrameHeight()};
}

int32_t TDRXValidationLabel::Gap() const { return ScaleFactor().Apply(kValidationIconGap); }

TRect TDRXValidationLabel::IconRect() const { return LayoutValidationLabel(ClientRect(), IconSize(), Gap()).Icon; }

TRect TDRXValidationLabel::TextArea() const { return LayoutValidationLabel(ClientRect(), IconSize(), Gap()).TextArea; }

TSize TDRXValidationLabel::AutoSizeFor(TSize textExtent) const {
  return ValidationLabelSize(textExtent, IconSize(), Gap());
}

void TDRXValidationLabel::Paint(HDC dc) {
  TDRXLabel::Paint(dc);
  const TDRXResourceTexture& icons = Style().Icons();
  if (icon_ >= 0 && icon_ < icons.FrameCount()) icons.Draw(dc, IconRect(), icon_, EnabledInTree());
}
