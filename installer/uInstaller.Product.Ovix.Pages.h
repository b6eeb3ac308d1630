#pragma once
// The player's own wizard pages: where and how to install, the add-on offer,
// shortcuts and shell integration, and what else an uninstall removes. The
// pages only edit the installer's destination and flags and Boolean values of
// its settings store; Prepare reads them again each time a page is shown.

#include <functional>
#include <memory>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "uInstaller.UI.Pages.h"

class TDRXEdit;
class TDRXFormattedLabel;
class TDRXValidationLabel;

// A Boolean setting shown by a box of a page: the box's name, its 96-DPI
// rectangle and the key in the settings store.
struct TPageSetting {
  UStringView Box;
  TRect Bounds96;
  UStringView Key;
};

// A page of boxes, each one a Boolean value of one section of the settings.
class TInstallerPageSettings : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageSettings";
  UString ClassName() const override { return UString(kClassName); }

 protected:
  // One box per setting, of the section given; a click on any writes them all.
  void CreateSettingBoxes(UStringView section, const std::vector<TPageSetting>& settings);
  // Each box := its value in the store, the default where there is none.
  void ReadSettings(bool defaultValue);
  void WriteSettings();

 private:
  UString section_;
  std::vector<TPageSetting> settings_;
  std::vector<TDRXCheckBox*> boxes_;
};

class TInstallerPageSetup : public TInstallerPage {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageSetup";
  UString ClassName() const override { return UString(kClassName); }
  TInstallerPageSetup();
  ~TInstallerPageSetup() override;

  void CreateControls() override;
  void Localize() override;
  bool CanGoNext() const override { return !Installer->DestPath().empty(); }
  void Prepare() override { Refresh(); }

  // What Browse shows: the folder browser, owned by the window given. Tests replace it.
  using TBrowseForFolder = std::function<bool(UString& path, HWND__* owner)>;
  static void SetBrowseForFolder(TBrowseForFolder browse);

  TDRXEdit* PathEdit() const { return pathEdit_; }
  const std::vector<std::unique_ptr<TDRXValidationLabel>>& Warnings() const { return warnings_; }
  // The Browse button's work: the chosen folder, named after the product unless it already is.
  void Browse();

 private:
  void Refresh();
  void RefreshOptions();
  void RefreshMode();
  void RefreshWarnings();
  void AddWarning(UStringView key);
  void EditChanged();
  void OptionClicked();
  void ModeClicked();
  void SetPath(const UString& text);

  TDRXEdit* pathEdit_ = nullptr;
  bool editing_ = false;  // the edit itself is changing the destination
  TDRXCheckBox* updateBox_ = nullptr;
  TDRXCheckBox* backupBox_ = nullptr;
  TDRXRadioBox* normalBox_ = nullptr;
  TDRXRadioBox* portableBox_ = nullptr;
  std::vector<std::unique_ptr<TDRXValidationLabel>> warnings_;
};

// The folder for the product from a folder the user chose: the folder itself
// when its last name is the product's name (any letter case), else the
// product's folder inside it.
UString ProductFolderIn(const UString& chosen, const UString& productName);

class TInstallerPageIntegration : public TInstallerPageSettings {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageIntegration";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  bool IsAvailable() const override { return !Installer->HasFlag(ifPortable) && !Installer->HasFlag(ifUpdate); }
  void Prepare() override;
};

// The add-on offer, described by the package file "addons.ini": its image at
// the top right and two formatted labels with the add-on's name and links.
class TInstallerPageAddons : public TInstallerPageSettings {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageAddons";
  UString ClassName() const override { return UString(kClassName); }
  // Reads "addons.ini" and its image; a missing one is the resources' missing-file error.
  TInstallerPageAddons();
  ~TInstallerPageAddons() override;

  // An interactive setup in the language "Russian".
  static bool IsApplicable();

  void CreateControls() override;
  void Localize() override;
  void Prepare() override;
  TDRXFormattedLabel* LicenseLabel() const { return licenseLabel_; }
  TDRXFormattedLabel* LinksLabel() const { return linksLabel_; }

 protected:
  void Paint(HDC__* dc) override;

 private:
  UString AddonValue(UStringView name) const;

  std::unique_ptr<TDRXStringList> description_;
  std::unique_ptr<TDRXImage> image_;
  TDRXFormattedLabel* licenseLabel_ = nullptr;
  TDRXFormattedLabel* linksLabel_ = nullptr;
};

class TInstallerPageUninstallParams : public TInstallerPageSettings {
 public:
  static constexpr UStringView kClassName = u"TInstallerPageUninstallParams";
  UString ClassName() const override { return UString(kClassName); }
  void CreateControls() override;
  void Prepare() override { ReadSettings(false); }
};
