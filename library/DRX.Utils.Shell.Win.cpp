#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "DRX.Utils.Shell.h"

#include <atomic>
#include <new>

#include "DRX.Exceptions.h"
#include "DRX.Platform.h"
#include "DRX.Utils.Paths.h"

// ---- System version ----

namespace {
TDRXOSVersion ReadOSVersion() {
  using TRtlGetVersion = LONG(WINAPI*)(OSVERSIONINFOW*);
  const FARPROC proc = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!proc || reinterpret_cast<TRtlGetVersion>(reinterpret_cast<void*>(proc))(&info) != 0) return {};
  return {info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber};
}

const TDRXOSVersion gSystemVersion = ReadOSVersion();
std::atomic<const TDRXOSVersion*> gVersionOverride{nullptr};
}  // namespace

TDRXOSVersion OSVersion() {
  const TDRXOSVersion* substitute = gVersionOverride.load();
  return substitute ? *substitute : gSystemVersion;
}

bool IsOSVersionAtLeast(const TDRXOSVersion& version, uint32_t major, uint32_t minor, uint32_t build) {
  if (version.Major != major) return version.Major > major;
  if (version.Minor != minor) return version.Minor > minor;
  return version.Build >= build;
}

bool IsWindowsVistaOrLater() { return IsOSVersionAtLeast(OSVersion(), 6, 0); }
bool IsWindows7OrLater() { return IsOSVersionAtLeast(OSVersion(), 6, 1); }
bool IsWindows8OrLater() { return IsOSVersionAtLeast(OSVersion(), 6, 2); }
bool IsWindows10OrLater() { return IsOSVersionAtLeast(OSVersion(), 10, 0); }
bool IsWindows11OrLater() { return IsOSVersionAtLeast(OSVersion(), 10, 0, 22000); }

TDRXOSVersionOverride::TDRXOSVersionOverride(const TDRXOSVersion& version)
    : version_(version), previous_(gVersionOverride.exchange(&version_)) {}

TDRXOSVersionOverride::~TDRXOSVersionOverride() { gVersionOverride.store(previous_); }

// ---- Shell folders and links ----

UString GetShellFolder(int csidl) {
  wchar_t buffer[MAX_PATH + 1] = {};
  if (!SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE) || !buffer[0]) return PlatformTempFolder();
  return IncludeTrailingBackslash(FromW(buffer));
}

namespace {
template <typename T>
class TComRef {
 public:
  TComRef() = default;
  ~TComRef() {
    if (object_) object_->Release();
  }
  TComRef(const TComRef&) = delete;
  TComRef& operator=(const TComRef&) = delete;
  void** Out() { return reinterpret_cast<void**>(&object_); }
  T* operator->() const { return object_; }

 private:
  T* object_ = nullptr;
};

bool InitializeComOnThisThread() {
  thread_local bool initialised = false;
  if (!initialised) {
    const HRESULT result = CoInitialize(nullptr);
    initialised = SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;  // a multithreaded apartment serves as well
  }
  return initialised;
}

bool CreateShellLink(TComRef<IShellLinkW>& link) {
  return InitializeComOnThisThread() &&
         SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                                    IID_IShellLinkW, link.Out()));
}

// The long-path form of a full path ("\\?\C:\..." or "\\?\UNC\server\...").
UString LongPathName(const UString& path) {
  if (StartsWith(path, u"\\\\?\\")) return path;
  if (StartsWith(path, u"\\\\")) return u"\\\\?\\UNC\\" + path.substr(2);
  return u"\\\\?\\" + path;
}
}  // namespace

bool CreateShortcut(const UString& LinkFile, const UString& Target) {
  try {
    TComRef<IShellLinkW> link;
    TComRef<IPersistFile> file;
    return FileExists(Target) && CreateShellLink(link) && SUCCEEDED(link->SetPath(W(Target))) &&
           SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.Out())) &&
           SUCCEEDED(file->Save(W(LinkFile), TRUE));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

UString GetShortcutTarget(const UString& LinkFile) {
  try {
    TComRef<IShellLinkW> link;
    TComRef<IPersistFile> file;
    const UString longName = LongPathName(LinkFile);
    if (!CreateShellLink(link) || FAILED(link->QueryInterface(IID_IPersistFile, file.Out())) ||
        FAILED(file->Load(W(longName), STGM_READ)))
      return {};
    UString target(32767, u'\0');
    if (link->GetPath(W(target), static_cast<int>(target.size()), nullptr, 0) != S_OK) return {};
    return target.substr(0, target.find(u'\0'));
  } catch (const std::bad_alloc&) {
    return {};
  }
}

void NotifyAssociationsChanged() {
  // SHCNF_FLUSH returns once the shell has been told: no time to wait out.
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
}

// ---- Files and folder trees ----

namespace {
constexpr DWORD kNoFile = INVALID_FILE_ATTRIBUTES;

DWORD Attributes(const UString& path) { return GetFileAttributesW(W(path)); }

bool IsRootFolder(const UString& folder) { return PathIsRootW(W(ExpandFileName(folder))); }

// Target is Source itself or a folder inside it (both end with a backslash).
bool IsSameOrInside(const UString& target, const UString& source) {
  const UString fullTarget = IncludeTrailingBackslash(ExpandFileName(target));
  const UString fullSource = IncludeTrailingBackslash(ExpandFileName(source));
  return fullTarget.size() >= fullSource.size() && SameText(fullTarget.substr(0, fullSource.size()), fullSource);
}

bool DeleteTree(const UString& folder) {
  for (const TDRXFolderEntry& entry : ListFolderEntries(folder)) {
    const UString path = folder + entry.Name;
    const bool deleted = entry.Kind == fekFolder       ? DeleteTree(path + u'\\')
                         : entry.Kind == fekFolderLink ? RemoveDirectoryW(W(path)) != FALSE
                                                       : DeleteFileW(W(path)) != FALSE;
    if (!deleted) return false;
  }
  return RemoveDirectoryW(W(ExcludeTrailingBackslash(folder))) != FALSE;
}

bool CopyTree(const UString& source, const UString& target) {
  bool targetReady = false;
  for (const TDRXFolderEntry& entry : ListFolderEntries(source)) {
    if (entry.Kind == fekFolderLink) continue;
    if (!targetReady && !(targetReady = ForceDirectories(target))) return false;
    const UString from = source + entry.Name;
    const UString to = target + entry.Name;
    const bool copied = entry.Kind == fekFolder
                            ? CopyTree(from + u'\\', to + u'\\')
                            : CopyFileExW(W(from), W(to), nullptr, nullptr, nullptr, COPY_FILE_COPY_SYMLINK) != FALSE;
    if (!copied) return false;
  }
  return true;
}
}  // namespace

UString ExpandFileName(const UString& FileName) {
  const DWORD length = GetFullPathNameW(W(FileName), 0, nullptr, nullptr);
  if (length == 0) return FileName;
  UString full(length, u'\0');
  const DWORD written = GetFullPathNameW(W(FileName), length, W(full), nullptr);
  return written > 0 && written < length ? full.substr(0, written) : FileName;
}

namespace {

// The long form of each part, looked up one part at a time (for paths whose
// short names GetLongPathNameW cannot resolve as a whole).
UString LongNameByParts(const UString& path) {
  UString result;
  for (size_t start = 0; start <= path.size();) {
    size_t end = path.find(u'\\', start);
    if (end == UString::npos) end = path.size();
    UString part = path.substr(start, end - start);
    const bool isDrive = start == 0 && part.size() == 2 && part[1] == u':';
    if (!part.empty() && !isDrive && part != u"." && part != u"..") {
      WIN32_FIND_DATAW entry;
      const HANDLE search = FindFirstFileW(W(result + part), &entry);
      if (search != INVALID_HANDLE_VALUE) {
        part = FromW(entry.cFileName);
        FindClose(search);
      }
    }
    result += part;
    if (end < path.size()) result += u'\\';
    start = end + 1;
  }
  return result;
}

}  // namespace

UString ExpandLongFileName(const UString& path) {
  const DWORD length = GetLongPathNameW(W(path), nullptr, 0);
  if (length > 0) {
    std::wstring buffer(length, L'\0');
    const DWORD written = GetLongPathNameW(W(path), buffer.data(), length);
    if (written > 0 && written < length) return FromW(buffer.data(), written);
  }
  return FileExists(path) || DirectoryExists(path) ? LongNameByParts(path) : path;
}


UString CurrentFolder() {
  const DWORD size = GetCurrentDirectoryW(0, nullptr);
  UString buffer(size, u'\0');
  const DWORD length = size ? GetCurrentDirectoryW(size, W(buffer)) : 0;
  if (length == 0 || length >= size) RaiseLastOSError();
  return IncludeTrailingBackslash(buffer.substr(0, length));
}

namespace {

UString WithoutLongPathPrefix(const UString& path) {
  if (StartsWith(path, u"\\\\?\\UNC\\")) return UString(u"\\\\").append(path, 8);
  if (StartsWith(path, u"\\\\?\\")) return path.substr(4);
  return path;
}

// Opening failed because the entry is not there (or cannot be there): its parent may be.
bool IsMissingEntryError(DWORD error) {
  return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND || error == ERROR_INVALID_NAME ||
         error == ERROR_BAD_PATHNAME || error == ERROR_DIRECTORY || error == ERROR_NOT_READY;
}

// The final form of an existing entry (file or folder), without a trailing
// backslash except at a root; empty with the system's error when it cannot be opened.
UString FinalPathOfEntry(const UString& path) {
  // No access asked for: only the name is wanted, whoever holds the entry open.
  const HANDLE handle = CreateFileW(W(LongPathName(path)), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return {};
  std::wstring buffer(MAX_PATH, L'\0');
  DWORD length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
  if (length >= buffer.size()) {
    buffer.resize(length + 1);
    length = GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()), VOLUME_NAME_DOS);
  }
  const DWORD error = GetLastError();
  CloseHandle(handle);
  SetLastError(error);
  if (length == 0 || length >= buffer.size()) return {};
  return WithoutLongPathPrefix(FromW(buffer.data(), length));
}

UString AppendPath(const UString& folder, const UString& rest) {
  return rest.empty() ? folder : IncludeTrailingBackslash(folder) + rest;
}

}  // namespace

UString GetFinalPathName(const UString& Path) {
  if (Trim(Path).empty()) return {};
  const UString full = ExpandFileName(Path);
  if (!IsFullPath(full)) return {};
  const bool folderForm = full.back() == u'\\';
  UString existing = full;
  UString rest;
  for (;;) {
    // A root keeps its backslash ("C:" alone would name the drive's current folder).
    const UString trimmed =
        PathIsRootW(W(existing)) ? IncludeTrailingBackslash(existing) : ExcludeTrailingBackslash(existing);
    const UString resolved = FinalPathOfEntry(trimmed);
    if (!resolved.empty()) {
      const UString result = AppendPath(resolved, rest);
      return folderForm ? IncludeTrailingBackslash(result) : result;
    }
    if (!IsMissingEntryError(GetLastError()) || PathIsRootW(W(trimmed))) return {};
    const UString name = ExtractFileName(trimmed);
    const UString parent = ExtractFilePath(trimmed);
    if (name.empty() || parent.empty()) return {};
    rest = rest.empty() ? name : name + u'\\' + rest;
    existing = parent;
  }
}

bool FileExists(const UString& FileName) {
  const DWORD attributes = Attributes(FileName);
  return attributes != kNoFile && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool DirectoryExists(const UString& Folder) {
  const DWORD attributes = Attributes(Folder);
  return attributes != kNoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// One level at a time, never by recursion: a path of many thousand levels must
// not overflow the calling thread's stack. The missing folders are remembered
// by the length of their path, a prefix of Folder.
bool ForceDirectories(const UString& Folder) {
  const UString folder = ExcludeTrailingBackslash(Folder);
  if (folder.empty()) return false;
  std::vector<size_t> missing;  // deepest first
  for (UString level = folder; !level.empty() && !DirectoryExists(level);) {
    missing.push_back(level.size());
    UString parent = ExcludeTrailingBackslash(ExtractFilePath(level));
    if (parent.size() >= level.size()) break;
    level = std::move(parent);
  }
  for (auto length = missing.rbegin(); length != missing.rend(); ++length) {
    const UString level = folder.substr(0, *length);
    if (!CreateDirectoryW(W(level), nullptr) && !DirectoryExists(level)) return false;
  }
  return true;
}

UString PathInsideFolderWithoutLinks(const UString& Path, const UString& Folder) {
  const UString path = RebuildPathInsideFolder(Path, Folder);
  if (path.empty()) return {};
  return FirstFolderLinkBelow(RebuildFolderPath(Folder), ExtractFilePath(path)).empty() ? path : UString();
}

bool IsFolderLink(const UString& Folder) {
  const DWORD attributes = Attributes(ExcludeTrailingBackslash(Folder));
  return attributes != kNoFile && (attributes & FILE_ATTRIBUTE_DIRECTORY) && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

namespace {

// The file's final form is its own entry in its own folder's final form (a
// file reached through a folder link still is; a file link is not).
bool IsOwnEntry(const UString& fileName) {
  const UString full = ExpandFileName(fileName);
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW(W(full), &entry);
  if (search == INVALID_HANDLE_VALUE) return true;
  FindClose(search);
  const UString resolved = FinalPathOfEntry(full);
  const UString folder = GetFinalPathName(ExtractFilePath(full));
  // Either cannot be opened: nothing can be written through it either.
  if (resolved.empty() || folder.empty()) return true;
  return SameText(resolved, IncludeTrailingBackslash(folder) + FromW(entry.cFileName));
}

}  // namespace

bool IsFileLink(const UString& FileName) {
  const DWORD attributes = Attributes(FileName);
  if (attributes == kNoFile || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) || !IsOwnEntry(FileName);
}

UString FirstFolderLinkBelow(const UString& Base, const UString& Path) {
  const UString base = IncludeTrailingBackslash(Base);
  const UString path = IncludeTrailingBackslash(Path);
  if (base.size() <= 1 || path.size() <= base.size() || !StartsText(path, base)) return {};
  for (size_t end = path.find(u'\\', base.size()); end != UString::npos; end = path.find(u'\\', end + 1)) {
    const UString part = path.substr(0, end + 1);
    if (IsFolderLink(part)) return part;
  }
  return {};
}

TDRXFolderEntryKind ClassifyFolderEntry(UStringView Name, uint32_t Attributes) {
  if (Name == u"." || Name == u".." || (Attributes & FILE_ATTRIBUTE_SYSTEM)) return fekSkipped;
  if (!(Attributes & FILE_ATTRIBUTE_DIRECTORY)) return fekFile;
  return (Attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? fekFolderLink : fekFolder;
}

std::vector<TDRXFolderEntry> ListFolderEntries(const UString& Folder) {
  std::vector<TDRXFolderEntry> entries;
  const UString pattern = IncludeTrailingBackslash(Folder) + u'*';
  WIN32_FIND_DATAW data;
  const HANDLE find = FindFirstFileW(W(pattern), &data);
  if (find == INVALID_HANDLE_VALUE) return entries;
  do {
    const UString name = FromW(data.cFileName);
    const TDRXFolderEntryKind kind = ClassifyFolderEntry(name, data.dwFileAttributes);
    if (kind != fekSkipped) entries.push_back({name, kind});
  } while (FindNextFileW(find, &data));
  FindClose(find);
  return entries;
}

bool DeleteFolderTree(const UString& Folder) {
  if (Folder.empty() || IsRootFolder(IncludeTrailingBackslash(Folder))) return false;
  if (IsFolderLink(Folder)) return RemoveDirectoryW(W(ExcludeTrailingBackslash(Folder))) != FALSE;
  return DeleteTree(IncludeTrailingBackslash(Folder));
}

bool CopyFolderTree(const UString& Source, const UString& Target) {
  if (!DirectoryExists(Source) || Target.empty() || IsSameOrInside(Target, Source)) return false;
  if (IsFolderLink(Source) || IsFolderLink(Target) || IsFileLink(ExcludeTrailingBackslash(Target))) return false;
  return CopyTree(IncludeTrailingBackslash(Source), IncludeTrailingBackslash(Target));
}
