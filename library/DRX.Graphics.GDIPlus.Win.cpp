#include "DRX.Graphics.GDIPlus.h"

#include "DRX.Graphics.GDI.h"

#include <algorithm>
// GDI+'s headers expect min and max in scope.
using std::max;
using std::min;
#include <objidl.h>  // PROPID and IStream, which WIN32_LEAN_AND_MEAN leaves out
#include <gdiplus.h>
#include <shlwapi.h>

#include <cstring>
#include <mutex>

#include "DRX.Graphics.SkinImage.Bitmap.h"

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

void EnsureStarted() {
  static std::once_flag started;
  std::call_once(started, [] {
    ULONG_PTR token = 0;
    GdiplusStartupInput input{};
    input.GdiplusVersion = 1;
    GdiplusStartup(&token, &input, nullptr);
  });
}

// Owners of the flat API's objects.
struct TGraphics {
  GpGraphics* Handle = nullptr;
  ~TGraphics() {
    if (Handle) GdipDeleteGraphics(Handle);
  }
};

struct TBrush {
  GpSolidFill* Handle = nullptr;
  ~TBrush() {
    if (Handle) GdipDeleteBrush(Handle);
  }
};

struct TImage {
  GpBitmap* Handle = nullptr;
  ~TImage() {
    if (Handle) GdipDisposeImage(Handle);
  }
};

struct TComStream {
  IStream* Handle = nullptr;
  ~TComStream() {
    if (Handle) Handle->Release();
  }
};

}  // namespace

void GdiPlusFillRect(HDC dc, const TRect& rect, uint32_t argb) {
  if (rect.IsEmpty()) return;
  EnsureStarted();
  TGraphics graphics;
  TBrush brush;
  if (GdipCreateFromHDC(dc, &graphics.Handle) != Ok) return;
  if (GdipCreateSolidFill(argb, &brush.Handle) != Ok) return;
  GdipFillRectangleI(graphics.Handle, brush.Handle, rect.Left, rect.Top, rect.Width(), rect.Height());
}

void FillRectInColor(HDC dc, const TRect& rect, uint32_t argb) {
  const uint32_t alpha = argb >> 24;
  if (alpha == 0 || rect.IsEmpty()) return;
  if (alpha < 255) return GdiPlusFillRect(dc, rect, argb);
  const TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF)));
  const RECT area = ToRECT(rect);
  FillRect(dc, &area, brush.Get());
}

void GdiPlusFillPixels(uint8_t* pixels, int32_t width, int32_t height, const TRect& rect, uint32_t argb) {
  if (rect.IsEmpty()) return;
  EnsureStarted();
  TImage bitmap;
  if (GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB, pixels, &bitmap.Handle) != Ok) return;
  TGraphics graphics;
  TBrush brush;
  if (GdipGetImageGraphicsContext(bitmap.Handle, &graphics.Handle) != Ok) return;
  if (GdipCreateSolidFill(argb, &brush.Handle) != Ok) return;
  GdipFillRectangleI(graphics.Handle, brush.Handle, rect.Left, rect.Top, rect.Width(), rect.Height());
}

bool GdiPlusDecodePicture(const void* data, size_t size, TDRXDecodedPicture& picture) {
  EnsureStarted();
  TComStream stream;
  stream.Handle = SHCreateMemStream(static_cast<const BYTE*>(data), static_cast<UINT>(size));
  TImage image;
  if (!stream.Handle || GdipCreateBitmapFromStream(stream.Handle, &image.Handle) != Ok) return false;
  UINT width = 0, height = 0;
  PixelFormat format = 0;
  GdipGetImageWidth(image.Handle, &width);
  GdipGetImageHeight(image.Handle, &height);
  GdipGetImagePixelFormat(image.Handle, &format);
  TDRXSkinImageBitmap::CheckSize(static_cast<int32_t>(width), static_cast<int32_t>(height));
  picture.Width = static_cast<int32_t>(width);
  picture.Height = static_cast<int32_t>(height);
  picture.HasAlphaChannel = (format & (PixelFormatAlpha | PixelFormatPAlpha)) != 0;
  picture.Pixels.assign(static_cast<size_t>(width) * height * 4, 0);
  if (picture.Pixels.empty()) return true;
  // Locking with a stride of our own writes the rows straight into the result.
  BitmapData locked{};
  locked.Width = width;
  locked.Height = height;
  locked.Stride = static_cast<INT>(width * 4);
  locked.PixelFormat = PixelFormat32bppARGB;
  locked.Scan0 = picture.Pixels.data();
  const GpRect area(0, 0, static_cast<INT>(width), static_cast<INT>(height));
  if (GdipBitmapLockBits(image.Handle, &area, ImageLockModeRead | ImageLockModeUserInputBuf, PixelFormat32bppARGB,
                         &locked) != Ok)
    return false;
  GdipBitmapUnlockBits(image.Handle, &locked);
  return true;
}
