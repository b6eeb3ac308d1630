#include "DRX.Utils.Shell.FolderGuard.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

namespace {

UString KnownFolder(const KNOWNFOLDERID& id) {
  PWSTR path = nullptr;
  UString result;
  if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path))) result = FromW(path);
  CoTaskMemFree(path);
  return IncludeTrailingBackslash(result);
}

UString Windows() { return GetShellFolder(CSIDL_WINDOWS); }
UString Profile() { return GetShellFolder(CSIDL_PROFILE); }

std::string Describe(const TDRXFolderCheck& check) {
  return Utf16ToUtf8(check.Folder) + " / " + Utf16ToUtf8(check.ProtectedFolder) + " (" +
         std::to_string(check.Conflict) + ")";
}

}  // namespace

// ---- Final path names ----

TEST(FinalPathName, ResolvesLinksAndAppendsWhatDoesNotExistYet) {
  TTempFolder temp;
  ASSERT_TRUE(ForceDirectories(temp.File(u"target\\sub")));
  const UString target = GetFinalPathName(temp.File(u"target"));
  ASSERT_FALSE(target.empty());
  EXPECT_TRUE(SameText(target, ExpandLongFileName(temp.File(u"target")))) << Utf16ToUtf8(target);
  EXPECT_EQ(GetFinalPathName(temp.File(u"target\\")), target + u"\\") << "a trailing backslash stays";
  EXPECT_EQ(GetFinalPathName(temp.File(u"target\\new\\deeper\\")), target + u"\\new\\deeper\\");
  EXPECT_EQ(GetFinalPathName(temp.File(u"target\\sub\\..\\new")), target + u"\\new");

  const TFolderLink link(temp.File(u"link"), temp.File(u"target"));
  ASSERT_TRUE(link.Made());
  EXPECT_EQ(GetFinalPathName(temp.File(u"link")), target);
  EXPECT_EQ(GetFinalPathName(temp.File(u"link\\sub\\")), target + u"\\sub\\");
  EXPECT_EQ(GetFinalPathName(temp.File(u"link\\missing\\x.txt")), target + u"\\missing\\x.txt");
}

TEST(FinalPathName, ADriveLetterThatStandsForAFolderResolvesToThatFolder) {
  TTempFolder temp;
  ASSERT_TRUE(ForceDirectories(temp.File(u"sub")));
  const UString letter = FreeDriveLetter();
  ASSERT_FALSE(letter.empty());
  const TMappedDrive drive(letter[0], temp.Path());
  ASSERT_TRUE(drive.Made());
  const UString folder = GetFinalPathName(temp.Path());
  EXPECT_EQ(GetFinalPathName(letter + u":\\"), folder);
  EXPECT_EQ(GetFinalPathName(letter + u":\\sub\\new\\"), folder + u"sub\\new\\");
}

TEST(FinalPathName, RelativeNamesAreTakenFromTheCurrentFolderAndNothingIsNotAPath) {
  TTempFolder temp;
  const UString previous = CurrentFolder();
  ASSERT_TRUE(SetCurrentDirectoryW(W(temp.Path())));
  const UString relative = GetFinalPathName(u"Ovixrel\\");
  SetCurrentDirectoryW(W(previous));
  EXPECT_EQ(relative, GetFinalPathName(temp.Path()) + u"Ovixrel\\");
  EXPECT_EQ(GetFinalPathName(u""), u"");
  EXPECT_EQ(GetFinalPathName(u"  "), u"");
}

TEST(FileLinks, AFileWhoseNameLeadsElsewhereIsALinkAFileReachedThroughAFolderLinkIsNot) {
  TTempFolder temp;
  WriteFileBytes(temp.File(u"real.ini"), "real");
  const TFileLink fileLink(temp.File(u"link.ini"), temp.File(u"real.ini"));
  ASSERT_TRUE(fileLink.Made());
  ASSERT_TRUE(ForceDirectories(temp.File(u"folder")));
  WriteFileBytes(temp.File(u"folder\\inside.ini"), "inside");
  const TFolderLink folderLink(temp.File(u"folder link"), temp.File(u"folder"));
  ASSERT_TRUE(folderLink.Made());

  EXPECT_TRUE(IsFileLink(temp.File(u"link.ini")));
  EXPECT_FALSE(IsFileLink(temp.File(u"real.ini")));
  EXPECT_FALSE(IsFileLink(temp.File(u"folder link\\inside.ini")));
  EXPECT_FALSE(IsFileLink(temp.File(u"missing.ini")));
  EXPECT_FALSE(IsFileLink(temp.File(u"folder")));
  EXPECT_EQ(FirstFolderLinkBelow(temp.Path(), temp.File(u"folder link\\a\\b\\")), temp.File(u"folder link\\"));
  EXPECT_EQ(FirstFolderLinkBelow(temp.Path(), temp.File(u"folder\\a\\")), u"");
  EXPECT_EQ(FirstFolderLinkBelow(temp.File(u"folder link\\"), temp.File(u"folder link\\a\\")), u"")
      << "the base itself is not looked at";
}

// ---- The guard on this machine ----

TEST(FolderGuardOnThisMachine, SystemAndUserFoldersAreRefusedAsTheyAreAndWhatIsInsideTheSystemsToo) {
  const UString windows = Windows();
  const UString profile = Profile();
  struct Case {
    UString folder;
    TDRXFolderConflict conflict;
  };
  const Case cases[] = {
      {u"C:\\", fcRoot},
      {windows, fcSame},
      {windows + u"system32\\drivers\\", fcInside},
      {windows + u"SysWOW64\\", fcInside},
      {windows + u"Fonts\\", fcInside},
      {windows + u"Temp\\", fcInside},
      {windows + u"Ovixrel\\", fcInside},
      {KnownFolder(FOLDERID_Public), fcSame},
      {GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY), fcSame},
      {GetShellFolder(CSIDL_COMMON_DOCUMENTS), fcSame},
      {KnownFolder(FOLDERID_UserProfiles), fcSame},
      {KnownFolder(FOLDERID_UserProfiles) + u"Default\\", fcSame},
      {KnownFolder(FOLDERID_UserProfiles) + u"Default\\Desktop\\", fcInside},
      {profile, fcSame},
      {profile + u"AppData\\", fcSame},
      {GetShellFolder(CSIDL_FAVORITES), fcSame},
      {GetShellFolder(CSIDL_DESKTOPDIRECTORY), fcSame},
      {GetShellFolder(CSIDL_APPDATA), fcSame},
      {PlatformTempFolder(), fcSame},
      {GetShellFolder(CSIDL_COMMON_APPDATA), fcSame},
      {GetShellFolder(CSIDL_COMMON_APPDATA) + u"Microsoft\\", fcSame},
      {GetShellFolder(CSIDL_COMMON_APPDATA) + u"Microsoft\\Windows\\", fcInside},
      {GetShellFolder(CSIDL_PROGRAM_FILES), fcSame},
      {GetShellFolder(CSIDL_PROGRAM_FILES_COMMON), fcSame},
  };
  for (const Case& c : cases) {
    const TDRXFolderCheck check = CheckFolder(c.folder);
    EXPECT_EQ(check.Conflict, c.conflict) << Utf16ToUtf8(c.folder) << ": " << Describe(check);
  }
  for (const UString& free : {GetShellFolder(CSIDL_PROGRAM_FILES) + u"Ovix\\", UString(u"C:\\Ovix\\"),
                              GetShellFolder(CSIDL_DESKTOPDIRECTORY) + u"Ovix\\",
                              GetShellFolder(CSIDL_COMMON_APPDATA) + u"Ovix\\", TTempFolder().Path()}) {
    const TDRXFolderCheck check = CheckFolder(free);
    EXPECT_EQ(check.Conflict, fcNone) << Utf16ToUtf8(free) << ": " << Describe(check);
  }
}

TEST(FolderGuardOnThisMachine, AnotherDriveLetterForTheSystemDriveIsTheSystemDrive) {
  const UString letter = FreeDriveLetter();
  ASSERT_FALSE(letter.empty());
  const TMappedDrive drive(letter[0], u"C:\\");
  ASSERT_TRUE(drive.Made());
  const UString alias = letter + u":";
  const UString profile = Profile();
  ASSERT_TRUE(StartsText(profile, u"C:\\"));
  EXPECT_EQ(CheckFolder(alias + profile.substr(2)).Conflict, fcSame) << "the profile through " << Utf16ToUtf8(alias);
  EXPECT_EQ(CheckFolder(alias + Windows().substr(2) + u"system32\\drivers\\").Conflict, fcInside);
  EXPECT_EQ(CheckFolder(alias + u"\\").Conflict, fcRoot);
  EXPECT_EQ(CheckFolder(alias + u"\\Ovix\\").Conflict, fcNone);
}

TEST(FolderGuardOnThisMachine, AJunctionOrLinkToAProtectedFolderIsThatFolder) {
  TTempFolder temp;
  const TFolderLink toWindows(temp.File(u"windows link"), Windows());
  const TFolderLink toProfile(temp.File(u"profile link"), Profile());
  ASSERT_TRUE(toWindows.Made() && toProfile.Made());
  EXPECT_EQ(CheckFolder(temp.File(u"windows link")).Conflict, fcSame);
  EXPECT_EQ(CheckFolder(temp.File(u"windows link\\new\\")).Conflict, fcInside);
  EXPECT_EQ(CheckFolder(temp.File(u"profile link\\")).Conflict, fcSame);
  EXPECT_EQ(CheckFolder(temp.File(u"profile link\\Ovix\\")).Conflict, fcNone);
}

TEST(FolderGuardOnThisMachine, NothingIsDecidedAboutAFolderThatCannotBeResolved) {
  EXPECT_EQ(CheckFolder(u"").Conflict, fcUnresolved);
  const UString letter = FreeDriveLetter();
  ASSERT_FALSE(letter.empty());
  EXPECT_EQ(CheckFolder(letter + u":\\Ovix\\").Conflict, fcUnresolved) << "no such drive";
  EXPECT_TRUE(IsProtectedFolder(letter + u":\\Ovix\\"));
  EXPECT_FALSE(IsProtectedFolder(TTempFolder().Path() + u"Ovix\\"));
}
