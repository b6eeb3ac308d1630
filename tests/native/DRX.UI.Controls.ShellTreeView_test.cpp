#include "DRX.UI.Controls.ShellTreeView.h"

#include <gtest/gtest.h>

#include <set>

TEST(ShellTreePaths, AFolderAndTheFoldersAboveItUpToTheRoot) {
  struct {
    UString path;
    std::vector<UString> folders;
  } cases[] = {
      {u"C:\\windows\\system32", {u"C:\\windows\\system32", u"C:\\windows", u"C:\\"}},
      {u"c:/a/b/", {u"c:\\a\\b", u"c:\\a", u"c:\\"}},
      {u"D:\\", {u"D:\\"}},
      {u"\\\\server\\share\\x", {u"\\\\server\\share\\x", u"\\\\server\\share\\"}},
      {u"relative\\path", {}},
      {u"", {}},
      {u"C:\\a.\\b", {}},  // cannot be decided
  };
  for (const auto& c : cases) EXPECT_EQ(FolderAndAncestors(c.path), c.folders) << Utf16ToUtf8(c.path);
}

TEST(ShellTreePaths, FolderNamesTheFileSystemTakes) {
  for (const UString name : {u"New folder", u"a", u"ü.txt", u".hidden", u"x (2)"})
    EXPECT_TRUE(IsValidFolderName(name)) << Utf16ToUtf8(name);
  for (const UString name : {u"", u"a\\b", u"a/b", u"c:", u"*", u"?", u"\"q\"", u"<", u">", u"|", u"tab\t", u".",
                             u"..", u"ends with space ", u"ends with dot."})
    EXPECT_FALSE(IsValidFolderName(name)) << Utf16ToUtf8(name);
}

TEST(ShellTreePaths, ATakenNameGetsTheFirstFreeNumber) {
  std::set<UString> taken;
  const auto isTaken = [&](const UString& name) { return taken.count(name) > 0; };
  EXPECT_EQ(UniqueFolderName(u"New folder", isTaken), u"New folder");
  taken = {u"New folder", u"New folder (2)", u"New folder (4)"};
  EXPECT_EQ(UniqueFolderName(u"New folder", isTaken), u"New folder (3)");
  EXPECT_EQ(UniqueFolderName(u"Other", isTaken), u"Other");
  EXPECT_EQ(UniqueFolderName(u"x", [](const UString&) { return true; }), u"x (9999)") << "the search ends";
}
