#pragma once
// The library's colours. Skins use 32-bit ARGB values (alpha in the top byte)
// and their identifiers in the stream form: the 147 extended colour keywords of CSS
// Color Module Level 3 written "cla" + keyword with only its first letter
// upper-case (claWhitesmoke), all opaque, "claNull" for transparent black, and
// "x" + 8 hexadecimal digits (xFF0078D7) for any other value.

#include <cstdint>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

using TDRXAlphaColor = uint32_t;

constexpr TDRXAlphaColor claNull = 0;
constexpr TDRXAlphaColor claBlack = 0xFF000000;
constexpr TDRXAlphaColor claWhite = 0xFFFFFFFF;

constexpr uint8_t AlphaOf(TDRXAlphaColor color) { return static_cast<uint8_t>(color >> 24); }
// The colour without its alpha, as GDI takes it (0x00BBGGRR).
constexpr TColor AlphaColorToColor(TDRXAlphaColor color) {
  return RGBColor(static_cast<uint8_t>(color >> 16), static_cast<uint8_t>(color >> 8), static_cast<uint8_t>(color));
}

// A named colour (compared ignoring ASCII case) or the "x" form. An identifier
// of more than three characters that is neither is tried again with an "a"
// inserted after its first two characters, so clRed reads as claRed.
bool IdentToAlphaColor(UStringView ident, TDRXAlphaColor& color);
// The first name of the colour in the table, else the "x" form.
UString AlphaColorToIdent(TDRXAlphaColor color);
// The number of names in the table (the keywords and claNull).
int NamedColorCount();

// The alpha channel multiplied by opacity / 255, rounded.
TDRXAlphaColor ApplyOpacity(TDRXAlphaColor color, uint8_t opacity);

// Opaque colours of marked-up texts (TColor, 0x00BBGGRR), from the same table.

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

// A GDI colour (0x00BBGGRR) as a skin colour with that alpha.
constexpr TDRXAlphaColor ColorToAlphaColor(TColor color, uint8_t alpha = 255) {
  return static_cast<TDRXAlphaColor>(alpha) << 24 | static_cast<TDRXAlphaColor>(RedOf(color)) << 16 |
         static_cast<TDRXAlphaColor>(GreenOf(color)) << 8 | BlueOf(color);
}
