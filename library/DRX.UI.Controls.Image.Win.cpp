#include <windows.h>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.Image.h"

void TDRXImage::Draw(HDC dc, const TRect& area, TDRXImageSizing sizing, uint8_t alpha) const {
  const TRect target = ImageTargetRect(Size(), area, sizing);
  if (target.IsEmpty()) return;
  TDRXClipRegionSaver clip(dc);
  if (!clip.Intersect(area)) return;
  picture_.Draw(dc, target, 0, true, alpha);
}
