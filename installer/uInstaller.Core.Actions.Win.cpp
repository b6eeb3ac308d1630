#include "uInstaller.Core.Actions.h"

#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"

void TInstallerAction::Run() {
  Execute();
  SetProgress(100);
}

void TInstallerAction::SetProgress(int value) {
  if (value == progress_) return;
  progress_ = value;
  if (OnProgress) OnProgress(*this);
}

void TInstallerAction::SetStatus(const UString& text) { Installer->SendNotifyText(inStatusText, text); }

UString TInstallerAction::LangString(UStringView section, UStringView key) {
  return Resources().GetLangString(section, key);
}

UString TInstallerAction::CommonString(UStringView key) { return LangString(u"Common", key); }

TInstallerProductInfo& TInstallerAction::ProductInfo() { return Installer->ProductInfo(); }
TInstallerResources& TInstallerAction::Resources() { return Installer->Resources(); }
TDRXIniFile& TInstallerAction::Settings() { return Installer->Settings(); }
TInstallerScript& TInstallerAction::Script() { return Resources().Script(); }

int TInstallerActionList::Progress() const {
  if (items_.empty()) return 0;
  int sum = 0;
  for (const auto& action : items_) sum += action->Progress();
  return sum / Count();
}
