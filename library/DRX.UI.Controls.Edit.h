#pragma once
// The skinned single-line edit: a border of the skin ("EditBox" resources)
// around the system's edit window, with buttons embedded at its right end (the
// Setup page's "Browse"). The placement of text and buttons is portable; the
// windows are Windows-only (TDRXEdit, TDRXEditButton, further down).

#include <cstdint>
#include <span>
#include <vector>

#include "DRX.Graphics.Types.h"

// One embedded button as the layout sees it: its width (pixels of the current
// DPI) and whether it shows.
struct TDRXEditButtonSlot {
  int32_t Width = 0;
  bool Visible = true;
};

struct TDRXEditLayout {
  TRect Text;                  // where the edit window goes
  std::vector<TRect> Buttons;  // one per slot, in slot order; empty for a hidden one
};

// Buttons are placed side by side at the right end of the area, in slot order
// from left to right, each as high as the area; the text takes the rest, less
// the gap before the first visible button. Buttons that do not fit push the
// text to nothing and are cut at the area's left edge.
TDRXEditLayout CalculateEditLayout(const TRect& area, std::span<const TDRXEditButtonSlot> buttons, int32_t gap);
