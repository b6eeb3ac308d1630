#pragma once
// Skin images: one 32-bit bitmap holding all frames of a control part (side by
// side or one above the other) with the rules for drawing a frame into any
// rectangle (nine-part, five-part, whole frame; stretched, tiled, centred), a
// hit-test rule, content insets and a per-frame analysis. Images that nobody
// draws are kept zlib-compressed (dormant) and unpacked on first use.
//
// Pixels are bytes blue, green, red, alpha, rows top-down; on Windows they live
// in a DIB section so that the renderer can select them into a device context.
// The stored forms are in DRX.Graphics.SkinImage.Streaming, the frame analysis
// in DRX.Graphics.SkinImage.Analyzer, the drawing geometry in
// DRX.Graphics.SkinImage.Geometry, the drawing itself in the Windows half.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "DRX.Classes.Streams.h"
#include "DRX.Exceptions.h"
#include "DRX.Graphics.Types.h"

#ifdef _WIN32
struct HDC__;
struct HBITMAP__;
#endif

class EDRXSkinImageException : public Exception { using Exception::Exception; };
// A picture that is none of the image's own stored forms and cannot be decoded.
class EInvalidGraphic : public Exception { using Exception::Exception; };

// 0 every pixel transparent, 1 alpha varies, 2 opaque with varying colours;
// above 0xFFFFFF every pixel is that straight ARGB colour.
using TDRXSkinImageFrameState = uint32_t;
constexpr TDRXSkinImageFrameState fsTransparent = 0;
constexpr TDRXSkinImageFrameState fsTranslucent = 1;
constexpr TDRXSkinImageFrameState fsOpaque = 2;
inline bool IsSolidColorState(TDRXSkinImageFrameState state) { return state > 0xFFFFFF; }

// The settings are bytes in the stored forms; values outside the named ones are
// kept as read and drawn as the rules for "any other value" say.
enum TDRXSkinImageAlphaState : uint8_t { asUnknown = 0, asNoAlpha = 1, asHasAlpha = 2 };
enum TDRXSkinImageLayout : uint8_t { ilHorizontal = 0, ilVertical = 1 };
enum TDRXSkinImageStretchMode : uint8_t { smStretch = 0, smTile = 1, smCenter = 2 };
enum TDRXSkinImageSizingMode : uint8_t { szAuto = 0, szMarginsOnly = 1, szTileAreaOnly = 2 };
enum TDRXSkinImageHitTestMode : uint8_t { htAlways = 0, htByAlpha = 1, htNever = 2 };
enum TDRXSkinImageDrawingMode : uint8_t { dmNinePart, dmFivePart, dmWholeFrame };

// Along the tile-area axis, from the start of the frame: a fixed head, a first
// tiled part, a fixed middle up to Start2, a second tiled part, a fixed tail.
struct TDRXSkinImageTileArea {
  int32_t Head = 0;
  int32_t Tile1 = 0;
  int32_t Start2 = 0;
  int32_t Tile2 = 0;

  bool IsEmpty() const { return Tile1 == 0 && Tile2 == 0; }
  bool operator==(const TDRXSkinImageTileArea&) const = default;
};

// Process-wide: the zlib level of dormant storage and of written "bitz" chunks
// (none writes "bits"), and whether set items go dormant when released.
enum TDRXSkinImageCompression : uint8_t { icNone, icFastest, icDefault, icMaximum };
TDRXSkinImageCompression SkinImageCompression();
void SetSkinImageCompression(TDRXSkinImageCompression compression);
int SkinImageCompressionLevel();
bool SkinImageDormantEnabled();
void SetSkinImageDormantEnabled(bool enabled);

// The most pixel bytes an image may have; larger sizes cannot be created.
constexpr int64_t kMaxSkinImageBytes = 0x7FFFFFFF;

class TDRXSkinImageBitmap;
class TDRXSkinImageChunkWriter;

// The pixels of a dormant image: a zlib stream of width × height × 4 bytes, and
// the alpha state and premultiplied flag they had when they were compressed.
struct TDRXSkinImageBitsStorage {
  std::vector<uint8_t> Data;
  int64_t Size = 0;
  TDRXSkinImageAlphaState AlphaState = asUnknown;
  bool Premultiplied = false;
};

class TDRXSkinImage;
using TDRXSkinImageListener = std::function<void(TDRXSkinImage& sender)>;

class TDRXSkinImage {
 public:
  TDRXSkinImage();
  virtual ~TDRXSkinImage();
  TDRXSkinImage(const TDRXSkinImage&) = delete;
  TDRXSkinImage& operator=(const TDRXSkinImage&) = delete;

  // Copies pixels (or the compressed storage of a dormant source) and all settings.
  virtual void Assign(const TDRXSkinImage& source);
  // Takes pixels of the given size, top-down. With keyTransparency the source has
  // no alpha channel: magenta (red 255, green 0, blue 255) becomes transparent and
  // every other pixel opaque.
  void AssignPixels(int32_t width, int32_t height, const void* pixels, bool premultiplied,
                    bool keyTransparency = false);
  // Drops the pixels and the storage; the settings stay.
  void Clear();
  // Cleared pixels of that size, alpha state unknown, not premultiplied.
  void SetSize(int32_t width, int32_t height);

  bool Empty() const { return width_ == 0 || height_ == 0; }
  bool IsDormant() const { return storage_ != nullptr; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }
  // The pixels, unpacked first when dormant; null for an empty image. Code that
  // writes them does so between BeginUpdate and EndUpdate.
  uint8_t* Bits();
  // Compresses the pixels into dormant storage and frees the bitmap.
  void Dormant();

  bool Premultiplied() const { return premultiplied_; }
  // Converts the pixels when the image has alpha, then records the flag.
  void SetPremultiplied(bool premultiplied);
  TDRXSkinImageAlphaState AlphaState() const { return alphaState_; }
  // Determines an unknown alpha state first.
  bool HasAlpha();

  // Settings.
  bool AllowColoration() const { return allowColoration_; }
  void SetAllowColoration(bool value);
  int32_t FrameCount() const { return frameCount_; }
  void SetFrameCount(int32_t value);  // clamped to 1 .. the width (or height) of the layout
  TDRXSkinImageLayout FrameLayout() const { return frameLayout_; }
  void SetFrameLayout(TDRXSkinImageLayout value);
  const TDRXMargins& Margins() const { return margins_; }
  void SetMargins(const TDRXMargins& value);
  const TDRXMargins& ContentOffsets() const { return contentOffsets_; }
  void SetContentOffsets(const TDRXMargins& value);
  TDRXSkinImageStretchMode StretchMode() const { return stretchMode_; }
  void SetStretchMode(TDRXSkinImageStretchMode value);
  TDRXSkinImageSizingMode SizingMode() const { return sizingMode_; }
  void SetSizingMode(TDRXSkinImageSizingMode value);
  const TDRXSkinImageTileArea& TileArea() const { return tileArea_; }
  void SetTileArea(const TDRXSkinImageTileArea& value);
  TDRXSkinImageLayout TileAreaLayout() const { return tileAreaLayout_; }
  void SetTileAreaLayout(TDRXSkinImageLayout value);
  TDRXSkinImageHitTestMode HitTestMode() const { return hitTestMode_; }
  void SetHitTestMode(TDRXSkinImageHitTestMode value);
  int32_t HitTestFrame() const { return hitTestFrame_; }
  void SetHitTestFrame(int32_t value);

  // Frame geometry; an index outside 0 .. FrameCount - 1 means frame 0.
  int32_t FrameWidth() const;
  int32_t FrameHeight() const;
  TRect FrameRect(int32_t index) const;
  TDRXSkinImageDrawingMode DrawingMode() const;

  // The analysed states (analysing when needed); an index outside the frames
  // raises "Invalid FrameInfo Index".
  TDRXSkinImageFrameState FrameState(int32_t index);
  TDRXSkinImageFrameState InnerAreaState(int32_t index);

  // Whether a point hits the image drawn into the rectangle.
  bool HitTest(const TRect& rect, int32_t x, int32_t y);

  void LoadFromStream(TStream& stream);
  void SaveToStream(TStream& stream);

  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();
  // Listeners are called in the order they were added, after every change made
  // outside an update.
  int AddListener(TDRXSkinImageListener listener);
  void RemoveListener(int id);

  // Same class, same settings, same pixel bytes.
  bool Equals(const TDRXSkinImage& other) const;
  // The CRC-32 of the pixel bytes.
  uint32_t HashCode() const;

#ifdef _WIN32
  // Imports a GDI bitmap: bitmaps of 1 to 24 bits per pixel are keyed on magenta.
  void AssignBitmap(HBITMAP__* bitmap, bool premultiplied = false);
  // The DIB section of the pixels (unpacked first); null for an empty image.
  HBITMAP__* Handle();
  // Draws frame `frameIndex` into the rectangle at the constant alpha; a disabled
  // draw is grey and half transparent.
  void Draw(HDC__* dc, const TRect& rect, int32_t frameIndex, bool enabled = true, uint8_t alpha = 255);
#endif

 protected:
  // A change: the analysis is dropped, the renderer flushes before its next
  // draw, and outside an update the listeners are called.
  void Changed();
  // Chunks of the stored form that a subclass adds; true when it took the chunk.
  virtual bool ReadChunk(uint32_t id, TStream& stream, int32_t size) { return false; }
  virtual void WriteChunks(TDRXSkinImageChunkWriter& writer) {}

 private:
  friend class TDRXSkinImageAnalyzer;
  friend class TDRXSkinImageReader;
  friend class TDRXSkinImageWriter;

  void Unpack();
  // New pixels of that size, written by `fill`, inside one update; with
  // keyTransparency they are keyed on magenta afterwards.
  void ReplacePixels(int32_t width, int32_t height, bool premultiplied, bool keyTransparency,
                     const std::function<void(uint8_t* pixels)>& fill);
  void EnsureAnalyzed();
  void DetermineAlphaState();
  // The pixel bytes of a live or dormant image, without changing it.
  std::vector<uint8_t> PixelBytes() const;
  bool SameSettings(const TDRXSkinImage& other) const;
  void CopySettings(const TDRXSkinImage& source);
  template <typename T>
  void Update(T& field, const T& value);

  int32_t width_ = 0;
  int32_t height_ = 0;
  std::unique_ptr<TDRXSkinImageBitmap> bitmap_;
  std::unique_ptr<TDRXSkinImageBitsStorage> storage_;
  bool premultiplied_ = false;
  TDRXSkinImageAlphaState alphaState_ = asUnknown;

  bool allowColoration_ = true;
  int32_t frameCount_ = 1;
  TDRXSkinImageLayout frameLayout_ = ilHorizontal;
  TDRXMargins margins_;
  TDRXMargins contentOffsets_;
  TDRXSkinImageStretchMode stretchMode_ = smStretch;
  TDRXSkinImageSizingMode sizingMode_ = szAuto;
  TDRXSkinImageTileArea tileArea_;
  TDRXSkinImageLayout tileAreaLayout_ = ilHorizontal;
  TDRXSkinImageHitTestMode hitTestMode_ = htAlways;
  int32_t hitTestFrame_ = 0;

  std::vector<TDRXSkinImageFrameState> frameStates_;
  std::vector<TDRXSkinImageFrameState> innerStates_;
  bool analyzed_ = false;
  uint64_t changeCount_ = 0;

  int updateCount_ = 0;
  int nextListenerId_ = 1;
  std::vector<std::pair<int, TDRXSkinImageListener>> listeners_;
};
