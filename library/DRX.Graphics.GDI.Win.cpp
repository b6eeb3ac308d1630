#include "DRX.Graphics.GDI.h"

#include <cstring>

#include "DRX.Exceptions.h"

TDRXClipRegionSaver::TDRXClipRegionSaver(HDC dc) : dc_(dc), saved_(CreateRectRgn(0, 0, 0, 0)) {
  hadRegion_ = saved_ && GetClipRgn(dc, saved_) == 1;
}

TDRXClipRegionSaver::~TDRXClipRegionSaver() {
  SelectClipRgn(dc_, hadRegion_ ? saved_ : nullptr);
  if (saved_) DeleteObject(saved_);
}

bool TDRXClipRegionSaver::Intersect(const TRect& rect) {
  const int result = IntersectClipRect(dc_, rect.Left, rect.Top, rect.Right, rect.Bottom);
  return result != NULLREGION && result != ERROR;
}

void DrawDottedFrame(HDC dc, const TRect& rect, COLORREF color) {
  if (rect.Width() < 2 || rect.Height() < 2) return;
  for (int32_t x = rect.Left; x < rect.Right; x += 2) {
    SetPixelV(dc, x, rect.Top, color);
    SetPixelV(dc, x, rect.Bottom - 1, color);
  }
  for (int32_t y = rect.Top; y < rect.Bottom; y += 2) {
    SetPixelV(dc, rect.Left, y, color);
    SetPixelV(dc, rect.Right - 1, y, color);
  }
}

BITMAPINFO TopDown32BitInfo(int32_t width, int32_t height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

TDRXDIBSection::TDRXDIBSection(int32_t width, int32_t height) : width_(width), height_(height) {
  const BITMAPINFO info = TopDown32BitInfo(width, height);
  void* bits = nullptr;
  bitmap_ = TDRXGdiObject<HBITMAP>(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap_) RaiseLastOSError();
  bits_ = static_cast<uint8_t*>(bits);
  std::memset(bits_, 0, static_cast<size_t>(width) * height * 4);
}

COLORREF TDRXDIBCanvas::Pixel(int32_t x, int32_t y) const {
  GdiFlush();
  const uint8_t* pixel = section_.Bits() + (static_cast<size_t>(y) * section_.Width() + x) * 4;
  return RGB(pixel[2], pixel[1], pixel[0]);
}
