#include "DRX.UI.Dialogs.FolderBrowser.h"

#include <gtest/gtest.h>

TEST(FolderBrowserAnswer, TheFocusedFolderElseTheTypedTextWithoutSpacesAndQuotes) {
  struct {
    bool folderFocused;
    UString focused, typed, answer;
  } cases[] = {
      {true, u"C:\\windows", u"D:\\typed", u"C:\\windows"},
      {false, u"C:\\windows", u"  \"D:\\Program Files\\Ovix\"\t ", u"D:\\Program Files\\Ovix"},
      {false, u"", u"\"\"C:\\a b\"\"", u"C:\\a b"},
      {false, u"", u"C:\\it's", u"C:\\it's"},
      {false, u"", u"C:\\a \"b\" c", u"C:\\a \"b\" c"},
      {false, u"", u" \" \" ", u""},
      {false, u"", u"", u""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FolderBrowserAnswer(c.folderFocused, c.focused, c.typed), c.answer) << Utf16ToUtf8(c.typed);
}

TEST(FolderBrowserAnswer, OnlyAnAnswerReplacesThePath) {
  UString path = u"C:\\Ovix\\";
  EXPECT_FALSE(TakeFolderBrowserAnswer(u"", path));
  EXPECT_EQ(path, u"C:\\Ovix\\");
  EXPECT_TRUE(TakeFolderBrowserAnswer(u"D:\\Media", path));
  EXPECT_EQ(path, u"D:\\Media");
}

TEST(FolderBrowserLock, OneBrowserAtATime) {
  EXPECT_FALSE(TDRXFolderBrowserLock::IsOpen());
  {
    const TDRXFolderBrowserLock first;
    EXPECT_TRUE(first.Acquired());
    {
      const TDRXFolderBrowserLock second;
      EXPECT_FALSE(second.Acquired());
    }
    EXPECT_TRUE(TDRXFolderBrowserLock::IsOpen()) << "the refused one does not end the first";
  }
  EXPECT_FALSE(TDRXFolderBrowserLock::IsOpen());
  EXPECT_TRUE(TDRXFolderBrowserLock().Acquired());
}

TEST(FolderBrowserBounds, RememberedUntilClosedAsOpened) {
  TDRXFolderBrowserBounds::Forget();
  EXPECT_FALSE(TDRXFolderBrowserBounds::Remembered());
  const TRect opened{100, 100, 460, 550}, moved{200, 80, 700, 700};
  TDRXFolderBrowserBounds::Closed(opened, moved);
  EXPECT_EQ(TDRXFolderBrowserBounds::Remembered(), moved);
  TDRXFolderBrowserBounds::Closed(moved, TRect{0, 0, 400, 500});
  EXPECT_EQ(TDRXFolderBrowserBounds::Remembered(), (TRect{0, 0, 400, 500}));
  TDRXFolderBrowserBounds::Closed(TRect{0, 0, 400, 500}, TRect{0, 0, 400, 500});
  EXPECT_FALSE(TDRXFolderBrowserBounds::Remembered()) << "closed with the bounds it opened with";
}
