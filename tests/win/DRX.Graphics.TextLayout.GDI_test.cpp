// Layouts measured and drawn through GDI into a 32-bit DIB section, checked by
// their pixels.
#include "DRX.Graphics.TextLayout.GDI.h"

#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "DRX.Graphics.TextLayout.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

struct Fixture {
  TFont font;
  TDRXGdiTextMeasurer measurer;
  TDRXTextLayout layout{font, measurer};
  TDRXDIBCanvas dib{400, 120};

  Fixture() {
    font.Name = u"DejaVu Sans";  // a host font Wine finds through fontconfig
    font.Height = -16;
    font.Color = RGB(0, 0, 0);
    Clear();
  }
  void Clear() {
    const RECT all{0, 0, dib.Width(), dib.Height()};
    SetBkColor(dib.DC(), kWhite);
    ExtTextOutW(dib.DC(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  }
  void Draw(UStringView text) {
    layout.SetText(text);
    layout.SetBounds({10, 10, 390, 110});
    TDRXGdiTextCanvas canvas(dib.DC(), measurer);
    layout.Draw(canvas);
  }
  const TDRXTextLayoutBlock& Block(size_t index) { return *layout.Blocks().at(index); }
  int Count(const TRect& rect, COLORREF color) {
    int count = 0;
    for (int y = rect.Top; y < rect.Bottom; ++y)
      for (int x = rect.Left; x < rect.Right; ++x) count += dib.Pixel(x, y) == color;
    return count;
  }
  int Ink(const TRect& rect) { return rect.Width() * rect.Height() - Count(rect, kWhite); }
  // The columns of the rectangle holding any pixel that is not white.
  int InkColumns(const TRect& rect) {
    int columns = 0;
    for (int x = rect.Left; x < rect.Right; ++x) {
      bool ink = false;
      for (int y = rect.Top; y < rect.Bottom && !ink; ++y) ink = dib.Pixel(x, y) != kWhite;
      columns += ink;
    }
    return columns;
  }
};

TEST(GdiTextMeasurer, ExtentsAreTheStepsOfTheCumulativeExtentsAndBoldIsWider) {
  Fixture f;
  const UString text = u"Ovix Setup";
  std::vector<int32_t> regular(text.size()), bold(text.size());
  f.measurer.MeasureCharacters(f.font, text, regular.data());
  TFont boldFont = f.font;
  boldFont.Style = fsBold;
  f.measurer.MeasureCharacters(boldFont, text, bold.data());

  SIZE size;
  {
    TDRXSelection selection(f.dib.DC(), f.measurer.FontHandle(f.font));
    ASSERT_TRUE(GetTextExtentPoint32W(f.dib.DC(), W(text), static_cast<int>(text.size()), &size));
    wchar_t face[LF_FACESIZE];
    GetTextFaceW(f.dib.DC(), LF_FACESIZE, face);
    ASSERT_EQ(FromW(face), u"DejaVu Sans");
  }
  EXPECT_EQ(std::accumulate(regular.begin(), regular.end(), 0), size.cx);
  EXPECT_GT(std::accumulate(bold.begin(), bold.end(), 0), size.cx);
  for (int32_t width : regular) EXPECT_GT(width, 0);
  EXPECT_GE(f.measurer.LineHeight(f.font), 16);
  EXPECT_EQ(f.measurer.FontHandle(f.font), f.measurer.FontHandle(f.font));
  EXPECT_NE(f.measurer.FontHandle(f.font), f.measurer.FontHandle(boldFont));
}

TEST(GdiTextMeasurer, LongRunsAreMeasuredInPieces) {
  Fixture f;
  const UString text(10000, u'm');
  std::vector<int32_t> widths(text.size());
  f.measurer.MeasureCharacters(f.font, text, widths.data());
  for (int32_t width : widths) ASSERT_EQ(width, widths[0]);
}

TEST(GdiTextLayout, ABoldRunIsDrawnWiderThanTheSameRunRegular) {
  Fixture f;
  f.Draw(u"[b]Ovix Setup[/b] Ovix Setup");
  // blocks: <b> Ovix _ Setup </b> _ Ovix _ Setup
  const TRect boldRun = f.Block(1).Bounds.Union(f.Block(3).Bounds);
  const TRect regularRun = f.Block(6).Bounds.Union(f.Block(8).Bounds);
  EXPECT_GT(boldRun.Width(), regularRun.Width());
  EXPECT_GT(f.InkColumns(boldRun), f.InkColumns(regularRun));
  EXPECT_GT(f.Ink(boldRun), f.Ink(regularRun));
  EXPECT_GT(f.Count(regularRun, RGB(0, 0, 0)), 0);
  EXPECT_EQ(f.Ink({0, 0, 400, 10}), 0);  // nothing above the bounds
}

TEST(GdiTextLayout, ALinkIsDrawnInTheLinkColourAndUnderlinedThroughItsSpaces) {
  Fixture f;
  f.Draw(u"see [url=https://ovix.example]the help[/url] now");
  // blocks: see _ <url> the _ help </url> _ now
  const COLORREF link = DefaultLinkColor(f.font.Color);
  const TRect linkRun = f.Block(2).Bounds.Union(f.Block(5).Bounds);
  EXPECT_GT(f.Count(linkRun, link), 20);
  EXPECT_EQ(f.Count(linkRun, RGB(0, 0, 0)), 0);
  EXPECT_EQ(f.Count(f.Block(0).Bounds, link), 0);
  const TRect space = f.Block(4).Bounds;  // between "the" and "help": the underline only
  EXPECT_GE(f.Count(space, link), space.Width());
  EXPECT_EQ(f.Count(f.Block(7).Bounds, link), 0);  // the plain space after the link

  TDRXTextLayoutHitTestInfo info;
  ASSERT_TRUE(f.layout.HitTest({f.Block(5).Bounds.Left + 2, f.Block(5).Bounds.Top + 5}, info));
  ASSERT_NE(info.Hyperlink, nullptr);
  EXPECT_EQ(info.Hyperlink->Target, u"https://ovix.example");
}

TEST(GdiTextLayout, FillsLieUnderTheirText) {
  Fixture f;
  f.Draw(u"[backcolor=#FFFF00]ab cd[/backcolor] ef");
  const COLORREF yellow = RGB(255, 255, 0);
  const TRect filled = f.Block(1).Bounds.Union(f.Block(3).Bounds);
  EXPECT_EQ(f.dib.Pixel(filled.Left, filled.Top), yellow);
  EXPECT_EQ(f.dib.Pixel(f.Block(2).Bounds.Left + 1, f.Block(2).Bounds.Bottom - 1), yellow);  // the space
  EXPECT_GT(f.Count(filled, RGB(0, 0, 0)), 0);
  EXPECT_EQ(f.Count(f.Block(6).Bounds, yellow), 0);
}

TEST(GdiTextLayout, DrawingIsClippedAndShiftedAndTheDCIsRestored) {
  Fixture f;
  f.layout.SetText(u"[b]HHHH HHHH HHHH[/b]");
  f.layout.SetBounds({10, 30, 390, 110});
  TDRXGdiTextCanvas canvas(f.dib.DC(), f.measurer);
  f.layout.Draw(canvas, {0, 0, 400, 120}, {0, 20});  // scrolled by 20: the text lies 20 higher
  const TRect first = f.Block(1).Bounds;
  EXPECT_GT(f.Ink({first.Left, first.Top - 20, first.Right, first.Bottom - 20}), 0);
  EXPECT_EQ(f.Ink({0, first.Bottom - 19, 400, 120}), 0);

  f.Clear();
  f.layout.Draw(canvas, {0, 0, first.Left + 5, 120});
  EXPECT_GT(f.Ink({first.Left, first.Top, first.Left + 5, first.Bottom}), 0);
  EXPECT_EQ(f.Ink({first.Left + 5, 0, 400, 120}), 0);

  RECT clip;
  EXPECT_EQ(GetClipBox(f.dib.DC(), &clip), SIMPLEREGION);
  EXPECT_EQ(clip.right, 400);
  EXPECT_EQ(clip.bottom, 120);
  POINT origin;
  GetWindowOrgEx(f.dib.DC(), &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
}

TEST(GdiTextLayout, AHebrewRunIsDrawnInItsMirroredPlace) {
  Fixture f;
  f.Draw(u"ab \u05D0\u05D1\u05D2 \u05D3\u05D4 cd");
  // blocks: ab _ HEB1 _ HEB2 _ cd; the second Hebrew word comes first on the row
  EXPECT_LT(f.Block(4).Bounds.Left, f.Block(2).Bounds.Left);
  EXPECT_GT(f.Ink(f.Block(4).Bounds), 0);
  EXPECT_GT(f.Ink(f.Block(2).Bounds), 0);
  // GDI reorders the word's glyphs itself: none spill into the space after the run.
  EXPECT_EQ(f.Ink(f.Block(5).Bounds), 0);
}

}  // namespace
