#include "DRX.Platform.h"

bool SameText(UStringView a, UStringView b) {
  return a.size() == b.size() && PlatformCompareText(a, b, true) == 0;
}
