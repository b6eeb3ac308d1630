// Calculation, hit test and plain text of layouts over a fixed-width measurer:
// every character 10 units wide, every line 20 high.
#include "DRX.Graphics.TextLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr int32_t kChar = 10;
constexpr int32_t kLine = 20;

// Bold characters twice as wide: styles at a cut point become visible.
class TBoldWideMeasurer : public IDRXTextMeasurer {
 public:
  void MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) override {
    for (size_t i = 0; i < text.size(); ++i) widths[i] = (font.Style & fsBold) ? 2 * kChar : kChar;
  }
  int32_t LineHeight(const TFont&) override { return kLine; }
};

struct Fixture {
  TFont font;
  TDRXFixedWidthTextMeasurer measurer{kChar, kLine};
  TDRXTextLayout layout{font, measurer};

  Fixture(UStringView text, TRect bounds, std::initializer_list<TDRXTextLayoutOption> options = {}) {
    layout.SetText(text);
    layout.SetBounds(bounds);
    for (auto option : options) layout.SetOption(option, true);
  }
};

// Each row as the characters it shows: a space of width 0 shows as "~".
std::vector<UString> RowTexts(TDRXTextLayout& layout) {
  std::vector<UString> rows;
  for (const auto& row : layout.Rows()) {
    UString text;
    for (const TDRXTextLayoutBlock* block : row->Blocks) {
      if (block->Kind() == bkText) text += static_cast<const TDRXTextLayoutBlockText*>(block)->ShownChars();
      if (block->Kind() == bkSpace) text += block->Bounds.Width() > 0 ? u" " : u"~";
    }
    rows.push_back(text);
  }
  return rows;
}

using Rows = std::vector<UString>;

const TDRXTextLayoutBlock* FindText(TDRXTextLayout& layout, UStringView chars) {
  for (const auto& row : layout.Rows())
    for (const TDRXTextLayoutBlock* block : row->Blocks)
      if (block->Kind() == bkText && static_cast<const TDRXTextLayoutBlockText*>(block)->Chars() == chars) return block;
  return nullptr;
}

TEST(TextLayout, WordWrapMovesTheFourthWordToTheNextRowAndTheSpaceBeforeItHasNoWidth) {
  Fixture f(u"one two three four", {0, 0, 135, 100}, {tloWordWrap});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"one two three~", u"four"}));
  EXPECT_EQ(f.layout.Rows()[0]->Bounds, (TRect{0, 0, 130, 20}));
  EXPECT_EQ(FindText(f.layout, u"four")->Bounds, (TRect{0, 20, 40, 40}));
  EXPECT_FALSE(f.layout.IsTruncated());
  EXPECT_EQ(f.layout.GetSize(), (TSize{130, 40}));
}

TEST(TextLayout, AWordWiderThanTheRowStaysWholeOnItsOwnRow) {
  Fixture f(u"a abcdefghij b", {0, 0, 50, 100}, {tloWordWrap});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"a ", u"abcdefghij~", u"b"}));
  EXPECT_EQ(f.layout.GetSize(), (TSize{100, 60}));
}

TEST(TextLayout, LineBreaksStartRowsAndAnEmptyRowIsAsHighAsASpace) {
  Fixture f(u"a\\nb\n\nc", {0, 0, 100, 100});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"a", u"b", u"", u"c"}));
  EXPECT_EQ(f.layout.Rows()[2]->Bounds, (TRect{0, 40, 0, 60}));
  EXPECT_EQ(f.layout.ToString(), u"a\r\nb\r\n\r\nc");
  f.layout.SetText(u"a\n\n");
  EXPECT_EQ(f.layout.GetSize(), (TSize{10, 60}));  // the empty rows count
}

TEST(TextLayout, WithoutWordWrapTextFromTheRightEdgeOnIsLeftOut) {
  Fixture f(u"aaa bbb ccc", {0, 0, 35, 100});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"aaa "}));
  EXPECT_TRUE(f.layout.IsTruncated());

  f.layout.SetOption(tloUnlimitedWidth, true);
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"aaa bbb ccc"}));
  EXPECT_EQ(FindText(f.layout, u"ccc")->Bounds, (TRect{80, 0, 110, 20}));
}

TEST(TextLayout, EndEllipsisEndsAWideRowWithinTheWidth) {
  Fixture f(u"abcdefghij", {0, 0, 55, 100}, {tloEndEllipsis});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"abcd\u2026"}));
  EXPECT_TRUE(f.layout.IsTruncated());
  const TDRXTextLayoutRow& row = *f.layout.Rows()[0];
  ASSERT_TRUE(row.Ellipsis);
  EXPECT_EQ(row.Ellipsis->Bounds, (TRect{40, 0, 50, 20}));
  EXPECT_LE(row.Bounds.Right, 55);
  EXPECT_EQ(f.layout.ToString(), u"abcdefghij");
}

TEST(TextLayout, EllipsisWalkRemovesBlocksBeyondTheLimitAndCutsTheFirstBeforeIt) {
  struct Case {
    const char16_t* text;
    int32_t width;
    const char16_t* row;
  };
  const Case cases[] = {
      {u"ab cd ef gh", 75, u"ab cd \u2026"},  // the space before the limit stays
      {u"ab cd ef gh", 65, u"ab cd~\u2026"},  // the space crossing the limit keeps no width
      {u"ab cd ef gh", 25, u"a\u2026"},
      {u"ab cd ef gh", 15, u"\u2026"},        // nothing starts before the limit
      {u"ab cd ef gh", 5, u"\u2026"},
      {u"[b]x[/b]yyyyyy", 45, u"xyy\u2026"},
      {u"\U0001F600\U0001F600\U0001F600", 25, u"\U0001F600\u2026"},  // a pair is never split
  };
  for (const Case& c : cases) {
    Fixture f(c.text, {0, 0, c.width, 100}, {tloEndEllipsis});
    EXPECT_EQ(RowTexts(f.layout), Rows{c.row}) << Utf16ToUtf8(c.text) << " in " << c.width;
    EXPECT_TRUE(f.layout.IsTruncated());
  }
}

TEST(TextLayout, EllipsisIsMeasuredInTheStylesAtTheCut) {
  TFont font;
  TBoldWideMeasurer measurer;
  TDRXTextLayout layout(font, measurer);
  layout.SetOption(tloEndEllipsis, true);
  // The cut falls inside the bold word: a bold ellipsis, and the closing tag after it.
  layout.SetText(u"[b]aa[/b]bbbbbb");
  layout.SetBounds({0, 0, 45, 100});
  EXPECT_EQ(RowTexts(layout), Rows{u"a\u2026"});
  const TDRXTextLayoutRow& row = *layout.Rows()[0];
  EXPECT_EQ(row.Ellipsis->Bounds, (TRect{20, 0, 40, 20}));
  EXPECT_EQ(row.Blocks.back()->Bounds.Left, 40);
  // The cut falls in regular text after it: a regular ellipsis.
  layout.SetBounds({0, 0, 75, 100});
  EXPECT_EQ(RowTexts(layout), Rows{u"aabb\u2026"});
  EXPECT_EQ(layout.Rows()[0]->Ellipsis->Bounds, (TRect{60, 0, 70, 20}));
}

TEST(TextLayout, HiddenCutRowsAreDroppedAndThePreviousRowEndsInAnEllipsis) {
  Fixture f(u"aaaa\nbbbb", {0, 0, 100, 30}, {tloHideCutRows});
  EXPECT_EQ(RowTexts(f.layout), Rows{u"aaaa"});
  EXPECT_TRUE(f.layout.IsTruncated());
  f.layout.SetOption(tloEndEllipsis, true);
  EXPECT_EQ(RowTexts(f.layout), Rows{u"aaaa\u2026"});
  f.layout.SetOption(tloHideCutRows, false);
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"aaaa", u"bbbb"}));
  EXPECT_FALSE(f.layout.IsTruncated());
  f.layout.SetOption(tloUnlimitedHeight, true);
  f.layout.SetText(u"a\nb\nc\nd");
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"a", u"b", u"c", u"d"}));
  EXPECT_FALSE(f.layout.IsTruncated());
}

TEST(TextLayout, ARowStartingAtTheBottomEdgeIsCutAndEndsThePreviousRow) {
  Fixture f(u"one two three", {0, 0, 40, 40}, {tloWordWrap, tloHideCutRows, tloEndEllipsis});
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"one ", u"two\u2026"}));
  EXPECT_TRUE(f.layout.IsTruncated());
  f.layout.SetOption(tloHideCutRows, false);
  EXPECT_EQ(RowTexts(f.layout), (Rows{u"one ", u"two ", u"three"}));
  EXPECT_TRUE(f.layout.IsTruncated());  // the last row lies wholly below the bounds
}

TEST(TextLayout, AHiddenRowGivesBackTheStylesItOpened) {
  TFont font;
  TBoldWideMeasurer measurer;
  TDRXTextLayout layout(font, measurer);
  for (auto option : {tloHideCutRows, tloEndEllipsis}) layout.SetOption(option, true);
  layout.SetText(u"aaaa\n[b]bbb");
  layout.SetBounds({0, 0, 45, 30});
  // Measured in the bold of the dropped row, the ellipsis would leave "aa".
  EXPECT_EQ(RowTexts(layout), Rows{u"aaa\u2026"});
  EXPECT_EQ(layout.Rows()[0]->Ellipsis->Bounds, (TRect{30, 0, 40, 20}));
}

TEST(TextLayout, AHebrewRunIsMirroredInsideItsPlace) {
  // abc, space, two Hebrew words with a space between, space, def
  Fixture f(u"abc \u05D0\u05D1 \u05D2\u05D3 def", {0, 0, 200, 100});
  EXPECT_EQ(FindText(f.layout, u"abc")->Bounds.Left, 0);
  EXPECT_EQ(FindText(f.layout, u"\u05D2\u05D3")->Bounds.Left, 40);
  EXPECT_EQ(FindText(f.layout, u"\u05D0\u05D1")->Bounds.Left, 70);
  EXPECT_EQ(FindText(f.layout, u"def")->Bounds.Left, 100);
  EXPECT_EQ(f.layout.Rows()[0]->Blocks[3]->Bounds, (TRect{60, 0, 70, 20}));  // the space between them
  EXPECT_EQ(f.layout.Rows()[0]->Blocks[5]->Bounds, (TRect{90, 0, 100, 20}));  // the space after stays
}

TEST(TextLayout, RunsOfRightToLeftTextAcrossNeutralsAndAtTheRowEnd) {
  struct Case {
    const char16_t* text;
    std::vector<int32_t> lefts;  // of every block of the row, in text order
  };
  const Case cases[] = {
      // Arabic with its marks, a number between: one run to the row's end, the full stop stays last.
      {u"\u0628\u0650\u0633\u0652 12 \u0645\u064E.", {60, 50, 30, 20, 0, 100}},
      // Each run of a row is mirrored on its own.
      {u"\u05D0 a \u05D1\u05D2", {0, 10, 20, 30, 40}},
      {u"\u05D0 \u05D1 a", {20, 10, 0, 30, 40}},
  };
  for (const Case& c : cases) {
    Fixture f(c.text, {0, 0, 300, 100});
    std::vector<int32_t> lefts;
    for (const auto* block : f.layout.Rows()[0]->Blocks) lefts.push_back(block->Bounds.Left);
    EXPECT_EQ(lefts, c.lefts) << Utf16ToUtf8(c.text);
  }
}

TEST(TextLayout, RowsAreAlignedInsideTheBounds) {
  struct Case {
    TAlignment horizontal;
    TVerticalAlignment vertical;
    TRect first;  // the first row: "abc", 30 wide; the second: "ab"
    int32_t secondLeft;
  };
  const Case cases[] = {
      {taLeftJustify, taAlignTop, {5, 7, 35, 27}, 5},
      {taRightJustify, taAlignTop, {75, 7, 105, 27}, 85},
      {taCenter, taAlignTop, {40, 7, 70, 27}, 45},
      {taLeftJustify, taAlignBottom, {5, 67, 35, 87}, 5},
      {taCenter, taVerticalCenter, {40, 37, 70, 57}, 45},
  };
  for (const Case& c : cases) {
    Fixture f(u"abc\nab", {5, 7, 105, 107});
    f.layout.SetHorizontalAlignment(c.horizontal);
    f.layout.SetVerticalAlignment(c.vertical);
    EXPECT_EQ(f.layout.Rows()[0]->Bounds, c.first) << c.horizontal << " " << c.vertical;
    EXPECT_EQ(f.layout.Rows()[1]->Bounds.Left, c.secondLeft) << c.horizontal << " " << c.vertical;
    EXPECT_EQ(FindText(f.layout, u"abc")->Bounds, c.first);
  }
  Fixture wide(u"abcdefghijkl", {0, 0, 100, 10});
  wide.layout.SetHorizontalAlignment(taRightJustify);
  wide.layout.SetVerticalAlignment(taAlignBottom);
  wide.layout.SetOption(tloUnlimitedWidth, true);
  EXPECT_EQ(wide.layout.Rows()[0]->Bounds, (TRect{0, 0, 120, 20}));  // never moved left or up
}

TEST(TextLayout, HitTestFindsTheBlockAndTheLinkItLiesIn) {
  Fixture f(u"go [url=http://x.org]link [b]here[/b][/url] now www.y.org", {10, 10, 1000, 100});
  struct Case {
    TPoint point;
    const char16_t* block;   // nullptr: no block
    const char16_t* target;  // nullptr: no link
  };
  const Case cases[] = {
      {{15, 15}, u"go", nullptr},
      {{45, 29}, u"link", u"http://x.org"},
      {{85, 10}, u" ", u"http://x.org"},
      {{95, 20}, u"here", u"http://x.org"},
      {{135, 20}, u" ", nullptr},
      {{145, 20}, u"now", nullptr},
      {{185, 20}, u"www.y.org", u"https://www.y.org"},
      {{15, 30}, nullptr, nullptr},
      {{5, 15}, nullptr, nullptr},
      {{300, 15}, nullptr, nullptr},
  };
  for (const Case& c : cases) {
    TDRXTextLayoutHitTestInfo info;
    const bool hit = f.layout.HitTest(c.point, info);
    const std::string where = std::to_string(c.point.X) + "," + std::to_string(c.point.Y);
    EXPECT_EQ(hit, c.block != nullptr) << where;
    if (!hit) continue;
    const UString chars = info.Block->Kind() == bkText
                              ? UString(static_cast<const TDRXTextLayoutBlockText*>(info.Block)->Chars())
                              : UString(u" ");
    EXPECT_EQ(chars, c.block) << where;
    EXPECT_EQ(info.Hyperlink ? info.Hyperlink->Target : UString(u"-"), c.target ? c.target : u"-") << where;
  }
}

TEST(TextLayout, LinksAreListedOnceWithTheirTextAndTheRowsTheyCover) {
  Fixture f(u"go [url=http://x.org]link [b]here[/b][/url] now www.y.org", {0, 0, 80, 100}, {tloWordWrap});
  const std::vector<TDRXTextLayoutLink> links = f.layout.Links();
  ASSERT_EQ(links.size(), 2u);
  EXPECT_EQ(links[0].Target, u"http://x.org");
  EXPECT_EQ(links[0].Text, u"link here") << "the bold run inside belongs to it";
  const TRect link = FindText(f.layout, u"link")->Bounds, here = FindText(f.layout, u"here")->Bounds;
  EXPECT_LT(link.Top, here.Top) << "wrapped onto the next row";
  const TRect both = link.Union(here);  // and the space between them, at the end of the first row
  EXPECT_EQ(links[0].Bounds.Union(both), links[0].Bounds);
  EXPECT_EQ(links[0].Bounds.Left, both.Left);
  EXPECT_EQ(links[0].Bounds.Top, both.Top);
  EXPECT_EQ(links[0].Bounds.Bottom, both.Bottom);
  EXPECT_EQ(links[1].Target, u"https://www.y.org");
  EXPECT_EQ(links[1].Text, u"www.y.org");
  EXPECT_TRUE(Fixture(u"no links here", {0, 0, 200, 20}).layout.Links().empty());
}

TEST(TextLayout, ToStringDropsTagsAndTargetsAndWritesSpacesAndLineBreaksPlainly) {
  Fixture f(u"[b]bold[/b]\ttext [url=http://x]link[/url]\nnext\r\nlast [color=red]www.z.org", {0, 0, 20, 20},
            {tloEndEllipsis});
  EXPECT_EQ(f.layout.ToString(), u"bold text link\r\nnext\r\nlast www.z.org");
  EXPECT_TRUE(f.layout.IsTruncated());
}

TEST(TextLayout, ChangesMarkTheLayoutForCalculationOnlyWhenTheyChangeSomething) {
  Fixture f(u"abc", {0, 0, 100, 100});
  f.layout.Calculate();
  f.layout.SetBounds({0, 0, 100, 100});
  f.layout.SetOption(tloWordWrap, false);
  f.layout.SetHorizontalAlignment(taLeftJustify);
  EXPECT_FALSE(f.layout.NeedsCalculation());
  f.layout.SetOption(tloWordWrap, true);
  EXPECT_TRUE(f.layout.NeedsCalculation());
  EXPECT_EQ(f.layout.GetSize(), (TSize{30, 20}));
  EXPECT_FALSE(f.layout.NeedsCalculation());
  f.layout.SetText(u"abcd");
  EXPECT_EQ(f.layout.GetSize(), (TSize{40, 20}));
}

TEST(TextLayout, EmptyTextHasOneEmptyRow) {
  Fixture f(u"", {0, 0, 100, 100});
  EXPECT_EQ(RowTexts(f.layout), Rows{u""});
  EXPECT_EQ(f.layout.GetSize(), (TSize{0, 20}));
  EXPECT_FALSE(f.layout.IsTruncated());
  TDRXTextLayoutHitTestInfo info;
  EXPECT_FALSE(f.layout.HitTest({0, 0}, info));
}

}  // namespace
