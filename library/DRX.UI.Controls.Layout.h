#pragma once
// The geometry of the control tree as data: the scale factor that DPI changes
// apply, alignment of children to their parent's edges (with margins, inside
// the parent's padding) and anchoring of the others when the parent resizes.
// The controls only apply what these functions compute.

#include <cstdint>
#include <span>
#include <vector>

#include "DRX.Graphics.Types.h"

// A ratio that lengths are multiplied by, rounded as MulDiv rounds.
struct TDRXScaleFactor {
  int32_t Numerator = 96;
  int32_t Denominator = 96;

  bool IsIdentity() const { return Numerator == Denominator; }
  // v when the ratio is 1, else v × numerator ÷ denominator rounded to nearest.
  int32_t Apply(int32_t value) const;
  TRect Apply(const TRect& rect) const;
  TDRXMargins Apply(const TDRXMargins& margins) const;
  bool operator==(const TDRXScaleFactor&) const = default;
};

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

enum TAnchorKind : uint8_t { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using TAnchors = uint8_t;
inline constexpr TAnchors kDefaultAnchors = akLeft | akTop;

// Whether an alignment makes a control as wide as the space it is given.
constexpr bool AlignStretchesWidth(TAlign align) { return align == alTop || align == alBottom || align == alClient; }
constexpr bool AlignStretchesHeight(TAlign align) { return align == alLeft || align == alRight || align == alClient; }

struct TDRXLayoutItem {
  TRect Bounds;
  TAlign Align = alNone;
  TDRXMargins Margins;
  bool Visible = true;
};

// The bounds of every item after alignment inside the client rectangle less
// the padding. Items are placed edge by edge: first every top item in list
// order (each below the previous one), then bottom, left and right, and
// client items last, filling what is left. An aligned item keeps its height
// (top, bottom) or width (left, right) and takes the rest of the space less
// its margins; the margins are part of the space it uses up. Space never runs
// below zero: a row that does not fit ends up empty. Hidden and unaligned
// items keep their bounds.
std::vector<TRect> AlignItems(const TRect& client, const TDRXMargins& padding, std::span<const TDRXLayoutItem> items);

// The bounds of a control that is not aligned after its parent's client size
// changed from oldSize to newSize: an edge anchored on both sides stretches,
// one anchored only on the far side moves with it, one anchored on neither
// side keeps its centre at the same place relative to the parent's middle.
TRect AnchorBounds(const TRect& bounds, TAnchors anchors, TSize oldSize, TSize newSize);
