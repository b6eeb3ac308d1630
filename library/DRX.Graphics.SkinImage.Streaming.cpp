#include "DRX.Graphics.SkinImage.Streaming.h"

#include <bit>
#include <cstring>

#include "DRX.Format.h"
#include "DRX.Graphics.SkinImage.Bitmap.h"
#include "DRX.ZLib.h"

static_assert(std::endian::native == std::endian::little, "stored forms are read and written in place");

namespace {

constexpr char kMagicChunks[] = "DRXIMG32";
constexpr char kMagicLegacy2[] = "QZVIMG32";
constexpr char kMagicLegacy1[] = "MySknImg";
constexpr int32_t kFormVersion = 1;
constexpr int64_t kMaxChunkBody = 0x7FFFFFFE;
constexpr int kLegacyRecordSize = 58;

int64_t Remaining(TStream& stream) { return stream.Size() - stream.Position(); }

template <typename T>
T FromBytes(const uint8_t* bytes) {
  T value;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

TDRXMargins MarginsFrom(const uint8_t* bytes) {
  return {FromBytes<int32_t>(bytes), FromBytes<int32_t>(bytes + 4), FromBytes<int32_t>(bytes + 8),
          FromBytes<int32_t>(bytes + 12)};
}

TDRXMargins ReadMargins(TStream& stream) {
  uint8_t bytes[16];
  stream.ReadBuffer(bytes, 16);
  return MarginsFrom(bytes);
}

TDRXSkinImageTileArea ReadTileArea(TStream& stream) {
  const TDRXMargins values = ReadMargins(stream);
  return {values.Left, values.Top, values.Right, values.Bottom};
}

std::vector<TDRXSkinImageFrameState> ReadStates(TStream& stream, int32_t count) {
  RequireBytes(stream, 4 * static_cast<int64_t>(count));
  std::vector<TDRXSkinImageFrameState> states(count);
  stream.ReadBuffer(states.data(), 4 * static_cast<int64_t>(count));
  return states;
}

int64_t PixelByteCount(int32_t width, int32_t height) {
  TDRXSkinImageBitmap::CheckSize(width, height);
  return static_cast<int64_t>(width) * height * 4;
}

}  // namespace

int32_t ReadInt32(TStream& stream) {
  int32_t value;
  stream.ReadBuffer(&value, 4);
  return value;
}

uint16_t ReadUInt16(TStream& stream) {
  uint16_t value;
  stream.ReadBuffer(&value, 2);
  return value;
}

uint8_t ReadByte(TStream& stream) {
  uint8_t value;
  stream.ReadBuffer(&value, 1);
  return value;
}

void RequireBytes(TStream& stream, int64_t count) {
  if (count < 0 || count > Remaining(stream)) throw EReadError(u"Stream read error");
}

// Writing chunks.

void TDRXSkinImageChunkWriter::BeginChunk(uint32_t id) {
  WriteBytes(&id, 4);
  WriteInt32(0);
  bodyStart_ = stream_.Position();
}

void TDRXSkinImageChunkWriter::EndChunk() {
  const int64_t position = stream_.Position();
  const int64_t size = position - bodyStart_;
  if (size > kMaxChunkBody)
    throw EInvalidOperation(Format(u"StreamEndWriteChunk: %d, %d, %d", {size, position, bodyStart_}));
  stream_.SetPosition(bodyStart_ - 4);
  WriteInt32(static_cast<int32_t>(size));
  stream_.SetPosition(position);
  ++count_;
}

void TDRXSkinImageChunkWriter::WriteInt32(int32_t value) { WriteBytes(&value, 4); }
void TDRXSkinImageChunkWriter::WriteUInt16(uint16_t value) { WriteBytes(&value, 2); }
void TDRXSkinImageChunkWriter::WriteByte(uint8_t value) { WriteBytes(&value, 1); }
void TDRXSkinImageChunkWriter::WriteBytes(const void* data, int64_t count) { stream_.WriteBuffer(data, count); }

// Reading.

void TDRXSkinImageReader::Read(TStream& stream) {
  image_.BeginUpdate();
  try {
    image_.Clear();
    ReadForm(stream);
  } catch (...) {
    image_.EndUpdate();
    throw;
  }
  const bool keepStates = haveStates_ && image_.changeCount_ == statesStamp_;
  image_.EndUpdate();
  if (keepStates) {
    image_.frameStates_ = std::move(frameStates_);
    image_.innerStates_ = std::move(innerStates_);
    image_.analyzed_ = true;
  }
}

void TDRXSkinImageReader::ReadForm(TStream& stream) {
  uint8_t header[12];
  const int64_t got = stream.Read(header, 12);
  if (got < 12) return;
  const bool version1 = FromBytes<int32_t>(header + 8) == kFormVersion;
  if (version1 && std::memcmp(header, kMagicChunks, 8) == 0) {
    ReadChunks(stream);
  } else if (version1 && std::memcmp(header, kMagicLegacy2, 8) == 0) {
    ReadLegacyRecord(stream, 2);
  } else if (version1 && std::memcmp(header, kMagicLegacy1, 8) == 0) {
    ReadLegacyRecord(stream, 1);
  } else {
    stream.Seek(-got, soCurrent);
    ImportPicture(image_, stream);
  }
}

void TDRXSkinImageReader::ReadChunks(TStream& stream) {
  const int32_t count = ReadInt32(stream);
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t id = static_cast<uint32_t>(ReadInt32(stream));
    const int32_t size = ReadInt32(stream);
    if (size < 0) break;
    const int64_t bodyStart = stream.Position();
    ReadChunk(id, stream, size);
    stream.SetPosition(bodyStart + size);
  }
}

void TDRXSkinImageReader::ReadChunk(uint32_t id, TStream& stream, int32_t size) {
  switch (id) {
    case ChunkId("bits"): return ReadBits(stream);
    case ChunkId("bitz"): return ReadCompressedBits(stream);
    case ChunkId("draw"): return ReadDrawing(stream);
    case ChunkId("layt"): return ReadLayout(stream);
    case ChunkId("ifam"): return ReadFrameInfo(stream, size);
    case ChunkId("fram"): {
      const auto mode = static_cast<TDRXSkinImageHitTestMode>(ReadByte(stream));
      const int32_t frame = ReadInt32(stream);
      image_.SetHitTestMode(mode);
      image_.SetHitTestFrame(frame);
      return;
    }
    default: image_.ReadChunk(id, stream, size);  // a subclass's chunk, or skipped
  }
}

void TDRXSkinImageReader::ReadBits(TStream& stream) {
  const int32_t flags = ReadInt32(stream);
  const int32_t width = ReadInt32(stream);
  const int32_t height = ReadInt32(stream);
  const int64_t bytes = PixelByteCount(width, height);
  RequireBytes(stream, bytes);
  image_.SetSize(width, height);
  if (uint8_t* pixels = image_.Bits()) stream.ReadBuffer(pixels, bytes);
  image_.alphaState_ = (flags & 1) ? asHasAlpha : asNoAlpha;
  image_.premultiplied_ = (flags & 2) != 0;
}

void TDRXSkinImageReader::ReadCompressedBits(TStream& stream) {
  if (image_.bitmap_ || image_.storage_ || !image_.Empty()) throw EDRXSkinImageException(u"InvalidState");
  const int32_t flags = ReadInt32(stream);
  const int32_t width = ReadInt32(stream);
  const int32_t height = ReadInt32(stream);
  const int32_t length = ReadInt32(stream);
  const int64_t bytes = PixelByteCount(width, height);
  RequireBytes(stream, length);
  auto storage = std::make_unique<TDRXSkinImageBitsStorage>();
  storage->Data.resize(static_cast<size_t>(length));
  stream.ReadBuffer(storage->Data.data(), length);
  if (bytes == 0) return;
  storage->Size = bytes;
  storage->AlphaState = (flags & 1) ? asHasAlpha : asNoAlpha;
  storage->Premultiplied = (flags & 2) != 0;
  image_.alphaState_ = storage->AlphaState;
  image_.premultiplied_ = storage->Premultiplied;
  image_.storage_ = std::move(storage);
  image_.width_ = width;
  image_.height_ = height;
  image_.Changed();
}

void TDRXSkinImageReader::ReadDrawing(TStream& stream) {
  const int32_t flags = ReadInt32(stream);
  const auto stretch = static_cast<TDRXSkinImageStretchMode>(ReadByte(stream));
  image_.SetAllowColoration((flags & 1) != 0);
  image_.SetSizingMode((flags & 2) ? szMarginsOnly : (flags & 4) ? szTileAreaOnly : szAuto);
  image_.SetStretchMode(stretch);
}

void TDRXSkinImageReader::ReadLayout(TStream& stream) {
  const auto layout = static_cast<TDRXSkinImageLayout>(ReadByte(stream));
  const int32_t count = ReadInt32(stream);
  const TDRXMargins margins = ReadMargins(stream);
  const TDRXMargins offsets = ReadMargins(stream);
  const auto tileLayout = static_cast<TDRXSkinImageLayout>(ReadByte(stream));
  const TDRXSkinImageTileArea tileArea = ReadTileArea(stream);
  image_.SetFrameLayout(layout);
  image_.SetFrameCount(count);
  image_.SetMargins(margins);
  image_.SetContentOffsets(offsets);
  image_.SetTileAreaLayout(tileLayout);
  image_.SetTileArea(tileArea);
}

void TDRXSkinImageReader::ReadFrameInfo(TStream& stream, int32_t size) {
  const auto mode = static_cast<TDRXSkinImageHitTestMode>(ReadByte(stream));
  const int32_t frame = ReadInt32(stream);
  image_.SetHitTestMode(mode);
  image_.SetHitTestFrame(frame);
  const int32_t count = image_.FrameCount();
  frameStates_ = ReadStates(stream, count);
  innerStates_ = size > 5 + 4 * static_cast<int64_t>(count) ? ReadStates(stream, count) : frameStates_;
  haveStates_ = true;
  statesStamp_ = image_.changeCount_;
}

// The older fixed record: 58 bytes of settings and size, the pixel bytes, in
// variant 2 a byte per frame, then the content offsets when they are there.
void TDRXSkinImageReader::ReadLegacyRecord(TStream& stream, int variant) {
  uint8_t record[kLegacyRecordSize];
  stream.ReadBuffer(record, kLegacyRecordSize);
  const int32_t frameCount = FromBytes<int32_t>(record + 6);
  ReadLegacyPixels(stream, FromBytes<uint32_t>(record), FromBytes<int32_t>(record + 50),
                   FromBytes<int32_t>(record + 54));
  image_.premultiplied_ = record[4] != 0;
  image_.alphaState_ = record[5] != 0 ? asHasAlpha : asNoAlpha;
  if (variant == 2 && frameCount > 0) stream.Seek(std::min<int64_t>(frameCount, Remaining(stream)), soCurrent);
  uint8_t offsets[16] = {};
  if (stream.Read(offsets, 16) < 16) std::memset(offsets, 0, 16);

  uint8_t stretch = record[32];
  if (variant == 1) stretch = stretch > 1 ? stretch - 1 : 0;  // stored one higher
  image_.SetFrameLayout(static_cast<TDRXSkinImageLayout>(record[15]));
  image_.SetFrameCount(frameCount);
  image_.SetHitTestMode(static_cast<TDRXSkinImageHitTestMode>(record[10]));
  image_.SetHitTestFrame(FromBytes<int32_t>(record + 11));
  image_.SetMargins(MarginsFrom(record + 16));
  image_.SetStretchMode(static_cast<TDRXSkinImageStretchMode>(stretch));
  const TDRXMargins tile = MarginsFrom(record + 33);
  image_.SetTileArea({tile.Left, tile.Top, tile.Right, tile.Bottom});
  image_.SetTileAreaLayout(static_cast<TDRXSkinImageLayout>(record[49]));
  image_.SetContentOffsets(MarginsFrom(offsets));
}

// The record counts its pixel bytes apart from its size: the first width ×
// height × 4 of them are the pixels and any beyond are skipped; fewer than the
// size needs mean the record was cut short.
void TDRXSkinImageReader::ReadLegacyPixels(TStream& stream, int64_t count, int32_t width, int32_t height) {
  const int64_t bytes = PixelByteCount(width, height);
  if (count < bytes) throw EReadError(u"Stream read error");
  RequireBytes(stream, count);
  image_.SetSize(width, height);
  if (uint8_t* pixels = image_.Bits()) stream.ReadBuffer(pixels, bytes);
  stream.Seek(count - bytes, soCurrent);
}

// Writing.

void TDRXSkinImageWriter::Prepare() {
  image_.HasAlpha();
  if (!image_.IsDormant() || !image_.analyzed_) {
    image_.Bits();
    image_.SetPremultiplied(true);
  }
  image_.EnsureAnalyzed();
}

void TDRXSkinImageWriter::Write(TStream& stream) {
  Prepare();
  const int64_t start = stream.Position();
  stream.WriteBuffer(kMagicChunks, 8);
  TDRXSkinImageChunkWriter writer(stream);
  writer.WriteInt32(kFormVersion);
  writer.WriteInt32(0);
  WritePixels(writer);
  WriteDrawing(writer);
  WriteLayout(writer);
  WriteFrameInfo(writer);
  image_.WriteChunks(writer);
  const int64_t end = stream.Position();
  stream.SetPosition(start + 12);
  writer.WriteInt32(writer.ChunkCount());
  stream.SetPosition(end);
}

void TDRXSkinImageWriter::WritePixels(TDRXSkinImageChunkWriter& writer) {
  if (image_.Empty()) return;
  const bool compressed = SkinImageCompression() != icNone;
  if (!compressed) image_.Unpack();
  writer.BeginChunk(compressed ? ChunkId("bitz") : ChunkId("bits"));
  writer.WriteInt32((image_.alphaState_ == asHasAlpha ? 1 : 0) | (image_.premultiplied_ ? 2 : 0));
  writer.WriteInt32(image_.width_);
  writer.WriteInt32(image_.height_);
  if (!compressed) {
    writer.WriteBytes(image_.Bits(), static_cast<int64_t>(image_.width_) * image_.height_ * 4);
  } else if (image_.storage_) {
    writer.WriteInt32(static_cast<int32_t>(image_.storage_->Data.size()));
    writer.WriteBytes(image_.storage_->Data.data(), static_cast<int64_t>(image_.storage_->Data.size()));
  } else {
    const std::vector<uint8_t> data = ZCompress(image_.Bits(), static_cast<size_t>(image_.width_) * image_.height_ * 4,
                                                SkinImageCompressionLevel());
    writer.WriteInt32(static_cast<int32_t>(data.size()));
    writer.WriteBytes(data.data(), static_cast<int64_t>(data.size()));
  }
  writer.EndChunk();
}

void TDRXSkinImageWriter::WriteDrawing(TDRXSkinImageChunkWriter& writer) {
  writer.BeginChunk(ChunkId("draw"));
  const TDRXSkinImageSizingMode sizing = image_.sizingMode_;
  writer.WriteInt32((image_.allowColoration_ ? 1 : 0) | (sizing == szMarginsOnly ? 2 : 0) |
                    (sizing == szTileAreaOnly ? 4 : 0));
  writer.WriteByte(image_.stretchMode_);
  writer.EndChunk();
}

void TDRXSkinImageWriter::WriteLayout(TDRXSkinImageChunkWriter& writer) {
  const auto writeFour = [&writer](int32_t a, int32_t b, int32_t c, int32_t d) {
    for (int32_t value : {a, b, c, d}) writer.WriteInt32(value);
  };
  writer.BeginChunk(ChunkId("layt"));
  writer.WriteByte(image_.frameLayout_);
  writer.WriteInt32(image_.frameCount_);
  const TDRXMargins& m = image_.margins_;
  writeFour(m.Left, m.Top, m.Right, m.Bottom);
  const TDRXMargins& o = image_.contentOffsets_;
  writeFour(o.Left, o.Top, o.Right, o.Bottom);
  writer.WriteByte(image_.tileAreaLayout_);
  const TDRXSkinImageTileArea& t = image_.tileArea_;
  writeFour(t.Head, t.Tile1, t.Start2, t.Tile2);
  writer.EndChunk();
}

void TDRXSkinImageWriter::WriteFrameInfo(TDRXSkinImageChunkWriter& writer) {
  writer.BeginChunk(ChunkId("ifam"));
  writer.WriteByte(image_.hitTestMode_);
  writer.WriteInt32(image_.hitTestFrame_);
  writer.WriteBytes(image_.frameStates_.data(), 4 * static_cast<int64_t>(image_.frameStates_.size()));
  writer.WriteBytes(image_.innerStates_.data(), 4 * static_cast<int64_t>(image_.innerStates_.size()));
  writer.EndChunk();
}
