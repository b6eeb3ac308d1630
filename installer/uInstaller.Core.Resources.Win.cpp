#include <windows.h>

#include <shlobj.h>

#include "uInstaller.Core.Resources.h"

#include <algorithm>

#include "DRX.Format.h"
#include "DRX.MUI.h"
#include "DRX.Platform.h"
#include "DRX.UI.Dialogs.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.FileUtils.h"
#include "uInstaller.Core.Installer.h"
#include "uInstaller.Core.ProductInfo.h"

TInstallerPackages LoadModulePackages() {
  const HMODULE module = GetModuleHandleW(nullptr);
  TInstallerPackages packages;
  packages.Setup = std::make_unique<TSetupPackageReader>(module, u"SETUP");
  if (IsUninstaller()) {
    const UString uninstallDat = ChangeFileExt(PlatformProgramFileName(), u".dat");
    packages.Product = std::make_unique<TSetupPackageReader>(uninstallDat);
    // Without its list the uninstaller would read the package as a product and
    // install it over the folder it was meant to remove.
    if (!packages.Product->Contains(u"Uninstall.ini")) {
      throw EInstallerInstallError(Format(u"Cannot locate \"%s\" file in \"%s\"", {u"Uninstall.ini", uninstallDat}));
    }
  } else {
    packages.Product = ReadProductPackage(module, *packages.Setup);
  }
  return packages;
}

std::unique_ptr<TSetupPackageReader> ReadProductPackage(void* module, const TSetupPackageReader& setup) {
  // The resource's memory is the module's own: it stays while the program runs.
  TResourceStream resource(module, u"PRODUCT");
  const std::string_view stored(reinterpret_cast<const char*>(resource.Memory()), resource.Size());
  std::string_view index;
  if (!setup.View(UString(kProductIndexEntry), index)) index = {};
  return std::make_unique<TSetupPackageReader>(stored, index);
}

TInstallerResources::TInstallerResources(const TInstallerPackageSource& source)
    : lang_(std::make_unique<TDRXIniFile>()),
      langFiles_(std::make_unique<TDRXStringList>()),
      script_(std::make_unique<TInstallerScript>()) {
  TInstallerPackages packages = source();
  setupPackage_ = std::move(packages.Setup);
  productPackage_ = std::move(packages.Product);
  script_->LoadFromStream(*GetFile(u"Install.xml"));
  ListLanguageFiles();
  ComputeFolders();
}

TInstallerResources::~TInstallerResources() = default;

void TInstallerResources::ListLanguageFiles() {
  const TSetupPackageFileTable& table = setupPackage_->FileTable();
  for (int i = 0; i < table.Count(); ++i) {
    const UString& name = table.Items(i).Name;
    if (SameText(ExtractFileExt(name), u".lng")) langFiles_->Add(name);
  }
  langFiles_->SortLogical();
}

void TInstallerResources::ComputeFolders() {
  desktopPath_ = GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY);
  programFilesPath_ = GetShellFolder(CSIDL_PROGRAM_FILES);
  startMenuPath_ = GetShellFolder(CSIDL_COMMON_PROGRAMS);
  programFilesX86Path_ = ExcludeTrailingBackslash(programFilesPath_) + u" (x86)\\";
}

namespace {
EInstallerInstallError MissingFileError(const UString& name) {
  return EInstallerInstallError(Format(u"Cannot locate \"%s\" file in setup archive", {name}));
}
}  // namespace

std::unique_ptr<TMemoryStream> TInstallerResources::GetFile(const UString& name) {
  std::unique_ptr<TMemoryStream> stream;
  if (productPackage_->Extract(name, stream) || setupPackage_->Extract(name, stream)) return stream;
  throw MissingFileError(name);
}

std::string_view TInstallerResources::GetFileBytes(const UString& name) {
  std::string_view bytes;
  if (productPackage_->ViewDecoded(name, bytes) || setupPackage_->View(name, bytes)) return bytes;
  throw MissingFileError(name);
}

void TInstallerResources::RequireFile(const UString& name) {
  if (!productPackage_->Contains(name) && !setupPackage_->Contains(name)) throw MissingFileError(name);
}

std::unique_ptr<TInstallerImage> TInstallerResources::GetImage(const UString& name) {
  auto image = std::make_unique<TInstallerImage>();
  image->Bytes = std::string(GetFile(name)->Bytes());
  return image;
}

std::unique_ptr<TDRXStringList> TInstallerResources::GetStringList(const UString& name) {
  auto list = std::make_unique<TDRXStringList>();
  list->LoadFromStream(*GetFile(name));
  return list;
}

UString TInstallerResources::GetLangFamily() { return lang_->ReadString(u"File", u"Family", u"EN"); }

UString TInstallerResources::GetLangString(UStringView section, UStringView key) {
  return ReplaceVariables(lang_->ReadString(section, key, u""));
}

UString TInstallerResources::ReplaceVariables(UStringView text) {
  return ReplaceNamedVariables(StringReplaceAll(text, u"\\n", u"\r\n"));
}

UString TInstallerResources::ReplaceNamedVariables(UStringView text) {
  TInstallerProductInfo& product = Installer->ProductInfo();
  // Every value is computed on every call: a script without a product name
  // fails here whether or not the text names a variable.
  const std::pair<UStringView, UString> variables[] = {
      {u"$DEST", Installer->DestPath()},
      {u"$TEMP", PlatformTempFolder()},
      {u"$LINK", product.GetHomePage()},
      {u"$NAME", product.GetName()},
      {u"$VERSION", product.GetFullVersion()},
      {u"$DESKTOP", desktopPath_},
      {u"$STARTMENU", startMenuPath_},
      {u"$PROGRAMS", programFilesPath_},
  };
  UString result(text);
  for (const auto& [name, value] : variables) result = StringReplaceAll(result, name, value);
  return result;
}

UString TInstallerResources::ExpandPath(UStringView path) { return ValidatePath(ReplaceNamedVariables(path)); }

std::unique_ptr<TMemoryStream> TInstallerResources::GetLicenseStream() {
  TInstallerScriptFile* file = nullptr;
  if (!script_->License.FindByFamily(GetLangFamily(), file) && !script_->License.FindByFamily(u"EN", file)) {
    return nullptr;
  }
  return GetFile(file->Name);
}

UString ChooseLanguageFile() { return TInstallerLanguageDialog::Execute(); }

void TInstallerResources::InitializeLanguages(const std::function<UString()>& choose) {
  lang_->LoadFromStream(*GetFile(u"English.lng"));
  const UString chosen = choose();
  TDRXIniFile language;
  language.LoadFromStream(*GetFile(chosen));
  langName_ = ChangeFileExt(chosen, u"");
  lang_->Merge(language, true);
}

TInstallerLanguageDialog::TInstallerLanguageDialog(TInstallerResources& resources, int userLangId)
    : resources_(resources) {
  PopulateAndSelect(userLangId);
}

void TInstallerLanguageDialog::Populate() {
  TDRXIniFile document;
  EnumLangs(resources_, document, [&](int index) { AddLanguage(document, index); });
}

const TDRXImageComboBoxItems& TInstallerLanguageDialog::Items() const { return ComboBox().Items(); }

int TInstallerLanguageDialog::Selected() const { return ComboBox().ItemIndex(); }

void TInstallerLanguageDialog::EnumLangs(TInstallerResources& resources, TDRXIniFile& document,
                                         const std::function<void(int)>& callback) {
  const TDRXStringList& files = resources.LangFiles();
  for (int i = 0; i < files.Count(); ++i) {
    std::unique_ptr<TMemoryStream> entry;
    if (!resources.SetupPackage().Extract(files.Strings(i), entry)) continue;
    document.LoadFromStream(*entry);
    callback(i);
  }
}

UString TInstallerLanguageDialog::SelectedFileName(const TInstallerResources& resources) const {
  const intptr_t index = SelectedData();
  if (index < 0) return u"English.lng";
  return resources.LangFiles().Strings(static_cast<int>(index));
}

UString TInstallerLanguageDialog::Execute() {
  TInstallerResources& resources = Installer->Resources();
  TInstallerLanguageDialog dialog(resources, GetUserDefaultUILanguage());
  // The modal result is not asked: however the dialog is closed, the selection counts.
  if (!Installer->HasFlag(ifAuto)) dialog.ShowModal();
  return dialog.SelectedFileName(resources);
}
