#include "TestSkins.h"

#include "DRX.UI.Resources.Root.h"
#include "DRX.UI.Resources.Values.h"

namespace {

bool darkSkin = false;
bool ReadDarkSkin() { return darkSkin; }

}  // namespace

void UseDefaultSkin(bool dark) {
  darkSkin = dark;
  TDRXApplication::SetDarkModeReader(&ReadDarkSkin);
  TDRXApplication::UpdateDarkMode();
  RootResourceCollection()->Load();
}

TDRXAlphaColor RootSkinColor(UStringView id) {
  const auto* color = RootResourceCollection()->Find<TDRXResourceColor>(id);
  return color ? color->Value() : claNull;
}
