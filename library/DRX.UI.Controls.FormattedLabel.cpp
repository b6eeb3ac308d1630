#include "DRX.UI.Controls.FormattedLabel.h"

TDRXFormattedLabelLayout::TDRXFormattedLabelLayout(IDRXTextMeasurer& measurer) : layout_(font_, measurer) {
  layout_.SetOption(tloWordWrap, true);
  ApplyBounds();
}

void TDRXFormattedLabelLayout::SetFont(const TFont& font) {
  if (font == font_) return;
  font_ = font;
  layout_.SetFont(font_);
}

void TDRXFormattedLabelLayout::SetCaption(UStringView caption) {
  if (caption == caption_) return;
  caption_.assign(caption);
  layout_.SetText(caption_, TDRXTextImportSettings{});
}

void TDRXFormattedLabelLayout::SetAutoScroll(bool on) {
  if (on == autoScroll_) return;
  autoScroll_ = on;
  ApplyBounds();
}

void TDRXFormattedLabelLayout::SetContentRect(const TRect& content) {
  content_ = content;
  ApplyBounds();
}

void TDRXFormattedLabelLayout::ApplyBounds() {
  layout_.SetBounds(content_);
  layout_.SetOption(tloUnlimitedHeight, autoScroll_);
  layout_.SetOption(tloEndEllipsis, !autoScroll_);
  layout_.SetOption(tloHideCutRows, !autoScroll_);
}

int32_t TDRXFormattedLabelLayout::TextHeight() { return layout_.GetSize().cy; }

std::optional<UString> TDRXFormattedLabelLayout::LinkAt(TPoint point) {
  TDRXTextLayoutHitTestInfo hit;
  if (!layout_.HitTest(point, hit) || hit.Hyperlink == nullptr) return std::nullopt;
  return hit.Hyperlink->Target;
}

TRect FormattedLabelContentRect(const TRect& client, bool borders, int32_t borderWidth) {
  if (!borders) return client;
  return ShrinkRect(client, {borderWidth, borderWidth, borderWidth, borderWidth});
}
