#include "DRX.UI.Application.h"

bool SystemAppsUseDarkTheme() { return false; }

TDRXContrastScheme SystemContrastScheme() {
  const TColor white = clWhite, black = clBlack;
  return {false,
          {white, black, RGBColor(0xF0, 0xF0, 0xF0), black, RGBColor(0x00, 0x78, 0xD7), white,
           RGBColor(0x00, 0x66, 0xCC), RGBColor(0x6D, 0x6D, 0x6D)}};
}

#include <cstdio>

void PlatformReportException(const UString& message) { std::fprintf(stderr, "%s\n", Utf16ToUtf8(message).c_str()); }
