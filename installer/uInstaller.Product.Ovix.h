#pragma once
// The Ovix media player as the installer's product: how an installation in the
// destination is read (its "Ovix.ini", older "Ovix3.ini") and judged, where an
// installation elsewhere on the machine is found, and which actions and
// wizard pages a run has.

#include <memory>

#include "uInstaller.Core.ProductInfo.h"

class TDRXIniFile;

class TProductInfoOvix : public TInstallerProductInfo {
 public:
  static constexpr UStringView ClassName = u"TProductInfoOvix";

  TProductInfoOvix();
  ~TProductInfoOvix() override;

  // The installation found by FindInstallPath, else the base's default.
  UString GetDefaultPath() override;
  // Installed versions 3500 to 5099.
  bool CanUpdate() override;
  // The configuration says "UserMode=0" in section "System".
  bool IsPortableInstallation() override;
  // "Version" of section "System"; 0 without a configuration.
  int GetInstalledVersionId() override;
  // Reads the configuration in DestPath ("Ovix.ini", else "Ovix3.ini"; a
  // missing or unreadable one reads as empty) and copies its section
  // "Integration" whole into the settings store.
  void Load() override;
  void PopulateActions(const TActionProc& proc) override;
  void PopulatePages(const TPageProc& proc) override;

  // The folder of an installation on this machine: the uninstall entry "Ovix",
  // else "Ovix3", else the folder of a running player's program.
  static bool FindInstallPath(UString& Path);

  // The configuration of the installation in DestPath; owned, never null.
  TDRXIniFile& Config() { return *config_; }

 private:
  std::unique_ptr<TDRXIniFile> config_;
};

// The player's configuration file, and the name older versions gave it.
inline constexpr UStringView kConfigFileNames[] = {u"Ovix.ini", u"Ovix3.ini"};
// The folder's configuration file: "Ovix.ini", else "Ovix3.ini"; empty when it holds neither.
UString ConfigFileIn(const UString& folder);

// Makes TProductInfoOvix the installer's product. The unit's initialisation
// does this too; a program calls it so that the linker keeps the unit.
void UseOvixProduct();

// The add-on offer applies: an interactive setup (neither ifAuto nor ifSilent)
// in the language "Russian". It decides both the Addons page and the add-on
// action. (The test of the Addons page, TInstallerPageAddons.IsApplicable.)
bool IsAddonOfferApplicable();

// An installation is present that this run does not update: the destination
// holds one, or (not portable) one is found elsewhere. False with ifUpdate.
// (The existing-installation test of the Setup page, warning "W3".)
bool IsOtherInstallationPresent();
