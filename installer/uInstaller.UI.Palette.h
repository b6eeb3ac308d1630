#pragma once
// The wizard's colours. They follow the toolkit's application-wide dark-mode
// and high-contrast flags: computed when first asked for and again by
// UpdatePalette, which the form calls when the toolkit reports a change.

#include "DRX.Graphics.Types.h"

struct TInstallerPalette {
  TColor ColorAccent = 0;             // the line under the header
  TColor ColorStepBarBackground = 0;
  TColor ColorBackground = 0;         // form background; page gradient top; full-screen pages
  TColor ColorBackgroundBottom = 0;   // page gradient bottom
  TColor ColorFooter = 0;             // footer fill and the upper line at its top edge
  TColor ColorFooterLine = 0;         // the lower line at the footer's top edge
  TColor ColorVersionText = 0;        // the version label in the footer
  TColor ColorHeaderText = 0;         // header title and description
  TColor ColorProgress = 0;           // the step bar's solid band
  TColor ColorStepMark = 0;           // the current step's dashes
  bool operator==(const TInstallerPalette&) const = default;
};

// The light or the dark column.
TInstallerPalette InstallerPaletteFor(bool dark);
// The system colours of high contrast: window colour everywhere, lines and
// text in window text, the progress in the highlight colour.
TInstallerPalette InstallerContrastPalette();

// The palette of the current theme.
const TInstallerPalette& InstallerPalette();
// Recomputes it from the toolkit's flags (high contrast wins over dark mode).
void UpdatePalette();
