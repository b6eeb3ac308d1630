#pragma once
// LZMA stream glue over liblzma's raw LZMA1 coder. A coded stream is 5 property
// bytes (lc/lp/pb byte, 32-bit little-endian dictionary size) followed by LZMA data
// with no end marker and no size field: the reader must be told the unpacked size.
// Every block read or written can pass through a preprocessor that rewrites it in
// place (the setup packages encipher the coded stream this way).

#include <cstdint>
#include <functional>

#include "DRX.Classes.Streams.h"

using TPreprocessor = std::function<void(uint8_t* data, int32_t count)>;

// What the read and write paths work on.
struct TLZMAStreams {
  TPreprocessor DestPreprocessor;    // applied to every block before it is written
  TStream* DestStream = nullptr;
  TPreprocessor SourcePreprocessor;  // applied to every block right after it is read
  TStream* SourceStream = nullptr;
};

// Result codes; every one but lrOK and a decoder's lrDataError raises
// EInvalidOperation "LZMA Error (%d)".
enum TLZMAResult : int {
  lrOK = 0,
  lrDataError = 1,         // corrupt input, or input that ended early
  lrOutOfMemory = 2,       // includes dictionaries above kLZMAMaxDictionarySize
  lrUnsupported = 4,       // properties the coder cannot handle
  lrInvalidParameter = 5,
  lrWriteError = 9,        // the destination accepted fewer bytes than offered
};

// The largest dictionary the decoder allocates (what LZMA encoders write at most).
constexpr uint64_t kLZMAMaxDictionarySize = 0x60000000;  // 1.5 GiB

constexpr int kLZMABufferSize = 0x10000;

// The dictionary size of a compression level: below 0 counts as 5; 0..5 give
// 2^(14 + 2 * level) bytes, 6 gives 32 MiB, 7 and above 64 MiB.
uint32_t LZMADictionarySize(int level);

// Compresses the source from its position to its end into the destination at its
// position, with the encoder settings of xz's preset for the level.
void CompressLZMAStream(TStream& source, TStream& dest, int level, const TPreprocessor& destPreprocessor = {});

// Decodes from the source's position into the destination until unpackedSize bytes
// have been produced. Corrupt or short input is not raised: the result is then
// lrDataError and the destination holds what was decoded before the damage. The
// destination preprocessor, when given, sees every decoded block as it is written.
TLZMAResult DecompressLZMAStream(TStream& source, TStream& dest, uint64_t unpackedSize,
                                 const TPreprocessor& sourcePreprocessor = {},
                                 const TPreprocessor& destPreprocessor = {});
