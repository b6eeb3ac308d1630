#include "uInstaller.Product.Ovix.ActionList.h"

#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Extract.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Product.Ovix.Actions.Close.h"
#include "uInstaller.Product.Ovix.Actions.Config.h"
#include "uInstaller.Product.Ovix.Actions.Integrate.h"
#include "uInstaller.Product.Ovix.Actions.Prepare.h"
#include "uInstaller.Product.Ovix.Actions.Uninstall.h"
#include "uInstaller.Product.Ovix.h"

namespace {

bool Always() { return true; }
bool Installing() { return Installer->Mode() == imInstall; }
bool Uninstalling() { return Installer->Mode() == imUninstall; }
bool InstallingWithAddonOffer() { return Installing() && IsAddonOfferApplicable(); }
bool InstallingAfresh() { return Installing() && !Installer->HasFlag(ifUpdate); }
bool IntegratingAfresh() { return InstallingAfresh() && !Installer->HasFlag(ifPortable); }
bool InstallingOnWindows10() { return Installing() && IsWindows10OrLater(); }

struct TOvixActionRow {
  TInstallerActionClass Class;
  bool (*Applies)();
};

std::vector<TOvixActionRow> OvixActionTable() {
  return {
      {ActionClass<TInstallerActionCloseApplications>(), Always},
      {ActionClass<TInstallerActionPrepare>(), Installing},
      {ActionClass<TInstallerActionAddonsInstall>(), InstallingWithAddonOffer},
      {ActionClass<TInstallerActionExtract>(), Installing},
      {ActionClass<TInstallerActionConfig>(), Installing},
      {ActionClass<TInstallerActionIntegrate>(), IntegratingAfresh},
      {ActionClass<TInstallerActionShortcuts>(), InstallingAfresh},
      {ActionClass<TInstallerActionUpdateShellCache>(), InstallingOnWindows10},
      {ActionClass<TInstallerActionUninstallIntegration>(), Uninstalling},
      {ActionClass<TInstallerActionUninstallFiles>(), Uninstalling},
  };
}

}  // namespace

void PopulateOvixActions(const TInstallerProductInfo::TActionProc& proc) {
  for (const TOvixActionRow& row : OvixActionTable()) {
    if (row.Applies()) proc(row.Class);
  }
}

std::vector<UString> OvixActionNames() {
  std::vector<UString> names;
  PopulateOvixActions([&](TInstallerActionClass actionClass) { names.emplace_back(actionClass->ClassName); });
  return names;
}
