#include "uInstaller.Core.Switches.h"

#include "DRX.Format.h"

UString FormatSkipUacParams(int64_t window, UStringView params) {
  return Format(u"/%s=%d %s", {kSwitchSkipUac, window, params});
}

UString FormatPathParams(UStringView folder, UStringView params) {
  return Format(u"/%s=\"%s\" %s", {kSwitchPath, folder, params});
}
