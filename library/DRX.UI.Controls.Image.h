#pragma once
// Pictures of the toolkit: an image decoded from bytes (on Windows any format
// GDI+ reads, PNG with its alpha channel among them, or a "BM" bitmap) and
// drawn with its alpha into a rectangle, stretched, at its own size or fitted.
// The wizard's header and side images, the add-on picture and the language
// icons are such images. Natively no picture decodes (EInvalidGraphic), but
// pixels can be assigned and the placement rules below are the same.

#include <cstddef>
#include <cstdint>

#include "DRX.Graphics.SkinImage.h"
#include "DRX.MUI.h"

#ifdef _WIN32
struct HDC__;
#endif

// How a picture is placed into the rectangle it is drawn into.
enum TDRXImageSizing : uint8_t {
  isStretch,  // fills the rectangle
  isNormal,   // at its size, from the top-left corner
  isCenter,   // at its size, centred
  isFit,      // as large as fits, keeping its proportions, centred
};

// Where a picture of that size is drawn in the area; an empty picture or area
// gives an empty rectangle. Parts outside the area are clipped when drawn.
TRect ImageTargetRect(TSize picture, const TRect& area, TDRXImageSizing sizing);

class TDRXImage : public IDRXLangIcon {
 public:
  TDRXImage() = default;
  TDRXImage(const TDRXImage&) = delete;
  TDRXImage& operator=(const TDRXImage&) = delete;

  // Replaces the picture with the decoded bytes; data that no decoder takes
  // raises EInvalidGraphic and leaves the image empty.
  void LoadFromBytes(const void* data, size_t size);
  // The same from the stream's position to its end.
  void LoadFromStream(TStream& stream) override;
  void Clear() override;
  void Assign(const TDRXImage& source);

  bool Empty() const { return picture_.Empty(); }
  int32_t Width() const { return picture_.Width(); }
  int32_t Height() const { return picture_.Height(); }
  TSize Size() const { return {Width(), Height()}; }
  // The pixels (straight alpha as decoded).
  TDRXSkinImage& Picture() { return picture_; }
  const TDRXSkinImage& Picture() const { return picture_; }

#ifdef _WIN32
  // Blends the picture over what the device context holds, clipped to the
  // area; alpha scales the picture's own. Nothing for an empty image.
  void Draw(HDC__* dc, const TRect& area, TDRXImageSizing sizing = isStretch, uint8_t alpha = 255) const;
#endif

 private:
  // Drawing prepares the pixels (unpacking, premultiplying) without changing the picture.
  mutable TDRXSkinImage picture_;
};
