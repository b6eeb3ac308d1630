#include "DRX.Utils.Shell.h"

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "DRX.Format.h"
#include "DRX.Platform.h"
#include "TestSupport.h"

// ---- System version ----

TEST(OSVersion, ComparesMajorThenMinorThenBuild) {
  struct {
    TDRXOSVersion version;
    uint32_t major, minor, build;
    bool atLeast;
  } cases[] = {
      {{6, 1, 7601}, 6, 0, 0, true},       {{6, 1, 7601}, 6, 2, 0, false},
      {{6, 3, 9600}, 6, 2, 0, true},       {{5, 2, 3790}, 6, 0, 0, false},
      {{10, 0, 19045}, 10, 0, 22000, false}, {{10, 0, 22000}, 10, 0, 22000, true},
      {{11, 0, 0}, 10, 0, 22000, true},    {{6, 2, 99999}, 10, 0, 0, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsOSVersionAtLeast(c.version, c.major, c.minor, c.build), c.atLeast)
        << c.version.Major << "." << c.version.Minor << "." << c.version.Build;
}

TEST(OSVersion, PredicatesFollowTheVersionTheCodeSees) {
  struct {
    TDRXOSVersion version;
    bool vista, win8, win10, win11;
  } cases[] = {
      {{6, 0, 6002}, true, false, false, false},  {{6, 1, 7601}, true, false, false, false},
      {{6, 2, 9200}, true, true, false, false},   {{6, 3, 9600}, true, true, false, false},
      {{10, 0, 19045}, true, true, true, false},  {{10, 0, 22631}, true, true, true, true},
  };
  const TDRXOSVersion real = OSVersion();
  for (const auto& c : cases) {
    TDRXOSVersionOverride substitute(c.version);
    EXPECT_EQ(OSVersion().Build, c.version.Build);
    EXPECT_EQ(IsWindowsVistaOrLater(), c.vista) << c.version.Build;
    EXPECT_EQ(IsWindows8OrLater(), c.win8) << c.version.Build;
    EXPECT_EQ(IsWindows10OrLater(), c.win10) << c.version.Build;
    EXPECT_EQ(IsWindows11OrLater(), c.win11) << c.version.Build;
  }
  EXPECT_EQ(OSVersion().Major, real.Major);
  EXPECT_EQ(OSVersion().Build, real.Build);
}

namespace {
// Runs the probe program while Wine reports `wineVersion` to it; the probe has
// no manifest, so GetVersionExW would claim 6.2 on Windows 8.1 and 10.
std::string ProbeVersionUnder(const wchar_t* wineVersion) {
  const wchar_t* key = L"Software\\Wine\\AppDefaults\\OSVersionProbe.exe";
  const DWORD size = static_cast<DWORD>((wcslen(wineVersion) + 1) * sizeof(wchar_t));
  EXPECT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"Version", REG_SZ, wineVersion, size), ERROR_SUCCESS);
  TTempFolder temp;
  const UString output = temp.File(u"version.txt");
  const long exitCode = RunProgram(Format(u"\"%sOSVersionProbe.exe\" \"%s\"", {BinFolder(), output}));
  RegDeleteTreeW(HKEY_CURRENT_USER, key);
  EXPECT_EQ(exitCode, 0);
  return ReadFileBytes(output);
}
}  // namespace

TEST(OSVersion, IsWhatTheSystemReportsWhateverTheManifestSays) {
  EXPECT_EQ(ProbeVersionUnder(L"win7"), "6.1.7601");
  EXPECT_EQ(ProbeVersionUnder(L"win81"), "6.3.9600");
  EXPECT_EQ(ProbeVersionUnder(L"win10").substr(0, 5), "10.0.");
}

// ---- Shell folders and links ----

TEST(ShellFolders, EndWithABackslashAndFallBackToTheTemporaryFolder) {
  const UString appData = GetShellFolder(CSIDL_APPDATA);
  ASSERT_FALSE(appData.empty());
  EXPECT_EQ(appData.back(), u'\\');
  EXPECT_TRUE(DirectoryExists(appData));
  EXPECT_EQ(GetShellFolder(0x7F), PlatformTempFolder());  // no such CSIDL
}

TEST(Shortcuts, PointToTheirTargetAndAreRewrittenInPlace) {
  TTempFolder temp;
  const UString first = temp.File(u"first.exe");
  const UString second = temp.File(u"second file.txt");
  WriteFileBytes(first, "MZ");
  WriteFileBytes(second, "text");
  const UString link = temp.File(u"Ovix.lnk");

  ASSERT_TRUE(CreateShortcut(link, first));
  EXPECT_TRUE(FileExists(link));
  EXPECT_EQ(GetShortcutTarget(link), first);
  EXPECT_EQ(GetShortcutTarget(u"\\\\?\\" + link), first);  // given in the long form already

  ASSERT_TRUE(CreateShortcut(link, second));
  EXPECT_EQ(GetShortcutTarget(link), second);
}

TEST(Shortcuts, FailuresGiveFalseOrAnEmptyTarget) {
  TTempFolder temp;
  const UString target = temp.File(u"target.exe");
  WriteFileBytes(target, "MZ");
  EXPECT_FALSE(CreateShortcut(temp.File(u"missing.lnk"), temp.File(u"missing.exe")));
  EXPECT_FALSE(FileExists(temp.File(u"missing.lnk")));
  EXPECT_FALSE(CreateShortcut(temp.File(u"folder.lnk"), temp.Path()));
  EXPECT_FALSE(CreateShortcut(temp.File(u"no such folder\\x.lnk"), target));

  WriteFileBytes(temp.File(u"plain.lnk"), "not a shell link");
  EXPECT_EQ(GetShortcutTarget(temp.File(u"plain.lnk")), u"");
  EXPECT_EQ(GetShortcutTarget(temp.File(u"absent.lnk")), u"");
  EXPECT_EQ(GetShortcutTarget(u""), u"");
}
