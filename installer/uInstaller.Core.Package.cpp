#include "uInstaller.Core.Package.h"

#include <algorithm>
#include <cstring>
#include <functional>

#include "DRX.Crypto.h"
#include "DRX.Hashes.h"
#include "DRX.Platform.h"
#include "Lzma.h"
#include "uInstaller.Core.PackageDecoding.h"

namespace {

constexpr char kMagic[4] = {'I', 'P', 'K', '5'};
constexpr int kHeaderSize = 12;
constexpr int kTableLengthSize = 4;
constexpr size_t kMaxNameLength = 0xFFFF;
// How far ahead the decoded stream's memory is reserved: the header's length, but
// never more than this many times the coded bytes at hand, so that a length field
// alone cannot claim memory.
constexpr int64_t kReserveRatio = 32;

uint32_t LoadLE32(const uint8_t* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

void StoreLE32(uint8_t* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(value >> (8 * i));
}

void WriteLE32(TStream& stream, uint32_t value) {
  uint8_t bytes[4];
  StoreLE32(bytes, value);
  stream.WriteBuffer(bytes, 4);
}

void WriteLE64(TStream& stream, int64_t value) {
  uint8_t bytes[8];
  for (int i = 0; i < 8; ++i) bytes[i] = static_cast<uint8_t>(static_cast<uint64_t>(value) >> (8 * i));
  stream.WriteBuffer(bytes, 8);
}

int64_t ReadLE64(TStream& stream) {
  uint8_t bytes[8];
  stream.ReadBuffer(bytes, 8);
  uint64_t value = 0;
  for (int i = 0; i < 8; ++i) value |= uint64_t{bytes[i]} << (8 * i);
  return static_cast<int64_t>(value);
}

// The preprocessor that runs one RC4 keystream across all blocks of a body.
TPreprocessor RC4Preprocessor(TRC4State& state) {
  return [&state](uint8_t* data, int32_t count) { TRC4::Crypt(state, data, data, count); };
}

uint32_t ChecksumOf(TMemoryStream& data) {
  const TDRXHashCRC32 crc;
  TDRXHashState state;
  crc.Initialize(state);
  data.SetPosition(0);
  crc.UpdateFromStream(state, data);
  return std::get<uint32_t>(crc.Finalize(state));
}

}  // namespace

TSetupPackageKey SetupPackageKey(int32_t key) {
  TSetupPackageKey bytes;
  StoreLE32(bytes.data(), static_cast<uint32_t>(key));
  return bytes;
}

void EncodeSetupPackage(TMemoryStream& decoded, TStream& target, const TSetupPackageKey& key, int level) {
  if (decoded.Size() > 0xFFFFFFFF) throw EInvalidOperation(u"Package is too large");
  uint8_t header[kHeaderSize];
  std::memcpy(header, kMagic, sizeof kMagic);
  StoreLE32(header + 4, ChecksumOf(decoded));
  StoreLE32(header + 8, static_cast<uint32_t>(decoded.Size()));
  target.WriteBuffer(header, kHeaderSize);

  TRC4State rc4;
  TRC4::Initialize(rc4, key);
  decoded.SetPosition(0);
  CompressLZMAStream(decoded, target, level, RC4Preprocessor(rc4));
}

namespace {

struct TPackageHeader {
  uint32_t Checksum = 0;  // of the decoded stream
  uint32_t Length = 0;    // of the decoded stream
};

TPackageHeader ReadPackageHeader(TStream& source) {
  uint8_t header[kHeaderSize];
  source.ReadBuffer(header, kHeaderSize);
  if (std::memcmp(header, kMagic, sizeof kMagic) != 0) throw ESetupPackageReadError();
  return {LoadLE32(header + 4), LoadLE32(header + 8)};
}

// Decodes the body from the source's position into `decoded`, which is empty;
// `reached` learns the decoded length after every block.
void DecodePackageBody(TStream& source, const TPackageHeader& header, TMemoryStream& decoded,
                       const std::function<void(int64_t)>& reached = {}) {
  TRC4State rc4;
  TRC4::Initialize(rc4, SetupPackageKey(PackageKey));
  // The CRC is taken block by block while each is still in the cache.
  uint32_t crc = 0;
  int64_t done = 0;
  const TPreprocessor checksum = [&](uint8_t* data, int32_t count) {
    crc = TDRXHashCRC32::Continue(crc, data, count);
    if (reached) reached(done += count);
  };
  DecompressLZMAStream(source, decoded, header.Length, RC4Preprocessor(rc4), checksum);
  if (decoded.Size() != header.Length || crc != header.Checksum) throw ESetupPackageReadError();
}

// The table as the decoded stream stores it, before its length; raises for a
// length that does not fit.
std::string_view StoredTableOf(std::string_view data) {
  if (data.size() < 2 * kTableLengthSize) throw ESetupPackageReadError();
  const int64_t tableEnd = static_cast<int64_t>(data.size()) - kTableLengthSize;
  const auto tableLength = static_cast<int32_t>(LoadLE32(reinterpret_cast<const uint8_t*>(data.data()) + tableEnd));
  if (tableLength < kTableLengthSize || tableLength > tableEnd) throw ESetupPackageReadError();
  return data.substr(static_cast<size_t>(tableEnd - tableLength), static_cast<size_t>(tableLength));
}

// Loads the table and rejects entries that point outside the data area.
void LoadFileTable(std::string_view stored, int64_t dataAreaSize, TSetupPackageFileTable& table) {
  TMemoryStream stream(stored);
  try {
    table.LoadFromStream(stream);
  } catch (const EReadError&) {
    throw ESetupPackageReadError();
  }
  for (int i = 0; i < table.Count(); ++i) {
    const TSetupPackageFileTableItem& item = table.Items(i);
    if (item.Offset < 0 || item.Size < 0 || item.Offset > dataAreaSize || item.Size > dataAreaSize - item.Offset)
      throw ESetupPackageReadError();
  }
}

constexpr char kIndexMagic[4] = {'I', 'P', 'K', 'I'};
constexpr size_t kIndexHeaderSize = 12;

}  // namespace

std::unique_ptr<TMemoryStream> DecodeSetupPackage(TStream& source) {
  const TPackageHeader header = ReadPackageHeader(source);
  auto decoded = std::make_unique<TMemoryStream>();
  decoded->SetCapacity(
      std::min<int64_t>(header.Length, kReserveRatio * std::max<int64_t>(source.Size() - source.Position(), 0)));
  DecodePackageBody(source, header, *decoded);
  decoded->SetPosition(0);
  return decoded;
}

std::string MakeSetupPackageIndex(std::string_view stored) {
  TBytesViewStream source(stored);
  const TSetupPackageReader reader(source);
  std::string index(kIndexHeaderSize, '\0');
  auto* header = reinterpret_cast<uint8_t*>(index.data());
  std::memcpy(header, kIndexMagic, sizeof kIndexMagic);
  StoreLE32(header + 4, TDRXHashCRC32::Calculate(stored.data(), static_cast<int64_t>(stored.size())));
  StoreLE32(header + 8, static_cast<uint32_t>(stored.size()));
  return index.append(reader.StoredFileTable());
}

void TSetupPackageFileTableItem::LoadFromStream(TStream& stream) {
  Name = ReadPrefixedString(stream);
  Offset = ReadLE64(stream);
  Size = ReadLE64(stream);
}

void TSetupPackageFileTableItem::SaveToStream(TStream& stream) const {
  WritePrefixedString(stream, Name);
  WriteLE64(stream, Offset);
  WriteLE64(stream, Size);
}

TSetupPackageFileTableItem& TSetupPackageFileTable::Add() {
  items_.push_back(std::make_unique<TSetupPackageFileTableItem>());
  return *items_.back();
}

namespace {
// Names by length, then by the comparison that ignores case: lines that
// SameText calls equal stand together.
int CompareNames(UStringView a, UStringView b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  return PlatformCompareText(a, b, true);
}
}  // namespace

void TSetupPackageFileTable::IndexLast() {
  const UString& name = items_.back()->Name;
  // After the equal names already there, so that the first in table order leads.
  const auto place = std::upper_bound(byName_.begin(), byName_.end(), name, [this](const UString& key, int index) {
    return CompareNames(key, items_[static_cast<size_t>(index)]->Name) < 0;
  });
  byName_.insert(place, static_cast<int>(items_.size() - 1));
}

bool TSetupPackageFileTable::Find(const UString& name, const TSetupPackageFileTableItem*& item) const {
  if (byName_.size() != items_.size()) return FindInOrder(name, item);
  const auto first = std::lower_bound(byName_.begin(), byName_.end(), name, [this](int index, const UString& key) {
    return CompareNames(items_[static_cast<size_t>(index)]->Name, key) < 0;
  });
  if (first == byName_.end() || !SameText(items_[static_cast<size_t>(*first)]->Name, name)) return false;
  item = items_[static_cast<size_t>(*first)].get();
  return true;
}

bool TSetupPackageFileTable::FindInOrder(const UString& name, const TSetupPackageFileTableItem*& item) const {
  for (const auto& candidate : items_) {
    if (SameText(candidate->Name, name)) {
      item = candidate.get();
      return true;
    }
  }
  return false;
}

void TSetupPackageFileTable::LoadFromStream(TStream& stream) {
  uint8_t count[4];
  stream.ReadBuffer(count, 4);
  for (int32_t n = static_cast<int32_t>(LoadLE32(count)); n > 0; --n) {
    Add().LoadFromStream(stream);
    IndexLast();
  }
}

void TSetupPackageFileTable::SaveToStream(TStream& stream) const {
  WriteLE32(stream, static_cast<uint32_t>(items_.size()));
  for (const auto& item : items_) item->SaveToStream(stream);
}

TCustomSetupPackage::TCustomSetupPackage() : FFileTable(std::make_unique<TSetupPackageFileTable>()) {}

TSetupPackageReader::TSetupPackageReader(const UString& fileName) {
  TFileStream file(fileName, fmOpenRead | fmShareDenyNone);
  ReadPackage(file);
}

TSetupPackageReader::TSetupPackageReader(TStream& stream) { ReadPackage(stream); }

TSetupPackageReader::TSetupPackageReader(std::string_view stored, std::string_view index) {
  std::string_view table;
  uint32_t length = 0;
  if (ReadIndex(stored, index, table, length)) {
    StartDecoding(stored, table, length);
    return;
  }
  TBytesViewStream source(stored);
  ReadPackage(source);
}

TSetupPackageReader::~TSetupPackageReader() = default;

bool TSetupPackageReader::ReadIndex(std::string_view stored, std::string_view index, std::string_view& table,
                                    uint32_t& length) {
  if (index.size() < kIndexHeaderSize || std::memcmp(index.data(), kIndexMagic, sizeof kIndexMagic) != 0) return false;
  const auto* header = reinterpret_cast<const uint8_t*>(index.data());
  if (LoadLE32(header + 8) != stored.size() ||
      LoadLE32(header + 4) != TDRXHashCRC32::Calculate(stored.data(), static_cast<int64_t>(stored.size())))
    return false;
  // The stored bytes are those the index was made of: a package that read without error.
  TBytesViewStream source(stored);
  length = ReadPackageHeader(source).Length;
  table = index.substr(kIndexHeaderSize);
  const int64_t dataAreaSize = int64_t{length} - kTableLengthSize - static_cast<int64_t>(table.size());
  if (dataAreaSize < 0) return false;
  try {
    LoadFileTable(table, dataAreaSize, *FFileTable);
  } catch (const ESetupPackageReadError&) {
    FFileTable = std::make_unique<TSetupPackageFileTable>();
    return false;
  }
  return true;
}

void TSetupPackageReader::StartDecoding(std::string_view stored, std::string_view table, uint32_t length) {
  FData = std::make_unique<TMemoryStream>();
  // Reserved whole: the memory never moves while readers look at its decoded part.
  FData->SetCapacity(length);
  decodedBytes_ = FData->Memory();
  decoding_ = std::make_unique<TSetupPackageDecoding>([this, stored, table](const auto& reached) {
    TBytesViewStream source(stored);
    DecodePackageBody(source, ReadPackageHeader(source), *FData, reached);
    // The entries handed out early were found through the index: it must be the package's own table.
    if (StoredTableOf(FData->Bytes()) != table) throw ESetupPackageReadError();
  });
}

void TSetupPackageReader::ReadPackage(TStream& source) {
  FData = DecodeSetupPackage(source);
  ReadFileTable();
}

void TSetupPackageReader::ReadFileTable() {
  const std::string_view data = FData->Bytes();
  const std::string_view table = StoredTableOf(data);
  LoadFileTable(table, static_cast<int64_t>(data.size() - table.size()) - kTableLengthSize, *FFileTable);
}

void TSetupPackageReader::Verify() const {
  if (decoding_) decoding_->WaitForEnd();
}

std::string_view TSetupPackageReader::StoredFileTable() const {
  Verify();
  return StoredTableOf(FData->Bytes());
}

bool TSetupPackageReader::Contains(const UString& name) const {
  const TSetupPackageFileTableItem* item;
  return FFileTable->Find(name, item);
}

bool TSetupPackageReader::Extract(const UString& name, std::unique_ptr<TMemoryStream>& stream) const {
  const TSetupPackageFileTableItem* item;
  if (!FFileTable->Find(name, item)) return false;
  stream = Copy(*item);
  return true;
}

bool TSetupPackageReader::View(const UString& name, std::string_view& bytes) const {
  const TSetupPackageFileTableItem* item;
  if (!FFileTable->Find(name, item)) return false;
  bytes = BytesOf(*item);
  return true;
}

bool TSetupPackageReader::ViewDecoded(const UString& name, std::string_view& bytes) const {
  if (!decoding_) return View(name, bytes);
  const TSetupPackageFileTableItem* item;
  if (!FFileTable->Find(name, item)) return false;
  decoding_->WaitFor(item->Offset + item->Size);
  bytes = std::string_view(reinterpret_cast<const char*>(decodedBytes_) + item->Offset, static_cast<size_t>(item->Size));
  return true;
}

std::unique_ptr<TMemoryStream> TSetupPackageReader::ExtractItem(int index) const {
  return Copy(FFileTable->Items(index));
}

void TSetupPackageReader::ExtractItem(int index, TStream& target) const {
  Verify();
  const TSetupPackageFileTableItem& item = FFileTable->Items(index);
  const uint8_t* bytes = FData->Memory() + item.Offset;
  for (int64_t done = 0; done < item.Size; done += kMaxCopyBlockSize)
    target.WriteBuffer(bytes + done, std::min(kMaxCopyBlockSize, item.Size - done));
}

std::string_view TSetupPackageReader::BytesOf(const TSetupPackageFileTableItem& item) const {
  // The table was checked against the decoded stream when the package was read.
  Verify();
  return FData->Bytes().substr(static_cast<size_t>(item.Offset), static_cast<size_t>(item.Size));
}

std::unique_ptr<TMemoryStream> TSetupPackageReader::Copy(const TSetupPackageFileTableItem& item) const {
  return std::make_unique<TMemoryStream>(BytesOf(item));
}

TSetupPackageBuilder::TSetupPackageBuilder(int32_t key) : FKey(SetupPackageKey(key)) {
  FData = std::make_unique<TMemoryStream>();
}

void TSetupPackageBuilder::Add(TStream& stream, const UString& name) {
  if (name.size() > kMaxNameLength) throw EInvalidOperation(u"Package entry name is too long");
  const int64_t offset = FData->Size();
  const int64_t size = stream.Size();
  // Read straight into the data area, in blocks; a short source leaves it as it was.
  FData->SetSize(offset + size);
  try {
    for (int64_t done = 0; done < size; done += kMaxCopyBlockSize)
      stream.ReadBuffer(FData->Memory() + offset + done, std::min(kMaxCopyBlockSize, size - done));
  } catch (...) {
    FData->SetSize(offset);
    throw;
  }
  TSetupPackageFileTableItem& item = FFileTable->Add();
  item.Name = name;
  item.Offset = offset;
  item.Size = size;
  FFileTable->IndexLast();
}

void TSetupPackageBuilder::Commit(const UString& fileName, int level) {
  TFileStream file(fileName, fmCreate);
  Commit(file, level);
}

void TSetupPackageBuilder::Commit(TStream& stream, int level) {
  const int64_t dataAreaSize = FData->Size();
  // The table is appended only for the time of writing.
  struct TRestore {
    TMemoryStream& data;
    int64_t size;
    ~TRestore() { data.SetSize(size); }
  } restore{*FData, dataAreaSize};

  TMemoryStream table;
  FFileTable->SaveToStream(table);
  table.SetPosition(0);
  FData->SetPosition(dataAreaSize);
  FData->CopyFrom(table, table.Size());
  WriteLE32(*FData, static_cast<uint32_t>(table.Size()));
  EncodeSetupPackage(*FData, stream, FKey, level);
}
