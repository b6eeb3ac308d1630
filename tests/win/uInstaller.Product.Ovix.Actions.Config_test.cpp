#include "uInstaller.Product.Ovix.Actions.Config.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Shell.h"
#include "TestInstaller.h"
#include "TestRecorder.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"
#include "uInstaller.Core.Summary.h"

namespace {

std::unique_ptr<TInstaller> NewInstaller(const UString& destination, const UString& language,
                                         TTestEntries setup = DefaultSetupEntries()) {
  auto installer = std::make_unique<TInstaller>(u"/AUTO=\"" + destination + u"\"", TestPackages(std::move(setup)));
  installer->Resources().InitializeLanguages([language] { return language; });
  return installer;
}

class Config : public ::testing::Test {
 protected:
  UString ConfigFile() const { return destination.File(u"Ovix.ini"); }

  TTestProductGuard product;
  TTempFolder destination;
};

}  // namespace

TEST_F(Config, WritesProfileModeLanguageVersionAndTheIntegrationChoices) {
  struct Case {
    bool portable;
    const char16_t* language;
    const char* system;
  } cases[] = {
      {true, u"English.lng", "UserMode=0\r\nDefaultLang=English.lng\r\nVersion=5010\r\n"},
      {false, u"Russian.lng", "UserMode=1\r\nDefaultLang=Russian.lng\r\nVersion=5010\r\n"},
  };
  for (const Case& c : cases) {
    DeleteFileW(W(ConfigFile()));
    auto installer = NewInstaller(destination.Path(), c.language);
    installer->SetFlag(ifPortable, c.portable);
    installer->Settings().WriteBool(u"Integration", u"ShortcutDesktop", false);
    installer->Settings().WriteBool(u"Integration", u"AssociateWithFiles", true);
    TInstallerActionConfig().Execute();

    TDRXIniFile written(ConfigFile());
    EXPECT_EQ(written.Encoding(), TDRXEncoding::Utf16LE()) << "a new file is UTF-16LE";
    EXPECT_EQ(Utf16ToUtf8(written.ReadSectionText(u"System")), c.system);
    EXPECT_EQ(written.ReadSectionText(u"Integration"), u"ShortcutDesktop=0\r\nAssociateWithFiles=1\r\n");
    EXPECT_EQ(written.SectionCount(), 2);
  }
}

TEST_F(Config, AnExistingFileKeepsItsOtherSectionsAndItsEncoding) {
  WriteFileBytes(ConfigFile(),
                 "\xEF\xBB\xBF[Player]\r\nVolume=80\r\n[System]\r\nVersion=4100\r\nUserMode=0\r\nSkin=Old\r\n"
                 "[Integration]\r\nIntegrateToWindows=1\r\nShortcutDesktop=1\r\n[Playlists]\r\nLast=C:\\List.m3u\r\n");
  auto installer = NewInstaller(destination.Path(), u"English.lng");
  installer->Settings().DeleteSection(u"Integration");
  TInstallerActionConfig().Execute();

  EXPECT_EQ(ReadFileBytes(ConfigFile()),
            "\xEF\xBB\xBF[Player]\r\nVolume=80\r\n\r\n[Playlists]\r\nLast=C:\\List.m3u\r\n\r\n"
            "[System]\r\nUserMode=1\r\nDefaultLang=English.lng\r\nVersion=5010\r\n\r\n")
      << "\"System\" holds only the three keys; an empty store empties \"Integration\"";
}

TEST_F(Config, ALinkAtTheConfigurationIsReplacedNeverReadOrWrittenThrough) {
  TTempFolder elsewhere;
  const std::string other = "[Secrets]\r\nKey=private\r\n";
  WriteFileBytes(elsewhere.File(u"other.ini"), other);
  const TFileLink link(ConfigFile(), elsewhere.File(u"other.ini"));
  ASSERT_TRUE(link.Made());
  ASSERT_TRUE(IsFileLink(ConfigFile()));
  auto installer = NewInstaller(destination.Path(), u"English.lng");
  TInstallerActionConfig().Execute();

  EXPECT_EQ(ReadFileBytes(elsewhere.File(u"other.ini")), other);
  // Wine cannot remove a link made on the host: then nothing is written at all.
  if (IsFileLink(ConfigFile())) return;
  const TDRXIniFile written(ConfigFile());
  EXPECT_EQ(written.ReadString(u"System", u"Version", u""), u"5010");
  EXPECT_FALSE(written.SectionExists(u"Secrets")) << "nothing of the other file was read in";
}

// ---- Add-ons ----

namespace {

// The add-on installer is the command recorder, carried in the setup package
// under the name "P4" gives; it is written to and started from the temporary folder.
class Addons : public ::testing::Test {
 protected:
  Addons() {
    setup[u"addons.ini"] =
        "P4=" + Utf16ToUtf8(addonName) + "\r\nCL=/SILENT /OPTIONS=\"%s\"\r\nP1=-noext\r\nP2=-old\r\nP2=-viewer\r\nP3=-links\r\n";
    setup[addonName] = CommandRecorderBytes();
  }

  std::unique_ptr<TInstaller> Choose(bool viewer, bool extensions, bool shortcuts, TTestEntries entries) {
    auto installer = NewInstaller(destination.Path(), u"Russian.lng", std::move(entries));
    installer->Settings().WriteBool(u"Common", u"AddonsViewer", viewer);
    installer->Settings().WriteBool(u"Common", u"AddonsExtensions", extensions);
    installer->Settings().WriteBool(u"Common", u"AddonsShortcuts", shortcuts);
    return installer;
  }

  TTestProductGuard product;
  TTempFolder destination;
  UString addonName = u"OvixAddonsTest-" + IntToStr(GetCurrentProcessId()) + u".exe";
  TCommandRecorder addon{PlatformTempFolder() + addonName};
  TTestEntries setup = DefaultSetupEntries();
};

}  // namespace

TEST_F(Addons, StartsTheAddonInstallerWithTheSwitchesOfTheChosenOptions) {
  struct Case {
    bool viewer, extensions, shortcuts;
    const char16_t* switches;
  } cases[] = {
      {true, true, true, u"-viewer -links "},  // the later "P2" line counts
      {true, false, false, u"-noext -viewer "},
      {false, true, true, u"-links "},
      {false, false, true, u"-noext -links "},
  };
  for (const Case& c : cases) {
    auto installer = Choose(c.viewer, c.extensions, c.shortcuts, setup);
    addon.Reset();
    DeleteFileW(W(addon.Path()));
    TInstallerActionAddonsInstall().Execute();
    ASSERT_TRUE(addon.WaitForRecord()) << Utf16ToUtf8(c.switches);
    const UString expected = u"/SILENT /OPTIONS=\"" + UString(c.switches) + u"\"";
    const UString commandLine = addon.CommandLine();
    EXPECT_TRUE(EndsWith(commandLine, u" " + expected)) << Utf16ToUtf8(commandLine);
    EXPECT_NE(commandLine.find(addon.Path()), UString::npos) << Utf16ToUtf8(commandLine);
  }
}

TEST_F(Addons, WithoutAnOptionNothingIsReadOrStarted) {
  setup.erase(u"addons.ini");
  setup.erase(addonName);
  auto installer = Choose(false, false, false, setup);
  EXPECT_NO_THROW(TInstallerActionAddonsInstall().Execute());
  EXPECT_FALSE(addon.WasStarted());

  installer = nullptr;
  installer = Choose(true, false, false, setup);
  EXPECT_THROW(TInstallerActionAddonsInstall().Execute(), EInstallerInstallError) << "with an option the list is needed";
}

TEST_F(Addons, ABadPatternOrFileNameIsAClearErrorBeforeAnythingIsWritten) {
  for (const char* pattern : {"%d", "%s %s", "50%", "%s%"}) {
    setup[u"addons.ini"] = "P4=" + Utf16ToUtf8(addonName) + "\r\nCL=" + pattern + "\r\n";
    auto installer = Choose(true, false, false, setup);
    DeleteFileW(W(addon.Path()));
    try {
      TInstallerActionAddonsInstall().Execute();
      ADD_FAILURE() << pattern;
    } catch (const EInstallerInstallError& error) {
      EXPECT_NE(error.Message().find(u"\"CL\""), UString::npos) << pattern;
    }
    EXPECT_FALSE(FileExists(addon.Path())) << pattern;
  }
  for (const char16_t* name : {u"", u"..", u"..\\Evil.exe", u"C:\\Windows\\Evil.exe", u"sub/Evil.exe", u"C:Evil.exe"}) {
    TDRXStringList info;
    info.Add(u"P4=" + UString(name));
    EXPECT_THROW(TInstallerActionAddonsInstall::AddonFileName(info), EInstallerInstallError) << Utf16ToUtf8(name);
  }
}

TEST_F(Addons, TheSummaryListsTheChosenOptionsOnly) {
  const auto summary = [](TInstaller&) {
    TInstallerSummaryBuilder builder([](UStringView section, UStringView key) { return UString(section) + u"." + UString(key); });
    TInstallerActionAddonsInstall().BuildSummary(builder);
    return builder.ToString();
  };
  auto installer = Choose(true, false, true, setup);
  EXPECT_EQ(summary(*installer), u"PageAddons.Title\r\n    PageAddons.CB1\r\n    PageAddons.CB3\r\n");
  installer = nullptr;
  installer = Choose(false, false, false, setup);
  EXPECT_EQ(summary(*installer), u"");
}
