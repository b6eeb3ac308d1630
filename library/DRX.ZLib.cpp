#include "DRX.ZLib.h"

#include <zlib.h>

#include <limits>

namespace {

UString ZMessage(const z_stream& stream, int code) {
  return Utf8ToUtf16(stream.msg ? stream.msg : zError(code));
}

// zlib counts in 32-bit units; larger blocks go through in several steps.
uInt Step(size_t left) { return static_cast<uInt>(std::min<size_t>(left, std::numeric_limits<uInt>::max())); }

}  // namespace

std::vector<uint8_t> ZCompress(const void* data, size_t size, int level) {
  z_stream stream{};
  if (int code = deflateInit(&stream, level); code != Z_OK) throw EZCompressionError(ZMessage(stream, code));
  std::vector<uint8_t> out(deflateBound(&stream, static_cast<uLong>(size)));
  stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  stream.next_out = out.data();
  size_t inLeft = size, outLeft = out.size();
  int code = Z_OK;
  while (code == Z_OK) {
    stream.avail_in = Step(inLeft);
    stream.avail_out = Step(outLeft);
    const uInt inStep = stream.avail_in, outStep = stream.avail_out;
    code = deflate(&stream, inLeft == inStep ? Z_FINISH : Z_NO_FLUSH);
    inLeft -= inStep - stream.avail_in;
    outLeft -= outStep - stream.avail_out;
    if (code == Z_BUF_ERROR && outLeft > 0) code = Z_OK;  // more input to feed
  }
  const UString message = code == Z_STREAM_END ? UString() : ZMessage(stream, code);
  deflateEnd(&stream);
  if (code != Z_STREAM_END) throw EZCompressionError(message);
  out.resize(out.size() - outLeft);
  return out;
}

bool ZDecompressExact(const void* data, size_t size, void* target, size_t targetSize) {
  z_stream stream{};
  if (int code = inflateInit(&stream); code != Z_OK) throw EZDecompressionError(ZMessage(stream, code));
  stream.next_in = static_cast<Bytef*>(const_cast<void*>(data));
  stream.next_out = static_cast<Bytef*>(target);
  size_t inLeft = size, outLeft = targetSize;
  int code = Z_OK;
  while (code == Z_OK) {
    stream.avail_in = Step(inLeft);
    stream.avail_out = Step(outLeft);
    const uInt inStep = stream.avail_in, outStep = stream.avail_out;
    code = inflate(&stream, Z_NO_FLUSH);
    inLeft -= inStep - stream.avail_in;
    outLeft -= outStep - stream.avail_out;
    if (code == Z_BUF_ERROR) break;  // input cut short, or output full before the stream's end
  }
  const UString message = ZMessage(stream, code);
  inflateEnd(&stream);
  if (code == Z_DATA_ERROR || code == Z_MEM_ERROR || code == Z_NEED_DICT || code == Z_STREAM_ERROR)
    throw EZDecompressionError(message);
  return code == Z_STREAM_END && outLeft == 0;
}

int64_t ZMaxInflatedSize(int64_t compressedSize) {
  // Deflate cannot do better than 1032 to 1; the margin covers the header and tiny streams.
  return compressedSize <= 0 ? 0 : compressedSize * 1032 + 1024;
}
