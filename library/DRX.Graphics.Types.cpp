#include "DRX.Graphics.Types.h"

int32_t MulDivRounded(int32_t number, int32_t numerator, int32_t denominator) {
  if (denominator == 0) return -1;
  const int64_t product = int64_t{number} * numerator;
  const bool negative = (product < 0) != (denominator < 0);
  const uint64_t magnitude = product < 0 ? uint64_t(-product) : uint64_t(product);
  const uint64_t divisor = denominator < 0 ? uint64_t(-int64_t{denominator}) : uint64_t(denominator);
  const uint64_t quotient = (magnitude + divisor / 2) / divisor;
  if (quotient > (negative ? 0x80000000ull : 0x7FFFFFFFull)) return -1;
  return negative ? static_cast<int32_t>(-static_cast<int64_t>(quotient)) : static_cast<int32_t>(quotient);
}
