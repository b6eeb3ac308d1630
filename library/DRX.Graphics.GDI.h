#pragma once
// Small owners of GDI objects, device contexts, selections and clip regions
// (Windows only), so that every object is given back on every path, and the
// 32-bit top-down DIB sections that skin drawing uses as layers.

#include <windows.h>

#include <cstdint>
#include <utility>

#include "DRX.Graphics.Types.h"

inline RECT ToRECT(const TRect& rect) { return {rect.Left, rect.Top, rect.Right, rect.Bottom}; }

// The smallest rectangle around what can be drawn on the device context, in logical units.
inline TRect ClipBoxOf(HDC dc) {
  RECT box{};
  GetClipBox(dc, &box);
  return {box.left, box.top, box.right, box.bottom};
}

// Deletes a pen, brush, bitmap, region or font with the owner.
template <typename THandle>
class TDRXGdiObject {
 public:
  TDRXGdiObject() = default;
  explicit TDRXGdiObject(THandle handle) : handle_(handle) {}
  TDRXGdiObject(TDRXGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TDRXGdiObject& operator=(TDRXGdiObject&& other) noexcept {
    std::swap(handle_, other.handle_);
    return *this;
  }
  ~TDRXGdiObject() {
    if (handle_) DeleteObject(handle_);
  }
  THandle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  THandle handle_ = nullptr;
};

// A memory device context compatible with the given one (the screen when null).
class TDRXMemoryDC {
 public:
  explicit TDRXMemoryDC(HDC compatible = nullptr) : dc_(CreateCompatibleDC(compatible)) {}
  ~TDRXMemoryDC() {
    if (dc_) DeleteDC(dc_);
  }
  TDRXMemoryDC(const TDRXMemoryDC&) = delete;
  TDRXMemoryDC& operator=(const TDRXMemoryDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a device context and selects the previous one back.
class TDRXSelection {
 public:
  TDRXSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~TDRXSelection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  TDRXSelection(const TDRXSelection&) = delete;
  TDRXSelection& operator=(const TDRXSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Saves the whole state of a device context (clip region, origins, selections,
// colours) and restores it.
class TDRXSavedDCState {
 public:
  explicit TDRXSavedDCState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  TDRXSavedDCState(TDRXSavedDCState&& other) noexcept : dc_(other.dc_), saved_(std::exchange(other.saved_, 0)) {}
  TDRXSavedDCState& operator=(TDRXSavedDCState&&) = delete;
  ~TDRXSavedDCState() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// Keeps a device context's clip region and restores it (or its absence).
class TDRXClipRegionSaver {
 public:
  explicit TDRXClipRegionSaver(HDC dc);
  ~TDRXClipRegionSaver();
  TDRXClipRegionSaver(const TDRXClipRegionSaver&) = delete;
  TDRXClipRegionSaver& operator=(const TDRXClipRegionSaver&) = delete;
  // Narrows the clip to the rectangle; false when nothing is left visible.
  bool Intersect(const TRect& rect);

 private:
  HDC dc_;
  HRGN saved_;
  bool hadRegion_;
};

// A top-down 32-bit DIB section, cleared; raises EOSError when it cannot be had.
class TDRXDIBSection {
 public:
  TDRXDIBSection(int32_t width, int32_t height);
  HBITMAP Handle() const { return bitmap_.Get(); }
  uint8_t* Bits() const { return bits_; }
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

 private:
  TDRXGdiObject<HBITMAP> bitmap_;
  uint8_t* bits_ = nullptr;
  int32_t width_;
  int32_t height_;
};

// A DIB section selected into a memory device context of its own: a surface
// to draw on and read back pixel by pixel.
class TDRXDIBCanvas {
 public:
  TDRXDIBCanvas(int32_t width, int32_t height) : section_(width, height), selection_(dc_.Get(), section_.Handle()) {}
  HDC DC() const { return dc_.Get(); }
  int32_t Width() const { return section_.Width(); }
  int32_t Height() const { return section_.Height(); }
  const TDRXDIBSection& Section() const { return section_; }
  // The pixel as a COLORREF (0x00BBGGRR), after GdiFlush.
  COLORREF Pixel(int32_t x, int32_t y) const;

 private:
  TDRXMemoryDC dc_;
  TDRXDIBSection section_;
  TDRXSelection selection_;
};

// The header of a top-down 32-bit device-independent bitmap of that size.
BITMAPINFO TopDown32BitInfo(int32_t width, int32_t height);

// The focus mark: a dotted one-pixel frame in the colour, every other pixel.
void DrawDottedFrame(HDC dc, const TRect& rect, COLORREF color);
