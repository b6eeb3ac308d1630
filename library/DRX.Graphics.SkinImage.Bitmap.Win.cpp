#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "DRX.Format.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.Graphics.SkinImage.Bitmap.h"
#include "DRX.Graphics.SkinImage.h"

TDRXSkinImageBitmap::TDRXSkinImageBitmap(int32_t width, int32_t height) : width_(width), height_(height) {
  CheckSize(width, height);
  const BITMAPINFO info = TopDown32BitInfo(width, height);
  void* bits = nullptr;
  // The memory of a new section is zero-filled by the system.
  handle_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!handle_) throw EDRXSkinImageException(Format(u"Cannot create image handle (%d x %d)", {width, height}));
  bits_ = static_cast<uint8_t*>(bits);
}

TDRXSkinImageBitmap::~TDRXSkinImageBitmap() {
  if (handle_) DeleteObject(static_cast<HBITMAP>(handle_));
}

namespace {

[[noreturn]] void RaiseInvalidBitmap() { throw EInvalidGraphic(u"Bitmap image is not valid"); }

template <typename T>
T At(const std::string& bytes, size_t offset) {
  T value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

// Where the parts of a "BM" file lie, every size checked against the bytes there are.
struct TBitmapFileLayout {
  size_t HeaderSize;  // the info header with its masks and colour table
  size_t BitsOffset;
  size_t BitsSize;
  bool RunLength;
};

TBitmapFileLayout LayoutOf(const std::string& bytes) {
  constexpr size_t kFileHeader = sizeof(BITMAPFILEHEADER);
  if (bytes.size() < kFileHeader + sizeof(BITMAPINFOHEADER)) RaiseInvalidBitmap();
  const auto file = At<BITMAPFILEHEADER>(bytes, 0);
  const auto info = At<BITMAPINFOHEADER>(bytes, kFileHeader);
  const int64_t height = std::abs(static_cast<int64_t>(info.biHeight));
  const int bpp = info.biBitCount;
  if (info.biSize < sizeof(BITMAPINFOHEADER) || info.biSize > 1024 || info.biWidth <= 0 || height == 0 ||
      (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32))
    RaiseInvalidBitmap();
  TDRXSkinImageBitmap::CheckSize(info.biWidth, static_cast<int32_t>(std::min<int64_t>(height, INT32_MAX)));
  const uint32_t colors = bpp <= 8 ? (info.biClrUsed ? info.biClrUsed : 1u << bpp) : info.biClrUsed;
  if (colors > 256) RaiseInvalidBitmap();
  const bool bitFields = info.biCompression == BI_BITFIELDS && info.biSize == sizeof(BITMAPINFOHEADER);
  TBitmapFileLayout layout{info.biSize + (bitFields ? 12u : 0u) + 4u * colors, 0, 0, false};
  layout.BitsOffset = file.bfOffBits ? file.bfOffBits : kFileHeader + layout.HeaderSize;
  if (info.biCompression == BI_RGB || info.biCompression == BI_BITFIELDS) {
    layout.BitsSize = static_cast<size_t>((static_cast<int64_t>(info.biWidth) * bpp + 31) / 32 * 4 * height);
  } else if ((info.biCompression == BI_RLE8 && bpp == 8) || (info.biCompression == BI_RLE4 && bpp == 4)) {
    if (info.biHeight < 0) RaiseInvalidBitmap();  // run-length bitmaps are bottom-up only
    layout.BitsSize = info.biSizeImage;
    layout.RunLength = true;
  } else {
    RaiseInvalidBitmap();
  }
  if (layout.BitsOffset < kFileHeader + layout.HeaderSize || layout.BitsOffset > bytes.size() ||
      layout.BitsSize > bytes.size() - layout.BitsOffset)
    RaiseInvalidBitmap();
  return layout;
}

// A "BM" file becomes a DIB section of its own format, which the image imports.
size_t ImportWindowsBitmap(TDRXSkinImage& image, const std::string& bytes) {
  const TBitmapFileLayout layout = LayoutOf(bytes);
  std::vector<uint32_t> header((layout.HeaderSize + 3) / 4);  // aligned for BITMAPINFO
  std::memcpy(header.data(), bytes.data() + sizeof(BITMAPFILEHEADER), layout.HeaderSize);
  auto* info = reinterpret_cast<BITMAPINFO*>(header.data());
  const uint8_t* fileBits = reinterpret_cast<const uint8_t*>(bytes.data()) + layout.BitsOffset;
  std::vector<uint32_t> sectionHeader = header;
  auto* sectionInfo = reinterpret_cast<BITMAPINFO*>(sectionHeader.data());
  if (layout.RunLength) {
    sectionInfo->bmiHeader.biCompression = BI_RGB;
    sectionInfo->bmiHeader.biSizeImage = 0;
  }
  void* bits = nullptr;
  TDRXGdiObject<HBITMAP> section(CreateDIBSection(nullptr, sectionInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!section) RaiseInvalidBitmap();
  if (layout.RunLength) {
    HDC screen = GetDC(nullptr);
    const int lines = SetDIBits(screen, section.Get(), 0, static_cast<UINT>(info->bmiHeader.biHeight), fileBits, info,
                                DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (lines <= 0) RaiseInvalidBitmap();
  } else {
    std::memcpy(bits, fileBits, layout.BitsSize);
  }
  image.AssignBitmap(section.Get());
  return layout.BitsOffset + layout.BitsSize;
}

}  // namespace

void ImportPicture(TDRXSkinImage& image, TStream& stream) {
  const int64_t start = stream.Position();
  const std::string bytes = ReadRemainingBytes(stream);
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    stream.SetPosition(start + static_cast<int64_t>(ImportWindowsBitmap(image, bytes)));
    return;
  }
  TDRXDecodedPicture picture;
  if (!GdiPlusDecodePicture(bytes.data(), bytes.size(), picture)) throw EInvalidGraphic(u"Unsupported image format");
  image.AssignPixels(picture.Width, picture.Height, picture.Pixels.data(), false, !picture.HasAlphaChannel);
}
