#pragma once
// zlib streams in memory: compression at a chosen level and inflation into a
// buffer of a known size. zlib's failures raise with zlib's own message.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "DRX.Exceptions.h"

class EZLibError : public Exception { using Exception::Exception; };
class EZCompressionError : public EZLibError { using EZLibError::EZLibError; };
class EZDecompressionError : public EZLibError { using EZLibError::EZLibError; };

// zlib's own levels: 0 stores, 1 fastest, 9 smallest; -1 the library's default.
constexpr int kZLevelDefault = -1;

std::vector<uint8_t> ZCompress(const void* data, size_t size, int level);

// Inflates the zlib stream into exactly targetSize bytes. False when its
// decompressed form is shorter or longer than that (or the stream is cut);
// zlib's data and memory errors raise EZDecompressionError.
bool ZDecompressExact(const void* data, size_t size, void* target, size_t targetSize);

// An upper bound of what a zlib stream of that many bytes can inflate to, so
// that a claimed size can be refused before anything is allocated for it.
int64_t ZMaxInflatedSize(int64_t compressedSize);
