#pragma once
// Where the player keeps its user profiles: one per account in the account's
// application-data folder, or the "Profile" folder of a portable installation.
// The folder's name changed with version 4.00 ("Ovix3" before, the product's
// name since), so a profile has a folder for the installed version and one for
// the version being installed.

#include <memory>
#include <vector>

#include "DRX.Strings.h"

struct TDRXUserAccountInfo;

struct TInstallerProfileInfo {
  UString UserName;              // the account's name, "SingleUser" for a portable installation
  UString ProfilePath;           // the folder for the version being installed, with a trailing backslash
  UString InstalledProfilePath;  // the folder for the version found in DestPath, with a trailing backslash
};

// Owns its records.
class TInstallerProfileInfoList {
 public:
  TInstallerProfileInfo& Add(const UString& UserName, const UString& ProfilePath, const UString& InstalledProfilePath);
  int Count() const { return static_cast<int>(items_.size()); }
  TInstallerProfileInfo& Items(int Index) const { return *items_.at(Index); }
  // Adds the profile of every candidate (the portable installation's, or every
  // user account's) whose folder for the installed version exists and is no
  // link. Raises EOSError when the accounts cannot be listed.
  void Populate();

 private:
  std::vector<std::unique_ptr<TInstallerProfileInfo>> items_;
};

// Without an account the profile is the portable one in DestPath.
class TInstallerProfileHelper {
 public:
  static UString GetProfilePath(const TDRXUserAccountInfo* Account, int VersionId);
  // For the version in the setup package.
  static UString GetNewProfilePath(const TDRXUserAccountInfo* Account);
  // For the version found in DestPath (0 without an installation).
  static UString GetInstalledProfilePath(const TDRXUserAccountInfo* Account);
};
