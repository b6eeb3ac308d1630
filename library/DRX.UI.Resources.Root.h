#pragma once
// The process-wide root resource collection: created and loaded on first use
// with the light or dark default skin (the module's RCDATA "DRXDEFAULTSKIN" or
// "DRXDEFAULTSKIN_DARK"), reloaded when the application's dark mode changes,
// freed when the component library shuts down.

#include <functional>
#include <memory>

#include "DRX.UI.Application.h"
#include "DRX.UI.Resources.Collections.h"

// The identifiers that have a Windows 11 variant (the identifier + ".W11").
inline constexpr UStringView kWindows11VariantIDs[] = {u"Buttons.Textures.Button", u"Popup.Margins.Borders",
                                                       u"Popup.Margins.CornerRadius", u"Slider.Textures.Thumb"};

// For each identifier with a variant, when both items exist, the first item's
// resource takes its values from the variant (its ID becomes the variant's).
void ApplyWindows11Variants(TDRXCustomResourceCollection& collection);

class TDRXRootResourceCollectionImpl : public TDRXCustomResourceCollection, private IDRXApplicationListener {
 public:
  TDRXRootResourceCollectionImpl();
  ~TDRXRootResourceCollectionImpl() override;
  UString ClassName() const override { return u"TDRXRootResourceCollectionImpl"; }

  // In one update: clears, reads the skin of the application's dark mode and,
  // on Windows 11, applies the variants. A skin that cannot be read leaves the
  // collection with what was read and raises the stream's error.
  void Load();
  bool LoadedDark() const { return loadedDark_; }

 private:
  void ApplicationDarkModeChanged() override;
  bool loadedDark_ = false;
};

// The root collection, created and loaded on the first call; none once the
// library has shut down.
TDRXRootResourceCollectionImpl* RootResourceCollection();
// Frees the root collection for good (also done at exit).
void FinalizeRootResourceCollection();

// Where the default skins come from: a stream of the light or the dark skin, or
// none. The platform's source reads the module's RCDATA (none without it, and
// none natively).
using TDRXDefaultSkinSource = std::function<std::unique_ptr<TStream>(bool dark)>;
std::unique_ptr<TStream> PlatformDefaultSkin(bool dark);
// Tests: another source; an empty function gives back the platform's.
void SetDefaultSkinSource(TDRXDefaultSkinSource source);
// Whether the Windows 11 variants apply (Windows: build 22000 or later).
bool PlatformUsesWindows11Variants();

inline constexpr UStringView kDefaultSkinName = u"DRXDEFAULTSKIN";
inline constexpr UStringView kDefaultDarkSkinName = u"DRXDEFAULTSKIN_DARK";
