#include "uInstaller.Core.FolderCache.h"

#include <gtest/gtest.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

namespace {

// What the cache answers is what the uncached calls answer, for folders below
// a link, beside it, above the base and outside it.
TEST(FolderCache, AnswersAsTheLinkAndFolderCallsDo) {
  TTempFolder temp, outside;
  ASSERT_TRUE(ForceDirectories(temp.File(u"Ovix\\Plugins\\Video")));
  ASSERT_TRUE(ForceDirectories(outside.File(u"Data\\Deep")));
  const TFolderLink link(temp.File(u"Ovix\\Plugins\\Linked"), outside.Path());
  ASSERT_TRUE(link.Made());
  const UString base = temp.File(u"Ovix\\");
  TInstallerFolderCache cache(base);
  const UString folders[] = {base + u"Plugins\\Video\\", base + u"Plugins\\Linked\\Data\\Deep\\",
                             base + u"Plugins\\Linked\\", base + u"Plugins\\", base + u"plugins\\LINKED\\data",
                             base + u"Missing\\Below\\", base, temp.Path(), outside.File(u"Data\\")};
  // Twice: the second round answers from what the first learnt.
  for (int round = 0; round < 2; ++round) {
    for (const UString& folder : folders) {
      SCOPED_TRACE(Utf16ToUtf8(folder));
      EXPECT_EQ(cache.IsFreeOfLinks(folder), FirstFolderLinkBelow(base, folder).empty());
      EXPECT_EQ(cache.Exists(folder), DirectoryExists(folder));
      EXPECT_EQ(cache.FinalPath(folder), IncludeTrailingBackslash(GetFinalPathName(folder)));
    }
  }
  EXPECT_FALSE(cache.IsFreeOfLinks(base + u"Plugins\\Linked\\Data\\")) << "a link on the way";
  EXPECT_EQ(cache.FinalPath(base + u"Plugins\\Linked\\Data\\"), GetFinalPathName(outside.File(u"Data\\")));
}

}  // namespace
