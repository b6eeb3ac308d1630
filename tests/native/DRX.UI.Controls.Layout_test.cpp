// Alignment, anchoring and scaling of the control tree's geometry, from tables.
#include "DRX.UI.Controls.Layout.h"

#include <gtest/gtest.h>

#include <vector>

void PrintTo(const TRect& r, std::ostream* out) {
  *out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

struct TAlignCase {
  const char* name;
  TDRXMargins padding;
  std::vector<TDRXLayoutItem> items;
  std::vector<TRect> expected;
};

// The client rectangle of every case: 200 × 100 at the origin.
const TRect kClient = Rect(0, 0, 200, 100);

TDRXLayoutItem Item(TRect bounds, TAlign align, TDRXMargins margins = {}, bool visible = true) {
  return {bounds, align, margins, visible};
}

const TAlignCase kAlignCases[] = {
    {"top items stack in list order, keeping their heights",
     {},
     {Item(Bounds(5, 5, 50, 10), alTop), Item(Bounds(0, 0, 10, 20), alTop)},
     {Rect(0, 0, 200, 10), Rect(0, 10, 200, 30)}},
    {"bottom, left and right take what the top items left; client fills the rest",
     {},
     {Item(Bounds(0, 0, 0, 30), alClient), Item(Bounds(0, 0, 0, 10), alTop), Item(Bounds(0, 0, 0, 20), alBottom),
      Item(Bounds(0, 0, 15, 0), alLeft), Item(Bounds(0, 0, 25, 0), alRight)},
     {Rect(15, 10, 175, 80), Rect(0, 0, 200, 10), Rect(0, 80, 200, 100), Rect(0, 10, 15, 80),
      Rect(175, 10, 200, 80)}},
    {"the padding narrows every aligned item",
     {40, 20, 40, 20},
     {Item(Bounds(0, 0, 0, 10), alBottom), Item(Bounds(0, 0, 0, 0), alClient)},
     {Rect(40, 70, 160, 80), Rect(40, 20, 160, 70)}},
    {"margins are part of the slot and shrink the item",
     {},
     {Item(Bounds(0, 0, 0, 10), alTop, {3, 2, 5, 4}), Item(Bounds(0, 0, 0, 10), alTop)},
     {Rect(3, 2, 195, 12), Rect(0, 16, 200, 26)}},
    {"hidden and unaligned items keep their bounds and take no space",
     {},
     {Item(Bounds(0, 0, 0, 10), alTop, {}, false), Item(Bounds(7, 8, 9, 10), alNone), Item(Bounds(0, 0, 0, 10), alTop)},
     {Bounds(0, 0, 0, 10), Bounds(7, 8, 9, 10), Rect(0, 0, 200, 10)}},
    {"items that do not fit end up empty, never inverted",
     {},
     {Item(Bounds(0, 0, 0, 80), alTop), Item(Bounds(0, 0, 0, 80), alTop), Item(Bounds(0, 0, 0, 0), alClient)},
     {Rect(0, 0, 200, 80), Rect(0, 80, 200, 100), Rect(0, 100, 200, 100)}},
    {"padding larger than the client leaves an empty space",
     {150, 0, 150, 0},
     {Item(Bounds(0, 0, 0, 0), alClient)},
     {Rect(150, 0, 150, 100)}},
};

TEST(AlignItems, PlacesItemsAsTheTableSays) {
  for (const TAlignCase& c : kAlignCases) {
    const std::vector<TRect> placed = AlignItems(kClient, c.padding, c.items);
    ASSERT_EQ(placed.size(), c.expected.size()) << c.name;
    for (size_t i = 0; i < placed.size(); ++i) EXPECT_EQ(placed[i], c.expected[i]) << c.name << ", item " << i;
  }
}

struct TAnchorCase {
  TAnchors anchors;
  TRect expected;
};

TEST(AnchorBounds, FollowsTheAnchoredEdges) {
  // A 20 × 10 control at 30, 40 while its parent grows from 100 × 100 to 160 × 120.
  const TRect bounds = Bounds(30, 40, 20, 10);
  const TAnchorCase cases[] = {
      {akLeft | akTop, bounds},
      {akRight | akBottom, Bounds(90, 60, 20, 10)},
      {akLeft | akRight | akTop, Bounds(30, 40, 80, 10)},
      {akTop | akBottom | akLeft, Bounds(30, 40, 20, 30)},
      {0, Bounds(60, 50, 20, 10)},  // the centre moves with the parent's middle
  };
  for (const TAnchorCase& c : cases)
    EXPECT_EQ(AnchorBounds(bounds, c.anchors, {100, 100}, {160, 120}), c.expected) << int(c.anchors);
}

TEST(AnchorBounds, AStretchedControlShrinksToNothingButNotBelow) {
  EXPECT_EQ(AnchorBounds(Bounds(30, 0, 20, 10), akLeft | akRight, {100, 100}, {50, 100}), Rect(30, 0, 30, 10));
}

TEST(ScaleFactor, RoundsEdgesAsMulDiv) {
  const TDRXScaleFactor f144{144, 96};
  EXPECT_EQ(f144.Apply(121), 182);  // 181.5 rounds away from zero
  EXPECT_EQ(f144.Apply(-11), -17);
  EXPECT_EQ(f144.Apply(Bounds(511, 447, 121, 25)), Rect(767, 671, 948, 708));
  EXPECT_EQ((TDRXScaleFactor{96, 96}).Apply(Bounds(1, 2, 3, 4)), Bounds(1, 2, 3, 4));
  EXPECT_EQ((TDRXScaleFactor{120, 96}).Apply(TDRXMargins{40, 20, 40, 20}), (TDRXMargins{50, 25, 50, 25}));
  EXPECT_EQ((TDRXScaleFactor{144, 0}).Apply(7), 7);  // no ratio, no change
}

}  // namespace
