#include "uInstaller.Core.Installer.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"

namespace {

class InstallerOptions : public ::testing::Test {
 protected:
  std::unique_ptr<TInstaller> Create(const UString& commandLine, TTestEntries product = {}) {
    return std::make_unique<TInstaller>(commandLine, TestPackages(DefaultSetupEntries(), std::move(product)));
  }
  UString Auto(UStringView switches = u"") { return u"/AUTO=\"" + destination.Path() + u"\" " + UString(switches); }

  TTestProductGuard product;
  TTempFolder destination;
};

}  // namespace

TEST_F(InstallerOptions, SwitchesAndTheDestinationDecideModeAndFlags) {
  struct Case {
    int installedVersion;  // 0: no installation
    bool portableInstallation;
    const char16_t* switches;
    TInstallerFlags expected;
  };
  const Case cases[] = {
      {0, false, u"", ifAuto},
      {200, false, u"", ifAuto | ifUpdate},
      {200, true, u"", ifAuto | ifUpdate | ifPortable},
      {200, false, u"/UPDATE /SILENT /PORTABLE", ifAuto | ifUpdate},  // UPDATE stops the reading
      {0, false, u"/PORTABLE /SILENT /NOBACKUP /RUN", ifAuto | ifPortable | ifSilent | ifNoBackup | ifRun},
      {50, false, u"/silent", ifAuto | ifSilent},
  };
  for (const Case& c : cases) {
    if (c.installedVersion) WriteTestInstallation(destination.Path(), c.installedVersion, c.portableInstallation);
    auto installer = Create(Auto(c.switches));
    EXPECT_EQ(installer->Mode(), imInstall);
    EXPECT_EQ(installer->Flags(), c.expected) << Utf16ToUtf8(c.switches) << " over " << c.installedVersion;
    EXPECT_EQ(installer->DestPath(), destination.Path());
    DeleteFileW(W(destination.File(u"installed.ini")));
  }
}

TEST_F(InstallerOptions, WithoutAutoTheDefaultFolderIsTakenAndUpdateOnlyKeptWhenPossible) {
  auto installer = Create(u"");
  EXPECT_EQ(installer->Flags(), 0);
  EXPECT_EQ(installer->DestPath(), installer->Resources().ProgramFilesPath() + u"Ovix Test\\");
  EXPECT_TRUE(installer->IsDestPathInProgramFiles());
}

TEST_F(InstallerOptions, UpdateWithoutAnUpdatableInstallationFailsWithTheInstalledVersion) {
  try {
    Create(Auto(u"/UPDATE"));
    FAIL() << "expected EInstallerUpdateError";
  } catch (const EInstallerUpdateError& error) {
    EXPECT_EQ(error.Message(), u"Cannot install update on v0.00");
  }
  EXPECT_EQ(Installer, nullptr) << "a failed construction leaves no installer behind";
}

TEST_F(InstallerOptions, PortableUnderProgramFilesIsDroppedWhenTheRunStarts) {
  auto installer = Create(u"/AUTO /PORTABLE");
  EXPECT_TRUE(installer->HasFlag(ifPortable)) << "set by the command line";
  installer->Start(true);
  EXPECT_FALSE(installer->HasFlag(ifPortable));
  EXPECT_EQ(installer->State(), stFinished);
}

TEST_F(InstallerOptions, UninstallModeComesFromTheProductPackage) {
  auto installer = Create(u"/AUTO /SILENT /PORTABLE", {{u"Uninstall.ini", "[Uninstall]\r\nCount=0\r\n"}});
  EXPECT_EQ(installer->Mode(), imUninstall);
  EXPECT_EQ(installer->Flags(), ifAuto | ifSilent);
  EXPECT_TRUE(installer->DestPath().empty());
  try {
    installer->Start(true);
    FAIL() << "expected EInstallerInstallError";
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(error.Message(), u"DestPath is empty");
  }
  EXPECT_EQ(installer->State(), stIdle);
}

TEST_F(InstallerOptions, SetDestPathIgnoresTheSameTextAndReevaluatesTheFlags) {
  auto installer = Create(Auto());
  EXPECT_FALSE(installer->HasFlag(ifUpdate));
  WriteTestInstallation(destination.Path(), 300, false);
  installer->SetDestPath(destination.Path());  // exactly the same text: not even reloaded
  EXPECT_FALSE(installer->HasFlag(ifUpdate));
  UString otherCase = destination.Path();
  otherCase[0] = otherCase[0] == u'C' ? u'c' : u'C';
  installer->SetDestPath(otherCase);
  EXPECT_TRUE(installer->HasFlag(ifUpdate));
  installer->SetDestPath(destination.Path() + u"sub\\.\\..\\");
  EXPECT_EQ(installer->DestPath(), destination.Path()) << "a path with .\\ is expanded";
}

TEST_F(InstallerOptions, AutoAndSilentCannotChangeAfterTheCommandLine) {
  auto installer = Create(Auto());
  installer->SetFlag(ifNoBackup, true);
  EXPECT_TRUE(installer->HasFlag(ifNoBackup));
  try {
    installer->SetFlag(ifSilent, true);
    FAIL() << "expected EInstallerMysteryError";
  } catch (const EInstallerMysteryError& error) {
    EXPECT_EQ(error.Message(), u"Invalid Arguments");
  }
  EXPECT_THROW(installer->SetFlags(0), EInstallerMysteryError);
}

TEST_F(InstallerOptions, WithoutAProductClassTheInstallerCannotBeCreated) {
  ProductInfoClass = nullptr;
  try {
    Create(Auto());
    FAIL() << "expected EInstallerGeneralError";
  } catch (const EInstallerGeneralError& error) {
    EXPECT_EQ(error.Message(), u"ProductInfoClass is nil");
  }
}
