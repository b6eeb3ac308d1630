// The buttons' state rule, texture frames, text colour slots, grayed cycle and
// the push-button and check-box layouts, from tables.
#include "DRX.UI.Controls.Buttons.h"

#include <gtest/gtest.h>

void PrintTo(const TRect& r, std::ostream* out) {
  *out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

struct TStateCase {
  TDRXButtonFlags flags;
  TCheckBoxState check;
  TDRXButtonVisualState state;
  int frame;
};

TEST(ButtonState, FirstRuleThatAppliesAndItsFrame) {
  const TStateCase cases[] = {
      {bfEnabled, cbUnchecked, bvsNormal, 0},
      {bfEnabled | bfHover, cbUnchecked, bvsHover, 1},
      {bfEnabled | bfHover | bfPressed, cbUnchecked, bvsPressed, 2},
      {bfEnabled | bfDown | bfFocused, cbUnchecked, bvsPressed, 2},
      {bfHover | bfPressed | bfFocused, cbUnchecked, bvsDisabled, 3},  // disabled whatever the mouse does
      {bfEnabled | bfFocused, cbUnchecked, bvsFocused, 4},
      {bfEnabled | bfDefault, cbUnchecked, bvsFocused, 4},
      {bfEnabled | bfDefault | bfHover, cbUnchecked, bvsHover, 1},
      {bfEnabled, cbChecked, bvsNormal, 5},
      {0, cbChecked, bvsDisabled, 8},  // checked and disabled
      {bfEnabled | bfFocused, cbGrayed, bvsFocused, 14},
      {bfDefault, cbGrayed, bvsDisabled, 13},
  };
  for (const TStateCase& c : cases) {
    EXPECT_EQ(ButtonVisualState(c.flags), c.state) << int(c.flags);
    EXPECT_EQ(ButtonFrameIndex(ButtonVisualState(c.flags), c.check), c.frame) << int(c.flags) << "/" << int(c.check);
  }
}

TEST(ButtonState, TextColourSlots) {
  EXPECT_EQ(ButtonTextColorSlot(bvsNormal), bcsText);
  EXPECT_EQ(ButtonTextColorSlot(bvsFocused), bcsText);
  EXPECT_EQ(ButtonTextColorSlot(bvsHover), bcsTextHover);
  EXPECT_EQ(ButtonTextColorSlot(bvsPressed), bcsTextPressed);
  EXPECT_EQ(ButtonTextColorSlot(bvsDisabled), bcsTextDisabled);
}

TEST(ButtonState, GrayedCycleReturnsToUncheckedAfterThreeClicks) {
  TCheckBoxState state = cbUnchecked;
  for (const TCheckBoxState expected : {cbChecked, cbGrayed, cbUnchecked}) {
    state = NextCheckState(state, true);
    EXPECT_EQ(state, expected);
  }
  EXPECT_EQ(NextCheckState(cbUnchecked, false), cbChecked);
  EXPECT_EQ(NextCheckState(cbChecked, false), cbUnchecked);
  EXPECT_EQ(NextCheckState(cbGrayed, false), cbChecked);
}

TEST(ButtonState, OnlyHoverToNormalOrFocusedFades) {
  EXPECT_TRUE(ButtonStateChangeFades(bvsHover, bvsNormal, bfEnabled));
  EXPECT_TRUE(ButtonStateChangeFades(bvsHover, bvsFocused, bfEnabled | bfFocused));
  EXPECT_FALSE(ButtonStateChangeFades(bvsNormal, bvsHover, bfEnabled | bfHover));
  EXPECT_FALSE(ButtonStateChangeFades(bvsHover, bvsPressed, bfEnabled | bfPressed));
  EXPECT_FALSE(ButtonStateChangeFades(bvsHover, bvsDisabled, 0));
}

// ---- Push buttons ----

const TDRXMargins kOffsets{4, 3, 4, 3};

TEST(PushButtonLayout, CaptionFillsTheContentWithoutAGlyph) {
  const TDRXPushButtonLayout layout = CalculatePushButtonLayout({Bounds(0, 0, 120, 25), kOffsets, {}, true, {96, 96}});
  EXPECT_EQ(layout.Background, Bounds(0, 0, 120, 25));
  EXPECT_EQ(layout.Content, Rect(4, 3, 116, 22));
  EXPECT_EQ(layout.Caption, layout.Content);
  EXPECT_TRUE(layout.Glyph.IsEmpty());
  EXPECT_TRUE(layout.DropDown.IsEmpty());
}

TEST(PushButtonLayout, GlyphPlacesAndTheFiveScaledPixelGap) {
  struct TCase {
    TRect bounds;
    TSize glyph;
    bool caption;
    TDRXScaleFactor scale;
    TRect expectedGlyph;
    int32_t expectedCaptionLeft;
  };
  const TCase cases[] = {
      {Bounds(0, 0, 120, 25), {16, 16}, true, {96, 96}, Bounds(4, 4, 16, 16), 25},   // (25 - 16) rounded down to 8
      {Bounds(0, 0, 120, 26), {16, 16}, true, {96, 96}, Bounds(4, 5, 16, 16), 25},
      {Bounds(0, 0, 180, 38), {24, 24}, true, {144, 96}, Bounds(4, 7, 24, 24), 36},  // gap 5 → 8 at 144 DPI
      {Bounds(0, 0, 120, 25), {16, 16}, false, {96, 96}, Bounds(52, 4, 16, 16), 4},  // centred
  };
  for (const TCase& c : cases) {
    const TDRXPushButtonLayout layout = CalculatePushButtonLayout({c.bounds, kOffsets, c.glyph, c.caption, c.scale});
    EXPECT_EQ(layout.Glyph, c.expectedGlyph);
    EXPECT_EQ(layout.Caption.Left, c.expectedCaptionLeft);
  }
}

TEST(PushButtonLayout, DropDownAndSplitKindsReserveTheirArea) {
  TDRXPushButtonLayoutInput input{Bounds(0, 0, 120, 25), kOffsets, {}, true, {96, 96}, bkDropDown, 12};
  TDRXPushButtonLayout layout = CalculatePushButtonLayout(input);
  EXPECT_EQ(layout.DropDown, Rect(104, 3, 116, 22));
  EXPECT_EQ(layout.Caption, Rect(4, 3, 104, 22));
  EXPECT_EQ(layout.Content, Rect(4, 3, 116, 22));
  input.Kind = bkSplit;
  input.DropDownWidth = 20;
  layout = CalculatePushButtonLayout(input);
  EXPECT_EQ(layout.DropDown, Rect(100, 0, 120, 25));
  EXPECT_EQ(layout.Background, Rect(0, 0, 100, 25));
  EXPECT_EQ(layout.Content, Rect(4, 3, 96, 22));
  input.DropDownWidth = 500;  // never more than the button
  EXPECT_EQ(CalculatePushButtonLayout(input).Background, Rect(0, 0, 0, 25));
}

TEST(PushButtonLayout, ATinyButtonHasNoInvertedRectangles) {
  const TDRXPushButtonLayout layout = CalculatePushButtonLayout({Bounds(0, 0, 5, 4), kOffsets, {16, 16}, true, {96, 96}});
  EXPECT_GE(layout.Content.Width(), 0);
  EXPECT_GE(layout.Content.Height(), 0);
  EXPECT_GE(layout.Caption.Width(), 0);
}

// ---- Check boxes ----

// A caption 7 pixels per character and 15 high, wrapped in lines of whole words of 10 characters.
TDRXCaptionMeasure Measure(int characters) {
  return [characters](int32_t maxWidth) -> TSize {
    const int32_t width = 7 * characters;
    if (maxWidth == 0 || width <= maxWidth) return {width, 15};
    const int32_t perLine = std::max(maxWidth / 70 * 70, 70);
    return {perLine, 15 * ((width + perLine - 1) / perLine)};
  };
}

TDRXCheckBoxLayoutInput BoxInput(TRect bounds) {
  TDRXCheckBoxLayoutInput input;
  input.Bounds = bounds;
  input.Box = {16, 16};
  input.LineHeight = 15;
  input.Scale = {96, 96};
  return input;
}

TEST(CheckBoxLayout, BoxCentredAndCaptionAfterIt) {
  const TDRXCheckBoxLayout layout = CalculateCheckBoxLayout(BoxInput(Bounds(0, 0, 200, 21)), Measure(10), alNone);
  EXPECT_EQ(layout.Box, Bounds(0, 2, 16, 16));  // (21 - 16) rounded down to 4, halved
  EXPECT_EQ(layout.CaptionArea, Rect(19, 0, 200, 21));
  EXPECT_EQ(layout.Caption, Bounds(21, 3, 70, 15));  // measured inside 2 / 1 pixels less
  EXPECT_EQ(layout.AutoSize, (TSize{16 + 70 + 2 + 5, 17}));
  EXPECT_TRUE(layout.AutoWidth);
  EXPECT_TRUE(CheckBoxAcceptsPoint(layout, {5, 10}));
  EXPECT_TRUE(CheckBoxAcceptsPoint(layout, {50, 10}));
  EXPECT_FALSE(CheckBoxAcceptsPoint(layout, {150, 10}));  // beyond the caption: transparent
  EXPECT_FALSE(CheckBoxAcceptsPoint(layout, {18, 10}));
}

TEST(CheckBoxLayout, AlignmentsPlaceTheCaptionInsideItsArea) {
  TDRXCheckBoxLayoutInput input = BoxInput(Bounds(0, 0, 200, 21));
  input.Alignment = taRightJustify;
  EXPECT_EQ(CalculateCheckBoxLayout(input, Measure(10), alNone).Caption.Left, 198 - 70);
  input.Alignment = taCenter;
  EXPECT_EQ(CalculateCheckBoxLayout(input, Measure(10), alNone).Caption.Left, (21 + 198 - 70) / 2);
  input.Alignment = taLeftJustify;
  input.ShowCheckMark = false;
  const TDRXCheckBoxLayout plain = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_TRUE(plain.Box.IsEmpty());
  EXPECT_EQ(plain.Caption, Bounds(0, 3, 70, 15));
  EXPECT_EQ(plain.AutoSize, (TSize{70, 17}));
}

TEST(CheckBoxLayout, WordWrapPutsTheBoxAtTheTopAndKeepsTheWidth) {
  TDRXCheckBoxLayoutInput input = BoxInput(Bounds(0, 0, 100, 60));
  input.WordWrap = true;
  const TDRXCheckBoxLayout layout = CalculateCheckBoxLayout(input, Measure(20), alNone);
  EXPECT_EQ(layout.Box, Bounds(0, 1, 16, 16));
  EXPECT_EQ(layout.Caption, Bounds(21, 1, 70, 30));  // two lines of 10 characters
  EXPECT_EQ(layout.AutoSize.cy, 32);
  EXPECT_FALSE(layout.AutoWidth);
}

TEST(CheckBoxLayout, TheLineRunsLeftAndRightOfTheCaptionWithAFourPixelGap) {
  TDRXCheckBoxLayoutInput input = BoxInput(Bounds(0, 0, 300, 21));
  input.ShowCheckMark = false;
  input.ShowLine = true;
  input.Alignment = taCenter;
  const TDRXCheckBoxLayout layout = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_EQ(layout.Caption, Bounds(115, 3, 70, 15));
  EXPECT_EQ(layout.LineLeft, Rect(0, 9, 111, 11));  // (21 - 2) rounded down to 18, halved
  EXPECT_EQ(layout.LineRight, Rect(189, 9, 300, 11));
  EXPECT_FALSE(layout.AutoWidth);
  EXPECT_TRUE(CheckBoxAcceptsPoint(layout, {50, 10}));
  EXPECT_FALSE(CheckBoxAcceptsPoint(layout, {50, 5}));
  input.CaptionEmpty = true;
  const TDRXCheckBoxLayout bare = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_EQ(bare.LineLeft, Rect(0, 9, 300, 11));
  EXPECT_TRUE(bare.LineRight.IsEmpty());
}

TEST(CheckBoxLayout, DistancesScaleAtOneHundredFortyFourDPI) {
  TDRXCheckBoxLayoutInput input = BoxInput(Bounds(0, 0, 300, 32));
  input.Box = {24, 24};
  input.LineHeight = 22;
  input.Scale = {144, 96};
  const TDRXCheckBoxLayout layout = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_EQ(layout.CaptionArea.Left, 24 + 8 - 3);
  EXPECT_EQ(layout.Caption.Left, 29 + 3);
  EXPECT_EQ(layout.AutoSize, (TSize{24 + 70 + 3 + 8, 25}));
}

TEST(CheckBoxLayout, StretchedAlignmentKeepsTheWidthAndEmptyCaptionsKeepTheBox) {
  TDRXCheckBoxLayoutInput input = BoxInput(Bounds(0, 0, 200, 21));
  EXPECT_FALSE(CalculateCheckBoxLayout(input, Measure(10), alTop).AutoWidth);
  EXPECT_TRUE(CalculateCheckBoxLayout(input, Measure(10), alLeft).AutoWidth);
  input.CaptionEmpty = true;
  const TDRXCheckBoxLayout layout = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_EQ(layout.AutoSize, (TSize{16, 17}));
  input.Bounds = Bounds(0, 0, 10, 5);  // smaller than the box
  const TDRXCheckBoxLayout tiny = CalculateCheckBoxLayout(input, Measure(10), alNone);
  EXPECT_GE(tiny.CaptionArea.Width(), 0);
  EXPECT_GE(tiny.Caption.Width(), 0);
}

}  // namespace
