#include "uInstaller.Product.Ovix.ActionList.h"

#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Extract.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Product.Ovix.Actions.Close.h"
#include "uInstaller.Product.Ovix.h"

namespace {

bool Always() { return true; }
bool Installing() { return Installer->Mode() == imInstall; }
bool Uninstalling() { return Installer->Mode() == imUninstall; }
bool InstallingWithAddonOffer() { return Installing() && IsAddonOfferApplicable(); }
bool InstallingAfresh() { return Installing() && !Installer->HasFlag(ifUpdate); }
bool IntegratingAfresh() { return InstallingAfresh() && !Installer->HasFlag(ifPortable); }
bool InstallingOnWindows10() { return Installing() && IsWindows10OrLater(); }

// ---- Rows waiting for their action class ----
// Each names an action whose unit is still to come; that unit replaces the row's
// reference below by ActionClass<...>() and deletes its line here.
const TClassRef<TInstallerAction> kWaitingAddonsInstall{u"TInstallerActionAddonsInstall", nullptr};
const TClassRef<TInstallerAction> kWaitingConfig{u"TInstallerActionConfig", nullptr};
const TClassRef<TInstallerAction> kWaitingIntegrate{u"TInstallerActionIntegrate", nullptr};
const TClassRef<TInstallerAction> kWaitingShortcuts{u"TInstallerActionShortcuts", nullptr};
const TClassRef<TInstallerAction> kWaitingUpdateShellCache{u"TInstallerActionUpdateShellCache", nullptr};
const TClassRef<TInstallerAction> kWaitingUninstallIntegration{u"TInstallerActionUninstallIntegration", nullptr};
const TClassRef<TInstallerAction> kWaitingUninstallFiles{u"TInstallerActionUninstallFiles", nullptr};
const TClassRef<TInstallerAction> kWaitingPrepare{u"TInstallerActionPrepare", nullptr};

struct TOvixActionRow {
  TInstallerActionClass Class;
  bool (*Applies)();
};

std::vector<TOvixActionRow> OvixActionTable() {
  return {
      {ActionClass<TInstallerActionCloseApplications>(), Always},
      {&kWaitingPrepare, Installing},
      {&kWaitingAddonsInstall, InstallingWithAddonOffer},         // Actions.Config
      {ActionClass<TInstallerActionExtract>(), Installing},
      {&kWaitingConfig, Installing},                              // Actions.Config
      {&kWaitingIntegrate, IntegratingAfresh},                    // Actions.Integrate
      {&kWaitingShortcuts, InstallingAfresh},                     // Actions.Integrate
      {&kWaitingUpdateShellCache, InstallingOnWindows10},         // Actions.Integrate
      {&kWaitingUninstallIntegration, Uninstalling},              // Actions.Uninstall
      {&kWaitingUninstallFiles, Uninstalling},                    // Actions.Uninstall
  };
}

}  // namespace

void PopulateOvixActions(const TInstallerProductInfo::TActionProc& proc) {
  for (const TOvixActionRow& row : OvixActionTable()) {
    if (row.Applies() && row.Class->Create) proc(row.Class);
  }
}

std::vector<UString> OvixActionNames() {
  std::vector<UString> names;
  for (const TOvixActionRow& row : OvixActionTable()) {
    if (row.Applies()) names.emplace_back(row.Class->ClassName);
  }
  return names;
}
