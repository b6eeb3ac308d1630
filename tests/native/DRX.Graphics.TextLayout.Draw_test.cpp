// Drawing of layouts, recorded by a canvas that keeps every call.
#include "DRX.Graphics.TextLayout.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

namespace {

struct TDrawCall {
  UString Text;  // empty for a fill
  TRect Rect;
  TFontStyles Style = 0;
  TColor Color = 0;
  std::optional<TColor> Fill;
  bool Clipped = false;
  std::vector<int32_t> Widths;
};

class TRecordingCanvas : public IDRXTextCanvas {
 public:
  void BeginDraw(const TRect& clip, TPoint origin) override {
    ++begun;
    this->clip = clip;
    this->origin = origin;
  }
  void EndDraw() override { ++ended; }
  void DrawCharacters(const TFont& font, const TRect& rect, UStringView text, const int32_t* widths,
                      std::optional<TColor> fill, bool clipped) override {
    if (failOnDraw) throw std::runtime_error("draw failed");
    calls.push_back({UString(text), rect, font.Style, font.Color, fill, clipped, {widths, widths + text.size()}});
  }
  void FillRect(const TRect& rect, TColor color) override { calls.push_back({u"", rect, 0, 0, color, false, {}}); }

  std::vector<TDrawCall> calls;
  TRect clip;
  TPoint origin;
  int begun = 0;
  int ended = 0;
  bool failOnDraw = false;
};

struct Fixture {
  TFont font;
  TDRXFixedWidthTextMeasurer measurer{10, 20};
  TDRXTextLayout layout{font, measurer};
  TRecordingCanvas canvas;

  explicit Fixture(UStringView text) {
    font.Color = RGBColor(1, 2, 3);
    layout.SetText(text);
    layout.SetBounds({0, 0, 500, 100});
  }
  const std::vector<TDrawCall>& Draw() {
    layout.Draw(canvas);
    return canvas.calls;
  }
};

TEST(TextLayoutDraw, StylesApplyAsTheStackChanges) {
  struct Case {
    const char16_t* text;
    const char16_t* drawn;  // the last text drawn
    TFontStyles style;
    TColor color;
  };
  const TColor base = RGBColor(1, 2, 3);
  const Case cases[] = {
      {u"[b]bold[/b] [x]text", u"text", 0, base},
      {u"[b]bold[/b] [x]text", u"bold", fsBold, base},
      {u"[color=#FF8000]a[/color]", u"a", 0, RGBColor(255, 128, 0)},
      {u"[color=red]a", u"a", 0, RGBColor(255, 0, 0)},
      {u"[color=red]x [color=lime]a[/color]", u"a", 0, RGBColor(0, 255, 0)},
      {u"[color=red][color=lime]x[/color]a", u"a", 0, RGBColor(255, 0, 0)},
      {u"[/i]a", u"a", 0, base},
      {u"[b][b]x[/b]y", u"y", fsBold, base},
      {u"[b][i]x[/b]y", u"y", fsItalic, base},
      {u"[i][b][s][u]a", u"a", fsBold | fsItalic | fsStrikeOut | fsUnderline, base},
      {u"[url=x]a[/url]", u"a", fsUnderline, DefaultLinkColor(base)},
      {u"[url=x][color=red]a", u"a", fsUnderline, RGBColor(255, 0, 0)},
      {u"[color=red][url=x]a", u"a", fsUnderline, DefaultLinkColor(RGBColor(255, 0, 0))},
  };
  for (const Case& c : cases) {
    Fixture f(c.text);
    const TDrawCall* found = nullptr;
    for (const TDrawCall& call : f.Draw())
      if (call.Text == c.drawn) found = &call;
    ASSERT_NE(found, nullptr) << Utf16ToUtf8(c.text);
    EXPECT_EQ(found->Style, c.style) << Utf16ToUtf8(c.text) << " " << Utf16ToUtf8(c.drawn);
    EXPECT_EQ(found->Color, c.color) << Utf16ToUtf8(c.text) << " " << Utf16ToUtf8(c.drawn);
  }
}

TEST(TextLayoutDraw, TextIsDrawnAtItsCornerWithItsWidths) {
  Fixture f(u"ab cd");
  const auto& calls = f.Draw();
  ASSERT_EQ(calls.size(), 2u);  // a plain space draws nothing
  EXPECT_EQ(calls[1].Text, u"cd");
  EXPECT_EQ(calls[1].Rect, (TRect{30, 0, 50, 20}));
  EXPECT_EQ(calls[1].Widths, (std::vector<int32_t>{10, 10}));
  EXPECT_FALSE(calls[1].Fill);
}

TEST(TextLayoutDraw, FillsLieUnderTextAndSpaces) {
  Fixture f(u"[backcolor=yellow]a b[/backcolor] c");
  const auto& calls = f.Draw();
  ASSERT_EQ(calls.size(), 4u);
  const TColor yellow = RGBColor(255, 255, 0);
  EXPECT_EQ(calls[0].Text, u"a");
  EXPECT_EQ(calls[0].Fill, yellow);
  EXPECT_EQ(calls[1].Text, u"");
  EXPECT_EQ(calls[1].Rect, (TRect{10, 0, 20, 20}));
  EXPECT_EQ(calls[1].Fill, yellow);
  EXPECT_EQ(calls[2].Fill, yellow);
  EXPECT_EQ(calls[3].Text, u"c");
  EXPECT_FALSE(calls[3].Fill);
}

TEST(TextLayoutDraw, PlainColorsLeaveOutColourAndFillTagsButKeepLinks) {
  Fixture f(u"[color=red]a[/color] [backcolor=yellow]b c[/backcolor] [color=red][url=x]d");
  const TColor link = RGBColor(0, 0, 200);
  f.layout.SetLinkColor(link);
  f.layout.SetPlainColors(true);
  const auto& calls = f.Draw();
  ASSERT_EQ(calls.size(), 4u) << "no fill between b and c";
  for (const TDrawCall& call : calls) EXPECT_FALSE(call.Fill) << Utf16ToUtf8(call.Text);
  EXPECT_EQ(calls[0].Color, RGBColor(1, 2, 3));
  EXPECT_EQ(calls[1].Color, RGBColor(1, 2, 3));
  EXPECT_EQ(calls[3].Text, u"d");
  EXPECT_EQ(calls[3].Color, link);
  f.canvas.calls.clear();
  f.layout.SetPlainColors(false);
  EXPECT_EQ(f.Draw()[0].Color, RGBColor(255, 0, 0)) << "the tags again";
}

TEST(TextLayoutDraw, UnderlinesAndStrikeOutsRunThroughSpaces) {
  Fixture f(u"[u]a b[/u] c [url=x]d e[/url] [s]f g[/s]");
  std::vector<TRect> spaces;
  for (const TDrawCall& call : f.Draw())
    if (call.Text == u" ") {
      EXPECT_TRUE(call.Clipped);
      EXPECT_TRUE(call.Style & (fsUnderline | fsStrikeOut));
      spaces.push_back(call.Rect);
    }
  EXPECT_EQ(spaces, (std::vector<TRect>{{10, 0, 20, 20}, {70, 0, 80, 20}, {110, 0, 120, 20}}));
}

TEST(TextLayoutDraw, ACutBlockDrawsItsShownCharactersAndTheEllipsisFollows) {
  Fixture f(u"[b]abcdef ghi");
  f.layout.SetBounds({0, 0, 45, 20});
  f.layout.SetOption(tloEndEllipsis, true);
  const auto& calls = f.Draw();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].Text, u"abc");
  EXPECT_EQ(calls[1].Text, u"\u2026");
  EXPECT_EQ(calls[1].Rect, (TRect{30, 0, 40, 20}));
  EXPECT_EQ(calls[1].Style, fsBold);
}

TEST(TextLayoutDraw, TheGivenLinkColourWins) {
  Fixture f(u"[url=x]a");
  f.layout.SetLinkColor(RGBColor(9, 8, 7));
  EXPECT_EQ(f.Draw().at(0).Color, RGBColor(9, 8, 7));
}

TEST(TextLayoutDraw, TheCanvasIsNarrowedAndRestoredOnceForEachDraw) {
  Fixture f(u"a");
  f.layout.SetBounds({5, 6, 50, 60});
  f.layout.Draw(f.canvas);
  EXPECT_EQ(f.canvas.clip, (TRect{5, 6, 50, 60}));
  EXPECT_EQ(f.canvas.origin, (TPoint{0, 0}));
  f.layout.Draw(f.canvas, {1, 2, 3, 4}, {0, 40});
  EXPECT_EQ(f.canvas.clip, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(f.canvas.origin, (TPoint{0, 40}));
  f.canvas.failOnDraw = true;
  EXPECT_THROW(f.layout.Draw(f.canvas, {0, 0, 9, 9}), std::runtime_error);
  EXPECT_EQ(f.canvas.begun, 3);
  EXPECT_EQ(f.canvas.ended, 3);
}

}  // namespace
