#include "TestInstaller.h"

#include "DRX.FileFormats.INI.h"
#include "TestSupport.h"
#include "uInstaller.Core.Package.h"

std::vector<TInstallerActionClass> TTestProductInfo::ActionClasses;
std::vector<TInstallerPageClass> TTestProductInfo::PageClasses;

std::string BuildTestPackage(const TTestEntries& entries) {
  TSetupPackageBuilder builder(PackageKey);
  for (const auto& [name, bytes] : entries) {
    TMemoryStream content(bytes);
    builder.Add(content, name);
  }
  TMemoryStream package;
  builder.Commit(package, 1);
  return std::string(package.Bytes());
}

std::unique_ptr<TSetupPackageReader> MakeTestPackage(const TTestEntries& entries) {
  TMemoryStream package(BuildTestPackage(entries));
  return std::make_unique<TSetupPackageReader>(package);
}

TTestEntries DefaultSetupEntries() {
  return {
      {u"Install.xml",
       R"(<?xml version="1.0" encoding="utf-8"?>
<setup-script>
  <setup><license><File lang-family="EN" name="License.EN.rtf"/><File lang-family="RU" name="License.RU.rtf"/></license></setup>
  <product>
    <Settings>
      <Item name="ProductName" value="Ovix Test"/>
      <Item name="Publisher" value="Ovix Team"/>
      <Item name="ProductVersion" value="5.01"/>
      <Item name="ProductVersionId" value="5010"/>
      <Item name="ProductVersionNo" value="5.01.0"/>
      <Item name="BuildDate" value="2026-12-01"/>
      <Item name="HomePage" value="https://ovix.example/"/>
    </Settings>
    <Components>
      <File name="$DEST\Ovix.exe">player.bin</File>
      <File name="$DEST\Langs\Russian.lng" lang-family="RU">Russian.lng</File>
    </Components>
    <Actions><File name="$DEST\Ovix.exe">CB1</File></Actions>
  </product>
</setup-script>
)"},
      {u"English.lng", "[File]\r\nName=English\r\nLangId=1033\r\nFamily=EN\r\n[Common]\r\nE4=Cancelled by user\r\n"
                       "E5=Stopped unexpectedly\r\n"
                       "A1=Backup\r\nGreeting=Welcome to $NAME $VERSION\\nEnjoy\r\nOnlyEnglish=english text\r\n"},
      {u"Russian.lng", "[File]\r\nName=Russian\r\nLangId=1049\r\nFamily=RU\r\n[Common]\r\nE4=Otmeneno\r\n"},
      {u"German.lng", "[File]\r\nName=Deutsch\r\nLangId=1031\r\n[Common]\r\nE4=Abgebrochen\r\n"},
      {u"License.EN.rtf", "english license"},
      {u"License.RU.rtf", "russian license"},
  };
}

TTestEntries WizardSetupEntries() {
  TTestEntries entries = DefaultSetupEntries();
  for (const UStringView image : {u"header.png", u"header_dark.png", u"wizard_light.png", u"wizard_dark.png"})
    entries[UString(image)] = ReadFileBytes(ProductSetupFile(image));
  return entries;
}

TInstallerPackageSource TestPackages(TTestEntries setup, TTestEntries product) {
  return [setup = std::move(setup), product = std::move(product)] {
    TInstallerPackages packages;
    packages.Setup = MakeTestPackage(setup);
    packages.Product = MakeTestPackage(product);
    return packages;
  };
}

void TTestProductInfo::Load() {
  TDRXIniFile installation(Installer->DestPath() + u"installed.ini");
  version_ = installation.ReadInteger(u"System", u"Version", 0);
  portable_ = installation.ReadBool(u"System", u"Portable", false);
}

void TTestProductInfo::PopulateActions(const TActionProc& proc) {
  for (TInstallerActionClass actionClass : ActionClasses) proc(actionClass);
}

void TTestProductInfo::PopulatePages(const TPageProc& proc) {
  for (TInstallerPageClass pageClass : PageClasses) proc(pageClass);
}

TTestProductGuard::TTestProductGuard() : previous_(ProductInfoClass) {
  ProductInfoClass = ClassRefOf<TTestProductInfo, TInstallerProductInfo>();
  TTestProductInfo::ActionClasses.clear();
  TTestProductInfo::PageClasses.clear();
}

TTestProductGuard::~TTestProductGuard() {
  ProductInfoClass = previous_;
  TTestProductInfo::ActionClasses.clear();
  TTestProductInfo::PageClasses.clear();
}

void WriteTestInstallation(const UString& folder, int versionId, bool portable) {
  WriteFileBytes(folder + u"installed.ini", "[System]\r\nVersion=" + std::to_string(versionId) +
                                                "\r\nPortable=" + (portable ? "1" : "0") + "\r\n");
}
