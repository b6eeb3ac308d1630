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
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(ValidatePath(path), expected) << Utf16ToUtf8(path);
}

TEST(Paths, ValidatePathCutsLongPartsTo255Characters) {
  const UString longName(300, u'n');
  EXPECT_EQ(ValidatePath(u"C:\\" + longName + u"\\x"), u"C:\\" + UString(255, u'n') + u"\\x");
}
