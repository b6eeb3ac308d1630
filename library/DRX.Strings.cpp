#include "DRX.Strings.h"

#include <limits>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[i]; returns false when it is malformed.
// Encoded surrogates count as malformed unless allowed.
bool DecodeUtf8Sequence(std::string_view text, size_t& i, char32_t& code, bool allowSurrogates) {
  const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  int extra;
  char32_t minimum;
  if (lead < 0x80) { code = lead; ++i; return true; }
  if ((lead & 0xE0) == 0xC0) { extra = 1; code = lead & 0x1F; minimum = 0x80; }
  else if ((lead & 0xF0) == 0xE0) { extra = 2; code = lead & 0x0F; minimum = 0x800; }
  else if ((lead & 0xF8) == 0xF0) { extra = 3; code = lead & 0x07; minimum = 0x10000; }
  else { ++i; return false; }
  for (int k = 1; k <= extra; ++k) {
    if (i + k >= text.size() || (byte(i + k) & 0xC0) != 0x80) { ++i; return false; }
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  i += extra + 1;
  return code >= minimum && code <= 0x10FFFF && (allowSurrogates || !(code >= 0xD800 && code <= 0xDFFF));
}

void AppendUtf16(UString& out, char32_t code) {
  if (code < 0x10000) {
    out.push_back(static_cast<char16_t>(code));
  } else {
    code -= 0x10000;
    out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
    out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
  }
}

bool DecodeUtf8(std::string_view text, UString& out, bool strict, bool allowSurrogates = false) {
  out.clear();
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    char32_t code;
    if (DecodeUtf8Sequence(text, i, code, allowSurrogates)) {
      AppendUtf16(out, code);
    } else if (strict) {
      return false;
    } else {
      out.push_back(kReplacement);
    }
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// Pairs become four-byte sequences; a lone surrogate becomes U+FFFD or, when
// kept, its own three-byte sequence.
std::string EncodeUtf8(UStringView text, bool keepLoneSurrogates) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t code = text[i];
    if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (code >= 0xD800 && code <= 0xDFFF && !keepLoneSurrogates) {
      code = kReplacement;
    }
    AppendUtf8(out, code);
  }
  return out;
}

bool IsTrimmed(char16_t c) { return c < 33; }

}  // namespace

UString Utf8ToUtf16(std::string_view text) {
  UString out;
  DecodeUtf8(text, out, false);
  return out;
}

bool TryUtf8ToUtf16(std::string_view text, UString& result) { return DecodeUtf8(text, result, true); }

std::string Utf16ToUtf8(UStringView text) { return EncodeUtf8(text, false); }

bool TryGeneralizedUtf8ToUtf16(std::string_view text, UString& result) { return DecodeUtf8(text, result, true, true); }

std::string Utf16ToGeneralizedUtf8(UStringView text) { return EncodeUtf8(text, true); }

UString TrimLeft(UStringView text) {
  size_t start = 0;
  while (start < text.size() && IsTrimmed(text[start])) ++start;
  return UString(text.substr(start));
}

UString TrimRight(UStringView text) {
  size_t end = text.size();
  while (end > 0 && IsTrimmed(text[end - 1])) --end;
  return UString(text.substr(0, end));
}

UString Trim(UStringView text) { return TrimLeft(TrimRight(text)); }

UString IntToStr(int64_t value) {
  const std::string digits = std::to_string(value);
  return UString(digits.begin(), digits.end());
}

UString IntToHex(uint64_t value, int digits) {
  static const char16_t kDigits[] = u"0123456789ABCDEF";
  UString out;
  do {
    out.insert(out.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), u'0');
  return out;
}

bool TryStrToInt(UStringView text, int32_t& value) {
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  if (i == text.size()) return false;
  int64_t result = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < u'0' || text[i] > u'9') return false;
    result = result * 10 + (text[i] - u'0');
    if (result > int64_t(std::numeric_limits<int32_t>::max()) + 1) return false;
  }
  if (negative) result = -result;
  if (result > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(result);
  return true;
}

int32_t StrToIntDef(UStringView text, int32_t defaultValue) {
  int32_t value;
  return TryStrToInt(text, value) ? value : defaultValue;
}

bool StartsWith(UStringView text, UStringView prefix) {
  return text.size() >= prefix.size() && text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(UStringView text, UStringView suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

UString StringReplaceAll(UStringView text, UStringView from, UStringView to) {
  if (from.empty()) return UString(text);
  UString out;
  size_t start = 0;
  for (size_t found; (found = text.find(from, start)) != UStringView::npos; start = found + from.size()) {
    out.append(text.substr(start, found - start));
    out.append(to);
  }
  out.append(text.substr(start));
  return out;
}

UString UpperCaseAscii(UStringView text) {
  UString out(text);
  for (auto& c : out)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return out;
}
