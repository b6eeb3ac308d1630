#include <windows.h>

#include "uInstaller.Product.Ovix.Actions.Prepare.h"

#include <climits>

#include "DRX.Classes.StringList.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Destination.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Extract.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.FolderCache.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Core.Script.h"
#include "uInstaller.Core.Summary.h"
#include "uInstaller.Product.Ovix.Backup.h"
#include "uInstaller.Product.Ovix.Destination.h"
#include "uInstaller.Product.Ovix.h"

namespace {

constexpr int64_t kBackupSizeLimit = 2147483648LL;  // 2 GiB
constexpr int kKeptArchives = 3;

// Deleted with the old installation but not worth archiving: caches and the old updater.
constexpr UStringView kNotArchived[] = {u"AlbumArts.cache", u"AlbumArts.db", u"AlbumArtsCache.db", u"AlbumArtCache.db",
                                        u"UpdateInstaller.exe"};

// A DirectShow decoder that 3.x players put into the system folder.
constexpr UStringView kObsoleteSystemCodec = u"ovixdec.ax";

// Plug-in folders of earlier versions, removed when the installed version is below the threshold.
struct TObsoletePlugin {
  UStringView Folder;
  int InstalledBelow;
};
constexpr int kAlways = INT_MAX;
constexpr TObsoletePlugin kObsoletePlugins[] = {
    {u"AudioCD", 4002},        {u"Equalizer", 4002}, {u"LastFM", 4002},
    {u"Visualizations", 4002}, {u"WinampDSP", 4002}, {u"VideoRenderer", 4699},
    {u"Shoutcast", 5030},      {u"MMKeys", kAlways}, {u"SkypeStatus", kAlways},
};

// Folders whose content is the user's own and survives an update.
constexpr UStringView kUserContentFolders[] = {u"Icons\\", u"System\\Data\\", u"System\\Encoders\\", u"Skins\\"};

const UString& DestPath() { return Installer->DestPath(); }
int InstalledVersionId() { return Installer->ProductInfo().GetInstalledVersionId(); }

UString SystemFolder() {
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  return length > 0 && length < MAX_PATH ? IncludeTrailingBackslash(FromW(folder, length)) : UString();
}

UString LocalTimeText() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return Format(u"%.4d.%.2d.%.2d %.2d-%.2d-%.2d",
                {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

}  // namespace

UString BackupFolder() { return DestPath() + u"!Backup\\"; }

UString BackupArchiveName() {
  return u"z Before install " + Installer->ProductInfo().GetVersion() + u" [" + LocalTimeText() + u"].zip";
}

TInstallerActionPrepare::TInstallerActionPrepare() : Profiles(std::make_unique<TInstallerProfileInfoList>()) {}

TInstallerActionPrepare::~TInstallerActionPrepare() = default;

void TInstallerActionPrepare::Execute() {
  Position = 0;
  TDRXStringList deleteList;
  RefuseProtectedDestination(DestPath());
  // What is in the destination is archived, replaced or deleted only for a
  // product package that is known to be intact. Into a new folder the files
  // are written while it is still being decoded (the extraction checks it);
  // the tasks before them only clear the shell entries this run makes anew.
  if (DirectoryExists(DestPath())) Resources().VerifyProductPackage();
  Installer->ExtractHelper().RequireSources(TInstallerActionExtract::FilesToExtract());
  RecordSharedFolder(IsSharedDestination());
  Profiles->Populate();
  CreateUpdateTasks();
  Total = static_cast<int>(Tasks.size());
  if (!Installer->HasFlag(ifNoBackup)) BackupFiles(deleteList);
  if (Installer->HasFlag(ifUpdate)) KeepUserContent(deleteList);
  AddOldBackups(deleteList);
  AddObsoleteFiles(deleteList);
  AddComponentTargets(deleteList);
  deleteList.RemoveDuplicates();
  RunUpdateTasks(deleteList);
  DeleteFiles(deleteList);
}

// The uninstall data is made from the settings store: the uninstaller and the
// next setup learn from it that the folder is not the player's alone.
void TInstallerActionPrepare::RecordSharedFolder(bool shared) {
  sharedFolder_ = shared;
  if (shared) {
    Settings().WriteBool(kDestinationSection, kSharedFolderKey, true);
  } else {
    Settings().DeleteKey(kDestinationSection, kSharedFolderKey);
  }
}

void TInstallerActionPrepare::CreateUpdateTasks() {
  const bool update = Installer->HasFlag(ifUpdate);
  if (!Installer->HasFlag(ifPortable) && (!update || InstalledVersionId() < 4000)) {
    Tasks.push_back(std::make_unique<TInstallerUpdateTaskRemoveShellMenu>());
    Tasks.push_back(std::make_unique<TInstallerUpdateTaskRemoveUninstallInfo>());
    Tasks.push_back(std::make_unique<TInstallerUpdateTaskRemoveShortcuts>());
  }
  if (!update) return;
  for (int i = 0; i < Profiles->Count(); ++i)
    Tasks.push_back(std::make_unique<TInstallerUpdateTaskUpdateConfigs>(Profiles->Items(i)));
}

void TInstallerActionPrepare::BackupFiles(TDRXStringList& deleteList) {
  TInstallerFileList files;
  const UString excluded = BackupFolder();
  if (Installer->HasFlag(ifPortable)) {
    AddProgramFolder(files, u"");
  } else {
    for (int i = 0; i < Profiles->Count(); ++i) {
      const TInstallerProfileInfo& profile = Profiles->Items(i);
      files.AddFolder(profile.InstalledProfilePath, excluded, u"Profiles\\" + profile.UserName + u"\\");
    }
    AddProgramFolder(files, u"Program\\");
  }
  for (int i = 0; i < files.Count(); ++i) deleteList.Add(files.Items(i).FileName);
  for (const UStringView name : kNotArchived) files.RemoveByName(name);
  Total += files.Count();  // the files archived, so that the progress reaches its end
  WriteBackup(files);
}

void TInstallerActionPrepare::AddProgramFolder(TInstallerFileList& files, const UString& archivePrefix) {
  const UString& destPath = DestPath();
  if (!sharedFolder_) {
    files.AddFolder(destPath, BackupFolder(), archivePrefix);
    return;
  }
  // The other files of a shared folder are not the installation's to archive or delete.
  for (const UString& file : OwnFilesInDestination()) {
    if (FileExists(file)) files.Add(file, archivePrefix + file.substr(destPath.size()));
  }
  const UString portableProfile = TInstallerProfileHelper::GetProfilePath(nullptr, 0);
  if (Installer->HasFlag(ifPortable)) files.AddFolder(portableProfile, BackupFolder(), archivePrefix + u"Profile\\");
}

void TInstallerActionPrepare::WriteBackup(const TInstallerFileList& files) {
  SetStatus(CommonString(u"A1"));
  if (files.Count() == 0) return;
  if (BackupSize(files) >= kBackupSizeLimit) throw EInstallerBackupError(u"Too many files for backup");
  Installer->ExtractHelper().ForceFolder(BackupFolder());
  archiveFileName_ = BackupFolder() + BackupArchiveName();
  WriteBackupArchive(archiveFileName_, files, [this] { StepDone(); });
}

void TInstallerActionPrepare::KeepUserContent(TDRXStringList& deleteList) {
  if (InstalledVersionId() >= 3600) TSetupHelper::RemoveFromList(deleteList, DestPath() + u"Plugins\\");
  for (const UStringView folder : kUserContentFolders)
    TSetupHelper::RemoveFromList(deleteList, DestPath() + UString(folder));
}

void TInstallerActionPrepare::AddOldBackups(TDRXStringList& deleteList) {
  const UString folder = BackupFolder();
  if (IsFolderLink(folder)) return;  // the archives behind it are not this installation's
  TDRXStringList archives;
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    // In a shared folder only the archives this setup names itself are its own.
    const bool archive = sharedFolder_ ? IsOwnBackupArchive(entry.Name) : SameText(ExtractFileExt(entry.Name), u".zip");
    if (entry.Kind == fekFile && archive) archives.Add(folder + entry.Name);
  }
  archives.Sort();
  // The archive of this run holds what this run deletes: it always stays, and
  // one more of the others goes when it is not among the last by name.
  const int surplus = archives.Count() - kKeptArchives;
  const int current = archives.IndexOf(archiveFileName_);
  if (current >= 0) archives.Delete(current);
  for (int i = 0; i < surplus; ++i) deleteList.Add(archives.Strings(i));
}

void TInstallerActionPrepare::AddObsoleteFiles(TDRXStringList& deleteList) {
  const UString codec = SystemFolder() + UString(kObsoleteSystemCodec);
  if (FileExists(codec)) deleteList.Add(codec);
  if (sharedFolder_) return;  // a plug-in folder there may be anybody's
  const int installed = InstalledVersionId();
  for (const TObsoletePlugin& plugin : kObsoletePlugins) {
    const UString folder = DestPath() + u"Plugins\\" + UString(plugin.Folder) + u"\\";
    // Through a link the files would be those of the folder it points to.
    if (installed < plugin.InstalledBelow && FirstFolderLinkBelow(DestPath(), folder).empty())
      FindFiles(folder, u"", deleteList);
  }
}

void TInstallerActionPrepare::AddComponentTargets(TDRXStringList& deleteList) {
  const TInstallerScriptGroup& components = Script().Components;
  TInstallerFolderCache folders(DestPath());
  for (int i = 0; i < components.Count(); ++i) {
    const UString target = Resources().ExpandPath(components.Items(i).Name);
    // Behind a folder link lies another folder's file (the extraction refuses to write there).
    if (folders.IsFreeOfLinks(ExtractFilePath(target))) deleteList.Add(target);
  }
}

void TInstallerActionPrepare::RunUpdateTasks(TDRXStringList& deleteList) {
  SetStatus(CommonString(u"A5"));
  for (const auto& task : Tasks) {
    task->Execute(&deleteList);
    StepDone();
  }
}

void TInstallerActionPrepare::DeleteFiles(TDRXStringList& deleteList) {
  SetStatus(CommonString(u"A3"));
  TInstallerFolderCache cache(DestPath());
  TDRXStringList folders;
  for (int i = 0; i < deleteList.Count(); ++i) {
    // A fresh installation lists every target in folders that do not exist yet.
    const UString folder = ExtractFilePath(deleteList.Strings(i));
    if (!cache.Exists(folder)) continue;
    SafeDeleteFile(deleteList.Strings(i));
    folders.Add(folder);
  }
  folders.RemoveDuplicates();
  folders.Sort();
  // Deepest first, so that a folder emptied below another goes before it; only
  // the deleted files' own folders are tried, never their parents.
  for (int i = folders.Count() - 1; i >= 0; --i) RemoveDirectoryW(W(folders.Strings(i)));
}

void TInstallerActionPrepare::StepDone() {
  ++Position;
  SetProgress(MulDiv(Position, 100, Total));
}

void TInstallerActionPrepare::BuildSummary(TInstallerSummaryBuilder& builder) {
  builder.BeginSection(u"PageSetup", u"LB1");
  builder.AddItem(DestPath());
  builder.BeginSection(u"PageSetup", u"Title");
  const bool update = Installer->HasFlag(ifUpdate), portable = Installer->HasFlag(ifPortable);
  builder.AddItem(u"PageSetup", update ? u"CB1" : portable ? u"CB3" : u"CB2");
  if (!Installer->HasFlag(ifNoBackup)) builder.AddItem(u"PageSetup", u"CB4");
  if (IsOtherInstallationPresent()) {
    builder.BeginSection(u"PageSetup", u"Title");
    builder.AddItem(u"PageSetup", u"W3");
  }
}
