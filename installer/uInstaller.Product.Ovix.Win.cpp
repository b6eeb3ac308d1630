#include <windows.h>

#include "uInstaller.Product.Ovix.h"

#include "DRX.FileFormats.INI.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Product.Ovix.ActionList.h"
#include "uInstaller.Product.Ovix.Actions.Close.h"
#include "uInstaller.Product.Ovix.Pages.h"

namespace {

constexpr int kFirstUpdatableVersion = 3500;
constexpr int kLastUpdatableVersion = 5099;

[[maybe_unused]] const bool kRegistered = (UseOvixProduct(), true);

}  // namespace

UString ConfigFileIn(const UString& folder) {
  for (const UStringView name : kConfigFileNames) {
    if (FileExists(folder + UString(name))) return folder + UString(name);
  }
  return {};
}

void UseOvixProduct() { ProductInfoClass = ClassRefOf<TProductInfoOvix, TInstallerProductInfo>(); }

bool IsAddonOfferApplicable() {
  return !Installer->HasFlag(ifAuto) && !Installer->HasFlag(ifSilent) &&
         SameText(Installer->Resources().LangName(), u"Russian");
}

bool IsOtherInstallationPresent() {
  if (Installer->HasFlag(ifUpdate)) return false;
  if (Installer->ProductInfo().GetInstalledVersionId() >= 1) return true;
  UString path;
  return !Installer->HasFlag(ifPortable) && TProductInfoOvix::FindInstallPath(path);
}

TProductInfoOvix::TProductInfoOvix() : config_(std::make_unique<TDRXIniFile>()) {}

TProductInfoOvix::~TProductInfoOvix() = default;

UString TProductInfoOvix::GetDefaultPath() {
  UString path;
  return FindInstallPath(path) ? path : TInstallerProductInfo::GetDefaultPath();
}

bool TProductInfoOvix::CanUpdate() {
  const int installed = GetInstalledVersionId();
  return installed >= kFirstUpdatableVersion && installed <= kLastUpdatableVersion;
}

bool TProductInfoOvix::IsPortableInstallation() { return !config_->ReadBool(u"System", u"UserMode", true); }

int TProductInfoOvix::GetInstalledVersionId() { return config_->ReadInteger(u"System", u"Version", 0); }

void TProductInfoOvix::Load() {
  try {
    config_->LoadFromFile(ConfigFileIn(Installer->DestPath()));
  } catch (const Exception&) {
    config_->Clear();  // unreadable: the destination counts as holding no installation
  }
  Installer->Settings().WriteSectionText(u"Integration", config_->ReadSectionText(u"Integration"));
}

void TProductInfoOvix::PopulateActions(const TActionProc& proc) { PopulateOvixActions(proc); }

void TProductInfoOvix::PopulatePages(const TPageProc& proc) {
  if (Installer->Mode() == imUninstall) {
    proc(PageClassOf<TInstallerPageUninstallParams>());
    return;
  }
  proc(PageClassOf<TInstallerPageWelcome>());
  proc(PageClassOf<TInstallerPageLicense>());
  proc(PageClassOf<TInstallerPageSetup>());
  if (TInstallerPageAddons::IsApplicable()) proc(PageClassOf<TInstallerPageAddons>());
  proc(PageClassOf<TInstallerPageIntegration>());
  proc(PageClassOf<TInstallerPageReadyToInstall>());
}

bool TProductInfoOvix::FindInstallPath(UString& Path) {
  for (const UStringView name : {u"Ovix", u"Ovix3"}) {
    if (TInstallerApplicationRepository::GetInstallPath(UString(name), Path)) return true;
  }
  const HWND player = FindWindowW(L"TOvixMainForm", nullptr);
  if (!player) return false;
  const UString program = ProgramFileOfWindow(player);
  if (program.empty()) return false;
  Path = ExtractFilePath(program);
  return true;
}
