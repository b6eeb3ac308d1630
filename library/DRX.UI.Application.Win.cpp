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

void TDRXApplication::SettingChangeMessage(intptr_t lParam) {
  const auto* text = reinterpret_cast<const wchar_t*>(lParam);
  if (text) SettingChange(FromW(text));
}

void PlatformReportException(const UString& message) { ShowMessageBox(nullptr, message, UString(), MB_OK | MB_ICONERROR); }
