#include "uInstaller.UI.Palette.h"

#include <gtest/gtest.h>

#include "DRX.UI.Application.h"

namespace {

TEST(WizardPalette, LightAndDarkColumns) {
  const TInstallerPalette light = InstallerPaletteFor(false);
  const TInstallerPalette dark = InstallerPaletteFor(true);
  EXPECT_EQ(light.ColorAccent, RGBColor(0xDE, 0x8C, 0x33));
  EXPECT_EQ(dark.ColorAccent, RGBColor(0xAC, 0x67, 0x1C));
  EXPECT_EQ(light.ColorStepBarBackground, clWhite);
  EXPECT_EQ(dark.ColorStepBarBackground, RGBColor(0x2A, 0x2A, 0x2A));
  EXPECT_EQ(light.ColorBackground, clWhite);
  EXPECT_EQ(dark.ColorBackground, RGBColor(0x26, 0x26, 0x26));
  EXPECT_EQ(light.ColorHeaderText, clBlack);
  EXPECT_EQ(dark.ColorHeaderText, clWhite);
  for (const TInstallerPalette& palette : {light, dark}) {
    EXPECT_EQ(palette.ColorBackgroundBottom, palette.ColorBackground);
    for (const TColor accentColour :
         {palette.ColorFooter, palette.ColorFooterLine, palette.ColorProgress, palette.ColorStepMark})
      EXPECT_EQ(accentColour, palette.ColorAccent);
    EXPECT_EQ(palette.ColorVersionText, RGBColor(0xF0, 0xF0, 0xF0));
  }
}

bool gDark = false;

TEST(WizardPalette, FollowsTheApplicationsDarkMode) {
  TDRXApplication::SetDarkModeReader([] { return gDark; });
  TDRXApplication::UpdateDarkMode();
  UpdatePalette();
  EXPECT_EQ(InstallerPalette(), InstallerPaletteFor(false));
  gDark = true;
  TDRXApplication::UpdateDarkMode();
  EXPECT_EQ(InstallerPalette(), InstallerPaletteFor(false)) << "recomputed only when asked";
  UpdatePalette();
  EXPECT_EQ(InstallerPalette(), InstallerPaletteFor(true));
  TDRXApplication::SetDarkModeReader(nullptr);
}

}  // namespace
