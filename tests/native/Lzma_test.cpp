#include "Lzma.h"

#include <gtest/gtest.h>
#include <lzma.h>

#include <random>

#include "TestSupport.h"

namespace {

// Mixed text and noise, so that the coder has both matches and literals to code.
std::string SampleData(size_t size) {
  std::mt19937 random(11);
  std::string data;
  while (data.size() < size) {
    data += "The quick brown fox jumps over the lazy dog. ";
    for (int i = 0; i < 20; ++i) data.push_back(static_cast<char>(random()));
  }
  data.resize(size);
  return data;
}

std::string Compress(std::string_view data, int level, const TPreprocessor& preprocessor = {}) {
  TMemoryStream source(data), dest;
  CompressLZMAStream(source, dest, level, preprocessor);
  return std::string(dest.Bytes());
}

TLZMAResult Decompress(std::string_view coded, uint64_t size, std::string& out, const TPreprocessor& preprocessor = {}) {
  TMemoryStream source(coded), dest;
  const TLZMAResult result = DecompressLZMAStream(source, dest, size, preprocessor);
  out = dest.Bytes();
  return result;
}

std::string LzmaErrorOf(std::string_view coded, uint64_t size) {
  std::string out;
  try {
    Decompress(coded, size, out);
  } catch (const EInvalidOperation& e) {
    return Utf16ToUtf8(e.Message());
  }
  return "no error";
}

// A byte-wise XOR preprocessor that counts the bytes it saw.
struct TCountingXor {
  int64_t seen = 0;
  TPreprocessor Make() {
    return [this](uint8_t* data, int32_t count) {
      for (int32_t i = 0; i < count; ++i) data[i] ^= static_cast<uint8_t>(seen + i);
      seen += count;
    };
  }
};

}  // namespace

TEST(LzmaStreams, AnEmptySourceGivesThePropertiesAndTheFlushAndDecodesToNothing) {
  const std::string coded = Compress("", 4);
  ASSERT_GE(coded.size(), 5u);
  EXPECT_EQ(coded.substr(0, 5), std::string("\x5D\x00\x00\x40\x00", 5));
  std::string out = "x";
  EXPECT_EQ(Decompress(coded, 0, out), lrOK);
  EXPECT_EQ(out, "");
}

TEST(LzmaStreams, RoundTripsAtEveryLevelWithTheTabledDictionary) {
  const std::string data = SampleData(300000);
  for (int level = -1; level <= 5; ++level) {
    const std::string coded = Compress(data, level);
    const uint32_t dictionary = LZMADictionarySize(level);
    EXPECT_EQ(static_cast<uint8_t>(coded[0]), 0x5D);
    EXPECT_EQ(coded.substr(1, 4), std::string(reinterpret_cast<const char*>(&dictionary), 4)) << level;
    std::string out;
    EXPECT_EQ(Decompress(coded, data.size(), out), lrOK) << level;
    EXPECT_EQ(out, data) << level;
  }
  EXPECT_EQ(LZMADictionarySize(-3), 16u << 20);
  EXPECT_EQ(LZMADictionarySize(0), 16u << 10);
  EXPECT_EQ(LZMADictionarySize(4), 0x400000u);
  EXPECT_EQ(LZMADictionarySize(6), 32u << 20);
  EXPECT_EQ(LZMADictionarySize(9), 64u << 20);
}

TEST(LzmaStreams, BodyIsTheLegacyLayoutWithoutEndMarkerOrSize) {
  // liblzma's own .lzma decoder reads it once the 8-byte size is put after the properties.
  const std::string data = SampleData(100000);
  const std::string coded = Compress(data, 4);
  std::string legacy = coded.substr(0, 5);
  const uint64_t size = data.size();
  legacy.append(reinterpret_cast<const char*>(&size), 8);
  legacy += coded.substr(5);
  std::string out(data.size() + 16, '\0');
  uint64_t memlimit = UINT64_MAX;
  size_t inPos = 0, outPos = 0;
  lzma_stream stream = LZMA_STREAM_INIT;
  ASSERT_EQ(lzma_alone_decoder(&stream, memlimit), LZMA_OK);
  stream.next_in = reinterpret_cast<const uint8_t*>(legacy.data());
  stream.avail_in = legacy.size();
  stream.next_out = reinterpret_cast<uint8_t*>(out.data());
  stream.avail_out = out.size();
  EXPECT_EQ(lzma_code(&stream, LZMA_FINISH), LZMA_STREAM_END);
  inPos = legacy.size() - stream.avail_in;
  outPos = out.size() - stream.avail_out;
  lzma_end(&stream);
  EXPECT_EQ(inPos, legacy.size());  // all input used: no end marker follows the data
  EXPECT_EQ(out.substr(0, outPos), data);
}

TEST(LzmaStreams, PreprocessorsSeeEveryByteOfTheCodedStreamInOrder) {
  const std::string data = SampleData(200000);
  TCountingXor encode, decode;
  const std::string coded = Compress(data, 2, encode.Make());
  EXPECT_EQ(encode.seen, static_cast<int64_t>(coded.size()));
  std::string plain = coded;
  for (size_t i = 0; i < plain.size(); ++i) plain[i] ^= static_cast<char>(i);
  EXPECT_EQ(plain, Compress(data, 2));
  std::string out;
  EXPECT_EQ(Decompress(coded, data.size(), out, decode.Make()), lrOK);
  EXPECT_EQ(out, data);
}

TEST(LzmaStreams, DamagedInputIsADataResultNeverAnError) {
  const std::string data = SampleData(50000);
  const std::string coded = Compress(data, 4);
  std::string out;
  EXPECT_EQ(Decompress(coded.substr(0, coded.size() / 2), data.size(), out), lrDataError);
  EXPECT_LT(out.size(), data.size());
  EXPECT_EQ(Decompress(coded.substr(0, 3), data.size(), out), lrDataError);
  EXPECT_EQ(out, "");
  EXPECT_EQ(Decompress(coded, data.size() + 100, out), lrDataError);  // told more than the data holds
  std::string damaged = coded;
  damaged[coded.size() / 3] ^= 0x55;
  const TLZMAResult result = Decompress(damaged, data.size(), out);
  EXPECT_TRUE(result == lrDataError || out != data);
}

TEST(LzmaStreams, UnusablePropertiesAndRefusingDestinationsRaiseTheirCodes) {
  std::string coded = Compress(SampleData(1000), 4);
  coded[0] = static_cast<char>(225);
  EXPECT_EQ(LzmaErrorOf(coded, 1000), "LZMA Error (4)");
  coded[0] = static_cast<char>(4 + 9 * 1);  // lc 4 + lp 1: beyond what the coder supports
  EXPECT_EQ(LzmaErrorOf(coded, 1000), "LZMA Error (4)");
  coded[0] = 0x5D;
  const char huge[] = "\xFF\xFF\xFF\xFF";
  coded.replace(1, 4, huge, 4);
  EXPECT_EQ(LzmaErrorOf(coded, 0xFFFFFFFFu), "LZMA Error (2)");

  TMemoryStream source(SampleData(1000));
  TCustomMemoryStream readOnly;
  try {
    CompressLZMAStream(source, readOnly, 4);
    FAIL() << "no error";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"LZMA Error (9)");
  }
}

TEST(LzmaStreams, DecodesIntoMemoryAndFileStreamsAlikeAndShowsEveryBlockToTheDestPreprocessor) {
  const std::string data = SampleData(300000);
  const std::string coded = Compress(data, 3);
  std::string seen;
  const TPreprocessor observe = [&seen](uint8_t* block, int32_t count) { seen.append(reinterpret_cast<char*>(block), count); };

  TMemoryStream source(coded), memory("0123456789");
  memory.SetPosition(2);  // overwrites from the position, keeps what lies beyond
  EXPECT_EQ(DecompressLZMAStream(source, memory, 3, {}, observe), lrOK);
  EXPECT_EQ(memory.Bytes(), "01" + data.substr(0, 3) + "56789");
  EXPECT_EQ(memory.Position(), 5);
  EXPECT_EQ(seen, data.substr(0, 3));

  TTempFolder folder;
  for (bool toFile : {false, true}) {
    seen.clear();
    source.SetPosition(0);
    TMemoryStream inMemory;
    TFileStream file(folder.File(u"decoded.bin"), fmCreate);
    TStream& dest = toFile ? static_cast<TStream&>(file) : inMemory;
    EXPECT_EQ(DecompressLZMAStream(source, dest, data.size(), {}, observe), lrOK);
    EXPECT_EQ(seen, data);
    file.SetPosition(0);
    EXPECT_EQ(toFile ? ReadRemainingBytes(file) : std::string(inMemory.Bytes()), data);
  }
}
