#pragma once
// Everything the installer reads from its packages: the product package (the
// files to install, or Uninstall.dat in the uninstaller), the setup package
// (script, language files, images), the parsed script, and the language texts
// in use — English overlaid by the chosen language — with their variables.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "DRX.Classes.StringList.h"
#include "DRX.Classes.Streams.h"
#include "DRX.FileFormats.INI.h"
#include "DRX.UI.Controls.ImageComboBox.h"
#include "DRX.UI.Dialogs.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Core.Script.h"

class TInstallerLanguageDialog;
// The language choice of the program (TInstallerLanguageDialog::Execute).
UString ChooseLanguageFile();

struct TInstallerPackages {
  std::unique_ptr<TSetupPackageReader> Setup;
  std::unique_ptr<TSetupPackageReader> Product;
};

// Where the resources take their packages from; tests hand in their own.
using TInstallerPackageSource = std::function<TInstallerPackages()>;

// The program's own: the SETUP resource, and the PRODUCT resource or, for a
// program named Uninstall.exe, the file Uninstall.dat beside it, which must
// hold "Uninstall.ini" (raises EInstallerInstallError otherwise).
TInstallerPackages LoadModulePackages();

// The setup package's entry that describes the product package before it is decoded.
constexpr UStringView kProductIndexEntry = u"PRODUCT.index";
// The module's PRODUCT resource: decoded while the installer goes on when the
// setup package holds its index, read at once otherwise.
std::unique_ptr<TSetupPackageReader> ReadProductPackage(void* module, const TSetupPackageReader& setup);

// An image entry as stored (PNG bytes); the wizard decodes it.
struct TInstallerImage {
  std::string Bytes;
};

class TInstallerResources {
 public:
  explicit TInstallerResources(const TInstallerPackageSource& source = LoadModulePackages);
  ~TInstallerResources();
  TInstallerResources(const TInstallerResources&) = delete;
  TInstallerResources& operator=(const TInstallerResources&) = delete;

  TDRXIniFile& Lang() { return *lang_; }
  const UString& LangName() const { return langName_; }
  const TDRXStringList& LangFiles() const { return *langFiles_; }
  TSetupPackageReader& ProductPackage() { return *productPackage_; }
  TSetupPackageReader& SetupPackage() { return *setupPackage_; }
  const UString& DesktopPath() const { return desktopPath_; }
  const UString& ProgramFilesPath() const { return programFilesPath_; }
  const UString& ProgramFilesX86Path() const { return programFilesX86Path_; }
  const UString& StartMenuPath() const { return startMenuPath_; }
  TInstallerScript& Script() { return *script_; }

  // A new stream with the entry, from the product package first; raises
  // EInstallerInstallError "Cannot locate ... file in setup archive".
  std::unique_ptr<TMemoryStream> GetFile(const UString& name);
  // The entry's bytes in place, found as GetFile finds them; valid while the
  // resources live. Those of the product package may be handed out before the
  // package is checked as a whole (TSetupPackageReader::ViewDecoded): what is
  // done with them must be undone when VerifyProductPackage raises.
  std::string_view GetFileBytes(const UString& name);
  // Waits until the product package is decoded and checked; raises
  // ESetupPackageReadError when it is damaged.
  void VerifyProductPackage() { productPackage_->Verify(); }
  // Raises GetFile's error when neither package holds the entry; reads nothing.
  void RequireFile(const UString& name);
  std::unique_ptr<TInstallerImage> GetImage(const UString& name);
  std::unique_ptr<TDRXStringList> GetStringList(const UString& name);
  UString GetLangFamily();
  // The language text with its variables replaced.
  UString GetLangString(UStringView section, UStringView key);
  // "\n" becomes CR LF, then $DEST, $TEMP, $LINK, $NAME, $VERSION, $DESKTOP,
  // $STARTMENU and $PROGRAMS are replaced, in this order, case-sensitively.
  UString ReplaceVariables(UStringView text);
  // The variables replaced as above, then ValidatePath. A path keeps "\n"
  // as it stands: it is a folder separator before a name ("$DEST\nvcodec.dll"),
  // never a line break.
  UString ExpandPath(UStringView path);
  // The license for the language family in use, else for "EN"; none without either.
  std::unique_ptr<TMemoryStream> GetLicenseStream();

  // Loads English, lets the user choose (the default choice with ifAuto) and
  // merges the chosen language over English. `choose` returns the chosen file.
  void InitializeLanguages(const std::function<UString()>& choose = ChooseLanguageFile);

 private:
  UString ReplaceNamedVariables(UStringView text);
  void ListLanguageFiles();
  void ComputeFolders();

  std::unique_ptr<TDRXIniFile> lang_;
  UString langName_;
  std::unique_ptr<TDRXStringList> langFiles_;
  std::unique_ptr<TSetupPackageReader> productPackage_;
  std::unique_ptr<TSetupPackageReader> setupPackage_;
  UString desktopPath_, programFilesPath_, programFilesX86Path_, startMenuPath_;
  std::unique_ptr<TInstallerScript> script_;
};

// The language choice: the offered languages sorted by name (ignoring case,
// equal names in listing order), each with its icon, its language id as tag
// and its index in LangFiles as data, the default one selected — the user's UI
// language, else 1033, else the first.
class TInstallerLanguageDialog : public TDRXCustomLanguageDialog {
 public:
  TInstallerLanguageDialog(TInstallerResources& resources, int userLangId);
  UString ClassName() const override { return u"TInstallerLanguageDialog"; }

  // The chosen language file's name ("English.lng" when nothing is selected):
  // the dialog is shown unless the installer has ifAuto.
  static UString Execute();
  // Loads each listed language file that the setup package holds into
  // `document` and calls back with its index in LangFiles.
  static void EnumLangs(TInstallerResources& resources, TDRXIniFile& document, const std::function<void(int)>& callback);

  const TDRXImageComboBoxItems& Items() const;
  int Selected() const;  // index into Items, -1 for none
  UString SelectedFileName(const TInstallerResources& resources) const;

 protected:
  void Populate() override;

 private:
  TInstallerResources& resources_;
};
