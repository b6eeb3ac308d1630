#include "DRX.Graphics.TextLayout.Bidi.h"

#include <gtest/gtest.h>

#include "DRX.Graphics.TextLayout.Blocks.h"
#include "DRX.Graphics.Colors.h"

namespace {

TEST(TextLayoutBidi, ClassesOfTheCharactersALayoutMeets) {
  struct Case {
    char32_t codePoint;
    TDRXBidiClass bidiClass;
  };
  const Case cases[] = {
      {U'A', bcL},         {U'z', bcL},       {U'1', bcEN},      {U' ', bcWS},     {U'\t', bcS},
      {U'\n', bcB},        {U'.', bcCS},      {U'!', bcON},      {U'$', bcET},     {U'+', bcES},
      {0x05D0, bcR},       {0x05EA, bcR},     {0x05BE, bcR},     {0x0591, bcNSM},  {0x05B4, bcNSM},
      {0xFB1D, bcR},       {0x05FF, bcR},     // unassigned in the Hebrew block: right to left by default
      {0x0627, bcAL},      {0x064E, bcNSM},   {0x0652, bcNSM},   {0x0660, bcAN},   {0x06F0, bcEN},
      {0x060C, bcCS},      {0xFEFC, bcAL},    {0x08A0, bcAL},    {0x0710, bcAL},   {0x07C0, bcR},
      {0x200B, bcBN},      {0x200E, bcL},     {0x200F, bcR},     {0x202A, bcLRE},  {0x202B, bcRLE},
      {0x202C, bcPDF},     {0x202D, bcLRO},   {0x202E, bcRLO},   {0x2066, bcLRI},  {0x2067, bcRLI},
      {0x2068, bcFSI},     {0x2069, bcPDI},   {0x2026, bcON},    {0x4E00, bcL},    {0x3002, bcON},
      {0x10900, bcR},      {0x1F600, bcON},   {0x10FFFF, bcBN},  {0xE000, bcL},
  };
  for (const Case& c : cases) EXPECT_EQ(GetBidiClass(c.codePoint), c.bidiClass) << std::hex << static_cast<uint32_t>(c.codePoint);
}

TEST(TextLayoutBidi, DirectionOfTheFirstCharacter) {
  EXPECT_EQ(DirectionOfText(u"abc"), tdLeftToRight);
  EXPECT_EQ(DirectionOfText(u"\u202Aa"), tdLeftToRight);
  EXPECT_EQ(DirectionOfText(u"\u202Da"), tdLeftToRight);
  EXPECT_EQ(DirectionOfText(u"\u05E9\u05DC\u05D5\u05DD"), tdRightToLeft);
  EXPECT_EQ(DirectionOfText(u"\u0633\u0644\u0627\u0645"), tdRightToLeft);
  EXPECT_EQ(DirectionOfText(u"\u202Ba"), tdRightToLeft);
  EXPECT_EQ(DirectionOfText(u"\u202Ea"), tdRightToLeft);
  EXPECT_EQ(DirectionOfText(u"\U00010900"), tdRightToLeft);  // a surrogate pair counts as one
  EXPECT_EQ(DirectionOfText(u"\u064Ea"), tdNeutral);         // a mark first: neutral
  EXPECT_EQ(DirectionOfText(u"123"), tdNeutral);
  EXPECT_EQ(DirectionOfText(u"\u2067\u05D0"), tdNeutral);
  EXPECT_EQ(DirectionOfText(u"\xD802"), tdLeftToRight);       // a lone surrogate: its code point, class L
  EXPECT_EQ(DirectionOfText(u""), tdNeutral);
}

TEST(TextLayoutBidi, TextThePlatformMustShape) {
  EXPECT_FALSE(TextNeedsShaping(u"Ovix Setup 4.80 \u00E9t\u00E9 \u4E2D\u6587 \U0001F600"));
  EXPECT_TRUE(TextNeedsShaping(u"ab\u05D0"));
  EXPECT_TRUE(TextNeedsShaping(u"\u0633\u0644\u0627\u0645"));
  EXPECT_TRUE(TextNeedsShaping(u"\u0661\u0662"));   // Arabic-Indic digits
  EXPECT_TRUE(TextNeedsShaping(u"e\u0301"));         // a combining accent
  EXPECT_TRUE(TextNeedsShaping(u"\U00010900"));      // Phoenician, beyond the BMP
  EXPECT_FALSE(TextNeedsShaping(u""));
}

TEST(TextLayoutLinkColor, HueSaturationAndLightnessWithinTheirRanges) {
  for (TColor text : {RGBColor(0, 0, 0), RGBColor(255, 255, 255), RGBColor(255, 0, 0), RGBColor(30, 30, 30),
                      RGBColor(200, 200, 60), RGBColor(0, 90, 200)}) {
    const TColor link = DefaultLinkColor(text);
    const THLSColor hls = ColorToHLS(link);
    EXPECT_NEAR(hls.Hue, 154, 2) << text;
    EXPECT_GE(hls.Saturation, 152) << text;
    EXPECT_GE(hls.Lightness, 99) << text;
    EXPECT_LE(hls.Lightness, 201) << text;
    EXPECT_EQ(DefaultLinkColor(link), link) << text;  // a link colour is its own link colour
  }
  EXPECT_GT(BlueOf(DefaultLinkColor(clBlack)), RedOf(DefaultLinkColor(clBlack)));
}

}  // namespace
