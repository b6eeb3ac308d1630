#pragma once
// Colours of the skins: 32-bit ARGB values (alpha in the top byte) and their
// identifiers in the stream form: the 147 extended colour keywords of CSS
// Color Module Level 3 written "cla" + keyword with only its first letter
// upper-case (claWhitesmoke), all opaque, "claNull" for transparent black, and
// "x" + 8 hexadecimal digits (xFF0078D7) for any other value.

#include <cstdint>

#include "DRX.Strings.h"

using TDRXAlphaColor = uint32_t;

constexpr TDRXAlphaColor claNull = 0;
constexpr TDRXAlphaColor claBlack = 0xFF000000;
constexpr TDRXAlphaColor claWhite = 0xFFFFFFFF;

constexpr uint8_t AlphaOf(TDRXAlphaColor color) { return static_cast<uint8_t>(color >> 24); }

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
