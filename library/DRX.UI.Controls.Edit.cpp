#include "DRX.UI.Controls.Edit.h"

#include <algorithm>

TDRXEditLayout CalculateEditLayout(const TRect& area, std::span<const TDRXEditButtonSlot> buttons, int32_t gap) {
  TDRXEditLayout layout;
  layout.Buttons.resize(buttons.size());
  int64_t right = std::max(area.Right, area.Left);
  bool anyVisible = false;
  for (size_t i = buttons.size(); i-- > 0;) {
    if (!buttons[i].Visible) continue;
    anyVisible = true;
    const int64_t left = std::max<int64_t>(right - std::max(buttons[i].Width, 0), area.Left);
    layout.Buttons[i] = {static_cast<int32_t>(left), area.Top, static_cast<int32_t>(right), area.Bottom};
    right = left;
  }
  if (anyVisible) right -= std::max(gap, 0);
  layout.Text = {area.Left, area.Top, static_cast<int32_t>(std::max<int64_t>(right, area.Left)), area.Bottom};
  return layout;
}

TDRXStyleEdit::TDRXStyleEdit(IDRXStyleOwner* owner) : TDRXStyleEditBox(owner, u"EditBox.Textures.Border") {
  AddTexture(etsButton, u"Buttons.Textures.Button");
  AddColor(ecsButtonText, u"Buttons.Colors.Text");
  AddColor(ecsButtonTextDisabled, u"Buttons.Colors.TextDisabled");
}
