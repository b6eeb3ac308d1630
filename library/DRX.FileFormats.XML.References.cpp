#include "DRX.FileFormats.XML.References.h"

#include <array>
#include <cstdint>

namespace {

struct TNamedReference {
  char16_t Character;
  UStringView Reference;
  UStringView Name() const { return Reference.substr(1, Reference.size() - 2); }
};

constexpr std::array<TNamedReference, 5> kNamedReferences{{
    {u'&', u"&amp;"}, {u'<', u"&lt;"}, {u'>', u"&gt;"}, {u'"', u"&quot;"}, {u'\'', u"&apos;"}}};

const TNamedReference* FindByCharacter(char16_t c) {
  for (const auto& reference : kNamedReferences)
    if (reference.Character == c) return &reference;
  return nullptr;
}

bool IsReferenceNameChar(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'#';
}

int DigitValue(char16_t c, bool hex) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (hex && c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (hex && c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

// A 32-bit integer, decimal or hexadecimal after x, 0x or $; 0 when it does not parse.
uint32_t ParseCharacterCode(UStringView number) {
  bool hex = false;
  if (number.size() >= 2 && number[0] == u'0' && (number[1] == u'x' || number[1] == u'X')) {
    hex = true;
    number.remove_prefix(2);
  } else if (!number.empty() && (number[0] == u'x' || number[0] == u'X' || number[0] == u'$')) {
    hex = true;
    number.remove_prefix(1);
  }
  if (number.empty()) return 0;
  const uint64_t limit = hex ? 0xFFFFFFFFu : 0x7FFFFFFFu;
  uint64_t value = 0;
  for (const char16_t c : number) {
    const int digit = DigitValue(c, hex);
    if (digit < 0) return 0;
    value = value * (hex ? 16 : 10) + digit;
    if (value > limit) return 0;
  }
  return static_cast<uint32_t>(value);
}

UString ResolveReference(UStringView name) {
  if (!name.empty() && name[0] == u'#') return UString(1, static_cast<char16_t>(ParseCharacterCode(name.substr(1)) & 0xFFFF));
  for (const auto& reference : kNamedReferences)
    if (reference.Name() == name) return UString(1, reference.Character);
  return UString(name);
}

// Appends text that begins with an &; backslashes just before it become "&#92;".
void AppendAmpersandText(UString& out, UStringView text) {
  size_t backslashes = 0;
  while (backslashes < out.size() && out[out.size() - 1 - backslashes] == u'\\') ++backslashes;
  out.resize(out.size() - backslashes);
  for (; backslashes > 0; --backslashes) out += u"&#92;";
  out += text;
}

}  // namespace

size_t XMLReferenceLength(UStringView text, size_t at) {
  if (at >= text.size() || text[at] != u'&') return 0;
  size_t end = at + 1;
  while (end < text.size() && IsReferenceNameChar(text[end])) ++end;
  return (end < text.size() && text[end] == u';') ? end + 1 - at : 0;
}

UString DecodeXMLReferences(UStringView text) {
  UString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    if (text[i] == u'\\' && i + 1 < text.size() && FindByCharacter(text[i + 1])) {
      out.push_back(text[i + 1]);
      i += 2;
    } else if (const size_t length = XMLReferenceLength(text, i)) {
      out += ResolveReference(text.substr(i + 1, length - 2));
      i += length;
    } else {
      out.push_back(text[i++]);
    }
  }
  return out;
}

UString EncodeXMLReferences(UStringView text) {
  UString out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const TNamedReference* reference = FindByCharacter(text[i]);
    if (text[i] == u'&' && XMLReferenceLength(text, i) > 0)
      AppendAmpersandText(out, u"&");
    else if (reference)
      AppendAmpersandText(out, reference->Reference);
    else
      out.push_back(text[i]);
  }
  return out;
}
