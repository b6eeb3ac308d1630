#pragma once
// Plain geometry, colour and font values of the drawing code: rectangles with
// exclusive right and bottom edges (as in GDI), four-sided margins, and the
// rounding multiply-divide that all scaling uses. Portable: the Windows halves
// convert to RECT and create the real fonts where they call GDI.

#include <algorithm>
#include <cstdint>

#include "DRX.Strings.h"

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TSize {
  int32_t cx = 0;
  int32_t cy = 0;
  bool operator==(const TSize&) const = default;
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
  // No area: right <= left or bottom <= top.
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Left and top inclusive, right and bottom exclusive.
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool Contains(TPoint point) const { return Contains(point.X, point.Y); }
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
  bool operator==(const TRect&) const = default;
};

inline TRect Rect(int32_t left, int32_t top, int32_t right, int32_t bottom) { return {left, top, right, bottom}; }
inline TRect Bounds(int32_t left, int32_t top, int32_t width, int32_t height) {
  return {left, top, left + width, top + height};
}

struct TDRXMargins {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
  bool operator==(const TDRXMargins&) const = default;
};

// The common part of two rectangles (empty or inverted when they do not meet).
TRect RectIntersection(const TRect& a, const TRect& b);

// The rectangle shrunk by the margins (it may come out empty or inverted;
// edges saturate at the 32-bit limits).
TRect ShrinkRect(const TRect& rect, const TDRXMargins& margins);

// number × numerator ÷ denominator computed in 64 bits and rounded to nearest,
// halves away from zero, as the Windows MulDiv does; -1 for a zero denominator
// or a result outside 32 bits.
int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator);

// Halving and other divisions that round towards minus infinity, for centring.
int32_t FloorDiv(int64_t value, int32_t divisor);

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

// A font as the drawing code describes it; the platform creates the real one.
// Height follows LOGFONT: negative is the character height in pixels.
struct TFont {
  UString Name = u"Segoe UI";
  int32_t Height = -12;
  TFontStyles Style = 0;
  TColor Color = clBlack;
  bool operator==(const TFont&) const = default;
};

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment : uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };
