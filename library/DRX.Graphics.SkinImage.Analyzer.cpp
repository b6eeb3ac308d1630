#include "DRX.Graphics.SkinImage.Analyzer.h"

#include <algorithm>
#include <cstring>

#include "DRX.Graphics.SkinImage.Pixels.h"

namespace {

uint32_t PixelAt(const uint8_t* pixels, int32_t stride, int32_t x, int32_t y) {
  uint32_t value;
  std::memcpy(&value, pixels + (static_cast<size_t>(y) * stride + x) * 4, 4);
  return value;  // 0xAARRGGBB: the bytes blue, green, red, alpha read little-endian
}

}  // namespace

TDRXSkinImageFrameState TDRXSkinImageAnalyzer::AnalyzeRect(const uint8_t* pixels, int32_t stride, const TRect& rect) {
  if (rect.IsEmpty()) return fsTransparent;
  const uint32_t first = PixelAt(pixels, stride, rect.Left, rect.Top);
  const uint32_t alpha = first >> 24;
  bool sameValue = true;
  for (int32_t y = rect.Top; y < rect.Bottom; ++y) {
    // Row by row, so that the compiler can vectorise; a row whose alpha differs
    // ends the walk, which gives the same state as stopping at its pixel.
    const uint8_t* row = pixels + (static_cast<size_t>(y) * stride + rect.Left) * 4;
    uint32_t differences = 0;
    for (int32_t x = 0; x < rect.Width(); ++x) {
      uint32_t pixel;
      std::memcpy(&pixel, row + static_cast<size_t>(x) * 4, 4);
      differences |= pixel ^ first;
    }
    if (differences >> 24) return fsTranslucent;
    sameValue = sameValue && differences == 0;
  }
  if (alpha == 0) return fsTransparent;
  if (!sameValue) return alpha == 255 ? fsOpaque : fsTranslucent;
  return StraightPixel(first);
}

void TDRXSkinImageAnalyzer::Analyze(TDRXSkinImage& image) {
  uint8_t* pixels = image.Bits();
  image.SetPremultiplied(true);
  const int32_t count = image.FrameCount();
  const TRect bounds = Rect(0, 0, image.Width(), image.Height());
  image.frameStates_.assign(count, fsTransparent);
  for (int32_t i = 0; i < count && pixels; ++i)
    image.frameStates_[i] = AnalyzeRect(pixels, image.Width(), RectIntersection(image.FrameRect(i), bounds));
  image.innerStates_ = image.frameStates_;
  if (image.DrawingMode() == dmNinePart) {
    for (int32_t i = 0; i < count && pixels; ++i) {
      if (image.frameStates_[i] != fsTranslucent && image.frameStates_[i] != fsOpaque) continue;
      const TRect frame = image.FrameRect(i);
      // Negative margins would reach outside the frame: the centre never does.
      image.innerStates_[i] = AnalyzeRect(pixels, image.Width(), RectIntersection(ShrinkRect(frame, image.Margins()), frame));
    }
  }
  image.analyzed_ = true;
}

TDRXSkinImageAlphaState TDRXSkinImageAnalyzer::DetermineAlphaState(uint8_t* pixels, size_t count, bool& modified) {
  modified = false;
  bool allZero = true, allOpaque = true;
  for (size_t i = 0; i < count && (allZero || allOpaque); ++i) {
    const uint8_t alpha = pixels[4 * i + 3];
    allZero = allZero && alpha == 0;
    allOpaque = allOpaque && alpha == 255;
  }
  if (allZero) {
    modified = count > 0;
    return KeyTransparentPixels(pixels, count) ? asHasAlpha : asNoAlpha;
  }
  return allOpaque ? asNoAlpha : asHasAlpha;
}
