#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "DRX.Utils.Paths.h"
#include "TestSupport.h"

UString BinFolder() {
  wchar_t buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  return ExtractFilePath(FromW(buffer, length));
}

namespace {
template <typename T>
void PutBytes(std::string& bytes, T value) {
  bytes.append(reinterpret_cast<const char*>(&value), sizeof value);
}
}  // namespace

std::string BitmapFile(int32_t width, int32_t height, int bpp, const std::vector<uint32_t>& pixels) {
  const int32_t stride = (width * bpp / 8 + 3) / 4 * 4;
  std::string bits;
  for (int32_t y = height - 1; y >= 0; --y) {
    std::string row;
    for (int32_t x = 0; x < width; ++x) row.append(reinterpret_cast<const char*>(&pixels[y * width + x]), bpp / 8);
    row.resize(stride, '\0');
    bits += row;
  }
  std::string file = "BM";
  PutBytes<uint32_t>(file, 54 + static_cast<uint32_t>(bits.size()));
  PutBytes<uint32_t>(file, 0);
  PutBytes<uint32_t>(file, 54);
  BITMAPINFOHEADER info{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bpp), BI_RGB, 0, 0, 0, 0, 0};
  PutBytes(file, info);
  return file + bits;
}

namespace {
// Wine's own entry points for reaching the host; absent on Windows.
template <typename T>
T WineExport(const wchar_t* module, const char* name) {
  return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(module), name)));
}

std::string HostPath(const UString& path) {
  using TGetUnixFileName = char*(__cdecl*)(const wchar_t*);
  const auto getUnixFileName = WineExport<TGetUnixFileName>(L"kernel32.dll", "wine_get_unix_file_name");
  if (!getUnixFileName) return {};
  char* name = getUnixFileName(W(ExcludeTrailingBackslash(path)));
  if (!name) return {};
  std::string result(name);
  HeapFree(GetProcessHeap(), 0, name);
  return result;
}

bool RunOnHost(std::vector<std::string> arguments) {
  using TSpawn = LONG(__cdecl*)(char* const*, int);
  const auto spawn = WineExport<TSpawn>(L"ntdll.dll", "__wine_unix_spawnvp");
  if (!spawn) return false;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  return spawn(argv.data(), 1) == 0;
}

// The host path of a folder entry itself (the entry may be a link: not resolved).
std::string HostChildPath(const UString& path) {
  const std::string folder = HostPath(ExtractFilePath(path));
  return folder.empty() ? folder : folder + "/" + Utf16ToUtf8(ExtractFileName(path));
}

bool IsFolderLink(const UString& path) {
  const DWORD attributes = GetFileAttributesW(W(path));
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) &&
         (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

std::string DriveDevice(char16_t letter) {
  const char* prefix = std::getenv("WINEPREFIX");
  return prefix ? std::string(prefix) + "/dosdevices/" + static_cast<char>(letter | 0x20) + ":" : std::string();
}
}  // namespace

namespace {
// A link made on the host (Wine); false where there is no host.
bool MakeHostLink(const UString& link, const UString& target) {
  const std::string hostTarget = HostPath(target);
  const std::string hostLink = HostChildPath(link);
  return !hostTarget.empty() && !hostLink.empty() && RunOnHost({"ln", "-sn", hostTarget, hostLink});
}

// Removes the link itself: on the host where there is one, as Wine would
// remove what a host link points to (without -r, rm removes the link only).
void RemoveLink(const UString& link, bool folder) {
  const std::string hostLink = HostChildPath(link);
  if (!hostLink.empty() && RunOnHost({"rm", "-f", hostLink})) return;
  if (folder) {
    RemoveDirectoryW(W(link));
  } else {
    DeleteFileW(W(link));
  }
}

bool Exists(const UString& path) { return GetFileAttributesW(W(path)) != INVALID_FILE_ATTRIBUTES; }
}  // namespace

TFolderLink::TFolderLink(const UString& link, const UString& target) : link_(ExcludeTrailingBackslash(link)) {
  made_ = (CreateSymbolicLinkW(W(link_), W(ExcludeTrailingBackslash(target)), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
           IsFolderLink(link_)) ||
          (MakeHostLink(link_, target) && IsFolderLink(link_));
}

TFolderLink::~TFolderLink() {
  if (made_) RemoveLink(link_, true);
}

TFileLink::TFileLink(const UString& link, const UString& target) : link_(link) {
  // Wine 8 reports success without making the link: what is there decides.
  made_ = (CreateSymbolicLinkW(W(link_), W(target), 0) && Exists(link_)) ||
          (MakeHostLink(link_, target) && Exists(link_));
}

TFileLink::~TFileLink() {
  if (made_) RemoveLink(link_, false);
}

UString FreeDriveLetter() {
  const DWORD used = GetLogicalDrives();
  for (char16_t letter = u'P'; letter <= u'Y'; ++letter)
    if (!(used & (1u << (letter - u'A')))) return UString(1, letter);
  return {};
}

TMappedDrive::TMappedDrive(char16_t letter, const UString& folder) : letter_(letter) {
  const UString drive = UString(1, letter) + u":";
  const UString root = drive + u"\\";
  made_ = DefineDosDeviceW(0, W(drive), W(ExcludeTrailingBackslash(folder))) &&
          GetFileAttributesW(W(root)) != INVALID_FILE_ATTRIBUTES;
  if (made_) return;
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, W(drive), nullptr);
  const std::string device = DriveDevice(letter);
  const std::string hostFolder = HostPath(folder);
  made_ = !device.empty() && !hostFolder.empty() && RunOnHost({"ln", "-sn", hostFolder, device}) &&
          GetFileAttributesW(W(root)) != INVALID_FILE_ATTRIBUTES;
}

TMappedDrive::~TMappedDrive() {
  if (!made_) return;
  const UString drive = UString(1, letter_) + u":";
  DefineDosDeviceW(DDD_REMOVE_DEFINITION, W(drive), nullptr);
  const std::string device = DriveDevice(letter_);
  if (!device.empty()) RunOnHost({"rm", "-f", device});
}

long RunProgram(const UString& commandLine) {
  UString line = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, W(line), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
  WaitForSingleObject(process.hProcess, INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return static_cast<long>(exitCode);
}

void PumpMessages() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}
