#include "uInstaller.Product.Ovix.Pages.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cwctype>

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

// A Russian language file speaking English: the add-on offer is made in Russian wizards.
TTestEntries RussianPageEntries() {
  TTestEntries entries = PageEntries();
  std::string russian = entries[u"English.lng"];
  russian.replace(russian.find("Name=English"), 12, "Name=Russian");
  entries[u"Russian.lng"] = russian;
  return entries;
}

// The Setup page's radio boxes and the Back button with accelerators.
TTestEntries AcceleratorPageEntries() {
  TTestEntries entries = PageEntries();
  std::string& english = entries[u"English.lng"];
  for (const auto& [plain, marked] : {std::pair<std::string, std::string>{"CB2=Normal", "CB2=&Normal"},
                                      {"CB3=Portable", "CB3=&Portable"}, {"[Common]\r\n", "[Common]\r\nbBack=< &Back\r\n"}})
    english.replace(english.find(plain), plain.size(), marked);
  return entries;
}

// A key as the keyboard gives it, down and up, to the window that has the
// focus (the key goes up where the focus went); Shift held when asked.
void PressKey(UINT key, bool shift = false) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  state[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(state);
  SendMessageW(GetFocus(), WM_KEYDOWN, key, 1);
  SendMessageW(GetFocus(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  state[VK_SHIFT] = 0;
  SetKeyboardState(state);
}

// Alt and a letter as the keyboard gives them to the focused window; Alt goes
// up after the letter, so it opens no menu.
void PressAlt(char16_t letter) {
  const auto key = static_cast<WPARAM>(std::towupper(letter));
  SendMessageW(GetFocus(), WM_SYSKEYDOWN, VK_MENU, 0x20000001);
  SendMessageW(GetFocus(), WM_SYSKEYDOWN, key, 0x20000001);
  SendMessageW(GetFocus(), WM_SYSCHAR, letter, 0x20000001);
  SendMessageW(GetFocus(), WM_SYSKEYUP, key, static_cast<LPARAM>(0xE0000001));
  SendMessageW(GetFocus(), WM_KEYUP, VK_MENU, static_cast<LPARAM>(0xC0000001));
}

// The name of what has the keyboard focus: a control, or an edit's embedded button.
UString FocusedName() {
  TDRXWinControl* control = FocusedControl();
  if (!control) return u"(none)";
  if (auto* edit = dynamic_cast<TDRXEdit*>(control); edit && edit->FocusedButton()) return edit->FocusedButton()->Name();
  return control->Name().empty() ? control->ClassName() : control->Name();
}

class ProductPages : public ::testing::Test {
 protected:
  ~ProductPages() override { TInstallerPageSetup::SetBrowseForFolder(nullptr); }

  // A product package holding "Uninstall.ini" makes an uninstaller.
  void MakeInstaller(const UString& destination, TTestEntries setup = PageEntries(),
                     TTestEntries product = {{u"player.bin", "player"}}, UString language = u"English.lng") {
    installer.reset();
    installer = std::make_unique<TInstaller>(u"", TestPackages(std::move(setup), std::move(product)));
    installer->Resources().InitializeLanguages([&language] { return language; });
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
  // Tab from the form itself, round the whole cycle: every stop once, in order.
  std::vector<UString> TabCycle(bool forward) {
    ::SetFocus(form->Handle());
    std::vector<UString> stops;
    for (int i = 0; i < 20; ++i) {
      PressKey(VK_TAB, !forward);
      const UString name = FocusedName();
      if (!stops.empty() && name == stops.front()) break;
      stops.push_back(name);
    }
    return stops;
  }
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

// ---- The keyboard ----

TEST_F(ProductPages, TabVisitsEachPagesControlsInVisualOrderThenTheButtonRow) {
  WriteOvixConfig(destination.Path(), 4500, "0");  // an updatable installation there
  const TTempFolder fresh;
  struct Case {
    const char* page;
    bool russian;
    bool uninstall;
    UString destination;
    std::vector<UString> stops;
  };
  const Case cases[] = {
      {"TInstallerPageWelcome", false, false, fresh.Path(), {u"bNext"}},
      {"TInstallerPageLicense", false, false, fresh.Path(), {u"TDRXRichViewer", u"L1"}},
      {"TInstallerPageSetup", false, false, fresh.Path(), {u"PathEdit", u"Browse", u"CB2", u"bBack", u"bNext"}},
      {"TInstallerPageSetup", false, false, destination.Path(),
       {u"PathEdit", u"Browse", u"CB1", u"CB4", u"bBack", u"bNext"}},
      {"TInstallerPageAddons", true, false, fresh.Path(), {u"CB1", u"CB2", u"CB3", u"bBack", u"bNext"}},
      {"TInstallerPageIntegration", false, false, fresh.Path(),
       {u"CB1", u"CB2", u"CB4", u"CB3", u"CB5", u"bBack", u"bNext"}},
      {"TInstallerPageReadyToInstall", false, false, fresh.Path(), {u"bBack", u"bNext"}},
      {"TInstallerPageUninstallParams", false, true, fresh.Path(), {u"CB1", u"CB2", u"bNext"}},
  };
  for (const Case& c : cases) {
    TTestEntries product{{u"player.bin", "player"}};
    if (c.uninstall) product[u"Uninstall.ini"] = "[Uninstall]\r\nCount=0\r\n";
    MakeInstaller(c.destination, c.russian ? RussianPageEntries() : PageEntries(), product,
                  c.russian ? u"Russian.lng" : u"English.lng");
    form = std::make_unique<TInstallerForm>();
    form->Show();
    TInstallerCustomPage* page = nullptr;
    for (int i = 0; i < form->Pages().Count(); ++i)
      if (form->Pages().Items(i)->ClassName() == Utf8ToUtf16(c.page)) page = form->Pages().Items(i);
    ASSERT_NE(page, nullptr) << c.page;
    form->SetActivePage(page);
    EXPECT_EQ(TabCycle(true), c.stops) << c.page;
    std::vector<UString> backward(c.stops.rbegin(), c.stops.rend());
    // Shift+Tab from the form starts at the last stop and walks the same cycle back.
    EXPECT_EQ(TabCycle(false), backward) << c.page;
    form.reset();
  }
}

TEST_F(ProductPages, ArrowsMoveWithinTheRadioGroupAndCheckTheBoxTheyReach) {
  MakeInstaller(u"");
  installer->SetDestPath(installer->Resources().ProgramFilesPath() + u"Ovix");
  auto& page = ShowPage<TInstallerPageSetup>();
  Radio(page, u"CB2").SetFocus();
  struct Step {
    UINT key;
    const char16_t* focused;
    bool portable;
  };
  const Step steps[] = {{VK_UP, u"CB3", true}, {VK_DOWN, u"CB2", false}, {VK_DOWN, u"CB3", true},
                        {VK_RIGHT, u"CB2", false}, {VK_LEFT, u"CB3", true}};
  for (const Step& step : steps) {
    PressKey(step.key);
    EXPECT_EQ(FocusedName(), step.focused) << "key " << step.key;
    EXPECT_EQ(Radio(page, step.focused).Checked(), true);
    EXPECT_EQ(installer->HasFlag(ifPortable), step.portable) << "the page heard of the change";
  }
  EXPECT_EQ(installer->DestPath(), installer->ProductInfo().GetDefaultPortablePath());
}

TEST_F(ProductPages, SpaceTogglesTheFocusedBoxAndEnterPressesNextOnlyWhenItIsEnabled) {
  MakeInstaller(destination.Path());
  auto& license = ShowPage<TInstallerPageLicense>();
  TDRXCustomCheckBox& accept = Box(license, u"L1");
  accept.SetFocus();
  PressKey(VK_RETURN);
  EXPECT_EQ(form->ActivePage(), &license) << "Next is disabled: Enter does nothing";
  PressKey(VK_SPACE);
  EXPECT_TRUE(accept.Checked());
  EXPECT_TRUE(form->bNext->Enabled());
  PressKey(VK_SPACE);
  EXPECT_FALSE(accept.Checked());
  PressKey(VK_SPACE);
  PressKey(VK_ESCAPE);
  EXPECT_EQ(form->ActivePage(), &license) << "Esc does nothing in the wizard";
  EXPECT_TRUE(form->Visible());
  PressKey(VK_RETURN);
  EXPECT_EQ(form->ActivePage()->ClassName(), u"TInstallerPageSetup") << "Enter pressed the default button";
  EXPECT_EQ(FocusedName(), u"bNext") << "the focus left with the licence page, no key reaches its box";
}

TEST_F(ProductPages, AltWithALetterWorksFromAnyControlOfThePageAndTheBrowseStopTakesSpaceAndEnter) {
  MakeInstaller(u"", AcceleratorPageEntries());
  installer->SetDestPath(installer->Resources().ProgramFilesPath() + u"Ovix");
  auto& page = ShowPage<TInstallerPageSetup>();
  int browsed = 0;
  TInstallerPageSetup::SetBrowseForFolder([&](UString&, HWND__*) {
    ++browsed;
    return false;
  });
  page.PathEdit()->SetFocus();
  ASSERT_EQ(GetFocus(), page.PathEdit()->InnerControl()->Handle()) << "the text takes the focus";
  PressAlt(u'p');  // "&Portable installation", typed in the system edit
  EXPECT_TRUE(Radio(page, u"CB3").Checked());
  EXPECT_EQ(FocusedName(), u"CB3");
  PressAlt(u'N');  // "&Normal installation for all users"
  EXPECT_TRUE(Radio(page, u"CB2").Checked());
  PressAlt(u'b');  // "< &Back"
  EXPECT_EQ(form->ActivePage()->ClassName(), u"TInstallerPageLicense");
  form->SetActivePage(&page);

  page.PathEdit()->SetFocus();
  PressKey(VK_TAB);
  ASSERT_EQ(FocusedName(), u"Browse");
  PressKey(VK_SPACE);
  PressKey(VK_RETURN);
  EXPECT_EQ(browsed, 2);
  EXPECT_EQ(form->ActivePage(), &page) << "Enter pressed the focused Browse, not Next";
  PressKey(VK_TAB, true);
  EXPECT_EQ(GetFocus(), page.PathEdit()->InnerControl()->Handle()) << "Shift+Tab goes back to the text";
}

TEST_F(ProductPages, FocusAndAcceleratorCuesWaitForTheKeyboard) {
  MakeInstaller(destination.Path());
  auto& page = ShowPage<TInstallerPageIntegration>();
  BOOL always = FALSE;
  SystemParametersInfoW(SPI_GETKEYBOARDCUES, 0, &always, 0);
  EXPECT_EQ(FocusCuesShown(form->Handle()), always != FALSE) << "a new form hides them unless always shown";
  auto& box = dynamic_cast<TDRXCheckBox&>(Box(page, u"CB1"));
  box.SetFocus();
  struct Case {
    const char* keyboard;
    void (*press)(HWND focus);
  };
  const Case cases[] = {
      {"Alt", [](HWND focus) { SendMessageW(focus, WM_SYSKEYDOWN, VK_MENU, 0x20000001); }},
      {"Tab", [](HWND) { PressKey(VK_TAB); }},
  };
  for (const Case& c : cases) {
    // Hidden as a form hides them where the system does not show them always.
    SendMessageW(form->Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_SET, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
    box.SetFocus();
    EXPECT_FALSE(box.ShowsFocusCue()) << "focused by the program, not the keyboard";
    EXPECT_EQ(box.AcceleratorFlag(), static_cast<uint32_t>(DT_HIDEPREFIX));
    c.press(GetFocus());
    EXPECT_TRUE(FocusCuesShown(form->Handle())) << c.keyboard;
    EXPECT_TRUE(AcceleratorCuesShown(form->Handle())) << c.keyboard;
    EXPECT_EQ(box.AcceleratorFlag(), 0u) << c.keyboard;
  }
  EXPECT_TRUE(dynamic_cast<TDRXCheckBox&>(Box(page, u"CB2")).ShowsFocusCue()) << "Tab moved on to the next box";
}
