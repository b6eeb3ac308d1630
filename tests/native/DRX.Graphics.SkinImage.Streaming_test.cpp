#include "DRX.Graphics.SkinImage.Streaming.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "DRX.Graphics.SkinImage.h"
#include "DRX.ZLib.h"

namespace {

// Stored forms assembled by hand, byte by byte, independent of the writer.
class TFormBuilder {
 public:
  TFormBuilder& Raw(std::string_view bytes) {
    data_.append(bytes);
    return *this;
  }
  TFormBuilder& I32(int32_t value) { return Raw({reinterpret_cast<const char*>(&value), 4}); }
  TFormBuilder& U16(uint16_t value) { return Raw({reinterpret_cast<const char*>(&value), 2}); }
  TFormBuilder& Byte(uint8_t value) { return Raw({reinterpret_cast<const char*>(&value), 1}); }
  TFormBuilder& Pixels(int count, uint32_t pixel) {
    for (int i = 0; i < count; ++i) I32(static_cast<int32_t>(pixel));
    return *this;
  }
  // A chunk with its size computed from the body.
  TFormBuilder& Chunk(std::string_view id, const TFormBuilder& body) {
    Raw(id).I32(static_cast<int32_t>(body.data_.size()));
    return Raw(body.data_);
  }
  const std::string& Bytes() const { return data_; }

 private:
  std::string data_;
};

TFormBuilder ChunkHeader(int32_t chunkCount) {
  TFormBuilder form;
  form.Raw("DRXIMG32").I32(1).I32(chunkCount);
  return form;
}

TFormBuilder BitsBody(int32_t flags, int32_t width, int32_t height, uint32_t pixel) {
  TFormBuilder body;
  body.I32(flags).I32(width).I32(height).Pixels(width * height, pixel);
  return body;
}

TFormBuilder LayoutBody(uint8_t layout, int32_t frames, TDRXMargins margins = {}) {
  TFormBuilder body;
  body.Byte(layout).I32(frames).I32(margins.Left).I32(margins.Top).I32(margins.Right).I32(margins.Bottom);
  body.I32(1).I32(2).I32(3).I32(4);  // content offsets
  body.Byte(0).I32(0).I32(0).I32(0).I32(0);
  return body;
}

void Load(TDRXSkinImage& image, const std::string& bytes) {
  TMemoryStream stream(bytes);
  image.LoadFromStream(stream);
}

std::string Save(TDRXSkinImage& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  return std::string(stream.Bytes());
}

// The chunk identifiers of a written form, in order.
std::vector<std::string> ChunkIds(const std::string& form) {
  std::vector<std::string> ids;
  int32_t count;
  std::memcpy(&count, form.data() + 12, 4);
  size_t at = 16;
  for (int32_t i = 0; i < count; ++i) {
    int32_t size;
    std::memcpy(&size, form.data() + at + 4, 4);
    ids.push_back(form.substr(at, 4));
    at += 8 + static_cast<size_t>(size);
  }
  EXPECT_EQ(at, form.size());
  return ids;
}

class SkinImageStreaming : public ::testing::Test {
 protected:
  void TearDown() override { SetSkinImageCompression(icFastest); }
};

}  // namespace

TEST_F(SkinImageStreaming, FewerThanTwelveBytesLeaveTheImageEmpty) {
  TDRXSkinImage image;
  image.SetSize(4, 4);
  Load(image, "DRXIMG32\1\0\0");
  EXPECT_TRUE(image.Empty());
  EXPECT_EQ(image.Width(), 0);
}

TEST_F(SkinImageStreaming, RoundTripKeepsPixelsAndEverySetting) {
  TDRXSkinImage image;
  std::vector<uint32_t> pixels(12 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = 0xFF000000u | static_cast<uint32_t>(i * 0x010203);
  image.AssignPixels(12, 3, pixels.data(), false);
  image.SetFrameCount(3);
  image.SetMargins({1, 1, 1, 0});
  image.SetContentOffsets({2, 3, 4, 5});
  image.SetStretchMode(smTile);
  image.SetSizingMode(szTileAreaOnly);
  image.SetAllowColoration(false);
  image.SetTileArea({1, 1, 2, 1});
  image.SetTileAreaLayout(ilVertical);
  image.SetHitTestMode(htByAlpha);
  image.SetHitTestFrame(2);
  for (TDRXSkinImageCompression compression : {icNone, icFastest, icMaximum}) {
    SetSkinImageCompression(compression);
    TDRXSkinImage copy;
    Load(copy, Save(image));
    EXPECT_TRUE(copy.Equals(image)) << compression;
    EXPECT_EQ(copy.IsDormant(), compression != icNone);
    EXPECT_EQ(copy.FrameState(1), fsOpaque);
  }
}

TEST_F(SkinImageStreaming, WriterOrderAndPixelChunkFollowTheCompressionSetting) {
  TDRXSkinImage image;
  image.SetSize(2, 2);
  EXPECT_EQ(ChunkIds(Save(image)), (std::vector<std::string>{"bitz", "draw", "layt", "ifam"}));
  SetSkinImageCompression(icNone);
  EXPECT_EQ(ChunkIds(Save(image)), (std::vector<std::string>{"bits", "draw", "layt", "ifam"}));
  TDRXSkinImage empty;
  EXPECT_EQ(ChunkIds(Save(empty)), (std::vector<std::string>{"draw", "layt", "ifam"}));
}

TEST_F(SkinImageStreaming, SavingRightAfterLoadingWritesPremultipliedPixels) {
  // Straight red at alpha 0x80, flags: has alpha, not premultiplied.
  const std::string form = ChunkHeader(1).Chunk("bits", BitsBody(1, 2, 1, 0x80FF0000)).Bytes();
  TDRXSkinImage image;
  Load(image, form);
  SetSkinImageCompression(icNone);
  const std::string saved = Save(image);
  int32_t flags;
  uint32_t pixel;
  std::memcpy(&flags, saved.data() + 16 + 8, 4);
  std::memcpy(&pixel, saved.data() + 16 + 8 + 12, 4);
  EXPECT_EQ(flags, 3);
  EXPECT_EQ(pixel, 0x80800000u);  // 255 × 128 / 255
}

TEST_F(SkinImageStreaming, FrameCountIsClampedAgainstTheSizeKnownWhenLayoutIsRead) {
  struct Case {
    uint8_t layout;
    int32_t frames, expected;
  } cases[] = {{0, 20, 10}, {0, 0, 1}, {0, -3, 1}, {1, 20, 4}, {0, 5, 5}};
  for (const Case& c : cases) {
    TDRXSkinImage image;
    Load(image, ChunkHeader(2).Chunk("bits", BitsBody(0, 10, 4, 0xFF00FF00)).Chunk("layt", LayoutBody(c.layout, c.frames)).Bytes());
    EXPECT_EQ(image.FrameCount(), c.expected) << c.frames;
    EXPECT_EQ(image.ContentOffsets(), (TDRXMargins{1, 2, 3, 4}));
  }
  TDRXSkinImage layoutFirst;  // before the pixels the width is 0: one frame
  Load(layoutFirst, ChunkHeader(2).Chunk("layt", LayoutBody(0, 5)).Chunk("bits", BitsBody(0, 10, 4, 0)).Bytes());
  EXPECT_EQ(layoutFirst.FrameCount(), 1);
}

TEST_F(SkinImageStreaming, DrawFlagsGiveColorationAndSizingMode) {
  struct Case {
    int32_t flags;
    bool coloration;
    TDRXSkinImageSizingMode sizing;
  } cases[] = {{0, false, szAuto}, {1, true, szAuto}, {2, false, szMarginsOnly}, {4, false, szTileAreaOnly},
               {6, false, szMarginsOnly}, {7, true, szMarginsOnly}};
  for (const Case& c : cases) {
    TFormBuilder body;
    body.I32(c.flags).Byte(2);
    TDRXSkinImage image;
    Load(image, ChunkHeader(1).Chunk("draw", body).Bytes());
    EXPECT_EQ(image.AllowColoration(), c.coloration) << c.flags;
    EXPECT_EQ(image.SizingMode(), c.sizing) << c.flags;
    EXPECT_EQ(image.StretchMode(), smCenter);
  }
}

TEST_F(SkinImageStreaming, FrameInfoStatesAreKeptAndAShortBodyCopiesThemToTheInnerArea) {
  // The pixels are opaque red everywhere; the states say otherwise, so reading them is visible.
  const auto form = [](bool withInner) {
    TFormBuilder info;
    info.Byte(1).I32(1).I32(static_cast<int32_t>(0x80FF0000)).I32(0);
    if (withInner) info.I32(fsOpaque).I32(fsTranslucent);
    return ChunkHeader(3).Chunk("bits", BitsBody(0, 4, 2, 0xFFFF0000)).Chunk("layt", LayoutBody(0, 2, {1, 0, 1, 0}))
        .Chunk("ifam", info).Bytes();
  };
  TDRXSkinImage shortBody;
  Load(shortBody, form(false));
  EXPECT_EQ(shortBody.HitTestMode(), htByAlpha);
  EXPECT_EQ(shortBody.HitTestFrame(), 1);
  EXPECT_EQ(shortBody.FrameState(0), 0x80FF0000u);
  EXPECT_EQ(shortBody.InnerAreaState(0), 0x80FF0000u);
  EXPECT_EQ(shortBody.InnerAreaState(1), fsTransparent);
  TDRXSkinImage full;
  Load(full, form(true));
  EXPECT_EQ(full.InnerAreaState(0), fsOpaque);
  EXPECT_EQ(full.InnerAreaState(1), fsTranslucent);
  full.SetStretchMode(smTile);  // any change drops them: analysed again from the pixels
  EXPECT_EQ(full.FrameState(0), 0xFFFF0000u);
}

TEST_F(SkinImageStreaming, UnknownChunksAreSkippedAndANegativeSizeEndsTheReading) {
  TFormBuilder unknown;
  unknown.Raw("anything at all");
  TFormBuilder body;
  body.I32(0).Byte(1);
  TDRXSkinImage image;
  Load(image, ChunkHeader(3).Chunk("zzzz", unknown).Chunk("bits", BitsBody(0, 3, 1, 0xFF0000FF)).Chunk("draw", body).Bytes());
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.StretchMode(), smTile);

  TDRXSkinImage cut;
  TFormBuilder form = ChunkHeader(3).Chunk("bits", BitsBody(0, 3, 1, 0xFF0000FF));
  form.Raw("draw").I32(-1).Raw("garbage that is never read");
  TMemoryStream stream(form.Bytes());
  cut.LoadFromStream(stream);
  EXPECT_EQ(cut.Width(), 3);
  EXPECT_EQ(cut.StretchMode(), smStretch);
}

TEST_F(SkinImageStreaming, ChunkReadingMovesPastTheBodyHoweverMuchWasUsed) {
  TFormBuilder longDraw;
  longDraw.I32(0).Byte(2).Raw("padding");
  TDRXSkinImage image;
  Load(image, ChunkHeader(2).Chunk("draw", longDraw).Chunk("bits", BitsBody(0, 2, 2, 0xFFFFFFFF)).Bytes());
  EXPECT_EQ(image.StretchMode(), smCenter);
  EXPECT_EQ(image.Width(), 2);
}

TEST_F(SkinImageStreaming, CompressedBitsStayDormantUntilUsed) {
  const std::vector<uint32_t> pixels(6, 0xFF112233);
  const std::vector<uint8_t> z = ZCompress(pixels.data(), 24, 1);
  TFormBuilder body;
  body.I32(0).I32(3).I32(2).I32(static_cast<int32_t>(z.size())).Raw({reinterpret_cast<const char*>(z.data()), z.size()});
  TDRXSkinImage image;
  Load(image, ChunkHeader(1).Chunk("bitz", body).Bytes());
  EXPECT_TRUE(image.IsDormant());
  EXPECT_EQ(image.AlphaState(), asNoAlpha);
  EXPECT_EQ(image.Width(), 3);
  EXPECT_EQ(image.FrameState(0), 0xFF112233u);
  EXPECT_FALSE(image.IsDormant());
}

TEST_F(SkinImageStreaming, HostileSizesEndInTheFormsErrors) {
  const std::vector<uint32_t> pixels(4, 0xFF000000);
  const std::vector<uint8_t> z = ZCompress(pixels.data(), 16, 1);
  const auto bitz = [&z](int32_t width, int32_t height, int32_t length) {
    TFormBuilder body;
    body.I32(1).I32(width).I32(height).I32(length).Raw({reinterpret_cast<const char*>(z.data()), z.size()});
    return ChunkHeader(1).Chunk("bitz", body).Bytes();
  };
  const auto corrupted = [](const std::string& form) {
    TDRXSkinImage image;
    Load(image, form);
    try {
      image.FrameState(0);
    } catch (const EDRXSkinImageException& e) {
      return e.Message() == u"Dormant data has been corrupted";
    }
    return false;
  };
  EXPECT_TRUE(corrupted(bitz(4, 2, static_cast<int32_t>(z.size()))));  // inflates to fewer bytes
  EXPECT_TRUE(corrupted(bitz(1, 2, static_cast<int32_t>(z.size()))));  // to more bytes
  EXPECT_TRUE(corrupted(bitz(30000, 30000 / 4, static_cast<int32_t>(z.size()))));  // far more than zlib can give

  TDRXSkinImage image;
  EXPECT_THROW(Load(image, bitz(2, 2, 1 << 30)), EReadError);
  try {
    Load(image, bitz(70000, 70000, static_cast<int32_t>(z.size())));  // × 4 overflows 32 bits
    FAIL();
  } catch (const EDRXSkinImageException& e) {
    EXPECT_EQ(e.Message(), u"Cannot create image handle (70000 x 70000)");
  }
  EXPECT_THROW(Load(image, ChunkHeader(1).Chunk("bits", BitsBody(0, -1, 5, 0)).Bytes()), EDRXSkinImageException);
  TFormBuilder claimsMore;
  claimsMore.I32(0).I32(1000).I32(1000);
  EXPECT_THROW(Load(image, ChunkHeader(1).Chunk("bits", claimsMore).Bytes()), EReadError);
}

TEST_F(SkinImageStreaming, CompressedBitsAfterPixelsAreAnInvalidState) {
  TFormBuilder body;
  body.I32(0).I32(1).I32(1).I32(0);
  TDRXSkinImage image;
  try {
    Load(image, ChunkHeader(2).Chunk("bits", BitsBody(0, 1, 1, 0)).Chunk("bitz", body).Bytes());
    FAIL();
  } catch (const EDRXSkinImageException& e) {
    EXPECT_EQ(e.Message(), u"InvalidState");
  }
  EXPECT_EQ(image.Width(), 1);  // what was read stays
}

TEST_F(SkinImageStreaming, AStreamEndingInsideAChunkRaisesAndClosesTheUpdate) {
  std::string form = ChunkHeader(2).Chunk("bits", BitsBody(0, 2, 1, 0xFFFFFFFF)).Bytes();
  form += "layt";
  form += std::string("\x29\0\0\0\0\3", 6);
  TDRXSkinImage image;
  int changes = 0;
  image.AddListener([&changes](TDRXSkinImage&) { ++changes; });
  EXPECT_THROW(Load(image, form), EReadError);
  EXPECT_EQ(image.Width(), 2);
  EXPECT_EQ(changes, 1);  // one signal, from the closed update
  image.SetStretchMode(smTile);
  EXPECT_EQ(changes, 2);
}

namespace {

// A legacy record: header, the 58-byte record, pixels, extra bytes, content offsets.
std::string LegacyForm(const char* magic, uint32_t pixelBytes, uint8_t stretch, int32_t width, int32_t height,
                       const std::string& tail) {
  TFormBuilder form;
  form.Raw(magic).I32(1);
  form.I32(static_cast<int32_t>(pixelBytes)).Byte(1).Byte(1).I32(2).Byte(1).I32(1).Byte(0);
  form.I32(1).I32(2).I32(3).I32(4);  // margins
  form.Byte(stretch);
  form.I32(0).I32(1).I32(2).I32(1);  // tile area
  form.Byte(1).I32(width).I32(height);
  form.Pixels(width * height, 0x80402010);
  return form.Bytes() + tail;
}

std::string Offsets() {
  TFormBuilder offsets;
  offsets.I32(5).I32(6).I32(7).I32(8);
  return offsets.Bytes();
}

}  // namespace

TEST_F(SkinImageStreaming, LegacyRecordsReadWithTheirStretchRule) {
  struct Case {
    const char* magic;
    uint8_t stored;
    TDRXSkinImageStretchMode expected;
  } cases[] = {{"MySknImg", 0, smStretch}, {"MySknImg", 1, smStretch}, {"MySknImg", 2, smTile},
               {"MySknImg", 3, smCenter}, {"QZVIMG32", 1, smTile}, {"QZVIMG32", 2, smCenter}};
  for (const Case& c : cases) {
    const bool variant2 = std::string(c.magic) == "QZVIMG32";
    TDRXSkinImage image;
    Load(image, LegacyForm(c.magic, 4 * 4 * 2, c.stored, 4, 2, (variant2 ? std::string("\x01\x02", 2) : "") + Offsets()));
    EXPECT_EQ(image.StretchMode(), c.expected) << c.magic << int(c.stored);
    EXPECT_EQ(image.Width(), 4);
    EXPECT_TRUE(image.Premultiplied());
    EXPECT_EQ(image.AlphaState(), asHasAlpha);
    EXPECT_EQ(image.FrameCount(), 2);
    EXPECT_EQ(image.HitTestMode(), htByAlpha);
    EXPECT_EQ(image.Margins(), (TDRXMargins{1, 2, 3, 4}));
    EXPECT_EQ(image.TileArea(), (TDRXSkinImageTileArea{0, 1, 2, 1}));
    EXPECT_EQ(image.TileAreaLayout(), ilVertical);
    EXPECT_EQ(image.ContentOffsets(), (TDRXMargins{5, 6, 7, 8}));
    EXPECT_EQ(image.Bits()[3], 0x80);
  }
}

TEST_F(SkinImageStreaming, LegacyRecordPixelCountAndMissingOffsets) {
  TDRXSkinImage image;
  Load(image, LegacyForm("MySknImg", 4 * 4 * 2, 1, 4, 2, "\x05\x00"));  // offsets cut short: all 0
  EXPECT_EQ(image.ContentOffsets(), TDRXMargins{});
  // More pixel bytes than the size needs: the rest is skipped.
  Load(image, LegacyForm("MySknImg", 4 * 4 * 2 + 4, 1, 4, 2, "XXXX" + Offsets()));
  EXPECT_EQ(image.ContentOffsets(), (TDRXMargins{5, 6, 7, 8}));
  // Fewer than the size needs: the record is cut short.
  EXPECT_THROW(Load(image, LegacyForm("MySknImg", 8, 1, 4, 2, Offsets())), EReadError);
  EXPECT_THROW(Load(image, std::string("MySknImg\1\0\0\0", 12) + "short"), EReadError);
}

TEST_F(SkinImageStreaming, OtherHeadersAreReadAsPicturesFromTheSameStart) {
  TDRXSkinImage image;
  TMemoryStream stream(std::string("DRXIMG32\2\0\0\0" "0000", 16));  // another version is not the chunk form
  EXPECT_THROW(image.LoadFromStream(stream), EInvalidGraphic);
  EXPECT_TRUE(image.Empty());
}

TEST_F(SkinImageStreaming, ChunkWriterRefusesBodiesAboveTheLimit) {
  // A stream that only counts what is written and seeks, so no 2 GB are needed.
  class TCountingStream : public TStream {
   public:
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override {
      position_ += count;
      size_ = std::max(size_, position_);
      return count;
    }
    int64_t Seek(int64_t offset, TSeekOrigin origin) override {
      position_ = origin == soBeginning ? offset : origin == soCurrent ? position_ + offset : size_ + offset;
      return position_;
    }

   private:
    int64_t position_ = 0, size_ = 0;
  } stream;
  TDRXSkinImageChunkWriter writer(stream);
  writer.BeginChunk(ChunkId("bits"));
  stream.Seek(0x7FFFFFFF, soCurrent);
  try {
    writer.EndChunk();
    FAIL();
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message(), u"StreamEndWriteChunk: 2147483647, 2147483655, 8");
  }
}
