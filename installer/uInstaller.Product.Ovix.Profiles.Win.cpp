#include "uInstaller.Product.Ovix.Profiles.h"

#include "DRX.Utils.Shell.UserAccounts.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"

namespace {
constexpr int kProductNamedProfilesSince = 4000;
constexpr UStringView kLegacyProfileFolder = u"Ovix3";
constexpr UStringView kPortableUserName = u"SingleUser";
}  // namespace

TInstallerProfileInfo& TInstallerProfileInfoList::Add(const UString& UserName, const UString& ProfilePath,
                                                      const UString& InstalledProfilePath) {
  items_.push_back(
      std::make_unique<TInstallerProfileInfo>(TInstallerProfileInfo{UserName, ProfilePath, InstalledProfilePath}));
  return *items_.back();
}

void TInstallerProfileInfoList::Populate() {
  auto addIfInstalled = [this](const UString& userName, const TDRXUserAccountInfo* account) {
    const UString installedPath = TInstallerProfileHelper::GetInstalledProfilePath(account);
    // A profile folder that is a link leads to a folder that is not the
    // player's: it is neither archived, copied nor deleted.
    if (DirectoryExists(installedPath) && !IsFolderLink(installedPath))
      Add(userName, TInstallerProfileHelper::GetNewProfilePath(account), installedPath);
  };
  if (Installer->HasFlag(ifPortable)) {
    addIfInstalled(UString(kPortableUserName), nullptr);
    return;
  }
  const std::unique_ptr<TDRXUserAccountInfoList> accounts = GetUserAccounts();
  for (size_t i = 0; i < accounts->Count(); ++i) addIfInstalled(accounts->Items(i).UserName, &accounts->Items(i));
}

UString TInstallerProfileHelper::GetProfilePath(const TDRXUserAccountInfo* Account, int VersionId) {
  if (!Account) return Installer->DestPath() + u"Profile\\";
  const UString folder =
      VersionId >= kProductNamedProfilesSince ? Installer->ProductInfo().GetName() : UString(kLegacyProfileFolder);
  return Account->AppDataPath + folder + u"\\";
}

UString TInstallerProfileHelper::GetNewProfilePath(const TDRXUserAccountInfo* Account) {
  return GetProfilePath(Account, Installer->ProductInfo().GetVersionId());
}

UString TInstallerProfileHelper::GetInstalledProfilePath(const TDRXUserAccountInfo* Account) {
  return GetProfilePath(Account, Installer->ProductInfo().GetInstalledVersionId());
}
