#include "DRX.Graphics.Types.h"

#include <algorithm>
#include <cstdlib>

TRect RectIntersection(const TRect& a, const TRect& b) {
  return {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right), std::min(a.Bottom, b.Bottom)};
}

namespace {

int32_t Saturated(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

}  // namespace

TRect ShrinkRect(const TRect& rect, const TDRXMargins& margins) {
  return {Saturated(static_cast<int64_t>(rect.Left) + margins.Left), Saturated(static_cast<int64_t>(rect.Top) + margins.Top),
          Saturated(static_cast<int64_t>(rect.Right) - margins.Right),
          Saturated(static_cast<int64_t>(rect.Bottom) - margins.Bottom)};
}

int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  const int64_t product = static_cast<int64_t>(number) * numerator;
  const int64_t magnitude = (std::llabs(product) + std::llabs(static_cast<int64_t>(denominator)) / 2) /
                            std::llabs(static_cast<int64_t>(denominator));
  const int64_t result = ((product < 0) != (denominator < 0)) ? -magnitude : magnitude;
  if (result > INT32_MAX || result < INT32_MIN) return -1;
  return static_cast<int32_t>(result);
}

int32_t FloorDiv(int64_t value, int32_t divisor) {
  int64_t quotient = value / divisor;
  if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) --quotient;
  return static_cast<int32_t>(quotient);
}
