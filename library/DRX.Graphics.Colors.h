#pragma once
// The library's colour parsing and its hue-lightness-saturation conversion.

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

// A colour keyword of CSS ("Red"), also with the library's prefixes "cl" and
// "cla" ("clRed", "claRed"); ASCII letters in any case.
bool IdentToColor(UStringView name, TColor& color);

// A keyword as IdentToColor reads it, or the library's number notation: "$"
// and up to eight hexadecimal digits giving the colour value (0x00BBGGRR).
bool TryStringToColor(UStringView text, TColor& color);

// The lenient hexadecimal form of marked-up texts: lower-cased, everything but
// 0-9 and a-f removed, a "0" put in front of an odd count, "0" appended up to
// six digits; the first three pairs are red, green and blue ("#FF8000" is orange).
TColor HexDigitsToColor(UStringView text);

// Hue, lightness and saturation, each on the scale 0 to 255.
struct THLSColor {
  int Hue = 0;
  int Lightness = 0;
  int Saturation = 0;
};
THLSColor ColorToHLS(TColor color);
TColor HLSToColor(const THLSColor& hls);
