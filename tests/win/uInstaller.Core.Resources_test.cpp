#include "uInstaller.Core.Resources.h"

#include <gtest/gtest.h>

#include "AccessibleTree.h"
#include "TestDialogs.h"
#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"

namespace {

class Resources : public ::testing::Test {
 protected:
  TInstaller& Create(TTestEntries setup = DefaultSetupEntries(), TTestEntries product = {}) {
    installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination.Path() + u"\"",
                                             TestPackages(std::move(setup), std::move(product)));
    return *installer;
  }
  UString Read(TStream& stream) { return Utf8ToUtf16(ReadRemainingBytes(stream)); }

  TTestProductGuard product;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
};

}  // namespace

TEST_F(Resources, LanguagesAreListedLogicallyAndOfferedByDisplayName) {
  TTestEntries setup = DefaultSetupEntries();
  setup[u"english.lng"] = std::move(setup[u"English.lng"]);
  setup.erase(u"English.lng");
  setup[u"Lang10.lng"] = "[File]\r\nName=english\r\nLangId=2057\r\n";
  setup[u"Lang9.lng"] = "[File]\r\nName=Zulu\r\n";
  TInstallerResources& resources = Create(setup).Resources();
  EXPECT_EQ(resources.LangFiles().Text(), u"english.lng\r\nGerman.lng\r\nLang9.lng\r\nLang10.lng\r\nRussian.lng\r\n");
  TInstallerLanguageDialog dialog(resources, 1049);
  std::vector<UString> names;
  for (const auto& item : dialog.Items().Items()) names.push_back(resources.LangFiles().Strings(static_cast<int>(item.Data)));
  // Equal display names ("English"/"english") keep their listing order.
  EXPECT_EQ(names, (std::vector<UString>{u"German.lng", u"english.lng", u"Lang10.lng", u"Russian.lng", u"Lang9.lng"}));
  EXPECT_EQ(dialog.SelectedFileName(resources), u"Russian.lng");
  EXPECT_EQ(TInstallerLanguageDialog(resources, 1234).SelectedFileName(resources), u"english.lng") << "1033 next";
}

TEST_F(Resources, WithoutAMatchOr1033TheFirstOfferedLanguageIsTaken) {
  TTestEntries setup = DefaultSetupEntries();
  setup[u"English.lng"] = "[File]\r\nName=English\r\nLangId=2057\r\n";
  TInstallerResources& resources = Create(setup).Resources();
  EXPECT_EQ(TInstallerLanguageDialog(resources, 1234).SelectedFileName(resources), u"German.lng");
}

TEST_F(Resources, EachLanguageCarriesItsIconIdAndFileIndex) {
  TTestEntries setup = DefaultSetupEntries();
  std::string hex;
  for (const unsigned char byte : BitmapFile(16, 11, 24, std::vector<uint32_t>(16 * 11, 0xFF2040C0))) {
    hex += "0123456789ABCDEF"[byte >> 4];
    hex += "0123456789ABCDEF"[byte & 15];
  }
  setup[u"German.lng"] = "[File]\r\nName=Deutsch\r\nLangId=1031\r\nIcon=" + hex + "\r\n";
  setup[u"Russian.lng"] = "[File]\r\nName=Russkij\r\nLangId=1049\r\nIcon=424D00\r\n";
  TInstallerResources& resources = Create(setup).Resources();
  const TInstallerLanguageDialog dialog(resources, 1031);
  ASSERT_EQ(dialog.Items().Count(), 3);
  const TDRXImageComboBoxItem& german = dialog.Items()[0];
  EXPECT_EQ(german.Text, u"Deutsch");
  EXPECT_EQ(german.Tag, 1031);
  EXPECT_EQ(resources.LangFiles().Strings(static_cast<int>(german.Data)), u"German.lng");
  ASSERT_EQ(dialog.Images().Count(), 1) << "a damaged icon adds no image";
  EXPECT_EQ(german.ImageIndex, 0);
  EXPECT_EQ(dialog.Images().Image(0)->Size(), (TSize{16, 11}));
  EXPECT_EQ(dialog.Items()[2].ImageIndex, -1);
  EXPECT_EQ(dialog.SelectedFileName(resources), u"German.lng");
}

TEST_F(Resources, TheChosenLanguageIsMergedOverEnglish) {
  TInstallerResources& resources = Create().Resources();
  resources.InitializeLanguages([] { return UString(u"Russian.lng"); });
  EXPECT_EQ(resources.LangName(), u"Russian");
  EXPECT_EQ(resources.GetLangString(u"Common", u"E4"), u"Otmeneno");
  EXPECT_EQ(resources.GetLangString(u"Common", u"OnlyEnglish"), u"english text");
  EXPECT_EQ(resources.GetLangFamily(), u"RU");
  EXPECT_EQ(Read(*resources.GetLicenseStream()), u"russian license");
}

TEST_F(Resources, LicenseFallsBackToEnglishAndVariablesExpandInTexts) {
  TInstallerResources& resources = Create().Resources();
  resources.InitializeLanguages([] { return UString(u"German.lng"); });
  EXPECT_EQ(resources.GetLangFamily(), u"EN");
  EXPECT_EQ(Read(*resources.GetLicenseStream()), u"english license");
  EXPECT_EQ(resources.GetLangString(u"Common", u"Greeting"), u"Welcome to Ovix Test 5.01, 2026-12-01\r\nEnjoy");
  EXPECT_EQ(resources.ExpandPath(u"$DEST\\Plugins\\"), destination.Path() + u"Plugins\\");
  EXPECT_EQ(resources.ExpandPath(u"$dest\\a.txt"), u"$dest\\a.txt");
  // A name after a backslash may start with "n": no line break in a path.
  EXPECT_EQ(resources.ExpandPath(u"$DEST\\Plugins\\nvcodec.dll"), destination.Path() + u"Plugins\\nvcodec.dll");
}

TEST_F(Resources, ProductEntriesWinAndMissingEntriesAreNamed) {
  TInstallerResources& resources = Create(DefaultSetupEntries(), {{u"license.en.rtf", "from the product"}}).Resources();
  EXPECT_EQ(Read(*resources.GetFile(u"License.EN.rtf")), u"from the product");
  try {
    resources.GetFile(u"missing.dll");
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"Cannot locate \"missing.dll\" file in setup archive");
  }
}

TEST_F(Resources, WithoutAProductNameEveryTextFails) {
  TTestEntries setup = DefaultSetupEntries();
  setup[u"Install.xml"] = "<setup-script><product/></setup-script>";
  TInstallerResources& resources = Create(setup).Resources();
  EXPECT_THROW(resources.GetLangString(u"Common", u"E4"), EInstallerGeneralError);
}

namespace {

struct TLanguageWindow {
  UString caption;
  bool topMost = false, closeGrayed = false;
  RECT client{};
  std::string readerView;  // the accessible tree
};

// Runs Execute with the dialog shown (no /AUTO), picks the item at `pick` in
// the list and closes the dialog from its title bar.
UString ChooseInDialog(int pick, TLanguageWindow& seen) {
  TTestProductGuard product;
  TInstaller installer(u"", TestPackages());
  TWindowDriver driver(u"TInstallerLanguageDialog", [&](HWND dialog) {
    seen.caption = WindowText(dialog);
    seen.topMost = GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST;
    seen.closeGrayed = GetMenuState(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND) & MF_GRAYED;
    GetClientRect(dialog, &seen.client);
    CoInitialize(nullptr);
    seen.readerView = DumpAccessibleTree(ReadAccessibleTree(dialog));
    CoUninitialize();
    if (pick >= 0) {
      for (HWND list : ChildWindows(dialog, u"ComboBox")) SendMessageW(list, CB_SETCURSEL, pick, 0);
    }
    PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  const UString chosen = TInstallerLanguageDialog::Execute();
  EXPECT_TRUE(driver.Finish()) << "the dialog was shown";
  return chosen;
}

}  // namespace

TEST(LanguageDialog, WithoutAutoTheDialogIsShownAndTheSelectionCountsHoweverItCloses) {
  TLanguageWindow seen;
  // Offered as Deutsch, English, Russian; the prefix's UI language is 1033.
  EXPECT_EQ(ChooseInDialog(-1, seen), u"English.lng");
  EXPECT_EQ(seen.caption, u"Select Language");
  EXPECT_TRUE(seen.topMost);
  EXPECT_TRUE(seen.closeGrayed) << "no close button";
  EXPECT_EQ(seen.client.right, 220);
  EXPECT_EQ(seen.client.bottom, 75);
  EXPECT_NE(seen.readerView.find("combo box \"Select Language\" = \"English\""), std::string::npos) << seen.readerView;
  EXPECT_EQ(ChooseInDialog(2, seen), u"Russian.lng") << "picked, then closed without OK";
}
