#include "DRX.UI.Resources.Root.h"

std::unique_ptr<TStream> PlatformDefaultSkin(bool) { return nullptr; }

bool PlatformUsesWindows11Variants() { return false; }
