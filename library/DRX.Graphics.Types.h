#pragma once
// Plain geometry of the drawing code: four-sided margins and the rounding
// multiply-divide that all scaling uses.

#include <cstdint>

struct TDRXMargins {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;

  bool IsZero() const { return Left == 0 && Top == 0 && Right == 0 && Bottom == 0; }
  bool operator==(const TDRXMargins&) const = default;
};

// number × numerator ÷ denominator computed in 64 bits and rounded to nearest,
// halves away from zero, as the Windows MulDiv does; -1 for a zero denominator
// or a result outside 32 bits.
int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator);
