#pragma once
// Where the pixels of a live skin image are kept: a top-down 32-bit DIB section
// on Windows (so that it can be selected into a device context), a plain block
// of memory natively. The pictures that are none of the image's stored forms
// ("BM" bitmaps and what GDI+ decodes) are imported only on Windows.

#include <cstddef>
#include <cstdint>

#include "DRX.Classes.Streams.h"

class TDRXSkinImage;

class TDRXSkinImageBitmap {
 public:
  // Cleared pixels; raises "Cannot create image handle (%d x %d)" when the size
  // is negative, too large or cannot be had.
  TDRXSkinImageBitmap(int32_t width, int32_t height);
  ~TDRXSkinImageBitmap();
  TDRXSkinImageBitmap(const TDRXSkinImageBitmap&) = delete;
  TDRXSkinImageBitmap& operator=(const TDRXSkinImageBitmap&) = delete;

  uint8_t* Bits() const { return bits_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  size_t ByteCount() const { return static_cast<size_t>(width_) * static_cast<size_t>(height_) * 4; }
  // The HBITMAP of the DIB section on Windows; null natively.
  void* Handle() const { return handle_; }

  // Raises "Cannot create image handle (%d x %d)" for a size no bitmap can have.
  static void CheckSize(int32_t width, int32_t height);

 private:
  int32_t width_;
  int32_t height_;
  uint8_t* bits_ = nullptr;
  void* handle_ = nullptr;
};

// Reads a picture from the stream's position into the image (Windows: a "BM"
// bitmap, or any format GDI+ decodes). Natively, and for data no decoder takes,
// raises EInvalidGraphic.
void ImportPicture(TDRXSkinImage& image, TStream& stream);
