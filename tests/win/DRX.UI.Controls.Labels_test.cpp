// Labels, validation labels and progress bars painted by their parent into a
// 32-bit DIB at 96 and 144 DPI with the light and the dark default skin,
// checked at known points against the skin's colours and textures; their
// mouse behaviour and the waiting mode's timer.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <tuple>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Controls.ProgressBar.h"
#include "DRX.UI.Forms.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Texture.h"
#include "TestSkins.h"

namespace {

constexpr COLORREF kPaper = RGB(255, 0, 255);  // what lies under the controls

COLORREF SkinColor(UStringView id) { return AlphaColorToColor(RootSkinColor(id)); }

// The parent that paints the controls, shown at a DPI of its own.
class THost : public TDRXCustomControl {
 public:
  explicit THost(int dpi) : dpi_(dpi) {
    TFont font;
    font.Name = u"DejaVu Sans";  // a host font Wine finds through fontconfig
    font.Height = -MulDiv(13, dpi, 96);
    font.Style = fsBold;  // stems wide enough to hold pixels of the exact colour
    SetFont(font);
  }
  int CurrentDPI() const override { return dpi_; }

 private:
  int dpi_;
};

// A control of the kind, owned and parented by the host, at those bounds.
template <typename T>
T* AddControl(TDRXCustomControl& host, const TRect& bounds) {
  auto* control = new T(&host);
  control->SetParent(&host);
  control->SetBoundsRect(bounds);
  return control;
}

// A host and a DIB of a size given at 96 DPI, scaled to the DPI.
class TScene {
 public:
  TScene(int dpi, int32_t width, int32_t height)
      : host(dpi), dib(MulDiv(width, dpi, 96), MulDiv(height, dpi, 96)), dpi_(dpi) {
    host.SetBounds(0, 0, dib.Width(), dib.Height());
    Clear();
  }
  int32_t S(int32_t value) const { return MulDiv(value, dpi_, 96); }
  void Clear() {
    const RECT all{0, 0, dib.Width(), dib.Height()};
    SetBkColor(dib.DC(), kPaper);
    ExtTextOutW(dib.DC(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
  }
  void Paint() {
    Clear();
    host.PaintTo(dib.DC());
  }
  COLORREF Pixel(const TDRXCustomControl& control, int32_t x, int32_t y) const {
    return dib.Pixel(control.Left() + x, control.Top() + y);
  }
  // Pixels of exactly that colour in a rectangle of the control's client.
  int Count(const TDRXCustomControl& control, TRect rect, COLORREF color) const {
    rect.Offset(control.Left(), control.Top());
    rect = RectIntersection(rect, Rect(0, 0, dib.Width(), dib.Height()));
    int count = 0;
    for (int32_t y = rect.Top; y < rect.Bottom; ++y)
      for (int32_t x = rect.Left; x < rect.Right; ++x) count += dib.Pixel(x, y) == color;
    return count;
  }

  THost host;
  TDRXDIBCanvas dib;

 private:
  int dpi_;
};

// What a texture frame drawn alone into a rectangle of that size shows at a
// point (by default its middle).
COLORREF FramePixel(const TDRXResourceTexture& texture, TSize size, int32_t frame, std::optional<TPoint> at = {}) {
  TDRXDIBCanvas reference(size.cx, size.cy);
  texture.Draw(reference.DC(), Rect(0, 0, size.cx, size.cy), frame);
  const TPoint point = at.value_or(TPoint{size.cx / 2, size.cy / 2});
  return reference.Pixel(point.X, point.Y);
}

class SkinnedLabels : public ::testing::TestWithParam<std::tuple<int, bool>> {
 protected:
  void SetUp() override { UseDefaultSkin(std::get<1>(GetParam())); }
  void TearDown() override { UseDefaultSkin(false); }
  int Dpi() const { return std::get<0>(GetParam()); }
};

TEST_P(SkinnedLabels, ALabelPaintsItsBackgroundTextAndLine) {
  TScene scene(Dpi(), 300, 60);
  auto* label = AddControl<TDRXLabel>(scene.host, Bounds(scene.S(10), scene.S(10), scene.S(250), scene.S(30)));
  label->SetTransparent(false);
  label->SetAlignment(taCenter);
  label->SetCaption(u"Ovix");
  label->Style().SetShowLine(true);
  scene.Paint();

  const COLORREF background = SkinColor(u"Labels.Colors.Background");
  const TRect text = label->TextRect();
  EXPECT_EQ(scene.Pixel(*label, 1, 1), background);
  EXPECT_GT(scene.Count(*label, text, SkinColor(u"Labels.Colors.Text")), 10);
  // The line at the text's middle, with a gap of 4 (scaled) beside the text.
  const int32_t lineTop = CenteredTop(text.Top, text.Bottom, 2);
  EXPECT_EQ(scene.Pixel(*label, 2, lineTop), SkinColor(u"Labels.Colors.Line1"));
  EXPECT_EQ(scene.Pixel(*label, label->Width() - 2, lineTop), SkinColor(u"Labels.Colors.Line1"));
  EXPECT_EQ(scene.Pixel(*label, text.Right + scene.S(4), lineTop), SkinColor(u"Labels.Colors.Line1"));
  EXPECT_EQ(scene.Pixel(*label, text.Right + scene.S(4) - 1, lineTop), background);
  EXPECT_EQ(scene.Pixel(*label, text.Left - scene.S(4) - 1, lineTop), SkinColor(u"Labels.Colors.Line1"));
  EXPECT_EQ(scene.Pixel(*label, text.Left - scene.S(4), lineTop), background);
  EXPECT_EQ(scene.dib.Pixel(0, 0), kPaper);  // nothing outside the label
}

TEST_P(SkinnedLabels, TextColoursFollowTheStateAndAnExplicitFontColour) {
  TScene scene(Dpi(), 200, 30);
  auto* label = AddControl<TDRXLabel>(scene.host, Bounds(0, 0, scene.S(200), scene.S(30)));
  label->SetCaption(u"Ovix Setup");
  const COLORREF text = SkinColor(u"Labels.Colors.Text");
  const COLORREF disabled = SkinColor(u"Labels.Colors.TextDisabled");
  const COLORREF link = SkinColor(u"Labels.Colors.TextHyperlink");

  scene.Paint();
  EXPECT_GT(scene.Count(*label, label->TextRect(), text), 10);
  EXPECT_EQ(scene.Pixel(*label, label->Width() - 1, 0), kPaper);  // transparent

  label->SetEnabled(false);
  scene.Paint();
  EXPECT_GT(scene.Count(*label, label->TextRect(), disabled), 10);
  EXPECT_EQ(scene.Count(*label, label->TextRect(), text), 0);

  label->SetEnabled(true);
  label->SetURL(u"https://ovix.example/");
  EXPECT_TRUE(label->Font().Style & fsUnderline);
  scene.Paint();
  EXPECT_EQ(scene.Count(*label, label->TextRect(), link), 0);  // only under the mouse
  label->SetMouseInControl(true);
  scene.Paint();
  EXPECT_GT(scene.Count(*label, label->TextRect(), link), 10);

  TFont font = label->Font();
  font.Color = RGB(0xFF, 0, 0);
  label->SetFont(font);
  scene.Paint();
  EXPECT_GT(scene.Count(*label, label->TextRect(), RGB(0xFF, 0, 0)), 10);
  label->SetURL(u"");
  EXPECT_FALSE(label->Font().Style & fsUnderline);
}

TEST_P(SkinnedLabels, EffectsDrawInTheShadowColourAroundTheText) {
  TScene scene(Dpi(), 200, 40);
  auto* label = AddControl<TDRXLabel>(scene.host, Bounds(0, 0, scene.S(200), scene.S(40)));
  label->SetCaption(u"Ovix");
  label->SetAutoSize(true);
  const TSize plain{label->Width(), label->Height()};
  scene.Paint();
  const int plainInk = label->Width() * label->Height() - scene.Count(*label, label->ClientRect(), kPaper);

  label->Style().SetEffect(leGlow);
  label->Style().SetEffectSize(3);
  EXPECT_EQ(label->Width(), plain.cx + 6);  // the text grows by twice the size
  EXPECT_EQ(label->Height(), plain.cy + 6);
  scene.Paint();
  const int glowInk = label->Width() * label->Height() - scene.Count(*label, label->ClientRect(), kPaper);
  EXPECT_GT(glowInk, plainInk + 20);
  EXPECT_GT(scene.Count(*label, label->ClientRect(), SkinColor(u"Labels.Colors.Text")), 10);

  label->Style().SetEffectSize(0);  // no glow, not enlarged
  EXPECT_EQ(label->Width(), plain.cx);
}

TEST_P(SkinnedLabels, AValidationLabelShowsItsIconBeforeItsText) {
  TScene scene(Dpi(), 300, 40);
  auto* label = AddControl<TDRXValidationLabel>(scene.host, Bounds(scene.S(5), scene.S(5), 10, 10));
  label->SetCaption(u"Close the player first");
  scene.Paint();

  const TDRXResourceTexture& icons = label->Style().Icons();
  const TSize icon{icons.FrameWidth(), icons.FrameHeight()};
  EXPECT_EQ(icon.cx, scene.S(16));
  const TRect iconRect = label->IconRect();
  EXPECT_EQ(iconRect.Left, 0);
  EXPECT_EQ(iconRect.Width(), icon.cx);
  EXPECT_GE(label->Height(), icon.cy);
  EXPECT_EQ(label->TextRect().Left, icon.cx + scene.S(5));
  EXPECT_EQ(label->Width(), label->TextRect().Right);  // sized to its text
  // A point of the icon's body, beside its glyph: the triangle's, the circle's.
  const TPoint body{icon.cx / 4, icon.cy * 3 / 4};
  const COLORREF warning = FramePixel(icons, icon, 1, body);
  EXPECT_EQ(scene.Pixel(*label, iconRect.Left + body.X, iconRect.Top + body.Y), warning);
  EXPECT_GT(scene.Count(*label, iconRect, warning), icon.cx * icon.cy / 8);
  EXPECT_GT(scene.Count(*label, label->TextRect(), SkinColor(u"Labels.Colors.Text")), 10);

  label->SetIcon(2);
  scene.Paint();
  const COLORREF error = FramePixel(icons, icon, 2, body);
  EXPECT_NE(error, warning);
  EXPECT_EQ(scene.Pixel(*label, iconRect.Left + body.X, iconRect.Top + body.Y), error);
  EXPECT_GT(scene.Count(*label, iconRect, error), icon.cx * icon.cy / 8);
}

TEST_P(SkinnedLabels, AProgressBarShowsTrackAndBar) {
  TScene scene(Dpi(), 240, 40);
  auto* bar = AddControl<TDRXProgressBar>(scene.host, Bounds(scene.S(20), scene.S(5), scene.S(200), 50));
  EXPECT_EQ(bar->Height(), scene.S(18));  // whatever height is asked for
  bar->SetMax(0);
  bar->SetProgress(50);  // range 100: half full
  scene.Paint();

  const TDRXResourceTexture& texture = bar->Style().Texture();
  const TSize size{bar->Width(), bar->Height()};
  const COLORREF fill = FramePixel(texture, size, pfBar);
  const COLORREF track = FramePixel(texture, size, pfTrack);
  ASSERT_NE(fill, track);
  const int32_t middle = bar->Height() / 2;
  const int32_t end = scene.S(1) + (bar->Width() - 2 * scene.S(1)) / 2;
  EXPECT_EQ(scene.Pixel(*bar, scene.S(10), middle), fill);
  EXPECT_EQ(scene.Pixel(*bar, end - scene.S(6), middle), fill);
  EXPECT_EQ(scene.Pixel(*bar, end + 2, middle), track);
  EXPECT_EQ(scene.Pixel(*bar, bar->Width() - scene.S(10), middle), track);

  // Disabled: the disabled track and no bar; new values are ignored.
  bar->SetEnabled(false);
  bar->SetProgress(100);
  scene.Paint();
  EXPECT_EQ(scene.Pixel(*bar, scene.S(10), middle), FramePixel(texture, size, pfTrackDisabled));
  bar->SetEnabled(true);
  EXPECT_EQ(bar->Progress(), 50);
}

TEST_P(SkinnedLabels, TheWaitingBlockWrapsAroundTheEdge) {
  TScene scene(Dpi(), 240, 40);
  auto* bar = AddControl<TDRXProgressBar>(scene.host, Bounds(0, 0, scene.S(200), scene.S(18)));
  bar->SetWaitingMode(true);
  // Two ticks of 5 pixels (scaled) at 96 DPI reach position 10.
  while (bar->WaitingPosition() < scene.S(10)) bar->AdvanceWaiting();
  scene.Paint();
  const TDRXResourceTexture& texture = bar->Style().Texture();
  const COLORREF fill = FramePixel(texture, {bar->Width(), bar->Height()}, pfBar);
  const int32_t middle = bar->Height() / 2;
  const int32_t block = bar->Width() * 3 / 10;  // 60 pixels at 96 DPI
  const int32_t position = bar->WaitingPosition();
  EXPECT_EQ(scene.Pixel(*bar, scene.S(3), middle), fill);                                   // the block
  EXPECT_NE(scene.Pixel(*bar, position + block / 2 + scene.S(4), middle), fill);           // after it
  EXPECT_EQ(scene.Pixel(*bar, bar->Width() - scene.S(4), middle), fill);                   // its copy
  EXPECT_NE(scene.Pixel(*bar, position + bar->Width() - block / 2 - scene.S(4), middle), fill);
  EXPECT_NE(scene.Pixel(*bar, bar->Width() / 2, middle), fill);
}

INSTANTIATE_TEST_SUITE_P(DpiAndTheme, SkinnedLabels,
                         ::testing::Combine(::testing::Values(96, 144), ::testing::Bool()),
                         [](const auto& info) {
                           return std::to_string(std::get<0>(info.param)) +
                                  (std::get<1>(info.param) ? "Dark" : "Light");
                         });

// Delivers the thread's messages (the timer's among them) for a while.
void PumpMessages(DWORD milliseconds) {
  const DWORD start = GetTickCount();
  MSG message;
  while (GetTickCount() - start < milliseconds) {
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

TEST(ProgressBarTimer, WaitingModeMovesUntilProgressEndsIt) {
  THost host(96);
  host.SetBounds(0, 0, 300, 40);
  auto* bar = AddControl<TDRXProgressBar>(host, Bounds(0, 0, 200, 18));
  bar->SetWaitingMode(true);
  PumpMessages(250);
  const int32_t moved = bar->WaitingPosition();
  EXPECT_GE(moved, 15);  // several ticks of 30 ms
  EXPECT_EQ(moved % 5, 0);
  bar->SetProgress(1);
  EXPECT_FALSE(bar->WaitingMode());
  PumpMessages(100);
  EXPECT_EQ(bar->WaitingPosition(), moved);
}

TEST(LabelMouse, AURLLabelOpensItsTargetFromItsTextOnly) {
  THost host(96);
  host.SetBounds(0, 0, 300, 40);
  auto* label = AddControl<TDRXLabel>(host, Bounds(0, 0, 300, 30));
  label->SetAlignment(taCenter);
  label->SetCaption(u"ovix.example");
  label->SetURL(u"https://ovix.example/");
  std::vector<UString> opened;
  SetShellOpenHandler([&](const UString& target) { opened.push_back(target); });

  const TRect text = label->TextRect();
  EXPECT_FALSE(label->HitTest({2, 2}));
  ASSERT_TRUE(label->HitTest({text.Left + 1, text.Top + 1}));
  TPoint local;
  EXPECT_EQ(host.WindowlessControlAt({2, 2}, local), nullptr);  // the parent gets the click
  label->MouseDown(mbLeft, 0, text.Left + 1, text.Top + 1);
  label->MouseUp(mbLeft, 0, text.Left + 2, text.Top + 2);
  EXPECT_EQ(opened, std::vector<UString>{u"https://ovix.example/"});
  // Released outside: no click.
  label->MouseDown(mbLeft, 0, text.Left + 1, text.Top + 1);
  label->MouseUp(mbLeft, 0, 1, 1);
  EXPECT_EQ(opened.size(), 1u);
  // A click handler wins over the shell.
  int clicks = 0;
  label->OnClick = [&](TDRXCustomControl&) { ++clicks; };
  label->MouseDown(mbLeft, 0, text.Left + 1, text.Top + 1);
  label->MouseUp(mbLeft, 0, text.Left + 1, text.Top + 1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(opened.size(), 1u);
  SetShellOpenHandler({});
}

TEST(LabelLinks, TheSubControlIsEnabledWithItsLabel) {
  THost host(96);
  auto* label = new TDRXLabel(&host);
  auto* other = new TDRXLabel(&host);
  label->SetSubControl(other);
  label->SetEnabled(false);
  EXPECT_FALSE(other->Enabled());
  label->SetEnabled(true);
  EXPECT_TRUE(other->Enabled());
  delete other;  // the link goes with it
  EXPECT_EQ(label->SubControl(), nullptr);
  label->SetEnabled(false);
}

TEST(LabelOnAForm, TheMouseOverAURLLabelShowsTheLinkColourAndAClickOpensIt) {
  UseDefaultSkin(false);
  TDRXForm form;
  form.SetBorderStyle(bsSingle);
  form.SetClientSize(300, 80);
  TFont font;
  font.Name = u"DejaVu Sans";
  font.Height = -14;
  font.Style = fsBold;
  form.SetFont(font);
  auto* label = AddControl<TDRXLabel>(form, Bounds(20, 20, 260, 30));
  label->SetAlignment(taCenter);
  label->SetCaption(u"ovix.example");
  label->SetURL(u"https://ovix.example/");
  std::vector<UString> opened;
  SetShellOpenHandler([&](const UString& target) { opened.push_back(target); });
  form.Show();
  const TRect text = label->TextRect();
  const LPARAM onText = MAKELPARAM(label->Left() + text.Left + 3, label->Top() + text.Top + 3);
  const LPARAM beside = MAKELPARAM(label->Left() + 2, label->Top() + 2);
  const COLORREF link = SkinColor(u"Labels.Colors.TextHyperlink");
  const auto linkPixels = [&] {
    TDRXDIBCanvas canvas(300, 80);
    form.PaintTree(canvas.DC());
    int count = 0;
    for (int32_t y = label->Top() + text.Top; y < label->Top() + text.Bottom; ++y)
      for (int32_t x = label->Left() + text.Left; x < label->Left() + text.Right; ++x) count += canvas.Pixel(x, y) == link;
    return count;
  };

  SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, beside);  // beside the text: the form's, not the label's
  EXPECT_FALSE(label->MouseInControl());
  EXPECT_EQ(linkPixels(), 0);
  SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, onText);
  EXPECT_TRUE(label->MouseInControl());
  EXPECT_GT(linkPixels(), 10);
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, onText);
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, onText);
  EXPECT_EQ(opened, std::vector<UString>{u"https://ovix.example/"});
  SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, beside);
  EXPECT_FALSE(label->MouseInControl());
  SetShellOpenHandler({});
}

TEST(LabelOnAForm, ADpiChangeRescalesTheBarAndTheLabelsText) {
  UseDefaultSkin(false);
  TDRXForm form;
  form.SetBorderStyle(bsSingle);
  form.SetClientSize(300, 80);
  auto* label = AddControl<TDRXValidationLabel>(form, Bounds(10, 10, 10, 10));
  label->SetCaption(u"Close the player first");
  auto* bar = AddControl<TDRXProgressBar>(form, Bounds(10, 40, 200, 18));
  form.Show();
  const TSize before{label->Width(), label->Height()};
  RECT suggested{50, 60, 550, 260};
  SendMessageW(form.Handle(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(bar->Height(), 27);
  EXPECT_EQ(bar->Width(), 300);
  EXPECT_EQ(label->Style().Icons().FrameWidth(), 24);
  EXPECT_GT(label->Width(), before.cx * 5 / 4);  // the font, the icon and the gap grew
  EXPECT_GE(label->Height(), 24);
  EXPECT_EQ(label->TextRect().Left, 24 + MulDiv(kValidationIconGap, 144, 96));
}

}  // namespace
