#include "uInstaller.Product.Ovix.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "DRX.FileFormats.INI.h"
#include "DRX.Utils.Shell.h"
#include "TestOvix.h"
#include "TestSupport.h"
#include "uInstaller.Core.Repository.h"
#include "uInstaller.Product.Ovix.ActionList.h"

namespace {

class OvixProduct : public ::testing::Test {
 protected:
  UString Auto(UStringView switches = u"") { return u"/AUTO=\"" + destination.Path() + u"\" " + UString(switches); }
  TProductInfoOvix& Product() { return static_cast<TProductInfoOvix&>(installer->ProductInfo()); }

  TOvixProductGuard product;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
};

// Removes the uninstall entries the test registers.
struct TRegisteredInstallations {
  ~TRegisteredInstallations() {
    for (const UStringView name : {u"Ovix", u"Ovix3"}) TInstallerApplicationRepository::Unregister(UString(name));
  }
  void Add(const UString& name, const UString& folder) {
    ASSERT_TRUE(TInstallerApplicationRepository::Register(name, folder + u"Uninstall.exe", u"1", u"", u""));
  }
};

}  // namespace

TEST_F(OvixProduct, TheConfigurationInTheDestinationDecidesVersionUpdateAndPortability) {
  struct Case {
    const char* ovixIni;   // nullptr: no file
    const char* ovix3Ini;  // nullptr: no file
    int version;
    TInstallerFlags flags;
  };
  const Case cases[] = {
      {nullptr, nullptr, 0, ifAuto},
      {"[System]\r\nVersion=3499\r\n", nullptr, 3499, ifAuto},
      {"[System]\r\nVersion=3500\r\n", nullptr, 3500, ifAuto | ifUpdate},
      {"[System]\r\nVersion=5099\r\nUserMode=0\r\n", nullptr, 5099, ifAuto | ifUpdate | ifPortable},
      {"[System]\r\nVersion=5100\r\nUserMode=0\r\n", nullptr, 5100, ifAuto},
      {"[System]\r\nVersion=4000\r\nUserMode=1\r\n", nullptr, 4000, ifAuto | ifUpdate},
      {nullptr, "[System]\r\nVersion=3600\r\nUserMode=0\r\n", 3600, ifAuto | ifUpdate | ifPortable},
      {"[System]\r\nVersion=5100\r\n", "[System]\r\nVersion=3600\r\n", 5100, ifAuto},  // Ovix.ini only
      {"[System]\r\nUserMode=0\r\n", nullptr, 0, ifAuto},
  };
  for (const Case& c : cases) {
    DeleteFileW(W(destination.File(u"Ovix.ini")));
    DeleteFileW(W(destination.File(u"Ovix3.ini")));
    if (c.ovixIni) WriteFileBytes(destination.File(u"Ovix.ini"), c.ovixIni);
    if (c.ovix3Ini) WriteFileBytes(destination.File(u"Ovix3.ini"), c.ovix3Ini);
    installer = MakeOvixInstaller(Auto());
    const std::string label = std::string(c.ovixIni ? c.ovixIni : "-") + " / " + (c.ovix3Ini ? c.ovix3Ini : "-");
    EXPECT_EQ(Product().GetInstalledVersionId(), c.version) << label;
    EXPECT_EQ(installer->Flags(), c.flags) << label;
    installer.reset();
  }
}

TEST_F(OvixProduct, EveryLoadReplacesTheIntegrationSectionOfTheSettings) {
  WriteOvixConfig(destination.Path(), 4800, "1", "[Integration]\r\nShortcutDesktop=0\r\nRegisterContextMenu=1\r\n");
  installer = MakeOvixInstaller(Auto());
  EXPECT_FALSE(installer->Settings().ReadBool(u"Integration", u"ShortcutDesktop", true));
  EXPECT_TRUE(installer->Settings().ReadBool(u"Integration", u"RegisterContextMenu", false));
  EXPECT_EQ(installer->Settings().ReadSectionText(u"Integration"), Product().Config().ReadSectionText(u"Integration"));

  TTempFolder empty;
  installer->SetDestPath(empty.Path());
  EXPECT_EQ(Product().GetInstalledVersionId(), 0);
  EXPECT_FALSE(Product().IsPortableInstallation());
  EXPECT_EQ(installer->Settings().ReadSectionText(u"Integration"), u"");
  EXPECT_TRUE(installer->Settings().ReadBool(u"Integration", u"ShortcutDesktop", true)) << "the page's default again";
}

TEST_F(OvixProduct, TheDefaultFolderIsTheRegisteredInstallationThenARunningPlayerThenProgramFiles) {
  TRegisteredInstallations registered;
  TInstallerApplicationRepository::Unregister(u"Ovix");
  TInstallerApplicationRepository::Unregister(u"Ovix3");
  TTempFolder older, newer;

  installer = MakeOvixInstaller(u"");
  EXPECT_EQ(installer->DestPath(), installer->Resources().ProgramFilesPath() + u"Ovix\\");
  EXPECT_EQ(installer->Flags(), 0) << "no installation there to update";
  {
    TPlayerWindow player(u"TOvixMainForm");
    ASSERT_TRUE(player.Shown());
    EXPECT_EQ(Product().GetDefaultPath(), BinFolder()) << "the running player's folder";
    registered.Add(u"Ovix3", older.Path());
    EXPECT_EQ(Product().GetDefaultPath(), older.Path());
    registered.Add(u"Ovix", newer.Path());
    EXPECT_EQ(Product().GetDefaultPath(), newer.Path());
  }
  WriteOvixConfig(newer.Path(), 4500);
  installer.reset();
  installer = MakeOvixInstaller(u"");
  EXPECT_EQ(installer->DestPath(), newer.Path());
  EXPECT_EQ(installer->Flags(), ifUpdate);
}

namespace {

struct TRunCase {
  const char16_t* label;
  const char16_t* switches;  // nullptr: interactive, the destination set afterwards
  const char16_t* language;  // the chosen language file
  int installedVersion;      // 0: none; 4500 with portable=true: a portable installation
  bool portable;
  TDRXOSVersion os;
  std::vector<UString> actions;
};

const TDRXOSVersion kWindows7{6, 1, 7601}, kWindows81{6, 3, 9600}, kWindows10{10, 0, 19045};

}  // namespace

TEST_F(OvixProduct, TheActionsOfARunFollowModeFlagsLanguageAndSystem) {
  const UString close = u"TInstallerActionCloseApplications", prepare = u"TInstallerActionPrepare",
                addons = u"TInstallerActionAddonsInstall", extract = u"TInstallerActionExtract",
                config = u"TInstallerActionConfig", integrate = u"TInstallerActionIntegrate",
                shortcuts = u"TInstallerActionShortcuts", shellCache = u"TInstallerActionUpdateShellCache";
  const TRunCase cases[] = {
      {u"fresh", u"", u"English.lng", 0, false, kWindows7, {close, prepare, extract, config, integrate, shortcuts}},
      {u"fresh, Windows 10",
       u"",
       u"English.lng",
       0,
       false,
       kWindows10,
       {close, prepare, extract, config, integrate, shortcuts, shellCache}},
      {u"interactive, Russian in capitals",
       nullptr,
       u"RUSSIAN.lng",
       0,
       false,
       kWindows81,
       {close, prepare, addons, extract, config, integrate, shortcuts}},
      {u"interactive, English",
       nullptr,
       u"English.lng",
       0,
       false,
       kWindows7,
       {close, prepare, extract, config, integrate, shortcuts}},
      {u"automatic, Russian",
       u"",
       u"Russian.lng",
       0,
       false,
       kWindows7,
       {close, prepare, extract, config, integrate, shortcuts}},
      {u"silent, Russian",
       u"/SILENT",
       u"Russian.lng",
       0,
       false,
       kWindows7,
       {close, prepare, extract, config, integrate, shortcuts}},
      {u"portable", u"/PORTABLE", u"English.lng", 0, false, kWindows7, {close, prepare, extract, config, shortcuts}},
      {u"update", u"", u"English.lng", 4500, false, kWindows10, {close, prepare, extract, config, shellCache}},
      {u"portable update", u"/UPDATE", u"English.lng", 4500, true, kWindows7, {close, prepare, extract, config}},
  };
  for (const TRunCase& c : cases) {
    TDRXOSVersionOverride os(c.os);
    DeleteFileW(W(destination.File(u"Ovix.ini")));
    if (c.installedVersion) WriteOvixConfig(destination.Path(), c.installedVersion, c.portable ? "0" : "1");
    installer = MakeOvixInstaller(c.switches ? Auto(c.switches) : u"");
    if (!c.switches) installer->SetDestPath(destination.Path());
    installer->Resources().InitializeLanguages([&] { return UString(c.language); });
    EXPECT_EQ(OvixActionNames(), c.actions) << Utf16ToUtf8(c.label);
    installer.reset();
  }
}

TEST_F(OvixProduct, AnUninstallationClosesThePlayerAndRemovesIntegrationAndFiles) {
  TDRXOSVersionOverride os(kWindows10);
  installer = MakeOvixInstaller(u"/AUTO", {{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}});
  ASSERT_EQ(installer->Mode(), imUninstall);
  const std::vector<UString> expected = {u"TInstallerActionCloseApplications", u"TInstallerActionUninstallIntegration",
                                         u"TInstallerActionUninstallFiles"};
  EXPECT_EQ(OvixActionNames(), expected);
}

TEST_F(OvixProduct, PopulateActionsHandsOverTheListedActionsThatCanBeCreated) {
  installer = MakeOvixInstaller(Auto());
  const std::vector<UString> planned = OvixActionNames();
  std::vector<UString> created;
  Product().PopulateActions([&](TInstallerActionClass actionClass) {
    ASSERT_NE(actionClass->Create, nullptr);
    created.emplace_back(actionClass->Create() ? actionClass->ClassName : u"(none)");
  });
  ASSERT_GE(created.size(), 2u);
  EXPECT_EQ(created.front(), u"TInstallerActionCloseApplications");
  size_t next = 0;
  for (const UString& name : created) {
    while (next < planned.size() && planned[next] != name) ++next;
    EXPECT_LT(next, planned.size()) << Utf16ToUtf8(name) << " out of the planned order";
  }
}

TEST_F(OvixProduct, ThePagesOfARunShowTheAddonOfferOnlyInAnInteractiveRussianSetup) {
  auto pagesOf = [&] {
    std::vector<UString> names;
    Product().PopulatePages([&](TInstallerPageClass page) { names.emplace_back(page->ClassName); });
    return names;
  };
  const std::vector<UString> english = {u"TInstallerPageWelcome", u"TInstallerPageLicense", u"TInstallerPageSetup",
                                        u"TInstallerPageIntegration", u"TInstallerPageReadyToInstall"};
  std::vector<UString> russian = english;
  russian.insert(russian.begin() + 3, u"TInstallerPageAddons");

  installer = MakeOvixInstaller(u"");
  installer->Resources().InitializeLanguages([] { return UString(u"Russian.lng"); });
  EXPECT_EQ(pagesOf(), russian);
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  EXPECT_EQ(pagesOf(), english);

  installer = nullptr;
  installer = MakeOvixInstaller(u"/AUTO", {{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}});
  EXPECT_EQ(pagesOf(), std::vector<UString>{u"TInstallerPageUninstallParams"});
}
