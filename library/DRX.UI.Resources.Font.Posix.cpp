#include "DRX.UI.Resources.Font.h"

// Natively there is no system font; the skins name theirs, so this serves only
// fonts that assign nothing.
const TDRXFontInfo& DefaultGUIFont() {
  static const TDRXFontInfo font{u"Segoe UI", -11, claBlack, fqDefault, 0};
  return font;
}
