#pragma once
// The control gallery (Windows, not shipped): one form with every skinned
// control of the library in every state, in titled sections. The tests check
// its pixels and handles; scripts/screenshots captures it at 96 and 144 DPI,
// light and dark.
//
// A new kind of control gets a section: a function that fills a panel, and
// one line in kGallerySections (ControlGallery.Win.cpp).

#include <span>

#include "DRX.Graphics.Colors.h"
#include "DRX.UI.Forms.h"

class TControlGallery;

// A titled group of samples, windowless, at a 96-DPI rectangle of the form.
class TGalleryPanel : public TDRXCustomControl {
 public:
  TGalleryPanel(TControlGallery& gallery, UStringView title);
  UString ClassName() const override { return u"TGalleryPanel"; }

  // A control of the kind owned by the form, named, placed at the 96-DPI
  // rectangle inside the panel (below the title) and given the caption.
  template <typename T>
  T* Add(UStringView name, const TRect& at96, UStringView caption = {}) {
    auto* control = new T(&gallery_);
    Place(*control, name, at96, caption);
    return control;
  }
  // The first sample's top, below the title, at 96 DPI.
  static constexpr int32_t kTop = 26;

 protected:
  void Paint(HDC__* dc) override;

 private:
  void Place(TDRXCustomControl& control, UStringView name, const TRect& at96, UStringView caption);
  TControlGallery& gallery_;
  UString title_;
};

struct TGallerySection {
  UStringView Title;
  TRect Bounds;  // at 96 DPI
  void (*Fill)(TGalleryPanel& panel);
};

// The sections in the order they are made.
std::span<const TGallerySection> GallerySections();

class TControlGallery : public TDRXForm {
 public:
  TControlGallery();
  UString ClassName() const override { return u"TControlGallery"; }

  // A sample by its name ("Buttons.Default"); none for an unknown name.
  template <typename T = TDRXCustomControl>
  T* Sample(UStringView name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

 protected:
  void DarkModeChanged() override;
};

// Windows' "High Contrast Black" colours with the flag on: what the gallery's
// /contrast and the high-contrast tests turn on through the application's reader.
TDRXContrastScheme GalleryContrastScheme();

// The skin's colour (the root collection's); claNull when it has none.
TDRXAlphaColor GallerySkinColor(UStringView id);

// Writes the pixels of a 32-bit top-down BGRA bitmap as an opaque PNG file;
// false when the file cannot be written.
bool WriteGalleryPng(const UString& fileName, const uint8_t* bgra, int32_t width, int32_t height);
// Writes the window as the screen shows it (frame included) to a PNG file.
bool CaptureWindowPng(HWND__* window, const UString& fileName);
