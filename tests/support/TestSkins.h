#pragma once
// The default skins in Windows tests whose program carries them as resources.

#include "DRX.Graphics.Colors.h"
#include "DRX.Strings.h"

// Sets the application's dark mode and loads the root collection with the
// light or the dark default skin.
void UseDefaultSkin(bool dark);
// The value of a colour resource of the root collection; claNull when there is none.
TDRXAlphaColor RootSkinColor(UStringView id);
