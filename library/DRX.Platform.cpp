#include "DRX.Platform.h"

bool SameText(UStringView a, UStringView b) {
  return a.size() == b.size() && PlatformCompareText(a, b, true) == 0;
}

bool StartsText(UStringView text, UStringView prefix) {
  return !prefix.empty() && text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}
