#pragma once
// The user accounts of the machine that have a profile folder (Windows): the
// current user first, then every account of the registry's profile list.

#include <memory>
#include <vector>

#include "DRX.Strings.h"

struct TDRXUserAccountInfo {
  UString UserName;
  UString AppDataPath;  // the roaming application-data folder, ending with a backslash
  UString ProfilePath;  // the profile folder, ending with a backslash
};

// Owns its accounts. Two accounts are the same when their ProfilePath texts
// are equal, letter case included.
class TDRXUserAccountInfoList {
 public:
  // Takes the account; drops it when its ProfilePath is listed already.
  // Returns the listed account, or nullptr when it was dropped.
  TDRXUserAccountInfo* Add(std::unique_ptr<TDRXUserAccountInfo> Account);
  TDRXUserAccountInfo* Add(const UString& UserName, const UString& AppDataPath, const UString& ProfilePath);
  int IndexOf(const UString& ProfilePath) const;
  size_t Count() const { return items_.size(); }
  TDRXUserAccountInfo& Items(size_t Index) const { return *items_.at(Index); }

 private:
  std::vector<std::unique_ptr<TDRXUserAccountInfo>> items_;
};

class TDRXUserAccounts {
 public:
  // Adds the current user, then the accounts of the profile list whose profile
  // folder exists and whose application-data folder is known. Raises EOSError
  // when a profile path cannot be expanded.
  static void Populate(TDRXUserAccountInfoList& List);
};

// A new list filled by TDRXUserAccounts::Populate.
std::unique_ptr<TDRXUserAccountInfoList> GetUserAccounts();
