#pragma once
// Plain geometry of the drawing code: rectangles with exclusive right and
// bottom edges, four-sided margins, and the rounding multiply-divide that all
// scaling uses. Portable: the Windows halves convert to RECT where they call GDI.

#include <cstdint>

struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  bool operator==(const TPoint&) const = default;
};

struct TRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  int32_t Width() const { return Right - Left; }
  int32_t Height() const { return Bottom - Top; }
  // No area: right <= left or bottom <= top.
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Left and top inclusive, right and bottom exclusive.
  bool Contains(int32_t x, int32_t y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
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
