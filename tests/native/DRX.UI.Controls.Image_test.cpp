#include "DRX.UI.Controls.Image.h"

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "DRX.UI.Controls.ImageList.h"

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

void FillImage(TDRXImage& image, int32_t width, int32_t height) {
  const std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4, 0x80);
  image.Picture().AssignPixels(width, height, pixels.data(), false);
}

}  // namespace

TEST(ImageTargetRect, EachSizingPlacesThePicture) {
  const TRect area = Rect(10, 20, 110, 70);  // 100 × 50
  struct Case {
    const char* name;
    TSize picture;
    TDRXImageSizing sizing;
    TRect expected;
  } cases[] = {
      {"stretch fills", {16, 16}, isStretch, area},
      {"normal at the top-left", {16, 12}, isNormal, Rect(10, 20, 26, 32)},
      {"normal larger than the area is cut when drawn", {300, 90}, isNormal, Rect(10, 20, 310, 110)},
      {"centred", {16, 12}, isCenter, Rect(52, 39, 68, 51)},
      {"centred, odd room rounds to the top-left", {15, 11}, isCenter, Rect(52, 39, 67, 50)},
      {"centred and larger overhangs both sides", {120, 60}, isCenter, Rect(0, 15, 120, 75)},
      {"fit by height", {16, 16}, isFit, Rect(35, 20, 85, 70)},
      {"fit by width", {400, 100}, isFit, Rect(10, 32, 110, 57)},
      {"fit grows a small picture", {2, 1}, isFit, area},
      {"fit keeps a flag's proportions", {16, 11}, isFit, Rect(23, 20, 96, 70)},
      {"empty picture", {0, 16}, isStretch, TRect()},
      {"negative picture", {-4, 16}, isCenter, TRect()},
  };
  for (const auto& c : cases) EXPECT_EQ(ImageTargetRect(c.picture, area, c.sizing), c.expected) << c.name;
  EXPECT_EQ(ImageTargetRect({16, 16}, Rect(5, 5, 5, 40), isFit), TRect()) << "empty area";
  EXPECT_EQ(ImageTargetRect({16, 16}, Rect(0, 0, 16, 16), isFit), Rect(0, 0, 16, 16)) << "exact fit";
}

TEST(Image, BytesNoDecoderTakesLeaveTheImageEmpty) {
  TDRXImage image;
  FillImage(image, 4, 3);
  EXPECT_EQ(image.Size(), (TSize{4, 3}));
  const char garbage[] = "not a picture";
  EXPECT_THROW(image.LoadFromBytes(garbage, sizeof garbage), EInvalidGraphic);
  EXPECT_TRUE(image.Empty());
  EXPECT_THROW(image.LoadFromBytes(nullptr, 0), EInvalidGraphic);
  EXPECT_TRUE(image.Empty());
}

TEST(ImageList, AddsCopiesAndRefusesEmptyPictures) {
  TDRXImageList list;
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 16);
  TDRXImage icon, empty;
  FillImage(icon, 16, 11);
  EXPECT_EQ(list.Add(icon), 0);
  EXPECT_EQ(list.Add(empty), -1);
  icon.Clear();  // the list holds its own copy
  FillImage(icon, 8, 8);
  EXPECT_EQ(list.Add(icon), 1);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list.Image(0)->Size(), (TSize{16, 11}));
  EXPECT_EQ(list.Image(1)->Size(), (TSize{8, 8}));
  EXPECT_EQ(list.Image(2), nullptr);
  EXPECT_EQ(list.Image(-1), nullptr);
  list.Delete(7);
  list.Delete(0);
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(list.Image(0)->Size(), (TSize{8, 8}));
  EXPECT_EQ(TDRXImageList(0, -3).Width(), 1);
}
