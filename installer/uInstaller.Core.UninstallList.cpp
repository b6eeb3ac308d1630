#include "uInstaller.Core.UninstallList.h"

#include <map>

#include "DRX.FileFormats.INI.h"
#include "uInstaller.Core.Exceptions.h"

std::vector<UString> ReadUninstallEntries(const TDRXIniFile& ini) {
  UString countText;
  int32_t count = 0;
  if (!ini.ReadString(u"Uninstall", u"Count", countText) || !TryParseIniInteger(countText, count) || count < 0) {
    throw EInstallerInstallError(u"\"Uninstall.ini\" is damaged: the \"Count\" of installed files is missing or not a number");
  }
  // Only the lines present are visited.
  std::map<int32_t, UString> byNumber;
  const TDRXIniFileSection& section = *ini.FindSection(u"Uninstall");
  for (int i = 0; i < section.Count(); ++i) {
    const UString key = section.KeyOf(i);
    int32_t number;
    if (TryStrToInt(key, number) && number >= 0 && number < count && IntToStr(number) == key)
      byNumber.emplace(number, section.ValueFromIndex(i));
  }
  std::vector<UString> entries;
  for (auto& [number, entry] : byNumber) entries.push_back(std::move(entry));
  return entries;
}
