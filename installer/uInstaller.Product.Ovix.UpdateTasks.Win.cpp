#include <windows.h>
#include <shlobj.h>

#include "uInstaller.Product.Ovix.UpdateTasks.h"

#include "DRX.Classes.StringList.h"
#include "DRX.Exceptions.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Product.Ovix.Profiles.h"

namespace {

// Skins of the 3.x and early 4.x players that the current player cannot read.
constexpr UStringView kLegacySkins[] = {u"Ovix3 Classic.oxs", u"Ovix3 Black Edition.oxs"};

struct TLegacyRename {
  UStringView OldName, NewName;
};
constexpr TLegacyRename kLegacyProfileRenames[] = {
    {u"Ovix3-cat.db", u"Ovix-cat.db"}, {u"ovix3_menu.ini", u"Ovix-ContextMenu.ini"},
    {u"Ovix3.ini", u"Ovix.ini"},       {u"Ovix3ac.ini", u"Ovixac.ini"},
    {u"Ovix3qel.ini", u"Ovixqel.ini"},
};
// Profile files of 3.x without a successor.
constexpr UStringView kLegacyProfileLeftovers[] = {u"Ovix3-SkinLayout.ini", u"Ovix3.bak", u"Ovix3ac.bak",
                                                   u"Ovix3qel.bak"};

int InstalledVersionId() { return Installer->ProductInfo().GetInstalledVersionId(); }

void RemoveShortcutsOf(const UString& name) {
  SafeDeleteFile(GetShellFolder(CSIDL_DESKTOP) + name + u".lnk");
  SafeDeleteFile(GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + name + u".lnk");
  for (const int menu : {CSIDL_STARTMENU, CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTMENU})
    DeleteFolderTree(GetShellFolder(menu) + name + u"\\");
}

}  // namespace

void TInstallerUpdateTaskRemoveShellMenu::Execute(TDRXStringList*) {
  for (const UStringView name : {u"System\\ovix_menu32.dll", u"System\\ovix_menu64.dll"}) {
    const UString library = Installer->DestPath() + UString(name);
    if (!FileExists(library)) continue;
    TInstallerActiveX::Unregister(library);
    SafeDeleteFile(library);
  }
}

void TInstallerUpdateTaskRemoveUninstallInfo::Execute(TDRXStringList*) {
  for (const UStringView name : {u"Ovix3", u"Ovix"}) {
    UString installPath;
    if (TInstallerApplicationRepository::GetInstallPath(UString(name), installPath) &&
        StartsText(installPath, Installer->DestPath()))
      TInstallerApplicationRepository::Unregister(UString(name));
  }
}

void TInstallerUpdateTaskRemoveShortcuts::Execute(TDRXStringList*) {
  RemoveShortcutsOf(u"Ovix");
  if (InstalledVersionId() < 4000) RemoveShortcutsOf(u"Ovix3");
}

void TInstallerUpdateTaskRemoveFromRegistry::Execute(TDRXStringList*) {
  // Quoted: a folder with spaces would otherwise start another program.
  RunAndWait(u"\"" + Installer->DestPath() + u"Rediruzu.exe\" /REG=U");
  TInstallerApplicationRepository::Unregister(Installer->ProductInfo().GetName());
}

void TInstallerUpdateTaskUpdateConfigs::Execute(TDRXStringList* DeleteList) {
  TSetupHelper::CopyFolder(Profile->InstalledProfilePath, Profile->ProfilePath);
  if (DeleteList) TSetupHelper::RemoveFromList(*DeleteList, Profile->ProfilePath);
  const int installed = InstalledVersionId();
  if (installed < 4000) RenameLegacyConfigs(DeleteList);
  if (installed < 4500) RemoveLegacySkins(DeleteList);
  if (installed < 4600) AddIfExists(DeleteList, Profile->ProfilePath + u"AlbumArts.db");
  if (installed < 5020) UpdateAlbumArtFiles(DeleteList);
}

void TInstallerUpdateTaskUpdateConfigs::RenameLegacyConfigs(TDRXStringList* DeleteList) {
  RenameFile(Installer->DestPath(), u"Ovix3.ini", u"Ovix.ini");
  for (const TLegacyRename& rename : kLegacyProfileRenames)
    RenameFile(Profile->ProfilePath, UString(rename.OldName), UString(rename.NewName));
  for (const UStringView name : kLegacyProfileLeftovers) AddIfExists(DeleteList, Profile->ProfilePath + UString(name));
}

void TInstallerUpdateTaskUpdateConfigs::RemoveLegacySkins(TDRXStringList* DeleteList) {
  for (const UStringView name : kLegacySkins)
    AddIfExists(DeleteList, Installer->DestPath() + u"Skins\\" + UString(name));
}

void TInstallerUpdateTaskUpdateConfigs::UpdateAlbumArtFiles(TDRXStringList* DeleteList) {
  // The album-art caches are rebuilt by the player: a failure here loses nothing.
  try {
    AddIfExists(DeleteList, Profile->ProfilePath + u"AlbumArtCache.db");
    RenameFile(Profile->ProfilePath, u"AlbumArtsForURLs.db", u"AlbumArts.Custom.db");
  } catch (const Exception&) {
  }
}

void TInstallerUpdateTaskUpdateConfigs::RenameFile(const UString& Folder, const UString& OldName,
                                                   const UString& NewName) {
  if (!FileExists(Folder + OldName)) return;
  if (!MoveFileW(W(Folder + OldName), W(Folder + NewName))) RaiseLastOSError();
}

void TInstallerUpdateTaskUpdateConfigs::AddIfExists(TDRXStringList* List, const UString& FileName) {
  if (List && FileExists(FileName)) List->Add(FileName);
}

void TSetupHelper::CopyFolder(const UString& Source, const UString& Target) {
  if (SameText(Source, Target)) return;
  if (!CopyFolderTree(Source, Target))
    throw EInstallerInstallError(Format(u"Cannot copy \"%s\" to \"%s\"", {Source, Target}));
}

void TSetupHelper::RemoveFromList(TDRXStringList& List, const UString& Prefix) {
  for (int i = List.Count() - 1; i >= 0; --i)
    if (StartsText(List.Strings(i), Prefix)) List.Delete(i);
}
