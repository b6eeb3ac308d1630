#include <windows.h>

#include "DRX.UI.Resources.Texture.h"

void TDRXResourceTexture::Draw(HDC dc, const TRect& rect, int32_t frameIndex, bool enabled, uint8_t alpha) const {
  Image().Draw(dc, rect, frameIndex, enabled, alpha);
}

void TDRXResourceTexture::DrawWithBorders(HDC dc, const TRect& rect, int32_t frameIndex, TDRXSkinBorders borders) const {
  DrawSkinImageWithBorders(dc, Image(), rect, frameIndex, borders, Margins());
}
