#pragma once
// The setup program's own control: the read-only rich text viewer of the
// licence and summary pages (TDRXRichViewer, Windows), and the rules it
// follows, which are portable: the zoom ratio of a percentage and what a
// clicked link opens.

#include <cstdint>

#include "DRX.Strings.h"

// The numerator over 64 of the rich edit's zoom for a zoom in percent:
// p × 0.64 above 100 %, else p × 0.63 + 1, rounded to nearest with halves to
// even (100 % → 64, 125 % → 80, 150 % → 96); 0 when it falls outside 2 … 4095,
// which leaves the zoom as it was.
int32_t RichViewerZoomNumerator(int32_t percent);

// A link's character range is read only when it holds a character (cpMax > cpMin).
constexpr bool IsLinkRangeReadable(int32_t cpMin, int32_t cpMax) {
  return static_cast<int64_t>(cpMax) - cpMin + 1 > 1;
}

// What the shell opens for a link's text: the text itself when it holds "//"
// or names an existing folder, else the text as a web address ("http://" in
// front). Empty text opens nothing (empty result).
UString LinkShellTarget(const UString& text, bool isExistingFolder);
