// Pictures that are none of the skin image's own forms: "BM" bitmaps, GDI
// bitmaps and what GDI+ decodes.
#include <windows.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.Graphics.SkinImage.h"
#include "TestSupport.h"

namespace {

constexpr uint32_t kMagenta = 0xFFFF00FF;

uint32_t BigEndian(uint32_t value) {
  return (value >> 24) | ((value >> 8) & 0xFF00) | ((value << 8) & 0xFF0000) | (value << 24);
}

// A PNG of 8-bit RGBA (colour type 6) or RGB (type 2) rows, unfiltered.
std::string PngFile(int32_t width, int32_t height, bool alpha, const std::vector<uint32_t>& pixels) {
  const auto chunk = [](std::string& out, const char* type, const std::string& body) {
    const uint32_t length = BigEndian(static_cast<uint32_t>(body.size()));
    out.append(reinterpret_cast<const char*>(&length), 4);
    const std::string typed = std::string(type, 4) + body;
    out += typed;
    const uint32_t crc = BigEndian(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size())));
    out.append(reinterpret_cast<const char*>(&crc), 4);
  };
  std::string header;
  for (uint32_t v : {BigEndian(static_cast<uint32_t>(width)), BigEndian(static_cast<uint32_t>(height))}) header.append(reinterpret_cast<const char*>(&v), 4);
  header += std::string{8, static_cast<char>(alpha ? 6 : 2), 0, 0, 0};
  std::string raw;
  for (int32_t y = 0; y < height; ++y) {
    raw.push_back(0);
    for (int32_t x = 0; x < width; ++x) {
      const uint32_t p = pixels[y * width + x];
      raw += {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
      if (alpha) raw.push_back(static_cast<char>(p >> 24));
    }
  }
  std::string compressed(compressBound(static_cast<uLong>(raw.size())), '\0');
  uLongf size = static_cast<uLongf>(compressed.size());
  compress(reinterpret_cast<Bytef*>(compressed.data()), &size, reinterpret_cast<const Bytef*>(raw.data()),
           static_cast<uLong>(raw.size()));
  compressed.resize(size);
  std::string png = "\x89PNG\r\n\x1A\n";
  chunk(png, "IHDR", header);
  chunk(png, "IDAT", compressed);
  chunk(png, "IEND", "");
  return png;
}

uint32_t PixelAt(TDRXSkinImage& image, int x, int y) {
  uint32_t pixel;
  std::memcpy(&pixel, image.Bits() + (static_cast<size_t>(y) * image.Width() + x) * 4, 4);
  return pixel;
}

void Load(TDRXSkinImage& image, const std::string& bytes) {
  TMemoryStream stream(bytes);
  image.LoadFromStream(stream);
}

}  // namespace

TEST(SkinImageImport, A24BitBitmapIsKeyedOnMagenta) {
  TDRXSkinImage image;
  Load(image, BitmapFile(3, 2, 24, {kMagenta, 0xFF102030, 0xFF405060, 0xFFFE00FF, 0xFF000000, 0xFFFFFFFF}));
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.Height(), 2);
  EXPECT_EQ(image.AlphaState(), asHasAlpha);
  EXPECT_EQ(PixelAt(image, 0, 0), 0u);  // the key colour is transparent
  EXPECT_EQ(PixelAt(image, 1, 0), 0xFF102030u);
  EXPECT_EQ(PixelAt(image, 0, 1), 0xFFFE00FFu);  // close to the key is not the key
  EXPECT_EQ(PixelAt(image, 2, 1), 0xFFFFFFFFu);
  EXPECT_FALSE(image.Premultiplied());

  TDRXSkinImage plain;
  Load(plain, BitmapFile(2, 1, 24, {0xFF102030, 0xFF000000}));
  EXPECT_EQ(plain.AlphaState(), asNoAlpha);
  EXPECT_EQ(PixelAt(plain, 0, 0), 0xFF102030u);
}

TEST(SkinImageImport, A32BitBitmapKeepsItsAlpha) {
  TDRXSkinImage image;
  Load(image, BitmapFile(2, 1, 32, {0x80FF0000, kMagenta}));
  EXPECT_EQ(PixelAt(image, 0, 0), 0x80FF0000u);
  EXPECT_EQ(PixelAt(image, 1, 0), kMagenta);
  EXPECT_TRUE(image.HasAlpha());
  EXPECT_EQ(image.FrameState(0), fsTranslucent);
}

TEST(SkinImageImport, ReadingStopsAtTheBitmapsEnd) {
  TMemoryStream stream(BitmapFile(1, 1, 24, {0xFF123456}) + "NEXT");
  TDRXSkinImage image;
  image.LoadFromStream(stream);
  EXPECT_EQ(stream.Position(), stream.Size() - 4);
}

TEST(SkinImageImport, BrokenBitmapsAreRefused) {
  const std::string good = BitmapFile(4, 4, 24, std::vector<uint32_t>(16, 0xFF000000));
  std::string badDepth = good;
  badDepth[28] = 7;
  std::string hugeWidth = good;
  const int32_t width = 0x40000000;
  std::memcpy(&hugeWidth[18], &width, 4);
  std::string offsetBeyond = good;
  offsetBeyond[10] = static_cast<char>(0xF0);
  for (const std::string& bytes : {good.substr(0, 60), badDepth, offsetBeyond, std::string("BM12345678901234")}) {
    TDRXSkinImage image;
    EXPECT_THROW(Load(image, bytes), EInvalidGraphic);
    EXPECT_TRUE(image.Empty());
  }
  TDRXSkinImage image;
  EXPECT_THROW(Load(image, hugeWidth), Exception);
}

TEST(SkinImageImport, PicturesGoThroughGdiPlus) {
  TDRXSkinImage rgba;
  Load(rgba, PngFile(2, 2, true, {0x80FF0000, 0xFF00FF00, 0x00000000, kMagenta}));
  EXPECT_EQ(rgba.Width(), 2);
  EXPECT_EQ(PixelAt(rgba, 0, 0), 0x80FF0000u);  // straight, as decoded
  EXPECT_EQ(PixelAt(rgba, 1, 1), kMagenta);     // with an alpha channel nothing is keyed
  EXPECT_TRUE(rgba.HasAlpha());

  TDRXSkinImage rgb;
  Load(rgb, PngFile(2, 1, false, {kMagenta, 0xFF336699}));
  EXPECT_EQ(rgb.AlphaState(), asHasAlpha);
  EXPECT_EQ(PixelAt(rgb, 0, 0), 0u);
  EXPECT_EQ(PixelAt(rgb, 1, 0), 0xFF336699u);

  TDRXSkinImage none;
  EXPECT_THROW(Load(none, "not a picture at all"), EInvalidGraphic);
}

TEST(SkinImageImport, GdiBitmapsEnterSets) {
  const uint32_t pixels[4] = {kMagenta, 0xFF00FF00, 0xFF0000FF, 0xFFFF0000};
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, pixels);
  TDRXSkinImageSet set;
  set.Add(bitmap, 144);
  EXPECT_EQ(set.Count(), 2);
  EXPECT_EQ(set.Items(1).DPI(), 144);
  EXPECT_EQ(set.Items(1).Width(), 2);
  set.Replace(bitmap, 192);
  ASSERT_EQ(set.Count(), 1);
  EXPECT_EQ(set.Items(0).DPI(), 192);
  EXPECT_THROW(set.Add(bitmap, 500), Exception);
  EXPECT_EQ(set.Count(), 1);

  TDRXSkinImage image;
  image.AssignBitmap(bitmap, true);
  EXPECT_TRUE(image.Premultiplied());
  EXPECT_EQ(PixelAt(image, 1, 1), 0xFFFF0000u);
  DeleteObject(bitmap);
}
