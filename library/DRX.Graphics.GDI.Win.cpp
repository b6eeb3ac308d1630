#include "DRX.Graphics.GDI.h"

#include "DRX.Exceptions.h"

TGdiMemoryDC::TGdiMemoryDC(HDC compatibleWith) : dc_(CreateCompatibleDC(compatibleWith)) {
  if (!dc_) RaiseLastOSError();
}

TGdiMemoryDC::~TGdiMemoryDC() { DeleteDC(dc_); }

namespace {

HBITMAP CreateDib(int width, int height, void** bits) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
  if (!bitmap) RaiseLastOSError();
  return bitmap;
}

}  // namespace

TGdiDibSection::TGdiDibSection(int width, int height)
    : width_(width), height_(height), bitmap_(CreateDib(width, height, &bits_)), selection_(dc_.Handle(), bitmap_.Handle()) {}

COLORREF TGdiDibSection::Pixel(int x, int y) const {
  GdiFlush();
  const auto* pixel = static_cast<const BYTE*>(bits_) + (static_cast<size_t>(y) * width_ + x) * 4;
  return RGB(pixel[2], pixel[1], pixel[0]);
}
