#include <windows.h>

#include <shlobj.h>
#include <tlhelp32.h>
#include <zip.h>

#include "E2ESupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>

#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Registry.h"
#include "DRX.Utils.Shell.h"
#include "TestDialogs.h"
#include "TestSupport.h"
#include "uInstaller.Core.Package.h"

namespace {

constexpr DWORD kRunTimeoutMs = 120000;
constexpr auto kPollInterval = std::chrono::milliseconds(50);
const UString kUninstallKey = u"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Ovix";
constexpr int kBoxButtons[] = {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO};

UString ProcessImageName(DWORD processId) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
  if (!process) return {};
  wchar_t buffer[MAX_PATH];
  DWORD length = MAX_PATH;
  const bool read = QueryFullProcessImageNameW(process, 0, buffer, &length);
  CloseHandle(process);
  return read ? FromW(buffer, length) : UString();
}

bool IsSetupImage(const UString& fileName) {
  const UString name = ExtractFileName(fileName);
  return SameText(name, u"OvixSetup.exe") || SameText(name, u"Uninstall.exe");
}

BOOL CALLBACK CollectSetupBox(HWND window, LPARAM list) {
  wchar_t className[16];
  if (!IsWindowVisible(window) || !GetClassNameW(window, className, 16) || wcscmp(className, L"#32770") != 0)
    return TRUE;
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (IsSetupImage(ProcessImageName(processId))) reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

TSeenBox ReadBox(HWND box) {
  TSeenBox seen{WindowText(box), {}, {}};
  // A task dialog's text has no fixed control identifier: it is the static text that is not empty.
  for (HWND child : ChildWindows(box, u"Static")) {
    if (seen.Text.empty()) seen.Text = WindowText(child);
  }
  for (const int id : kBoxButtons) {
    if (GetDlgItem(box, id)) seen.Buttons.push_back(id);
  }
  return seen;
}

}  // namespace

// Finds the setup processes' message boxes while it lives, records them and
// presses the button the answer chooses.
class TBoxDriver {
 public:
  explicit TBoxDriver(const TBoxAnswer& answer) : answer_(answer), thread_([this] { Loop(); }) {}
  ~TBoxDriver() {
    stop_ = true;
    thread_.join();
  }
  std::vector<TSeenBox> Seen() {
    const std::lock_guard<std::mutex> guard(lock_);
    return seen_;
  }

 private:
  void Loop() {
    while (!stop_) {
      std::vector<HWND> boxes;
      EnumWindows(CollectSetupBox, reinterpret_cast<LPARAM>(&boxes));
      std::erase_if(answered_, [](HWND box) { return !IsWindow(box); });
      for (const HWND box : boxes) {
        if (!answered_.insert(box).second) continue;
        Answer(box);
      }
      std::this_thread::sleep_for(kPollInterval);
    }
  }

  void Answer(HWND box) {
    const TSeenBox seen = ReadBox(box);
    {
      const std::lock_guard<std::mutex> guard(lock_);
      seen_.push_back(seen);
    }
    const int button = answer_(seen);
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
  }

  TBoxAnswer answer_;
  std::atomic<bool> stop_{false};
  std::mutex lock_;
  std::vector<TSeenBox> seen_;
  std::set<HWND> answered_;
  std::thread thread_;
};

namespace {

// Waits for the process and returns its exit code; ends it after the time limit.
long WaitForExit(HANDLE process) {
  if (WaitForSingleObject(process, kRunTimeoutMs) != WAIT_OBJECT_0) {
    TerminateProcess(process, 0xDEAD);
    WaitForSingleObject(process, INFINITE);
    return -2;
  }
  DWORD exitCode = 0;
  GetExitCodeProcess(process, &exitCode);
  return static_cast<long>(exitCode);
}

// The running processes named Uninstall.exe other than `except`.
std::vector<DWORD> UninstallerProcesses(DWORD except) {
  std::vector<DWORD> found;
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return found;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (entry.th32ProcessID != except && SameText(ExtractFileName(FromW(entry.szExeFile)), u"Uninstall.exe"))
      found.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return found;
}

long WaitForUninstallerCopy(DWORD firstProcess) {
  long exitCode = -1;
  for (const DWORD id : UninstallerProcesses(firstProcess)) {
    const HANDLE copy = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (!copy) continue;
    exitCode = WaitForExit(copy);
    CloseHandle(copy);
  }
  return exitCode;
}

std::vector<UString> SplitLines(const UString& text) {
  std::vector<UString> lines;
  size_t start = 0;
  for (size_t end; (end = text.find(u"\r\n", start)) != UString::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

void CollectFiles(const UString& folder, const UString& prefix, bool recursive, std::vector<UString>& files) {
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    if (entry.Kind == fekFile) files.push_back(prefix + entry.Name);
    if (entry.Kind == fekFolder && recursive)
      CollectFiles(folder + entry.Name + u"\\", prefix + entry.Name + u"\\", true, files);
  }
}

}  // namespace

int DismissBox(const TSeenBox& box) {
  for (const int preferred : {IDOK, IDCANCEL, IDABORT}) {
    if (std::find(box.Buttons.begin(), box.Buttons.end(), preferred) != box.Buttons.end()) return preferred;
  }
  return IDCANCEL;
}

TBoxAnswer AnswerQuestions(std::vector<int> buttons) {
  auto next = std::make_shared<size_t>(0);
  return [buttons = std::move(buttons), next](const TSeenBox& box) {
    if (box.Caption == u"Setup" || buttons.empty()) return DismissBox(box);
    const int button = buttons[std::min(*next, buttons.size() - 1)];
    ++*next;
    return button;
  };
}

TSetupProcess::TSetupProcess(const UString& program, const UString& params, const TBoxAnswer& answer,
                             const UString& currentFolder)
    : program_(program), driver_(std::make_unique<TBoxDriver>(answer)) {
  UString commandLine = Quoted(program) + u" " + params;
  const UString folder = currentFolder.empty() ? ExtractFilePath(program) : currentFolder;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(commandLine), nullptr, nullptr, FALSE, 0, nullptr, W(folder), &startup, &process))
    return;
  CloseHandle(process.hThread);
  process_ = process.hProcess;
  processId_ = process.dwProcessId;
}

TSetupProcess::~TSetupProcess() {
  if (process_) Wait();
}

TSetupRun TSetupProcess::Wait() {
  TSetupRun run;
  if (!process_) return run;
  run.ExitCode = WaitForExit(process_);
  if (SameText(ExtractFileName(program_), u"Uninstall.exe")) run.CopyExitCode = WaitForUninstallerCopy(processId_);
  CloseHandle(process_);
  process_ = nullptr;
  // A box shown just before its process ended is still recorded.
  std::this_thread::sleep_for(2 * kPollInterval);
  run.Boxes = driver_->Seen();
  return run;
}

TSetupRun RunSetupProgram(const UString& program, const UString& params, const TBoxAnswer& answer,
                          const UString& currentFolder) {
  return TSetupProcess(program, params, answer, currentFolder).Wait();
}

UString SetupProgram() { return BinFolder() + u"OvixSetup.exe"; }

UString Quoted(const UString& path) { return u"\"" + path + u"\""; }

std::unique_ptr<TDRXIniFile> ReadUninstallIni(const UString& folder) {
  const TSetupPackageReader package(folder + u"Uninstall.dat");
  std::unique_ptr<TMemoryStream> entry;
  auto ini = std::make_unique<TDRXIniFile>();
  if (package.Extract(u"Uninstall.ini", entry)) ini->LoadFromStream(*entry);
  return ini;
}

void WriteUninstallDat(const UString& folder, const std::vector<std::pair<UString, std::string>>& entries) {
  TSetupPackageBuilder builder(PackageKey);
  for (const auto& [name, bytes] : entries) {
    TMemoryStream content(bytes);
    builder.Add(content, name);
  }
  builder.Commit(folder + u"Uninstall.dat", 4);
}

std::vector<UString> UninstallEntries(const TDRXIniFile& ini) {
  std::vector<UString> entries;
  const int count = StrToIntDef(ini.ReadString(u"Uninstall", u"Count", u"0"), 0);
  for (int i = 0; i < count; ++i) entries.push_back(ini.ReadString(u"Uninstall", IntToStr(i), u""));
  return entries;
}

bool UninstallKeyExists() {
  TDRXRegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ);
}

UString UninstallValue(const UString& name) {
  TDRXRegistryKey key;
  return key.Open(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_READ) ? key.ReadString(name) : UString();
}

void DeleteUninstallKey() {
  TDRXRegistryKey parent;
  if (parent.Open(HKEY_LOCAL_MACHINE, ExtractFilePath(kUninstallKey), KEY_ALL_ACCESS))
    parent.DeleteSubKeyTree(ExtractFileName(kUninstallKey));
}

UString DesktopShortcut() { return GetShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + u"Ovix.lnk"; }

UString StartMenuFolder() { return GetShellFolder(CSIDL_COMMON_PROGRAMS) + u"Ovix\\"; }

TStandInLog::TStandInLog() : file_(PlatformTempFolder() + u"OvixStandIns-e2e.log") {
  DeleteFileW(W(file_));
  SetEnvironmentVariableW(L"OVIX_STANDIN_LOG", W(file_));
}

TStandInLog::~TStandInLog() {
  SetEnvironmentVariableW(L"OVIX_STANDIN_LOG", nullptr);
  DeleteFileW(W(file_));
}

std::vector<UString> TStandInLog::Lines() const {
  if (!FileExists(file_)) return {};
  return SplitLines(Utf8ToUtf16(ReadFileBytes(file_)));
}

TReadLock::TReadLock(const UString& file)
    : handle_(CreateFileW(W(file), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)) {}

TReadLock::~TReadLock() {
  if (Locked()) CloseHandle(handle_);
}

bool TReadLock::Locked() const { return handle_ != INVALID_HANDLE_VALUE; }

std::vector<std::string> ZipEntryNames(const UString& archive) {
  std::vector<std::string> names;
  int error = 0;
  zip_t* zip = zip_open(Utf16ToUtf8(archive).c_str(), ZIP_RDONLY, &error);
  if (!zip) return names;
  const zip_int64_t count = zip_get_num_entries(zip, 0);
  for (zip_int64_t i = 0; i < count; ++i) {
    const char* name = zip_get_name(zip, i, 0);
    if (name) names.push_back(name);
  }
  zip_discard(zip);
  return names;
}

std::vector<UString> FilesIn(const UString& folder, bool recursive) {
  std::vector<UString> files;
  CollectFiles(IncludeTrailingBackslash(folder), u"", recursive, files);
  return files;
}

bool Contains(const std::vector<UString>& list, UStringView item) {
  return std::any_of(list.begin(), list.end(), [&](const UString& entry) { return SameText(entry, item); });
}

SetupEndToEnd::SetupEndToEnd() : Dest(Root.Path() + u"Ovix\\") { RemoveTraces(); }

SetupEndToEnd::~SetupEndToEnd() { RemoveTraces(); }

TSetupRun SetupEndToEnd::Install(UStringView switches, const TBoxAnswer& answer) {
  return RunSetupProgram(SetupProgram(), u"/AUTO=" + Quoted(Dest) + u" /SILENT " + UString(switches), answer);
}

TSetupRun SetupEndToEnd::Uninstall(UStringView params) {
  return RunSetupProgram(Dest + u"Uninstall.exe", UString(params));
}

UString SetupEndToEnd::ProfileFolder(int versionId) {
  return GetShellFolder(CSIDL_APPDATA) + (versionId >= 4000 ? u"Ovix\\" : u"Ovix3\\");
}

void SetupEndToEnd::RemoveTraces() {
  DeleteUninstallKey();
  DeleteFileW(W(DesktopShortcut()));
  DeleteFolderTree(StartMenuFolder());
  DeleteFolderTree(ProfileFolder(5020));
  DeleteFolderTree(ProfileFolder(3900));
  for (const UString name : {u"Uninstall.exe", u"Uninstall.dat"}) DeleteFileW(W(PlatformTempFolder() + name));
}
