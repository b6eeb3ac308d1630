#include <windows.h>
#include <shlobj.h>

#include "DRX.Utils.Shell.UserAccounts.h"

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.h"

TDRXUserAccountInfo* TDRXUserAccountInfoList::Add(std::unique_ptr<TDRXUserAccountInfo> Account) {
  if (!Account || IndexOf(Account->ProfilePath) >= 0) return nullptr;
  items_.push_back(std::move(Account));
  return items_.back().get();
}

TDRXUserAccountInfo* TDRXUserAccountInfoList::Add(const UString& UserName, const UString& AppDataPath,
                                                  const UString& ProfilePath) {
  return Add(std::make_unique<TDRXUserAccountInfo>(TDRXUserAccountInfo{UserName, AppDataPath, ProfilePath}));
}

int TDRXUserAccountInfoList::IndexOf(const UString& ProfilePath) const {
  for (size_t index = 0; index < items_.size(); ++index)
    if (items_[index]->ProfilePath == ProfilePath) return static_cast<int>(index);
  return -1;
}

namespace {
const UString kProfileList = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
const UString kUserShellFolders = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders\\";

UString CurrentUserName() {
  wchar_t buffer[128];
  DWORD length = 128;
  return GetUserNameW(buffer, &length) ? FromW(buffer) : UString();
}

UString ExpandEnvironment(const UString& text) {
  constexpr DWORD kCapacity = 32767;
  UString result(kCapacity, u'\0');
  const DWORD length = ExpandEnvironmentStringsW(W(text), W(result), kCapacity);
  if (length == 0) RaiseLastOSError();
  if (length > kCapacity) RaiseOSError(ERROR_INSUFFICIENT_BUFFER);
  result.resize(length - 1);
  return result;
}

// The account's own "AppData" shell folder as stored, or the default layout's
// when the account's registry hive is not loaded.
UString StoredAppDataFolder(const UString& sid) {
  TDRXRegistryKey key;
  if (!key.Open(HKEY_USERS, sid + u"\\" + kUserShellFolders, KEY_READ) &&
      !key.Open(HKEY_USERS, u".DEFAULT\\" + kUserShellFolders, KEY_READ))
    return {};
  return key.ReadString(u"AppData");
}

// Replaces "%USERPROFILE%" in any letter case; other variables stay.
UString ReplaceUserProfile(const UString& text, const UString& profile) {
  static const UString kVariable = u"%USERPROFILE%";
  const UString folded = UpperCaseAscii(text);
  UString result;
  size_t done = 0;
  for (size_t found = folded.find(kVariable); found != UString::npos; found = folded.find(kVariable, done)) {
    result += text.substr(done, found - done) + profile;
    done = found + kVariable.size();
  }
  return result + text.substr(done);
}

std::unique_ptr<TDRXUserAccountInfo> ProfileListAccount(const UString& sid) {
  if (SameText(ExtractFileExt(sid), u".bak")) return nullptr;
  TDRXRegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kProfileList + sid, KEY_READ)) return nullptr;
  const UString profile = ExcludeTrailingBackslash(ExpandEnvironment(key.ReadString(u"ProfileImagePath")));
  key.Close();
  if (!DirectoryExists(profile)) return nullptr;
  const UString appData = ReplaceUserProfile(StoredAppDataFolder(sid), profile);
  if (appData.empty()) return nullptr;
  return std::make_unique<TDRXUserAccountInfo>(
      TDRXUserAccountInfo{ExtractFileName(profile), IncludeTrailingBackslash(appData), IncludeTrailingBackslash(profile)});
}
}  // namespace

void TDRXUserAccounts::Populate(TDRXUserAccountInfoList& List) {
  List.Add(CurrentUserName(), GetShellFolder(CSIDL_APPDATA), GetShellFolder(CSIDL_PROFILE));
  TDRXRegistryKey profiles;
  if (!profiles.Open(HKEY_LOCAL_MACHINE, kProfileList, KEY_READ)) return;
  for (const UString& sid : profiles.SubKeyNames()) List.Add(ProfileListAccount(sid));
}

std::unique_ptr<TDRXUserAccountInfoList> GetUserAccounts() {
  auto list = std::make_unique<TDRXUserAccountInfoList>();
  TDRXUserAccounts::Populate(*list);
  return list;
}
