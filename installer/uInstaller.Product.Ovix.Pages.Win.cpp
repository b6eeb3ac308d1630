#include <windows.h>

#include "uInstaller.Product.Ovix.Pages.h"

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.FormattedLabel.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Dialogs.FolderBrowser.h"
#include "DRX.Utils.Paths.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.Product.Ovix.h"

namespace {

constexpr int32_t kBrowseButtonWidth = 100;
// Only the warnings are aligned; they keep this far from the page's edges.
constexpr TDRXMargins kSetupPagePadding{40, 20, 40, 20};
constexpr TDRXMargins kWarningMargins{0, 4, 0, 0};
constexpr int32_t kAddonImageRightGap = 10;

TInstallerPageSetup::TBrowseForFolder& BrowseForFolder() {
  static TInstallerPageSetup::TBrowseForFolder browse = &TDRXShellFolderBrowser::Execute;
  return browse;
}

HWND__* PageOwnerWindow(TDRXCustomControl& page) {
  TDRXWinControl* window = page.ParentWindow();
  return window ? window->Handle() : nullptr;
}

}  // namespace

UString ProductFolderIn(const UString& chosen, const UString& productName) {
  const UString folder = IncludeTrailingBackslash(chosen);
  if (SameText(ExtractFileName(ExcludeTrailingBackslash(folder)), productName)) return folder;
  return folder + productName;
}

// ---- TInstallerPageSettings ----

void TInstallerPageSettings::CreateSettingBoxes(UStringView section, const std::vector<TPageSetting>& settings) {
  section_ = UString(section);
  settings_ = settings;
  for (const TPageSetting& setting : settings)
    boxes_.push_back(CreateCheckBox(setting.Bounds96, setting.Box, [this](TDRXCustomControl&) { WriteSettings(); }));
}

void TInstallerPageSettings::ReadSettings(bool defaultValue) {
  for (size_t i = 0; i < boxes_.size(); ++i)
    boxes_[i]->SetChecked(Installer->Settings().ReadBool(section_, settings_[i].Key, defaultValue));
}

void TInstallerPageSettings::WriteSettings() {
  for (size_t i = 0; i < boxes_.size(); ++i)
    Installer->Settings().WriteBool(section_, settings_[i].Key, boxes_[i]->Checked());
}

// ---- TInstallerPageSetup ----

TInstallerPageSetup::TInstallerPageSetup() = default;

TInstallerPageSetup::~TInstallerPageSetup() = default;

void TInstallerPageSetup::SetBrowseForFolder(TBrowseForFolder browse) {
  BrowseForFolder() = browse ? std::move(browse) : TBrowseForFolder(&TDRXShellFolderBrowser::Execute);
}

void TInstallerPageSetup::CreateControls() {
  SetPadding(ScaleFactor().Apply(kSetupPagePadding));
  CreateHeaderLabel(Bounds(40, 30, 540, 20), u"LB1");
  pathEdit_ = CreateControl<TDRXEdit>(Bounds(60, 70, 540, 21), u"PathEdit");
  pathEdit_->OnChange = [this](TDRXCustomControl&) { EditChanged(); };
  // Named after its text, so that localising the page gives it its caption.
  TDRXEditButton& browse = pathEdit_->AddButton(ScaleFactor().Apply(kBrowseButtonWidth), GetText(u"Browse"));
  browse.SetName(u"Browse");
  browse.OnClick = [this](TDRXCustomControl&) { Browse(); };
  const auto optionClicked = [this](TDRXCustomControl&) { OptionClicked(); };
  updateBox_ = CreateCheckBox(Bounds(60, 100, 540, 17), u"CB1", optionClicked);
  backupBox_ = CreateCheckBox(Bounds(60, 120, 540, 17), u"CB4", optionClicked);
  CreateHeaderLabel(Bounds(40, 150, 540, 20), u"LB2");
  const auto modeClicked = [this](TDRXCustomControl&) { ModeClicked(); };
  portableBox_ = CreateRadioBox(Bounds(60, 190, 540, 16), u"CB3", modeClicked);
  CreateLabel(Bounds(79, 212, 500, 48), u"CB3Hint", true)->SetEnabled(false);
  normalBox_ = CreateRadioBox(Bounds(60, 248, 540, 16), u"CB2", modeClicked);
}

void TInstallerPageSetup::Localize() {
  TInstallerPage::Localize();
  pathEdit_->SetAccessibleName(StripAccelerator(GetText(u"LB1")));  // the label above it
}

void TInstallerPageSetup::Refresh() {
  Changed();
  if (!editing_) pathEdit_->SetText(Installer->DestPath());
  RefreshOptions();
  RefreshMode();
  RefreshWarnings();
}

void TInstallerPageSetup::RefreshOptions() {
  const bool updating = Installer->HasFlag(ifUpdate);
  updateBox_->SetChecked(updating);
  updateBox_->SetVisible(Installer->ProductInfo().CanUpdate());
  backupBox_->SetChecked(!Installer->HasFlag(ifNoBackup));
  backupBox_->SetVisible(updating);
}

// While updating, the mode is the installation's and cannot be changed.
void TInstallerPageSetup::RefreshMode() {
  const bool updating = Installer->HasFlag(ifUpdate);
  const bool base = updating ? Installer->ProductInfo().IsPortableInstallation() : Installer->HasFlag(ifPortable);
  const bool portable = base && !Installer->IsDestPathInProgramFiles();
  portableBox_->SetEnabled(!updating);
  normalBox_->SetEnabled(!updating);
  // Checking one radio box of the group unchecks the other.
  (portable ? portableBox_ : normalBox_)->SetChecked(true);
}

void TInstallerPageSetup::RefreshWarnings() {
  warnings_.clear();
  if (Installer->HasFlag(ifUpdate)) AddWarning(u"W1");
  if (IsOtherInstallationPresent()) AddWarning(u"W3");
}

void TInstallerPageSetup::AddWarning(UStringView key) {
  auto warning = std::make_unique<TDRXValidationLabel>(this);
  warning->SetParent(this);
  TFont font = warning->Font();
  font.Style |= fsBold;
  warning->SetFont(font);
  warning->SetTransparent(true);
  warning->SetMargins(ScaleFactor().Apply(kWarningMargins));
  warning->SetCaption(GetText(key));
  warning->SetAlign(alBottom);
  warnings_.push_back(std::move(warning));
}

void TInstallerPageSetup::EditChanged() {
  editing_ = true;
  try {
    SetPath(pathEdit_->Text());
  } catch (...) {
    editing_ = false;
    throw;
  }
  editing_ = false;
}

void TInstallerPageSetup::Browse() {
  UString folder = Installer->DestPath();
  if (!BrowseForFolder()(folder, PageOwnerWindow(*this))) return;
  SetPath(ProductFolderIn(folder, Installer->ProductInfo().GetName()));
}

void TInstallerPageSetup::OptionClicked() {
  Installer->SetFlag(ifNoBackup, !backupBox_->Checked());
  Installer->SetFlag(ifUpdate, updateBox_->Checked());
  Refresh();
}

// Portable moves a destination out of the program-files folder; normal moves
// the default portable folder back to the default installation folder.
void TInstallerPageSetup::ModeClicked() {
  TInstallerProductInfo& product = Installer->ProductInfo();
  const bool portable = portableBox_->Checked();
  if (portable && Installer->IsDestPathInProgramFiles())
    Installer->SetDestPath(product.GetDefaultPortablePath());
  else if (!portable && SameText(Installer->DestPath(), product.GetDefaultPortablePath()))
    Installer->SetDestPath(product.GetDefaultPath());
  Installer->SetFlag(ifPortable, portable);
  Refresh();
}

void TInstallerPageSetup::SetPath(const UString& text) {
  if (text == Installer->DestPath()) return;
  Installer->SetDestPath(text);
  Refresh();
}

// ---- TInstallerPageIntegration ----

void TInstallerPageIntegration::CreateControls() {
  CreateHeaderLabel(Bounds(40, 30, 540, 20), u"LB1");
  CreateHeaderLabel(Bounds(40, 120, 540, 20), u"LB2");
  CreateLabel(Bounds(79, 180, 540, 48), u"CB4Hint", true)->SetEnabled(false);
  CreateSettingBoxes(u"Integration", {{u"CB1", Bounds(60, 70, 540, 16), u"ShortcutDesktop"},
                                      {u"CB2", Bounds(60, 90, 540, 16), u"ShortcutStartMenu"},
                                      {u"CB4", Bounds(60, 160, 540, 16), u"IntegrateToWindows"},
                                      {u"CB3", Bounds(60, 230, 540, 16), u"AssociateWithFiles"},
                                      {u"CB5", Bounds(60, 250, 540, 16), u"RegisterContextMenu"}});
}

void TInstallerPageIntegration::Prepare() { ReadSettings(!Installer->HasFlag(ifPortable)); }

// ---- TInstallerPageAddons ----

TInstallerPageAddons::TInstallerPageAddons()
    : description_(Installer->Resources().GetStringList(u"addons.ini")),
      image_(std::make_unique<TDRXImage>()) {
  const std::unique_ptr<TInstallerImage> image = Installer->Resources().GetImage(AddonValue(u"I0"));
  image_->LoadFromBytes(image->Bytes.data(), image->Bytes.size());
}

TInstallerPageAddons::~TInstallerPageAddons() = default;

bool TInstallerPageAddons::IsApplicable() { return IsAddonOfferApplicable(); }

UString TInstallerPageAddons::AddonValue(UStringView name) const { return description_->Values(name); }

void TInstallerPageAddons::CreateControls() {
  CreateHeaderLabel(Bounds(40, 30, 300, 40), u"L0")->Style().SetWordWrap(true);
  CreateSettingBoxes(u"Common", {{u"CB1", Bounds(60, 100, 500, 17), u"AddonsViewer"},
                                 {u"CB2", Bounds(60, 120, 500, 17), u"AddonsExtensions"},
                                 {u"CB3", Bounds(60, 140, 500, 17), u"AddonsShortcuts"}});
  const auto createOfferLabel = [this](const TRect& bounds96) {
    auto* label = CreateControl<TDRXFormattedLabel>(bounds96, u"");
    label->SetBorders(false);
    label->SetTransparent(true);
    return label;
  };
  licenseLabel_ = createOfferLabel(Bounds(40, 280, 500, 20));
  linksLabel_ = createOfferLabel(Bounds(40, 310, 550, 50));
}

void TInstallerPageAddons::Localize() {
  TInstallerPageSettings::Localize();
  licenseLabel_->SetCaption(Format(GetText(u"L1"), {AddonValue(u"L0")}));
  linksLabel_->SetCaption(Format(GetText(u"L2"), {AddonValue(u"L1"), AddonValue(u"L2")}));
}

void TInstallerPageAddons::Prepare() {
  ReadSettings(true);
  WriteSettings();
}

void TInstallerPageAddons::Paint(HDC dc) {
  TInstallerPageSettings::Paint(dc);
  if (image_->Empty()) return;
  const TDRXScaleFactor scale = ScaleFactor();
  const TSize size{scale.Apply(image_->Width()), scale.Apply(image_->Height())};
  const int32_t right = ClientRect().Right - scale.Apply(kAddonImageRightGap);
  image_->Draw(dc, Bounds(right - size.cx, 0, size.cx, size.cy), isStretch);
}

// ---- TInstallerPageUninstallParams ----

void TInstallerPageUninstallParams::CreateControls() {
  CreateSettingBoxes(u"Common", {{u"CB1", Bounds(44, 40, 480, 17), u"RemoveBackups"},
                                 {u"CB2", Bounds(44, 65, 480, 17), u"RemoveContent"}});
}
