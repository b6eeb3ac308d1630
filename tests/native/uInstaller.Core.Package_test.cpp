#include "uInstaller.Core.Package.h"

#include <gtest/gtest.h>

#include <cstring>

#include "DRX.Crypto.h"
#include "DRX.Hashes.h"
#include "Lzma.h"
#include "TestSupport.h"

namespace {

struct TEntry {
  UString name;
  std::string content;
};

std::string BuildPackage(const std::vector<TEntry>& entries, int level = 4) {
  TSetupPackageBuilder builder(PackageKey);
  for (const auto& entry : entries) {
    TMemoryStream content(entry.content);
    builder.Add(content, entry.name);
  }
  TMemoryStream package;
  builder.Commit(package, level);
  return std::string(package.Bytes());
}

std::unique_ptr<TSetupPackageReader> Open(std::string_view package) {
  TMemoryStream stream(package);
  return std::make_unique<TSetupPackageReader>(stream);
}

std::string ExtractText(const TSetupPackageReader& reader, const UString& name) {
  std::unique_ptr<TMemoryStream> stream;
  if (!reader.Extract(name, stream)) return "<missing>";
  EXPECT_EQ(stream->Position(), 0);
  return std::string(stream->Bytes());
}

uint32_t LE32(std::string_view bytes, size_t at) {
  uint32_t value;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}

// Deciphers and decompresses a body with the units underneath, not with the reader.
std::string DecodeBodyDirectly(std::string_view package) {
  TMemoryStream body(package.substr(12)), decoded;
  TRC4State rc4;
  TRC4::Initialize(rc4, SetupPackageKey(PackageKey));
  DecompressLZMAStream(body, decoded, LE32(package, 8),
                       [&](uint8_t* data, int32_t count) { TRC4::Crypt(rc4, data, data, count); });
  return std::string(decoded.Bytes());
}

// A package around a hand-made decoded stream, with a correct header.
std::string WrapDecoded(std::string_view decodedBytes) {
  TMemoryStream decoded(decodedBytes), package;
  EncodeSetupPackage(decoded, package, SetupPackageKey(PackageKey), 0);
  return std::string(package.Bytes());
}

// Little-endian field writers for hand-made decoded streams.
std::string I32(int32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); }
std::string I64(int64_t v) { return std::string(reinterpret_cast<const char*>(&v), 8); }
std::string Name(std::u16string_view name) {
  std::string bytes(2, '\0');
  bytes[0] = static_cast<char>(name.size() & 0xFF);
  bytes[1] = static_cast<char>(name.size() >> 8);
  for (char16_t c : name) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}
std::string WithTableLength(std::string data, std::string table) { return data + table + I32(static_cast<int32_t>(table.size())); }

const std::vector<TEntry> kSample = {
    {u"Install.xml", "<Install/>"},
    {u"empty.txt", ""},
    {u"", "nameless"},
    {u"Lang\\Русский.lng", "[Common]\r\nA1=..."},
    {u"install.XML", "second of the same name"},
};

}  // namespace

TEST(SetupPackage, AnEmptyBuilderCommitsTheEightByteStream) {
  const std::string package = BuildPackage({});
  EXPECT_EQ(package.substr(0, 4), "IPK5");
  EXPECT_EQ(LE32(package, 8), 8u);
  const std::string decoded = I32(0) + I32(4);
  EXPECT_EQ(LE32(package, 4), TDRXHashCRC32::Calculate(decoded.data(), 8));
  EXPECT_EQ(DecodeBodyDirectly(package), decoded);
  EXPECT_EQ(Open(package)->FileTable().Count(), 0);
}

TEST(SetupPackage, DecodedStreamHoldsDataTableAndTableLengthInTheirLayout) {
  const std::string package = BuildPackage({{u"ab", "xyz"}, {u"", ""}, {u"c", "1"}});
  const std::string table = I32(3) + Name(u"ab") + I64(0) + I64(3) + Name(u"") + I64(3) + I64(0) + Name(u"c") + I64(3) + I64(1);
  EXPECT_EQ(DecodeBodyDirectly(package), WithTableLength("xyz1", table));
}

TEST(SetupPackage, EntriesReadBackInOrderWithEmptyEntriesAndNames) {
  const auto reader = Open(BuildPackage(kSample));
  const TSetupPackageFileTable& table = reader->FileTable();
  ASSERT_EQ(table.Count(), 5);
  for (int i = 0; i < table.Count(); ++i) {
    EXPECT_EQ(table.Items(i).Name, kSample[i].name);
    EXPECT_EQ(reader->ExtractItem(i)->Bytes(), kSample[i].content);
  }
  EXPECT_EQ(table.Items(1).Size, 0);
  EXPECT_EQ(table.Items(1).Offset, 10);  // the end of the data area when it was added
  EXPECT_EQ(ExtractText(*reader, u"empty.txt"), "");
  EXPECT_EQ(ExtractText(*reader, u""), "nameless");
  EXPECT_EQ(ExtractText(*reader, u"lang\\русский.LNG"), "[Common]\r\nA1=...");
}

TEST(SetupPackage, LookupIgnoresCaseNeedsTheWholeNameAndFindsTheFirstDuplicate) {
  const auto reader = Open(BuildPackage(kSample));
  EXPECT_TRUE(reader->Contains(u"install.xml"));
  EXPECT_EQ(ExtractText(*reader, u"INSTALL.XML"), "<Install/>");
  EXPECT_FALSE(reader->Contains(u"Install.xm"));
  EXPECT_FALSE(reader->Contains(u"Install.xml "));
  std::unique_ptr<TMemoryStream> stream;
  EXPECT_FALSE(reader->Extract(u"missing", stream));
  EXPECT_EQ(stream, nullptr);
}

TEST(SetupPackage, LookupFindsTheFirstInTableOrderAmongNamesThatDifferInCase) {
  const std::vector<TEntry> entries = {{u"b", "0"}, {u"A", "1"}, {u"a", "2"}, {u"B", "3"},
                                       {u"ab", "4"}, {u"AB", "5"}, {u"c", "6"}, {u"aB", "7"}};
  const auto reader = Open(BuildPackage(entries));
  const std::pair<UString, std::string> lookups[] = {{u"a", "1"}, {u"B", "0"}, {u"Ab", "4"}, {u"C", "6"}};
  for (const auto& [name, content] : lookups) EXPECT_EQ(ExtractText(*reader, name), content) << Utf16ToUtf8(name);
  EXPECT_FALSE(reader->Contains(u"d"));
  EXPECT_FALSE(reader->Contains(u""));
  EXPECT_FALSE(reader->Contains(u"abc"));
}

TEST(SetupPackage, APackageInsideAnotherStreamIsReadFromItsPosition) {
  const std::string package = BuildPackage(kSample);
  TMemoryStream stream(std::string("prefix data ") + package + "trailing data");
  stream.SetPosition(12);
  TSetupPackageReader reader(stream);
  EXPECT_EQ(ExtractText(reader, u"Install.xml"), "<Install/>");
}

TEST(SetupPackage, FilesAreWrittenReadAndReleased) {
  TTempFolder folder;
  const UString file = folder.File(u"Uninstall.dat");
  TSetupPackageBuilder builder(PackageKey);
  TMemoryStream ini("[Files]\r\n");
  builder.Add(ini, u"Uninstall.ini");
  builder.Commit(file, 4);
  {
    TSetupPackageReader reader(file);
    EXPECT_EQ(ExtractText(reader, u"uninstall.ini"), "[Files]\r\n");
  }
  TFileStream(file, fmOpenReadWrite | fmShareExclusive).SetSize(20);  // no handle was left open
  EXPECT_THROW(TSetupPackageReader{file}, ESetupPackageReadError);
  TFileStream(file, fmOpenReadWrite | fmShareExclusive);  // not even after a failure
  EXPECT_THROW(TSetupPackageReader{folder.File(u"missing.dat")}, EFOpenError);
}

TEST(SetupPackageBuilder, CommitsAgainAfterMoreEntriesAndRefusesUnstorableNames) {
  TSetupPackageBuilder builder(PackageKey);
  TMemoryStream first("one"), second("two"), package1, package2;
  builder.Add(first, u"1");
  builder.Commit(package1, 4);
  EXPECT_THROW(builder.Add(second, UString(0x10000, u'n')), EInvalidOperation);
  second.SetPosition(1);  // a source not rewound cannot supply its whole size
  EXPECT_THROW(builder.Add(second, u"2"), EReadError);
  second.SetPosition(0);
  builder.Add(second, u"2");
  builder.Commit(package2, 4);
  EXPECT_EQ(DecodeBodyDirectly(package1.Bytes()), WithTableLength("one", I32(1) + Name(u"1") + I64(0) + I64(3)));
  const auto reader = Open(package2.Bytes());
  ASSERT_EQ(reader->FileTable().Count(), 2);
  EXPECT_EQ(ExtractText(*reader, u"2"), "two");
  EXPECT_EQ(reader->FileTable().Items(1).Offset, 3);
}

TEST(SetupPackageDamage, HeaderFaultsAreReportedAsSuch) {
  const std::string package = BuildPackage(kSample);
  EXPECT_THROW(Open("IPK5" + package.substr(4, 7)), EReadError);  // shorter than the header
  EXPECT_THROW(Open("IPK4" + package.substr(4)), ESetupPackageReadError);
  std::string longer = package;
  longer.replace(8, 4, I32(static_cast<int32_t>(0xFFFFFFF0)));  // more than the body holds
  EXPECT_THROW(Open(longer), ESetupPackageReadError);
  std::string badProperties = package;
  badProperties[12] = static_cast<char>(badProperties[12] ^ 0x5D ^ 0xF0);  // deciphers to 0xF0
  try {
    Open(badProperties);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"LZMA Error (4)");
  }
}

TEST(SetupPackageDamage, CutBodiesAreCorrupted) {
  const std::string package = BuildPackage(kSample);
  for (size_t size = 12; size < package.size(); size += 3)
    EXPECT_THROW(Open(package.substr(0, size)), ESetupPackageReadError) << size;
}

TEST(SetupPackageDamage, AChangedByteIsRejectedOrDecodesToTheIntactEntries) {
  // The CRC covers the decoded stream: a change that still decodes to it (the
  // dictionary size, the last bits of the range coder) is harmless; any other is refused.
  std::string text;
  for (int i = 0; i < 200; ++i) text += "line " + std::to_string(i * i) + "\r\n";
  const std::string package = BuildPackage({{u"a.txt", text}, {u"b.txt", "bbb"}});
  for (size_t at = 0; at < package.size(); ++at) {
    std::string damaged = package;
    damaged[at] ^= 0x24;
    try {
      const auto reader = Open(damaged);
      EXPECT_EQ(ExtractText(*reader, u"a.txt"), text) << at;
      EXPECT_EQ(ExtractText(*reader, u"b.txt"), "bbb") << at;
      const bool dictionary = at >= 13 && at < 17, rangeCoderTail = at + 4 >= package.size();
      EXPECT_TRUE(dictionary || rangeCoderTail) << at;
    } catch (const ESetupPackageReadError&) {
    } catch (const EInvalidOperation&) {
      EXPECT_LE(at, 12u + 4u) << "an LZMA error outside the properties";
    }
  }
}

TEST(SetupPackageDamage, TablesPointingOutsideTheDecodedStreamAreCorrupted) {
  const std::string entry = Name(u"a") + I64(0) + I64(4);
  const struct { const char* what; std::string decoded; } kCases[] = {
      {"shorter than count and length", "abc"},
      {"table length beyond the stream", WithTableLength("data", I32(0)).substr(0, 4) + I32(0) + I32(100)},
      {"table length below the count field", "data" + I32(0) + I32(3)},
      {"negative table length", "data" + I32(0) + I32(-8)},
      {"count beyond the table", WithTableLength("data", I32(2) + entry)},
      {"huge count", WithTableLength("data", I32(0x7FFFFFFF) + entry)},
      {"name beyond the table", WithTableLength("data", I32(1) + Name(u"a").substr(0, 2) + "\xFF\xFF")},
      {"negative offset", WithTableLength("data", I32(1) + Name(u"a") + I64(-1) + I64(1))},
      {"negative size", WithTableLength("data", I32(1) + Name(u"a") + I64(0) + I64(-1))},
      {"end beyond the data area", WithTableLength("data", I32(1) + Name(u"a") + I64(1) + I64(4))},
      {"offset beyond the data area", WithTableLength("data", I32(1) + Name(u"a") + I64(5) + I64(0))},
      {"entry overflowing", WithTableLength("data", I32(1) + Name(u"a") + I64(2) + I64(INT64_MAX))},
      {"entry covering the table", WithTableLength("data", I32(1) + Name(u"a") + I64(0) + I64(30))},
  };
  for (const auto& c : kCases) EXPECT_THROW(Open(WrapDecoded(c.decoded)), ESetupPackageReadError) << c.what;

  // What the layout allows stays readable: counts of 0 or less, entries up to the table.
  EXPECT_EQ(Open(WrapDecoded(WithTableLength("data", I32(-3))))->FileTable().Count(), 0);
  const auto reader = Open(WrapDecoded(WithTableLength("data", I32(1) + entry)));
  EXPECT_EQ(ExtractText(*reader, u"A"), "data");
}

TEST(SetupPackageGolden, PackagesWrittenByTheNativeAndTheWindowsToolReadAlikeAndMatchThisBuilder) {
  // Both files were written by ipk5 from the same entries (scripts/make-golden-packages).
  for (const char16_t* file : {u"packages/golden-native.ipk5", u"packages/golden-win.ipk5"}) {
    const std::string golden = ReadFileBytes(TestDataFile(file));
    TSetupPackageReader reader(TestDataFile(file));
    const TSetupPackageFileTable& table = reader.FileTable();
    ASSERT_EQ(table.Count(), 5) << Utf16ToUtf8(file);
    EXPECT_EQ(table.Items(1).Name, u"Lang\\Русский.lng");
    EXPECT_EQ(ExtractText(reader, u"LANG\\РУССКИЙ.LNG"), "[Common]\r\nA1=Закрытие программы\r\n");
    EXPECT_EQ(ExtractText(reader, u"install.xml").substr(0, 38), "<?xml version=\"1.0\" encoding=\"utf-8\"?>");
    EXPECT_EQ(ExtractText(reader, u"empty.txt"), "");
    EXPECT_EQ(table.Items(3).Size, 3492);

    std::vector<TEntry> entries;
    for (int i = 0; i < table.Count(); ++i) entries.push_back({table.Items(i).Name, std::string(reader.ExtractItem(i)->Bytes())});
    const std::string rebuilt = BuildPackage(entries);
    EXPECT_EQ(rebuilt.substr(0, 12), golden.substr(0, 12));
    EXPECT_EQ(DecodeBodyDirectly(rebuilt), DecodeBodyDirectly(golden));
  }
}

namespace {

// The sample with a large entry behind it, so that readers look at the first
// entries while the last is still being decoded.
std::vector<TEntry> IndexedSample() {
  std::vector<TEntry> entries = kSample;
  std::string large(1 << 20, '\0');
  uint32_t state = 12345;
  for (char& c : large) c = static_cast<char>((state = state * 1103515245 + 12345) >> 24);
  entries.push_back({u"large.bin", large});
  return entries;
}

std::string ViewDecodedText(const TSetupPackageReader& reader, const UString& name) {
  std::string_view bytes;
  if (!reader.ViewDecoded(name, bytes)) return "<missing>";
  return std::string(bytes);
}

// The index with the first entry's name (its first letter) changed: a table
// that fits the package and passes the index's own check, but is not the package's.
std::string IndexWithAnotherName(std::string index) {
  const size_t firstNameLetter = 12 + 4 + 2;
  index[firstNameLetter] = 'J';
  return index;
}

}  // namespace

TEST(SetupPackageIndex, AnIndexedReaderHandsOutWhatTheReaderAtOnceHolds) {
  const std::vector<TEntry> entries = IndexedSample();
  const std::string package = BuildPackage(entries, 0);
  const std::string index = MakeSetupPackageIndex(package);
  EXPECT_EQ(index.substr(0, 4), "IPKI");
  EXPECT_EQ(LE32(index, 4), TDRXHashCRC32::Calculate(package.data(), static_cast<int64_t>(package.size())));
  EXPECT_EQ(LE32(index, 8), package.size());

  const TSetupPackageReader indexed(package, index);
  const auto atOnce = Open(package);
  ASSERT_EQ(indexed.FileTable().Count(), static_cast<int>(entries.size()));
  EXPECT_EQ(indexed.StoredFileTable(), atOnce->StoredFileTable());
  // The last, large entry first: each wait ends with the bytes it waits for.
  for (int i = static_cast<int>(entries.size()) - 1; i >= 0; --i) {
    const TSetupPackageFileTableItem& item = indexed.FileTable().Items(i);
    EXPECT_EQ(item.Name, entries[i].name);
    const TSetupPackageFileTableItem* first;
    ASSERT_TRUE(indexed.FileTable().Find(item.Name, first));
    EXPECT_EQ(ViewDecodedText(indexed, item.Name), ExtractText(*atOnce, first->Name)) << i;
  }
  EXPECT_NO_THROW(indexed.Verify());
  EXPECT_EQ(ExtractText(indexed, u"install.xml"), "<Install/>");
  EXPECT_EQ(ViewDecodedText(indexed, u"missing"), "<missing>");
}

TEST(SetupPackageIndex, AnIndexThatIsNotThePackagesOwnIsNotUsed) {
  const std::string package = BuildPackage(kSample);
  const std::string index = MakeSetupPackageIndex(package);
  std::string outside = index;
  outside.replace(outside.size() - 8, 8, I64(1 << 20));  // the last entry's size beyond the data area
  const struct { const char* what; std::string index; } kCases[] = {
      {"none", ""},
      {"cut before its table", index.substr(0, 11)},
      {"another magic", "IPKJ" + index.substr(4)},
      {"another package's", MakeSetupPackageIndex(BuildPackage({{u"a", "b"}}))},
      {"a table that does not load", index.substr(0, index.size() - 3)},
      {"an entry outside the data area", outside},
  };
  for (const auto& c : kCases) {
    const TSetupPackageReader reader(package, c.index);
    EXPECT_EQ(reader.FileTable().Count(), 5) << c.what;
    EXPECT_EQ(ViewDecodedText(reader, u"Install.xml"), "<Install/>") << c.what;
  }
}

TEST(SetupPackageIndex, DamageIsFoundWithTheIndexAsWithout) {
  const std::string package = BuildPackage(IndexedSample(), 0);
  const std::string index = MakeSetupPackageIndex(package);
  // A changed stored byte: the index is not this package's any more, and the package is read at once.
  std::string damaged = package;
  damaged[package.size() / 2] ^= 0x24;
  EXPECT_THROW(TSetupPackageReader(damaged, index), ESetupPackageReadError);
  EXPECT_THROW(MakeSetupPackageIndex(damaged), ESetupPackageReadError);

  // An index that names what the package does not hold: its entries may be
  // handed out before the check ends, the check refuses the package, and so
  // does every access after it.
  const TSetupPackageReader reader(package, IndexWithAnotherName(index));
  EXPECT_EQ(reader.FileTable().Items(0).Name, u"Jnstall.xml");
  EXPECT_THROW(reader.Verify(), ESetupPackageReadError);
  EXPECT_THROW(ExtractText(reader, u"Jnstall.xml"), ESetupPackageReadError);
  EXPECT_THROW(ViewDecodedText(reader, u"large.bin"), ESetupPackageReadError);
}
