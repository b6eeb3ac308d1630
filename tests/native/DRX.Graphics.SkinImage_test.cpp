#include "DRX.Graphics.SkinImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "DRX.Graphics.SkinImage.Pixels.h"

namespace {

// An image of frames side by side, each frame filled with one pixel value.
void FillFrames(TDRXSkinImage& image, int frameWidth, int height, const std::vector<uint32_t>& frames,
                bool premultiplied = true) {
  const int width = frameWidth * static_cast<int>(frames.size());
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) pixels[static_cast<size_t>(y) * width + x] = frames[x / frameWidth];
  image.AssignPixels(width, height, pixels.data(), premultiplied);
  image.SetFrameCount(static_cast<int>(frames.size()));
}

uint32_t PixelAt(TDRXSkinImage& image, int x, int y) {
  uint32_t pixel;
  std::memcpy(&pixel, image.Bits() + (static_cast<size_t>(y) * image.Width() + x) * 4, 4);
  return pixel;
}

void SetPixel(TDRXSkinImage& image, int x, int y, uint32_t pixel) {
  image.BeginUpdate();
  std::memcpy(image.Bits() + (static_cast<size_t>(y) * image.Width() + x) * 4, &pixel, 4);
  image.EndUpdate();
}

}  // namespace

TEST(SkinImagePixels, PremultiplyAndStraightenRoundToNearest) {
  struct Case {
    uint32_t straight, premultiplied;
  } cases[] = {
      {0x80FF0000, 0x80800000},  // 255 × 128 / 255
      {0x00123456, 0x00000000},  // alpha 0: all zero
      {0xFF123456, 0xFF123456},  // alpha 255: unchanged
      {0x01FFFFFF, 0x01010101},
      {0x7F010203, 0x7F000101},  // 1 × 127 / 255 = 0.498 → 0; 2 × 127 / 255 = 0.996 → 1
  };
  for (const Case& c : cases) {
    uint32_t pixel = c.straight;
    PremultiplyPixels(reinterpret_cast<uint8_t*>(&pixel), 1);
    EXPECT_EQ(pixel, c.premultiplied) << std::hex << c.straight;
  }
  EXPECT_EQ(StraightPixel(0x80800000), 0x80FF0000u);
  EXPECT_EQ(StraightPixel(0x40FFFFFF), 0x40FFFFFFu);  // invalid premultiplied colour stays at most 255
  EXPECT_EQ(StraightPixel(0x00102030), 0x00102030u);
}

TEST(SkinImagePixels, DisabledLookIsHalfTransparentGrey) {
  uint32_t pixels[] = {0xFFFFFFFF, 0xFF0000FF, 0x80808080, 0};
  MakeGrayTranslucent(reinterpret_cast<uint8_t*>(pixels), 4);
  EXPECT_EQ(pixels[0], 0x80808080u);
  EXPECT_EQ(pixels[1], 0x800F0F0Fu);  // blue's luma is 29 of 255
  EXPECT_EQ(pixels[2], 0x40404040u);
  EXPECT_EQ(pixels[3], 0u);
}

TEST(SkinImage, FrameGeometryFollowsLayoutAndCount) {
  TDRXSkinImage image;
  image.SetSize(25, 10);
  image.SetFrameCount(4);
  EXPECT_EQ(image.FrameWidth(), 6);
  EXPECT_EQ(image.FrameRect(3), Rect(18, 0, 24, 10));
  EXPECT_EQ(image.FrameRect(4), Rect(0, 0, 6, 10));  // outside: frame 0
  EXPECT_EQ(image.FrameRect(-1), Rect(0, 0, 6, 10));
  image.SetFrameLayout(ilVertical);
  EXPECT_EQ(image.FrameHeight(), 2);
  EXPECT_EQ(image.FrameRect(1), Rect(0, 2, 25, 4));
  image.SetFrameCount(40);
  EXPECT_EQ(image.FrameCount(), 10);
  image.SetFrameCount(0);
  EXPECT_EQ(image.FrameCount(), 1);
}

TEST(SkinImage, DrawingModeRule) {
  struct Case {
    TDRXSkinImageSizingMode sizing;
    TDRXMargins margins;
    TDRXSkinImageTileArea tiles;
    TDRXSkinImageDrawingMode expected;
  } cases[] = {
      {szAuto, {}, {}, dmWholeFrame},
      {szAuto, {1, 0, 0, 0}, {}, dmNinePart},
      {szAuto, {1, 0, 0, 0}, {2, 3, 10, 4}, dmFivePart},
      {szTileAreaOnly, {1, 0, 0, 0}, {2, 3, 10, 4}, dmFivePart},
      {szTileAreaOnly, {1, 0, 0, 0}, {}, dmWholeFrame},
      {szMarginsOnly, {1, 0, 0, 0}, {2, 3, 10, 4}, dmNinePart},
      {szMarginsOnly, {}, {2, 3, 10, 4}, dmWholeFrame},
      {szAuto, {}, {2, 0, 10, 0}, dmWholeFrame},  // tile lengths both 0: no tile area
  };
  for (const Case& c : cases) {
    TDRXSkinImage image;
    image.SetSizingMode(c.sizing);
    image.SetMargins(c.margins);
    image.SetTileArea(c.tiles);
    EXPECT_EQ(image.DrawingMode(), c.expected);
  }
}

TEST(SkinImage, AlphaStateOfPixelsWithoutAlphaKeysMagenta) {
  struct Case {
    std::vector<uint32_t> pixels;
    TDRXSkinImageAlphaState expected;
    std::vector<uint32_t> after;
  } cases[] = {
      {{0x00FF00FF, 0x00123456}, asHasAlpha, {0x00000000, 0xFF123456}},
      {{0x00FE00FF, 0x00123456}, asNoAlpha, {0xFFFE00FF, 0xFF123456}},
      {{0xFF00FF00, 0xFFFF00FF}, asNoAlpha, {0xFF00FF00, 0xFFFF00FF}},  // opaque: magenta stays
      {{0xFF00FF00, 0x7FFF00FF}, asHasAlpha, {0xFF00FF00, 0x7FFF00FF}},
  };
  for (const Case& c : cases) {
    TDRXSkinImage image;
    image.AssignPixels(2, 1, c.pixels.data(), false);
    EXPECT_EQ(image.AlphaState(), asUnknown);
    EXPECT_EQ(image.HasAlpha(), c.expected == asHasAlpha);
    EXPECT_EQ(image.AlphaState(), c.expected);
    EXPECT_EQ(PixelAt(image, 0, 0), c.after[0]);
    EXPECT_EQ(PixelAt(image, 1, 0), c.after[1]);
  }
  TDRXSkinImage empty;
  EXPECT_FALSE(empty.HasAlpha());
  EXPECT_EQ(empty.AlphaState(), asNoAlpha);
}

TEST(SkinImage, FrameStatesFromTheAnalysis) {
  TDRXSkinImage image;
  // Straight pixels: red at alpha 0x80, nothing, opaque, and a frame whose alpha varies.
  FillFrames(image, 3, 2, {0x80FF0000, 0x00000000, 0xFF00FF00, 0x80FF0000}, false);
  SetPixel(image, 4, 1, 0xFF0000FF);  // frame 1 varies: alpha differs
  SetPixel(image, 7, 1, 0xFF0000FF);  // frame 2 opaque with varying colours
  SetPixel(image, 11, 1, 0x80FF00FF); // frame 3: same alpha, other colour
  EXPECT_EQ(image.FrameState(0), 0x80FF0000u);
  EXPECT_EQ(image.FrameState(1), fsTranslucent);
  EXPECT_EQ(image.FrameState(2), fsOpaque);
  EXPECT_EQ(image.FrameState(3), fsTranslucent);
  EXPECT_TRUE(image.Premultiplied());  // analysis works on premultiplied pixels
  EXPECT_EQ(PixelAt(image, 0, 0), 0x80800000u);
  EXPECT_THROW(image.FrameState(4), EDRXSkinImageException);
  EXPECT_THROW(image.InnerAreaState(-1), EDRXSkinImageException);

  TDRXSkinImage clear;
  FillFrames(clear, 2, 2, {0x00000000, 0xFFFFFFFF});
  EXPECT_EQ(clear.FrameState(0), fsTransparent);
  EXPECT_EQ(clear.FrameState(1), 0xFFFFFFFFu);
}

TEST(SkinImage, InnerAreaStatesOnlyForNinePartFrames) {
  TDRXSkinImage image;
  FillFrames(image, 4, 4, {0xFF102030, 0xFF102030, 0x80000000});
  for (int x : {0, 3}) SetPixel(image, x, 0, 0xFFFFFFFF);   // frame 0: only the border varies
  SetPixel(image, 5, 1, 0x00000000);                        // frame 1: the centre varies
  EXPECT_EQ(image.InnerAreaState(0), fsOpaque);              // whole frame mode: the same state
  image.SetMargins({1, 1, 1, 1});
  EXPECT_EQ(image.FrameState(0), fsOpaque);
  EXPECT_EQ(image.InnerAreaState(0), 0xFF102030u);
  EXPECT_EQ(image.InnerAreaState(1), fsTranslucent);
  EXPECT_EQ(image.InnerAreaState(2), 0x80000000u);           // a colour frame keeps its colour
  image.SetMargins({2, 2, 2, 2});                             // nothing is left inside
  EXPECT_EQ(image.InnerAreaState(0), fsTransparent);
  image.SetMargins({-1, -1, -1, -1});                         // never reaches outside the frame
  EXPECT_EQ(image.InnerAreaState(1), fsTranslucent);
}

TEST(SkinImage, DormantStorageKeepsPixelsAndFlags) {
  TDRXSkinImage image;
  FillFrames(image, 2, 2, {0x80402010, 0xFF00FF00});
  image.HasAlpha();
  const uint32_t hash = image.HashCode();
  int changes = 0;
  image.AddListener([&changes](TDRXSkinImage&) { ++changes; });
  for (TDRXSkinImageCompression level : {icNone, icFastest, icDefault, icMaximum}) {
    SetSkinImageCompression(level);
    image.Dormant();
    EXPECT_TRUE(image.IsDormant());
    EXPECT_EQ(image.HashCode(), hash);
    EXPECT_EQ(PixelAt(image, 0, 0), 0x80402010u);
    EXPECT_FALSE(image.IsDormant());
    EXPECT_TRUE(image.Premultiplied());
    EXPECT_EQ(image.AlphaState(), asHasAlpha);
  }
  SetSkinImageCompression(icFastest);
  EXPECT_EQ(changes, 0);  // packing and unpacking are no changes
  TDRXSkinImage empty;
  empty.Dormant();
  EXPECT_FALSE(empty.IsDormant());
}

TEST(SkinImage, AssignCopiesPixelsOrStorageAndAllSettings) {
  TDRXSkinImage source;
  FillFrames(source, 2, 2, {0xFF000000, 0xFFFFFFFF});
  source.SetMargins({1, 0, 1, 0});
  source.SetHitTestMode(htNever);
  source.SetTileArea({1, 1, 1, 1});
  TDRXSkinImage live, dormant;
  live.Assign(source);
  EXPECT_TRUE(live.Equals(source));
  source.Dormant();
  dormant.Assign(source);
  EXPECT_TRUE(dormant.IsDormant());
  EXPECT_TRUE(dormant.Equals(source));
  EXPECT_EQ(dormant.HashCode(), live.HashCode());
  live.SetContentOffsets({0, 1, 0, 0});
  EXPECT_FALSE(live.Equals(source));
  live.Assign(live);  // nothing happens
  EXPECT_EQ(live.Width(), 4);
}

TEST(SkinImage, ClearKeepsSettingsAndSignalsOnlyWhenSomethingGoes) {
  TDRXSkinImage image;
  int changes = 0;
  image.AddListener([&changes](TDRXSkinImage&) { ++changes; });
  image.Clear();
  EXPECT_EQ(changes, 0);
  image.SetSize(3, 3);
  image.SetFrameCount(3);
  image.SetPremultiplied(true);
  changes = 0;
  image.Clear();
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(image.Empty());
  EXPECT_FALSE(image.Premultiplied());
  EXPECT_EQ(image.FrameCount(), 3);
}

TEST(SkinImage, ListenersRunInOrderOutsideUpdates) {
  TDRXSkinImage image;
  std::vector<int> calls;
  const int first = image.AddListener([&calls](TDRXSkinImage&) { calls.push_back(1); });
  image.AddListener([&calls](TDRXSkinImage&) { calls.push_back(2); });
  image.SetStretchMode(smTile);
  image.SetStretchMode(smTile);  // the same value: no change
  image.BeginUpdate();
  image.SetStretchMode(smCenter);
  image.SetHitTestFrame(3);
  EXPECT_TRUE(calls.size() == 2);
  image.EndUpdate();
  EXPECT_EQ(calls, (std::vector<int>{1, 2, 1, 2}));
  image.RemoveListener(first);
  image.SetAllowColoration(false);
  EXPECT_EQ(calls, (std::vector<int>{1, 2, 1, 2, 2}));
}

TEST(SkinImage, CorruptedDormantStorageIsReportedWhenUnpacked) {
  TDRXSkinImage image;
  FillFrames(image, 2, 2, {0xFF000000});
  std::string form;
  {
    TMemoryStream stream;
    image.SaveToStream(stream);
    form = std::string(stream.Bytes());
  }
  form[16 + 8 + 16 + 3] ^= 0x55;  // inside the zlib stream's first bytes
  TMemoryStream stream(form);
  TDRXSkinImage damaged;
  damaged.LoadFromStream(stream);
  EXPECT_THROW(damaged.Bits(), Exception);
  EXPECT_TRUE(damaged.IsDormant());  // still the same storage: the next use fails the same way
}

TEST(SkinImage, HitTestByPixelAlpha) {
  TDRXSkinImage image;
  FillFrames(image, 4, 4, {0xFF000000, 0x00000000});
  SetPixel(image, 1, 1, 0x7F000000);
  SetPixel(image, 2, 1, 0x80000000);
  EXPECT_TRUE(image.HitTest(Rect(0, 0, 0, 0), 5, 5));  // mode 0: always
  image.SetHitTestMode(htNever);
  EXPECT_FALSE(image.HitTest(Rect(0, 0, 4, 4), 0, 0));
  image.SetHitTestMode(static_cast<TDRXSkinImageHitTestMode>(7));
  EXPECT_FALSE(image.HitTest(Rect(0, 0, 4, 4), 0, 0));
  image.SetHitTestMode(htByAlpha);
  struct Case {
    TRect rect;
    int x, y;
    bool hit;
  } cases[] = {
      {Rect(10, 10, 14, 14), 10, 10, true},
      {Rect(10, 10, 14, 14), 11, 11, false},  // alpha 0x7F
      {Rect(10, 10, 14, 14), 12, 11, true},   // alpha 0x80
      {Rect(10, 10, 14, 14), 9, 10, false},   // outside the rectangle maps outside the frame
      {Rect(0, 0, 40, 40), 10, 10, false},    // stretched ×10: (1, 1)
      {Rect(0, 0, 40, 40), 16, 10, true},     // (1.6, 1) rounds to (2, 1)
      {Rect(0, 0, 0, 10), 0, 0, false},       // empty rectangle
  };
  for (const Case& c : cases) EXPECT_EQ(image.HitTest(c.rect, c.x, c.y), c.hit) << c.x << "," << c.y;
  image.SetHitTestFrame(1);
  EXPECT_FALSE(image.HitTest(Rect(10, 10, 14, 14), 10, 10));
  image.SetHitTestFrame(9);  // invalid: frame 0
  EXPECT_TRUE(image.HitTest(Rect(10, 10, 14, 14), 10, 10));
  TDRXSkinImage empty;
  empty.SetHitTestMode(htByAlpha);
  EXPECT_TRUE(empty.HitTest(Rect(0, 0, 0, 0), 1, 1));
}

TEST(SkinImage, SizesThatCannotBeCreated) {
  TDRXSkinImage image;
  try {
    image.SetSize(-2, 3);
    FAIL();
  } catch (const EDRXSkinImageException& e) {
    EXPECT_EQ(e.Message(), u"Cannot create image handle (-2 x 3)");
  }
  EXPECT_THROW(image.SetSize(50000, 50000), EDRXSkinImageException);
  EXPECT_THROW(image.SetSize(0x44000000, 0x7E7E7E7E), EDRXSkinImageException);  // × 4 overflows 64 bits
  image.SetSize(0, 7);
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.Bits(), nullptr);
}
