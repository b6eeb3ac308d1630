#pragma once
// A small test product and real test packages for running TInstaller in tests:
// the packages are built with the package builder from named texts, and the
// product reads its "installation" from an INI file in the destination.

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "uInstaller.Core.Actions.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"

// Entry name -> bytes.
using TTestEntries = std::map<UString, std::string>;

// The stored form of a package holding the entries.
std::string BuildTestPackage(const TTestEntries& entries);
// A committed package holding the entries, read back through the stream form.
std::unique_ptr<TSetupPackageReader> MakeTestPackage(const TTestEntries& entries);

// The default test setup package: Install.xml naming "Ovix Test" 5010 with two
// components (one for "RU" only), an action, two license files ("EN", "RU"),
// and English.lng (1033; "Common": E4 "Cancelled by user", E5 "Stopped
// unexpectedly"), Russian.lng (1049, family RU) and German.lng (1031).
TTestEntries DefaultSetupEntries();
// The default entries and the wizard's images of the demo release
// ("header.png", "header_dark.png", "wizard_light.png", "wizard_dark.png").
TTestEntries WizardSetupEntries();
// A package source for TInstaller built from the given entries.
TInstallerPackageSource TestPackages(TTestEntries setup = DefaultSetupEntries(), TTestEntries product = {});

// The test product: the installation in DestPath is described by "installed.ini"
// ([System] Version=<id>, Portable=0|1); the run's actions are ActionClasses.
class TTestProductInfo : public TInstallerProductInfo {
 public:
  static constexpr UStringView ClassName = u"TTestProductInfo";
  static std::vector<TInstallerActionClass> ActionClasses;
  // The wizard's question pages of a run.
  static std::vector<TInstallerPageClass> PageClasses;

  bool CanUpdate() override { return version_ >= 100; }
  bool IsPortableInstallation() override { return portable_; }
  int GetInstalledVersionId() override { return version_; }
  void Load() override;
  void PopulateActions(const TActionProc& proc) override;
  void PopulatePages(const TPageProc& proc) override;

 private:
  int version_ = 0;
  bool portable_ = false;
};

// Makes TTestProductInfo the product for the life of the guard.
class TTestProductGuard {
 public:
  TTestProductGuard();
  ~TTestProductGuard();

 private:
  TInstallerProductInfoClass previous_;
};

// Writes "installed.ini" into the folder (which must end with a separator).
void WriteTestInstallation(const UString& folder, int versionId, bool portable);
