// Skin images drawn into a 32-bit DIB section, checked pixel by pixel.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.SkinImage.Renderer.h"
#include "DRX.Graphics.SkinImage.Texture.h"
#include "DRX.Graphics.SkinImage.h"

namespace {

constexpr uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00,
                   kCyan = 0xFF00FFFF, kWhite = 0xFFFFFFFF, kBlack = 0xFF000000;

// A target bitmap selected into a memory device context, filled with one colour.
class TTarget {
 public:
  explicit TTarget(uint32_t background, int32_t width = 160, int32_t height = 100)
      : section_(width, height), selection_(dc_.Get(), section_.Handle()) {
    for (int32_t i = 0; i < width * height; ++i) std::memcpy(section_.Bits() + 4 * i, &background, 4);
  }
  HDC DC() const { return dc_.Get(); }
  uint32_t Pixel(int32_t x, int32_t y) const {
    GdiFlush();
    uint32_t pixel;
    std::memcpy(&pixel, section_.Bits() + (static_cast<size_t>(y) * section_.Width() + x) * 4, 4);
    return pixel;
  }

 private:
  TDRXMemoryDC dc_;
  TDRXDIBSection section_;
  TDRXSelection selection_;
};

using TPixelRule = std::function<uint32_t(int32_t x, int32_t y)>;

void Paint(TDRXSkinImage& image, int32_t width, int32_t height, const TPixelRule& rule) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = rule(x, y);
  image.AssignPixels(width, height, pixels.data(), true);
}

// Colours compared channel by channel, blending's rounding allowed for.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 1) {
  for (int shift : {0, 8, 16}) {
    const int a = (actual >> shift) & 0xFF, e = (expected >> shift) & 0xFF;
    if (std::abs(a - e) > tolerance) {
      char text[64];
      std::snprintf(text, sizeof text, "%06X is not %06X", actual & 0xFFFFFF, expected & 0xFFFFFF);
      return ::testing::AssertionFailure() << text;
    }
  }
  return ::testing::AssertionSuccess();
}

// A 20 × 20 frame with margins 4: corners red, top edge green and yellow
// halves, left edge blue, right and bottom edges cyan, a grey ramp inside.
uint32_t NinePartPixel(int32_t x, int32_t y) {
  const bool left = x < 4, right = x >= 16, top = y < 4, bottom = y >= 16;
  if ((left || right) && (top || bottom)) return kRed;
  if (top) return x - 4 < 6 ? kGreen : kYellow;
  if (left) return kBlue;
  if (right || bottom) return kCyan;
  const uint32_t grey = static_cast<uint32_t>(x * 10);
  return 0xFF000000 | grey << 16 | grey << 8 | grey;
}

}  // namespace

TEST(SkinImageDraw, NinePartStretched) {
  TDRXSkinImage image;
  Paint(image, 20, 20, NinePartPixel);
  image.SetMargins({4, 4, 4, 4});
  TTarget target(kWhite);
  image.Draw(target.DC(), Rect(10, 10, 110, 50), 0);
  EXPECT_TRUE(Near(target.Pixel(9, 9), kWhite));
  EXPECT_TRUE(Near(target.Pixel(10, 10), kRed));
  EXPECT_TRUE(Near(target.Pixel(109, 49), kRed));
  EXPECT_TRUE(Near(target.Pixel(20, 11), kGreen));   // the top edge stretched: its green half
  EXPECT_TRUE(Near(target.Pixel(100, 11), kYellow)); // and its yellow half
  EXPECT_TRUE(Near(target.Pixel(11, 30), kBlue));
  EXPECT_TRUE(Near(target.Pixel(108, 30), kCyan));
  EXPECT_TRUE(Near(target.Pixel(14, 30), 0xFF282828));   // the centre's first column (x 4)
  EXPECT_TRUE(Near(target.Pixel(105, 30), 0xFF969696));  // and its last (x 15)
  EXPECT_TRUE(Near(target.Pixel(110, 30), kWhite));
}

TEST(SkinImageDraw, NinePartTiledRepeatsTheEdgesFromTheirStart) {
  TDRXSkinImage image;
  Paint(image, 20, 20, NinePartPixel);
  image.SetMargins({4, 4, 4, 4});
  image.SetStretchMode(smTile);
  TTarget target(kWhite);
  image.Draw(target.DC(), Rect(10, 10, 110, 50), 0);
  // The top edge runs from 14 to 106: tiles of 12, six green and six yellow columns.
  for (int x : {14, 26, 38, 98}) EXPECT_TRUE(Near(target.Pixel(x, 11), kGreen)) << x;
  for (int x : {20, 32, 104, 105}) EXPECT_TRUE(Near(target.Pixel(x, 11), kYellow)) << x;
  EXPECT_TRUE(Near(target.Pixel(106, 11), kRed));  // the last tile is cut at the corner
  EXPECT_TRUE(Near(target.Pixel(14, 20), 0xFF282828));
  EXPECT_TRUE(Near(target.Pixel(26, 20), 0xFF282828));  // the centre tiles too
}

namespace {

// A 20 × 4 bar with tile area (2, 3, 10, 4): head red, first tile in three
// shades of green, middle blue, second tile yellow, tail cyan.
uint32_t BarPixel(int32_t x, int32_t) {
  if (x < 2) return kRed;
  if (x < 5) return 0xFF000000 | static_cast<uint32_t>(0x55 * (x - 1)) << 8;
  if (x < 10) return kBlue;
  if (x < 14) return kYellow;
  return kCyan;
}

}  // namespace

TEST(SkinImageDraw, FivePartBarStretchedAndTiled) {
  for (TDRXSkinImageStretchMode mode : {smStretch, smTile}) {
    TDRXSkinImage image;
    Paint(image, 20, 4, BarPixel);
    image.SetTileArea({2, 3, 10, 4});
    image.SetStretchMode(mode);
    TTarget target(kWhite);
    image.Draw(target.DC(), Rect(0, 60, 50, 64), 0);
    EXPECT_TRUE(Near(target.Pixel(1, 61), kRed));
    EXPECT_TRUE(Near(target.Pixel(22, 61), kBlue));    // the middle keeps its length: 20..25
    EXPECT_TRUE(Near(target.Pixel(30, 61), kYellow));  // the second tile: 25..44
    EXPECT_TRUE(Near(target.Pixel(44, 61), kCyan));    // the tail: 44..50
    EXPECT_TRUE(Near(target.Pixel(49, 63), kCyan));
    EXPECT_TRUE(Near(target.Pixel(1, 64), kWhite));
    if (mode == smTile) {  // the first tile (2..20) repeats its three shades from its start
      for (int x : {2, 5, 17}) EXPECT_TRUE(Near(target.Pixel(x, 61), 0xFF005500)) << x;
      for (int x : {4, 7, 19}) EXPECT_TRUE(Near(target.Pixel(x, 61), 0xFF00FF00)) << x;
    }
  }
}

TEST(SkinImageDraw, CentredFrameAtItsOwnSize) {
  TDRXSkinImage image;
  Paint(image, 8, 4, [](int32_t x, int32_t y) { return x < 4 ? (y == 0 ? kRed : kBlue) : kGreen; });
  image.SetFrameCount(2);
  image.SetStretchMode(smCenter);
  TTarget target(kWhite);
  image.Draw(target.DC(), Rect(0, 0, 11, 11), 0);
  EXPECT_TRUE(Near(target.Pixel(3, 3), kRed));
  EXPECT_TRUE(Near(target.Pixel(6, 6), kBlue));
  EXPECT_TRUE(Near(target.Pixel(2, 3), kWhite));
  EXPECT_TRUE(Near(target.Pixel(7, 7), kWhite));
  // A solid frame is filled at its own size too, centred the same way.
  image.Draw(target.DC(), Rect(20, 0, 31, 11), 1);
  EXPECT_TRUE(Near(target.Pixel(23, 3), kGreen));
  EXPECT_TRUE(Near(target.Pixel(26, 6), kGreen));
  EXPECT_TRUE(Near(target.Pixel(22, 3), kWhite));
  EXPECT_TRUE(Near(target.Pixel(27, 7), kWhite));
}

TEST(SkinImageDraw, SingleColourFramesAreFilledAndBlended) {
  TDRXSkinImage image;
  Paint(image, 8, 4, [](int32_t x, int32_t) { return x < 4 ? kGreen : 0x80800000; });  // premultiplied red at 0x80
  image.SetFrameCount(2);
  ASSERT_EQ(image.FrameState(1), 0x80FF0000u);
  TTarget target(kWhite);
  image.Draw(target.DC(), Rect(0, 0, 40, 20), 0);
  EXPECT_TRUE(Near(target.Pixel(0, 0), kGreen));
  EXPECT_TRUE(Near(target.Pixel(39, 19), kGreen));
  EXPECT_TRUE(Near(target.Pixel(40, 19), kWhite));
  image.Draw(target.DC(), Rect(50, 0, 90, 20), 1);
  EXPECT_TRUE(Near(target.Pixel(70, 10), 0xFFFF7F7F, 2));
  image.Draw(target.DC(), Rect(100, 0, 140, 20), 0, true, 128);  // the draw's alpha applies to fills
  EXPECT_TRUE(Near(target.Pixel(120, 10), 0xFF7FFF7F, 2));
}

TEST(SkinImageDraw, NothingIsDrawnForTransparentFramesAndEmptyInput) {
  TDRXSkinImage image;
  Paint(image, 4, 4, [](int32_t, int32_t) { return 0u; });
  TTarget target(kBlue);
  image.Draw(target.DC(), Rect(0, 0, 40, 40), 0);
  image.Draw(target.DC(), Rect(0, 0, 40, 40), 7, true);  // an invalid frame is frame 0
  image.Draw(target.DC(), Rect(0, 0, 40, 40), 0, false);
  EXPECT_TRUE(Near(target.Pixel(20, 20), kBlue));
  Paint(image, 4, 4, [](int32_t, int32_t) { return kRed; });
  image.Draw(target.DC(), Rect(10, 10, 10, 40), 0);   // empty
  image.Draw(target.DC(), Rect(10, 10, 5, 5), 0);     // inverted
  image.Draw(target.DC(), Rect(500, 500, 540, 540), 0);  // not visible
  EXPECT_TRUE(Near(target.Pixel(10, 20), kBlue));
  TDRXSkinImage empty;
  empty.Draw(target.DC(), Rect(0, 0, 40, 40), 0);
  EXPECT_TRUE(Near(target.Pixel(0, 0), kBlue));
}

TEST(SkinImageDraw, ConstantAlphaAndPerPixelBlending) {
  TDRXSkinImage opaque;
  Paint(opaque, 4, 4, [](int32_t x, int32_t) { return x == 0 ? 0xFFFE0000 : kRed; });
  TTarget target(kBlue);
  opaque.Draw(target.DC(), Rect(0, 0, 40, 40), 0, true, 128);
  EXPECT_TRUE(Near(target.Pixel(30, 30), 0xFF80007F));
  TDRXSkinImage translucent;  // left half red at alpha 0x80 (premultiplied), right half opaque red
  Paint(translucent, 4, 4, [](int32_t x, int32_t) { return x < 2 ? 0x80800000 : kRed; });
  translucent.Draw(target.DC(), Rect(50, 0, 90, 40), 0);
  EXPECT_TRUE(Near(target.Pixel(55, 5), 0xFF80007F));
  EXPECT_TRUE(Near(target.Pixel(85, 5), kRed));
}

TEST(SkinImageDraw, RoundedFrameBlendsItsCornersAndCopiesItsOpaqueCentre) {
  TDRXSkinImage image;
  Paint(image, 20, 20, [](int32_t x, int32_t y) {
    if ((x == 0 || x == 19) && (y == 0 || y == 19)) return 0u;  // transparent corners
    return NinePartPixel(x, y);
  });
  image.SetMargins({4, 4, 4, 4});
  ASSERT_EQ(image.FrameState(0), fsTranslucent);
  ASSERT_EQ(image.InnerAreaState(0), fsOpaque);
  TTarget target(kBlue);
  image.Draw(target.DC(), Rect(0, 0, 100, 40), 0);
  EXPECT_TRUE(Near(target.Pixel(0, 0), kBlue));
  EXPECT_TRUE(Near(target.Pixel(1, 1), kRed));
  EXPECT_TRUE(Near(target.Pixel(4, 20), 0xFF282828));
  image.Draw(target.DC(), Rect(0, 50, 100, 90), 0, true, 128);  // at alpha 128 the centre blends too
  EXPECT_TRUE(Near(target.Pixel(4, 70), 0xFF141493, 2));
}

TEST(SkinImageDraw, ManyTilesGoThroughABrushOrALayerInPhase) {
  // A 2 × 2 checker tiled 20 × 20 times: more than ten tiles.
  const auto checker = [](uint32_t dark) {
    return [dark](int32_t x, int32_t y) { return (x + y) % 2 ? kWhite : dark; };
  };
  for (uint32_t dark : {kBlack, 0x80000000u}) {  // opaque: pattern brush; with alpha: one layer
    TDRXSkinImage image;
    Paint(image, 2, 2, checker(dark));
    image.SetStretchMode(smTile);
    TTarget target(kBlue);
    SetViewportOrgEx(target.DC(), 3, 2, nullptr);  // the brush origin is mapped to the device
    image.Draw(target.DC(), Rect(5, 7, 45, 47), 0);
    const uint32_t darkOverBlue = dark == kBlack ? kBlack : 0xFF00007F;
    EXPECT_TRUE(Near(target.Pixel(8, 9), darkOverBlue)) << std::hex << dark;  // logical (5, 7): the tile's start
    EXPECT_TRUE(Near(target.Pixel(9, 9), kWhite));
    EXPECT_TRUE(Near(target.Pixel(10, 10), kWhite));
    EXPECT_TRUE(Near(target.Pixel(10, 11), darkOverBlue));
    EXPECT_TRUE(Near(target.Pixel(47, 48), darkOverBlue));
    EXPECT_TRUE(Near(target.Pixel(48, 48), kBlue));
    EXPECT_TRUE(Near(target.Pixel(7, 9), kBlue));
  }
}

TEST(SkinImageDraw, DisabledDrawIsGreyAndHalfTransparent) {
  TDRXSkinImage image;
  Paint(image, 8, 4, [](int32_t x, int32_t y) { return x < 4 ? (y ? kWhite : 0xFFFEFEFE) : kWhite; });
  image.SetFrameCount(2);
  TTarget target(kBlack);
  image.Draw(target.DC(), Rect(0, 0, 40, 40), 0, false);
  EXPECT_TRUE(Near(target.Pixel(20, 20), 0xFF808080));
  // A solid frame is filled into the layer; over grey, the layer's alpha shows.
  TTarget grey(0xFF404040);
  image.Draw(grey.DC(), Rect(50, 0, 90, 40), 1, false);
  EXPECT_TRUE(Near(grey.Pixel(70, 20), 0xFFA0A0A0));
  TTarget red(kBlack);
  TDRXSkinImage colour;
  Paint(colour, 4, 4, [](int32_t x, int32_t) { return x ? kRed : 0xFFFE0000; });
  colour.Draw(red.DC(), Rect(0, 0, 40, 40), 0, false);
  EXPECT_TRUE(Near(red.Pixel(20, 20), 0xFF262626));  // red's luma 76, halved
  EXPECT_TRUE(Near(red.Pixel(40, 20), kBlack));
}

TEST(SkinImageDraw, ADrawBegunInsideAnotherLeavesTheOuterOneIntact) {
  TDRXSkinImage outer, inner;
  Paint(outer, 2, 2, [](int32_t x, int32_t) { return x ? kRed : kGreen; });
  Paint(inner, 2, 2, [](int32_t x, int32_t) { return x ? kCyan : kYellow; });
  TTarget first(kWhite), second(kWhite);
  TDRXSkinImageRenderer& renderer = *TDRXSkinImageRenderer::Instance();
  renderer.Begin(first.DC(), Rect(0, 0, 10, 10), 255, outer.Handle(), false);
  renderer.Begin(second.DC(), Rect(0, 0, 10, 10), 255, inner.Handle(), false);
  renderer.DrawPart(Rect(0, 0, 10, 10), Rect(0, 0, 2, 2), false);
  renderer.End();
  renderer.DrawPart(Rect(0, 0, 10, 10), Rect(0, 0, 2, 2), false);
  renderer.End();
  EXPECT_FALSE(renderer.OwnedByCurrentThread());
  EXPECT_TRUE(Near(second.Pixel(1, 1), kYellow));
  EXPECT_TRUE(Near(first.Pixel(1, 1), kGreen));
  EXPECT_TRUE(Near(first.Pixel(8, 1), kRed));
  // Both bitmaps are free again: each draws on its own.
  inner.Draw(first.DC(), Rect(20, 0, 30, 10), 0);
  EXPECT_TRUE(Near(first.Pixel(28, 1), kCyan));
}

namespace {

// A texture whose 96-DPI image is the nine-part frame, red borders, green inside.
void MakeBorderTexture(TDRXSkinTexture& texture) {
  TDRXSkinImageSetItem& item = texture.Set().Items(0);
  Paint(item, 12, 12, [](int32_t x, int32_t y) { return (x < 4 || y < 4 || x >= 8 || y >= 8) ? kRed : kGreen; });
  item.SetMargins({4, 4, 4, 4});
}

}  // namespace

TEST(SkinTextureDraw, BordersNotAskedForFallOutsideTheClip) {
  TDRXSkinTexture texture;
  MakeBorderTexture(texture);
  TTarget target(kWhite);
  texture.DrawWithBorders(target.DC(), Rect(10, 10, 50, 50), 0, sbLeft | sbTop);
  EXPECT_TRUE(Near(target.Pixel(11, 30), kRed));    // left border
  EXPECT_TRUE(Near(target.Pixel(30, 11), kRed));    // top border
  EXPECT_TRUE(Near(target.Pixel(48, 30), kGreen));  // no right border: the centre reaches the edge
  EXPECT_TRUE(Near(target.Pixel(30, 48), kGreen));
  EXPECT_TRUE(Near(target.Pixel(51, 30), kWhite));  // nothing beyond the rectangle
  EXPECT_TRUE(Near(target.Pixel(30, 51), kWhite));
  // The earlier clip (none) is back: a later draw reaches outside that rectangle.
  texture.Draw(target.DC(), Rect(60, 60, 80, 80), 0);
  EXPECT_TRUE(Near(target.Pixel(60, 60), kRed));
  texture.DrawWithBorders(target.DC(), Rect(100, 10, 140, 50), 0, sbAll);
  EXPECT_TRUE(Near(target.Pixel(138, 30), kRed));
}

TEST(SkinTextureDraw, ClipNarrowedToNothingDrawsNothing) {
  TDRXSkinTexture texture;
  MakeBorderTexture(texture);
  TTarget target(kWhite);
  TDRXGdiObject<HRGN> region(CreateRectRgn(0, 0, 5, 5));
  SelectClipRgn(target.DC(), region.Get());
  texture.DrawWithBorders(target.DC(), Rect(10, 10, 50, 50), 0, sbLeft);
  SelectClipRgn(target.DC(), nullptr);
  EXPECT_TRUE(Near(target.Pixel(30, 30), kWhite));
}

TEST(SkinTextureDraw, HitTestByAlphaThroughTheCurrentImage) {
  TDRXSkinTexture texture;
  TDRXSkinImageSetItem& item = texture.Set().Items(0);
  Paint(item, 4, 4, [](int32_t x, int32_t) { return x < 2 ? 0x7F000000u : 0x80000000u; });
  item.SetHitTestMode(htByAlpha);
  EXPECT_FALSE(texture.HitTest(Rect(0, 0, 40, 40), 5, 5));
  EXPECT_TRUE(texture.HitTest(Rect(0, 0, 40, 40), 30, 5));
  EXPECT_FALSE(texture.HitTest(Rect(0, 0, 40, 40), 45, 5));
}
