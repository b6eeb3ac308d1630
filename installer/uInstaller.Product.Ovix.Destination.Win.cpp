#include "uInstaller.Product.Ovix.Destination.h"

#include "DRX.FileFormats.INI.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"
#include "uInstaller.Product.Ovix.h"

namespace {
constexpr UStringView kArchivePrefix = u"z Before install ";
}  // namespace

std::unique_ptr<TDRXIniFile> ReadUninstallData(const UString& folder) {
  const UString fileName = folder + u"Uninstall.dat";
  if (!FileExists(fileName)) return nullptr;
  try {
    const TSetupPackageReader package(fileName);
    std::unique_ptr<TMemoryStream> entry;
    if (!package.Extract(u"Uninstall.ini", entry)) return nullptr;
    auto ini = std::make_unique<TDRXIniFile>();
    ini->LoadFromStream(*entry);
    return ini;
  } catch (const Exception&) {
    return nullptr;  // not the uninstall data of this setup
  }
}

bool HoldsInstallation() {
  const UString& destPath = Installer->DestPath();
  return ReadUninstallData(destPath) || !ConfigFileIn(destPath).empty() ||
         Installer->ProductInfo().GetInstalledVersionId() >= 1;
}

bool IsSharedDestination() {
  const UString& destPath = Installer->DestPath();
  if (const std::unique_ptr<TDRXIniFile> previous = ReadUninstallData(destPath)) return IsSharedFolder(*previous);
  return !HoldsInstallation() && !ListFolderEntries(destPath).empty();
}

bool IsSharedFolder(const TDRXIniFile& UninstallIni) {
  return UninstallIni.ReadBool(kDestinationSection, kSharedFolderKey, false);
}

std::vector<UString> OwnFilesInDestination() {
  const UString& destPath = Installer->DestPath();
  std::vector<UString> files;
  TInstallerResources& resources = Installer->Resources();
  const TInstallerScriptGroup& components = resources.Script().Components;
  for (int i = 0; i < components.Count(); ++i) {
    const UString target = resources.ExpandPath(components.Items(i).Name);
    if (target.size() > destPath.size() && StartsText(target, destPath) &&
        FirstFolderLinkBelow(destPath, ExtractFilePath(target)).empty())
      files.push_back(target);
  }
  for (const UStringView name : {u"Uninstall.exe", u"Uninstall.dat"}) files.push_back(destPath + UString(name));
  for (const UStringView name : kConfigFileNames) files.push_back(destPath + UString(name));
  return files;
}

bool IsOwnBackupArchive(UStringView FileName) {
  const UString name = ExtractFileName(FileName);
  return StartsText(name, kArchivePrefix) && SameText(ExtractFileExt(name), u".zip");
}
