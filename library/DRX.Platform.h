#pragma once
// The few answers a portable unit needs from the operating system. Each has a
// Win32 implementation (DRX.Platform.Win.cpp) and a POSIX one (DRX.Platform.Posix.cpp).

#include <cstdint>
#include <string>

#include "DRX.Strings.h"

// Locale comparison of whole strings (Windows: CompareStringW with
// LOCALE_USER_DEFAULT, NORM_IGNORECASE when ignoreCase); <0, 0 or >0.
int PlatformCompareText(UStringView a, UStringView b, bool ignoreCase);

// Upper-case mapping of the locale (Windows: LCMapStringW, LCMAP_UPPERCASE).
// Names that PlatformCompareText finds equal ignoring case map to equal text.
UString PlatformUpperCase(UStringView text);

// Equal length in UTF-16 units and equal ignoring case under the locale.
bool SameText(UStringView a, UStringView b);
// The text begins with the prefix, compared as SameText compares; an empty
// prefix begins nothing.
bool StartsText(UStringView text, UStringView prefix);

// The system's ANSI code page (Windows: GetACP; natively Windows-1252).
uint32_t SystemAnsiCodePage();

// Converts between 8-bit text of a Windows code page and UTF-16. The strict
// decoder fails on bytes the code page does not define; the lenient one never fails.
bool PlatformTryDecodeCodePage(uint32_t codePage, std::string_view bytes, UString& result);
UString PlatformDecodeCodePage(uint32_t codePage, std::string_view bytes);
std::string PlatformEncodeCodePage(uint32_t codePage, UStringView text);

// The separator of the running platform's own file paths.
#ifdef _WIN32
inline constexpr char16_t PathDelim = u'\\';
#else
inline constexpr char16_t PathDelim = u'/';
#endif

// The full file name of the running program (Windows: GetModuleFileNameW;
// natively the target of /proc/self/exe).
UString PlatformProgramFileName();

// Clears the attributes that stop a file from being overwritten (Windows:
// read-only, hidden, system; natively: gives the owner read and write access).
// False when the file does not exist or cannot be changed.
bool PlatformResetFileAttributes(const UString& fileName);

// The temporary folder, with a trailing path separator.
UString PlatformTempFolder();

// The system's message text for an error code, without a trailing line break.
UString SysErrorMessage(uint32_t errorCode);
uint32_t GetLastOSErrorCode();

// The calling thread's identifier (never 0) and a sleep of the thread
// (0 gives the rest of the time slice away), as Windows' GetCurrentThreadId and Sleep.
uint32_t PlatformCurrentThreadId();
void PlatformSleep(uint32_t milliseconds);
