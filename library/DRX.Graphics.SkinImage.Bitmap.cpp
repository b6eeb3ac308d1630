#include "DRX.Graphics.SkinImage.Bitmap.h"

#include "DRX.Format.h"
#include "DRX.Graphics.SkinImage.h"

void TDRXSkinImageBitmap::CheckSize(int32_t width, int32_t height) {
  if (width < 0 || height < 0 || static_cast<int64_t>(width) * height > kMaxSkinImageBytes / 4)
    throw EDRXSkinImageException(Format(u"Cannot create image handle (%d x %d)", {width, height}));
}
