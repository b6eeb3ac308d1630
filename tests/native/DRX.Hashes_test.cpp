#include "DRX.Hashes.h"

#include <gtest/gtest.h>

#include <random>

#include "TestSupport.h"

namespace {

uint32_t Crc(std::string_view bytes) { return TDRXHashCRC32::Calculate(bytes.data(), static_cast<int64_t>(bytes.size())); }

// One byte at a time, straight from the definition, as the reference for the fast path.
uint32_t BitwiseCrc(std::string_view bytes) {
  uint32_t crc = 0;
  for (unsigned char b : bytes) {
    crc ^= uint32_t{b} << 24;
    for (int bit = 0; bit < 8; ++bit) crc = (crc & 0x80000000u) ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

TDRXHashValue HashText(const TDRXHash& hash, std::string_view text) {
  TDRXHashState state;
  hash.Initialize(state);
  hash.Update(state, text.data(), static_cast<int64_t>(text.size()));
  return hash.Finalize(state);
}

}  // namespace

TEST(CRC32, GivesTheCheckValuesOfTheUnreflectedVariant) {
  EXPECT_EQ(Crc("123456789"), 0x89A1897Fu);
  EXPECT_EQ(Crc("abc"), 0x2C17398Cu);
  EXPECT_EQ(Crc(""), 0u);
  EXPECT_EQ(std::get<uint32_t>(HashText(TDRXHashCRC32(), "abc")), 0x2C17398Cu);
  TDRXHashState state;
  TDRXHashCRC32().Initialize(state);
  EXPECT_EQ(static_cast<TDRXHashCRC32::TState&>(*state).Table[1], 0x04C11DB7u);
}

TEST(CRC32, FastPathAgreesWithTheDefinitionForEveryLengthAndSplit) {
  std::mt19937 random(7);
  std::string data(300, '\0');
  for (auto& c : data) c = static_cast<char>(random());
  for (size_t length = 0; length <= data.size(); length += 13) {
    const std::string_view bytes(data.data() + 3, std::min(length, data.size() - 3));  // unaligned start
    EXPECT_EQ(Crc(bytes), BitwiseCrc(bytes)) << length;
    const TDRXHashCRC32 crc;
    TDRXHashState state;
    crc.Initialize(state);
    const size_t split = length / 3;
    crc.Update(state, bytes.data(), static_cast<int64_t>(std::min(split, bytes.size())));
    crc.Update(state, bytes.data() + std::min(split, bytes.size()), static_cast<int64_t>(bytes.size() - std::min(split, bytes.size())));
    EXPECT_EQ(std::get<uint32_t>(crc.Finalize(state)), BitwiseCrc(bytes));
    EXPECT_EQ(state, nullptr);
  }
}

TEST(MD5, GivesThePublishedDigests) {
  const struct { const char* text; const char16_t* digest; } kCases[] = {
      {"", u"d41d8cd98f00b204e9800998ecf8427e"},
      {"a", u"0cc175b9c0f1b6a831c399e269772661"},
      {"abc", u"900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", u"f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", u"c3fcd3d76192e4007dfb496cca67e13b"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       u"57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : kCases) EXPECT_EQ(std::get<UString>(HashText(TDRXHashMD5(), c.text)), c.digest) << c.text;
}

TEST(MD5, PiecewiseUpdatesAndResetMatchOneUpdate) {
  const std::string text(1000, 'q');
  const TDRXHashMD5 md5;
  TDRXHashState state;
  md5.Initialize(state);
  md5.Update(state, "discarded", 9);
  md5.Reset(state);
  for (size_t at = 0; at < text.size(); at += 37)
    md5.Update(state, text.data() + at, static_cast<int64_t>(std::min<size_t>(37, text.size() - at)));
  EXPECT_EQ(md5.Finalize(state), HashText(md5, text));
}

TEST(HashStreams, FilesAreReadToTheEndWithProgressAndMemoryStreamsInPlace) {
  TTempFolder folder;
  const std::string content(200000, 'z');
  WriteFileBytes(folder.File(u"data.bin"), content);
  WriteFileBytes(folder.File(u"empty.bin"), "");

  const TDRXHashMD5 md5;
  TDRXHashState state;
  md5.Initialize(state);
  md5.UpdateFromFile(state, folder.File(u"empty.bin"));
  EXPECT_EQ(std::get<UString>(md5.Finalize(state)), u"d41d8cd98f00b204e9800998ecf8427e");

  const TDRXHashCRC32 crc;
  std::vector<std::pair<int64_t, int64_t>> calls;
  crc.Initialize(state);
  crc.UpdateFromFile(state, folder.File(u"data.bin"), [&](int64_t position, int64_t size) { calls.emplace_back(position, size); });
  EXPECT_EQ(std::get<uint32_t>(crc.Finalize(state)), Crc(content));
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), std::make_pair(int64_t{200000}, int64_t{200000}));

  TMemoryStream memory("skip-these:payload");
  memory.SetPosition(11);
  crc.Initialize(state);
  crc.UpdateFromStream(state, memory);
  EXPECT_EQ(std::get<uint32_t>(crc.Finalize(state)), Crc("payload"));
  EXPECT_EQ(memory.Position(), 11);

  EXPECT_THROW(md5.UpdateFromFile(state, folder.File(u"missing.bin")), EFOpenError);
}

TEST(HashState, AStateOfAnotherHashClassIsRefused) {
  TDRXHashState state;
  TDRXHashCRC32().Initialize(state);
  EXPECT_THROW(TDRXHashMD5().Update(state, "x", 1), EInvalidOperation);
  TDRXHashCRC32().Finalize(state);
}
