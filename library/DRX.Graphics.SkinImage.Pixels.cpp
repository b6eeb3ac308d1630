#include "DRX.Graphics.SkinImage.Pixels.h"

#include <algorithm>
#include <array>

#include "DRX.Graphics.Types.h"

namespace {

// Table[alpha][colour]: built once, the first time a conversion runs.
using TTable = std::array<std::array<uint8_t, 256>, 256>;

const TTable& PremultiplyTable() {
  static const TTable table = [] {
    TTable t{};
    for (int a = 0; a < 256; ++a)
      for (int c = 0; c < 256; ++c) t[a][c] = static_cast<uint8_t>(MulDivRounded(c, a, 255));
    return t;
  }();
  return table;
}

const TTable& StraightTable() {
  static const TTable table = [] {
    TTable t{};
    for (int a = 1; a < 256; ++a)
      for (int c = 0; c < 256; ++c) t[a][c] = static_cast<uint8_t>(std::min(255, MulDivRounded(c, 255, a)));
    return t;
  }();
  return table;
}

}  // namespace

void PremultiplyPixels(uint8_t* pixels, size_t count) {
  const TTable& table = PremultiplyTable();
  for (uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
    const uint8_t alpha = p[3];
    if (alpha == 255) continue;
    const auto& row = table[alpha];
    p[0] = row[p[0]];
    p[1] = row[p[1]];
    p[2] = row[p[2]];
  }
}

void UnpremultiplyPixels(uint8_t* pixels, size_t count) {
  const TTable& table = StraightTable();
  for (uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
    const uint8_t alpha = p[3];
    if (alpha == 0 || alpha == 255) continue;
    const auto& row = table[alpha];
    p[0] = row[p[0]];
    p[1] = row[p[1]];
    p[2] = row[p[2]];
  }
}

bool KeyTransparentPixels(uint8_t* pixels, size_t count) {
  bool found = false;
  for (uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
    if (p[0] == 255 && p[1] == 0 && p[2] == 255) {
      p[0] = p[2] = p[3] = 0;
      found = true;
    } else {
      p[3] = 255;
    }
  }
  return found;
}

uint32_t StraightPixel(uint32_t premultiplied) {
  uint8_t bytes[4] = {static_cast<uint8_t>(premultiplied), static_cast<uint8_t>(premultiplied >> 8),
                      static_cast<uint8_t>(premultiplied >> 16), static_cast<uint8_t>(premultiplied >> 24)};
  UnpremultiplyPixels(bytes, 1);
  return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (static_cast<uint32_t>(bytes[3]) << 24);
}

void MakeGrayTranslucent(uint8_t* pixels, size_t count) {
  for (uint8_t* p = pixels; p != pixels + 4 * count; p += 4) {
    // Luma of premultiplied colours is the premultiplied luma, so it stays within alpha.
    const int luma = (114 * p[0] + 587 * p[1] + 299 * p[2] + 500) / 1000;
    const uint8_t gray = static_cast<uint8_t>((luma + 1) / 2);
    p[0] = p[1] = p[2] = gray;
    p[3] = static_cast<uint8_t>((p[3] + 1) / 2);
  }
}
