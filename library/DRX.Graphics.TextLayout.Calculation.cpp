#include "DRX.Graphics.TextLayout.Calculation.h"

#include <algorithm>

namespace {

bool IsPlaced(const TDRXTextLayoutBlock& block) { return block.Kind() == bkText || block.Kind() == bkSpace; }

class TCalculator {
 public:
  TCalculator(const TDRXTextLayoutParameters& parameters, TDRXTextLayoutRows& rows)
      : p_(parameters), rows_(rows), width_(parameters.Bounds.Width()), height_(parameters.Bounds.Height()) {}

  // Rows are finished (mirrored, aligned, moved into the bounds) one row
  // late, while their blocks are still in the cache: until the next row is
  // kept, an ellipsis may still cut a row.
  bool Run(const TDRXTextLayoutBlocks& blocks) {
    // Only blocks of the last calculation's rows carry a placement.
    for (const auto& row : rows_)
      for (TDRXTextLayoutBlock* block : row->Blocks) ResetBlock(*block);
    rows_.clear();
    StartRow();
    for (auto it = blocks.begin(); it != blocks.end(); ++it) {
      TDRXTextLayoutBlock& block = **it;
      if (!row_) {
        truncated_ = truncated_ || std::any_of(it, blocks.end(), [](const auto& b) { return IsVisibleText(*b); });
        break;
      }
      switch (block.Kind()) {
        case bkLineBreak: NextRow(); break;
        case bkStyle: PlaceStyle(static_cast<TDRXTextLayoutBlockStyle&>(block)); break;
        case bkSpace: PlaceSpace(block); break;
        case bkText: PlaceText(static_cast<TDRXTextLayoutBlockText&>(block)); break;
      }
    }
    if (row_) EndRow();
    while (finished_ < rows_.size()) FinishRow(*rows_[finished_++]);
    AlignVertically();
    return truncated_;
  }

 private:
  bool Has(TDRXTextLayoutOption option) const { return (p_.Options & TextLayoutOptionBit(option)) != 0; }

  const TDRXTextLayoutStyleState& Style() {
    if (stack_.Changed) {
      style_ = stack_.State(*p_.Font, p_.LinkColor, p_.PlainColors);
      stack_.Changed = false;
      spaceSize_.reset();
    }
    return style_;
  }

  TSize SpaceSize() {
    if (!spaceSize_) {
      const TFont& font = Style().Font;
      int32_t width = 0;
      p_.Measurer->MeasureCharacters(font, u" ", &width);
      spaceSize_ = TSize{width, p_.Measurer->LineHeight(font)};
    }
    return *spaceSize_;
  }

  static void ResetBlock(TDRXTextLayoutBlock& block) {
    block.Bounds = {};
    if (block.Kind() == bkText) static_cast<TDRXTextLayoutBlockText&>(block).ShownLength = block.Length;
  }

  static bool IsVisibleText(const TDRXTextLayoutBlock& block) { return block.Kind() == bkText && block.Length > 0; }

  void Drop(const TDRXTextLayoutBlock& block) {
    if (IsVisibleText(block)) truncated_ = true;
  }

  void StartRow() {
    rows_.push_back(std::make_unique<TDRXTextLayoutRow>());
    row_ = rows_.back().get();
    row_->Bounds = {0, y_, 0, y_};
    row_->StyleMark = stack_.Mark();
    x_ = 0;
  }

  void NextRow() {
    EndRow();
    if (y_ <= height_ || Has(tloUnlimitedHeight)) StartRow();
  }

  void Place(TDRXTextLayoutBlock& block, TSize size) {
    block.Bounds = TRect::FromSize({x_, y_}, size);
    row_->Blocks.push_back(&block);
    x_ += size.cx;
  }

  void PlaceStyle(TDRXTextLayoutBlockStyle& block) {
    stack_.Process(block);
    Style();
    const int32_t at = row_->Ellipsis ? row_->Ellipsis->Bounds.Right : x_;
    block.Bounds = {at, y_, at, y_};
    row_->Blocks.push_back(&block);
  }

  void PlaceSpace(TDRXTextLayoutBlock& block) {
    // Without word wrap a space from the right edge on shows nothing; it
    // would only widen the row.
    if (row_->Ellipsis || (!Has(tloWordWrap) && !Has(tloUnlimitedWidth) && x_ >= width_)) return;
    TSize size = SpaceSize();
    if (Has(tloWordWrap) && !Has(tloUnlimitedWidth) && x_ + size.cx > width_) size.cx = 0;
    Place(block, size);
  }

  void PlaceText(TDRXTextLayoutBlockText& block) {
    if (row_->Ellipsis) return Drop(block);
    if (!Has(tloWordWrap) && x_ >= width_) {
      truncated_ = true;
      if (!Has(tloUnlimitedWidth)) {
        if (Has(tloEndEllipsis)) AddEllipsis(*row_);
        return;
      }
    }
    const TFont& font = Style().Font;
    p_.Measurer->MeasureCharacters(font, block.Chars(), block.Widths);
    block.MeasuredSize = {block.WidthOf(block.Length), p_.Measurer->LineHeight(font)};
    if (Has(tloWordWrap) && x_ > 0 && x_ + block.MeasuredSize.cx > width_) {
      NextRow();
      if (!row_) return Drop(block);
    }
    Place(block, block.MeasuredSize);
  }

  void UniteRow(TDRXTextLayoutRow& row) {
    TRect bounds{0, row.Bounds.Top, 0, row.Bounds.Top};
    bool any = false;
    for (const TDRXTextLayoutBlock* block : row.Blocks) {
      if (!IsPlaced(*block)) continue;
      const TRect& r = block->Bounds;
      bounds = any ? TRect{std::min(bounds.Left, r.Left), bounds.Top, std::max(bounds.Right, r.Right),
                           std::max(bounds.Bottom, r.Bottom)}
                   : r;
      any = true;
    }
    if (!any) bounds.Bottom = bounds.Top + SpaceSize().cy;
    row.Bounds = bounds;
  }

  void EndRow() {
    TDRXTextLayoutRow& row = *row_;
    row_ = nullptr;
    UniteRow(row);
    y_ = row.Bounds.Bottom;
    x_ = 0;
    if (row.Bounds.Bottom > height_ && !Has(tloUnlimitedHeight) && Has(tloHideCutRows)) {
      truncated_ = true;
      for (TDRXTextLayoutBlock* block : row.Blocks) ResetBlock(*block);
      stack_.RollBack(row.StyleMark);
      rows_.pop_back();
      if (Has(tloEndEllipsis) && !rows_.empty()) AddEllipsis(*rows_.back());
      return;
    }
    if (Has(tloEndEllipsis) && !Has(tloWordWrap) && !Has(tloUnlimitedWidth) && row.Bounds.Width() > width_)
      AddEllipsis(row);
    while (finished_ + 1 < rows_.size()) FinishRow(*rows_[finished_++]);
    // A row wholly below the bounds shows none of its text.
    if (row.Bounds.Top >= height_ && !Has(tloUnlimitedHeight) &&
        std::any_of(row.Blocks.begin(), row.Blocks.end(), [](auto* b) { return b->Kind() == bkText; }))
      truncated_ = true;
  }

  // Where an ellipsis cuts a row: the block that keeps characters (or none)
  // and how many it keeps.
  struct TCut {
    ptrdiff_t Index = -1;
    int32_t Shown = 0;
    int32_t Right = 0;
  };

  TCut FindCut(const TDRXTextLayoutRow& row, int32_t limit) const {
    for (ptrdiff_t i = static_cast<ptrdiff_t>(row.Blocks.size()) - 1; i >= 0; --i) {
      const TDRXTextLayoutBlock& block = *row.Blocks[i];
      if (!IsPlaced(block) || block.Bounds.Left >= limit) continue;
      TCut cut{i, 1, block.Bounds.Right};
      if (block.Kind() == bkSpace) {
        if (cut.Right > limit) cut = {i, 0, block.Bounds.Left};
        return cut;
      }
      const auto& text = static_cast<const TDRXTextLayoutBlockText&>(block);
      cut.Shown = text.ShownLength;
      int32_t width = text.WidthOf(cut.Shown);
      while (cut.Shown > 0 && (text.Bounds.Left + width > limit || IsSecondOfPair(text, cut.Shown))) {
        --cut.Shown;
        width -= text.Widths[cut.Shown];
      }
      cut.Right = text.Bounds.Left + width;
      return cut;
    }
    return {};
  }

  static bool IsSecondOfPair(const TDRXTextLayoutBlockText& text, int32_t shown) {
    const char16_t next = shown < text.Length ? text.Text[shown] : 0;
    return next >= 0xDC00 && next <= 0xDFFF && shown > 0 && text.Text[shown - 1] >= 0xD800 && text.Text[shown - 1] <= 0xDBFF;
  }

  // The font in force right after the row's block at index (at the row's start for -1).
  TFont FontAfter(const TDRXTextLayoutRow& row, ptrdiff_t index) {
    std::vector<const TDRXTextLayoutBlockStyle*> later;
    size_t before = 0;
    for (size_t i = 0; i < row.Blocks.size(); ++i) {
      if (row.Blocks[i]->Kind() != bkStyle) continue;
      auto* style = static_cast<const TDRXTextLayoutBlockStyle*>(row.Blocks[i]);
      if (static_cast<ptrdiff_t>(i) <= index) ++before;
      else later.push_back(style);
    }
    if (later.empty()) return stack_.State(*p_.Font, p_.LinkColor, p_.PlainColors).Font;
    stack_.RollBack(row.StyleMark + before);
    TFont font = stack_.State(*p_.Font, p_.LinkColor, p_.PlainColors).Font;
    for (const auto* style : later) stack_.Process(*style);
    return font;
  }

  int32_t EllipsisWidth(const TFont& font) {
    int32_t width = 0;
    p_.Measurer->MeasureCharacters(font, TDRXTextLayoutBlockEllipsis::kText, &width);
    return width;
  }

  // Cuts the row so that "…" in the styles at the cut ends within the bounds.
  void AddEllipsis(TDRXTextLayoutRow& row) {
    if (row.Ellipsis) return;
    truncated_ = true;
    auto ellipsis = std::make_unique<TDRXTextLayoutBlockEllipsis>();
    int32_t limitWidth = EllipsisWidth(stack_.State(*p_.Font, p_.LinkColor, p_.PlainColors).Font);
    TCut cut;
    TFont font;
    for (int attempt = 0; attempt < 4; ++attempt) {
      cut = FindCut(row, width_ - limitWidth);
      font = FontAfter(row, cut.Index);
      const int32_t width = EllipsisWidth(font);
      if (width <= limitWidth) break;
      limitWidth = width;
    }
    ellipsis->Widths[0] = EllipsisWidth(font);
    ellipsis->MeasuredSize = {ellipsis->Widths[0], p_.Measurer->LineHeight(font)};
    ellipsis->Bounds = TRect::FromSize({cut.Right, row.Bounds.Top}, ellipsis->MeasuredSize);
    ApplyCut(row, cut, *ellipsis);
    row.Ellipsis = std::move(ellipsis);
    UniteRow(row);
  }

  void ApplyCut(TDRXTextLayoutRow& row, const TCut& cut, TDRXTextLayoutBlockEllipsis& ellipsis) {
    std::vector<TDRXTextLayoutBlock*> blocks(row.Blocks.begin(), row.Blocks.begin() + (cut.Index + 1));
    if (cut.Index >= 0) {
      TDRXTextLayoutBlock& block = *row.Blocks[cut.Index];
      if (block.Kind() == bkText) static_cast<TDRXTextLayoutBlockText&>(block).ShownLength = cut.Shown;
      block.Bounds.Right = cut.Right;
    }
    blocks.push_back(&ellipsis);
    const int32_t end = ellipsis.Bounds.Right;
    for (size_t i = static_cast<size_t>(cut.Index + 1); i < row.Blocks.size(); ++i) {
      TDRXTextLayoutBlock* block = row.Blocks[i];
      if (block->Kind() == bkStyle) {
        block->Bounds = {end, row.Bounds.Top, end, row.Bounds.Top};
        blocks.push_back(block);
      } else {
        ResetBlock(*block);
      }
    }
    row.Blocks = std::move(blocks);
  }

  // A run starts at a right-to-left block and ends at its last right-to-left
  // block before a left-to-right one; neutrals between stay inside it.
  static void MirrorRightToLeftRuns(TDRXTextLayoutRow& row) {
    ptrdiff_t first = -1, last = -1;
    for (size_t i = 0; i < row.Blocks.size(); ++i) {
      const TDRXTextLayoutBlock& block = *row.Blocks[i];
      if (block.Kind() != bkText) continue;
      const TDRXTextDirection direction = static_cast<const TDRXTextLayoutBlockText&>(block).Direction;
      if (direction == tdRightToLeft) {
        if (first < 0) first = static_cast<ptrdiff_t>(i);
        last = static_cast<ptrdiff_t>(i);
      } else if (direction == tdLeftToRight && first >= 0) {
        Mirror(row, first, last);
        first = -1;
      }
    }
    if (first >= 0) Mirror(row, first, last);
  }

  static void Mirror(TDRXTextLayoutRow& row, ptrdiff_t first, ptrdiff_t last) {
    const int32_t left = row.Blocks[first]->Bounds.Left, right = row.Blocks[last]->Bounds.Right;
    for (ptrdiff_t i = first; i <= last; ++i) {
      TRect& r = row.Blocks[i]->Bounds;
      const int32_t width = r.Width();
      r.Left = left + right - r.Right;
      r.Right = r.Left + width;
    }
  }

  // Mirrors its right-to-left runs, aligns it and moves it into the bounds.
  void FinishRow(TDRXTextLayoutRow& row) {
    MirrorRightToLeftRuns(row);
    const int32_t free = std::max(0, width_ - row.Bounds.Width());
    const int32_t dx = p_.HorizontalAlignment == taRightJustify ? free : p_.HorizontalAlignment == taCenter ? free / 2 : 0;
    Move(row, p_.Bounds.Left + dx, p_.Bounds.Top);
  }

  static void Move(TDRXTextLayoutRow& row, int32_t dx, int32_t dy) {
    row.Bounds.Offset(dx, dy);
    for (TDRXTextLayoutBlock* block : row.Blocks) block->Bounds.Offset(dx, dy);
  }

  void AlignVertically() {
    if (p_.VerticalAlignment == taAlignTop || rows_.empty()) return;
    const int32_t total = rows_.back()->Bounds.Bottom - rows_.front()->Bounds.Top;
    const int32_t spare = std::max(0, height_ - total);
    const int32_t dy = p_.VerticalAlignment == taAlignBottom ? spare : spare / 2;
    if (dy == 0) return;
    for (auto& row : rows_) Move(*row, 0, dy);
  }

  const TDRXTextLayoutParameters& p_;
  TDRXTextLayoutRows& rows_;
  const int32_t width_;
  const int32_t height_;
  TDRXTextLayoutBlockStyleStack stack_;
  TDRXTextLayoutStyleState style_;
  std::optional<TSize> spaceSize_;
  TDRXTextLayoutRow* row_ = nullptr;
  int32_t x_ = 0;
  int32_t y_ = 0;
  bool truncated_ = false;
  size_t finished_ = 0;  // rows_[0 .. finished_) are finished
};

}  // namespace

bool CalculateTextLayout(const TDRXTextLayoutBlocks& blocks, const TDRXTextLayoutParameters& parameters,
                         TDRXTextLayoutRows& rows) {
  return TCalculator(parameters, rows).Run(blocks);
}
