// The progress bar's value rules and the geometry of its bar and waiting blocks.
#include "DRX.UI.Controls.ProgressBar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

TEST(ProgressBarValues, MaxAndMinPushEachOther) {
  TDRXProgressBarValues values;
  EXPECT_TRUE(values.SetMin(150));  // above Max: Max follows
  EXPECT_EQ(values.Max(), 150);
  EXPECT_TRUE(values.SetMax(20));  // below Min: Min follows
  EXPECT_EQ(values.Min(), 20);
  EXPECT_EQ(values.Max(), 20);
  EXPECT_FALSE(values.SetMax(20));
  EXPECT_TRUE(values.SetMax(60));
  EXPECT_EQ(values.Min(), 20);
  EXPECT_EQ(values.Range(), 40);
}

TEST(ProgressBarValues, IgnoredWhileDisabledAndNotAppliedLater) {
  TDRXProgressBarValues values;
  values.SetProgress(30);
  values.SetEnabled(false);
  EXPECT_FALSE(values.SetProgress(70));
  EXPECT_FALSE(values.SetMin(10));
  EXPECT_FALSE(values.SetMax(50));
  values.SetEnabled(true);
  EXPECT_EQ(values.Progress(), 30);
  EXPECT_EQ(values.Min(), 0);
  EXPECT_EQ(values.Max(), 100);
}

TEST(ProgressBarValues, ProgressAboveZeroEndsWaiting) {
  TDRXProgressBarValues values;
  values.SetWaitingMode(true);
  EXPECT_FALSE(values.SetProgress(0));  // 0 is already there and ends nothing: no change
  EXPECT_TRUE(values.WaitingMode());
  EXPECT_TRUE(values.SetProgress(-5));
  EXPECT_TRUE(values.WaitingMode());
  EXPECT_TRUE(values.SetProgress(1));
  EXPECT_FALSE(values.WaitingMode());
  EXPECT_FALSE(values.SetProgress(std::numeric_limits<double>::quiet_NaN()));
  EXPECT_EQ(values.Progress(), 1);
}

TEST(ProgressBarGeometry, HeightAndArea) {
  EXPECT_EQ(ProgressBarHeight(96), 18);
  EXPECT_EQ(ProgressBarHeight(144), 27);
  EXPECT_EQ(ProgressBarHeight(120), 23);  // 22.5 rounded away from zero
  EXPECT_EQ(ProgressBarArea(Rect(10, 0, 210, 18), 1), Rect(11, 0, 209, 18));
}

TEST(ProgressBarGeometry, BarWidthFromTheRange) {
  const TRect area = Rect(11, 0, 209, 18);  // 198 wide
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double min, max, progress;
    int32_t width;
  } cases[] = {
      {0, 0, 50, 99},       // range 100 when both are 0: half full
      {0, 100, 0, 0},       {0, 100, 100, 198}, {0, 100, 33, 65},  // Trunc(65.34)
      {20, 60, 30, 49},     // (30 - 20) ÷ 40 × 198 = 49.5
      {0, 100, 150, 198},   {0, 100, -20, 0},   // outside the range: kept in the area
      {5, 5, 5, 0},         {5, 5, 6, 198},     // an empty range at or past its value
      {0, 100, nan, 0},
  };
  for (const auto& c : cases) {
    TDRXProgressBarValues values;
    values.SetMax(c.max);
    values.SetMin(c.min);
    values.SetProgress(c.progress);
    EXPECT_EQ(ProgressBarFill(area, values), Rect(11, 0, 11 + c.width, 18)) << c.min << " " << c.max << " " << c.progress;
  }
}

TEST(ProgressBarGeometry, WaitingBlockAndItsWrappedCopy) {
  const TRect client = Rect(0, 0, 200, 18);
  const struct {
    int32_t position;
    TRect first, second;
  } cases[] = {
      {10, Rect(-20, 0, 40, 18), Rect(180, 0, 240, 18)},  // crosses the left edge: a copy at the right
      {100, Rect(70, 0, 130, 18), TRect{}},
      {30, Rect(0, 0, 60, 18), TRect{}},
      {180, Rect(150, 0, 210, 18), Rect(-50, 0, 10, 18)},  // crosses the right edge: a copy at the left
      {200, Rect(170, 0, 230, 18), Rect(-30, 0, 30, 18)},
  };
  for (const auto& c : cases) {
    const TDRXWaitingBlocks blocks = WaitingBlocks(client, c.position);
    EXPECT_EQ(blocks.First, c.first) << c.position;
    EXPECT_EQ(blocks.Second, c.second) << c.position;
  }
  // Offset clients count from their left; an empty one has empty blocks.
  EXPECT_EQ(WaitingBlocks(Rect(30, 5, 230, 23), 100).First, Rect(100, 5, 160, 23));
  EXPECT_EQ(WaitingBlocks(Rect(0, 0, 0, 18), 10).First.Width(), 0);
}

TEST(ProgressBarValues, WaitingPositionWrapsOncePastTheWidth) {
  TDRXProgressBarValues values;
  int32_t last = 0;
  int wraps = 0;
  for (int tick = 0; tick < 100; ++tick) {
    values.AdvanceWaiting(200, 5);
    if (values.WaitingPosition() < last) {
      ++wraps;
      EXPECT_EQ(values.WaitingPosition(), 0);
      EXPECT_EQ(last, 200);  // 200 is reached, 205 would pass it
    }
    last = values.WaitingPosition();
  }
  EXPECT_EQ(wraps, 2);
}

TEST(ProgressBarValues, ReadersHearTheShareOfTheRange) {
  const struct {
    double min, max, progress;
    const char16_t* text;
  } cases[] = {
      {0, 0, 50, u"50%"},  // range 100 when both are 0
      {0, 100, 33.4, u"33%"}, {20, 60, 30, u"25%"}, {0, 100, 150, u"100%"}, {5, 5, 5, u"0%"},
  };
  for (const auto& c : cases) {
    TDRXProgressBarValues values;
    values.SetMax(c.max);
    values.SetMin(c.min);
    values.SetProgress(c.progress);
    EXPECT_EQ(ProgressBarPercentText(values), c.text) << c.progress;
  }
  TDRXProgressBarValues waiting;
  waiting.SetWaitingMode(true);
  EXPECT_EQ(ProgressBarPercentText(waiting), u"");
}
