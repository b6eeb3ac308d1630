#include "DRX.Utils.Shell.FolderGuard.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

// A machine's protected folders, in final form, as the guard is given them.
const std::vector<TDRXProtectedFolder> kProtected = {
    {u"C:\\Windows\\", fsTree},
    {u"C:\\ProgramData\\Microsoft\\", fsTree},
    {u"C:\\Users\\Default\\", fsTree},
    {u"C:\\ProgramData\\", fsFolder},
    {u"C:\\Program Files\\", fsFolder},
    {u"C:\\Program Files\\Common Files\\", fsFolder},
    {u"C:\\Users\\", fsFolder},
    {u"C:\\Users\\Public\\", fsFolder},
    {u"C:\\Users\\Public\\Documents\\", fsFolder},
    {u"C:\\Users\\me\\", fsFolder},
    {u"C:\\Users\\me\\AppData\\Roaming\\", fsFolder},
    {u"C:\\Users\\me\\AppData\\Local\\Temp\\", fsFolder},
    {u"D:\\Redirected\\Documents\\", fsFolder},
};

}  // namespace

TEST(FolderGuard, AFolderIsRefusedWhenItIsAboveOrInsideWhatItMustNotTouch) {
  struct Case {
    const char16_t* folder;
    TDRXFolderConflict conflict;
    const char16_t* protectedFolder;  // the one named, for a conflict with a listed folder
  };
  const Case cases[] = {
      // Drive and share roots, however written.
      {u"C:\\", fcRoot, nullptr},
      {u"e:", fcRoot, nullptr},
      {u"\\\\server\\share", fcRoot, nullptr},
      {u"\\\\server\\share\\", fcRoot, nullptr},
      // The protected folders themselves, in any letter case, with or without the backslash.
      {u"C:\\Windows", fcSame, u"C:\\Windows\\"},
      {u"c:\\users\\PUBLIC\\", fcSame, u"C:\\Users\\Public\\"},
      {u"C:\\Users\\me\\AppData\\Roaming\\", fcSame, u"C:\\Users\\me\\AppData\\Roaming\\"},
      {u"C:\\Program Files\\Common Files\\", fcSame, u"C:\\Program Files\\Common Files\\"},
      {u"C:\\Users\\me\\AppData\\Local\\Temp\\", fcSame, u"C:\\Users\\me\\AppData\\Local\\Temp\\"},
      // Inside a tree that is the system's.
      {u"C:\\Windows\\System32\\drivers\\", fcInside, u"C:\\Windows\\"},
      {u"C:\\windows\\Ovixrel\\", fcInside, u"C:\\Windows\\"},
      {u"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\", fcInside, u"C:\\ProgramData\\Microsoft\\"},
      {u"C:\\Users\\Default\\Desktop\\", fcInside, u"C:\\Users\\Default\\"},
      // Above protected folders: they would be backed up and cleaned with it.
      {u"C:\\Users\\me\\AppData\\", fcAbove, u"C:\\Users\\me\\AppData\\Roaming\\"},
      {u"D:\\Redirected\\", fcAbove, u"D:\\Redirected\\Documents\\"},
      // Folders of their own, also inside a user's folders and next to protected ones.
      {u"C:\\Program Files\\Ovix\\", fcNone, nullptr},
      {u"C:\\Program Files\\Common Files\\Ovix\\", fcNone, nullptr},
      {u"C:\\ProgramData\\Ovix\\", fcNone, nullptr},
      {u"C:\\Users\\me\\Desktop\\Ovix\\", fcNone, nullptr},
      {u"C:\\Users\\me\\AppData\\Local\\Temp\\test\\Ovix\\", fcNone, nullptr},
      {u"C:\\Windows2\\", fcNone, nullptr},
      {u"C:\\Users\\Publicity\\", fcNone, nullptr},
      {u"D:\\Ovix\\", fcNone, nullptr},
      {u"\\\\server\\share\\Ovix\\", fcNone, nullptr},
  };
  for (const Case& c : cases) {
    const TDRXFolderCheck check = MatchProtectedFolders(c.folder, kProtected);
    EXPECT_EQ(check.Conflict, c.conflict) << Utf16ToUtf8(c.folder);
    if (c.protectedFolder) {
      EXPECT_EQ(check.ProtectedFolder, c.protectedFolder) << Utf16ToUtf8(c.folder);
    }
  }
}

TEST(FolderGuard, ItsOwnFolderIsNamedBeforeAFolderItHoldsOrATreeItIsIn) {
  const std::vector<TDRXProtectedFolder> nested = {
      {u"C:\\Users\\me\\Documents\\", fsFolder}, {u"C:\\Users\\", fsTree}, {u"C:\\Users\\me\\", fsFolder}};
  const TDRXFolderCheck check = MatchProtectedFolders(u"C:\\Users\\me", nested);
  EXPECT_EQ(check.Conflict, fcSame);
  EXPECT_EQ(check.ProtectedFolder, u"C:\\Users\\me\\");
  EXPECT_EQ(check.Folder, u"C:\\Users\\me\\");
  EXPECT_EQ(MatchProtectedFolders(u"C:\\Users\\you\\", nested).Conflict, fcInside);
  EXPECT_EQ(MatchProtectedFolders(u"C:\\Ovix\\", {}).Conflict, fcNone);
}

TEST(FolderGuard, RootsAreDrivesAndShares) {
  for (const char16_t* root : {u"C:", u"C:\\", u"z:\\", u"\\\\server\\share", u"\\\\server\\share\\"})
    EXPECT_TRUE(IsRootFolderName(root)) << Utf16ToUtf8(root);
  for (const char16_t* folder : {u"", u"C:\\Ovix", u"\\\\server", u"\\\\server\\", u"\\\\server\\share\\x", u"\\\\\\x",
                                 u"Ovix"})
    EXPECT_FALSE(IsRootFolderName(folder)) << Utf16ToUtf8(folder);
}
