#pragma once
// How a frame of a skin image maps onto a rectangle: the nine-part split by
// margins, the five-part split along the tile-area axis, centring, and the
// mapping of a hit-test point from the drawn rectangle into the frame. Pure
// functions over rectangles; drawing and hit testing both use them, so a point
// always hits what was drawn there.

#include <array>
#include <cstdint>

#include "DRX.Graphics.SkinImage.h"
#include "DRX.Graphics.Types.h"

// What of an image's settings decides the split.
struct TDRXSkinImagePartRules {
  TDRXSkinImageDrawingMode Mode = dmWholeFrame;
  TDRXMargins Margins;
  TDRXSkinImageStretchMode StretchMode = smStretch;
  TDRXSkinImageTileArea TileArea;
  TDRXSkinImageLayout TileAreaLayout = ilHorizontal;

  static TDRXSkinImagePartRules Of(const TDRXSkinImage& image);
};

// Destination parts and the source parts they are drawn from. Nine-part order:
// 0 top-left, 1 left, 2 bottom-left, 3 top, 4 bottom, 5 right, 6 top-right,
// 7 bottom-right, 8 centre. Five-part order along the axis: head, first tile,
// middle, second tile, tail. Whole frame: one part.
struct TDRXSkinImageParts {
  int Count = 0;
  std::array<TRect, 9> Dest{};
  std::array<TRect, 9> Source{};
};

// Margins that do not fit into the rectangle are reduced in proportion until
// they do, and negative margins count as 0: no part is ever inverted, the
// centre at worst has zero size.
std::array<TRect, 9> SplitNinePart(const TRect& rect, const TDRXMargins& margins);

// Destination margins for centre stretching: the centre keeps the frame's inner
// size and the margins share the rest in the proportion of the stored ones.
// A destination smaller than the frame's inner area gets margins 0 there and
// the centre takes the whole length.
TDRXMargins CenteredNinePartMargins(const TRect& dest, const TRect& frame, const TDRXMargins& margins);

// Five parts of `rect` along the tile-area axis for a frame `frameLength` long.
// Parts come out empty or inverted when the rectangle is shorter than the fixed
// parts; drawing skips those.
std::array<TRect, 5> SplitFivePart(const TRect& rect, int32_t frameLength, const TDRXSkinImageTileArea& tileArea,
                                   TDRXSkinImageLayout layout);

// A rectangle of that size centred in `rect` (halves rounded down), even when
// it is larger than `rect`.
TRect CenteredRect(const TRect& rect, int32_t width, int32_t height);

// The parts that drawing frame `frame` into `dest` uses.
TDRXSkinImageParts SplitParts(const TDRXSkinImagePartRules& rules, const TRect& dest, const TRect& frame);

// The point of the frame that a point of `dest` shows: through the first part
// that contains it (left and top inclusive), or unchanged when none does. Whole
// frames map linearly from `dest` to the frame, whatever the stretch mode.
TPoint MapHitPoint(const TDRXSkinImagePartRules& rules, const TRect& dest, const TRect& frame, int32_t x, int32_t y);
