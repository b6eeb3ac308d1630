#include <windows.h>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.Font.h"

namespace {

TDRXFontInfo ReadDefaultGUIFont() {
  TDRXFontInfo info{u"MS Shell Dlg", -11, claBlack, fqDefault, 0};
  LOGFONTW font{};
  if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font) == sizeof font) {
    info.Name = FromW(font.lfFaceName);
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    info.Height = MulDivRounded(font.lfHeight, 96, dpi > 0 ? dpi : 96);
    info.Quality = font.lfQuality <= CLEARTYPE_NATURAL_QUALITY ? static_cast<TDRXFontQuality>(font.lfQuality) : fqDefault;
    info.Style = static_cast<TDRXFontStyles>((font.lfWeight >= FW_BOLD ? fsBold : 0) | (font.lfItalic ? fsItalic : 0) |
                                             (font.lfUnderline ? fsUnderline : 0) | (font.lfStrikeOut ? fsStrikeOut : 0));
  }
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  info.Color = 0xFF000000u | (uint32_t{GetRValue(text)} << 16) | (uint32_t{GetGValue(text)} << 8) | GetBValue(text);
  return info;
}

}  // namespace

const TDRXFontInfo& DefaultGUIFont() {
  static const TDRXFontInfo font = ReadDefaultGUIFont();
  return font;
}
