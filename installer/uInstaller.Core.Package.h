#pragma once
// Setup packages ("IPK5"). As stored: "IPK5", the CRC of the decoded stream, the
// decoded stream's length (32-bit little-endian each), then the body: the decoded
// stream LZMA-compressed and RC4-enciphered. The decoded stream holds the entries'
// bytes back to back, the file table (count, then name/offset/size per entry) and
// the table's length as its last 4 bytes.
//
// A reader decodes and checks the whole package when it is created; lookups and
// extraction then touch only memory. Given the package's index, it decodes on a
// thread of its own instead and hands out entries as they are decoded (see
// below). A builder collects entries in memory and writes the package in one
// step. Neither is safe for concurrent use.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Exceptions.h"

// The RC4 key of every package the setup program reads.
constexpr int32_t PackageKey = 0x3A9C21F7;

class ESetupPackageReadError : public Exception {
 public:
  ESetupPackageReadError() : Exception(u"Package was corrupted") {}
};

// The RC4 key bytes of a key value: its four bytes in little-endian order.
using TSetupPackageKey = std::array<uint8_t, 4>;
TSetupPackageKey SetupPackageKey(int32_t key);

// The coding around a decoded stream: writes the header and the body for all of
// `decoded` (whatever it holds) at the LZMA level, enciphered with the key.
void EncodeSetupPackage(TMemoryStream& decoded, TStream& target, const TSetupPackageKey& key, int level);
// Reads the header and decodes the body from the source's position with PackageKey;
// raises ESetupPackageReadError when the magic, the decoded length or the CRC is wrong.
std::unique_ptr<TMemoryStream> DecodeSetupPackage(TStream& source);

// What a reader needs to use a stored package before it is decoded: "IPKI",
// the CRC (the packages' own) and the length of the stored package, 32-bit
// little-endian each, then the package's file table as the package holds it.
// Raises what reading the package raises.
std::string MakeSetupPackageIndex(std::string_view stored);

class TSetupPackageFileTableItem {
 public:
  int64_t Offset = 0;  // from the start of the decoded stream
  int64_t Size = 0;
  UString Name;

  // One table entry: prefixed UTF-16LE name, 64-bit offset, 64-bit size.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;
};

// The entries in table order. Lookups ignore case under the user's locale; the
// first match wins, so a later duplicate name is never found.
class TSetupPackageDecoding;

class TSetupPackageFileTable {
 public:
  TSetupPackageFileTableItem& Add();
  // Enters the last item, named by now, in the index by name that Find uses;
  // while an item is missing there, Find goes through the table in order.
  void IndexLast();
  bool Find(const UString& name, const TSetupPackageFileTableItem*& item) const;
  int Count() const { return static_cast<int>(items_.size()); }
  const TSetupPackageFileTableItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }

  // A signed 32-bit count, then the entries; a count of 0 or less is an empty table.
  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream) const;

 private:
  bool FindInOrder(const UString& name, const TSetupPackageFileTableItem*& item) const;

  std::vector<std::unique_ptr<TSetupPackageFileTableItem>> items_;
  // Indexes of items_ ordered by length, then ignoring case; equal names in table order.
  std::vector<int> byName_;
};

class TCustomSetupPackage {
 public:
  virtual ~TCustomSetupPackage() = default;
  TCustomSetupPackage(const TCustomSetupPackage&) = delete;
  TCustomSetupPackage& operator=(const TCustomSetupPackage&) = delete;

  const TSetupPackageFileTable& FileTable() const { return *FFileTable; }

 protected:
  TCustomSetupPackage();
  // Declared in this order so that FData is freed before the table.
  std::unique_ptr<TSetupPackageFileTable> FFileTable;
  std::unique_ptr<TMemoryStream> FData;  // the decoded stream
};

class TSetupPackageReader : public TCustomSetupPackage {
 public:
  // Reads the file while others may read and write it; the file is closed again
  // before the constructor returns or fails.
  explicit TSetupPackageReader(const UString& fileName);
  // Reads from the stream's position; where the stream stands afterwards is unspecified.
  explicit TSetupPackageReader(TStream& stream);
#ifdef _WIN32
  // Reads the RCDATA resource of that name in the module.
  TSetupPackageReader(void* module, const UString& resourceName);
#endif
  // Reads the stored package, which must stay valid while the reader lives.
  // When the index is this package's (its CRC and length match the stored
  // bytes), the file table is the index's at once and the package is decoded
  // and checked on a thread of its own: ViewDecoded hands out an entry as soon
  // as it is decoded, every other access to the bytes waits for the check.
  // Otherwise (no index, or another package's) the package is read at once.
  TSetupPackageReader(std::string_view stored, std::string_view index);
  ~TSetupPackageReader() override;

  // Waits until the package is decoded and checked; raises what reading it
  // raises. Returns at once for a package read at once.
  void Verify() const;
  // The file table as the package stores it (count and entries).
  std::string_view StoredFileTable() const;

  bool Contains(const UString& name) const;
  // A copy of the entry's bytes, positioned at 0 and owned by the caller.
  bool Extract(const UString& name, std::unique_ptr<TMemoryStream>& stream) const;
  // The entry's bytes where they lie in the decoded package, valid while the reader lives.
  bool View(const UString& name, std::string_view& bytes) const;
  // View, but for a package still being decoded it returns as soon as the
  // entry's bytes are, before the package is checked as a whole: what is done
  // with them must be undone when Verify raises.
  bool ViewDecoded(const UString& name, std::string_view& bytes) const;
  std::unique_ptr<TMemoryStream> ExtractItem(int index) const;
  // Writes the entry's bytes into the target at its position, without a copy in between.
  void ExtractItem(int index, TStream& target) const;

 private:
  // Raises ESetupPackageReadError for a damaged package, the stream read error for
  // a source shorter than the header and "LZMA Error (%d)" for unusable properties.
  void ReadPackage(TStream& source);
  // Rejects a table or entries that point outside the decoded stream.
  void ReadFileTable();
  // Loads the index's table and tells the decoded length; false when the index
  // is not this package's or its table does not fit the package.
  bool ReadIndex(std::string_view stored, std::string_view index, std::string_view& table, uint32_t& length);
  void StartDecoding(std::string_view stored, std::string_view table, uint32_t length);
  std::string_view BytesOf(const TSetupPackageFileTableItem& item) const;
  std::unique_ptr<TMemoryStream> Copy(const TSetupPackageFileTableItem& item) const;

  const uint8_t* decodedBytes_ = nullptr;  // FData's memory, reserved whole before decoding starts
  // Last: stopped and joined before anything it writes goes.
  std::unique_ptr<TSetupPackageDecoding> decoding_;
};

class TSetupPackageBuilder : public TCustomSetupPackage {
 public:
  // Packages are enciphered with the key's four bytes in little-endian order.
  explicit TSetupPackageBuilder(int32_t key);

  // Appends an entry holding the stream's bytes (Size() bytes from its position;
  // callers rewind it first). Names longer than 65535 UTF-16 units are refused.
  void Add(TStream& stream, const UString& name);
  // Writes the package at the LZMA level; the file is created or truncated. The
  // builder keeps its entries, so it may receive more and commit again.
  void Commit(const UString& fileName, int level);
  void Commit(TStream& stream, int level);

 private:
  TSetupPackageKey FKey;
};
