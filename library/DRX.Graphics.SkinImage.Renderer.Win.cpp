#include <windows.h>

#include <algorithm>
#include <cstring>

#include "DRX.Exceptions.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.SkinImage.Renderer.h"

namespace {

// Up to this many tiles are drawn one by one; more go through a brush or a layer.
constexpr int64_t kMaxSingleTiles = 10;

int64_t TileCount(const TRect& dest, const TRect& source) {
  const int64_t columns = (static_cast<int64_t>(dest.Width()) + source.Width() - 1) / source.Width();
  const int64_t rows = (static_cast<int64_t>(dest.Height()) + source.Height() - 1) / source.Height();
  return columns * rows;
}

BLENDFUNCTION Blend(uint8_t alpha) { return {AC_SRC_OVER, 0, alpha, AC_SRC_ALPHA}; }

// Fills a target of 32-bit pixels with tiles of the source rectangle; the tile
// grid is shifted by the phase (where the target starts within the grid).
void CopyTiled(const uint8_t* pixels, int32_t stride, const TRect& source, uint8_t* target, int32_t width,
               int32_t height, int32_t phaseX, int32_t phaseY) {
  const int32_t tileWidth = source.Width(), tileHeight = source.Height();
  for (int32_t y = 0; y < height; ++y) {
    const int32_t sourceY = source.Top + (y + phaseY) % tileHeight;
    const uint8_t* row = pixels + (static_cast<size_t>(sourceY) * stride + source.Left) * 4;
    uint8_t* out = target + static_cast<size_t>(y) * width * 4;
    for (int32_t x = 0; x < width;) {
      const int32_t offset = (x + phaseX) % tileWidth;
      const int32_t run = std::min(tileWidth - offset, width - x);
      std::memcpy(out + static_cast<size_t>(x) * 4, row + static_cast<size_t>(offset) * 4, static_cast<size_t>(run) * 4);
      x += run;
    }
  }
}

// Draws tiles of the source's size from the destination's top-left corner, one
// call per tile, under a clip narrowed to the destination.
template <typename TDrawTile>
void DrawSingleTiles(HDC dc, const TRect& dest, const TRect& source, TDrawTile drawTile) {
  TDRXClipRegionSaver clip(dc);
  if (!clip.Intersect(dest)) return;
  for (int32_t y = dest.Top; y < dest.Bottom; y += source.Height())
    for (int32_t x = dest.Left; x < dest.Right; x += source.Width()) drawTile(x, y);
}

}  // namespace

void TDRXSkinImageRenderer::ReleaseDevice() {
  if (memoryDC_) DeleteDC(memoryDC_);
  memoryDC_ = nullptr;
}

void TDRXSkinImageRenderer::Begin(HDC dc, const TRect& target, uint8_t alpha, HBITMAP bitmap, bool blending) {
  Lock();
  try {
    if (TakeFlushRequest()) GdiFlush();
    if (!memoryDC_ && !(memoryDC_ = CreateCompatibleDC(nullptr))) RaiseLastOSError();
    if (draw_.TargetDC) outerDraws_.push_back(draw_);
    TDraw draw;
    draw.TargetDC = dc;
    draw.Target = target;
    draw.Alpha = alpha;
    draw.Blending = blending;
    draw.PreviousBitmap = SelectObject(memoryDC_, bitmap);
    DIBSECTION section{};
    if (GetObjectW(bitmap, sizeof section, &section) == sizeof section) {
      draw.Pixels = static_cast<const uint8_t*>(section.dsBm.bmBits);
      draw.PixelsWidth = section.dsBm.bmWidth;
      draw.PixelsHeight = std::abs(section.dsBm.bmHeight);
    }
    draw_ = draw;
  } catch (...) {
    Unlock();
    throw;
  }
}

void TDRXSkinImageRenderer::End() {
  if (draw_.PreviousBitmap) SelectObject(memoryDC_, draw_.PreviousBitmap);
  draw_ = TDraw{};
  if (!outerDraws_.empty()) {
    draw_ = outerDraws_.back();
    outerDraws_.pop_back();
  }
  Unlock();
}

void TDRXSkinImageRenderer::DrawPart(const TRect& dest, const TRect& source, bool tiled, bool opaque) {
  if (dest.IsEmpty() || source.IsEmpty()) return;
  if ((opaque || !draw_.Blending) && draw_.Alpha == 255) DrawOpaque(draw_.TargetDC, dest, source, tiled);
  else DrawBlended(dest, source, tiled);
}

void TDRXSkinImageRenderer::DrawOpaque(HDC dc, const TRect& dest, const TRect& source, bool tiled) {
  if (!tiled) {
    const int previousMode = SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, dest.Left, dest.Top, dest.Width(), dest.Height(), memoryDC_, source.Left, source.Top,
               source.Width(), source.Height(), SRCCOPY);
    SetStretchBltMode(dc, previousMode);
  } else if (TileCount(dest, source) <= kMaxSingleTiles) {
    DrawSingleTiles(dc, dest, source, [&](int32_t x, int32_t y) {
      BitBlt(dc, x, y, source.Width(), source.Height(), memoryDC_, source.Left, source.Top, SRCCOPY);
    });
  } else {
    TileWithBrush(dc, dest, source);
  }
}

void TDRXSkinImageRenderer::TileWithBrush(HDC dc, const TRect& dest, const TRect& source) {
  const TRect tile = RectIntersection(source, Rect(0, 0, draw_.PixelsWidth, draw_.PixelsHeight));
  if (tile.IsEmpty() || !draw_.Pixels) return;
  TDRXDIBSection pattern(tile.Width(), tile.Height());
  CopyTiled(draw_.Pixels, draw_.PixelsWidth, tile, pattern.Bits(), tile.Width(), tile.Height(), 0, 0);
  TDRXGdiObject<HBRUSH> brush(CreatePatternBrush(pattern.Handle()));
  if (!brush) return;
  // The brush origin is in device units: the destination's corner, mapped.
  POINT origin{dest.Left, dest.Top};
  LPtoDP(dc, &origin, 1);
  POINT previous{};
  SetBrushOrgEx(dc, origin.x, origin.y, &previous);
  const RECT area = ToRECT(dest);
  FillRect(dc, &area, brush.Get());
  SetBrushOrgEx(dc, previous.x, previous.y, nullptr);
}

void TDRXSkinImageRenderer::DrawBlended(const TRect& dest, const TRect& source, bool tiled) {
  const BLENDFUNCTION blend = Blend(draw_.Alpha);
  if (!tiled) {
    AlphaBlend(draw_.TargetDC, dest.Left, dest.Top, dest.Width(), dest.Height(), memoryDC_, source.Left, source.Top,
               source.Width(), source.Height(), blend);
  } else if (TileCount(dest, source) <= kMaxSingleTiles) {
    DrawSingleTiles(draw_.TargetDC, dest, source, [&](int32_t x, int32_t y) {
      AlphaBlend(draw_.TargetDC, x, y, source.Width(), source.Height(), memoryDC_, source.Left, source.Top, source.Width(),
                 source.Height(), blend);
    });
  } else {
    BlendTiledLayer(dest, source);
  }
}

// Many tiles: tiled opaquely into one layer, which is blended once. The layer
// covers only the visible part of the destination, with the tiles in phase.
void TDRXSkinImageRenderer::BlendTiledLayer(const TRect& dest, const TRect& source) {
  const TRect tile = RectIntersection(source, Rect(0, 0, draw_.PixelsWidth, draw_.PixelsHeight));
  const TRect visible = RectIntersection(dest, ClipBoxOf(draw_.TargetDC));
  if (tile.IsEmpty() || visible.IsEmpty() || !draw_.Pixels) return;
  TDRXDIBSection layer(visible.Width(), visible.Height());
  CopyTiled(draw_.Pixels, draw_.PixelsWidth, tile, layer.Bits(), layer.Width(), layer.Height(),
            (visible.Left - dest.Left) % tile.Width(), (visible.Top - dest.Top) % tile.Height());
  TDRXMemoryDC layerDC;
  TDRXSelection selection(layerDC.Get(), layer.Handle());
  AlphaBlend(draw_.TargetDC, visible.Left, visible.Top, visible.Width(), visible.Height(), layerDC.Get(), 0, 0,
             visible.Width(), visible.Height(), Blend(draw_.Alpha));
}
