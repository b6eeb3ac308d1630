#pragma once
// Short marked-up texts laid out in rows and drawn through a platform measurer
// and canvas: bold, italic, underlined, struck-out and coloured runs, fills and
// links. The text is imported into blocks (DRX.Graphics.TextLayout.Import),
// placed in rows on demand (DRX.Graphics.TextLayout.Calculation), then drawn,
// hit-tested or turned back into plain text.
//
// A control owns one layout and one measurer: it sets the text, its bounds and
// options, lets the layout calculate on demand, draws it into its canvas and
// asks HitTest for the link under the mouse.

#include <cstdint>
#include <optional>
#include <vector>

#include "DRX.Graphics.TextLayout.Blocks.h"
#include "DRX.Graphics.TextLayout.Calculation.h"
#include "DRX.Graphics.TextLayout.Import.h"
#include "DRX.Graphics.TextMeasurer.h"
#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

struct TDRXTextLayoutHitTestInfo {
  TDRXTextLayoutBlock* Block = nullptr;                           // the block under the point
  const TDRXTextLayoutBlockStyleHyperlink* Hyperlink = nullptr;  // the link it lies in; Target is its target
};

// A link as shown: its target, its text and the union of its placed blocks.
struct TDRXTextLayoutLink {
  UString Target;
  UString Text;
  TRect Bounds;
  bool operator==(const TDRXTextLayoutLink&) const = default;
};

class TDRXTextLayout {
 public:
  // Neither the font nor the measurer is owned; both must outlive the layout.
  TDRXTextLayout(const TFont& font, IDRXTextMeasurer& measurer);
  TDRXTextLayout(const TDRXTextLayout&) = delete;
  TDRXTextLayout& operator=(const TDRXTextLayout&) = delete;

  // Also to be called after the caller changed the font it handed in.
  void SetFont(const TFont& font);
  const TFont& Font() const { return *font_; }

  void SetText(UStringView text, const TDRXTextImportSettings& settings = {});
  const UString& Text() const { return text_; }

  void SetBounds(const TRect& bounds);
  const TRect& Bounds() const { return parameters_.Bounds; }
  void SetOption(TDRXTextLayoutOption option, bool on);
  bool HasOption(TDRXTextLayoutOption option) const;
  TDRXTextLayoutOptions Options() const { return parameters_.Options; }
  void SetHorizontalAlignment(TAlignment alignment);
  void SetVerticalAlignment(TVerticalAlignment alignment);
  TAlignment HorizontalAlignment() const { return parameters_.HorizontalAlignment; }
  TVerticalAlignment VerticalAlignment() const { return parameters_.VerticalAlignment; }
  // The colour of links; none derives it from the text colour.
  void SetLinkColor(std::optional<TColor> color);

  // Runs on demand before measuring, drawing and hit testing.
  void Calculate();
  bool NeedsCalculation() const { return needsCalculation_; }
  // Width and height of the union of the rows.
  TSize GetSize();
  // Whether the last calculation left text out.
  bool IsTruncated();

  // Draws the rows clipped to the bounds or to clip; the origin form shifts
  // the origin by origin (a scrolled view). The canvas is restored afterwards.
  void Draw(IDRXTextCanvas& canvas);
  void Draw(IDRXTextCanvas& canvas, const TRect& clip);
  void Draw(IDRXTextCanvas& canvas, const TRect& clip, TPoint origin);

  // False when no block lies under the point.
  bool HitTest(TPoint point, TDRXTextLayoutHitTestInfo& result);
  // The links of the rows shown, in text order (a link cut by hidden rows
  // keeps the part shown).
  std::vector<TDRXTextLayoutLink> Links();

  // The plain text: tags and link targets gone, each space block one space
  // (also a TAB), line breaks CR LF, characters hidden by an ellipsis kept.
  UString ToString() const;

  const TDRXTextLayoutBlocks& Blocks() const { return blocks_; }
  const TDRXTextLayoutRows& Rows();

 private:
  void CalculateIfNeeded();
  void DrawRows(IDRXTextCanvas& canvas);

  const TFont* font_;
  TDRXTextLayoutParameters parameters_;
  UString text_;
  std::vector<int32_t> widths_;
  TDRXTextLayoutBlocks blocks_;
  TDRXTextLayoutRows rows_;
  bool truncated_ = false;
  bool needsCalculation_ = true;
};
