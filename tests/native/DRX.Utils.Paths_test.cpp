#include "DRX.Utils.Paths.h"

#include <gtest/gtest.h>

#include "TestSupport.h"

TEST(Paths, FileNamePartsOfWindowsPaths) {
  EXPECT_EQ(ExtractFilePath(u"C:\\Ovix\\Ovix.exe"), u"C:\\Ovix\\");
  EXPECT_EQ(ExtractFilePath(u"C:Ovix.exe"), u"C:");
  EXPECT_EQ(ExtractFileName(u"Plugins/a.dll"), u"a.dll");
  EXPECT_EQ(ExtractFileExt(u"C:\\a.b\\Langs\\English.lng"), u".lng");
  EXPECT_EQ(ExtractFileExt(u"C:\\a.b\\README"), u"");
  EXPECT_EQ(ChangeFileExt(u"C:\\Ovix\\Uninstall.exe", u".dat"), u"C:\\Ovix\\Uninstall.dat");
  EXPECT_EQ(IncludeTrailingBackslash(u"C:\\Ovix"), u"C:\\Ovix\\");
  EXPECT_EQ(IncludeTrailingBackslash(u"C:\\Ovix\\"), u"C:\\Ovix\\");
  EXPECT_EQ(ExcludeTrailingBackslash(u"C:\\Ovix\\"), u"C:\\Ovix");
}

TEST(Paths, FullPathsStartAtADriveOrNetworkRoot) {
  for (const char16_t* path : {u"C:\\", u"d:\\Ovix\\a.txt", u"\\\\server\\share\\a.txt", u"\\\\?\\C:\\a"})
    EXPECT_TRUE(IsFullPath(path)) << Utf16ToUtf8(path);
  for (const char16_t* path : {u"", u"C:", u"C:a.txt", u"\\Ovix\\a.txt", u"a.txt", u"..\\a.txt", u"$desktop\\a.lnk"})
    EXPECT_FALSE(IsFullPath(path)) << Utf16ToUtf8(path);
}

TEST(Paths, ValidatePathCleansEveryPartAndKeepsTheRoot) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"C:\\Program Files\\Ovix\\\\Plugins\\", u"C:\\Program Files\\Ovix\\Plugins\\"},
      {u"\\a.txt", u"a.txt"},
      {u"C:\\Ovix\\a<b>.txt.", u"C:\\Ovix\\ab.txt"},
      {u"C:\\x\\...\\y", u"C:\\x\\.\\y"},
      {u"C:\\x\\   \\y", u"C:\\x\\y"},
      {u"C:\\x\\ ..\\y", u"C:\\x\\y"},
      {u"C:\\x\\  name \\y", u"C:\\x\\name\\y"},
      {u"C:\\x\\say \"hi\"?*|", u"C:\\x\\say 'hi'"},
      {u"C:\\a:b\\c", u"C:\\ab\\c"},
      {u"\\\\server\\share\\x", u"\\\\server\\share\\x"},
      {u"\\\\server", u"\\\\server\\"},
      {u"$dest\\a.txt", u"$dest\\a.txt"},
      {u"", u""},
      // The characters go before the trimming sees the name.
      {u"C:\\x\\a.*", u"C:\\x\\a"},
      {u"C:\\x\\<  a", u"C:\\x\\a"},
      {u"C:\\x\\a ?\\y", u"C:\\x\\a\\y"},
      {u"C:\\x\\*.\\y", u"C:\\x\\.\\y"},
      {u"C:\\x\\| ..\\y", u"C:\\x\\y"},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(ValidatePath(path), expected) << Utf16ToUtf8(path);
}

TEST(Paths, ValidatePathCutsLongPartsTo255Characters) {
  const UString longName(300, u'n');
  EXPECT_EQ(ValidatePath(u"C:\\" + longName + u"\\x"), u"C:\\" + UString(255, u'n') + u"\\x");
}

TEST(Paths, SplitFullPathTakesTheRootAndThePlainNames) {
  struct Case {
    const char16_t* path;
    bool split;
    const char16_t* root;
    std::vector<UString> names;
  };
  const Case cases[] = {
      {u"C:\\Program Files\\Ovix\\", true, u"C:", {u"Program Files", u"Ovix"}},
      {u"c:/Ovix//Plugins\\a.dll", true, u"c:", {u"Ovix", u"Plugins", u"a.dll"}},
      {u"C:\\", true, u"C:", {}},
      {u"\\\\server\\share\\Ovix\\a.txt", true, u"\\\\server\\share", {u"Ovix", u"a.txt"}},
      {u"//server/share", true, u"\\\\server\\share", {}},
      {u"C:\\Ovix\\.hidden", true, u"C:", {u"Ovix", u".hidden"}},
      // Not decidable from the text: refused.
      {u"C:\\Ovix\\..\\victim.txt", false, u"", {}},
      {u"C:\\Ovix\\...\\victim.txt", false, u"", {}},
      {u"C:\\Ovix\\.\\a.txt", false, u"", {}},
      {u"C:\\Ovix.\\a.txt", false, u"", {}},
      {u"C:\\Ovix \\a.txt", false, u"", {}},
      {u"C:\\Ovix\\a.txt:stream", false, u"", {}},
      {u"C:\\Ovix\\C:x", false, u"", {}},
      {u"\\\\?\\C:\\Ovix\\a.txt", false, u"", {}},
      {u"\\\\.\\C:\\Ovix\\a.txt", false, u"", {}},
      {u"\\\\server", false, u"", {}},
      {u"\\\\server\\..\\x", false, u"", {}},
      {u"\\Ovix\\a.txt", false, u"", {}},
      {u"Ovix\\a.txt", false, u"", {}},
      {u"C:Ovix", false, u"", {}},
      {u"1:\\Ovix", false, u"", {}},
      {u"", false, u"", {}},
  };
  for (const Case& c : cases) {
    TDRXPathNames parts;
    EXPECT_EQ(SplitFullPath(c.path, parts), c.split) << Utf16ToUtf8(c.path);
    if (!c.split) continue;
    EXPECT_EQ(parts.Root, c.root) << Utf16ToUtf8(c.path);
    EXPECT_EQ(parts.Names, c.names) << Utf16ToUtf8(c.path);
  }
}

TEST(Paths, APathIsInsideAFolderByItsNamesNeverByAPrefixOfItsText) {
  const UString folder = u"C:\\Apps\\Ovix\\";
  struct Case {
    const char16_t* path;
    std::vector<UString> below;  // empty: not inside
  };
  const Case cases[] = {
      {u"C:\\Apps\\Ovix\\Ovix.exe", {u"Ovix.exe"}},
      {u"c:\\apps\\OVIX\\Plugins/a.dll", {u"Plugins", u"a.dll"}},
      {u"C:\\Apps\\Ovix\\\\Langs\\\\x.lng", {u"Langs", u"x.lng"}},
      {u"C:\\Apps\\Ovix\\", {}},
      {u"C:\\Apps\\Ovix", {}},
      {u"C:\\Apps\\Ovix2\\a.txt", {}},
      {u"C:\\Apps\\Ovix.bak\\a.txt", {}},
      {u"C:\\Apps\\victim.txt", {}},
      {u"D:\\Apps\\Ovix\\a.txt", {}},
      {u"C:\\Apps\\Ovix\\..\\victim.txt", {}},
      {u"C:\\Apps\\Ovix\\...\\victim1.txt", {}},
      {u"C:\\Apps\\Ovix\\...\\Data\\victim2.txt", {}},
      {u"C:\\Apps\\Ovix\\Plugins\\...\\...\\Data2\\victim3.txt", {}},
      {u"C:\\Apps\\Ovix\\Plugins\\..\\..\\..\\Windows\\win.ini", {}},
      {u"C:\\Apps\\Ovix\\Plugins\\. .\\x", {}},
      {u"C:\\Apps\\Ovix\\Plugins\\.. \\x", {}},
      {u"C:\\Apps\\Ovix.\\a.txt", {}},
      {u"\\\\?\\C:\\Apps\\Ovix\\a.txt", {}},
      {u"Plugins\\a.dll", {}},
  };
  for (const Case& c : cases) {
    std::vector<UString> below;
    EXPECT_EQ(NamesBelowFolder(c.path, folder, below), !c.below.empty()) << Utf16ToUtf8(c.path);
    EXPECT_EQ(below, c.below) << Utf16ToUtf8(c.path);
    EXPECT_EQ(IsPathInsideFolder(c.path, folder), !c.below.empty()) << Utf16ToUtf8(c.path);
  }
  EXPECT_TRUE(IsPathInsideFolder(u"\\\\nas\\apps\\Ovix\\a.txt", u"\\\\NAS\\Apps\\"));
  EXPECT_FALSE(IsPathInsideFolder(u"\\\\nas\\apps2\\a.txt", u"\\\\nas\\apps\\"));
  EXPECT_FALSE(IsPathInsideFolder(u"C:\\Apps\\Ovix\\a.txt", u"C:\\Apps\\..\\Apps\\")) << "a folder that cannot be decided holds nothing";
  EXPECT_TRUE(IsPathInsideFolder(u"C:\\a.txt", u"C:\\"));
}

TEST(Paths, SamePathsHaveTheSameRootAndNames) {
  EXPECT_TRUE(IsSamePath(u"C:\\Users\\Public\\Desktop\\Ovix.lnk", u"c:/users//public\\DESKTOP\\ovix.LNK"));
  EXPECT_TRUE(IsSamePath(u"C:\\Windows\\", u"C:\\Windows"));
  EXPECT_FALSE(IsSamePath(u"C:\\Windows\\a", u"C:\\Windows"));
  EXPECT_FALSE(IsSamePath(u"C:\\Windows\\..\\Windows", u"C:\\Windows"));
  EXPECT_FALSE(IsSamePath(u"D:\\Windows", u"C:\\Windows"));
  EXPECT_FALSE(IsSamePath(u"", u""));
}

TEST(Paths, JoinPathNamesRebuildsTheNormalisedPath) {
  TDRXPathNames parts;
  ASSERT_TRUE(SplitFullPath(u"c:/Apps//Ovix\\a.dll", parts));
  EXPECT_EQ(JoinPathNames(parts), u"c:\\Apps\\Ovix\\a.dll");
  ASSERT_TRUE(SplitFullPath(u"C:\\", parts));
  EXPECT_EQ(JoinPathNames(parts), u"C:\\");
  ASSERT_TRUE(SplitFullPath(u"\\\\server\\share\\x", parts));
  EXPECT_EQ(JoinPathNames(parts), u"\\\\server\\share\\x");
}
