#include "TestAccounts.h"

#include <gtest/gtest.h>

namespace {
const UString kProfileList = u"Software\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList\\";
const UString kUserShellFolders = u"\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetString(HKEY root, const UString& key, const UString& name, const UString& value, DWORD type = REG_SZ) {
  HKEY handle;
  ASSERT_EQ(RegCreateKeyExW(root, W(key), 0, nullptr, 0, KEY_WRITE | KEY_WOW64_64KEY, nullptr, &handle, nullptr),
            ERROR_SUCCESS);
  const DWORD size = static_cast<DWORD>((value.size() + 1) * sizeof(char16_t));
  EXPECT_EQ(RegSetValueExW(handle, W(name), 0, type, reinterpret_cast<const BYTE*>(value.c_str()), size),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}
}  // namespace

TFakeAccounts::TFakeAccounts()
    : stem_(u"S-1-5-21-" + IntToStr(GetCurrentProcessId()) + u"-" + IntToStr(GetTickCount64() % 100000) + u"-3-") {}

TFakeAccounts::~TFakeAccounts() {
  for (const UString& sid : sids_) {
    RegDeleteKeyExW(HKEY_LOCAL_MACHINE, W(kProfileList + sid), KEY_WOW64_64KEY, 0);
    RegDeleteTreeW(HKEY_USERS, W(sid));
  }
}

UString TFakeAccounts::Add(const UString& rid, const UString& profileImagePath, DWORD type) {
  sids_.push_back(stem_ + rid);
  SetString(HKEY_LOCAL_MACHINE, kProfileList + sids_.back(), u"ProfileImagePath", profileImagePath, type);
  return sids_.back();
}

void TFakeAccounts::LoadHive(const UString& sid, const UString& appData) {
  SetString(HKEY_USERS, sid + kUserShellFolders, u"AppData", appData, REG_EXPAND_SZ);
}

UString DefaultAppDataLayout() {
  wchar_t value[1024];
  DWORD size = sizeof value;
  const LSTATUS status = RegGetValueW(HKEY_USERS, W(u".DEFAULT" + kUserShellFolders), L"AppData",
                                      RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &size);
  return status == ERROR_SUCCESS ? FromW(value) : UString();
}
