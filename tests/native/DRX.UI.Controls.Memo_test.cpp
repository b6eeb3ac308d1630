#include "DRX.UI.Controls.Memo.h"

#include <gtest/gtest.h>

#include <ostream>

std::ostream& operator<<(std::ostream& out, const TRect& r) {
  return out << "(" << r.Left << "," << r.Top << "," << r.Right << "," << r.Bottom << ")";
}

TEST(MemoLayout, SkinnedBarsCoverTheSystemBarsOfTheInnerWindow) {
  const TRect content = Rect(2, 2, 202, 102);  // 200 × 100
  const TSize system{17, 17};
  struct Case {
    const char* name;
    TDRXScrollStyle bars;
    TRect innerWindow, innerVisible, vert, horz, corner;
  } cases[] = {
      {"none", ssNone, Rect(2, 2, 202, 102), Rect(0, 0, 200, 100), TRect(), TRect(), TRect()},
      {"vertical", ssVertical, Rect(2, 2, 207, 102), Rect(0, 0, 188, 100), Rect(190, 2, 202, 102), TRect(), TRect()},
      {"horizontal", ssHorizontal, Rect(2, 2, 202, 107), Rect(0, 0, 200, 88), TRect(), Rect(2, 90, 202, 102),
       TRect()},
      {"both", ssBoth, Rect(2, 2, 207, 107), Rect(0, 0, 188, 88), Rect(190, 2, 202, 90), Rect(2, 90, 190, 102),
       Rect(190, 90, 202, 102)},
  };
  for (const auto& c : cases) {
    const auto layout = CalculateMemoLayout(content, c.bars, 12, system);
    EXPECT_EQ(layout.InnerWindow, c.innerWindow) << c.name;
    EXPECT_EQ(layout.InnerVisible, c.innerVisible) << c.name;
    EXPECT_EQ(layout.VertBar, c.vert) << c.name;
    EXPECT_EQ(layout.HorzBar, c.horz) << c.name;
    EXPECT_EQ(layout.Corner, c.corner) << c.name;
  }
}

TEST(MemoLayout, TooSmallForTheBars) {
  const auto layout = CalculateMemoLayout(Rect(2, 2, 10, 8), ssBoth, 12, {17, 17});
  EXPECT_EQ(layout.InnerVisible, TRect());
  EXPECT_EQ(layout.InnerWindow, Rect(2, 2, 19, 19));
  EXPECT_EQ(layout.VertBar, Rect(2, 2, 10, 2));
  EXPECT_EQ(layout.HorzBar, Rect(2, 2, 2, 8));
  const auto inverted = CalculateMemoLayout(Rect(20, 20, 10, 10), ssNone, 12, {17, 17});
  EXPECT_EQ(inverted.InnerWindow, Rect(20, 20, 20, 20));
}
