#include <windows.h>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.Graphics.TextLayout.GDI.h"
#include "DRX.UI.Controls.FormattedLabel.h"

namespace {

// One measurer (and font cache) for every formatted label of the process.
TDRXGdiTextMeasurer& SharedMeasurer() {
  static TDRXGdiTextMeasurer* measurer = new TDRXGdiTextMeasurer;  // lives as long as the process
  return *measurer;
}

}  // namespace

TDRXFormattedLabel::TDRXFormattedLabel(TDRXComponent* owner) : TDRXCustomControl(owner) {
  style_ = std::make_unique<TDRXStyleLabel>(static_cast<IDRXStyleOwner*>(this));
  layout_ = std::make_unique<TDRXFormattedLabelLayout>(SharedMeasurer());
  SetBounds(0, 0, 100, 20);
  LayoutChanged();
}

TDRXFormattedLabel::~TDRXFormattedLabel() = default;

void TDRXFormattedLabel::SetAlignment(TAlignment alignment) {
  layout_->SetAlignment(alignment);
  Invalidate();
}

void TDRXFormattedLabel::SetAutoScroll(bool on) {
  layout_->SetAutoScroll(on);
  LayoutChanged();
}

void TDRXFormattedLabel::SetBorders(bool on) {
  if (on == borders_) return;
  borders_ = on;
  LayoutChanged();
}

void TDRXFormattedLabel::SetWordWrap(bool on) {
  layout_->SetWordWrap(on);
  LayoutChanged();
}

void TDRXFormattedLabel::SetTransparent(bool on) {
  if (on == transparent_) return;
  transparent_ = on;
  Invalidate();
}

void TDRXFormattedLabel::SetResourceCollection(TDRXCustomResourceCollection* collection) {
  if (collection == resourceCollection_) return;
  resourceCollection_ = collection;
  style_->ResolveSlots();
}

int32_t TDRXFormattedLabel::BorderWidth() const { return ScaleFactor().Apply(1); }

void TDRXFormattedLabel::LayoutChanged() {
  TFont font = Font();
  if (font.Color == TFont{}.Color) {
    const TDRXLabelColorSlot slot = EnabledInTree() ? lcsText : lcsTextDisabled;
    font.Color = AlphaColorToColor(style_->Colors(slot).Value());
  }
  layout_->SetFont(font);
  const TDRXAlphaColor link = style_->Colors(lcsTextHyperlink).Value();
  layout_->SetLinkColor(AlphaOf(link) == 0 ? std::nullopt : std::optional<TColor>(AlphaColorToColor(link)));
  layout_->SetCaption(Caption());
  layout_->SetContentRect(FormattedLabelContentRect(ClientRect(), borders_, BorderWidth()));
  if (layout_->AutoScroll() && !sizing_) {
    const int32_t frame = borders_ ? 2 * BorderWidth() : 0;
    sizing_ = true;
    SetBounds(Left(), Top(), Width(), layout_->TextHeight() + frame);
    sizing_ = false;
  }
  Invalidate();
}

void TDRXFormattedLabel::Resized() {
  TDRXCustomControl::Resized();
  LayoutChanged();
}

void TDRXFormattedLabel::EnabledChanged() {
  TDRXCustomControl::EnabledChanged();
  LayoutChanged();
}

void TDRXFormattedLabel::FontChanged() {
  TDRXCustomControl::FontChanged();
  LayoutChanged();
}

void TDRXFormattedLabel::CaptionChanged() {
  TDRXCustomControl::CaptionChanged();
  LayoutChanged();
  NotifyAccessibleChange(EVENT_OBJECT_NAMECHANGE);
}

bool TDRXFormattedLabel::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::StaticText;
  item.Name = layout_->Layout().ToString();
  item.State |= DRXAccessibleState::ReadOnly;
  return true;
}

std::vector<TDRXAccessibleItem> TDRXFormattedLabel::AccessibleSubItems() const {
  std::vector<TDRXAccessibleItem> items;
  for (const TDRXTextLayoutLink& link : layout_->Layout().Links()) {
    TDRXAccessibleItem item;
    item.Role = TDRXAccessibleRole::Link;
    item.Name = link.Text;
    item.Value = link.Target;
    item.DefaultAction = u"Jump";
    item.State = DRXAccessibleState::Linked;
    item.Bounds = link.Bounds;
    items.push_back(std::move(item));
  }
  return items;
}

void TDRXFormattedLabel::AccessibleSubItemAction(size_t index) {
  const std::vector<TDRXTextLayoutLink> links = layout_->Layout().Links();
  if (index < links.size()) ExecuteLink(links[index].Target);
}

void TDRXFormattedLabel::ExecuteLink(const UString& target) {
  if (OnLinkExecute) return OnLinkExecute(*this, target);
  ShellOpen(target);
}

void TDRXFormattedLabel::MouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button == mbLeft) pressedLink_ = LinkAt({x, y});
}

void TDRXFormattedLabel::MouseMove(TShiftState, int32_t x, int32_t y) {
  if (LinkAt({x, y})) SetCursor(LoadCursorW(nullptr, IDC_HAND));
}

void TDRXFormattedLabel::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft) return;
  // A link runs when the button went down and up on the same target.
  const std::optional<UString> pressed = std::exchange(pressedLink_, std::nullopt);
  if (pressed && LinkAt({x, y}) == pressed) ExecuteLink(*pressed);
}

void TDRXFormattedLabel::PaintBorders(HDC dc) const {
  const TRect client = ClientRect();
  const int32_t width = BorderWidth();
  const TDRXAlphaColor color = style_->Colors(lcsLine1).Value();
  FillRectInColor(dc, Rect(client.Left, client.Top, client.Right, client.Top + width), color);
  FillRectInColor(dc, Rect(client.Left, client.Bottom - width, client.Right, client.Bottom), color);
  FillRectInColor(dc, Rect(client.Left, client.Top + width, client.Left + width, client.Bottom - width), color);
  FillRectInColor(dc, Rect(client.Right - width, client.Top + width, client.Right, client.Bottom - width), color);
}

void TDRXFormattedLabel::Paint(HDC dc) {
  if (!transparent_) FillRectInColor(dc, ClientRect(), style_->Colors(lcsBackground).Value());
  if (borders_) PaintBorders(dc);
  TDRXGdiTextCanvas canvas(dc, SharedMeasurer());
  layout_->Layout().Draw(canvas, layout_->ContentRect());
}
