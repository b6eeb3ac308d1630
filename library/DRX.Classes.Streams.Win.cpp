#include <windows.h>

#include "DRX.Classes.Streams.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"

namespace {

HANDLE Handle(intptr_t handle) { return reinterpret_cast<HANDLE>(handle); }

DWORD ShareMode(uint16_t mode) {
  switch (mode & 0xF0) {
    case fmShareExclusive: return 0;
    case fmShareDenyWrite: return FILE_SHARE_READ;
    case fmShareDenyRead: return FILE_SHARE_WRITE;
    // Nothing denied: a holder with delete access (a program that may move the file) is no obstacle.
    case fmShareDenyNone: return FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    default: return 0;
  }
}

}  // namespace

TFileStream::TFileStream(const UString& fileName, uint16_t mode) : fileName_(fileName) {
  HANDLE handle;
  if ((mode & fmCreate) == fmCreate) {
    const DWORD disposition = (mode & fmExclusive) ? CREATE_NEW : CREATE_ALWAYS;
    handle = CreateFileW(W(fileName_), GENERIC_READ | GENERIC_WRITE, ShareMode(mode), nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      throw EFCreateError(Format(u"Cannot create file \"%s\". %s", {fileName_, SysErrorMessage(GetLastError())}));
  } else {
    static const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
    handle = CreateFileW(W(fileName_), kAccess[std::min(mode & 3, 2)], ShareMode(mode), nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
      throw EFOpenError(Format(u"Cannot open file \"%s\". %s", {fileName_, SysErrorMessage(GetLastError())}));
  }
  handle_ = reinterpret_cast<intptr_t>(handle);
}

TFileStream::~TFileStream() { CloseHandle(Handle(handle_)); }

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t total = 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    DWORD got = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 0x40000000));
    if (!ReadFile(Handle(handle_), bytes + total, chunk, &got, nullptr) || got == 0) break;
    total += got;
    count -= got;
  }
  return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t total = 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<int64_t>(count, 0x40000000));
    if (!WriteFile(Handle(handle_), bytes + total, chunk, &written, nullptr) || written == 0) break;
    total += written;
    count -= written;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const DWORD kMethod[] = {FILE_BEGIN, FILE_CURRENT, FILE_END};
  LARGE_INTEGER distance, result;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(Handle(handle_), distance, &result, kMethod[origin])) return -1;
  return result.QuadPart;
}

void TFileStream::SetSize(int64_t newSize) {
  const int64_t position = Position();
  SetPosition(newSize);
  if (!SetEndOfFile(Handle(handle_))) RaiseLastOSError();
  if (position < newSize) SetPosition(position);
}

// Large pages need a privilege on Windows; blocks keep ordinary pages.
void TMemoryStream::AdviseLargeBlock(uint8_t*, int64_t) {}

TResourceStream::TResourceStream(void* module, const UString& name, const wchar_t* type) {
  const HMODULE instance = static_cast<HMODULE>(module);
  HRSRC info = FindResourceW(instance, W(name), type ? type : MAKEINTRESOURCEW(10) /* RT_RCDATA */);
  HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
  const void* memory = data ? LockResource(data) : nullptr;
  if (!memory) throw EStreamError(Format(u"Resource %s not found", {name}));
  SetPointer(static_cast<const uint8_t*>(memory), SizeofResource(instance, info));
}
