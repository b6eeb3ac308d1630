#include <windows.h>

#include "uInstaller.Core.Repository.h"

#include "DRX.Format.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.h"

namespace {
const UString kUninstallRoot = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

bool IsValidName(const UString& name) {
  return name.find_first_not_of(u' ') != UString::npos && name.find(u'\\') == UString::npos;
}

UString TodayText() {
  SYSTEMTIME today;
  GetLocalTime(&today);
  return Format(u"%.4d%.2d%.2d", {today.wYear, today.wMonth, today.wDay});
}
}  // namespace

bool TInstallerApplicationRepository::Register(const UString& Name, const UString& UninstallExe,
                                               const UString& Version, const UString& Publisher, const UString& URL) {
  if (!IsValidName(Name)) return false;
  TDRXRegistryKey key;
  if (!key.Open(HKEY_LOCAL_MACHINE, kUninstallRoot + Name, KEY_READ | KEY_WRITE) &&
      !key.Create(HKEY_LOCAL_MACHINE, kUninstallRoot + Name, KEY_ALL_ACCESS))
    return false;
  key.WriteInteger(u"NoModify", 1);
  key.WriteInteger(u"NoRepair", 1);
  key.WriteString(u"DisplayIcon", UninstallExe);
  key.WriteString(u"DisplayName", Name);
  key.WriteString(u"DisplayVersion", Version);
  key.WriteString(u"InstallDate", TodayText());
  key.WriteString(u"InstallPath", ExtractFilePath(UninstallExe));
  key.WriteString(u"Publisher", Publisher);
  key.WriteString(u"UninstallString", UninstallExe);
  key.WriteString(u"URLInfoAbout", URL);
  return true;
}

bool TInstallerApplicationRepository::GetInstallPath(const UString& Name, UString& Path) {
  TDRXRegistryKey key;
  if (!IsValidName(Name) || !key.Open(HKEY_LOCAL_MACHINE, kUninstallRoot + Name, KEY_READ)) return false;
  Path = key.ReadString(u"InstallPath");
  if (!Path.empty()) Path = IncludeTrailingBackslash(Path);
  if (!DirectoryExists(Path)) Path = ExtractFilePath(key.ReadString(u"UninstallString"));
  if (!DirectoryExists(Path)) Path = ExtractFilePath(key.ReadString(u"DisplayIcon"));
  return DirectoryExists(Path);
}

bool TInstallerApplicationRepository::Unregister(const UString& Name) {
  TDRXRegistryKey uninstall;
  return IsValidName(Name) && uninstall.Open(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_READ | KEY_WRITE | DELETE) &&
         uninstall.DeleteSubKeyTree(Name);
}

namespace {
// Loads with the library's folder current, so that libraries it depends on
// and keeps beside itself are found.
HMODULE LoadFromOwnFolder(const UString& fileName) {
  const UString library = ExpandFileName(fileName);
  const UString previousFolder = CurrentFolder();
  SetCurrentDirectoryW(W(ExtractFilePath(library)));
  const HMODULE module = LoadLibraryW(W(library));
  SetCurrentDirectoryW(W(previousFolder));
  return module;
}

class TNoErrorBoxes {
 public:
  TNoErrorBoxes() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
  ~TNoErrorBoxes() { SetErrorMode(previous_); }
  TNoErrorBoxes(const TNoErrorBoxes&) = delete;
  TNoErrorBoxes& operator=(const TNoErrorBoxes&) = delete;

 private:
  UINT previous_;
};
}  // namespace

void TInstallerActiveX::Unregister(const UString& DllFileName) {
  if (DllFileName.empty()) return;
  TNoErrorBoxes noErrorBoxes;
  const HMODULE module = LoadFromOwnFolder(DllFileName);
  if (!module) return;
  using TDllUnregisterServer = HRESULT(__stdcall*)();
  if (const FARPROC proc = GetProcAddress(module, "DllUnregisterServer"))
    reinterpret_cast<TDllUnregisterServer>(reinterpret_cast<void*>(proc))();
  FreeLibrary(module);
}
