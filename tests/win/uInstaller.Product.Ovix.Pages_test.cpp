#include "uInstaller.Product.Ovix.Pages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.Edit.h"
#include "DRX.UI.Controls.FormattedLabel.h"
#include "DRX.UI.Controls.Labels.h"
#include "DRX.UI.Controls.SystemWindow.h"
#include "DRX.Utils.Paths.h"
#include "TestOvix.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Resources.h"
#include "uInstaller.UI.Dialogs.Main.h"

namespace {

TTestEntries PageEntries(bool withAddons = true) {
  TTestEntries entries = OvixSetupEntries();
  for (const auto& [name, bytes] : WizardSetupEntries())
    if (name.ends_with(u".png")) entries[name] = bytes;
  std::string& english = entries[u"English.lng"];
  english.replace(english.find("W3="), 0, "W1=This one is updated\r\n");
  english +=
      "[PageSetup]\r\nBrowse=Browse...\r\n"
      "[PageAddons]\r\nL1=By installing you accept the license of [b]%s[/b].\r\n"
      "L2=Read the [url=%s]license[/url] and the [url=%s]privacy statement[/url].\r\n";
  if (withAddons) {
    entries[u"addons.ini"] = "I0=addon.png\r\nL0=Image Viewer\r\nL1=https://a.example/l\r\nL2=https://a.example/p\r\n";
    entries[u"addon.png"] = entries[u"header.png"];
  }
  return entries;
}

class ProductPages : public ::testing::Test {
 protected:
  ~ProductPages() override { TInstallerPageSetup::SetBrowseForFolder(nullptr); }

  void MakeInstaller(const UString& destination, TTestEntries setup = PageEntries()) {
    installer.reset();
    installer = std::make_unique<TInstaller>(u"", TestPackages(std::move(setup), {{u"player.bin", "player"}}));
    installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
    installer->SetDestPath(destination);
  }
  // The wizard on the page of that class.
  template <class TPage>
  TPage& ShowPage() {
    form = std::make_unique<TInstallerForm>();
    form->Show();
    for (int i = 0; i < form->Pages().Count(); ++i)
      if (auto* page = dynamic_cast<TPage*>(form->Pages().Items(i))) {
        form->SetActivePage(page);
        return *page;
      }
    ADD_FAILURE() << "no page of that class";
    throw std::logic_error("no page");
  }
  // Standalone, without the wizard (the Addons page is only in Russian wizards).
  template <class TPage>
  std::unique_ptr<TInstallerCustomPage> CreatePage() {
    return PageClassOf<TPage>()->Create();
  }
  TDRXCustomCheckBox& Box(TInstallerPage& page, UStringView name) {
    for (int i = 0; i < page.ControlCount(); ++i)
      if (page.Controls(i)->Name() == name) return *dynamic_cast<TDRXCustomCheckBox*>(page.Controls(i));
    throw std::logic_error("no box");
  }
  TDRXCustomCheckBox& Radio(TInstallerPage& page, UStringView name) { return Box(page, name); }
  // What typing does: the system edit's text changes.
  void Type(TInstallerPageSetup& page, const UString& text) {
    SetWindowTextW(page.PathEdit()->InnerControl()->Handle(), W(text));
  }
  std::vector<UString> WarningTexts(const TInstallerPageSetup& page) {
    std::vector<UString> texts;
    for (const auto& warning : page.Warnings()) texts.push_back(warning->Caption());
    return texts;
  }

  TOvixProductGuard product;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
  std::unique_ptr<TInstallerForm> form;
};

}  // namespace

TEST_F(ProductPages, TypingAPathInsideProgramFilesTurnsPortableOffWithoutRewritingTheEdit) {
  MakeInstaller(destination.Path());
  auto& page = ShowPage<TInstallerPageSetup>();
  EXPECT_EQ(page.PathEdit()->Text(), destination.Path());
  EXPECT_TRUE(Radio(page, u"CB2").Checked());
  Radio(page, u"CB3").Click();
  EXPECT_TRUE(installer->HasFlag(ifPortable));
  EXPECT_EQ(installer->DestPath(), destination.Path()) << "a folder outside Program Files stays";

  const UString typed = installer->Resources().ProgramFilesPath() + u"Typed";
  Type(page, typed);
  EXPECT_EQ(installer->DestPath(), typed + u"\\");
  EXPECT_EQ(page.PathEdit()->Text(), typed) << "the edit keeps what was typed";
  EXPECT_FALSE(installer->HasFlag(ifPortable));
  EXPECT_TRUE(Radio(page, u"CB2").Checked());
  EXPECT_FALSE(Radio(page, u"CB3").Checked());

  Type(page, u"");
  EXPECT_FALSE(page.CanGoNext());
  EXPECT_FALSE(form->bNext->Enabled());
}

TEST_F(ProductPages, PortableLeavesProgramFilesForItsDefaultFolderAndNormalReturns) {
  MakeInstaller(u"");
  TInstallerProductInfo& info = installer->ProductInfo();
  installer->SetDestPath(installer->Resources().ProgramFilesPath() + u"Ovix");
  auto& page = ShowPage<TInstallerPageSetup>();
  Radio(page, u"CB3").Click();
  EXPECT_EQ(installer->DestPath(), info.GetDefaultPortablePath());
  EXPECT_TRUE(installer->HasFlag(ifPortable));
  EXPECT_EQ(page.PathEdit()->Text(), info.GetDefaultPortablePath());
  Radio(page, u"CB2").Click();
  EXPECT_EQ(installer->DestPath(), info.GetDefaultPath());
  EXPECT_FALSE(installer->HasFlag(ifPortable));
}

TEST_F(ProductPages, AnUpdatableInstallationIsUpdatedUntilTheUserSaysNo) {
  WriteOvixConfig(destination.Path(), 4500, "0");
  MakeInstaller(destination.Path());
  auto& page = ShowPage<TInstallerPageSetup>();
  TDRXCustomCheckBox& update = Box(page, u"CB1");
  TDRXCustomCheckBox& backup = Box(page, u"CB4");
  EXPECT_TRUE(update.Visible());
  EXPECT_TRUE(update.Checked());
  EXPECT_TRUE(backup.Visible());
  EXPECT_TRUE(backup.Checked());
  EXPECT_FALSE(Radio(page, u"CB3").Enabled());
  EXPECT_TRUE(Radio(page, u"CB3").Checked()) << "the mode of the portable installation";
  EXPECT_EQ(WarningTexts(page), std::vector<UString>{u"This one is updated"});

  backup.Click();
  EXPECT_TRUE(installer->HasFlag(ifNoBackup));
  update.Click();
  EXPECT_FALSE(installer->HasFlag(ifUpdate));
  EXPECT_FALSE(backup.Visible());
  EXPECT_TRUE(Radio(page, u"CB3").Enabled());
  EXPECT_EQ(WarningTexts(page), std::vector<UString>{u"Another installation stays"});
  EXPECT_EQ(page.Warnings().front()->Align(), alBottom);
}

TEST_F(ProductPages, BrowseNamesTheChosenFolderAfterTheProductUnlessItIsAlready) {
  MakeInstaller(destination.Path());
  auto& page = ShowPage<TInstallerPageSetup>();
  struct Case {
    UString chosen;
    bool confirmed;
    UString expected;
  };
  const Case cases[] = {
      {u"C:\\Media", true, u"C:\\Media\\Ovix\\"},
      {u"C:\\Media\\OVIX\\", true, u"C:\\Media\\OVIX\\"},
      {u"C:\\Other", false, u"C:\\Media\\OVIX\\"},
  };
  for (const Case& c : cases) {
    UString startedAt;
    TInstallerPageSetup::SetBrowseForFolder([&](UString& path, HWND__* owner) {
      startedAt = path;
      EXPECT_EQ(owner, form->Handle());
      path = c.chosen;
      return c.confirmed;
    });
    const UString before = installer->DestPath();
    page.PathEdit()->Buttons(0).Click();
    EXPECT_EQ(startedAt, before);
    EXPECT_EQ(installer->DestPath(), c.expected) << Utf16ToUtf8(c.chosen);
    EXPECT_EQ(page.PathEdit()->Text(), c.expected);
  }
  EXPECT_EQ(page.PathEdit()->Buttons(0).Caption(), u"Browse...");
}

TEST_F(ProductPages, IntegrationBoxesDefaultToNotPortableAndAClickWritesAllFive) {
  MakeInstaller(destination.Path());
  auto& page = ShowPage<TInstallerPageIntegration>();
  for (UStringView name : {u"CB1", u"CB2", u"CB3", u"CB4", u"CB5"}) EXPECT_TRUE(Box(page, name).Checked()) << Utf16ToUtf8(name);
  EXPECT_EQ(installer->Settings().ReadSectionText(u"Integration"), u"") << "showing writes nothing";
  Box(page, u"CB3").Click();
  EXPECT_FALSE(installer->Settings().ReadBool(u"Integration", u"AssociateWithFiles", true));
  for (UStringView key : {u"ShortcutDesktop", u"ShortcutStartMenu", u"IntegrateToWindows", u"RegisterContextMenu"})
    EXPECT_TRUE(installer->Settings().ReadBool(u"Integration", key, false)) << Utf16ToUtf8(key);

  installer->Settings().WriteSectionText(u"Integration", u"");
  installer->SetFlag(ifPortable, true);
  EXPECT_FALSE(page.IsAvailable());
  page.Prepare();
  EXPECT_FALSE(Box(page, u"CB1").Checked()) << "a portable installation is not integrated by default";
}

TEST_F(ProductPages, TheAddonOfferWritesItsChoicesWhenShownAndFillsItsLabels) {
  MakeInstaller(destination.Path());
  installer->Settings().WriteBool(u"Common", u"AddonsShortcuts", false);
  const auto page = CreatePage<TInstallerPageAddons>();
  auto& addons = static_cast<TInstallerPageAddons&>(*page);
  EXPECT_EQ(addons.LicenseLabel()->Caption(), u"By installing you accept the license of [b]Image Viewer[/b].");
  EXPECT_EQ(addons.LinksLabel()->Caption(),
            u"Read the [url=https://a.example/l]license[/url] and the [url=https://a.example/p]privacy statement[/url].");
  EXPECT_EQ(installer->Settings().ReadSectionText(u"Common"), u"AddonsShortcuts=0\r\n");
  addons.Prepare();
  EXPECT_TRUE(Box(addons, u"CB1").Checked());
  EXPECT_FALSE(Box(addons, u"CB3").Checked());
  EXPECT_TRUE(installer->Settings().ReadBool(u"Common", u"AddonsViewer", false)) << "written when shown";
  EXPECT_TRUE(installer->Settings().ReadBool(u"Common", u"AddonsExtensions", false));
  Box(addons, u"CB2").Click();
  EXPECT_FALSE(installer->Settings().ReadBool(u"Common", u"AddonsExtensions", true));

  MakeInstaller(destination.Path(), PageEntries(false));
  EXPECT_THROW(CreatePage<TInstallerPageAddons>(), EInstallerGeneralError) << "no addons.ini in the package";
}

TEST_F(ProductPages, UninstallParamsStartUncheckedAndAClickWritesBoth) {
  MakeInstaller(destination.Path());
  const auto page = CreatePage<TInstallerPageUninstallParams>();
  auto& params = static_cast<TInstallerPage&>(*page);
  page->Prepare();
  EXPECT_FALSE(Box(params, u"CB1").Checked());
  EXPECT_FALSE(Box(params, u"CB2").Checked());
  EXPECT_EQ(installer->Settings().ReadSectionText(u"Common"), u"");
  Box(params, u"CB2").Click();
  EXPECT_FALSE(installer->Settings().ReadBool(u"Common", u"RemoveBackups", true));
  EXPECT_TRUE(installer->Settings().ReadBool(u"Common", u"RemoveContent", false));
}
