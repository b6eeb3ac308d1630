#include "uInstaller.Product.Ovix.Actions.Integrate.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "DRX.Format.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestInstaller.h"
#include "TestRecorder.h"
#include "TestSupport.h"
#include "uInstaller.Core.Summary.h"

namespace {

constexpr TDRXOSVersion kWindows7{6, 1, 7601};
constexpr TDRXOSVersion kWindows8{6, 2, 9200};
constexpr TDRXOSVersion kWindows10{10, 0, 19045};

// The installer of a run into `destination`, with or without AUTO.
std::unique_ptr<TInstaller> NewInstaller(const UString& destination, bool automatic,
                                         TTestEntries setup = DefaultSetupEntries()) {
  auto installer = std::make_unique<TInstaller>(automatic ? u"/AUTO=\"" + destination + u"\"" : UString(),
                                                TestPackages(std::move(setup)));
  if (!automatic) installer->SetDestPath(destination);
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  return installer;
}

// Language texts shown as "section.key".
TInstallerSummaryBuilder KeyBuilder() {
  return TInstallerSummaryBuilder([](UStringView section, UStringView key) { return UString(section) + u"." + UString(key); });
}

void WriteIntegration(TInstaller& installer, std::optional<bool> integrate, std::optional<bool> contextMenu,
                      std::optional<bool> associate) {
  TDRXIniFile& settings = installer.Settings();
  settings.DeleteSection(u"Integration");
  if (integrate) settings.WriteBool(u"Integration", u"IntegrateToWindows", *integrate);
  if (contextMenu) settings.WriteBool(u"Integration", u"RegisterContextMenu", *contextMenu);
  if (associate) settings.WriteBool(u"Integration", u"AssociateWithFiles", *associate);
}

class Integrate : public ::testing::Test {
 protected:
  TTestProductGuard product;
  TTempFolder root;
  // A destination with a space: unquoted, the system would start root\Ovix.exe.
  UString destination = root.Path() + u"Ovix Player\\";
  bool made = ForceDirectories(destination);
  TCommandRecorder rediruzu{destination + u"Rediruzu.exe"};
  TCommandRecorder decoy{root.Path() + u"Ovix.exe"};
};

}  // namespace

TEST_F(Integrate, StartsRediruzuWithTheChosenSwitchesBehindTheQuotedProgramPath) {
  ASSERT_TRUE(made);
  const std::optional<bool> unset;
  struct Case {
    TDRXOSVersion version;
    bool automatic;
    std::optional<bool> integrate, contextMenu, associate;
    const char16_t* switches;  // nullptr: not started
  } cases[] = {
      {kWindows10, false, unset, unset, unset, u" /REG=L1 /REG=D1 /REG=R1 /REG=M1 /REG=R2 /REG_UI"},
      {kWindows10, true, unset, unset, unset, u" /REG=L1 /REG=D1 /REG=R1 /REG=M1 /REG=R2"},
      {kWindows7, false, true, true, true, u" /REG=L1 /REG=D1 /REG=R1 /REG=M1 /REG=R2"},
      {kWindows10, true, false, false, true, u" /REG=R2"},
      {kWindows10, false, false, false, true, u" /REG=R2 /REG_UI"},
      {kWindows8, false, false, false, true, u" /REG=R2 /REG_UI"},
      {kWindows7, false, false, false, true, u" /REG=R2"},
      {kWindows10, false, true, true, false, u" /REG=L1 /REG=D1 /REG=R1 /REG=M1"},
      {kWindows10, false, false, true, false, u" /REG=M1"},
      {kWindows10, false, false, false, false, nullptr},
  };
  for (const Case& c : cases) {
    const std::string label = Utf16ToUtf8(Format(u"%d.%d auto=%d: %s", {c.version.Major, c.version.Minor, int(c.automatic),
                                                                       c.switches ? c.switches : u"(none)"}));
    TDRXOSVersionOverride version(c.version);
    auto installer = NewInstaller(destination, c.automatic);
    WriteIntegration(*installer, c.integrate, c.contextMenu, c.associate);
    rediruzu.Reset();
    TInstallerActionIntegrate().Execute();
    if (c.switches) {
      EXPECT_EQ(rediruzu.CommandLine(), u"\"" + rediruzu.Path() + u"\"" + c.switches) << label;
    } else {
      EXPECT_FALSE(rediruzu.WasStarted()) << label;
    }
    EXPECT_FALSE(decoy.WasStarted()) << label;
  }
}

TEST_F(Integrate, WithoutRediruzuInTheDestinationNothingIsStarted) {
  auto installer = NewInstaller(root.Path() + u"Elsewhere\\", false);
  TInstallerActionIntegrate().Execute();
  EXPECT_FALSE(rediruzu.WasStarted());
  EXPECT_FALSE(decoy.WasStarted());
}

TEST(IntegrationSummary, ListsTheChosenRegistrationsAndShortcutsUnderTheirHeadings) {
  TTestProductGuard product;
  TTempFolder destination;
  auto installer = NewInstaller(destination.Path(), true);
  WriteIntegration(*installer, true, false, true);
  installer->Settings().WriteBool(u"Integration", u"ShortcutDesktop", false);
  TInstallerSummaryBuilder builder = KeyBuilder();
  TInstallerActionIntegrate().BuildSummary(builder);
  TInstallerActionShortcuts().BuildSummary(builder);
  EXPECT_EQ(builder.ToString(),
            u"PageIntegration.LB2\r\n    PageIntegration.CB4\r\n    PageIntegration.CB3\r\n"
            u"\r\nPageIntegration.LB1\r\n    PageIntegration.CB2\r\n");

  installer->SetFlag(ifPortable, true);
  installer->Settings().DeleteSection(u"Integration");
  TInstallerSummaryBuilder portable = KeyBuilder();
  TInstallerActionShortcuts().BuildSummary(portable);
  EXPECT_EQ(portable.ToString(), u"") << "a portable run makes no shortcuts unless asked";
}

namespace {

// Shortcuts of the script inside folders of their own on the shared desktop
// and in the shared Start menu, removed again.
class Shortcuts : public ::testing::Test {
 protected:
  Shortcuts() {
    WriteFileBytes(destination.File(u"Ovix.exe"), "program");
    WriteFileBytes(destination.File(u"Readme.txt"), "text");
    WriteFileBytes(destination.File(u"Other.exe"), "program");
  }
  ~Shortcuts() override {
    DeleteFolderTree(desktopFolder);
    DeleteFolderTree(startMenuFolder);
  }

  TTestEntries Setup() const {
    TTestEntries setup = DefaultSetupEntries();
    std::string script = Utf16ToUtf8(u"<Shortcuts>"
                                     u"<File name=\"$DESKTOP\\" + folder + u"\\Ovix.lnk\">$DEST\\Ovix.exe</File>"
                                     u"<File name=\"$STARTMENU\\" + folder + u"\\Ovix.lnk\">$DEST\\Ovix.exe</File>"
                                     u"<File name=\"$STARTMENU\\" + folder + u"\\Readme.lnk\">$DEST\\Readme.txt</File>"
                                     u"<File name=\"$DEST\\Local.lnk\">$DEST\\Ovix.exe</File>"
                                     u"<File name=\"$desktop\\" + folder + u"\\Lower.lnk\">$DEST\\Ovix.exe</File>"
                                     u"</Shortcuts></product>");
    std::string& xml = setup[u"Install.xml"];
    xml.replace(xml.find("</product>"), 10, script);
    return setup;
  }

  std::unique_ptr<TInstaller> Run(const TDRXOSVersion& version, std::optional<bool> desktop, std::optional<bool> startMenu,
                                  std::vector<int>* progress = nullptr) {
    TDRXOSVersionOverride substitute(version);
    auto installer = NewInstaller(destination.Path(), true, Setup());
    desktopFolder = installer->Resources().DesktopPath() + folder + u"\\";
    startMenuFolder = installer->Resources().StartMenuPath() + folder + u"\\";
    if (desktop) installer->Settings().WriteBool(u"Integration", u"ShortcutDesktop", *desktop);
    if (startMenu) installer->Settings().WriteBool(u"Integration", u"ShortcutStartMenu", *startMenu);
    TInstallerActionShortcuts action;
    if (progress) action.OnProgress = [progress](TInstallerAction& sender) { progress->push_back(sender.Progress()); };
    action.Execute();
    return installer;
  }

  // The link names found in a folder, "name=target".
  static std::vector<UString> Links(const UString& folder) {
    std::vector<UString> links;
    for (const TDRXFolderEntry& entry : ListFolderEntries(folder))
      links.push_back(entry.Name + u"=" + GetShortcutTarget(folder + entry.Name));
    std::sort(links.begin(), links.end());
    return links;
  }

  TTestProductGuard product;
  TTempFolder destination;
  UString folder = u"OvixShortcutTest-" + IntToStr(GetCurrentProcessId());
  UString desktopFolder, startMenuFolder;
};

}  // namespace

TEST_F(Shortcuts, OnWindows10OnlyProgramsAreLinkedUnderTheWantedRoots) {
  std::vector<int> progress;
  auto installer = Run(kWindows10, std::nullopt, std::nullopt, &progress);
  const UString program = destination.File(u"Ovix.exe");
  EXPECT_EQ(Links(desktopFolder), std::vector<UString>{u"Ovix.lnk=" + program});
  EXPECT_EQ(Links(startMenuFolder), std::vector<UString>{u"Ovix.lnk=" + program});
  EXPECT_FALSE(FileExists(destination.File(u"Local.lnk"))) << "a path under no root is never linked";
  EXPECT_FALSE(DirectoryExists(u"$desktop")) << "an unexpanded variable must not become a relative folder";
  EXPECT_EQ(progress, (std::vector<int>{20, 40, 60, 80, 100}));
}

TEST_F(Shortcuts, OnWindows7OtherFilesAreLinkedToo) {
  auto installer = Run(kWindows7, true, true);
  EXPECT_EQ(Links(startMenuFolder),
            (std::vector<UString>{u"Ovix.lnk=" + destination.File(u"Ovix.exe"), u"Readme.lnk=" + destination.File(u"Readme.txt")}));
}

TEST_F(Shortcuts, DesktopOffStartMenuOnAndPortableDefaults) {
  auto installer = Run(kWindows10, false, true);
  EXPECT_FALSE(DirectoryExists(desktopFolder));
  EXPECT_EQ(Links(startMenuFolder).size(), 1u);
  DeleteFolderTree(startMenuFolder);

  TDRXOSVersionOverride substitute(kWindows10);
  installer = nullptr;
  installer = NewInstaller(destination.Path(), true, Setup());
  installer->SetFlag(ifPortable, true);
  TInstallerActionShortcuts action;
  action.Execute();
  EXPECT_EQ(action.Roots().Count(), 0);
  EXPECT_FALSE(DirectoryExists(desktopFolder));
  EXPECT_FALSE(DirectoryExists(startMenuFolder));
}

TEST_F(Shortcuts, ALinkToTheSameTargetIsKeptOneToAnotherIsReplaced) {
  auto installer = Run(kWindows10, true, true);
  installer = nullptr;
  const UString desktopLink = desktopFolder + u"Ovix.lnk";
  const UString startMenuLink = startMenuFolder + u"Ovix.lnk";
  ASSERT_TRUE(CreateShortcut(startMenuLink, destination.File(u"Other.exe")));

  FILETIME old{};
  SYSTEMTIME when{2001, 1, 0, 1, 12, 0, 0, 0};
  SystemTimeToFileTime(&when, &old);
  const auto setWriteTime = [&](const UString& file) {
    const HANDLE handle = CreateFileW(W(file), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileTime(handle, nullptr, nullptr, &old);
    CloseHandle(handle);
  };
  const auto writeTime = [](const UString& file) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(W(file), GetFileExInfoStandard, &data);
    return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  };
  setWriteTime(desktopLink);
  setWriteTime(startMenuLink);
  const uint64_t oldTime = (uint64_t(old.dwHighDateTime) << 32) | old.dwLowDateTime;
  ASSERT_EQ(writeTime(desktopLink), oldTime);

  installer = Run(kWindows10, true, true);
  EXPECT_EQ(writeTime(desktopLink), oldTime) << "the same target: not rewritten";
  EXPECT_NE(writeTime(startMenuLink), oldTime);
  EXPECT_EQ(GetShortcutTarget(startMenuLink), destination.File(u"Ovix.exe"));
}
