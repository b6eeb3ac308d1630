#include "Lzma.h"

#include <lzma.h>

#include <algorithm>
#include <vector>

#include "DRX.Format.h"

namespace {

constexpr uint32_t kMinDictionarySize = 4096;
constexpr int kPropertiesSize = 5;
constexpr uint8_t kMaxPropertiesByte = (4 * 5 + 4) * 9 + 8;  // pb 4, lp 4, lc 8
constexpr uint32_t kMaxLiteralContextBits = 4;  // lc + lp, as far as liblzma goes

[[noreturn]] void RaiseLZMAError(TLZMAResult code) {
  throw EInvalidOperation(Format(u"LZMA Error (%d)", {static_cast<int>(code)}));
}

TLZMAResult ResultOf(lzma_ret ret) {
  switch (ret) {
    case LZMA_OK:
    case LZMA_STREAM_END: return lrOK;
    case LZMA_DATA_ERROR:
    case LZMA_BUF_ERROR:
    case LZMA_FORMAT_ERROR: return lrDataError;
    case LZMA_MEM_ERROR:
    case LZMA_MEMLIMIT_ERROR: return lrOutOfMemory;
    case LZMA_OPTIONS_ERROR: return lrUnsupported;
    default: return lrInvalidParameter;
  }
}

// Owns a liblzma coder for the span of one call.
class TLzmaCoder {
 public:
  TLzmaCoder() = default;
  TLzmaCoder(const TLzmaCoder&) = delete;
  TLzmaCoder& operator=(const TLzmaCoder&) = delete;
  ~TLzmaCoder() { lzma_end(&stream); }
  lzma_stream stream = LZMA_STREAM_INIT;
};

// Read path: whatever the source yields, run through the source preprocessor.
int64_t ReadBlock(TLZMAStreams& streams, uint8_t* buffer, int64_t count) {
  const int64_t got = streams.SourceStream->Read(buffer, count);
  if (got > 0 && streams.SourcePreprocessor) streams.SourcePreprocessor(buffer, static_cast<int32_t>(got));
  return got;
}

// Reads until count bytes arrived or the source ended.
int64_t ReadFully(TLZMAStreams& streams, uint8_t* buffer, int64_t count) {
  int64_t total = 0;
  for (int64_t got; total < count && (got = ReadBlock(streams, buffer + total, count - total)) > 0;) total += got;
  return total;
}

// Write path: the destination preprocessor, then the destination, which must take it all.
void WriteBlock(TLZMAStreams& streams, uint8_t* buffer, int64_t count) {
  if (count <= 0) return;
  if (streams.DestPreprocessor) streams.DestPreprocessor(buffer, static_cast<int32_t>(count));
  if (streams.DestStream->Write(buffer, count) != count) RaiseLZMAError(lrWriteError);
}

// Where the decoder puts a block: straight into the memory of a memory stream
// (sparing a copy of every byte), otherwise into a buffer for the write path.
// Either way the destination preprocessor sees every block.
class TDecoderOutput {
 public:
  explicit TDecoderOutput(TLZMAStreams& streams)
      : streams_(streams), memory_(dynamic_cast<TMemoryStream*>(streams.DestStream)) {
    if (!memory_) buffer_.resize(kLZMABufferSize);
  }

  uint8_t* Open(size_t limit) {
    if (!memory_) return buffer_.data();
    start_ = memory_->Position();
    sizeBefore_ = memory_->Size();
    memory_->SetSize(std::max<int64_t>(sizeBefore_, start_ + static_cast<int64_t>(limit)));
    return memory_->Memory() + start_;
  }

  void Close(size_t produced) {
    if (!memory_) return WriteBlock(streams_, buffer_.data(), static_cast<int64_t>(produced));
    const int64_t end = start_ + static_cast<int64_t>(produced);
    memory_->SetSize(std::max(sizeBefore_, end));
    memory_->SetPosition(end);
    if (produced && streams_.DestPreprocessor)
      streams_.DestPreprocessor(memory_->Memory() + start_, static_cast<int32_t>(produced));
  }

 private:
  TLZMAStreams& streams_;
  TMemoryStream* memory_;
  std::vector<uint8_t> buffer_;
  int64_t start_ = 0;
  int64_t sizeBefore_ = 0;
};

// Rounds up to the next 2^(n+1) or 3 * 2^n, as dictionary sizes are stored.
uint32_t StoredDictionarySize(uint32_t size) {
  for (int bit = 11; bit <= 30; ++bit) {
    if (size <= (2u << bit)) return 2u << bit;
    if (size <= (3u << bit)) return 3u << bit;
  }
  return 0xFFFFFFFFu;
}

lzma_options_lzma EncoderOptions(int level) {
  if (level < 0) level = 5;
  lzma_options_lzma options;
  lzma_lzma_preset(&options, static_cast<uint32_t>(std::min(level, 9)));
  options.dict_size = LZMADictionarySize(level);
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  options.ext_flags = 0;  // no end marker
  return options;
}

void EncodeProperties(const lzma_options_lzma& options, uint8_t* properties) {
  properties[0] = static_cast<uint8_t>((options.pb * 5 + options.lp) * 9 + options.lc);
  const uint32_t dictionary = StoredDictionarySize(options.dict_size);
  for (int i = 0; i < 4; ++i) properties[1 + i] = static_cast<uint8_t>(dictionary >> (8 * i));
}

// Decoder options from the stored properties; the dictionary never needs to exceed the output.
lzma_options_lzma DecoderOptions(const uint8_t* properties, uint64_t unpackedSize) {
  if (properties[0] > kMaxPropertiesByte) RaiseLZMAError(lrUnsupported);
  lzma_options_lzma options{};
  options.lc = properties[0] % 9;
  options.lp = properties[0] / 9 % 5;
  options.pb = properties[0] / 45;
  if (options.lc + options.lp > kMaxLiteralContextBits) RaiseLZMAError(lrUnsupported);
  uint64_t dictionary = uint64_t{properties[1]} | (uint64_t{properties[2]} << 8) | (uint64_t{properties[3]} << 16) |
                        (uint64_t{properties[4]} << 24);
  dictionary = std::clamp<uint64_t>(dictionary, kMinDictionarySize, std::max<uint64_t>(unpackedSize, kMinDictionarySize));
  if (dictionary > kLZMAMaxDictionarySize) RaiseLZMAError(lrOutOfMemory);
  options.dict_size = static_cast<uint32_t>(dictionary);
  options.ext_flags = LZMA_LZMA1EXT_ALLOW_EOPM;
  options.ext_size_low = static_cast<uint32_t>(unpackedSize);
  options.ext_size_high = static_cast<uint32_t>(unpackedSize >> 32);
  return options;
}

void StartCoder(TLzmaCoder& coder, lzma_options_lzma& options, bool encoder) {
  const lzma_filter filters[] = {{LZMA_FILTER_LZMA1EXT, &options}, {LZMA_VLI_UNKNOWN, nullptr}};
  const lzma_ret ret = encoder ? lzma_raw_encoder(&coder.stream, filters) : lzma_raw_decoder(&coder.stream, filters);
  if (ret != LZMA_OK) RaiseLZMAError(ResultOf(ret));
}

}  // namespace

uint32_t LZMADictionarySize(int level) {
  if (level < 0) level = 5;
  if (level <= 5) return 1u << (14 + 2 * level);
  return level == 6 ? 32u << 20 : 64u << 20;
}

void CompressLZMAStream(TStream& source, TStream& dest, int level, const TPreprocessor& destPreprocessor) {
  TLZMAStreams streams{destPreprocessor, &dest, {}, &source};
  lzma_options_lzma options = EncoderOptions(level);
  uint8_t properties[kPropertiesSize];
  EncodeProperties(options, properties);
  WriteBlock(streams, properties, kPropertiesSize);

  TLzmaCoder coder;
  StartCoder(coder, options, true);
  std::vector<uint8_t> input(kLZMABufferSize), output(kLZMABufferSize);
  lzma_action action = LZMA_RUN;
  for (;;) {
    if (coder.stream.avail_in == 0 && action == LZMA_RUN) {
      const int64_t got = ReadBlock(streams, input.data(), kLZMABufferSize);
      if (got <= 0) action = LZMA_FINISH;
      coder.stream.next_in = input.data();
      coder.stream.avail_in = static_cast<size_t>(std::max<int64_t>(got, 0));
    }
    coder.stream.next_out = output.data();
    coder.stream.avail_out = output.size();
    const lzma_ret ret = lzma_code(&coder.stream, action);
    WriteBlock(streams, output.data(), static_cast<int64_t>(output.size() - coder.stream.avail_out));
    if (ret == LZMA_STREAM_END) return;
    if (ret != LZMA_OK) RaiseLZMAError(ResultOf(ret));
  }
}

TLZMAResult DecompressLZMAStream(TStream& source, TStream& dest, uint64_t unpackedSize,
                                 const TPreprocessor& sourcePreprocessor, const TPreprocessor& destPreprocessor) {
  TLZMAStreams streams{destPreprocessor, &dest, sourcePreprocessor, &source};
  uint8_t properties[kPropertiesSize];
  if (ReadFully(streams, properties, kPropertiesSize) < kPropertiesSize) return lrDataError;
  lzma_options_lzma options = DecoderOptions(properties, unpackedSize);
  if (unpackedSize == 0) return lrOK;

  TLzmaCoder coder;
  StartCoder(coder, options, false);
  std::vector<uint8_t> input(kLZMABufferSize);
  TDecoderOutput output(streams);
  uint64_t owed = unpackedSize;
  while (owed > 0) {
    int64_t got = -1;
    if (coder.stream.avail_in == 0) {
      got = ReadBlock(streams, input.data(), kLZMABufferSize);
      coder.stream.next_in = input.data();
      coder.stream.avail_in = static_cast<size_t>(std::max<int64_t>(got, 0));
    }
    const size_t inputBefore = coder.stream.avail_in;
    const size_t limit = static_cast<size_t>(std::min<uint64_t>(owed, kLZMABufferSize));
    coder.stream.next_out = output.Open(limit);
    coder.stream.avail_out = limit;
    const lzma_ret ret = lzma_code(&coder.stream, LZMA_RUN);
    const size_t produced = limit - coder.stream.avail_out;
    output.Close(produced);
    owed -= produced;
    if (owed == 0) break;
    const TLZMAResult result = ResultOf(ret);
    if (ret == LZMA_STREAM_END || result == lrDataError) return lrDataError;
    if (result != lrOK) RaiseLZMAError(result);
    if (got == 0 && produced == 0 && inputBefore == coder.stream.avail_in) return lrDataError;  // input ended
  }
  return lrOK;
}
