// The label's geometry and colours from tables, and its style's rules.
#include "DRX.UI.Controls.Labels.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

struct TCountingOwner : IDRXStyleOwner {
  int changes = 0;
  void StyleChanged(TDRXStyle&) override { ++changes; }
};

}  // namespace

TEST(LabelStyle, EffectSizeIsClamped) {
  TDRXStyleLabel style;
  EXPECT_EQ(style.EffectSize(), 1);
  const struct {
    int32_t set, read;
  } cases[] = {{25, 10}, {-25, -10}, {10, 10}, {-10, -10}, {0, 0}, {-3, -3}, {INT32_MIN, -10}, {INT32_MAX, 10}};
  for (const auto& c : cases) {
    style.SetEffectSize(c.set);
    EXPECT_EQ(style.EffectSize(), c.read) << c.set;
  }
}

TEST(LabelStyle, WordWrapAndShowLineExcludeEachOther) {
  TCountingOwner owner;
  TDRXStyleLabel style(&owner);
  style.SetWordWrap(true);
  EXPECT_EQ(owner.changes, 1);
  style.SetShowLine(true);
  EXPECT_TRUE(style.ShowLine());
  EXPECT_FALSE(style.WordWrap());
  EXPECT_EQ(owner.changes, 2);  // both switches told as one change
  style.SetWordWrap(true);
  EXPECT_FALSE(style.ShowLine());
  // Switching one off leaves the other as it is.
  style.SetShowLine(false);
  EXPECT_TRUE(style.WordWrap());
  EXPECT_EQ(owner.changes, 3);
}

TEST(LabelStyle, SlotsNameTheSkinsResources) {
  TDRXStyleValidationLabel style;
  EXPECT_EQ(style.Colors(lcsBackground).DefaultID(), u"Labels.Colors.Background");
  EXPECT_EQ(style.Colors(lcsTextShadow).DefaultID(), u"Labels.Colors.TextShadow");
  EXPECT_EQ(style.Colors(lcsTextDisabled).DefaultID(), u"Labels.Colors.TextDisabled");
  EXPECT_EQ(style.SlotCount(skColor), 7);
  EXPECT_EQ(style.Icons().DefaultID(), u"Labels.Textures.Icons");
}

TEST(LabelLayout, EffectsGrowTheTextByTwiceTheirSize) {
  const struct {
    TDRXLabelEffect effect;
    int32_t size;
    TSize expected;
  } cases[] = {
      {leNone, 3, {40, 15}},  {leGlow, 0, {40, 15}},  // no glow of size 0, not enlarged
      {leGlow, 2, {44, 19}},  {leShadow, -3, {46, 21}}, {leGlow, 25, {60, 35}},
  };
  for (const auto& c : cases) EXPECT_EQ(LabelTextExtent({40, 15}, c.effect, c.size), c.expected) << c.size;
}

TEST(LabelLayout, TextPlacedByTheAlignmentsAndClipped) {
  const TRect client = Rect(10, 20, 110, 41);  // 100 × 21
  const struct {
    TSize extent;
    TAlignment horizontal;
    TVerticalAlignment vertical;
    TRect expected;
  } cases[] = {
      {{40, 15}, taLeftJustify, taAlignTop, Rect(10, 20, 50, 35)},
      {{40, 15}, taRightJustify, taAlignBottom, Rect(70, 26, 110, 41)},
      // Centre: (20 + 41 - 15) = 46 is even, half 23; (10 + 110 - 40) ÷ 2 = 40.
      {{40, 15}, taCenter, taVerticalCenter, Rect(40, 23, 80, 38)},
      // (20 + 41 - 16) = 45 rounded down to 44, half 22; (10 + 110 - 41) ÷ 2 = 39.5 → 39.
      {{41, 16}, taCenter, taVerticalCenter, Rect(39, 22, 80, 38)},
      // Larger than the client: clipped to it.
      {{140, 30}, taLeftJustify, taAlignTop, Rect(10, 20, 110, 41)},
      {{140, 30}, taRightJustify, taVerticalCenter, Rect(10, 20, 110, 41)},
      {{0, 15}, taCenter, taAlignTop, Rect(60, 20, 60, 35)},
  };
  for (const auto& c : cases)
    EXPECT_EQ(PlaceLabelText(client, c.extent, c.horizontal, c.vertical), c.expected) << c.expected;
}

TEST(LabelLayout, GlowDrawsFourPassesPerStepAroundTheReducedText) {
  const TDRXLabelEffectPlan plan = PlanLabelEffect(Rect(0, 0, 44, 19), leGlow, 2);
  EXPECT_EQ(plan.Text, Rect(2, 2, 42, 17));
  ASSERT_EQ(plan.Passes.size(), 8u);
  EXPECT_EQ(plan.Passes[0], Rect(3, 3, 43, 18));  // (1, 1)
  EXPECT_EQ(plan.Passes[1], Rect(3, 1, 43, 16));  // (1, -1)
  EXPECT_EQ(plan.Passes[2], Rect(1, 3, 41, 18));  // (-1, 1)
  EXPECT_EQ(plan.Passes[7], Rect(0, 0, 40, 15));  // (-2, -2)
}

TEST(LabelLayout, ShadowMovesTheTextAwayFromItsOffset) {
  const struct {
    TDRXLabelEffect effect;
    int32_t size;
    TRect text;
    std::vector<TRect> passes;
  } cases[] = {
      {leShadow, 3, Rect(0, 0, 43, 18), {Rect(3, 3, 46, 21)}},
      {leShadow, -3, Rect(3, 3, 46, 21), {Rect(0, 0, 43, 18)}},
      {leShadow, 0, Rect(0, 0, 46, 21), {}},
      {leGlow, 0, Rect(0, 0, 46, 21), {}},
      {leNone, 4, Rect(0, 0, 46, 21), {}},
  };
  for (const auto& c : cases) {
    const TDRXLabelEffectPlan plan = PlanLabelEffect(Rect(0, 0, 46, 21), c.effect, c.size);
    EXPECT_EQ(plan.Text, c.text) << c.size;
    EXPECT_EQ(plan.Passes, c.passes) << c.size;
  }
}

TEST(LabelLayout, LineRunsBesideTheTextWithItsGap) {
  // Text 40..80 × 23..38 in a client 10..110: middle (23 + 38 - 2) = 59 → 58, half 29.
  const TDRXLabelLine line = LabelLine(Rect(10, 20, 110, 41), Rect(40, 23, 80, 38), 4);
  EXPECT_EQ(line.Upper[0], Rect(10, 29, 36, 30));
  EXPECT_EQ(line.Upper[1], Rect(84, 29, 110, 30));
  EXPECT_EQ(line.Lower[0], Rect(10, 30, 36, 31));
  EXPECT_EQ(line.Lower[1], Rect(84, 30, 110, 31));
  // Text at the left edge: the left piece is empty; no text: one piece across.
  const TDRXLabelLine left = LabelLine(Rect(0, 0, 100, 20), Rect(0, 0, 30, 20), 4);
  EXPECT_TRUE(left.Upper[0].IsEmpty());
  EXPECT_EQ(left.Upper[1], Rect(34, 9, 100, 10));
  const TDRXLabelLine empty = LabelLine(Rect(0, 0, 100, 20), Rect(50, 2, 50, 17), 4);
  EXPECT_EQ(empty.Upper[0], Rect(0, 8, 100, 9));
  EXPECT_TRUE(empty.Upper[1].IsEmpty());
  // A text wider than the client leaves no line.
  const TDRXLabelLine full = LabelLine(Rect(0, 0, 100, 20), Rect(0, 0, 100, 20), 4);
  EXPECT_TRUE(full.Upper[0].IsEmpty() && full.Upper[1].IsEmpty());
}

TEST(LabelColors, ExplicitFontColourWinsThenLinkThenState) {
  const TDRXLabelTextColors colors{0xFF111111, 0xFF999999, 0xFF0066CC};
  const struct {
    std::optional<TColor> font;
    bool hot, enabled;
    TDRXAlphaColor expected;
  } cases[] = {
      {std::nullopt, false, true, 0xFF111111}, {std::nullopt, false, false, 0xFF999999},
      {std::nullopt, true, true, 0xFF0066CC},  {RGBColor(0xFF, 0, 0), true, true, 0xFFFF0000},
      {RGBColor(0, 0x66, 0xCC), false, false, 0xFF0066CC},
  };
  for (const auto& c : cases) EXPECT_EQ(LabelTextColor(c.font, c.hot, c.enabled, colors), c.expected);
  EXPECT_EQ(AlphaColorToColor(0x800066CC), RGBColor(0, 0x66, 0xCC));
}

TEST(ValidationLabelLayout, IconAtTheLeftTextAfterItsGap) {
  const TDRXValidationLabelLayout layout = LayoutValidationLabel(Rect(5, 10, 205, 31), {16, 16}, 5);
  EXPECT_EQ(layout.Icon, Rect(5, 12, 21, 28));  // (10 + 31 - 16) = 25 → 24, half 12
  EXPECT_EQ(layout.TextArea, Rect(26, 10, 205, 31));
  // A client narrower than the icon leaves an empty text area inside it.
  const TDRXValidationLabelLayout narrow = LayoutValidationLabel(Rect(0, 0, 10, 16), {16, 16}, 5);
  EXPECT_EQ(narrow.TextArea, Rect(10, 0, 10, 16));
  EXPECT_EQ(ValidationLabelSize({120, 15}, {16, 16}, 5), (TSize{141, 16}));
  EXPECT_EQ(ValidationLabelSize({120, 30}, {24, 24}, 8), (TSize{152, 30}));
}
