#include "DRX.Graphics.TextLayout.Bidi.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

struct TBidiRange {
  char32_t First;
  char32_t Last;
  TDRXBidiClass Class;
};

constexpr TBidiRange kBidiRanges[] = {
#include "DRX.Graphics.TextLayout.Bidi.Table.inc"
};

TDRXBidiClass FindBidiClass(char32_t codePoint) {
  const auto* end = std::end(kBidiRanges);
  const auto* range = std::upper_bound(std::begin(kBidiRanges), end, codePoint,
                                       [](char32_t value, const TBidiRange& entry) { return value < entry.First; });
  if (range == std::begin(kBidiRanges)) return bcL;
  --range;
  return codePoint <= range->Last ? range->Class : bcL;
}

// Latin, Greek, Cyrillic, Hebrew and Arabic by one look-up.
constexpr char32_t kQuickClasses = 0x800;

}  // namespace

TDRXBidiClass GetBidiClass(char32_t codePoint) {
  static const auto kQuick = [] {
    std::array<TDRXBidiClass, kQuickClasses> classes{};
    for (char32_t c = 0; c < kQuickClasses; ++c) classes[c] = FindBidiClass(c);
    return classes;
  }();
  return codePoint < kQuickClasses ? kQuick[codePoint] : FindBidiClass(codePoint);
}

TDRXTextDirection DirectionOfBidiClass(TDRXBidiClass bidiClass) {
  switch (bidiClass) {
    case bcL: case bcLRE: case bcLRO: return tdLeftToRight;
    case bcR: case bcAL: case bcRLE: case bcRLO: return tdRightToLeft;
    default: return tdNeutral;
  }
}

TDRXTextDirection DirectionOfText(UStringView text) {
  if (text.empty()) return tdNeutral;
  char32_t codePoint = text[0];
  if (codePoint >= 0xD800 && codePoint <= 0xDBFF && text.size() > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF)
    codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[1] - 0xDC00);
  return DirectionOfBidiClass(GetBidiClass(codePoint));
}

bool TextNeedsShaping(UStringView text) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t codePoint = text[i];
    if (codePoint < 0x0300) continue;
    if (codePoint >= 0xD800 && codePoint <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      codePoint = 0x10000 + ((codePoint - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    }
    switch (GetBidiClass(codePoint)) {
      case bcR: case bcAL: case bcAN: case bcNSM: return true;
      default: break;
    }
  }
  return false;
}
