#include "DRX.UI.Controls.Image.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.ImageList.h"
#include "TestSupport.h"

namespace {

// Columns 0 and 1 opaque red, column 2 blue at alpha 128, column 3 transparent.
void LoadFixture(TDRXImage& image) {
  TMemoryStream stream;
  stream.LoadFromFile(TestDataFile(u"images/alpha-4x4.png"));
  image.LoadFromStream(stream);
}

// A canvas painted white.
struct TWhiteCanvas : TDRXDIBCanvas {
  TWhiteCanvas(int32_t width, int32_t height) : TDRXDIBCanvas(width, height) {
    const RECT all{0, 0, width, height};
    FillRect(DC(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
};

::testing::AssertionResult Near(COLORREF actual, COLORREF expected) {
  const auto off = [](int a, int b) { return std::abs(a - b) > 3; };
  if (off(GetRValue(actual), GetRValue(expected)) || off(GetGValue(actual), GetGValue(expected)) ||
      off(GetBValue(actual), GetBValue(expected)))
    return ::testing::AssertionFailure() << std::hex << "0x" << actual << " is not near 0x" << expected;
  return ::testing::AssertionSuccess();
}

}  // namespace

TEST(ImageDraw, PngWithAlphaStretchedOverWhite) {
  TDRXImage image;
  LoadFixture(image);
  ASSERT_EQ(image.Size(), (TSize{4, 4}));
  TWhiteCanvas canvas(12, 12);
  image.Draw(canvas.DC(), Rect(0, 0, 8, 8));
  EXPECT_TRUE(Near(canvas.Pixel(1, 1), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(canvas.Pixel(3, 6), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(canvas.Pixel(5, 3), RGB(127, 127, 255)));  // half blue over white
  EXPECT_TRUE(Near(canvas.Pixel(7, 7), RGB(255, 255, 255)));  // transparent
  EXPECT_TRUE(Near(canvas.Pixel(10, 10), RGB(255, 255, 255)));  // outside the rectangle
}

TEST(ImageDraw, AtItsSizeClippedToTheAreaAndWithConstantAlpha) {
  TDRXImage image;
  LoadFixture(image);
  TWhiteCanvas canvas(12, 12);
  image.Draw(canvas.DC(), Rect(2, 2, 4, 12), isNormal);
  EXPECT_TRUE(Near(canvas.Pixel(3, 3), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(canvas.Pixel(4, 3), RGB(255, 255, 255)));  // column 2 falls outside the area
  EXPECT_TRUE(Near(canvas.Pixel(3, 6), RGB(255, 255, 255)));  // below the picture's own height
  image.Draw(canvas.DC(), Rect(6, 6, 12, 12), isCenter, 128);
  EXPECT_TRUE(Near(canvas.Pixel(8, 8), RGB(255, 127, 127)));  // red at half strength
  EXPECT_TRUE(Near(canvas.Pixel(6, 6), RGB(255, 255, 255)));  // centred: starts at 7
}

TEST(ImageDraw, ImageListFitsEachPictureIntoItsCell) {
  TDRXImage image;
  LoadFixture(image);
  TDRXImageList list;
  ASSERT_EQ(list.Add(image), 0);
  TWhiteCanvas canvas(40, 20);
  list.Draw(canvas.DC(), 0, Rect(0, 0, 40, 20));  // a 20 × 20 square in the middle
  EXPECT_TRUE(Near(canvas.Pixel(9, 10), RGB(255, 255, 255)));
  EXPECT_TRUE(Near(canvas.Pixel(12, 10), RGB(255, 0, 0)));
  EXPECT_TRUE(Near(canvas.Pixel(22, 10), RGB(127, 127, 255)));
  list.Draw(canvas.DC(), 1, Rect(0, 0, 40, 20));  // no such picture: nothing
  list.Draw(canvas.DC(), 0, Rect(0, 0, 40, 20), false);
  EXPECT_TRUE(Near(canvas.Pixel(12, 10), RGB(255, 0, 0)));  // drawn at half over red
}

TEST(ImageDraw, UndecodableBytesRaiseAndEmptyImagesDrawNothing) {
  TDRXImage image;
  LoadFixture(image);
  const uint8_t truncated[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0};
  EXPECT_THROW(image.LoadFromBytes(truncated, sizeof truncated), EInvalidGraphic);
  EXPECT_TRUE(image.Empty());
  TWhiteCanvas canvas(4, 4);
  image.Draw(canvas.DC(), Rect(0, 0, 4, 4));
  EXPECT_TRUE(Near(canvas.Pixel(1, 1), RGB(255, 255, 255)));
}
