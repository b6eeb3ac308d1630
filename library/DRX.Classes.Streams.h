#pragma once
// Byte streams: the abstract TStream with positions and sizes, memory streams,
// file streams (Win32 or POSIX underneath) and, on Windows, module resources.
// Short reads through ReadBuffer raise EReadError; copies run in blocks of at
// most 1 MiB.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "DRX.Exceptions.h"
#include "DRX.Strings.h"

enum TSeekOrigin : uint8_t { soBeginning, soCurrent, soEnd };

constexpr int64_t kMaxCopyBlockSize = 0x100000;

class TStream {
 public:
  virtual ~TStream() = default;
  TStream() = default;
  TStream(const TStream&) = delete;
  TStream& operator=(const TStream&) = delete;

  // Read and Write move the position and return the number of bytes moved.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  virtual int64_t Seek(int64_t offset, TSeekOrigin origin) = 0;
  virtual int64_t Size();
  virtual void SetSize(int64_t newSize);

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t position) { Seek(position, soBeginning); }

  void ReadBuffer(void* buffer, int64_t count);
  void WriteBuffer(const void* buffer, int64_t count);
  // Copies exactly `count` bytes from the source's position; fewer raise EReadError.
  int64_t CopyFrom(TStream& source, int64_t count);
};

// Reads everything from the stream's position to its end.
std::string ReadRemainingBytes(TStream& stream);

// Text as an unsigned 16-bit little-endian count of UTF-16 units followed by the
// units in UTF-16LE. Writing text longer than 65535 units raises EWriteError;
// a short read raises EReadError.
void WritePrefixedString(TStream& stream, UStringView text);
UString ReadPrefixedString(TStream& stream);

// A stream over a block of memory that it does not own (read-only).
class TCustomMemoryStream : public TStream {
 public:
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return size_; }
  const uint8_t* Memory() const { return memory_; }

 protected:
  void SetPointer(const uint8_t* memory, int64_t size);
  const uint8_t* memory_ = nullptr;
  int64_t size_ = 0;
  int64_t position_ = 0;
};

// Bytes that someone else owns, read where they lie; they must outlive the stream.
class TBytesViewStream : public TCustomMemoryStream {
 public:
  explicit TBytesViewStream(std::string_view bytes) {
    SetPointer(reinterpret_cast<const uint8_t*>(bytes.data()), static_cast<int64_t>(bytes.size()));
  }
};

// A growable stream in memory that owns its bytes.
class TMemoryStream : public TCustomMemoryStream {
 public:
  TMemoryStream() = default;
  explicit TMemoryStream(std::string_view bytes);
  int64_t Write(const void* buffer, int64_t count) override;
  void SetSize(int64_t newSize) override;
  uint8_t* Memory() { return buffer_.get(); }
  std::string_view Bytes() const { return {reinterpret_cast<const char*>(buffer_.get()), static_cast<size_t>(size_)}; }
  void Clear();
  // Room for that many bytes without growing again; the size stays as it is.
  void SetCapacity(int64_t capacity) { Reserve(capacity); }
  void LoadFromStream(TStream& source);  // whole source, from its start
  void LoadFromFile(const UString& fileName);
  void SaveToStream(TStream& target);
  void SaveToFile(const UString& fileName);

 private:
  // Grows the block with realloc, which large blocks can do without copying.
  void Reserve(int64_t capacity);
  // Asks the system to back a block of many megabytes with large pages, where it can.
  static void AdviseLargeBlock(uint8_t* block, int64_t size);
  struct TFree {
    void operator()(uint8_t* block) const;
  };
  std::unique_ptr<uint8_t[], TFree> buffer_;
  int64_t capacity_ = 0;
};

// File modes, as the library has always numbered them.
enum : uint16_t {
  fmOpenRead = 0x0000,
  fmOpenWrite = 0x0001,
  fmOpenReadWrite = 0x0002,
  fmExclusive = 0x0004,  // with fmCreate: fail when the file exists
  fmShareExclusive = 0x0010,
  fmShareDenyWrite = 0x0020,
  fmShareDenyRead = 0x0030,
  fmShareDenyNone = 0x0040,  // others may read, write, and delete or rename it
  fmCreate = 0xFF00,  // create or truncate, read and write
};

class TFileStream : public TStream {
 public:
  // Raises EFCreateError or EFOpenError with the system's reason.
  TFileStream(const UString& fileName, uint16_t mode);
  ~TFileStream() override;
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  void SetSize(int64_t newSize) override;
  const UString& FileName() const { return fileName_; }

 private:
  UString fileName_;
  intptr_t handle_;
};

#ifdef _WIN32
// A resource of a module (RT_RCDATA unless another type is given), read in place.
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(void* module, const UString& name, const wchar_t* type = nullptr);
};
#endif
