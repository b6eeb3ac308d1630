#pragma once
// Unicode bidirectional classes, from the table that scripts/make-bidi-table
// generates out of Unicode's DerivedBidiClass.txt.

#include <cstdint>

#include "DRX.Strings.h"

enum TDRXBidiClass : uint8_t {
  bcL, bcR, bcAL, bcEN, bcES, bcET, bcAN, bcCS, bcNSM, bcBN, bcB, bcS, bcWS, bcON,
  bcLRE, bcLRO, bcRLE, bcRLO, bcPDF, bcLRI, bcRLI, bcFSI, bcPDI
};

// The direction a text block takes from its first character.
enum TDRXTextDirection : uint8_t { tdNeutral, tdLeftToRight, tdRightToLeft };

TDRXBidiClass GetBidiClass(char32_t codePoint);

// L, LRE and LRO read left to right; R, AL, RLE and RLO right to left; the
// other classes are neutral.
TDRXTextDirection DirectionOfBidiClass(TDRXBidiClass bidiClass);

// The direction of the text's first code point (a surrogate pair counts as one);
// neutral for empty text.
TDRXTextDirection DirectionOfText(UStringView text);

// Whether the text holds characters that the platform must place itself:
// right-to-left letters and numbers (R, AL, AN), which it reorders and shapes,
// and non-spacing marks (NSM), which it puts on their base character.
bool TextNeedsShaping(UStringView text);
