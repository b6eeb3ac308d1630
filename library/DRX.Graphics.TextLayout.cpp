#include "DRX.Graphics.TextLayout.h"

#include <algorithm>

TDRXTextLayout::TDRXTextLayout(const TFont& font, IDRXTextMeasurer& measurer) : font_(&font) {
  parameters_.Font = &font;
  parameters_.Measurer = &measurer;
}

void TDRXTextLayout::SetFont(const TFont& font) {
  font_ = &font;
  parameters_.Font = &font;
  needsCalculation_ = true;
}

void TDRXTextLayout::SetText(UStringView text, const TDRXTextImportSettings& settings) {
  rows_.clear();
  blocks_.Clear();
  text_.assign(text);
  widths_.assign(text_.size(), 0);
  ImportTextLayoutBlocks(text_, widths_.data(), settings, blocks_);
  needsCalculation_ = true;
}

void TDRXTextLayout::SetBounds(const TRect& bounds) {
  if (bounds == parameters_.Bounds) return;
  parameters_.Bounds = bounds;
  needsCalculation_ = true;
}

void TDRXTextLayout::SetOption(TDRXTextLayoutOption option, bool on) {
  const TDRXTextLayoutOptions options = on ? (parameters_.Options | TextLayoutOptionBit(option))
                                           : (parameters_.Options & ~TextLayoutOptionBit(option));
  if (options == parameters_.Options) return;
  parameters_.Options = options;
  needsCalculation_ = true;
}

bool TDRXTextLayout::HasOption(TDRXTextLayoutOption option) const {
  return (parameters_.Options & TextLayoutOptionBit(option)) != 0;
}

void TDRXTextLayout::SetHorizontalAlignment(TAlignment alignment) {
  if (alignment == parameters_.HorizontalAlignment) return;
  parameters_.HorizontalAlignment = alignment;
  needsCalculation_ = true;
}

void TDRXTextLayout::SetVerticalAlignment(TVerticalAlignment alignment) {
  if (alignment == parameters_.VerticalAlignment) return;
  parameters_.VerticalAlignment = alignment;
  needsCalculation_ = true;
}

void TDRXTextLayout::SetLinkColor(std::optional<TColor> color) {
  if (color == parameters_.LinkColor) return;
  parameters_.LinkColor = color;
  needsCalculation_ = true;
}

void TDRXTextLayout::Calculate() {
  truncated_ = CalculateTextLayout(blocks_, parameters_, rows_);
  needsCalculation_ = false;
}

void TDRXTextLayout::CalculateIfNeeded() {
  if (needsCalculation_) Calculate();
}

const TDRXTextLayoutRows& TDRXTextLayout::Rows() {
  CalculateIfNeeded();
  return rows_;
}

TSize TDRXTextLayout::GetSize() {
  CalculateIfNeeded();
  if (rows_.empty()) return {};
  // Empty rows count for their height, so no TRect::Union here.
  TRect bounds = rows_.front()->Bounds;
  for (const auto& row : rows_) {
    bounds.Left = std::min(bounds.Left, row->Bounds.Left);
    bounds.Top = std::min(bounds.Top, row->Bounds.Top);
    bounds.Right = std::max(bounds.Right, row->Bounds.Right);
    bounds.Bottom = std::max(bounds.Bottom, row->Bounds.Bottom);
  }
  return {bounds.Width(), bounds.Height()};
}

bool TDRXTextLayout::IsTruncated() {
  CalculateIfNeeded();
  return truncated_;
}

void TDRXTextLayout::Draw(IDRXTextCanvas& canvas) { Draw(canvas, parameters_.Bounds, {}); }

void TDRXTextLayout::Draw(IDRXTextCanvas& canvas, const TRect& clip) { Draw(canvas, clip, {}); }

void TDRXTextLayout::Draw(IDRXTextCanvas& canvas, const TRect& clip, TPoint origin) {
  CalculateIfNeeded();
  canvas.BeginDraw(clip, origin);
  struct TEnd {
    IDRXTextCanvas& canvas;
    ~TEnd() { canvas.EndDraw(); }
  } end{canvas};
  DrawRows(canvas);
}

void TDRXTextLayout::DrawRows(IDRXTextCanvas& canvas) {
  TDRXTextLayoutBlockStyleStack stack;
  TDRXTextLayoutStyleState style;
  for (const auto& row : rows_) {
    for (const TDRXTextLayoutBlock* block : row->Blocks) {
      if (block->Kind() == bkStyle) {
        stack.Process(static_cast<const TDRXTextLayoutBlockStyle&>(*block));
        continue;
      }
      if (stack.Changed) {
        style = stack.State(*font_, parameters_.LinkColor);
        stack.Changed = false;
      }
      const TRect& r = block->Bounds;
      if (block->Kind() == bkText) {
        const auto& text = static_cast<const TDRXTextLayoutBlockText&>(*block);
        if (text.ShownLength > 0) canvas.DrawCharacters(style.Font, r, text.ShownChars(), text.Widths, style.Fill, false);
      } else if (block->Kind() == bkSpace && !r.IsEmpty()) {
        if (style.Fill) canvas.FillRect(r, *style.Fill);
        // A space drawn in an underlined or struck-out font carries the line
        // through the gap between words.
        if (style.Font.Style & (fsUnderline | fsStrikeOut)) {
          const int32_t width = r.Width();
          canvas.DrawCharacters(style.Font, r, u" ", &width, std::nullopt, true);
        }
      }
    }
  }
}

bool TDRXTextLayout::HitTest(TPoint point, TDRXTextLayoutHitTestInfo& result) {
  CalculateIfNeeded();
  result = {};
  TDRXTextLayoutBlockStyleStack stack;
  for (const auto& row : rows_) {
    const bool inRow = row->Bounds.Contains(point);
    for (TDRXTextLayoutBlock* block : row->Blocks) {
      if (block->Kind() == bkStyle) {
        stack.Process(static_cast<const TDRXTextLayoutBlockStyle&>(*block));
      } else if (inRow && block->Bounds.Contains(point)) {
        result = {block, stack.Link()};
        return true;
      }
    }
  }
  return false;
}

std::vector<TDRXTextLayoutLink> TDRXTextLayout::Links() {
  CalculateIfNeeded();
  std::vector<TDRXTextLayoutLink> links;
  const TDRXTextLayoutBlockStyleHyperlink* current = nullptr;
  TDRXTextLayoutBlockStyleStack stack;
  for (const auto& row : rows_) {
    for (TDRXTextLayoutBlock* block : row->Blocks) {
      if (block->Kind() == bkStyle) {
        stack.Process(static_cast<const TDRXTextLayoutBlockStyle&>(*block));
        continue;
      }
      const TDRXTextLayoutBlockStyleHyperlink* link = stack.Link();
      if (!link || (block->Kind() != bkText && block->Kind() != bkSpace)) continue;
      if (link != current) links.push_back({link->Target, {}, {}});
      current = link;
      links.back().Text += block->Kind() == bkText ? static_cast<const TDRXTextLayoutBlockText&>(*block).Chars() : u" ";
      links.back().Bounds = links.back().Bounds.Union(block->Bounds);
    }
  }
  return links;
}

UString TDRXTextLayout::ToString() const {
  UString text;
  text.reserve(text_.size());
  for (const auto& block : blocks_) {
    switch (block->Kind()) {
      case bkText: text += static_cast<const TDRXTextLayoutBlockText&>(*block).Chars(); break;
      case bkSpace: text += u' '; break;
      case bkLineBreak: text += u"\r\n"; break;
      case bkStyle: break;
    }
  }
  return text;
}
