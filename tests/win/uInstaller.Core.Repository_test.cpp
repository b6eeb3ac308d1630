#include "uInstaller.Core.Repository.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "DRX.Format.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestSupport.h"

namespace {
const UString kUninstallRoot = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// A product name no other run uses; its uninstall key is removed afterwards.
class TThrowawayProduct {
 public:
  explicit TThrowawayProduct(const UString& stem = u"OvixTest-")
      : name_(stem + IntToStr(GetCurrentProcessId()) + u"-" + IntToStr(GetTickCount64() % 1000000)) {}
  ~TThrowawayProduct() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, W(Key())); }
  const UString& Name() const { return name_; }
  UString Key() const { return kUninstallRoot + name_; }
  bool KeyExists() const {
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(Key()), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }
  void SetValue(const UString& name, DWORD type, const UString& text) const {
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(char16_t));
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, W(Key()), W(name), type, text.c_str(), size), ERROR_SUCCESS);
  }

 private:
  UString name_;
};

// Value name -> type and data. (Wine enumerates values sorted by name, so the
// order in which they were written cannot be observed here.)
using TStoredValues = std::map<UString, std::pair<DWORD, std::vector<BYTE>>>;

TStoredValues StoredValues(const UString& keyName) {
  TStoredValues values;
  HKEY key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(keyName), 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return values;
  for (DWORD index = 0;; ++index) {
    wchar_t name[256];
    DWORD nameLength = 256, type = 0, size = 4096;
    std::vector<BYTE> data(size);
    if (RegEnumValueW(key, index, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    data.resize(size);
    values[FromW(name, nameLength)] = {type, data};
  }
  RegCloseKey(key);
  return values;
}

std::vector<BYTE> StringData(const UString& text) {  // with its terminating zero
  const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
  return std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(char16_t));
}

std::vector<BYTE> DWordData(DWORD value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  return std::vector<BYTE>(bytes, bytes + sizeof value);
}

UString Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return Format(u"%.4d%.2d%.2d", {now.wYear, now.wMonth, now.wDay});
}
}  // namespace

TEST(ApplicationRepository, RegisterWritesTheTenValuesAndKeepsOthers) {
  TThrowawayProduct product;
  product.SetValue(u"Comments", REG_SZ, u"written by someone else");
  const UString exe = u"C:\\Program Files\\Ovix Test\\Uninstall.exe";
  ASSERT_TRUE(TInstallerApplicationRepository::Register(product.Name(), exe, u"5.1", u"Ovix Team", u"https://ovix.example/"));

  const TStoredValues expected = {
      {u"Comments", {REG_SZ, StringData(u"written by someone else")}},
      {u"NoModify", {REG_DWORD, DWordData(1)}},
      {u"NoRepair", {REG_DWORD, DWordData(1)}},
      {u"DisplayIcon", {REG_SZ, StringData(exe)}},
      {u"DisplayName", {REG_SZ, StringData(product.Name())}},
      {u"DisplayVersion", {REG_SZ, StringData(u"5.1")}},
      {u"InstallDate", {REG_SZ, StringData(Today())}},
      {u"InstallPath", {REG_SZ, StringData(u"C:\\Program Files\\Ovix Test\\")}},
      {u"Publisher", {REG_SZ, StringData(u"Ovix Team")}},
      {u"UninstallString", {REG_SZ, StringData(exe)}},
      {u"URLInfoAbout", {REG_SZ, StringData(u"https://ovix.example/")}},
  };
  // Registering again rewrites the values in place.
  ASSERT_TRUE(TInstallerApplicationRepository::Register(product.Name(), exe, u"5.1", u"Ovix Team", u"https://ovix.example/"));
  EXPECT_EQ(StoredValues(product.Key()), expected);
}

TEST(ApplicationRepository, NamesThatAreNoSingleKeyAreRefused) {
  for (const UString& name : {UString(u""), UString(u"   "), UString(u"Ovix\\..\\Other"), UString(u"\\")}) {
    EXPECT_FALSE(TInstallerApplicationRepository::Register(name, u"C:\\X\\Uninstall.exe", u"1", u"P", u"U"));
    UString path = u"unchanged";
    EXPECT_FALSE(TInstallerApplicationRepository::GetInstallPath(name, path));
    EXPECT_EQ(path, u"unchanged");
    EXPECT_FALSE(TInstallerApplicationRepository::Unregister(name));
  }
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, W(kUninstallRoot), 0, KEY_READ | KEY_WOW64_64KEY, &key), ERROR_SUCCESS);
  RegCloseKey(key);  // the list of installed programs itself is still there
}

TEST(ApplicationRepository, InstallPathFallsBackToTheUninstallerAndIconFolders) {
  TTempFolder temp;
  const UString live = temp.File(u"live\\");
  ASSERT_TRUE(ForceDirectories(live));
  const UString gone = temp.File(u"gone\\");
  struct {
    const char* what;
    DWORD installPathType;
    UString installPath, uninstallString, displayIcon;
    bool found;
    UString path;
  } cases[] = {
      {"InstallPath", REG_SZ, live, gone + u"Uninstall.exe", gone + u"Uninstall.exe", true, live},
      {"InstallPath without backslash", REG_SZ, temp.File(u"live"), u"", u"", true, live},
      {"UninstallString", REG_SZ, gone, live + u"Uninstall.exe", gone + u"x.exe", true, live},
      {"DisplayIcon", REG_SZ, gone, gone + u"Uninstall.exe", live + u"Uninstall.exe,0", true, live},
      {"expandable value read raw", REG_EXPAND_SZ, u"%OVIX_NO_SUCH_VARIABLE%\\", u"", live + u"a.exe", true, live},
      {"nothing exists", REG_SZ, gone, gone + u"Uninstall.exe", u"", false, u""},
  };
  for (const auto& c : cases) {
    TThrowawayProduct product;
    product.SetValue(u"InstallPath", c.installPathType, c.installPath);
    if (!c.uninstallString.empty()) product.SetValue(u"UninstallString", REG_SZ, c.uninstallString);
    if (!c.displayIcon.empty()) product.SetValue(u"DisplayIcon", REG_SZ, c.displayIcon);
    UString path = u"before";
    EXPECT_EQ(TInstallerApplicationRepository::GetInstallPath(product.Name(), path), c.found) << c.what;
    if (c.found) {
      EXPECT_EQ(path, c.path) << c.what;
    }
  }

  TThrowawayProduct unregistered;
  UString path = u"before";
  EXPECT_FALSE(TInstallerApplicationRepository::GetInstallPath(unregistered.Name(), path));
  EXPECT_EQ(path, u"before");
}

TEST(ApplicationRepository, UnregisterDeletesTheKeyRegisterWroteEvenWithSpacesInTheName) {
  TTempFolder temp;
  for (const UString& stem : {UString(u"OvixTest-"), UString(u"Ovix Test ")}) {
    TThrowawayProduct product(stem);
    ASSERT_TRUE(TInstallerApplicationRepository::Register(product.Name(), temp.File(u"Uninstall.exe"), u"1", u"P", u"U"));
    ASSERT_EQ(RegSetKeyValueW(HKEY_LOCAL_MACHINE, W(product.Key() + u"\\Sub"), L"x", REG_SZ, L"", 2), ERROR_SUCCESS);
    UString path;
    EXPECT_TRUE(TInstallerApplicationRepository::GetInstallPath(product.Name(), path));
    EXPECT_EQ(path, temp.Path());
    EXPECT_TRUE(TInstallerApplicationRepository::Unregister(product.Name())) << Utf16ToUtf8(product.Name());
    EXPECT_FALSE(product.KeyExists()) << Utf16ToUtf8(product.Name());
    EXPECT_FALSE(TInstallerApplicationRepository::Unregister(product.Name()));  // nothing left to delete
  }
}

// ---- COM server unregistration ----

namespace {
UString CurrentFolder() {
  wchar_t buffer[MAX_PATH];
  return FromW(buffer, GetCurrentDirectoryW(MAX_PATH, buffer));
}

// Leaves the current folder and error mode of the process as they were.
class TProcessStateGuard {
 public:
  TProcessStateGuard() : folder_(CurrentFolder()), errorMode_(GetErrorMode()) {}
  ~TProcessStateGuard() {
    SetCurrentDirectoryW(W(folder_));
    SetErrorMode(errorMode_);
  }
  void ExpectUnchanged() const {
    EXPECT_EQ(CurrentFolder(), folder_);
    EXPECT_EQ(GetErrorMode(), errorMode_);
  }

 private:
  UString folder_;
  UINT errorMode_;
};
}  // namespace

TEST(ActiveX, UnregisterCallsTheServerLoadedFromItsOwnFolderWithoutErrorBoxes) {
  TTempFolder temp;
  const UString folder = temp.File(u"server folder\\");
  ASSERT_TRUE(ForceDirectories(folder));
  const UString server = folder + u"OvixTestComServer.dll";
  ASSERT_TRUE(CopyFileW(W(BinFolder() + u"OvixTestComServer.dll"), W(server), FALSE));
  TProcessStateGuard state;
  SetErrorMode(0);

  for (const UString& name : {server, UString(u"server folder\\OvixTestComServer.dll")}) {
    SetCurrentDirectoryW(W(temp.Path()));
    DeleteFileW(W(folder + u"unregistered.txt"));
    TProcessStateGuard around;
    TInstallerActiveX::Unregister(name);
    around.ExpectUnchanged();
    const std::string marker = ReadFileBytes(folder + u"unregistered.txt");
    const size_t lineBreak = marker.find('\n');
    ASSERT_NE(lineBreak, std::string::npos) << Utf16ToUtf8(name);
    EXPECT_EQ(marker.substr(0, lineBreak), Utf16ToUtf8(ExcludeTrailingBackslash(folder)));
    const UINT modeDuringCall = std::stoul(marker.substr(lineBreak + 1));
    EXPECT_EQ(modeDuringCall & (SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX),
              UINT(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX));
    EXPECT_EQ(GetModuleHandleW(W(server)), nullptr);  // unloaded again
  }
}

TEST(ActiveX, FilesThatAreNoLibraryAreLeftAlone) {
  TTempFolder temp;
  WriteFileBytes(temp.File(u"ovix_menu64.dll"), "this is not a library");
  TProcessStateGuard state;
  TInstallerActiveX::Unregister(temp.File(u"ovix_menu64.dll"));
  TInstallerActiveX::Unregister(temp.File(u"missing.dll"));
  TInstallerActiveX::Unregister(u"");
  state.ExpectUnchanged();
  EXPECT_EQ(ReadFileBytes(temp.File(u"ovix_menu64.dll")), "this is not a library");
}
