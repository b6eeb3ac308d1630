#include "DRX.UI.Application.h"
#include "DRX.UI.Dialogs.h"
#include "DRX.Utils.Registry.h"

bool SystemAppsUseDarkTheme() {
  TDRXRegistryKey key;
  if (!key.Open(HKEY_CURRENT_USER, u"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize", KEY_QUERY_VALUE))
    return false;
  uint32_t appsUseLightTheme = 1;
  key.ReadInteger(u"AppsUseLightTheme", appsUseLightTheme);
  return appsUseLightTheme == 0;
}

TDRXContrastScheme SystemContrastScheme() {
  // In the order of TDRXSystemColor.
  static constexpr int kIndices[kSystemColorCount] = {COLOR_WINDOW,    COLOR_WINDOWTEXT,    COLOR_BTNFACE,
                                                      COLOR_BTNTEXT,   COLOR_HIGHLIGHT,     COLOR_HIGHLIGHTTEXT,
                                                      COLOR_HOTLIGHT,  COLOR_GRAYTEXT};
  TDRXContrastScheme scheme;
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  scheme.On = SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0) &&
              (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
  for (int i = 0; i < kSystemColorCount; ++i) scheme.Colors[i] = GetSysColor(kIndices[i]);
  return scheme;
}

void TDRXApplication::SettingChangeMessage(intptr_t lParam) {
  const auto* text = reinterpret_cast<const wchar_t*>(lParam);
  if (text) SettingChange(FromW(text));
}

void PlatformReportException(const UString& message) { ShowMessageBox(nullptr, message, UString(), MB_OK | MB_ICONERROR); }
