// Folder-tree operations of DRX.Utils.Shell: listing, deletion and copying,
// above all that a link inside a tree is never followed.
#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

namespace {
// root\a.txt, root\sub\b.txt, root\sub\deeper\c.txt, root\empty\ (root ends with a backslash)
void MakeTree(const UString& root) {
  ASSERT_TRUE(ForceDirectories(root + u"sub\\deeper"));
  ASSERT_TRUE(ForceDirectories(root + u"empty"));
  WriteFileBytes(root + u"a.txt", "a");
  WriteFileBytes(root + u"sub\\b.txt", "b");
  WriteFileBytes(root + u"sub\\deeper\\c.txt", "c");
}

}  // namespace

TEST(FolderTree, ListingSkipsDotsAndSystemEntriesAndMarksFolderLinks) {
  struct {
    const char16_t* name;
    uint32_t attributes;
    TDRXFolderEntryKind kind;
  } cases[] = {
      {u".", FILE_ATTRIBUTE_DIRECTORY, fekSkipped},
      {u"..", FILE_ATTRIBUTE_DIRECTORY, fekSkipped},
      {u"desktop.ini", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN, fekSkipped},
      {u"System Volume Information", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM, fekSkipped},
      {u"linked system", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT, fekSkipped},
      {u"a.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY, fekFile},
      {u"...txt", FILE_ATTRIBUTE_NORMAL, fekFile},
      {u"file link", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_REPARSE_POINT, fekFile},
      {u"sub", FILE_ATTRIBUTE_DIRECTORY, fekFolder},
      {u"junction", FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT, fekFolderLink},
  };
  for (const auto& c : cases) EXPECT_EQ(ClassifyFolderEntry(c.name, c.attributes), c.kind) << Utf16ToUtf8(c.name);

  TTempFolder temp;
  MakeTree(temp.Path());
  WriteFileBytes(temp.File(u"system.dat"), "s");
  ASSERT_TRUE(SetFileAttributesW(W(temp.File(u"system.dat")), FILE_ATTRIBUTE_SYSTEM));
  std::vector<UString> names;
  for (const TDRXFolderEntry& entry : ListFolderEntries(temp.Path())) names.push_back(entry.Name);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<UString>{u"a.txt", u"empty", u"sub"}));
}

TEST(FolderTree, ForceDirectoriesCreatesEveryMissingParent) {
  TTempFolder temp;
  EXPECT_TRUE(ForceDirectories(temp.File(u"x\\y\\z\\")));
  EXPECT_TRUE(DirectoryExists(temp.File(u"x\\y\\z")));
  EXPECT_TRUE(ForceDirectories(temp.File(u"x\\y")));  // exists already
  WriteFileBytes(temp.File(u"file"), "f");
  EXPECT_FALSE(ForceDirectories(temp.File(u"file\\below")));
  EXPECT_FALSE(ForceDirectories(u""));
}

namespace {
// ForceDirectories on a thread of its own, with the stack the installer
// thread has; false also when the thread did not end normally.
bool ForceDirectoriesOnAThread(const UString& folder) {
  struct TJob {
    UString folder;
    bool created = false;
  } job{folder};
  const HANDLE thread = CreateThread(
      nullptr, 0,
      [](void* parameter) -> DWORD {
        auto* work = static_cast<TJob*>(parameter);
        work->created = ForceDirectories(work->folder);
        return 0;
      },
      &job, 0, nullptr);
  if (!thread) return false;
  DWORD exitCode = 1;
  const bool ended = WaitForSingleObject(thread, 60000) == WAIT_OBJECT_0 && GetExitCodeThread(thread, &exitCode);
  CloseHandle(thread);
  EXPECT_TRUE(ended && exitCode == 0) << "the thread ended normally, not with " << exitCode;
  return job.created && ended && exitCode == 0;
}

}  // namespace

// A destination of thousands of levels: no level may cost stack, or the
// installer thread dies of it (in Wine each call with such a path needs a
// large buffer on the stack as well). Wine makes each deeper level slower to
// create, so the deepest case fails early, at a file in the way.
TEST(FolderTree, ForceDirectoriesNeedsNoStackPerLevel) {
  TTempFolder temp;
  const UString base = u"\\\\?\\" + temp.Path();
  const UString deep = base + FolderLevels(300);
  EXPECT_TRUE(ForceDirectoriesOnAThread(deep));
  EXPECT_TRUE(DirectoryExists(deep));
  WriteFileBytes(temp.File(u"block"), "a file where a folder should be");
  EXPECT_FALSE(ForceDirectoriesOnAThread(temp.File(u"block\\") + FolderLevels(12000)));
  // Removed level by level, as it was made.
  for (UString level = ExcludeTrailingBackslash(deep); level.size() > base.size();
       level = ExcludeTrailingBackslash(ExtractFilePath(level)))
    RemoveDirectoryW(W(level));
}

TEST(FolderTree, APathInsideAFolderIsRebuiltUnlessALinkLiesOnTheWay) {
  TTempFolder temp, outside;
  ASSERT_TRUE(ForceDirectories(temp.File(u"Ovix\\Plugins")));
  ASSERT_TRUE(ForceDirectories(outside.File(u"Data")));
  const TFolderLink link(temp.File(u"Ovix\\Linked"), outside.Path());
  ASSERT_TRUE(link.Made());
  const TFolderLink linkedRoot(temp.File(u"Root"), temp.File(u"Ovix"));
  ASSERT_TRUE(linkedRoot.Made());
  const UString folder = temp.File(u"Ovix\\");
  EXPECT_EQ(PathInsideFolderWithoutLinks(folder + u"Plugins/a.dll", folder), temp.File(u"Ovix\\Plugins\\a.dll"));
  EXPECT_EQ(PathInsideFolderWithoutLinks(folder + u"Linked", folder), temp.File(u"Ovix\\Linked"))
      << "the link itself is a name inside the folder";
  EXPECT_EQ(PathInsideFolderWithoutLinks(folder + u"Linked\\Data\\victim.txt", folder), u"");
  EXPECT_EQ(PathInsideFolderWithoutLinks(folder + u"..\\x.txt", folder), u"");
  EXPECT_EQ(PathInsideFolderWithoutLinks(folder, folder), u"");
  EXPECT_EQ(PathInsideFolderWithoutLinks(temp.File(u"Root\\Plugins\\a.dll"), temp.File(u"Root\\")),
            temp.File(u"Root\\Plugins\\a.dll"))
      << "the folder itself may be a link";
}

TEST(FolderTree, DeleteRemovesEverythingOrStopsAtWhatCannotGo) {
  TTempFolder temp;
  MakeTree(temp.File(u"tree\\"));
  EXPECT_TRUE(DeleteFolderTree(temp.File(u"tree")));
  EXPECT_FALSE(DirectoryExists(temp.File(u"tree")));
  EXPECT_FALSE(DeleteFolderTree(temp.File(u"tree")));  // gone already

  MakeTree(temp.File(u"locked\\"));
  ASSERT_TRUE(SetFileAttributesW(W(temp.File(u"locked\\sub\\b.txt")), FILE_ATTRIBUTE_READONLY));
  EXPECT_FALSE(DeleteFolderTree(temp.File(u"locked\\")));
  EXPECT_TRUE(FileExists(temp.File(u"locked\\sub\\b.txt")));
  SetFileAttributesW(W(temp.File(u"locked\\sub\\b.txt")), FILE_ATTRIBUTE_NORMAL);

  MakeTree(temp.File(u"system\\"));
  WriteFileBytes(temp.File(u"system\\system.dat"), "s");
  ASSERT_TRUE(SetFileAttributesW(W(temp.File(u"system\\system.dat")), FILE_ATTRIBUTE_SYSTEM));
  EXPECT_FALSE(DeleteFolderTree(temp.File(u"system\\")));
  EXPECT_TRUE(FileExists(temp.File(u"system\\system.dat")));
  EXPECT_FALSE(FileExists(temp.File(u"system\\a.txt")));
  SetFileAttributesW(W(temp.File(u"system\\system.dat")), FILE_ATTRIBUTE_NORMAL);
}

TEST(FolderTree, DeleteRefusesAnEmptyNameAndDriveRoots) {
  TTempFolder temp;
  MakeTree(temp.Path());
  const UString letter = FreeDriveLetter();
  ASSERT_FALSE(letter.empty());
  {
    TMappedDrive drive(letter[0], temp.Path());
    ASSERT_TRUE(drive.Made());
    const UString root = letter + u":\\";
    for (const UString& folder : {root, letter + u":", root + u"sub\\..\\", root + u"."})
      EXPECT_FALSE(DeleteFolderTree(folder)) << Utf16ToUtf8(folder);
    EXPECT_TRUE(FileExists(root + u"a.txt"));
    EXPECT_TRUE(DeleteFolderTree(root + u"sub\\"));  // below the root a tree goes as usual
  }
  EXPECT_TRUE(FileExists(temp.File(u"a.txt")));
  EXPECT_FALSE(DirectoryExists(temp.File(u"sub")));
  EXPECT_FALSE(DeleteFolderTree(u""));
}

TEST(FolderTree, DeleteRemovesAFolderLinkButNeverWhatItPointsTo) {
  TTempFolder temp;
  MakeTree(temp.File(u"outside\\"));
  MakeTree(temp.File(u"tree\\"));
  const TFolderLink inner(temp.File(u"tree\\sub\\link"), temp.File(u"outside"));
  const TFolderLink top(temp.File(u"top link"), temp.File(u"outside"));
  ASSERT_TRUE(inner.Made());
  ASSERT_TRUE(top.Made());

  const bool treeDeleted = DeleteFolderTree(temp.File(u"tree"));
  const bool linkDeleted = DeleteFolderTree(temp.File(u"top link\\"));
  for (const char16_t* name : {u"a.txt", u"sub\\b.txt", u"sub\\deeper\\c.txt"})
    EXPECT_TRUE(FileExists(temp.File(u"outside\\") + name)) << Utf16ToUtf8(name);
  EXPECT_TRUE(DirectoryExists(temp.File(u"outside\\empty")));
  // Whether the system lets the link itself go (Wine keeps host links), the result says.
  EXPECT_EQ(treeDeleted, !DirectoryExists(temp.File(u"tree")));
  EXPECT_EQ(linkDeleted, GetFileAttributesW(W(temp.File(u"top link"))) == INVALID_FILE_ATTRIBUTES);
}

TEST(FolderTree, CopyCopiesFilesAndFoldersOverwritingFiles) {
  TTempFolder temp;
  MakeTree(temp.File(u"source\\"));
  ASSERT_TRUE(ForceDirectories(temp.File(u"target\\sub")));
  WriteFileBytes(temp.File(u"target\\sub\\b.txt"), "old");
  WriteFileBytes(temp.File(u"target\\kept.txt"), "kept");

  EXPECT_TRUE(CopyFolderTree(temp.File(u"source"), temp.File(u"target")));
  EXPECT_EQ(ReadFileBytes(temp.File(u"target\\a.txt")), "a");
  EXPECT_EQ(ReadFileBytes(temp.File(u"target\\sub\\b.txt")), "b");
  EXPECT_EQ(ReadFileBytes(temp.File(u"target\\sub\\deeper\\c.txt")), "c");
  EXPECT_EQ(ReadFileBytes(temp.File(u"target\\kept.txt")), "kept");
  EXPECT_FALSE(DirectoryExists(temp.File(u"target\\empty")));  // nothing to copy, nothing created
  EXPECT_TRUE(FileExists(temp.File(u"source\\sub\\deeper\\c.txt")));

  EXPECT_TRUE(CopyFolderTree(temp.File(u"source\\empty\\"), temp.File(u"new\\deep\\")));
  EXPECT_FALSE(DirectoryExists(temp.File(u"new")));
  EXPECT_TRUE(CopyFolderTree(temp.File(u"source\\sub"), temp.File(u"new\\deep")));
  EXPECT_TRUE(FileExists(temp.File(u"new\\deep\\deeper\\c.txt")));
}

TEST(FolderTree, CopyFailsWithoutSourceOrIntoItselfAndStopsAtAFailure) {
  TTempFolder temp;
  MakeTree(temp.File(u"source\\"));
  EXPECT_FALSE(CopyFolderTree(temp.File(u"missing"), temp.File(u"target")));
  EXPECT_FALSE(DirectoryExists(temp.File(u"target")));
  EXPECT_FALSE(CopyFolderTree(temp.File(u"source"), temp.File(u"SOURCE\\")));
  EXPECT_FALSE(CopyFolderTree(temp.File(u"source"), temp.File(u"source\\sub\\copy")));
  EXPECT_FALSE(DirectoryExists(temp.File(u"source\\sub\\copy")));

  ASSERT_TRUE(ForceDirectories(temp.File(u"target\\a.txt")));  // a folder where a file must go
  EXPECT_FALSE(CopyFolderTree(temp.File(u"source"), temp.File(u"target")));
  EXPECT_TRUE(DirectoryExists(temp.File(u"target\\a.txt")));
}

TEST(FolderTree, CopyLeavesFolderLinksOut) {
  TTempFolder temp;
  MakeTree(temp.File(u"outside\\"));
  ASSERT_TRUE(ForceDirectories(temp.File(u"source")));
  WriteFileBytes(temp.File(u"source\\profile.ini"), "p");
  const TFolderLink link(temp.File(u"source\\link"), temp.File(u"outside"));
  ASSERT_TRUE(link.Made());
  EXPECT_TRUE(CopyFolderTree(temp.File(u"source"), temp.File(u"target")));
  EXPECT_EQ(ReadFileBytes(temp.File(u"target\\profile.ini")), "p");
  EXPECT_EQ(GetFileAttributesW(W(temp.File(u"target\\link"))), INVALID_FILE_ATTRIBUTES);
}
