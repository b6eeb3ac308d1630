#pragma once
// Made-up user accounts in the machine's profile list (Windows), some with a
// loaded registry hive of their own; every key is removed again.

#include <windows.h>

#include <vector>

#include "DRX.Strings.h"

class TFakeAccounts {
 public:
  TFakeAccounts();
  ~TFakeAccounts();
  TFakeAccounts(const TFakeAccounts&) = delete;
  TFakeAccounts& operator=(const TFakeAccounts&) = delete;

  // Adds a profile-list entry; returns its security identifier.
  UString Add(const UString& rid, const UString& profileImagePath, DWORD type = REG_EXPAND_SZ);
  // Gives the account a loaded hive whose "AppData" shell folder is `appData`.
  void LoadHive(const UString& sid, const UString& appData);

 private:
  UString stem_;
  std::vector<UString> sids_;
};

// The "AppData" value of the default user layout, as stored.
UString DefaultAppDataLayout();
