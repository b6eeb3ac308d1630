#include <windows.h>

#include "DRX.UI.Controls.ImageList.h"

void TDRXImageList::Draw(HDC dc, int index, const TRect& cell, bool enabled) const {
  if (const TDRXImage* image = Image(index)) image->Draw(dc, cell, isFit, enabled ? 255 : 128);
}
