// The Windows half of skin images: import of GDI bitmaps, the bitmap handle,
// and drawing a frame through the renderer.
#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.Graphics.SkinImage.Bitmap.h"
#include "DRX.Graphics.SkinImage.Geometry.h"
#include "DRX.Graphics.SkinImage.Pixels.h"
#include "DRX.Graphics.SkinImage.Renderer.h"
#include "DRX.Graphics.SkinImage.h"

namespace {

// Where a draw goes: a device context, and when it is a layer of our own, its
// pixels, which solid fills then write directly so that their alpha is right.
struct TDrawTarget {
  HDC DC;
  const TDRXDIBSection* Layer = nullptr;
};

// Single colours are filled, blended at the draw's constant alpha like the
// bitmap parts, so that a fading control fades as a whole.
void FillColor(const TDrawTarget& target, const TRect& rect, TDRXSkinImageFrameState color, uint8_t alpha) {
  const uint32_t colorAlpha = static_cast<uint32_t>(MulDivRounded(static_cast<int32_t>(color >> 24), alpha, 255));
  if (colorAlpha == 0) return;
  const uint32_t argb = (colorAlpha << 24) | (color & 0xFFFFFF);
  if (target.Layer) {
    GdiFlush();
    GdiPlusFillPixels(target.Layer->Bits(), target.Layer->Width(), target.Layer->Height(), rect, argb);
  } else {
    GdiPlusFillRect(target.DC, rect, argb);
  }
}

void DrawParts(TDRXSkinImage& image, TDRXSkinImageRenderer& renderer, const TDrawTarget& target, const TRect& rect,
               int32_t frame, uint8_t alpha) {
  const TDRXSkinImagePartRules rules = TDRXSkinImagePartRules::Of(image);
  const TDRXSkinImageParts parts = SplitParts(rules, rect, image.FrameRect(frame));
  const bool tiled = rules.StretchMode == smTile;
  const int bitmapParts = rules.Mode == dmNinePart ? 8 : parts.Count;
  for (int i = 0; i < bitmapParts; ++i) renderer.DrawPart(parts.Dest[i], parts.Source[i], tiled);
  if (rules.Mode != dmNinePart) return;
  const TDRXSkinImageFrameState centre = image.InnerAreaState(frame);
  if (IsSolidColorState(centre)) FillColor(target, parts.Dest[8], centre, alpha);
  // Rounded frames blend their corners, but an opaque centre is simply copied.
  else if (centre != fsTransparent) renderer.DrawPart(parts.Dest[8], parts.Source[8], tiled, centre == fsOpaque);
}

// The enabled draw of a visible, non-empty rectangle.
void DrawFrame(TDRXSkinImage& image, const TDrawTarget& target, const TRect& rect, int32_t frame, uint8_t alpha) {
  image.Bits();
  image.SetPremultiplied(true);
  if (frame < 0 || frame >= image.FrameCount()) frame = 0;
  const TDRXSkinImageFrameState state = image.FrameState(frame);
  if (state == fsTransparent) return;
  if (IsSolidColorState(state)) {
    const bool centred = image.DrawingMode() == dmWholeFrame && image.StretchMode() == smCenter;
    FillColor(target, centred ? CenteredRect(rect, image.FrameWidth(), image.FrameHeight()) : rect, state, alpha);
    return;
  }
  TDRXSkinImageRenderer& renderer = *TDRXSkinImageRenderer::Instance();
  renderer.Begin(target.DC, rect, alpha, image.Handle(), state != fsOpaque);
  try {
    DrawParts(image, renderer, target, rect, frame, alpha);
  } catch (...) {
    renderer.End();
    throw;
  }
  renderer.End();
}

// The frame is drawn into a cleared layer, which is turned grey and half
// transparent and then blended at the draw's alpha. The layer covers only the
// visible part of the rectangle.
void DrawDisabled(TDRXSkinImage& image, HDC dc, const TRect& rect, int32_t frame, uint8_t alpha) {
  const TRect visible = RectIntersection(rect, ClipBoxOf(dc));
  if (visible.IsEmpty()) return;
  TDRXDIBSection layer(visible.Width(), visible.Height());
  TDRXMemoryDC layerDC;
  TDRXSelection selection(layerDC.Get(), layer.Handle());
  const TRect inLayer = Bounds(rect.Left - visible.Left, rect.Top - visible.Top, rect.Width(), rect.Height());
  DrawFrame(image, {layerDC.Get(), &layer}, inLayer, frame, 255);
  GdiFlush();
  MakeGrayTranslucent(layer.Bits(), static_cast<size_t>(layer.Width()) * layer.Height());
  AlphaBlend(dc, visible.Left, visible.Top, visible.Width(), visible.Height(), layerDC.Get(), 0, 0, visible.Width(),
             visible.Height(), {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA});
}

}  // namespace

void TDRXSkinImage::AssignBitmap(HBITMAP bitmap, bool premultiplied) {
  BITMAP info{};
  if (!GetObjectW(bitmap, sizeof info, &info)) throw EInvalidGraphic(u"Bitmap image is not valid");
  const int32_t width = info.bmWidth, height = std::abs(info.bmHeight);
  ReplacePixels(width, height, premultiplied, info.bmBitsPixel <= 24, [&](uint8_t* pixels) {
    BITMAPINFO header = TopDown32BitInfo(width, height);
    HDC screen = GetDC(nullptr);
    const int lines = GetDIBits(screen, bitmap, 0, static_cast<UINT>(height), pixels, &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines != height) throw EInvalidGraphic(u"Bitmap image is not valid");
  });
}

HBITMAP TDRXSkinImage::Handle() {
  Unpack();
  return bitmap_ ? static_cast<HBITMAP>(bitmap_->Handle()) : nullptr;
}

void TDRXSkinImage::Draw(HDC dc, const TRect& rect, int32_t frameIndex, bool enabled, uint8_t alpha) {
  if (Empty() || rect.IsEmpty()) return;
  const RECT area = ToRECT(rect);
  if (!RectVisible(dc, &area)) return;
  if (enabled) DrawFrame(*this, {dc}, rect, frameIndex, alpha);
  else DrawDisabled(*this, dc, rect, frameIndex, alpha);
}
