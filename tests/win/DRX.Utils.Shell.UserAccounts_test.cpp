#include "DRX.Utils.Shell.UserAccounts.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <vector>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestAccounts.h"
#include "TestSupport.h"

TEST(UserAccountList, DropsAnAccountWhoseProfilePathIsListedWithTheSameCase) {
  TDRXUserAccountInfoList list;
  EXPECT_NE(list.Add(u"alice", u"C:\\Users\\alice\\AppData\\Roaming\\", u"C:\\Users\\alice\\"), nullptr);
  EXPECT_EQ(list.Add(u"other", u"D:\\", u"C:\\Users\\alice\\"), nullptr);
  EXPECT_NE(list.Add(u"Alice", u"C:\\Users\\Alice\\AppData\\Roaming\\", u"C:\\Users\\Alice\\"), nullptr);
  EXPECT_EQ(list.Add(nullptr), nullptr);
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.Items(0).UserName, u"alice");
  EXPECT_EQ(list.Items(1).ProfilePath, u"C:\\Users\\Alice\\");
  EXPECT_EQ(list.IndexOf(u"C:\\Users\\ALICE\\"), -1);
}

TEST(UserAccounts, CurrentUserFirstThenTheProfileListAccountsThatQualify) {
  TTempFolder temp;
  const UString root = temp.Path();
  for (const char16_t* name : {u"alice", u"alice.old", u"bob", u"dave", u"erin"})
    ASSERT_TRUE(ForceDirectories(root + name));
  ASSERT_TRUE(SetEnvironmentVariableW(L"OVIX_TEST_PROFILES", W(ExcludeTrailingBackslash(root))));
  ASSERT_EQ(DefaultAppDataLayout(), u"%USERPROFILE%\\AppData\\Roaming");

  TFakeAccounts accounts;
  accounts.LoadHive(accounts.Add(u"1001", root + u"alice"), u"%userprofile%\\Roaming Data");
  accounts.Add(u"1001.BAK", root + u"alice.old");                    // a backup entry: skipped
  accounts.Add(u"1002", u"%OVIX_TEST_PROFILES%\\bob");                // no hive: the default layout
  accounts.Add(u"1003", root + u"carol");                             // no profile folder: skipped
  accounts.LoadHive(accounts.Add(u"1004", root + u"dave"), u"");      // no AppData: skipped
  accounts.LoadHive(accounts.Add(u"1005", root + u"erin", REG_SZ), u"%USERPROFILE%\\%OVIX_DATA%\\%UserProfile%");
  accounts.Add(u"1006", root + u"alice");                             // the same profile again: dropped
  accounts.Add(u"1007", root + u"ALICE");                             // other letter case: kept

  const std::unique_ptr<TDRXUserAccountInfoList> list = GetUserAccounts();
  ASSERT_GE(list->Count(), 1u);
  wchar_t userName[128];
  DWORD length = 128;
  ASSERT_TRUE(GetUserNameW(userName, &length));
  EXPECT_EQ(list->Items(0).UserName, FromW(userName));
  EXPECT_EQ(list->Items(0).ProfilePath, GetShellFolder(CSIDL_PROFILE));
  EXPECT_EQ(list->Items(0).AppDataPath, GetShellFolder(CSIDL_APPDATA));

  std::vector<std::vector<UString>> ours;
  for (size_t i = 1; i < list->Count(); ++i) {
    const TDRXUserAccountInfo& account = list->Items(i);
    EXPECT_NE(account.ProfilePath, list->Items(0).ProfilePath);
    if (SameText(account.ProfilePath.substr(0, root.size()), root))
      ours.push_back({account.UserName, account.ProfilePath, account.AppDataPath});
  }
  const std::vector<std::vector<UString>> expected = {
      {u"alice", root + u"alice\\", root + u"alice\\Roaming Data\\"},
      {u"bob", root + u"bob\\", root + u"bob\\AppData\\Roaming\\"},
      {u"erin", root + u"erin\\", root + u"erin\\%OVIX_DATA%\\" + root + u"erin\\"},
      {u"ALICE", root + u"ALICE\\", root + u"ALICE\\AppData\\Roaming\\"},
  };
  EXPECT_EQ(ours, expected);
}

TEST(UserAccounts, AProfilePathThatCannotBeExpandedRaisesTheSystemError) {
  TFakeAccounts accounts;
  const UString half(20000, u'p');
  ASSERT_TRUE(SetEnvironmentVariableW(L"OVIX_TEST_HALF", W(half)));
  accounts.Add(u"1001", u"C:\\%OVIX_TEST_HALF%\\%OVIX_TEST_HALF%");  // expands beyond 32767 characters
  EXPECT_THROW(GetUserAccounts(), EOSError);
}
