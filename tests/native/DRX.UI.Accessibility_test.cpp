#include "DRX.UI.Accessibility.h"

#include <gtest/gtest.h>

TEST(Accessibility, ProgressReadsAsTheShareOfItsRange) {
  EXPECT_EQ(AccessiblePercent(0, 100, 50), u"50%");
  EXPECT_EQ(AccessiblePercent(0, 3, 1), u"33%");
  EXPECT_EQ(AccessiblePercent(0, 3, 2), u"67%");
  EXPECT_EQ(AccessiblePercent(10, 20, 5), u"0%");
  EXPECT_EQ(AccessiblePercent(10, 20, 99), u"100%");
  EXPECT_EQ(AccessiblePercent(0, 0, 0), u"0%");
  EXPECT_EQ(AccessiblePercent(INT64_MIN, INT64_MAX, INT64_MAX), u"100%");
}

TEST(Accessibility, ReadingOrderGoesByRowsThenLeftToRight) {
  // A header label, a row of an edit with its button (tops differ by a few
  // pixels), two check boxes, and the button row at the bottom.
  const std::vector<TRect> places = {
      Bounds(540, 440, 80, 24),  // 0 Next
      Bounds(20, 10, 600, 20),   // 1 header
      Bounds(530, 62, 80, 24),   // 2 Browse
      Bounds(20, 60, 500, 22),   // 3 edit
      Bounds(20, 120, 300, 17),  // 4 first box
      Bounds(20, 144, 300, 17),  // 5 second box
      Bounds(450, 440, 80, 24),  // 6 Back
  };
  EXPECT_EQ(AccessibleReadingOrder(places), (std::vector<size_t>{1, 3, 2, 4, 5, 6, 0}));
  EXPECT_TRUE(AccessibleReadingOrder({}).empty());
  // Equal places keep the order they were given in.
  EXPECT_EQ(AccessibleReadingOrder({Bounds(0, 0, 5, 5), Bounds(0, 0, 5, 5)}), (std::vector<size_t>{0, 1}));
}
