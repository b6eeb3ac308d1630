#include "uInstaller.UI.Palette.h"

#include <optional>

#include "DRX.UI.Application.h"

namespace {

std::optional<TInstallerPalette>& CurrentPalette() {
  static std::optional<TInstallerPalette> palette;
  return palette;
}

}  // namespace

TInstallerPalette InstallerPaletteFor(bool dark) {
  TInstallerPalette palette;
  palette.ColorAccent = dark ? RGBColor(0xAC, 0x67, 0x1C) : RGBColor(0xDE, 0x8C, 0x33);
  palette.ColorStepBarBackground = dark ? RGBColor(0x2A, 0x2A, 0x2A) : clWhite;
  palette.ColorBackground = dark ? RGBColor(0x26, 0x26, 0x26) : clWhite;
  palette.ColorBackgroundBottom = palette.ColorBackground;
  palette.ColorHeaderText = dark ? clWhite : clBlack;
  palette.ColorProgress = palette.ColorAccent;
  palette.ColorStepMark = palette.ColorAccent;
  palette.ColorFooter = palette.ColorAccent;
  palette.ColorFooterLine = palette.ColorAccent;
  palette.ColorVersionText = RGBColor(0xF0, 0xF0, 0xF0);
  return palette;
}

TInstallerPalette InstallerContrastPalette() {
  const TColor window = TDRXApplication::SystemColor(scWindow);
  const TColor text = TDRXApplication::SystemColor(scWindowText);
  TInstallerPalette palette;
  palette.ColorAccent = text;
  palette.ColorStepBarBackground = window;
  palette.ColorBackground = window;
  palette.ColorBackgroundBottom = window;
  palette.ColorFooter = window;
  palette.ColorFooterLine = text;
  palette.ColorVersionText = text;
  palette.ColorHeaderText = text;
  palette.ColorProgress = TDRXApplication::SystemColor(scHighlight);
  palette.ColorStepMark = palette.ColorProgress;
  return palette;
}

const TInstallerPalette& InstallerPalette() {
  if (!CurrentPalette()) UpdatePalette();
  return *CurrentPalette();
}

void UpdatePalette() {
  CurrentPalette() =
      TDRXApplication::HighContrast() ? InstallerContrastPalette() : InstallerPaletteFor(TDRXApplication::DarkMode());
}
