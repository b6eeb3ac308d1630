#include "TestOvix.h"

#include <windows.h>

#include "DRX.Utils.Paths.h"
#include "TestSupport.h"
#include "uInstaller.Core.Package.h"
#include "uInstaller.Product.Ovix.h"

TTestEntries OvixSetupEntries() {
  TTestEntries entries = DefaultSetupEntries();
  entries[u"Install.xml"] = R"(<?xml version="1.0" encoding="utf-8"?>
<setup-script>
  <setup><license><File lang-family="EN" name="License.EN.rtf"/></license></setup>
  <product>
    <Settings>
      <Item name="ProductName" value="Ovix"/>
      <Item name="Publisher" value="Ovix Team"/>
      <Item name="ProductVersion" value="5.10"/>
      <Item name="ProductVersionId" value="5100"/>
      <Item name="ProductVersionNo" value="5.10.0"/>
      <Item name="BuildDate" value="2027-03-01"/>
    </Settings>
    <Components>
      <File name="$DEST\Ovix.exe">player.bin</File>
      <File name="$DEST\Rediruzu.exe">rediruzu.bin</File>
      <File name="$DEST\Langs\Russian.lng" lang-family="RU">Russian.lng</File>
    </Components>
  </product>
</setup-script>
)";
  entries[u"English.lng"] =
      "[File]\r\nName=English\r\nLangId=1033\r\nFamily=EN\r\n"
      "[Common]\r\nE3=Cannot create folder %s\r\nE4=Cancelled by user\r\nA1=Backing up\r\nA3=Deleting\r\n"
      "A5=Updating\r\nA8=Closing\r\nE6=Still open: %s\r\n"
      "DestInvalid=Invalid %s\r\nDestTooLong=Too long %s %d\r\nDestProtected=Protected %s\r\n"
      "DestHoldsProtected=Holds %s %s\r\nDestInsideProtected=Inside %s %s\r\nDestUnresolved=Unresolved %s\r\n"
      "[PageSetup]\r\nLB1=Folder:\r\nTitle=Options:\r\nCB1=Update\r\nCB2=Normal\r\nCB3=Portable\r\n"
      "CB4=Backup\r\nW3=Another installation stays\r\n";
  return entries;
}

void WriteOvixConfig(const UString& folder, int versionId, std::string_view userMode, std::string_view more,
                     UStringView fileName) {
  std::string text = "[System]\r\nVersion=" + std::to_string(versionId) + "\r\n";
  if (!userMode.empty()) text += "UserMode=" + std::string(userMode) + "\r\n";
  WriteFileBytes(folder + UString(fileName), text + std::string(more));
}

void WriteUninstallData(const UString& folder, std::string_view uninstallIni) {
  TSetupPackageBuilder builder(PackageKey);
  TMemoryStream ini(uninstallIni);
  builder.Add(ini, u"Uninstall.ini");
  builder.Commit(folder + u"Uninstall.dat", 1);
}

TOvixProductGuard::TOvixProductGuard() : previous_(ProductInfoClass) { UseOvixProduct(); }

TOvixProductGuard::~TOvixProductGuard() { ProductInfoClass = previous_; }

std::unique_ptr<TInstaller> MakeOvixInstaller(const UString& commandLine, TTestEntries product) {
  if (product.empty()) product = {{u"player.bin", "player"}, {u"rediruzu.bin", "rediruzu"}};
  auto installer = std::make_unique<TInstaller>(commandLine, TestPackages(OvixSetupEntries(), std::move(product)));
  installer->Resources().InitializeLanguages([] { return UString(u"English.lng"); });
  return installer;
}

namespace {
// True when a top-level window of that class belongs to the process.
bool HasWindowOf(const UString& windowClass, DWORD processId) {
  for (HWND window = FindWindowExW(nullptr, nullptr, W(windowClass), nullptr); window;
       window = FindWindowExW(nullptr, window, W(windowClass), nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return true;
  }
  return false;
}
}  // namespace

TPlayerWindow::TPlayerWindow(const UString& windowClass, bool ignoreClose) {
  UString commandLine = BinFolder() + u"ovix_window.exe";
  commandLine = u'"' + commandLine + u"\" " + windowClass + (ignoreClose ? u" /ignoreclose" : u"");
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  for (int attempt = 0; attempt < 500 && !shown_; ++attempt) {
    shown_ = HasWindowOf(windowClass, info.dwProcessId);
    if (!shown_) Sleep(20);
  }
}

TPlayerWindow::~TPlayerWindow() {
  if (!process_) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    TerminateProcess(process_, 1);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool TPlayerWindow::Ended() const { return process_ && WaitForSingleObject(process_, 10000) == WAIT_OBJECT_0; }

namespace {
const wchar_t kUserShellFolders[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

void SetUserShellFolder(const UString& valueName, const UString& folder) {
  RegSetKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, W(valueName), REG_EXPAND_SZ, folder.c_str(),
                  static_cast<DWORD>((folder.size() + 1) * sizeof(char16_t)));
}
}  // namespace

TShellFolderRedirect::TShellFolderRedirect(const UString& valueName, const UString& folder) : valueName_(valueName) {
  wchar_t value[MAX_PATH * 2];
  DWORD size = sizeof value;
  hadValue_ = RegGetValueW(HKEY_CURRENT_USER, kUserShellFolders, W(valueName),
                           RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, value, &size) == ERROR_SUCCESS;
  if (hadValue_) previous_ = FromW(value);
  SetUserShellFolder(valueName, ExcludeTrailingBackslash(folder));
}

TShellFolderRedirect::~TShellFolderRedirect() {
  if (hadValue_) {
    SetUserShellFolder(valueName_, previous_);
  } else {
    RegDeleteKeyValueW(HKEY_CURRENT_USER, kUserShellFolders, W(valueName_));
  }
}
