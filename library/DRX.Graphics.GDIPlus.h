#pragma once
// The few GDI+ services of the library (Windows only), through the flat API:
// alpha-blended solid fills and decoding of the picture formats GDI+ knows.
// GDI+ starts on first use and stays for the rest of the process.

#include <windows.h>

#include <cstdint>
#include <vector>

#include "DRX.Graphics.Types.h"

// Fills the rectangle with a straight ARGB colour, blended over what is there.
void GdiPlusFillRect(HDC dc, const TRect& rect, uint32_t argb);

// Fills in an ARGB colour: exactly through GDI when opaque, blended by GDI+
// when translucent, not at all for alpha 0.
void FillRectInColor(HDC dc, const TRect& rect, uint32_t argb);

// The same into premultiplied 32-bit pixels of our own (a layer without clip),
// where the pixels' alpha must come out right.
void GdiPlusFillPixels(uint8_t* pixels, int32_t width, int32_t height, const TRect& rect, uint32_t argb);

struct TDRXDecodedPicture {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Pixels;  // straight blue, green, red, alpha; top-down
  bool HasAlphaChannel = false;
};

// False when GDI+ cannot decode the bytes.
bool GdiPlusDecodePicture(const void* data, size_t size, TDRXDecodedPicture& picture);
