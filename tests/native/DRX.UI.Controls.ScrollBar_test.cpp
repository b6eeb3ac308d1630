#include "DRX.UI.Controls.ScrollBar.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

TEST(ScrollBarValues, HighestPositionLeavesTheLastPageInView) {
  struct Case {
    TDRXScrollValues values;
    int32_t maxPosition;
    bool canScroll;
  } cases[] = {
      {{0, 99, 10, 0}, 90, true},
      {{0, 99, 0, 0}, 99, true},     // no page: every position
      {{0, 99, 1, 0}, 99, true},
      {{0, 99, 100, 0}, 0, false},   // the page covers the range
      {{0, 99, 500, 0}, 0, false},
      {{5, 5, 0, 0}, 5, false},      // a single position
      {{10, 3, 0, 0}, 10, false},    // an inverted range
      {{-50, 50, 21, 0}, 30, true},
      {{INT_MIN, INT_MAX, 0, 0}, INT_MAX, true},
      {{0, 10, -4, 0}, 10, true},    // a negative page counts as none
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MaxScrollPosition(c.values), c.maxPosition) << c.values.Min << ".." << c.values.Max;
    EXPECT_EQ(CanScroll(c.values), c.canScroll) << c.values.Min << ".." << c.values.Max;
  }
  EXPECT_EQ(ClampScrollPosition({0, 99, 10, 0}, 95), 90);
  EXPECT_EQ(ClampScrollPosition({0, 99, 10, 0}, -3), 0);
  EXPECT_EQ(ClampScrollPosition({10, 3, 0, 0}, 7), 10);
}

TEST(ScrollBarLayout, VerticalBarWithArrowsAndAProportionalThumb) {
  // Track 16 .. 116 (100 pixels); a page of a quarter of the range gives 25.
  const TRect bounds = Rect(0, 0, 12, 132);
  const TDRXScrollBarMetrics metrics{16, 8};
  struct Case {
    int32_t position;
    TRect thumb;
  } cases[] = {
      {0, Rect(0, 16, 12, 41)},
      {150, Rect(0, 91, 12, 116)},  // the last position puts the thumb at the track's end
      {75, Rect(0, 54, 12, 79)},    // half way: 75 of 150 travel steps, rounded
      {999, Rect(0, 91, 12, 116)},  // beyond the end: clamped
  };
  for (const auto& c : cases) {
    const auto layout = CalculateScrollBarLayout(bounds, orVertical, metrics, {0, 199, 50, c.position});
    EXPECT_EQ(layout.LineUp, Rect(0, 0, 12, 16));
    EXPECT_EQ(layout.LineDown, Rect(0, 116, 12, 132));
    EXPECT_EQ(layout.Thumb, c.thumb) << c.position;
    EXPECT_EQ(layout.PageUp, Rect(0, 16, 12, c.thumb.Top)) << c.position;
    EXPECT_EQ(layout.PageDown, Rect(0, c.thumb.Bottom, 12, 116)) << c.position;
  }
}

TEST(ScrollBarLayout, ThumbSizeLimitsAndMissingThumb) {
  const TDRXScrollBarMetrics metrics{10, 8};
  struct Case {
    const char* name;
    TRect bounds;
    TDRXScrollValues values;
    TRect thumb;
    TRect lineUp, lineDown;
  } cases[] = {
      {"a tiny page gets the minimum thumb", Rect(5, 0, 125, 10), {0, 9999, 1, 0}, Rect(15, 0, 23, 10),
       Rect(5, 0, 15, 10), Rect(115, 0, 125, 10)},
      {"no page gets the minimum thumb", Rect(0, 0, 120, 10), {0, 9999, 0, 0}, Rect(10, 0, 18, 10), Rect(0, 0, 10, 10),
       Rect(110, 0, 120, 10)},
      {"nothing to scroll: no thumb", Rect(0, 0, 120, 10), {0, 99, 100, 0}, TRect(), Rect(0, 0, 10, 10),
       Rect(110, 0, 120, 10)},
      {"a track shorter than the thumb: no thumb", Rect(0, 0, 27, 10), {0, 99, 10, 0}, TRect(), Rect(0, 0, 10, 10),
       Rect(17, 0, 27, 10)},
      {"arrows longer than half the bar share it", Rect(0, 0, 15, 10), {0, 99, 10, 0}, TRect(), Rect(0, 0, 7, 10),
       Rect(8, 0, 15, 10)},
      {"an inverted rectangle has no parts", Rect(50, 0, 40, 10), {0, 99, 10, 0}, TRect(), Rect(50, 0, 50, 10),
       Rect(50, 0, 50, 10)},
  };
  for (const auto& c : cases) {
    const auto layout = CalculateScrollBarLayout(c.bounds, orHorizontal, metrics, c.values);
    EXPECT_EQ(layout.Thumb.IsEmpty() ? TRect() : layout.Thumb, c.thumb) << c.name;
    EXPECT_EQ(layout.LineUp, c.lineUp) << c.name;
    EXPECT_EQ(layout.LineDown, c.lineDown) << c.name;
    if (layout.Thumb.IsEmpty())
      EXPECT_EQ(layout.PageUp, Rect(c.lineUp.Right, 0, c.lineDown.Left, 10)) << c.name;
  }
}

TEST(ScrollBarLayout, HugeRangesDoNotOverflow) {
  const auto layout = CalculateScrollBarLayout(Rect(0, 0, 10, 1010), orVertical, {5, 8},
                                               {INT_MIN, INT_MAX, 0x40000000, INT_MAX});
  EXPECT_EQ(layout.Thumb, Rect(0, 755, 10, 1005));
  EXPECT_EQ(ScrollPositionFromThumb(layout, orVertical, {INT_MIN, INT_MAX, 0x40000000, 0}, 755),
            MaxScrollPosition({INT_MIN, INT_MAX, 0x40000000, 0}));
}

TEST(ScrollBarLayout, HitTestFindsEachPart) {
  const auto layout = CalculateScrollBarLayout(Rect(0, 0, 12, 132), orVertical, {16, 8}, {0, 199, 50, 75});
  struct Case {
    TPoint point;
    TDRXScrollBarPart part;
  } cases[] = {{{6, 0}, spLineUp},      {{6, 15}, spLineUp},  {{6, 16}, spPageUp},   {{6, 53}, spPageUp},
               {{6, 54}, spThumb},      {{6, 78}, spThumb},   {{6, 79}, spPageDown}, {{6, 115}, spPageDown},
               {{6, 116}, spLineDown},  {{6, 131}, spLineDown}, {{6, 132}, spNone},   {{12, 60}, spNone},
               {{-1, 60}, spNone}};
  for (const auto& c : cases) EXPECT_EQ(ScrollBarHitTest(layout, c.point), c.part) << c.point.Y;
}

TEST(ScrollBarLayout, ThumbDragMapsBackToPositions) {
  const TDRXScrollValues values{0, 199, 50, 0};
  const auto layout = CalculateScrollBarLayout(Rect(0, 0, 12, 132), orVertical, {16, 8}, values);
  struct Case {
    int32_t thumbStart;
    int32_t position;
  } cases[] = {{16, 0}, {0, 0}, {91, 150}, {400, 150}, {53, 74}, {54, 76}};
  for (const auto& c : cases)
    EXPECT_EQ(ScrollPositionFromThumb(layout, orVertical, values, c.thumbStart), c.position) << c.thumbStart;
  // Every position survives the way to the thumb and back.
  for (int32_t position = 0; position <= 150; ++position) {
    const auto at = CalculateScrollBarLayout(Rect(0, 0, 12, 132), orVertical, {16, 8}, {0, 199, 50, position});
    const int32_t back = ScrollPositionFromThumb(at, orVertical, values, at.Thumb.Top);
    EXPECT_LE(std::abs(back - position), 1) << position;
  }
  const auto noThumb = CalculateScrollBarLayout(Rect(0, 0, 12, 132), orVertical, {16, 8}, {0, 9, 50, 3});
  EXPECT_EQ(ScrollPositionFromThumb(noThumb, orVertical, {0, 9, 50, 3}, 80), 0);
}

TEST(ScrollBarLook, PartStatesAndArrowFrames) {
  struct Case {
    TDRXScrollBarPart part;
    bool enabled;
    TDRXScrollBarPart hot, pressed;
    TDRXScrollPartState state;
  } cases[] = {
      {spThumb, true, spNone, spNone, psNormal},
      {spThumb, true, spThumb, spNone, psHot},
      {spLineUp, true, spThumb, spNone, psNormal},
      {spThumb, true, spThumb, spThumb, psPressed},
      {spThumb, true, spPageUp, spThumb, psNormal},   // held, but the mouse went off it
      {spLineUp, true, spLineUp, spThumb, psNormal},  // another part is held: no hover
      {spThumb, false, spThumb, spThumb, psDisabled},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ScrollPartState(c.part, c.enabled, c.hot, c.pressed), c.state) << int(c.part) << " " << int(c.hot);
  EXPECT_EQ(ScrollArrowFrame(orVertical, false, psNormal), 0);
  EXPECT_EQ(ScrollArrowFrame(orVertical, true, psPressed), 6);
  EXPECT_EQ(ScrollArrowFrame(orHorizontal, false, psHot), 9);
  EXPECT_EQ(ScrollArrowFrame(orHorizontal, true, psDisabled), 15);
}
