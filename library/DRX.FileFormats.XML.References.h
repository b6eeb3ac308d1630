#pragma once
// References in XML texts and values. A reference is "&", a run (possibly
// empty) of ASCII letters, digits and "#", and ";". Reading also takes a
// backslash before & < > " ' as an escape of that character.

#include <cstddef>

#include "DRX.Strings.h"

// The length of the reference that begins at text[at], or 0 when none does.
size_t XMLReferenceLength(UStringView text, size_t at);

// Replaces escapes and references: amp, lt, gt, quot and apos name their
// characters; "#" and a decimal or (after x, 0x or $) hexadecimal number name the
// character of that code cut to 16 bits (0 when it does not parse); any other
// name stands for itself. An & that begins no reference stays.
UString DecodeXMLReferences(UStringView text);

// Writes & < > " ' as named references, except an & that already begins a
// reference. A backslash that would come to stand before an & is written as a
// numeric reference, so that reading it back cannot take it for an escape.
UString EncodeXMLReferences(UStringView text);
