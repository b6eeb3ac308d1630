#include <windows.h>

#include "DRX.Platform.h"

namespace {
const wchar_t* Ptr(UStringView text) { return reinterpret_cast<const wchar_t*>(text.data()); }
}

int PlatformCompareText(UStringView a, UStringView b, bool ignoreCase) {
  // CompareStringW fails on empty strings instead of ordering them first.
  if (a.empty() || b.empty()) return a.empty() == b.empty() ? 0 : (a.empty() ? -1 : 1);
  const int result = CompareStringW(LOCALE_USER_DEFAULT, ignoreCase ? NORM_IGNORECASE : 0, Ptr(a),
                                    static_cast<int>(a.size()), Ptr(b), static_cast<int>(b.size()));
  return result - CSTR_EQUAL;
}

UString PlatformUpperCase(UStringView text) {
  if (text.empty()) return {};
  UString out(text.size(), u'\0');
  const int length = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_UPPERCASE, Ptr(text), static_cast<int>(text.size()),
                                  W(out), static_cast<int>(out.size()));
  out.resize(length > 0 ? length : 0);
  return out;
}

uint32_t SystemAnsiCodePage() { return GetACP(); }

bool PlatformTryDecodeCodePage(uint32_t codePage, std::string_view bytes, UString& result) {
  result.clear();
  if (bytes.empty()) return true;
  const int count = static_cast<int>(bytes.size());
  const int length = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), count, nullptr, 0);
  if (length <= 0) return false;
  result.resize(length);
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), count, W(result), length);
  return true;
}

UString PlatformDecodeCodePage(uint32_t codePage, std::string_view bytes) {
  if (bytes.empty()) return {};
  const int count = static_cast<int>(bytes.size());
  int length = MultiByteToWideChar(codePage, 0, bytes.data(), count, nullptr, 0);
  if (length <= 0) {  // an unknown code page: keep the bytes as Latin-1
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return UString(data, data + bytes.size());
  }
  UString result(length, u'\0');
  MultiByteToWideChar(codePage, 0, bytes.data(), count, W(result), length);
  return result;
}

std::string PlatformEncodeCodePage(uint32_t codePage, UStringView text) {
  if (text.empty()) return {};
  const int count = static_cast<int>(text.size());
  const int length = WideCharToMultiByte(codePage, 0, Ptr(text), count, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string result(length, '\0');
  WideCharToMultiByte(codePage, 0, Ptr(text), count, result.data(), length, nullptr, nullptr);
  return result;
}

UString PlatformProgramFileName() {
  UString buffer(MAX_PATH, u'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, W(buffer), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) return buffer.substr(0, length);
    buffer.resize(buffer.size() * 2);
  }
}

bool PlatformResetFileAttributes(const UString& fileName) {
  return SetFileAttributesW(W(fileName), FILE_ATTRIBUTE_NORMAL) != 0;
}

UString PlatformTempFolder() {
  wchar_t buffer[MAX_PATH + 2];
  const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
  UString path = FromW(buffer, length);
  if (path.empty() || path.back() != u'\\') path.push_back(u'\\');
  return path;
}

UString SysErrorMessage(uint32_t errorCode) {
  wchar_t* buffer = nullptr;
  const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                          FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY,
                                      nullptr, errorCode, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
  UString text = length ? FromW(buffer, length) : UString();
  if (buffer) LocalFree(buffer);
  while (!text.empty() && (text.back() == u'\r' || text.back() == u'\n' || text.back() == u' ' || text.back() == u'.'))
    text.pop_back();
  return text;
}

uint32_t GetLastOSErrorCode() { return GetLastError(); }

uint32_t PlatformCurrentThreadId() { return GetCurrentThreadId(); }

void PlatformSleep(uint32_t milliseconds) { Sleep(milliseconds); }
