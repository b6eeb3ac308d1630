#pragma once
// UTF-16 text, the form every string takes in memory, and the small text
// helpers that the rest of the library shares.

#include <cstdint>
#include <string>
#include <string_view>

using UString = std::u16string;
using UStringView = std::u16string_view;

// UTF-8 <-> UTF-16. The lenient forms replace malformed input with U+FFFD;
// TryUtf8ToUtf16 refuses it (used where a failed decode means "try ANSI").
UString Utf8ToUtf16(std::string_view text);
bool TryUtf8ToUtf16(std::string_view text, UString& result);
std::string Utf16ToUtf8(UStringView text);
// Generalised UTF-8 also carries surrogates as three-byte sequences: lone ones
// survive a round trip, and pairs stored that way by older writers read back.
// Pairs are written as four-byte sequences.
bool TryGeneralizedUtf8ToUtf16(std::string_view text, UString& result);
std::string Utf16ToGeneralizedUtf8(UStringView text);

// Trim, TrimLeft, TrimRight: remove every character below 33 (space and controls).
UString Trim(UStringView text);
UString TrimLeft(UStringView text);
UString TrimRight(UStringView text);

UString IntToStr(int64_t value);
UString IntToHex(uint64_t value, int digits);

// Decimal only, optional sign, no surrounding text; false on overflow.
bool TryStrToInt(UStringView text, int32_t& value);
int32_t StrToIntDef(UStringView text, int32_t defaultValue);

bool StartsWith(UStringView text, UStringView prefix);
bool EndsWith(UStringView text, UStringView suffix);
// Replaces every occurrence, left to right, without rescanning inserted text.
UString StringReplaceAll(UStringView text, UStringView from, UStringView to);
// ASCII-only case folding, for names that must not depend on the locale.
UString UpperCaseAscii(UStringView text);

#ifdef _WIN32
// The W APIs take the same UTF-16 units; no conversion is needed.
inline const wchar_t* W(const UString& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }
inline wchar_t* W(UString& text) { return reinterpret_cast<wchar_t*>(text.data()); }
inline UString FromW(const wchar_t* text) { return text ? UString(reinterpret_cast<const char16_t*>(text)) : UString(); }
inline UString FromW(const wchar_t* text, size_t length) { return UString(reinterpret_cast<const char16_t*>(text), length); }
#endif
