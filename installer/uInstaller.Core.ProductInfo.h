#pragma once
// What the generic core asks of the product: its identity from the script's
// settings, its default folders, whether the destination holds an installation
// it can update, and which actions and wizard pages a run has. The product
// sets ProductInfoClass to its subclass; the installer creates one instance.

#include <functional>

#include "DRX.Strings.h"
#include "uInstaller.Core.Actions.h"
#include "uInstaller.Core.Classes.h"

class TInstallerCustomPage;
// A wizard page class; one without a constructor is a page this build does not have.
using TInstallerPageClass = const TClassRef<TInstallerCustomPage>*;

class TInstallerProductInfo {
 public:
  using TActionProc = std::function<void(TInstallerActionClass)>;
  using TPageProc = std::function<void(TInstallerPageClass)>;

  virtual ~TInstallerProductInfo() = default;

  // Program Files folder + product name, with a trailing backslash.
  virtual UString GetDefaultPath();
  // The current user's desktop + product name, with a trailing backslash.
  virtual UString GetDefaultPortablePath();
  virtual UString GetHomePage();
  virtual bool CanUpdate() = 0;
  virtual bool IsPortableInstallation() = 0;
  virtual int GetInstalledVersionId() = 0;
  // Raises EInstallerGeneralError "TInstallerProductInfo.GetName" when the script names no product.
  virtual UString GetName();
  virtual UString GetPublisher();
  virtual UString GetVersion();
  virtual int GetVersionId();
  virtual UString GetFullVersion();
  // Reads whatever installation Installer.DestPath holds.
  virtual void Load() = 0;
  virtual void PopulateActions(const TActionProc& proc) = 0;
  virtual void PopulatePages(const TPageProc& proc) = 0;

  UString GetVersionNo();
  // The installed version as "major.hundredths" ("0.00" without an installation).
  UString GetInstalledVersionText();

 protected:
  UString Setting(UStringView name);
};

using TInstallerProductInfoClass = const TClassRef<TInstallerProductInfo>*;

// Set by the product before the program entry runs.
extern TInstallerProductInfoClass ProductInfoClass;
