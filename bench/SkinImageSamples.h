#pragma once
// Skin images shaped like the toolkit's real textures, for the benchmarks and
// the Wine draw timing: a button of five frames (normal, hot, pressed,
// disabled, focused) with rounded, anti-aliased corners, a one-pixel border and
// a vertical gradient, drawn nine-part with margins of 4 pixels at 96 DPI.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "DRX.Graphics.SkinImage.h"

// Pixels are premultiplied; `opaque` squares the corners so every pixel is opaque.
inline void MakeButtonTexture(TDRXSkinImage& image, int32_t frameWidth, int32_t frameHeight, int32_t dpi,
                              bool opaque = false) {
  const int32_t frames = 5;
  const double radius = opaque ? 0.0 : 3.0 * dpi / 96;
  std::vector<uint32_t> pixels(static_cast<size_t>(frameWidth) * frames * frameHeight);
  for (int32_t frame = 0; frame < frames; ++frame) {
    for (int32_t y = 0; y < frameHeight; ++y) {
      for (int32_t x = 0; x < frameWidth; ++x) {
        // Coverage of the rounded rectangle at this pixel (distance to the corner circle).
        const double cx = std::clamp(x + 0.5, radius, frameWidth - radius);
        const double cy = std::clamp(y + 0.5, radius, frameHeight - radius);
        const double distance = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
        const double coverage = radius == 0.0 ? 1.0 : std::clamp(radius + 0.5 - distance, 0.0, 1.0);
        const bool border = x == 0 || y == 0 || x == frameWidth - 1 || y == frameHeight - 1 ||
                            (radius > 0 && distance > radius - 1);
        const uint32_t shade = border ? 0x80 : static_cast<uint32_t>(0xF0 - 0x20 * y / frameHeight - 0x10 * frame);
        const uint32_t alpha = static_cast<uint32_t>(std::lround(coverage * 255));
        const uint32_t c = shade * alpha / 255;
        pixels[static_cast<size_t>(y) * frameWidth * frames + frame * frameWidth + x] = alpha << 24 | c << 16 | c << 8 | c;
      }
    }
  }
  image.AssignPixels(frameWidth * frames, frameHeight, pixels.data(), true);
  image.SetFrameCount(frames);
  const int32_t margin = 4 * dpi / 96;
  image.SetMargins({margin, margin, margin, margin});
  image.SetContentOffsets({margin + 2, margin, margin + 2, margin});
}
