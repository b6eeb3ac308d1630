#include "uInstaller.Core.ProductInfo.h"

#include <shlobj.h>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"
#include "uInstaller.Core.Summary.h"

TInstallerProductInfoClass ProductInfoClass = nullptr;

UString TInstallerProductInfo::Setting(UStringView name) { return Installer->Resources().Script().GetSetting(name); }

UString TInstallerProductInfo::GetDefaultPath() {
  return IncludeTrailingBackslash(Installer->Resources().ProgramFilesPath() + GetName());
}

UString TInstallerProductInfo::GetDefaultPortablePath() {
  return IncludeTrailingBackslash(GetShellFolder(CSIDL_DESKTOP) + GetName());
}

UString TInstallerProductInfo::GetHomePage() { return Setting(u"HomePage"); }

UString TInstallerProductInfo::GetName() {
  UString name = Setting(u"ProductName");
  if (name.empty()) throw EInstallerGeneralError(u"TInstallerProductInfo.GetName");
  return name;
}

UString TInstallerProductInfo::GetPublisher() { return Setting(u"Publisher"); }

UString TInstallerProductInfo::GetVersion() { return Setting(u"ProductVersion"); }

int TInstallerProductInfo::GetVersionId() { return StrToIntDef(Setting(u"ProductVersionId"), 0); }

UString TInstallerProductInfo::GetFullVersion() { return GetVersion() + u", " + Setting(u"BuildDate"); }

UString TInstallerProductInfo::GetVersionNo() { return Setting(u"ProductVersionNo"); }

UString TInstallerProductInfo::GetInstalledVersionText() { return VersionIdToText(GetInstalledVersionId()); }
