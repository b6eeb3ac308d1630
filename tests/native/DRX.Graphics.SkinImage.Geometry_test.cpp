#include "DRX.Graphics.SkinImage.Geometry.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

namespace {

// Starts and ends of the five parts along the axis.
std::array<std::pair<int, int>, 5> Spans(const std::array<TRect, 5>& parts, bool vertical = false) {
  std::array<std::pair<int, int>, 5> spans;
  for (size_t i = 0; i < 5; ++i)
    spans[i] = vertical ? std::pair(parts[i].Top, parts[i].Bottom) : std::pair(parts[i].Left, parts[i].Right);
  return spans;
}

using TSpans = std::array<std::pair<int, int>, 5>;

}  // namespace

TEST(SkinImageGeometry, NinePartSplitInDrawingOrder) {
  const auto parts = SplitNinePart(Rect(10, 20, 40, 60), {2, 3, 4, 5});
  const TRect expected[9] = {Rect(10, 20, 12, 23), Rect(10, 23, 12, 55), Rect(10, 55, 12, 60),
                             Rect(12, 20, 36, 23), Rect(12, 55, 36, 60), Rect(36, 23, 40, 55),
                             Rect(36, 20, 40, 23), Rect(36, 55, 40, 60), Rect(12, 23, 36, 55)};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(parts[i], expected[i]) << i;
}

TEST(SkinImageGeometry, NinePartIntoARectangleSmallerThanTheMargins) {
  struct Case {
    TRect rect;
    TDRXMargins margins;
    TRect centre, topLeft, bottomRight;
  } cases[] = {
      // 8 of margins into 6: shared 3 and 3 in their proportion, the centre has no width.
      {Rect(0, 0, 6, 20), {4, 4, 4, 4}, Rect(3, 4, 3, 16), Rect(0, 0, 3, 4), Rect(3, 16, 6, 20)},
      {Rect(0, 0, 5, 20), {6, 0, 2, 0}, Rect(4, 0, 4, 20), Rect(0, 0, 4, 0), Rect(4, 20, 5, 20)},
      {Rect(0, 0, 0, 0), {4, 4, 4, 4}, Rect(0, 0, 0, 0), Rect(0, 0, 0, 0), Rect(0, 0, 0, 0)},
      // Negative margins count as 0: the centre is the whole rectangle.
      {Rect(0, 0, 10, 10), {-3, -3, 2, 2}, Rect(0, 0, 8, 8), Rect(0, 0, 0, 0), Rect(8, 8, 10, 10)},
  };
  for (const Case& c : cases) {
    const auto parts = SplitNinePart(c.rect, c.margins);
    EXPECT_EQ(parts[8], c.centre) << c.rect;
    EXPECT_EQ(parts[0], c.topLeft) << c.rect;
    EXPECT_EQ(parts[7], c.bottomRight) << c.rect;
    for (const TRect& part : parts) EXPECT_TRUE(part.Width() >= 0 && part.Height() >= 0) << part;
  }
}

TEST(SkinImageGeometry, CentreStretchingKeepsTheInnerSize) {
  struct Case {
    TRect dest, frame;
    TDRXMargins margins, expected;
  } cases[] = {
      {Rect(0, 0, 100, 40), Rect(0, 0, 20, 20), {4, 4, 4, 4}, {44, 14, 44, 14}},  // the worked example
      {Rect(0, 0, 100, 40), Rect(0, 0, 20, 20), {2, 0, 6, 0}, {22, 0, 66, 0}},    // (100 − 12) in 2 : 6
      {Rect(0, 0, 31, 20), Rect(0, 0, 20, 20), {1, 0, 2, 0}, {5, 0, 9, 0}},      // 14 in 1 : 2, rounded
      {Rect(0, 0, 10, 8), Rect(0, 0, 20, 20), {4, 4, 4, 4}, {0, 0, 0, 0}},       // smaller than the centre
      {Rect(0, 0, 100, 40), Rect(0, 0, 20, 20), {0, 4, 0, 4}, {0, 14, 0, 14}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CenteredNinePartMargins(c.dest, c.frame, c.margins), c.expected) << c.dest;
  }
  TDRXSkinImagePartRules rules;
  rules.Mode = dmNinePart;
  rules.Margins = {4, 4, 4, 4};
  rules.StretchMode = smCenter;
  const TDRXSkinImageParts parts = SplitParts(rules, Rect(0, 0, 100, 40), Rect(20, 0, 40, 20));
  EXPECT_EQ(parts.Dest[8], Rect(44, 14, 56, 26));
  EXPECT_EQ(parts.Source[8], Rect(24, 4, 36, 16));  // the source keeps the stored margins
  const TDRXSkinImageParts small = SplitParts(rules, Rect(0, 0, 10, 8), Rect(0, 0, 20, 20));
  EXPECT_EQ(small.Dest[8], Rect(0, 0, 10, 8));  // the centre takes all there is
}

TEST(SkinImageGeometry, FivePartSplit) {
  struct Case {
    TDRXSkinImageTileArea area;
    int frameLength;
    int start, end;
    TSpans expected;
  } cases[] = {
      // The worked example: into 50, and the frame itself.
      {{2, 3, 10, 4}, 20, 0, 50, {{{0, 2}, {2, 20}, {20, 25}, {25, 44}, {44, 50}}}},
      {{2, 3, 10, 4}, 20, 0, 20, {{{0, 2}, {2, 5}, {5, 10}, {10, 14}, {14, 20}}}},
      {{2, 3, 10, 4}, 20, 100, 150, {{{100, 102}, {102, 120}, {120, 125}, {125, 144}, {144, 150}}}},
      // One tile of length 0: the other takes all the rest.
      {{2, 0, 5, 4}, 20, 0, 50, {{{0, 2}, {2, 2}, {2, 5}, {5, 39}, {39, 50}}}},
      {{2, 3, 10, 0}, 20, 0, 50, {{{0, 2}, {2, 35}, {35, 40}, {40, 40}, {40, 50}}}},
      // Both tiles negative: no tiling, the middle spans between head and tail.
      {{2, -1, 10, -1}, 20, 0, 50, {{{0, 2}, {2, 2}, {2, 39}, {39, 39}, {39, 50}}}},
      // Shorter than the fixed parts: the tiles come out inverted (and are not drawn).
      {{2, 3, 10, 4}, 20, 0, 10, {{{0, 2}, {2, 0}, {0, 5}, {5, 4}, {4, 10}}}},
      // Odd room: the middle's start is rounded down.
      {{2, 3, 10, 4}, 20, 0, 51, {{{0, 2}, {2, 20}, {20, 25}, {25, 45}, {45, 51}}}},
  };
  for (const Case& c : cases) {
    const TRect rect = Rect(c.start, 7, c.end, 9);
    const auto parts = SplitFivePart(rect, c.frameLength, c.area, ilHorizontal);
    EXPECT_EQ(Spans(parts), c.expected) << c.start << ".." << c.end << " head " << c.area.Head;
    for (const TRect& part : parts) EXPECT_TRUE(part.Top == 7 && part.Bottom == 9);
    const auto vertical = SplitFivePart(Rect(3, c.start, 5, c.end), c.frameLength, c.area, ilVertical);
    EXPECT_EQ(Spans(vertical, true), c.expected);
    for (const TRect& part : vertical) EXPECT_TRUE(part.Left == 3 && part.Right == 5);
  }
}

TEST(SkinImageGeometry, FivePartSplitOfHostileTileAreasStaysInRange) {
  const auto parts = SplitFivePart(Rect(0, 0, 50, 10), 20, {INT32_MAX, INT32_MAX, INT32_MIN, INT32_MAX}, ilHorizontal);
  for (const TRect& part : parts) {
    EXPECT_GE(static_cast<int64_t>(part.Right) - part.Left, -0x7FFFFFFE);
    EXPECT_LE(static_cast<int64_t>(part.Right) - part.Left, 0x7FFFFFFE);
  }
}

TEST(SkinImageGeometry, WholeFrameCentringRoundsDown) {
  EXPECT_EQ(CenteredRect(Rect(0, 0, 11, 11), 4, 4), Rect(3, 3, 7, 7));
  EXPECT_EQ(CenteredRect(Rect(0, 0, 4, 4), 11, 10), Rect(-4, -3, 7, 7));  // larger than the rectangle
  EXPECT_EQ(CenteredRect(Rect(-5, -5, 0, 0), 2, 2), Rect(-4, -4, -2, -2));
  TDRXSkinImagePartRules rules;
  rules.StretchMode = smCenter;
  const TDRXSkinImageParts parts = SplitParts(rules, Rect(0, 0, 11, 11), Rect(4, 0, 8, 4));
  EXPECT_EQ(parts.Count, 1);
  EXPECT_EQ(parts.Dest[0], Rect(3, 3, 7, 7));
  rules.StretchMode = smTile;
  EXPECT_EQ(SplitParts(rules, Rect(0, 0, 11, 11), Rect(4, 0, 8, 4)).Dest[0], Rect(0, 0, 11, 11));
}

TEST(SkinImageGeometry, HitPointMappingInAllThreeModes) {
  const TRect frame = Rect(20, 0, 40, 20);  // frame 1 of a 20-wide strip
  struct Case {
    TDRXSkinImageDrawingMode mode;
    TDRXSkinImageStretchMode stretch;
    int x, y;
    TPoint expected;
  } cases[] = {
      // Nine-part, margins 4: corners map one to one, the centre shrinks.
      {dmNinePart, smStretch, 1, 1, {21, 1}},
      {dmNinePart, smStretch, 98, 38, {38, 18}},
      {dmNinePart, smStretch, 50, 20, {30, 10}},       // centre 92 × 32 → 12 × 12
      {dmNinePart, smCenter, 50, 20, {30, 10}},        // centre kept: 44 + 6 → 24 + 6
      {dmNinePart, smCenter, 10, 2, {21, 1}},          // a stretched margin: 10 × 4 / 44 = 0.9
      {dmNinePart, smStretch, 100, 40, {100, 40}},     // in no part: unchanged
      // Five-part along x, tile area (2, 3, 10, 4) of a 20-long frame into 100.
      {dmFivePart, smStretch, 1, 5, {21, 3}},
      {dmFivePart, smStretch, 96, 39, {36, 20}},       // tail: 94..100 → 34..40 (y 39 × 20 / 40 rounds up)
      {dmFivePart, smStretch, 47, 0, {27, 0}},         // middle: 45..50 → 25..30
      // Whole frame: linear, also for centring.
      {dmWholeFrame, smStretch, 50, 20, {30, 10}},
      {dmWholeFrame, smCenter, 99, 39, {40, 20}},
      {dmWholeFrame, smTile, 0, 0, {20, 0}},
  };
  for (const Case& c : cases) {
    TDRXSkinImagePartRules rules;
    rules.Mode = c.mode;
    rules.StretchMode = c.stretch;
    rules.Margins = {4, 4, 4, 4};
    rules.TileArea = {2, 3, 10, 4};
    EXPECT_EQ(MapHitPoint(rules, Rect(0, 0, 100, 40), frame, c.x, c.y), c.expected)
        << int(c.mode) << " " << int(c.stretch) << " " << c.x << "," << c.y;
  }
}

TEST(SkinImageGeometry, MulDivRoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDivRounded(5, 1, 2), 3);
  EXPECT_EQ(MulDivRounded(-5, 1, 2), -3);
  EXPECT_EQ(MulDivRounded(7, 3, 4), 5);
  EXPECT_EQ(MulDivRounded(1, 1, 0), -1);
  EXPECT_EQ(MulDivRounded(INT32_MAX, 4, 2), -1);
  EXPECT_EQ(MulDivRounded(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
}
