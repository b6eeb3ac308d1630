#pragma once
// The one renderer through which all skin drawing passes: one memory device
// context (created on first use) into which the image's bitmap is selected,
// and a recursive lock that serialises the draws of all threads. It exists
// while any skin image exists. Because images write their pixels straight into
// memory, the first draw after any change begins with GdiFlush.

#include <atomic>
#include <cstdint>
#include <vector>

#include "DRX.Graphics.Types.h"

#ifdef _WIN32
struct HDC__;
struct HBITMAP__;
#endif

class TDRXSkinImageRenderer {
 public:
  // Skin images report their lifetime: the first creates the renderer, the last frees it.
  static void AddImage();
  static void RemoveImage();
  // Null while no skin image exists.
  static TDRXSkinImageRenderer* Instance();
  // An image changed: the next draw begins with GdiFlush.
  static void MarkChanged();

  // Recursive for the owning thread; taken by compare-and-swap, retried after
  // Sleep(0) and then after Sleep(1) while another thread holds it. Unlock by a
  // thread that does not hold it raises "Section is not owned".
  void Lock();
  void Unlock();
  bool OwnedByCurrentThread() const;

#ifdef _WIN32
  // A draw: takes the lock and selects the bitmap; the parts follow; End
  // restores the memory context and releases the lock. Blending (or an alpha
  // below 255) draws with AlphaBlend, otherwise parts are copied.
  void Begin(HDC__* dc, const TRect& target, uint8_t alpha, HBITMAP__* bitmap, bool blending);
  // Draws the source part of the bitmap into the destination, stretched or tiled
  // from the destination's top-left corner; empty parts draw nothing. A part
  // known to be opaque is copied even in a blended draw (at alpha 255).
  void DrawPart(const TRect& dest, const TRect& source, bool tiled, bool opaque = false);
  void End();
#endif

 private:
  TDRXSkinImageRenderer() = default;
  ~TDRXSkinImageRenderer();
  bool TakeFlushRequest() { return flushNeeded_.exchange(false); }

  std::atomic<uint32_t> owner_{0};
  int recursionCount_ = 0;
  std::atomic<bool> flushNeeded_{true};

#ifdef _WIN32
  void ReleaseDevice();
  void DrawOpaque(HDC__* dc, const TRect& dest, const TRect& source, bool tiled);
  void DrawBlended(const TRect& dest, const TRect& source, bool tiled);
  void TileWithBrush(HDC__* dc, const TRect& dest, const TRect& source);
  void BlendTiledLayer(const TRect& dest, const TRect& source);

  // The draw in progress; a draw begun inside another (by the same thread)
  // keeps the outer one's state until it ends.
  struct TDraw {
    HDC__* TargetDC = nullptr;
    void* PreviousBitmap = nullptr;
    TRect Target;
    uint8_t Alpha = 255;
    bool Blending = false;
    const uint8_t* Pixels = nullptr;  // of the selected bitmap, for tiling in memory
    int32_t PixelsWidth = 0;
    int32_t PixelsHeight = 0;
  };

  HDC__* memoryDC_ = nullptr;
  TDraw draw_;
  std::vector<TDraw> outerDraws_;
#endif
};
