// Textures of the default skins drawn into a 32-bit DIB section at 96 and 144
// DPI, light and dark: the frames the controls pick show the skin's colours
// where the controls expect them.
#include "DRX.UI.Resources.Texture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Values.h"
#include "TestSkins.h"

namespace {

TDRXResourceTexture& Texture(UStringView id, int dpi) {
  auto* texture = RootResourceCollection()->Find<TDRXResourceTexture>(id);
  EXPECT_NE(texture, nullptr) << Utf16ToUtf8(id);
  texture->SetTargetDPI(dpi);
  return *texture;
}

class TCanvas {
 public:
  TCanvas(int32_t width, int32_t height, TDRXAlphaColor background)
      : section_(width, height), selection_(dc_.Get(), section_.Handle()) {
    for (int32_t i = 0; i < width * height; ++i) std::memcpy(section_.Bits() + 4 * i, &background, 4);
  }
  HDC DC() const { return dc_.Get(); }
  TDRXAlphaColor Pixel(int32_t x, int32_t y) const {
    GdiFlush();
    TDRXAlphaColor pixel;
    std::memcpy(&pixel, section_.Bits() + (size_t(y) * section_.Width() + x) * 4, 4);
    return pixel | 0xFF000000;
  }

 private:
  TDRXMemoryDC dc_;
  TDRXDIBSection section_;
  TDRXSelection selection_;
};

class SkinTextures : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { UseDefaultSkin(GetParam()); }
  void TearDown() override {
    TDRXApplication::SetDarkModeReader(nullptr);
    TDRXApplication::UpdateDarkMode();
  }
};

TEST_P(SkinTextures, CheckedBoxesAreFilledWithTheAccent) {
  const TDRXAlphaColor accent = RootSkinColor(u"Common.Colors.Accent");
  const TDRXAlphaColor page = RootSkinColor(u"Common.Colors.Background");
  for (const int dpi : {96, 144}) {
    TDRXResourceTexture& box = Texture(u"Buttons.Textures.CheckBox", dpi);
    const int32_t size = dpi / 6;  // 16 pixels at 96 DPI
    EXPECT_EQ(box.FrameWidth(), size);
    EXPECT_EQ(box.FrameHeight(), size);
    TCanvas canvas(3 * size, size, page);
    box.Draw(canvas.DC(), Bounds(0, 0, size, size), 0);         // unchecked
    box.Draw(canvas.DC(), Bounds(size, 0, size, size), 5);      // checked
    box.Draw(canvas.DC(), Bounds(2 * size, 0, size, size), 8);  // checked, disabled
    EXPECT_NE(canvas.Pixel(size / 5, size / 4), accent) << dpi;
    EXPECT_EQ(canvas.Pixel(size + size / 5, size / 4), accent) << dpi;
    EXPECT_NE(canvas.Pixel(2 * size + size / 5, size / 4), accent) << dpi;
  }
}

TEST_P(SkinTextures, AButtonStretchesItsFaceAndShowsFocusInTheAccent) {
  const TDRXAlphaColor accent = RootSkinColor(u"Common.Colors.Accent");
  for (const int dpi : {96, 144}) {
    TDRXResourceTexture& button = Texture(u"Buttons.Textures.Button", dpi);
    const int32_t width = 120 * dpi / 96, height = 25 * dpi / 96;
    TCanvas canvas(width, 2 * height, 0xFF00FF00);
    button.Draw(canvas.DC(), Bounds(0, 0, width, height), 0);
    button.Draw(canvas.DC(), Bounds(0, height, width, height), 4);
    const TDRXAlphaColor face = canvas.Pixel(width / 2, height / 2);
    EXPECT_NE(face, 0xFF00FF00u) << dpi;
    EXPECT_EQ(canvas.Pixel(width / 4, height / 2), face) << dpi;   // one flat face
    EXPECT_NE(canvas.Pixel(0, height / 2), face) << dpi;           // the border
    EXPECT_EQ(canvas.Pixel(0, height + height / 2), accent) << dpi;
    EXPECT_EQ(canvas.Pixel(width - 1, height + height / 2), accent) << dpi;
    EXPECT_EQ(canvas.Pixel(width / 2, height + height / 2), face) << dpi;
  }
}

TEST_P(SkinTextures, DrawnWithBordersTheMissingSideFallsOutside) {
  TDRXResourceTexture& edit = Texture(u"EditBox.Textures.Border", 96);
  TCanvas canvas(60, 40, 0xFF00FF00);
  edit.DrawWithBorders(canvas.DC(), Rect(0, 0, 60, 20), 0, sbLeft | sbTop | sbBottom);
  edit.Draw(canvas.DC(), Rect(0, 20, 60, 40), 0);
  const TDRXAlphaColor border = canvas.Pixel(0, 10), content = RootSkinColor(u"EditBox.Colors.Content");
  EXPECT_EQ(canvas.Pixel(30, 10), content);
  EXPECT_EQ(canvas.Pixel(59, 10), content);  // no right border
  EXPECT_EQ(canvas.Pixel(59, 30), border);   // which a plain draw has
}

INSTANTIATE_TEST_SUITE_P(, SkinTextures, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "dark" : "light"; });

}  // namespace
