#include "DRX.Graphics.SkinImage.Geometry.h"

#include <algorithm>
#include <utility>

namespace {

// Tile areas come from stored images: whatever they say, part edges stay within
// a range where every width and height still fits 32 bits.
constexpr int64_t kCoordinateLimit = 0x3FFFFFFF;

int32_t Clamp32(int64_t value) {
  return static_cast<int32_t>(std::clamp<int64_t>(value, -kCoordinateLimit, kCoordinateLimit));
}

int64_t RoundedShare(int64_t part, int64_t whole, int64_t total) {
  return (part * whole + total / 2) / total;  // all non-negative here
}

// The two margins of one axis, fitted into `length`.
std::pair<int32_t, int32_t> FitMargins(int64_t length, int64_t first, int64_t second) {
  first = std::max<int64_t>(first, 0);
  second = std::max<int64_t>(second, 0);
  if (length <= 0) return {0, 0};
  if (first + second <= length) return {static_cast<int32_t>(first), static_cast<int32_t>(second)};
  const int64_t fitted = RoundedShare(first, length, first + second);
  return {static_cast<int32_t>(fitted), static_cast<int32_t>(length - fitted)};
}

// The margins of one axis sharing what the destination has beyond the frame's centre.
std::pair<int32_t, int32_t> CenteredMargins(int64_t destLength, int64_t innerLength, int64_t first, int64_t second) {
  first = std::max<int64_t>(first, 0);
  second = std::max<int64_t>(second, 0);
  if (first == 0 && second == 0) return {0, 0};
  const int64_t extra = std::max<int64_t>(destLength - innerLength, 0);
  const int64_t shared = RoundedShare(first, extra, first + second);
  return {Clamp32(shared), Clamp32(extra - shared)};
}

struct TSpan {
  int64_t Start, End;
};

TRect AlongAxis(const TRect& rect, TSpan span, TDRXSkinImageLayout layout) {
  if (layout == ilVertical) return {rect.Left, Clamp32(span.Start), rect.Right, Clamp32(span.End)};
  return {Clamp32(span.Start), rect.Top, Clamp32(span.End), rect.Bottom};
}

int32_t MapLinear(int32_t value, int32_t fromStart, int32_t fromLength, int32_t toStart, int32_t toLength) {
  return Clamp32(static_cast<int64_t>(toStart) + MulDivRounded(value - fromStart, toLength, fromLength));
}

}  // namespace

TDRXSkinImagePartRules TDRXSkinImagePartRules::Of(const TDRXSkinImage& image) {
  return {image.DrawingMode(), image.Margins(), image.StretchMode(), image.TileArea(), image.TileAreaLayout()};
}

std::array<TRect, 9> SplitNinePart(const TRect& rect, const TDRXMargins& margins) {
  const auto [left, right] = FitMargins(static_cast<int64_t>(rect.Right) - rect.Left, margins.Left, margins.Right);
  const auto [top, bottom] = FitMargins(static_cast<int64_t>(rect.Bottom) - rect.Top, margins.Top, margins.Bottom);
  const int32_t x0 = rect.Left, x1 = rect.Left + left, x2 = rect.Right - right, x3 = rect.Right;
  const int32_t y0 = rect.Top, y1 = rect.Top + top, y2 = rect.Bottom - bottom, y3 = rect.Bottom;
  // An inverted rectangle (never drawn) keeps its edges; the parts collapse.
  const int32_t x2c = std::max(x1, x2), y2c = std::max(y1, y2);
  return {Rect(x0, y0, x1, y1),   Rect(x0, y1, x1, y2c),  Rect(x0, y2c, x1, y3), Rect(x1, y0, x2c, y1),
          Rect(x1, y2c, x2c, y3), Rect(x2c, y1, x3, y2c), Rect(x2c, y0, x3, y1), Rect(x2c, y2c, x3, y3),
          Rect(x1, y1, x2c, y2c)};
}

TDRXMargins CenteredNinePartMargins(const TRect& dest, const TRect& frame, const TDRXMargins& margins) {
  const TRect inner = SplitNinePart(frame, margins)[8];
  const auto [left, right] = CenteredMargins(static_cast<int64_t>(dest.Right) - dest.Left, inner.Width(),
                                             margins.Left, margins.Right);
  const auto [top, bottom] = CenteredMargins(static_cast<int64_t>(dest.Bottom) - dest.Top, inner.Height(),
                                             margins.Top, margins.Bottom);
  return {left, top, right, bottom};
}

std::array<TRect, 5> SplitFivePart(const TRect& rect, int32_t frameLength, const TDRXSkinImageTileArea& area,
                                   TDRXSkinImageLayout layout) {
  const int64_t s = layout == ilVertical ? rect.Top : rect.Left;
  const int64_t e = layout == ilVertical ? rect.Bottom : rect.Right;
  const int64_t head = area.Head, tile1 = area.Tile1, start2 = area.Start2, tile2 = area.Tile2;
  const int64_t middleLength = start2 - head - tile1;
  const TSpan headPart{s, s + head};
  const TSpan tailPart{e - (frameLength - start2 - tile2), e};
  TSpan middle{headPart.End, tailPart.Start};
  if (tile1 > 0 || tile2 > 0) {
    if (tile1 <= 0) {
      middle = {headPart.End, headPart.End + middleLength};
    } else if (tile2 <= 0) {
      middle = {tailPart.Start - middleLength, tailPart.Start};
    } else {
      const int64_t sum = (middle.Start + tile1) + (middle.End - tile2) - middleLength;
      const int64_t start = sum >= 0 ? sum / 2 : -((-sum + 1) / 2);
      middle = {start, start + middleLength};
    }
  }
  return {AlongAxis(rect, headPart, layout), AlongAxis(rect, {headPart.End, middle.Start}, layout),
          AlongAxis(rect, middle, layout), AlongAxis(rect, {middle.End, tailPart.Start}, layout),
          AlongAxis(rect, tailPart, layout)};
}

TRect CenteredRect(const TRect& rect, int32_t width, int32_t height) {
  const int32_t left = FloorDiv(static_cast<int64_t>(rect.Left) + rect.Right - width, 2);
  const int32_t top = FloorDiv(static_cast<int64_t>(rect.Top) + rect.Bottom - height, 2);
  return Bounds(left, top, width, height);
}

TDRXSkinImageParts SplitParts(const TDRXSkinImagePartRules& rules, const TRect& dest, const TRect& frame) {
  TDRXSkinImageParts parts;
  switch (rules.Mode) {
    case dmNinePart: {
      const TDRXMargins destMargins =
          rules.StretchMode == smCenter ? CenteredNinePartMargins(dest, frame, rules.Margins) : rules.Margins;
      const auto d = SplitNinePart(dest, destMargins), s = SplitNinePart(frame, rules.Margins);
      parts.Count = 9;
      std::copy(d.begin(), d.end(), parts.Dest.begin());
      std::copy(s.begin(), s.end(), parts.Source.begin());
      break;
    }
    case dmFivePart: {
      const bool vertical = rules.TileAreaLayout == ilVertical;
      const int32_t length = vertical ? frame.Height() : frame.Width();
      const auto d = SplitFivePart(dest, length, rules.TileArea, rules.TileAreaLayout);
      const auto s = SplitFivePart(frame, length, rules.TileArea, rules.TileAreaLayout);
      parts.Count = 5;
      std::copy(d.begin(), d.end(), parts.Dest.begin());
      std::copy(s.begin(), s.end(), parts.Source.begin());
      break;
    }
    case dmWholeFrame:
      parts.Count = 1;
      parts.Dest[0] = rules.StretchMode == smCenter ? CenteredRect(dest, frame.Width(), frame.Height()) : dest;
      parts.Source[0] = frame;
      break;
  }
  return parts;
}

TPoint MapHitPoint(const TDRXSkinImagePartRules& rules, const TRect& dest, const TRect& frame, int32_t x, int32_t y) {
  TDRXSkinImageParts parts;
  if (rules.Mode == dmWholeFrame) {
    parts.Count = 1;
    parts.Dest[0] = dest;
    parts.Source[0] = frame;
  } else {
    parts = SplitParts(rules, dest, frame);
  }
  for (int i = 0; i < parts.Count; ++i) {
    const TRect& d = parts.Dest[i];
    const TRect& s = parts.Source[i];
    if (!d.Contains(x, y)) continue;
    return {MapLinear(x, d.Left, d.Width(), s.Left, s.Width()), MapLinear(y, d.Top, d.Height(), s.Top, s.Height())};
  }
  return {x, y};
}
