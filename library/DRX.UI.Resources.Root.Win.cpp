#include <windows.h>

#include "DRX.UI.Resources.Root.h"
#include "DRX.Utils.Shell.h"

std::unique_ptr<TStream> PlatformDefaultSkin(bool dark) {
  const UString name(dark ? kDefaultDarkSkinName : kDefaultSkinName);
  HMODULE module = GetModuleHandleW(nullptr);
  if (!FindResourceW(module, W(name), RT_RCDATA)) return nullptr;
  return std::make_unique<TResourceStream>(module, name);
}

bool PlatformUsesWindows11Variants() { return IsWindows11OrLater(); }
