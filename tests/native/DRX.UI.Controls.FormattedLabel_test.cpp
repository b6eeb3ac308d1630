// The formatted label's rules over its layout, with every character 10 units
// wide and every line 20 high.
#include "DRX.UI.Controls.FormattedLabel.h"

#include <gtest/gtest.h>

namespace {

struct Label {
  TDRXFixedWidthTextMeasurer measurer{10, 20};
  TDRXFormattedLabelLayout label{measurer};
};

// The shown characters of each row (an ellipsis is one of its blocks).
std::vector<UString> RowTexts(TDRXTextLayout& layout) {
  std::vector<UString> rows;
  for (const auto& row : layout.Rows()) {
    UString text;
    for (const TDRXTextLayoutBlock* block : row->Blocks)
      if (block->Kind() == bkText) text += static_cast<const TDRXTextLayoutBlockText*>(block)->ShownChars();
    rows.push_back(text);
  }
  return rows;
}

}  // namespace

TEST(FormattedLabel, WrapsFromTheStartAndReadsTheDefaultMarkUp) {
  Label f;
  EXPECT_TRUE(f.label.WordWrap());
  // Formatting, escaped line breaks and web addresses on; e-mail addresses off.
  f.label.SetCaption(u"[b]Get[/b] it\\nat www.ovix.org or me@ovix.org");
  f.label.SetContentRect(Rect(0, 0, 400, 100));
  EXPECT_EQ(f.label.Layout().ToString(), u"Get it\r\nat www.ovix.org or me@ovix.org");
  EXPECT_EQ(RowTexts(f.label.Layout()).size(), 2u);
  // "at " is 30 wide: the link starts at x 30 of the second row.
  EXPECT_EQ(f.label.LinkAt({35, 25}), u"https://www.ovix.org");
  EXPECT_EQ(f.label.LinkAt({5, 25}), std::nullopt);
  EXPECT_EQ(f.label.LinkAt({205, 25}), std::nullopt);  // the e-mail address is plain text
  EXPECT_EQ(f.label.LinkAt({5, 70}), std::nullopt);
}

TEST(FormattedLabel, FixedSizeEndsInAnEllipsisWithinItsRectangle) {
  Label f;
  f.label.SetCaption(u"one two three four five");
  f.label.SetContentRect(Rect(0, 0, 95, 40));  // two rows of up to 9 characters
  // "four" would start a third row: the row is hidden and the last one shown ends in "…".
  EXPECT_EQ(RowTexts(f.label.Layout()), (std::vector<UString>{u"onetwo", u"three…"}));
  EXPECT_TRUE(f.label.Layout().IsTruncated());
  EXPECT_LE(f.label.Layout().GetSize().cx, 95);
  // Without word wrap the one row is cut at the right edge: "three" loses all
  // its characters to the ellipsis at 85.
  f.label.SetWordWrap(false);
  EXPECT_EQ(RowTexts(f.label.Layout()), (std::vector<UString>{u"onetwo…"}));
}

TEST(FormattedLabel, AutoScrollLaysOutInItsWidthWithoutBounds) {
  Label f;
  f.label.SetAutoScroll(true);
  f.label.SetCaption(u"one two three four five six seven");
  f.label.SetContentRect(Rect(0, 0, 95, 20));
  EXPECT_EQ(RowTexts(f.label.Layout()), (std::vector<UString>{u"onetwo", u"three", u"fourfive", u"sixseven"}));
  EXPECT_EQ(f.label.TextHeight(), 80);
  EXPECT_FALSE(f.label.Layout().IsTruncated());
  // Off again: back to the fixed size.
  f.label.SetAutoScroll(false);
  EXPECT_EQ(f.label.TextHeight(), 20);
  EXPECT_TRUE(f.label.Layout().IsTruncated());
}

TEST(FormattedLabel, AlignmentAndBordersPlaceTheText) {
  Label f;
  f.label.SetCaption(u"abc");
  f.label.SetContentRect(FormattedLabelContentRect(Rect(0, 0, 102, 40), true, 1));
  EXPECT_EQ(f.label.ContentRect(), Rect(1, 1, 101, 39));
  f.label.SetAlignment(taRightJustify);
  EXPECT_EQ(f.label.Layout().Rows().front()->Bounds.Right, 101);
  f.label.SetAlignment(taCenter);
  EXPECT_EQ(f.label.Layout().Rows().front()->Bounds.Left, 36);  // 1 + (100 - 30) ÷ 2
  EXPECT_EQ(FormattedLabelContentRect(Rect(0, 0, 102, 40), false, 1), Rect(0, 0, 102, 40));
}
