#pragma once
// Text encodings of files: byte-order-mark detection, decoding with the ANSI
// fallback, and encoding with the matching mark. One place for the rules that
// string lists, INI documents and language files share.

#include <cstdint>
#include <string>
#include <string_view>

#include "DRX.Strings.h"

struct TDRXEncoding {
  enum TKind : uint8_t { ekAnsi, ekUtf8, ekUtf16LE, ekUtf16BE };
  TKind Kind = ekAnsi;
  uint32_t CodePage = 0;  // ekAnsi only; 0 means the system's ANSI code page

  static TDRXEncoding Ansi(uint32_t codePage = 0) { return {ekAnsi, codePage}; }
  static TDRXEncoding Utf8() { return {ekUtf8, 0}; }
  static TDRXEncoding Utf16LE() { return {ekUtf16LE, 0}; }
  static TDRXEncoding Utf16BE() { return {ekUtf16BE, 0}; }
  bool operator==(const TDRXEncoding&) const = default;
};

// The process-wide 8-bit code page of the user interface's language (0, the
// default, means the system's ANSI code page). Texts stored without a declared
// encoding are read in it: TDRXEncoding::Ansi(GetDRXCodePage()).
uint32_t GetDRXCodePage();
void SetDRXCodePage(uint32_t codePage);

// The code page behind an ANSI encoding (its own, or the system's for 0).
uint32_t EffectiveCodePage(const TDRXEncoding& encoding);

// The byte-order mark of the encoding; empty for ANSI.
std::string EncodingPreamble(const TDRXEncoding& encoding);

// Recognises EF BB BF, FF FE and FE FF (in that order), only when at least 3
// bytes are given. Returns the mark's length, 0 when there is none.
size_t DetectByteOrderMark(std::string_view bytes, TDRXEncoding& encoding);

// Strict decoding: false when the bytes are not valid in the encoding.
// UTF-16 never fails; an odd trailing byte is ignored.
bool TryDecodeText(const TDRXEncoding& encoding, std::string_view bytes, UString& text);

// Decoding that never fails: invalid bytes are replaced.
UString DecodeText(const TDRXEncoding& encoding, std::string_view bytes);

std::string EncodeText(const TDRXEncoding& encoding, UStringView text);

// Reads a whole text: a byte-order mark decides the encoding, else `fallback`;
// when the bytes do not decode in it they are read again as ANSI.
// `detected` receives the encoding found (the mark's, or `fallback`). Two bytes
// that are exactly a UTF-16 mark are an empty text in that encoding.
UString DecodeTextDetectingEncoding(std::string_view bytes, const TDRXEncoding& fallback, TDRXEncoding& detected);
