#pragma once
// Frame analysis of skin images: which frames (and which centres of nine-part
// frames) are fully transparent, opaque, blended or one single colour, so that
// drawing can skip them, copy them or fill them.

#include <cstdint>

#include "DRX.Graphics.SkinImage.h"

class TDRXSkinImageAnalyzer {
 public:
  // Unpacks the image, converts it to premultiplied form and computes the
  // whole-frame states and, for nine-part drawing, the inner-area states.
  static void Analyze(TDRXSkinImage& image);

  // The state of one rectangle of premultiplied pixels (`stride` pixels a row).
  // The walk stops at the first pixel whose alpha differs from the first one's.
  static TDRXSkinImageFrameState AnalyzeRect(const uint8_t* pixels, int32_t stride, const TRect& rect);

  // Alpha state of pixels whose state is unknown. Pixels without any alpha
  // (every alpha byte 0) are keyed on magenta in place, and `modified` says so.
  static TDRXSkinImageAlphaState DetermineAlphaState(uint8_t* pixels, size_t count, bool& modified);
};
