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

TEST(WizardPalette, HighContrastTakesTheSystemColoursOverDarkMode) {
  TDRXApplication::SetDarkModeReader([] { return true; });
  TDRXApplication::UpdateDarkMode();
  TDRXApplication::SetHighContrastReader([] {
    TDRXContrastScheme scheme;
    scheme.On = true;
    scheme.Colors[scWindow] = RGBColor(1, 1, 1);
    scheme.Colors[scWindowText] = RGBColor(2, 2, 2);
    scheme.Colors[scHighlight] = RGBColor(3, 3, 3);
    return scheme;
  });
  TDRXApplication::UpdateHighContrast();
  UpdatePalette();
  const TInstallerPalette& palette = InstallerPalette();
  for (const TColor background : {palette.ColorBackground, palette.ColorBackgroundBottom, palette.ColorFooter,
                                  palette.ColorStepBarBackground})
    EXPECT_EQ(background, RGBColor(1, 1, 1));
  for (const TColor line : {palette.ColorAccent, palette.ColorFooterLine, palette.ColorHeaderText, palette.ColorVersionText})
    EXPECT_EQ(line, RGBColor(2, 2, 2));
  EXPECT_EQ(palette.ColorProgress, RGBColor(3, 3, 3));
  EXPECT_EQ(palette.ColorStepMark, RGBColor(3, 3, 3));
  TDRXApplication::SetHighContrastReader(nullptr);
  TDRXApplication::UpdateHighContrast();
  TDRXApplication::SetDarkModeReader(nullptr);
  TDRXApplication::UpdateDarkMode();
  UpdatePalette();
  EXPECT_EQ(InstallerPalette(), InstallerPaletteFor(false));
}

}  // namespace
