#include "uInstaller.Core.Destination.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestInstaller.h"
#include "TestSupport.h"
#include "uInstaller.Core.Exceptions.h"

namespace {

// The test product with English texts for every reason a destination is refused.
std::unique_ptr<TInstaller> NewInstaller(const UString& commandLine) {
  TTestEntries setup = DefaultSetupEntries();
  setup[u"English.lng"] +=
      "E3=Cannot create %s\r\nDestInvalid=Invalid %s\r\nDestTooLong=Too long %s %d\r\nDestProtected=Protected %s\r\n"
      "DestHoldsProtected=Holds %s %s\r\nDestInsideProtected=Inside %s %s\r\nDestUnresolved=Unresolved %s\r\n";
  auto installer = std::make_unique<TInstaller>(commandLine, TestPackages(std::move(setup)));
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  return installer;
}

// The message of the start's refusal; empty when the run started.
UString Refusal(const UString& destination) {
  auto installer = NewInstaller(u"/AUTO=\"" + destination + u"\" /SILENT");
  try {
    installer->Start(true);
  } catch (const EInstallerInstallError& error) {
    EXPECT_EQ(installer->State(), stIdle) << "no action ran";
    return error.Message();
  }
  return {};
}

class DestinationCheck : public ::testing::Test {
 protected:
  DestinationCheck() { TTestProductInfo::ActionClasses.clear(); }
  TTestProductGuard product;
  TTempFolder root;
};

}  // namespace

TEST_F(DestinationCheck, ARelativeAutoFolderBecomesAFullPathFromTheCurrentFolder) {
  const UString previous = CurrentFolder();
  ASSERT_TRUE(SetCurrentDirectoryW(W(root.Path())));
  auto installer = NewInstaller(u"/AUTO=Ovixrel /SILENT");
  const UString relativeParts = NewInstaller(u"/AUTO=.\\a\\..\\Ovixrel /SILENT")->DestPath();
  SetCurrentDirectoryW(W(previous));
  EXPECT_EQ(installer->DestPath(), root.Path() + u"Ovixrel\\");
  EXPECT_EQ(relativeParts, root.Path() + u"Ovixrel\\");
  EXPECT_EQ(Refusal(root.Path() + u"Ovixrel"), u"") << "valid once it is full";
}

TEST_F(DestinationCheck, AnInvalidNameATooLongPathOrAFileInTheWayIsRefusedBeforeAnythingIsWritten) {
  WriteFileBytes(root.File(u"file"), "x");
  const UString base = root.Path() + u"Ovix";
  // The longest file of the test package is "Langs\Russian.lng" (17 characters).
  const UString longest = root.Path() + UString(kMaxInstalledFileLength - root.Path().size() - 17 - 1, u'x') + u"\\";
  const UString tooLong = ExcludeTrailingBackslash(longest) + u"y\\";
  const UString veryLong = root.Path() + UString(150, u'a') + u"\\" + UString(150, u'b') + u"\\";
  const std::pair<UString, UString> cases[] = {
      {base + u";C:\\Other", u"Invalid " + base + u";C:\\Other\\"},
      {base + u". . .", u"Invalid " + base + u". . .\\"},
      {root.File(u"file\\Ovix"), u"Cannot create " + root.File(u"file\\Ovix\\")},
      {root.File(u"file"), u"Cannot create " + root.File(u"file\\")},
      {tooLong, u"Too long " + tooLong + u" 259"},
      {veryLong, u"Too long " + veryLong + u" 259"},
      {u"Q:\\Ovix", u"Cannot create Q:\\Ovix\\"},
  };
  for (const auto& [destination, message] : cases) {
    if (destination[0] == u'Q' && (GetLogicalDrives() & (1u << (u'Q' - u'A')))) continue;
    EXPECT_EQ(Refusal(destination), message) << Utf16ToUtf8(destination);
  }
  EXPECT_EQ(Refusal(longest), u"") << "the longest destination that fits";
  EXPECT_EQ(ListFolderEntries(root.Path()).size(), 1u) << "only the file that was there";
}

TEST_F(DestinationCheck, AProtectedFolderIsRefusedAfterItIsResolved) {
  const UString windows = GetShellFolder(CSIDL_WINDOWS);
  const UString profile = GetShellFolder(CSIDL_PROFILE);
  EXPECT_EQ(Refusal(windows + u"system32\\drivers"),
            u"Inside " + windows + u"system32\\drivers\\ " + GetFinalPathName(windows));
  EXPECT_EQ(Refusal(profile), u"Protected " + profile);
  EXPECT_EQ(Refusal(u"C:\\"), u"Protected C:\\");
  const TFolderLink link(root.File(u"windows"), windows);
  ASSERT_TRUE(link.Made());
  EXPECT_EQ(Refusal(root.File(u"windows")), u"Protected " + root.File(u"windows\\"));
}
