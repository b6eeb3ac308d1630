#include "uInstaller.Core.UninstallList.h"

#include <gtest/gtest.h>

#include "DRX.FileFormats.INI.h"
#include "uInstaller.Core.Exceptions.h"

namespace {
std::vector<UString> Entries(UStringView text) {
  TDRXIniFile ini;
  ini.LoadFromText(text);
  return ReadUninstallEntries(ini);
}
}  // namespace

TEST(UninstallList, TheEntriesBelowCountThatThereAreInNumberOrder) {
  const struct {
    UStringView text;
    std::vector<UString> entries;
  } cases[] = {
      {u"[Uninstall]\r\n0=Ovix.exe\r\nCount=3\r\n1=Langs\\English.lng\r\n2=Uninstall.exe\r\n",
       {u"Ovix.exe", u"Langs\\English.lng", u"Uninstall.exe"}},
      {u"[Uninstall]\r\n2=c\r\n0=a\r\n1=b\r\nCount=3\r\n", {u"a", u"b", u"c"}},
      {u"[Uninstall]\r\nCount=0\r\n0=a\r\n", {}},
      {u"[Uninstall]\r\nCount=2000000000\r\n0=a\r\n7=b\r\n", {u"a", u"b"}},
      {u"[Uninstall]\r\nCount=2\r\n0=first\r\n0=second\r\n", {u"first"}},
      {u"[Uninstall]\r\nCount=3\r\n00=a\r\n+1=b\r\n 2=c\r\n-0=d\r\n", {}},
      {u"[Uninstall]\r\nCount=2\r\n0=\r\n1=x=y\r\n", {u"", u"x=y"}},
      {u"[Uninstall]\r\nCount=$2\r\n1=b\r\n", {u"b"}},
      {u"[Setup]\r\nCount=9\r\n[uninstall]\r\ncount=1\r\n0=a\r\n", {u"a"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Entries(c.text), c.entries) << Utf16ToUtf8(c.text);
}

TEST(UninstallList, ACountThatIsNoNumberOfEntriesStopsTheReading) {
  for (UStringView text : {u"[Uninstall]\r\n0=a\r\n", u"[Uninstall]\r\nCount=\r\n0=a\r\n",
                           u"[Uninstall]\r\nCount=many\r\n0=a\r\n", u"[Uninstall]\r\nCount=-1\r\n0=a\r\n",
                           u"[Uninstall]\r\nCount=99999999999\r\n0=a\r\n", u"[Uninstall]\r\nCount=3 \r\n0=a\r\n",
                           u"[Other]\r\nCount=1\r\n0=a\r\n", u""}) {
    try {
      Entries(text);
      ADD_FAILURE() << "expected EInstallerInstallError for " << Utf16ToUtf8(text);
    } catch (const EInstallerInstallError& error) {
      EXPECT_EQ(error.Message(),
                u"\"Uninstall.ini\" is damaged: the \"Count\" of installed files is missing or not a number");
    }
  }
}
