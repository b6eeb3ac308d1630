#pragma once
// The blocks a text layout is made of, the stack of open styles and the rows
// of a calculated layout.

#include <array>
#include <cstdint>
#include <memory>
#include <memory_resource>
#include <optional>
#include <vector>

#include "DRX.Graphics.TextLayout.Bidi.h"
#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

enum TDRXTextLayoutBlockKind : uint8_t { bkText, bkSpace, bkLineBreak, bkStyle };

class TDRXTextLayoutBlock {
 public:
  TDRXTextLayoutBlock(int32_t position, int32_t length) : Position(position), Length(length) {}
  TDRXTextLayoutBlock(const TDRXTextLayoutBlock&) = delete;
  TDRXTextLayoutBlock& operator=(const TDRXTextLayoutBlock&) = delete;
  virtual ~TDRXTextLayoutBlock() = default;
  virtual TDRXTextLayoutBlockKind Kind() const = 0;

  int32_t Position;  // 1-based index of the first character in the source text
  int32_t Length;    // in UTF-16 units
  TRect Bounds;      // set by the calculation; empty while the block is not placed
};

// A run of characters. Text and Widths point at the block's first character
// in storage the layout owns (the ellipsis owns its own).
class TDRXTextLayoutBlockText : public TDRXTextLayoutBlock {
 public:
  TDRXTextLayoutBlockText(const char16_t* text, int32_t* widths, int32_t position, int32_t length)
      : TDRXTextLayoutBlock(position, length), Text(text), Widths(widths), ShownLength(length) {}
  TDRXTextLayoutBlockKind Kind() const override { return bkText; }
  UStringView Chars() const { return {Text, static_cast<size_t>(Length)}; }
  UStringView ShownChars() const { return {Text, static_cast<size_t>(ShownLength)}; }
  // The width of the first count characters, as last measured.
  int32_t WidthOf(int32_t count) const;

  const char16_t* Text;
  int32_t* Widths;
  int32_t ShownLength;  // less than Length when an ellipsis cut the block
  TSize MeasuredSize;
  TDRXTextDirection Direction = tdNeutral;
};

// The "…" that ends a row cut short; not part of the source text.
class TDRXTextLayoutBlockEllipsis : public TDRXTextLayoutBlockText {
 public:
  TDRXTextLayoutBlockEllipsis() : TDRXTextLayoutBlockText(kText, &width_, 0, 1) {}
  static constexpr char16_t kText[] = u"\u2026";

 private:
  int32_t width_ = 0;
};

// One white-space character: space, CR, LF, TAB or NUL.
class TDRXTextLayoutBlockSpace : public TDRXTextLayoutBlock {
 public:
  using TDRXTextLayoutBlock::TDRXTextLayoutBlock;
  TDRXTextLayoutBlockKind Kind() const override { return bkSpace; }
};

class TDRXTextLayoutBlockLineBreak : public TDRXTextLayoutBlock {
 public:
  using TDRXTextLayoutBlock::TDRXTextLayoutBlock;
  TDRXTextLayoutBlockKind Kind() const override { return bkLineBreak; }
};

// What the open styles make of the base font at a point of the text.
struct TDRXTextLayoutStyleState {
  TFont Font;
  std::optional<TColor> Fill;
};

enum TDRXTextLayoutStyleKind : uint8_t { tsBold, tsItalic, tsStrikeOut, tsUnderline, tsColor, tsFill, tsHyperlink };
constexpr size_t kTextLayoutStyleKinds = 7;

// Opens or closes a style; a closing block closes the most recently opened
// style of its own class.
class TDRXTextLayoutBlockStyle : public TDRXTextLayoutBlock {
 public:
  TDRXTextLayoutBlockStyle(int32_t position, int32_t length, bool closing)
      : TDRXTextLayoutBlock(position, length), Closing(closing) {}
  TDRXTextLayoutBlockKind Kind() const override { return bkStyle; }
  virtual TDRXTextLayoutStyleKind StyleKind() const = 0;

  bool Closing;
};

template <TDRXTextLayoutStyleKind K>
class TDRXTextLayoutBlockStyleOf : public TDRXTextLayoutBlockStyle {
 public:
  using TDRXTextLayoutBlockStyle::TDRXTextLayoutBlockStyle;
  TDRXTextLayoutStyleKind StyleKind() const override { return K; }
};

class TDRXTextLayoutBlockStyleBold : public TDRXTextLayoutBlockStyleOf<tsBold> { using TDRXTextLayoutBlockStyleOf::TDRXTextLayoutBlockStyleOf; };
class TDRXTextLayoutBlockStyleItalic : public TDRXTextLayoutBlockStyleOf<tsItalic> { using TDRXTextLayoutBlockStyleOf::TDRXTextLayoutBlockStyleOf; };
class TDRXTextLayoutBlockStyleStrikeOut : public TDRXTextLayoutBlockStyleOf<tsStrikeOut> { using TDRXTextLayoutBlockStyleOf::TDRXTextLayoutBlockStyleOf; };
class TDRXTextLayoutBlockStyleUnderline : public TDRXTextLayoutBlockStyleOf<tsUnderline> { using TDRXTextLayoutBlockStyleOf::TDRXTextLayoutBlockStyleOf; };

// COLOR: the text colour while open.
class TDRXTextLayoutBlockStyleColor : public TDRXTextLayoutBlockStyleOf<tsColor> {
 public:
  TDRXTextLayoutBlockStyleColor(int32_t position, int32_t length, bool closing, TColor color = clBlack)
      : TDRXTextLayoutBlockStyleOf(position, length, closing), Color(color) {}
  TColor Color;
};

// BACKCOLOR: the fill behind text and spaces while open.
class TDRXTextLayoutBlockStyleFill : public TDRXTextLayoutBlockStyleOf<tsFill> {
 public:
  TDRXTextLayoutBlockStyleFill(int32_t position, int32_t length, bool closing, TColor color = clBlack)
      : TDRXTextLayoutBlockStyleOf(position, length, closing), Color(color) {}
  TColor Color;
};

// URL: underlined text in the link colour; Target is what a click opens.
class TDRXTextLayoutBlockStyleHyperlink : public TDRXTextLayoutBlockStyleOf<tsHyperlink> {
 public:
  TDRXTextLayoutBlockStyleHyperlink(int32_t position, int32_t length, bool closing, UString target = {})
      : TDRXTextLayoutBlockStyleOf(position, length, closing), Target(std::move(target)) {}
  UString Target;
};

// The link colour derived from a text colour: hue 154, saturation at least
// 154, lightness within 100 ... 200 (on the 0 to 255 scale).
TColor DefaultLinkColor(TColor textColor);

// The styles now open, in the order they were opened. Kept as one stack per
// style class (with the opening order as a sequence number), so that opening,
// closing and the resulting state cost the same however deep the nesting. A
// journal of every change lets the calculation return to an earlier point of
// the text (a dropped row, the style at an ellipsis).
class TDRXTextLayoutBlockStyleStack {
 public:
  void Process(const TDRXTextLayoutBlockStyle& block);
  // The number of blocks processed so far; RollBack(mark) undoes those after it.
  size_t Mark() const { return journal_.size(); }
  void RollBack(size_t mark);
  void Clear();

  // Set by every change; the reader clears it.
  bool Changed = true;
  // Styles applied bottom to top to the base font: a later colour (COLOR or
  // URL) wins over an earlier one. Without a given link colour, URL derives it
  // from the colour beneath.
  // With plainColors the text keeps the base font's colour (links the link
  // colour) and has no fill.
  TDRXTextLayoutStyleState State(const TFont& baseFont, std::optional<TColor> linkColor, bool plainColors) const;
  // The most recently opened link still open, or none.
  const TDRXTextLayoutBlockStyleHyperlink* Link() const;

 private:
  struct TEntry {
    const TDRXTextLayoutBlockStyle* Block;
    uint64_t Sequence;
  };
  struct TChange {
    TDRXTextLayoutStyleKind StyleKind;
    bool Opened;           // undo: remove the top entry of its class
    std::optional<TEntry> Closed;  // undo: put it back
  };
  const TEntry* Top(TDRXTextLayoutStyleKind kind) const;

  std::array<std::vector<TEntry>, kTextLayoutStyleKinds> open_;
  std::vector<TChange> journal_;
  uint64_t sequence_ = 0;
};

// One row of a calculated layout: the blocks placed in it, in order, and the
// ellipsis when the row was cut short (also listed among the blocks).
class TDRXTextLayoutRow {
 public:
  TRect Bounds;
  std::vector<TDRXTextLayoutBlock*> Blocks;
  std::unique_ptr<TDRXTextLayoutBlockEllipsis> Ellipsis;
  size_t StyleMark = 0;  // the style stack's mark at the row's start
};

// The blocks of a layout, in text order. They live in one arena and go
// together: a text of a million blocks costs no million heap allocations.
class TDRXTextLayoutBlocks {
 public:
  TDRXTextLayoutBlocks() = default;
  TDRXTextLayoutBlocks(const TDRXTextLayoutBlocks&) = delete;
  TDRXTextLayoutBlocks& operator=(const TDRXTextLayoutBlocks&) = delete;
  ~TDRXTextLayoutBlocks() { Clear(); }

  template <class TBlock, class... TArgs>
  TBlock& Insert(size_t index, TArgs&&... args) {
    TBlock* block = new (arena_.allocate(sizeof(TBlock), alignof(TBlock))) TBlock(std::forward<TArgs>(args)...);
    blocks_.insert(blocks_.begin() + static_cast<ptrdiff_t>(index), block);
    return *block;
  }
  template <class TBlock, class... TArgs>
  TBlock& Add(TArgs&&... args) {
    return Insert<TBlock>(blocks_.size(), std::forward<TArgs>(args)...);
  }
  // Destroys the blocks from index count on; their memory goes with Clear.
  void Truncate(size_t count);
  void Clear();

  size_t size() const { return blocks_.size(); }
  bool empty() const { return blocks_.empty(); }
  TDRXTextLayoutBlock* operator[](size_t index) const { return blocks_[index]; }
  TDRXTextLayoutBlock* at(size_t index) const { return blocks_.at(index); }
  TDRXTextLayoutBlock* back() const { return blocks_.back(); }
  auto begin() const { return blocks_.begin(); }
  auto end() const { return blocks_.end(); }

 private:
  std::pmr::monotonic_buffer_resource arena_;
  std::vector<TDRXTextLayoutBlock*> blocks_;
};

using TDRXTextLayoutRows = std::vector<std::unique_ptr<TDRXTextLayoutRow>>;
