#include <windows.h>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.SkinImage.Texture.h"

void DrawSkinImageWithBorders(HDC dc, TDRXSkinImage& image, const TRect& rect, int32_t frameIndex,
                              TDRXSkinBorders borders, const TDRXMargins& scaledMargins) {
  if ((borders & sbAll) == sbAll || scaledMargins.IsZero()) {
    image.Draw(dc, rect, frameIndex, true, 255);
    return;
  }
  TDRXClipRegionSaver clip(dc);
  if (!clip.Intersect(rect)) return;
  image.Draw(dc, WidenForBorders(rect, borders, scaledMargins), frameIndex, true, 255);
}

void TDRXSkinTexture::Draw(HDC dc, const TRect& rect, int32_t frameIndex, bool enabled, uint8_t alpha) {
  current_->Draw(dc, rect, frameIndex, enabled, alpha);
}

void TDRXSkinTexture::DrawWithBorders(HDC dc, const TRect& rect, int32_t frameIndex, TDRXSkinBorders borders) {
  DrawSkinImageWithBorders(dc, *current_, rect, frameIndex, borders, Margins());
}
