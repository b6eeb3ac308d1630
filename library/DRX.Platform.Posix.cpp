// Native stand-ins for the Windows answers: the C.UTF-8 locale's case mapping
// (compared ordinally, so comparison and upper-casing always agree), glibc's
// iconv for Windows code pages, and TMPDIR for the temporary folder.
#include <errno.h>
#include <iconv.h>
#include <locale.h>
#include <sched.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>
#include <wctype.h>

#include <cstdlib>

#include "DRX.Platform.h"

namespace {

locale_t Utf8Locale() {
  static const locale_t locale = [] {
    locale_t l = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return l ? l : newlocale(LC_CTYPE_MASK, "C", static_cast<locale_t>(0));
  }();
  return locale;
}

char16_t UpperUnit(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
  if (c >= 0xD800 && c <= 0xDFFF) return c;
  const wint_t upper = towupper_l(c, Utf8Locale());
  return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

std::string IconvName(uint32_t codePage) {
  switch (codePage) {
    case 65001: return "UTF-8";
    case 1200: return "UTF-16LE";
    case 1201: return "UTF-16BE";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    default: return "CP" + std::to_string(codePage);
  }
}

// Converts with iconv; on a byte sequence the code page rejects, calls onInvalid
// (which may append a stand-in and returns how many input bytes to skip) or fails.
template <typename OnInvalid>
bool Convert(const std::string& to, const std::string& from, std::string_view input, std::string& output,
             OnInvalid onInvalid) {
  iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  output.clear();
  char* in = const_cast<char*>(input.data());
  size_t inLeft = input.size();
  char buffer[4096];
  bool ok = true;
  while (inLeft > 0) {
    char* out = buffer;
    size_t outLeft = sizeof buffer;
    const size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    output.append(buffer, out - buffer);
    if (result != static_cast<size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    const size_t skip = onInvalid(std::string_view(in, inLeft), output);
    if (skip == 0) { ok = false; break; }
    in += skip;
    inLeft -= skip;
  }
  iconv_close(cd);
  return ok;
}

UString FromUtf16LE(const std::string& bytes) {
  UString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) | (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  return text;
}

std::string ToUtf16LE(UStringView text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace

int PlatformCompareText(UStringView a, UStringView b, bool ignoreCase) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const char16_t x = ignoreCase ? UpperUnit(a[i]) : a[i];
    const char16_t y = ignoreCase ? UpperUnit(b[i]) : b[i];
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

UString PlatformUpperCase(UStringView text) {
  UString out(text);
  for (auto& c : out) c = UpperUnit(c);
  return out;
}

uint32_t SystemAnsiCodePage() { return 1252; }

bool PlatformTryDecodeCodePage(uint32_t codePage, std::string_view bytes, UString& result) {
  std::string utf16;
  const bool ok = Convert("UTF-16LE", IconvName(codePage), bytes, utf16,
                          [](std::string_view, std::string&) -> size_t { return 0; });
  result = ok ? FromUtf16LE(utf16) : UString();
  return ok;
}

UString PlatformDecodeCodePage(uint32_t codePage, std::string_view bytes) {
  std::string utf16;
  // A byte the code page leaves undefined becomes the character of the same number,
  // as Windows does for the holes of its single-byte code pages.
  const bool ok = Convert("UTF-16LE", IconvName(codePage), bytes, utf16, [](std::string_view rest, std::string& out) -> size_t {
    out.push_back(rest[0]);
    out.push_back('\0');
    return 1;
  });
  if (!ok) {
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    return UString(data, data + bytes.size());
  }
  return FromUtf16LE(utf16);
}

std::string PlatformEncodeCodePage(uint32_t codePage, UStringView text) {
  std::string bytes;
  const bool ok = Convert(IconvName(codePage), "UTF-16LE", ToUtf16LE(text), bytes, [](std::string_view rest, std::string& out) -> size_t {
    out.push_back('?');
    const unsigned high = static_cast<unsigned char>(rest.size() > 1 ? rest[1] : 0);
    return (high >= 0xD8 && high <= 0xDB && rest.size() >= 4) ? 4 : 2;
  });
  return ok ? bytes : std::string();
}

UString PlatformProgramFileName() {
  std::string buffer(256, '\0');
  for (;;) {
    const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) return Utf8ToUtf16(std::string_view(buffer.data(), length));
    buffer.resize(buffer.size() * 2);
  }
}

bool PlatformResetFileAttributes(const UString& fileName) {
  const std::string path = Utf16ToUtf8(fileName);
  struct stat info;
  if (stat(path.c_str(), &info) != 0) return false;
  return chmod(path.c_str(), (info.st_mode & 0777) | S_IRUSR | S_IWUSR) == 0;
}

UString PlatformTempFolder() {
  const char* dir = std::getenv("TMPDIR");
  UString path = Utf8ToUtf16(dir && *dir ? dir : "/tmp");
  if (path.back() != u'/') path.push_back(u'/');
  return path;
}

UString SysErrorMessage(uint32_t errorCode) { return Utf8ToUtf16(strerror(static_cast<int>(errorCode))); }

uint32_t GetLastOSErrorCode() { return static_cast<uint32_t>(errno); }

uint32_t PlatformCurrentThreadId() { return static_cast<uint32_t>(gettid()); }

void PlatformSleep(uint32_t milliseconds) {
  if (milliseconds == 0) {
    sched_yield();
    return;
  }
  timespec delay{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000};
  nanosleep(&delay, nullptr);
}
