#include "uInstaller.UI.Pages.h"

UString PageSectionName(UStringView className) {
  constexpr size_t kPrefixLength = 10;  // "TInstaller"
  return className.size() > kPrefixLength ? UString(className.substr(kPrefixLength)) : UString();
}

TRect FinishActionBoxBounds(int index) { return Bounds(210, 120 + 24 * (index - 1), 320, 17); }
