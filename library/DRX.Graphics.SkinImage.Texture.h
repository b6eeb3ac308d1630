#pragma once
// A skin image set drawn at a target DPI: the drawing operations that a texture
// offers on its current image (the set's best item for the target DPI), and
// the sizes it reports, scaled from the item's DPI to the target's.

#include <cstdint>

#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

#ifdef _WIN32
struct HDC__;
#endif

// The borders a draw with borders shows: bits 1 left, 2 top, 4 right, 8 bottom.
using TDRXSkinBorders = uint8_t;
constexpr TDRXSkinBorders sbLeft = 1;
constexpr TDRXSkinBorders sbTop = 2;
constexpr TDRXSkinBorders sbRight = 4;
constexpr TDRXSkinBorders sbBottom = 8;
constexpr TDRXSkinBorders sbAll = sbLeft | sbTop | sbRight | sbBottom;

// The rectangle widened outwards by the margin of each side whose border is not
// asked for, so that those borders fall outside the rectangle.
TRect WidenForBorders(const TRect& rect, TDRXSkinBorders borders, const TDRXMargins& margins);

class TDRXSkinTexture {
 public:
  TDRXSkinTexture();
  ~TDRXSkinTexture();
  TDRXSkinTexture(const TDRXSkinTexture&) = delete;
  TDRXSkinTexture& operator=(const TDRXSkinTexture&) = delete;

  TDRXSkinImageSet& Set() { return set_; }
  int TargetDPI() const { return targetDPI_; }
  void SetTargetDPI(int dpi);
  bool Scalable() const { return scalable_; }
  void SetScalable(bool scalable) { scalable_ = scalable; }

  // The item drawn at the target DPI; the texture holds a reference on it.
  TDRXSkinImageSetItem& CurrentImage() { return *current_; }
  // A length of the current image at the target DPI (target DPI ÷ item DPI when scalable).
  int32_t Scale(int32_t value) const;
  int32_t FrameWidth() const { return Scale(current_->FrameWidth()); }
  int32_t FrameHeight() const { return Scale(current_->FrameHeight()); }
  TDRXMargins Margins() const;
  TDRXMargins ContentOffsets() const;
  // "%dx%d" of the scaled frame size, or "No Image".
  UString ToString() const;

  bool HitTest(const TRect& rect, int32_t x, int32_t y) { return current_->HitTest(rect, x, y); }
#ifdef _WIN32
  void Draw(HDC__* dc, const TRect& rect, int32_t frameIndex, bool enabled = true, uint8_t alpha = 255);
  void DrawWithBorders(HDC__* dc, const TRect& rect, int32_t frameIndex, TDRXSkinBorders borders);
#endif

 private:
  void PickCurrentImage();
  TDRXMargins ScaleMargins(const TDRXMargins& margins) const;

  TDRXSkinImageSet set_;
  int targetDPI_ = kMinSkinImageDPI;
  bool scalable_ = true;
  TDRXSkinImageSetItemRef current_;
};

#ifdef _WIN32
// Draws the image with only the given borders: all four (or no margins at all)
// is a plain draw; otherwise the image is drawn into the widened rectangle under
// a clip narrowed to the given one, which is restored afterwards.
void DrawSkinImageWithBorders(HDC__* dc, TDRXSkinImage& image, const TRect& rect, int32_t frameIndex,
                              TDRXSkinBorders borders, const TDRXMargins& scaledMargins);
#endif
