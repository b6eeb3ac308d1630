#include "DRX.Graphics.TextLayout.Blocks.h"

#include <algorithm>

#include "DRX.Graphics.Colors.h"

int32_t TDRXTextLayoutBlockText::WidthOf(int32_t count) const {
  int32_t width = 0;
  for (int32_t i = 0; i < count; ++i) width += Widths[i];
  return width;
}

TColor DefaultLinkColor(TColor textColor) {
  THLSColor hls = ColorToHLS(textColor);
  hls.Hue = 154;
  hls.Saturation = std::max(hls.Saturation, 154);
  hls.Lightness = std::clamp(hls.Lightness, 100, 200);
  return HLSToColor(hls);
}

void TDRXTextLayoutBlockStyleStack::Process(const TDRXTextLayoutBlockStyle& block) {
  const TDRXTextLayoutStyleKind kind = block.StyleKind();
  auto& open = open_[kind];
  TChange change{kind, false, std::nullopt};
  if (!block.Closing) {
    open.push_back({&block, ++sequence_});
    change.Opened = true;
  } else if (!open.empty()) {
    change.Closed = open.back();
    open.pop_back();
  }
  if (change.Opened || change.Closed) Changed = true;
  journal_.push_back(change);
}

void TDRXTextLayoutBlockStyleStack::RollBack(size_t mark) {
  while (journal_.size() > mark) {
    const TChange& change = journal_.back();
    auto& open = open_[change.StyleKind];
    if (change.Opened) {
      open.pop_back();
      Changed = true;
    } else if (change.Closed) {
      open.push_back(*change.Closed);
      Changed = true;
    }
    journal_.pop_back();
  }
}

void TDRXTextLayoutBlockStyleStack::Clear() {
  for (auto& open : open_) open.clear();
  journal_.clear();
  Changed = true;
}

const TDRXTextLayoutBlockStyleStack::TEntry* TDRXTextLayoutBlockStyleStack::Top(TDRXTextLayoutStyleKind kind) const {
  const auto& open = open_[kind];
  return open.empty() ? nullptr : &open.back();
}

TDRXTextLayoutStyleState TDRXTextLayoutBlockStyleStack::State(const TFont& baseFont, std::optional<TColor> linkColor,
                                                              bool plainColors) const {
  TDRXTextLayoutStyleState state{baseFont, std::nullopt};
  constexpr std::pair<TDRXTextLayoutStyleKind, TFontStyle> kFontStyles[] = {
      {tsBold, fsBold}, {tsItalic, fsItalic}, {tsStrikeOut, fsStrikeOut}, {tsUnderline, fsUnderline}};
  for (const auto& [kind, style] : kFontStyles)
    if (Top(kind)) state.Font.Style |= style;

  const TEntry* color = plainColors ? nullptr : Top(tsColor);
  if (color) state.Font.Color = static_cast<const TDRXTextLayoutBlockStyleColor*>(color->Block)->Color;
  // Every colour beneath the latest link is replaced by the link colour, and
  // deriving it again from a link colour gives the same colour.
  const TEntry* link = Top(tsHyperlink);
  if (link) {
    state.Font.Style |= fsUnderline;
    if (!color || link->Sequence > color->Sequence) state.Font.Color = linkColor ? *linkColor : DefaultLinkColor(state.Font.Color);
  }
  if (const TEntry* fill = plainColors ? nullptr : Top(tsFill)) state.Fill = static_cast<const TDRXTextLayoutBlockStyleFill*>(fill->Block)->Color;
  return state;
}

const TDRXTextLayoutBlockStyleHyperlink* TDRXTextLayoutBlockStyleStack::Link() const {
  const TEntry* link = Top(tsHyperlink);
  return link ? static_cast<const TDRXTextLayoutBlockStyleHyperlink*>(link->Block) : nullptr;
}

void TDRXTextLayoutBlocks::Truncate(size_t count) {
  while (blocks_.size() > count) {
    blocks_.back()->~TDRXTextLayoutBlock();
    blocks_.pop_back();
  }
}

void TDRXTextLayoutBlocks::Clear() {
  Truncate(0);
  arena_.release();
}
