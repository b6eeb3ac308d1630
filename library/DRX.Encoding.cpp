#include "DRX.Encoding.h"

#include <atomic>

#include "DRX.Platform.h"

namespace {
std::atomic<uint32_t> drxCodePage{0};
}

uint32_t GetDRXCodePage() { return drxCodePage.load(std::memory_order_relaxed); }

void SetDRXCodePage(uint32_t codePage) { drxCodePage.store(codePage, std::memory_order_relaxed); }

uint32_t EffectiveCodePage(const TDRXEncoding& encoding) {
  return encoding.CodePage != 0 ? encoding.CodePage : SystemAnsiCodePage();
}

std::string EncodingPreamble(const TDRXEncoding& encoding) {
  switch (encoding.Kind) {
    case TDRXEncoding::ekUtf8: return "\xEF\xBB\xBF";
    case TDRXEncoding::ekUtf16LE: return "\xFF\xFE";
    case TDRXEncoding::ekUtf16BE: return "\xFE\xFF";
    default: return {};
  }
}

size_t DetectByteOrderMark(std::string_view bytes, TDRXEncoding& encoding) {
  if (bytes.size() < 3) return 0;
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") { encoding = TDRXEncoding::Utf8(); return 3; }
  if (bytes.substr(0, 2) == "\xFF\xFE") { encoding = TDRXEncoding::Utf16LE(); return 2; }
  if (bytes.substr(0, 2) == "\xFE\xFF") { encoding = TDRXEncoding::Utf16BE(); return 2; }
  return 0;
}

namespace {

UString DecodeUtf16(std::string_view bytes, bool bigEndian) {
  UString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[2 * i]);
    const auto second = static_cast<unsigned char>(bytes[2 * i + 1]);
    text[i] = static_cast<char16_t>(bigEndian ? (first << 8) | second : first | (second << 8));
  }
  return text;
}

std::string EncodeUtf16(UStringView text, bool bigEndian) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    const char low = static_cast<char>(text[i] & 0xFF), high = static_cast<char>(text[i] >> 8);
    bytes[2 * i] = bigEndian ? high : low;
    bytes[2 * i + 1] = bigEndian ? low : high;
  }
  return bytes;
}

}  // namespace

bool TryDecodeText(const TDRXEncoding& encoding, std::string_view bytes, UString& text) {
  switch (encoding.Kind) {
    case TDRXEncoding::ekUtf8: return TryUtf8ToUtf16(bytes, text);
    case TDRXEncoding::ekUtf16LE: text = DecodeUtf16(bytes, false); return true;
    case TDRXEncoding::ekUtf16BE: text = DecodeUtf16(bytes, true); return true;
    default: return PlatformTryDecodeCodePage(EffectiveCodePage(encoding), bytes, text);
  }
}

UString DecodeText(const TDRXEncoding& encoding, std::string_view bytes) {
  switch (encoding.Kind) {
    case TDRXEncoding::ekUtf8: return Utf8ToUtf16(bytes);
    case TDRXEncoding::ekUtf16LE: return DecodeUtf16(bytes, false);
    case TDRXEncoding::ekUtf16BE: return DecodeUtf16(bytes, true);
    default: return PlatformDecodeCodePage(EffectiveCodePage(encoding), bytes);
  }
}

std::string EncodeText(const TDRXEncoding& encoding, UStringView text) {
  switch (encoding.Kind) {
    case TDRXEncoding::ekUtf8: return Utf16ToUtf8(text);
    case TDRXEncoding::ekUtf16LE: return EncodeUtf16(text, false);
    case TDRXEncoding::ekUtf16BE: return EncodeUtf16(text, true);
    default: return PlatformEncodeCodePage(EffectiveCodePage(encoding), text);
  }
}

UString DecodeTextDetectingEncoding(std::string_view bytes, const TDRXEncoding& fallback, TDRXEncoding& detected) {
  // A UTF-16 mark alone is what saving an empty text writes: too short for
  // detection, but it must read back as empty, not as two ANSI characters.
  for (const auto& utf16 : {TDRXEncoding::Utf16LE(), TDRXEncoding::Utf16BE()}) {
    if (bytes == EncodingPreamble(utf16)) {
      detected = utf16;
      return {};
    }
  }
  detected = fallback;
  const size_t mark = DetectByteOrderMark(bytes, detected);
  const std::string_view body = bytes.substr(mark);
  UString text;
  if (TryDecodeText(detected, body, text)) return text;
  return DecodeText(TDRXEncoding::Ansi(), body);
}
