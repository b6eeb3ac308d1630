#include "uInstaller.Core.FileUtils.h"

#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

TEST(ProtectedFolders, SystemFoldersAndRootsAreNeverWholeTreesToDelete) {
  TTempFolder folder;
  const UString windows = GetShellFolder(CSIDL_WINDOWS);
  const UString profile = GetShellFolder(CSIDL_PROFILE);
  for (const UString& path : {UString(u""), UString(u"C:\\"), UString(u"c:"), UString(u"C:\\Windows\\..\\"), windows,
                              ExcludeTrailingBackslash(windows), GetShellFolder(CSIDL_PROGRAM_FILES), profile,
                              ExtractFilePath(ExcludeTrailingBackslash(profile)), GetShellFolder(CSIDL_APPDATA),
                              GetShellFolder(CSIDL_COMMON_APPDATA)}) {
    EXPECT_TRUE(IsProtectedFolder(path)) << Utf16ToUtf8(path);
  }
  for (const UString& path : {folder.Path(), GetShellFolder(CSIDL_PROGRAM_FILES) + u"Ovix\\", profile + u"Ovix"}) {
    EXPECT_FALSE(IsProtectedFolder(path)) << Utf16ToUtf8(path);
  }
}
