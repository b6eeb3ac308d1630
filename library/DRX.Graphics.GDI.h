#pragma once
// Owners of GDI objects, device contexts, selections and saved DC states:
// every one is released on every path, exceptions included. Windows only.

#include <windows.h>

#include <utility>

// A GDI object (font, brush, pen, bitmap, region) deleted with DeleteObject.
template <class THandle>
class TGdiObject {
 public:
  TGdiObject() = default;
  explicit TGdiObject(THandle handle) : handle_(handle) {}
  TGdiObject(TGdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TGdiObject& operator=(TGdiObject&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.handle_, nullptr));
    return *this;
  }
  ~TGdiObject() { Reset(); }

  THandle Handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void Reset(THandle handle = nullptr) {
    if (handle_) DeleteObject(handle_);
    handle_ = handle;
  }

 private:
  THandle handle_ = nullptr;
};

using TGdiFont = TGdiObject<HFONT>;
using TGdiBrush = TGdiObject<HBRUSH>;
using TGdiBitmap = TGdiObject<HBITMAP>;
using TGdiRegion = TGdiObject<HRGN>;

// A memory DC compatible with the given one (the screen when null); raises
// EOSError when none can be made.
class TGdiMemoryDC {
 public:
  explicit TGdiMemoryDC(HDC compatibleWith = nullptr);
  ~TGdiMemoryDC();
  TGdiMemoryDC(const TGdiMemoryDC&) = delete;
  TGdiMemoryDC& operator=(const TGdiMemoryDC&) = delete;
  HDC Handle() const { return dc_; }

 private:
  HDC dc_;
};

// Selects an object into a DC and selects the previous one back.
class TGdiSelection {
 public:
  TGdiSelection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~TGdiSelection() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  }
  TGdiSelection(const TGdiSelection&) = delete;
  TGdiSelection& operator=(const TGdiSelection&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// Saves the whole state of a DC (clip region, origins, selections, colours)
// and restores it.
class TGdiSavedState {
 public:
  explicit TGdiSavedState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
  TGdiSavedState(TGdiSavedState&& other) noexcept : dc_(other.dc_), saved_(std::exchange(other.saved_, 0)) {}
  TGdiSavedState& operator=(TGdiSavedState&&) = delete;
  ~TGdiSavedState() {
    if (saved_) RestoreDC(dc_, saved_);
  }

 private:
  HDC dc_;
  int saved_;
};

// A 32-bit top-down DIB section selected into a memory DC of its own: pixels
// as bytes blue, green, red, alpha, row after row.
class TGdiDibSection {
 public:
  TGdiDibSection(int width, int height);
  TGdiDibSection(const TGdiDibSection&) = delete;
  TGdiDibSection& operator=(const TGdiDibSection&) = delete;

  HDC DC() const { return dc_.Handle(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The pixel as a COLORREF (0x00BBGGRR); GdiFlush first.
  COLORREF Pixel(int x, int y) const;

 private:
  int width_;
  int height_;
  void* bits_ = nullptr;
  TGdiMemoryDC dc_;
  TGdiBitmap bitmap_;
  TGdiSelection selection_;
};
