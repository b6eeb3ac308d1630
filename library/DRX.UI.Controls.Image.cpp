#include "DRX.UI.Controls.Image.h"

#include <algorithm>

#include "DRX.Graphics.SkinImage.Bitmap.h"

namespace {

TRect CentredIn(const TRect& area, TSize size) {
  const int32_t left = area.Left + FloorDiv(static_cast<int64_t>(area.Width()) - size.cx, 2);
  const int32_t top = area.Top + FloorDiv(static_cast<int64_t>(area.Height()) - size.cy, 2);
  return Bounds(left, top, size.cx, size.cy);
}

// The largest size of the picture's proportions inside the area.
TSize FittedSize(TSize picture, const TRect& area) {
  const int64_t byWidth = static_cast<int64_t>(area.Width()) * picture.cy;
  const int64_t byHeight = static_cast<int64_t>(area.Height()) * picture.cx;
  if (byWidth <= byHeight)
    return {area.Width(), static_cast<int32_t>((byWidth + picture.cx / 2) / picture.cx)};
  return {static_cast<int32_t>((byHeight + picture.cy / 2) / picture.cy), area.Height()};
}

}  // namespace

TRect ImageTargetRect(TSize picture, const TRect& area, TDRXImageSizing sizing) {
  if (picture.cx <= 0 || picture.cy <= 0 || area.IsEmpty()) return {};
  switch (sizing) {
    case isNormal: return TRect::FromSize(area.TopLeft(), picture);
    case isCenter: return CentredIn(area, picture);
    case isFit: return CentredIn(area, FittedSize(picture, area));
    case isStretch:
    default: return area;
  }
}

void TDRXImage::LoadFromBytes(const void* data, size_t size) {
  TMemoryStream stream(std::string_view(static_cast<const char*>(data), size));
  LoadFromStream(stream);
}

void TDRXImage::LoadFromStream(TStream& stream) {
  try {
    ImportPicture(picture_, stream);
  } catch (...) {
    picture_.Clear();
    throw;
  }
}

void TDRXImage::Clear() { picture_.Clear(); }

void TDRXImage::Assign(const TDRXImage& source) { picture_.Assign(source.picture_); }
