#pragma once
// The skinned memo: a border of the skin ("Memo" and "EditBox" resources)
// around an inner editing window, with skinned scroll bars that mirror the
// inner window's own. The inner window keeps its system scroll bars (so it
// scrolls and reports its scroll state as usual), but it is made larger by
// their size and cut back by a window region, so that only the skinned bars
// show. A subclass replaces the inner window (the wizard's rich viewer makes it
// a rich edit window). The placement is portable; the windows are Windows-only.

#include <cstdint>

#include "DRX.Graphics.Types.h"

enum TDRXScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

constexpr bool HasVerticalBar(TDRXScrollStyle style) { return style == ssVertical || style == ssBoth; }
constexpr bool HasHorizontalBar(TDRXScrollStyle style) { return style == ssHorizontal || style == ssBoth; }

struct TDRXMemoLayout {
  TRect InnerWindow;   // the inner window, in the memo's client coordinates
  TRect InnerVisible;  // the part of it that shows, in its own coordinates
  TRect VertBar;       // empty without a vertical bar
  TRect HorzBar;       // empty without a horizontal bar
  TRect Corner;        // between the two bars when both show
};

// The content area is what the border leaves; the skinned bars (barSize thick)
// take its right and bottom edges; the inner window covers the rest and
// reaches under the bars by the system bars' sizes (systemBars: the vertical
// bar's width and the horizontal bar's height), which its region cuts off. A
// content area too small for the bars leaves the inner window no visible part.
TDRXMemoLayout CalculateMemoLayout(const TRect& content, TDRXScrollStyle bars, int32_t barSize, TSize systemBars);
