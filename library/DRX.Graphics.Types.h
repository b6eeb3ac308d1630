#pragma once
// The geometry, colour and font values that the portable graphics units share.
// Rectangles are half-open, as in GDI: Right and Bottom lie just outside.

#include <algorithm>
#include <cstdint>

#include "DRX.Strings.h"

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  friend bool operator==(const TSize&, const TSize&) = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  static TRect FromSize(TPoint topLeft, TSize size) {
    return {topLeft.X, topLeft.Y, topLeft.X + size.cx, topLeft.Y + size.cy};
  }
  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return {Left, Top}; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(TPoint point) const {
    return point.X >= Left && point.X < Right && point.Y >= Top && point.Y < Bottom;
  }
  void Offset(int32_t dx, int32_t dy) {
    Left += dx;
    Right += dx;
    Top += dy;
    Bottom += dy;
  }
  // The smallest rectangle holding both; an empty rectangle adds nothing.
  TRect Union(const TRect& other) const {
    if (other.IsEmpty()) return *this;
    if (IsEmpty()) return other;
    return {std::min(Left, other.Left), std::min(Top, other.Top), std::max(Right, other.Right),
            std::max(Bottom, other.Bottom)};
  }
  friend bool operator==(const TRect&, const TRect&) = default;
};

// A colour as GDI's COLORREF stores it: 0x00BBGGRR.
using TColor = uint32_t;

constexpr TColor RGBColor(uint8_t red, uint8_t green, uint8_t blue) {
  return static_cast<TColor>(red) | static_cast<TColor>(green) << 8 | static_cast<TColor>(blue) << 16;
}
constexpr uint8_t RedOf(TColor color) { return static_cast<uint8_t>(color); }
constexpr uint8_t GreenOf(TColor color) { return static_cast<uint8_t>(color >> 8); }
constexpr uint8_t BlueOf(TColor color) { return static_cast<uint8_t>(color >> 16); }

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;

// A font as the text code describes it; the platform creates the real one.
// Height follows LOGFONT: negative is the character height in pixels.
struct TFont {
  UString Name = u"Segoe UI";
  int32_t Height = -12;
  TFontStyles Style = 0;
  TColor Color = clBlack;
  friend bool operator==(const TFont&, const TFont&) = default;
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment : uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };
