#pragma once
// Calculation: the blocks of a layout placed in rows inside its bounds.

#include <cstdint>
#include <optional>

#include "DRX.Graphics.TextLayout.Blocks.h"
#include "DRX.Graphics.TextMeasurer.h"
#include "DRX.Graphics.Types.h"

enum TDRXTextLayoutOption : uint8_t {
  tloUnlimitedHeight,  // rows are added below the bottom of the bounds too
  tloUnlimitedWidth,   // without word wrap, blocks beyond the right edge stay in their row
  tloHideCutRows,      // a row whose bottom lies below the bounds is dropped
  tloEndEllipsis,      // text that does not fit ends in "…"
  tloWordWrap          // a text block that would cross the right edge starts a new row
};
using TDRXTextLayoutOptions = uint8_t;  // bit n is option n
constexpr TDRXTextLayoutOptions TextLayoutOptionBit(TDRXTextLayoutOption option) {
  return static_cast<TDRXTextLayoutOptions>(1u << option);
}

struct TDRXTextLayoutParameters {
  TRect Bounds;
  TDRXTextLayoutOptions Options = 0;
  TAlignment HorizontalAlignment = taLeftJustify;
  TVerticalAlignment VerticalAlignment = taAlignTop;
  const TFont* Font = nullptr;
  std::optional<TColor> LinkColor;  // none: derived from the text colour
  bool PlainColors = false;         // colour and fill tags are left out (high contrast)
  IDRXTextMeasurer* Measurer = nullptr;
};

// Places blocks into rows (replacing rows) and returns whether text was left
// out. Block rectangles are in the coordinates of the bounds.
bool CalculateTextLayout(const TDRXTextLayoutBlocks& blocks, const TDRXTextLayoutParameters& parameters,
                         TDRXTextLayoutRows& rows);
