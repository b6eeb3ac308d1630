#include <cstdlib>

#include "DRX.Format.h"
#include "DRX.Graphics.SkinImage.Bitmap.h"
#include "DRX.Graphics.SkinImage.h"

TDRXSkinImageBitmap::TDRXSkinImageBitmap(int32_t width, int32_t height) : width_(width), height_(height) {
  CheckSize(width, height);
  bits_ = static_cast<uint8_t*>(std::calloc(ByteCount() ? ByteCount() : 1, 1));
  if (!bits_) throw EDRXSkinImageException(Format(u"Cannot create image handle (%d x %d)", {width, height}));
}

TDRXSkinImageBitmap::~TDRXSkinImageBitmap() { std::free(bits_); }

void ImportPicture(TDRXSkinImage&, TStream&) {
  throw EInvalidGraphic(u"Unsupported image format");
}
