#include "DRX.UI.Accessibility.h"

#include <gtest/gtest.h>

TEST(Accessibility, CaptionsReadWithoutTheirAmpersands) {
  struct Case {
    const char16_t* caption;
    const char16_t* name;
    char16_t accelerator;
    const char16_t* shortcut;
  };
  const Case cases[] = {
      {u"&Next >", u"Next >", u'N', u"Alt+N"},
      {u"< &Back", u"< Back", u'B', u"Alt+B"},
      {u"I &accept the agreement", u"I accept the agreement", u'A', u"Alt+A"},
      {u"Tom && Jerry", u"Tom & Jerry", 0, u""},
      {u"Tom && &Jerry", u"Tom & Jerry", u'J', u"Alt+J"},
      {u"Cancel", u"Cancel", 0, u""},
      {u"Trailing&", u"Trailing", 0, u""},
      {u"&", u"", 0, u""},
      {u"", u"", 0, u""},
      {u"&\u0414\u0430\u043B\u0435\u0435", u"\u0414\u0430\u043B\u0435\u0435", u'\u0414', u"Alt+\u0414"},
      {u"& space", u" space", u' ', u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.caption));
    EXPECT_EQ(AccessibleNameFromCaption(c.caption), c.name);
    EXPECT_EQ(AcceleratorOfCaption(c.caption), c.accelerator);
    EXPECT_EQ(AccessibleShortcutOfCaption(c.caption), c.shortcut);
  }
}

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
