#include "DRX.UI.Controls.EditBox.h"

TDRXEditBorderFrame EditBorderFrame(bool enabled, bool focused, bool hover) {
  if (!enabled) return ebfDisabled;
  if (focused) return ebfFocused;
  return hover ? ebfHover : ebfNormal;
}

TDRXStyleEditBox::TDRXStyleEditBox(IDRXStyleOwner* owner, UStringView borderTextureID) : TDRXStyle(owner) {
  AddColor(ecsContent, u"EditBox.Colors.Content");
  AddColor(ecsContentDisabled, u"EditBox.Colors.ContentDisabled");
  AddColor(ecsText, u"EditBox.Colors.Text");
  AddColor(ecsTextDisabled, u"EditBox.Colors.TextDisabled");
  AddTexture(etsBorder, borderTextureID);
}
