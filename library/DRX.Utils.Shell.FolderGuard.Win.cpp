#include <windows.h>
#include <shlobj.h>

#include "DRX.Utils.Shell.FolderGuard.h"

#include <memory>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.UserAccounts.h"
#include "DRX.Utils.Shell.h"

namespace {

// The current user's and the shared shell folders that are nobody's to install into.
constexpr int kShellFolders[] = {
    CSIDL_PROFILE,         CSIDL_APPDATA,          CSIDL_LOCAL_APPDATA,        CSIDL_DESKTOPDIRECTORY,
    CSIDL_PERSONAL,        CSIDL_MYMUSIC,          CSIDL_MYPICTURES,           CSIDL_MYVIDEO,
    CSIDL_FAVORITES,       CSIDL_STARTMENU,        CSIDL_PROGRAMS,             CSIDL_STARTUP,
    CSIDL_SENDTO,          CSIDL_RECENT,           CSIDL_TEMPLATES,            CSIDL_NETHOOD,
    CSIDL_PRINTHOOD,       CSIDL_COOKIES,          CSIDL_HISTORY,              CSIDL_INTERNET_CACHE,
    CSIDL_CDBURN_AREA,     CSIDL_COMMON_APPDATA,   CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_COMMON_DOCUMENTS,
    CSIDL_COMMON_MUSIC,    CSIDL_COMMON_PICTURES,  CSIDL_COMMON_VIDEO,         CSIDL_COMMON_STARTMENU,
    CSIDL_COMMON_PROGRAMS, CSIDL_COMMON_STARTUP,   CSIDL_COMMON_TEMPLATES,     CSIDL_COMMON_ADMINTOOLS,
    CSIDL_COMMON_FAVORITES, CSIDL_PROGRAM_FILES,   CSIDL_PROGRAM_FILESX86,     CSIDL_PROGRAM_FILES_COMMON,
    CSIDL_PROGRAM_FILES_COMMONX86,
};

// Known folders without a CSIDL value.
const KNOWNFOLDERID* const kKnownFolders[] = {
    &FOLDERID_UserProfiles, &FOLDERID_Public,     &FOLDERID_PublicDownloads, &FOLDERID_Downloads,
    &FOLDERID_LocalAppDataLow, &FOLDERID_SavedGames, &FOLDERID_Links,        &FOLDERID_Contacts,
    &FOLDERID_ProgramFilesX64, &FOLDERID_ProgramFilesCommonX64,
};

// Folders that every profile has in the usual layout, also where the
// account's registry hive is not loaded and its own shell folders are unknown.
constexpr UStringView kProfileFolders[] = {
    u"AppData\\",   u"AppData\\Local\\", u"AppData\\LocalLow\\", u"AppData\\Roaming\\", u"AppData\\Local\\Temp\\",
    u"Desktop\\",   u"Documents\\",      u"Downloads\\",         u"Music\\",             u"Pictures\\",
    u"Videos\\",    u"Favorites\\",      u"Links\\",             u"Contacts\\",          u"Saved Games\\",
    u"Searches\\",  u"OneDrive\\",       u"3D Objects\\",
};

// Folders of the system drive that belong to the system, with everything inside.
constexpr UStringView kSystemDriveTrees[] = {u"$Recycle.Bin\\", u"System Volume Information\\", u"Recovery\\"};

const UString kProfileList = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";

UString KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  UString result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)) && path && path[0])
    result = IncludeTrailingBackslash(FromW(path));
  CoTaskMemFree(path);
  return result;
}

UString WindowsFolder() {
  wchar_t buffer[MAX_PATH];
  const UINT length = GetSystemWindowsDirectoryW(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) RaiseLastOSError();
  return IncludeTrailingBackslash(FromW(buffer, length));
}

UString ExpandedValue(const TDRXRegistryKey& key, const UString& name) {
  const UString value = key.ReadString(name);
  if (value.empty()) return {};
  wchar_t buffer[MAX_PATH];
  const DWORD length = ExpandEnvironmentStringsW(W(value), buffer, MAX_PATH);
  return length > 1 && length <= MAX_PATH ? IncludeTrailingBackslash(FromW(buffer, length - 1)) : UString();
}

// The profile list names the profiles' folder, the default profile and Public.
void AddProfileListFolders(std::vector<TDRXProtectedFolder>& folders) {
  TDRXRegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kProfileList, KEY_READ)) return;
  const UString profiles = ExpandedValue(key, u"ProfilesDirectory");
  if (!profiles.empty()) folders.push_back({profiles, fsFolder});
  UString defaultProfile = ExpandedValue(key, u"Default");
  if (defaultProfile.empty() && !profiles.empty()) defaultProfile = profiles + u"Default\\";
  if (!defaultProfile.empty()) folders.push_back({defaultProfile, fsTree});
  const UString publicProfile = ExpandedValue(key, u"Public");
  if (!publicProfile.empty()) folders.push_back({publicProfile, fsFolder});
}

void AddAccountFolders(std::vector<TDRXProtectedFolder>& folders) {
  const std::unique_ptr<TDRXUserAccountInfoList> accounts = GetUserAccounts();
  for (size_t i = 0; i < accounts->Count(); ++i) {
    const TDRXUserAccountInfo& account = accounts->Items(i);
    folders.push_back({account.ProfilePath, fsFolder});
    folders.push_back({account.AppDataPath, fsFolder});
    for (const UStringView folder : kProfileFolders)
      folders.push_back({account.ProfilePath + UString(folder), fsFolder});
  }
}

// Every protected folder but the accounts' own.
std::vector<TDRXProtectedFolder> SystemFoldersAsNamed() {
  const UString windows = WindowsFolder();
  std::vector<TDRXProtectedFolder> folders = {{windows, fsTree}, {GetShellFolder(CSIDL_SYSTEM), fsTree}};
  const UString systemDrive = windows.substr(0, 3);
  for (const UStringView tree : kSystemDriveTrees) folders.push_back({systemDrive + UString(tree), fsTree});
  const UString programData = GetShellFolder(CSIDL_COMMON_APPDATA);
  folders.push_back({programData + u"Microsoft\\", fsTree});
  for (const int csidl : kShellFolders) folders.push_back({GetShellFolder(csidl), fsFolder});
  for (const KNOWNFOLDERID* id : kKnownFolders) {
    const UString folder = KnownFolder(*id);
    if (!folder.empty()) folders.push_back({folder, fsFolder});
  }
  // Also as the 32-bit view names it, whether or not this system has one.
  folders.push_back({ExcludeTrailingBackslash(GetShellFolder(CSIDL_PROGRAM_FILES)) + u" (x86)\\", fsFolder});
  folders.push_back({PlatformTempFolder(), fsFolder});
  folders.push_back({ExtractFilePath(ExcludeTrailingBackslash(GetShellFolder(CSIDL_PROFILE))), fsFolder});
  AddProfileListFolders(folders);
  return folders;
}

std::vector<TDRXProtectedFolder> Resolved(std::vector<TDRXProtectedFolder> folders) {
  for (TDRXProtectedFolder& folder : folders) {
    const UString resolved = GetFinalPathName(folder.Path);
    folder.Path = IncludeTrailingBackslash(resolved.empty() ? ExpandFileName(folder.Path) : resolved);
  }
  return folders;
}

}  // namespace

std::vector<TDRXProtectedFolder> GetProtectedFolders() {
  // The system's folders are named and resolved once a process (some forty,
  // tens of milliseconds): they do not move while a setup runs. A failure is
  // no answer and is tried again at the next call. The accounts are asked
  // every time.
  static const std::vector<TDRXProtectedFolder> systemFolders = Resolved(SystemFoldersAsNamed());
  std::vector<TDRXProtectedFolder> accountFolders;
  AddAccountFolders(accountFolders);
  std::vector<TDRXProtectedFolder> folders = systemFolders;
  for (TDRXProtectedFolder& folder : Resolved(std::move(accountFolders))) folders.push_back(std::move(folder));
  return folders;
}

TDRXFolderCheck CheckFolder(const UString& Folder) {
  if (Trim(Folder).empty()) return {fcUnresolved, Folder, {}};
  const UString resolved = GetFinalPathName(IncludeTrailingBackslash(Folder));
  if (resolved.empty()) return {fcUnresolved, Folder, {}};
  try {
    return MatchProtectedFolders(resolved, GetProtectedFolders());
  } catch (const Exception&) {
    return {fcUnresolved, resolved, {}};  // when the system cannot tell, nothing is decided
  }
}

bool IsProtectedFolder(const UString& Folder) { return CheckFolder(Folder).Conflict != fcNone; }
