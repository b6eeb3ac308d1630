#include "DRX.Graphics.Colors.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

TEST(Colors, KeywordsWithOrWithoutTheLibraryPrefixes) {
  struct Case {
    const char16_t* text;
    bool found;
    TColor color;
  };
  const Case cases[] = {
      {u"Red", true, RGBColor(255, 0, 0)},        {u"clRed", true, RGBColor(255, 0, 0)},
      {u"claRed", true, RGBColor(255, 0, 0)},     {u"RED", true, RGBColor(255, 0, 0)},
      {u"clSkyBlue", true, RGBColor(135, 206, 235)}, {u"aliceblue", true, RGBColor(240, 248, 255)},
      {u"YellowGreen", true, RGBColor(154, 205, 50)}, {u"grey", true, RGBColor(128, 128, 128)},
      {u"$0080FF", true, RGBColor(255, 128, 0)},  {u"$FF", true, RGBColor(255, 0, 0)},
      {u"clNoSuch", false, 0},                    {u"", false, 0},
      {u"$", false, 0},                           {u"$12G", false, 0},
      {u"#FF8000", false, 0},                     {u"r\u00E9d", false, 0},
  };
  for (const Case& c : cases) {
    TColor color = 0;
    EXPECT_EQ(TryStringToColor(c.text, color), c.found) << Utf16ToUtf8(c.text);
    if (c.found) {
      EXPECT_EQ(color, c.color) << Utf16ToUtf8(c.text);
    }
  }
}

TEST(Colors, LenientHexadecimalDigits) {
  struct Case {
    const char16_t* text;
    TColor color;
  };
  const Case cases[] = {
      {u"#FF8000", RGBColor(255, 128, 0)}, {u"ff8000", RGBColor(255, 128, 0)}, {u"#f80", RGBColor(15, 128, 0)},
      {u"abc", RGBColor(10, 188, 0)},      {u"", RGBColor(0, 0, 0)},            {u"zz", RGBColor(0, 0, 0)},
      {u"#12345678", RGBColor(18, 52, 86)}, {u"0x80", RGBColor(0, 128, 0)},
  };
  for (const Case& c : cases) EXPECT_EQ(HexDigitsToColor(c.text), c.color) << Utf16ToUtf8(c.text);
}

TEST(Colors, HueLightnessSaturationRoundTrip) {
  for (TColor color : {RGBColor(0, 0, 0), RGBColor(255, 255, 255), RGBColor(255, 0, 0), RGBColor(0, 128, 255),
                       RGBColor(222, 140, 51), RGBColor(17, 200, 90), RGBColor(128, 128, 128)}) {
    const TColor back = HLSToColor(ColorToHLS(color));
    EXPECT_LE(std::abs(RedOf(back) - RedOf(color)), 3) << color;
    EXPECT_LE(std::abs(GreenOf(back) - GreenOf(color)), 3) << color;
    EXPECT_LE(std::abs(BlueOf(back) - BlueOf(color)), 3) << color;
  }
  const THLSColor red = ColorToHLS(RGBColor(255, 0, 0));
  EXPECT_EQ(red.Hue, 0);
  EXPECT_EQ(red.Saturation, 255);
  EXPECT_EQ(red.Lightness, 128);
}

}  // namespace
