#include "uInstaller.Product.Ovix.Profiles.h"

#include <gtest/gtest.h>

#include <vector>

#include "DRX.Platform.h"
#include "DRX.Utils.Shell.UserAccounts.h"
#include "DRX.Utils.Shell.h"
#include "TestAccounts.h"
#include "TestOvix.h"
#include "TestSupport.h"

namespace {

class OvixProfiles : public ::testing::Test {
 protected:
  void Install(int version, bool portable) {
    WriteOvixConfig(destination.Path(), version, portable ? "0" : "1");
    installer.reset();  // one installer at a time
    installer = MakeOvixInstaller(u"/AUTO=\"" + destination.Path() + u"\"");
  }
  // The records whose installed profile lies below the folder, as (user, new path, installed path).
  std::vector<std::vector<UString>> ProfilesBelow(const UString& folder) {
    TInstallerProfileInfoList list;
    list.Populate();
    std::vector<std::vector<UString>> result;
    for (int i = 0; i < list.Count(); ++i) {
      const TInstallerProfileInfo& profile = list.Items(i);
      if (StartsText(profile.InstalledProfilePath, folder))
        result.push_back({profile.UserName, profile.ProfilePath, profile.InstalledProfilePath});
    }
    return result;
  }

  TOvixProductGuard product;
  TTempFolder destination;
  std::unique_ptr<TInstaller> installer;
};

}  // namespace

TEST_F(OvixProfiles, TheFolderNameFollowsTheVersionAndAPortableProfileLivesInTheDestination) {
  Install(3900, false);
  const TDRXUserAccountInfo account{u"alice", u"D:\\Data\\alice\\Roaming\\", u"D:\\Data\\alice\\"};
  EXPECT_EQ(TInstallerProfileHelper::GetProfilePath(&account, 3999), u"D:\\Data\\alice\\Roaming\\Ovix3\\");
  EXPECT_EQ(TInstallerProfileHelper::GetProfilePath(&account, 4000), u"D:\\Data\\alice\\Roaming\\Ovix\\");
  EXPECT_EQ(TInstallerProfileHelper::GetInstalledProfilePath(&account), u"D:\\Data\\alice\\Roaming\\Ovix3\\");
  EXPECT_EQ(TInstallerProfileHelper::GetNewProfilePath(&account), u"D:\\Data\\alice\\Roaming\\Ovix\\");
  EXPECT_EQ(TInstallerProfileHelper::GetProfilePath(nullptr, 3999), destination.Path() + u"Profile\\");
}

TEST_F(OvixProfiles, EveryAccountWithAProfileOfTheInstalledVersionIsListed) {
  TTempFolder users;
  const UString root = users.Path();
  for (const char16_t* folder :
       {u"alice\\Roaming\\Ovix3", u"alice\\Roaming\\Ovix", u"bob\\AppData\\Roaming\\Ovix", u"carol\\AppData\\Roaming"})
    ASSERT_TRUE(ForceDirectories(root + folder));
  TFakeAccounts accounts;
  accounts.LoadHive(accounts.Add(u"2001", root + u"alice"), u"%USERPROFILE%\\Roaming");
  accounts.Add(u"2002", root + u"bob");    // only a profile of the new version's name
  accounts.Add(u"2003", root + u"carol");  // no profile

  Install(3900, false);
  const std::vector<std::vector<UString>> from3900 = {
      {u"alice", root + u"alice\\Roaming\\Ovix\\", root + u"alice\\Roaming\\Ovix3\\"}};
  EXPECT_EQ(ProfilesBelow(root), from3900);

  Install(4100, false);
  const std::vector<std::vector<UString>> from4100 = {
      {u"alice", root + u"alice\\Roaming\\Ovix\\", root + u"alice\\Roaming\\Ovix\\"},
      {u"bob", root + u"bob\\AppData\\Roaming\\Ovix\\", root + u"bob\\AppData\\Roaming\\Ovix\\"}};
  EXPECT_EQ(ProfilesBelow(root), from4100);
}

TEST_F(OvixProfiles, APortableInstallationHasOneProfileWhenItsFolderExists) {
  Install(4500, true);
  ASSERT_TRUE(installer->HasFlag(ifPortable));
  EXPECT_TRUE(ProfilesBelow(destination.Path()).empty());
  ASSERT_TRUE(ForceDirectories(destination.Path() + u"Profile"));
  const std::vector<std::vector<UString>> expected = {
      {u"SingleUser", destination.Path() + u"Profile\\", destination.Path() + u"Profile\\"}};
  TInstallerProfileInfoList list;
  list.Populate();
  ASSERT_EQ(list.Count(), 1);
  EXPECT_EQ(ProfilesBelow(destination.Path()), expected);
}

TEST_F(OvixProfiles, AProfileFolderThatIsALinkIsNoProfile) {
  TTempFolder users, elsewhere;
  const UString root = users.Path();
  ASSERT_TRUE(ForceDirectories(root + u"dan\\AppData\\Roaming"));
  TFakeAccounts accounts;
  accounts.Add(u"2004", root + u"dan");
  const TFolderLink profile(root + u"dan\\AppData\\Roaming\\Ovix3", elsewhere.Path());
  const TFolderLink portable(destination.Path() + u"Profile", elsewhere.Path());
  ASSERT_TRUE(profile.Made() && portable.Made());

  Install(3900, false);
  EXPECT_TRUE(ProfilesBelow(root).empty()) << "a fresh installation's old profile, planted as a link";
  Install(4500, true);
  EXPECT_TRUE(ProfilesBelow(destination.Path()).empty()) << "a portable profile that is a link";
}
