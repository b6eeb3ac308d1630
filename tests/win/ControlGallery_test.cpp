// The control gallery painted at 96 and 144 DPI in the light and the dark
// skin: pixels at known points of its controls against the skin's colours and
// textures; and no GDI or USER handles left after it was made and destroyed
// fifty times.
#include "ControlGallery.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Resources.Root.h"
#include "TestSupport.h"

namespace {

struct TLook {
  bool dark;
  int dpi;
};

std::string LookName(const ::testing::TestParamInfo<TLook>& info) {
  return std::string(info.param.dark ? "Dark" : "Light") + std::to_string(info.param.dpi);
}

class GalleryPixels : public ::testing::TestWithParam<TLook> {
 protected:
  void SetUp() override {
    UseTestTheme(GetParam().dark);
    gallery = std::make_unique<TControlGallery>();
    gallery->Show();
    gallery->ChangeDPI(GetParam().dpi);
    canvas = std::make_unique<TDRXDIBCanvas>(gallery->ClientWidth(), gallery->ClientHeight());
    gallery->PaintTree(canvas->DC());
  }
  void TearDown() override {
    gallery.reset();
    UseSystemTheme();
  }

  // Where a point of the sample's client area lies on the form.
  TPoint OnForm(UStringView name, TPoint local) const {
    TDRXCustomControl* sample = gallery->Sample(name);
    EXPECT_NE(sample, nullptr) << Utf16ToUtf8(name);
    const TPoint origin = sample->OriginInParentWindow();
    return {origin.X + local.X, origin.Y + local.Y};
  }
  COLORREF FormPixel(TPoint point) const { return canvas->Pixel(point.X, point.Y); }

  // The texture's frame drawn alone over the form's colour, read at the point.
  COLORREF TexturePixel(const TDRXResourceTexture& texture, TSize size, int frame, TPoint point) const {
    TDRXDIBCanvas alone(size.cx, size.cy);
    TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(gallery->Color()));
    const RECT all{0, 0, size.cx, size.cy};
    FillRect(alone.DC(), &all, brush.Get());
    texture.Draw(alone.DC(), Bounds(0, 0, size.cx, size.cy), frame);
    return alone.Pixel(point.X, point.Y);
  }

  std::unique_ptr<TControlGallery> gallery;
  std::unique_ptr<TDRXDIBCanvas> canvas;
};

TEST_P(GalleryPixels, TheFormShowsTheSkinsBackground) {
  EXPECT_EQ(gallery->Color(), AlphaColorToColor(GallerySkinColor(u"Common.Colors.Background")));
  const TDRXScaleFactor scale = gallery->ScaleFactor();
  EXPECT_EQ(FormPixel({scale.Apply(715), scale.Apply(345)}), gallery->Color());
  EXPECT_EQ(gallery->ClientWidth(), scale.Apply(720));
}

TEST_P(GalleryPixels, ACheckedBoxIsFilledWithTheAccentAndADisabledOneIsNot) {
  auto* checked = gallery->Sample<TDRXCheckBox>(u"CheckBoxes.Checked");
  const TRect box = static_cast<const TDRXCheckBoxViewInfo&>(checked->ViewInfo()).Layout().Box;
  const int32_t size = GetParam().dpi / 6;  // 16 pixels at 96 DPI
  EXPECT_EQ(box.Width(), size);
  const TPoint inside{box.Left + size / 5, box.Top + size / 4};
  const COLORREF accent = AlphaColorToColor(GallerySkinColor(u"Common.Colors.Accent"));
  EXPECT_EQ(FormPixel(OnForm(u"CheckBoxes.Checked", inside)), accent);
  EXPECT_EQ(FormPixel(OnForm(u"CheckBoxes.Unchecked", inside)),
            TexturePixel(checked->Style().Texture(), {size, size}, 0, {size / 5, size / 4}));
  const COLORREF disabled = FormPixel(OnForm(u"CheckBoxes.CheckedDisabled", inside));
  EXPECT_NE(disabled, accent);
  EXPECT_EQ(disabled, TexturePixel(checked->Style().Texture(), {size, size}, 8, {size / 5, size / 4}));
}

TEST_P(GalleryPixels, PushButtonsShowTheFrameOfTheirState) {
  const struct {
    UStringView name;
    int frame;
  } samples[] = {{u"Buttons.Normal", 0}, {u"Buttons.Hover", 1}, {u"Buttons.Pressed", 2},
                 {u"Buttons.Disabled", 3}, {u"Buttons.Default", 4}};
  for (const auto& sample : samples) {
    auto* button = gallery->Sample<TDRXButton>(sample.name);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->ViewInfo().FrameIndex(), sample.frame) << Utf16ToUtf8(sample.name);
    const TSize size{button->Width(), button->Height()};
    // The left border half-way down and the face near the left, clear of the caption.
    for (const TPoint point : {TPoint{0, size.cy / 2}, TPoint{size.cx / 20 + 2, size.cy / 2}})
      EXPECT_EQ(FormPixel(OnForm(sample.name, point)),
                TexturePixel(button->Style().Texture(), size, sample.frame, point))
          << Utf16ToUtf8(sample.name) << " at " << point.X;
  }
}

TEST_P(GalleryPixels, CaptionsAreDrawnInTheStatesTextColourAndFit) {
  auto* button = gallery->Sample<TDRXButton>(u"Buttons.Normal");
  const COLORREF text = button->TextColor(bvsNormal);
  EXPECT_EQ(text, AlphaColorToColor(GallerySkinColor(u"Buttons.Colors.Text")));
  // Some pixel of the caption's middle row has the text colour exactly.
  const TRect caption = static_cast<const TDRXButtonViewInfo&>(button->ViewInfo()).Layout().Caption;
  bool found = false;
  for (int32_t y = caption.Top; y < caption.Bottom && !found; ++y)
    for (int32_t x = caption.Left; x < caption.Right && !found; ++x)
      found = FormPixel(OnForm(u"Buttons.Normal", {x, y})) == text;
  EXPECT_TRUE(found);
  // A box sized to its caption holds the box, the gap and the caption at every DPI.
  auto* box = gallery->Sample<TDRXCheckBox>(u"CheckBoxes.Unchecked");
  const auto& layout = static_cast<const TDRXCheckBoxViewInfo&>(box->ViewInfo()).Layout();
  EXPECT_LE(layout.Caption.Right, box->Width());
  EXPECT_GE(box->Height(), layout.Box.Height());
}

INSTANTIATE_TEST_SUITE_P(Looks, GalleryPixels,
                         ::testing::Values(TLook{false, 96}, TLook{false, 144}, TLook{true, 96}, TLook{true, 144}),
                         LookName);

// The live GDI objects of the process: GetGuiResources where the system
// counts them; where it is a stub that answers 0 (Wine), the fill level of the
// handle table: fresh objects take the free entries first (last freed, first
// taken), so the highest index that 4096 new brushes get grows with every
// object that is still alive.
DWORD LiveGdiObjects() {
  const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (counted) return counted;
  std::vector<HBRUSH> brushes(4096);
  DWORD highest = 0;
  for (HBRUSH& brush : brushes) {
    brush = CreateSolidBrush(RGB(1, 2, 3));
    highest = std::max<DWORD>(highest, LOWORD(reinterpret_cast<uintptr_t>(brush)));
  }
  for (HBRUSH brush : brushes) DeleteObject(brush);
  return highest;
}

BOOL CALLBACK CountWindow(HWND window, LPARAM count) {
  ++*reinterpret_cast<int*>(count);
  EnumChildWindows(window, &CountWindow, count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(GalleryLeaks, FiftyGalleriesLeaveNoHandles) {
  // The first runs paint at both DPIs: the fonts of both sizes exist (and stay cached) before counting.
  auto paintOnce = [](int dpi) {
    TControlGallery gallery;
    gallery.Show();
    gallery.ChangeDPI(dpi);
    TDRXDIBCanvas canvas(gallery.ClientWidth(), gallery.ClientHeight());
    gallery.PaintTree(canvas.DC());
    RedrawWindow(gallery.Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  };
  paintOnce(96);  // fonts and skins are made once per process
  paintOnce(144);
  const DWORD gdi = LiveGdiObjects();
  const int windows = ThreadWindows();
  for (int i = 0; i < 50; ++i) paintOnce(144);
  // A leak of one object per run shows as 50; the system's own caches move the count by a few.
  EXPECT_LE(LiveGdiObjects(), gdi + 5);
  EXPECT_EQ(ThreadWindows(), windows);
}

TEST(GalleryLeaks, TheProbeSeesALeak) {
  const DWORD before = LiveGdiObjects();
  std::vector<TDRXGdiObject<HBRUSH>> kept;
  for (int i = 0; i < 10; ++i) kept.emplace_back(CreateSolidBrush(RGB(4, 5, 6)));
  EXPECT_GE(LiveGdiObjects(), before + 10);
}

}  // namespace
