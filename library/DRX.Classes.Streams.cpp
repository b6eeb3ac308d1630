#include "DRX.Classes.Streams.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

int64_t TStream::Size() {
  const int64_t position = Seek(0, soCurrent);
  const int64_t size = Seek(0, soEnd);
  Seek(position, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) { throw EStreamError(u"Stream size cannot be changed"); }

void TStream::ReadBuffer(void* buffer, int64_t count) {
  if (count > 0 && Read(buffer, count) != count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, int64_t count) {
  if (count > 0 && Write(buffer, count) != count) throw EWriteError(u"Stream write error");
}

int64_t TStream::CopyFrom(TStream& source, int64_t count) {
  if (count <= 0) return 0;
  std::vector<uint8_t> block(static_cast<size_t>(std::min(count, kMaxCopyBlockSize)));
  for (int64_t left = count; left > 0;) {
    const int64_t chunk = std::min<int64_t>(left, block.size());
    source.ReadBuffer(block.data(), chunk);
    WriteBuffer(block.data(), chunk);
    left -= chunk;
  }
  return count;
}

std::string ReadRemainingBytes(TStream& stream) {
  std::string bytes;
  char block[0x10000];
  for (int64_t got; (got = stream.Read(block, sizeof block)) > 0;) bytes.append(block, static_cast<size_t>(got));
  return bytes;
}

void WritePrefixedString(TStream& stream, UStringView text) {
  if (text.size() > 0xFFFF) throw EWriteError(u"String is too long to be written");
  std::string bytes(2 + 2 * text.size(), '\0');
  bytes[0] = static_cast<char>(text.size() & 0xFF);
  bytes[1] = static_cast<char>(text.size() >> 8);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 + 2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[3 + 2 * i] = static_cast<char>(text[i] >> 8);
  }
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

UString ReadPrefixedString(TStream& stream) {
  uint8_t count[2];
  stream.ReadBuffer(count, 2);
  std::string bytes(2 * (count[0] | (count[1] << 8)), '\0');
  stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  UString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  return text;
}

void TCustomMemoryStream::SetPointer(const uint8_t* memory, int64_t size) {
  memory_ = memory;
  size_ = size;
}

int64_t TCustomMemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || position_ >= size_) return 0;
  const int64_t n = std::min(count, size_ - position_);
  std::memcpy(buffer, memory_ + position_, static_cast<size_t>(n));
  position_ += n;
  return n;
}

int64_t TCustomMemoryStream::Write(const void*, int64_t) { return 0; }

int64_t TCustomMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning: position_ = offset; break;
    case soCurrent: position_ += offset; break;
    case soEnd: position_ = size_ + offset; break;
  }
  if (position_ < 0) position_ = 0;
  return position_;
}

TMemoryStream::TMemoryStream(std::string_view bytes) {
  WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  position_ = 0;
}

void TMemoryStream::TFree::operator()(uint8_t* block) const { std::free(block); }

void TMemoryStream::Reserve(int64_t capacity) {
  if (capacity <= capacity_) return;
  // Grow geometrically so that appending in blocks stays linear.
  const int64_t grown = std::max<int64_t>({capacity, capacity_ + capacity_ / 2, 256});
  auto* block = static_cast<uint8_t*>(std::realloc(buffer_.get(), static_cast<size_t>(grown)));
  if (!block) throw std::bad_alloc();
  (void)buffer_.release();
  buffer_.reset(block);
  capacity_ = grown;
  memory_ = block;
  AdviseLargeBlock(block, grown);
}

void TMemoryStream::SetSize(int64_t newSize) {
  if (newSize < 0) newSize = 0;
  Reserve(newSize);
  if (newSize > size_) std::memset(buffer_.get() + size_, 0, static_cast<size_t>(newSize - size_));
  size_ = newSize;
  if (position_ > size_) position_ = size_;
}

int64_t TMemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const int64_t end = position_ + count;
  if (end > size_) {
    Reserve(end);
    if (position_ > size_) std::memset(buffer_.get() + size_, 0, static_cast<size_t>(position_ - size_));
    size_ = end;
  }
  std::memcpy(buffer_.get() + position_, buffer, static_cast<size_t>(count));
  position_ = end;
  return count;
}

void TMemoryStream::Clear() {
  buffer_.reset();
  capacity_ = 0;
  memory_ = nullptr;
  size_ = position_ = 0;
}

void TMemoryStream::LoadFromStream(TStream& source) {
  source.SetPosition(0);
  const int64_t size = source.Size();
  SetSize(size);
  position_ = 0;
  if (size > 0) source.ReadBuffer(buffer_.get(), size);
}

void TMemoryStream::LoadFromFile(const UString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(file);
}

void TMemoryStream::SaveToStream(TStream& target) { target.WriteBuffer(memory_, size_); }

void TMemoryStream::SaveToFile(const UString& fileName) {
  TFileStream file(fileName, fmCreate);
  SaveToStream(file);
}
