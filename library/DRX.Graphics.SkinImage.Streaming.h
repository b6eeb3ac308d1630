#pragma once
// The stored forms of a skin image. Written: the "DRXIMG32" chunk form (header,
// chunk count, chunks of identifier, size and body). Read: that form, the two
// older fixed records "QZVIMG32" and "MySknImg", and any other picture through
// the platform's import. Every size a stream claims is checked against what the
// stream holds before anything is allocated for it.

#include <cstdint>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Graphics.SkinImage.h"

// A chunk identifier: four ASCII letters in file order.
constexpr uint32_t ChunkId(const char (&name)[5]) {
  return static_cast<uint8_t>(name[0]) | (static_cast<uint8_t>(name[1]) << 8) |
         (static_cast<uint8_t>(name[2]) << 16) | (static_cast<uint32_t>(static_cast<uint8_t>(name[3])) << 24);
}

// Little-endian values of a stored form; a short read raises EReadError.
int32_t ReadInt32(TStream& stream);
uint16_t ReadUInt16(TStream& stream);
uint8_t ReadByte(TStream& stream);
// Raises EReadError unless `count` more bytes can be read from the stream.
void RequireBytes(TStream& stream, int64_t count);

// Writes chunks: each is its identifier, a size placeholder, the body and then
// the real size in the placeholder; the chunk count goes into the header's.
class TDRXSkinImageChunkWriter {
 public:
  explicit TDRXSkinImageChunkWriter(TStream& stream) : stream_(stream) {}
  void BeginChunk(uint32_t id);
  // Raises "StreamEndWriteChunk: %d, %d, %d" for a body above 0x7FFFFFFE bytes.
  void EndChunk();
  void WriteInt32(int32_t value);
  void WriteUInt16(uint16_t value);
  void WriteByte(uint8_t value);
  void WriteBytes(const void* data, int64_t count);
  int32_t ChunkCount() const { return count_; }

 private:
  TStream& stream_;
  int64_t bodyStart_ = 0;
  int32_t count_ = 0;
};

class TDRXSkinImageReader {
 public:
  explicit TDRXSkinImageReader(TDRXSkinImage& image) : image_(image) {}
  // Clears the image and reads it, inside one update that is closed also when
  // reading fails (the image then keeps what was read).
  void Read(TStream& stream);

 private:
  void ReadForm(TStream& stream);
  void ReadChunks(TStream& stream);
  void ReadChunk(uint32_t id, TStream& stream, int32_t size);
  void ReadBits(TStream& stream);
  void ReadCompressedBits(TStream& stream);
  void ReadDrawing(TStream& stream);
  void ReadLayout(TStream& stream);
  void ReadFrameInfo(TStream& stream, int32_t size);
  void ReadLegacyRecord(TStream& stream, int variant);
  void ReadLegacyPixels(TStream& stream, int64_t count, int32_t width, int32_t height);

  TDRXSkinImage& image_;
  // Frame states of an "ifam" chunk, kept as the analysis unless a later chunk
  // changes the image.
  bool haveStates_ = false;
  uint64_t statesStamp_ = 0;
  std::vector<TDRXSkinImageFrameState> frameStates_;
  std::vector<TDRXSkinImageFrameState> innerStates_;
};

class TDRXSkinImageWriter {
 public:
  explicit TDRXSkinImageWriter(TDRXSkinImage& image) : image_(image) {}
  // Determines the alpha state and analyses the frames first (a live image is
  // saved premultiplied), so "ifam" holds current states.
  void Write(TStream& stream);

 private:
  void Prepare();
  void WritePixels(TDRXSkinImageChunkWriter& writer);
  void WriteDrawing(TDRXSkinImageChunkWriter& writer);
  void WriteLayout(TDRXSkinImageChunkWriter& writer);
  void WriteFrameInfo(TDRXSkinImageChunkWriter& writer);

  TDRXSkinImage& image_;
};
