#include <errno.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "DRX.Classes.Streams.h"
#include "DRX.Format.h"
#include "DRX.Platform.h"

// POSIX has no share modes; only access and creation are honoured natively.
TFileStream::TFileStream(const UString& fileName, uint16_t mode) : fileName_(fileName) {
  const std::string path = Utf16ToUtf8(fileName);
  int fd;
  if ((mode & fmCreate) == fmCreate) {
    const int flags = O_RDWR | O_CREAT | ((mode & fmExclusive) ? O_EXCL : O_TRUNC);
    fd = open(path.c_str(), flags | O_CLOEXEC, 0644);
    if (fd < 0) throw EFCreateError(Format(u"Cannot create file \"%s\". %s", {fileName_, SysErrorMessage(errno)}));
  } else {
    static const int kAccess[] = {O_RDONLY, O_WRONLY, O_RDWR};
    fd = open(path.c_str(), kAccess[std::min(mode & 3, 2)] | O_CLOEXEC);
    struct stat info;
    if (fd >= 0 && fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
      close(fd);
      fd = -1;
      errno = EISDIR;
    }
    if (fd < 0) throw EFOpenError(Format(u"Cannot open file \"%s\". %s", {fileName_, SysErrorMessage(errno)}));
  }
  handle_ = fd;
}

TFileStream::~TFileStream() { close(static_cast<int>(handle_)); }

int64_t TFileStream::Read(void* buffer, int64_t count) {
  int64_t total = 0;
  auto* bytes = static_cast<uint8_t*>(buffer);
  while (count > 0) {
    const ssize_t got = read(static_cast<int>(handle_), bytes + total, static_cast<size_t>(count));
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    total += got;
    count -= got;
  }
  return total;
}

int64_t TFileStream::Write(const void* buffer, int64_t count) {
  int64_t total = 0;
  const auto* bytes = static_cast<const uint8_t*>(buffer);
  while (count > 0) {
    const ssize_t written = write(static_cast<int>(handle_), bytes + total, static_cast<size_t>(count));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) break;
    total += written;
    count -= written;
  }
  return total;
}

int64_t TFileStream::Seek(int64_t offset, TSeekOrigin origin) {
  static const int kWhence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
  return lseek(static_cast<int>(handle_), offset, kWhence[origin]);
}

void TFileStream::SetSize(int64_t newSize) {
  if (ftruncate(static_cast<int>(handle_), newSize) != 0) RaiseLastOSError();
  if (Position() > newSize) SetPosition(newSize);
}

// Filling a block of many megabytes page by page costs a fault per 4 KiB page,
// which under virtualisation rivals the work done on the bytes; large pages spare
// nearly all of them. Only the block's whole, aligned 2 MiB pages qualify.
void TMemoryStream::AdviseLargeBlock(uint8_t* block, int64_t size) {
  constexpr uintptr_t kLargePage = uintptr_t{2} << 20;
  if (size < static_cast<int64_t>(4 * kLargePage)) return;
  const uintptr_t begin = (reinterpret_cast<uintptr_t>(block) + kLargePage - 1) & ~(kLargePage - 1);
  const uintptr_t end = (reinterpret_cast<uintptr_t>(block) + static_cast<uintptr_t>(size)) & ~(kLargePage - 1);
  madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);  // a refusal changes nothing
}
