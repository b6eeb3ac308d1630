#pragma once
// The skinned scroll bar: its geometry (arrows, track, thumb) and the mapping
// between the thumb and the scroll position as pure functions, and on Windows
// the windowed control that draws them with the skin's "ScrollBar" textures and
// reports scrolling with the codes of WM_VSCROLL and WM_HSCROLL.
//
// Scroll values follow the system's scroll bars: a range Min .. Max, a page of
// PageSize positions, and Position from Min up to Max - (PageSize - 1).

#include <cstdint>

#include "DRX.Graphics.Types.h"

enum TDRXOrientation : uint8_t { orHorizontal, orVertical };

struct TDRXScrollValues {
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t PageSize = 0;
  int32_t Position = 0;
  bool operator==(const TDRXScrollValues&) const = default;
};

// The highest position the values allow (never below Min).
int32_t MaxScrollPosition(const TDRXScrollValues& values);
// The position brought into Min .. MaxScrollPosition.
int32_t ClampScrollPosition(const TDRXScrollValues& values, int32_t position);
// Whether there is anything to scroll: the page does not cover the range.
bool CanScroll(const TDRXScrollValues& values);

enum TDRXScrollBarPart : uint8_t { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

// The parts of a bar in its own coordinates. "Up" is the left or top end.
// Without room for a thumb (or with nothing to scroll) Thumb is empty and the
// two page areas are the whole track between them.
struct TDRXScrollBarLayout {
  TRect LineUp;
  TRect PageUp;
  TRect Thumb;
  TRect PageDown;
  TRect LineDown;
  bool operator==(const TDRXScrollBarLayout&) const = default;
};

struct TDRXScrollBarMetrics {
  int32_t ArrowSize = 0;     // length of each arrow button along the bar; 0 for none
  int32_t MinThumbSize = 8;  // the thumb never gets shorter
};

// Arrows that do not fit share the bar's length half and half (the track is
// then empty, or the odd pixel); the thumb is as long as the page is part of the range, at least
// MinThumbSize, and is left out when the track is shorter than that.
TDRXScrollBarLayout CalculateScrollBarLayout(const TRect& bounds, TDRXOrientation orientation,
                                             const TDRXScrollBarMetrics& metrics, const TDRXScrollValues& values);

// The part under the point (spNone outside every part).
TDRXScrollBarPart ScrollBarHitTest(const TDRXScrollBarLayout& layout, TPoint point);

// The position that puts the thumb's leading edge at `thumbStart` (a coordinate
// along the bar, as Left or Top of the thumb), rounded and clamped; the
// current position when the layout has no thumb.
int32_t ScrollPositionFromThumb(const TDRXScrollBarLayout& layout, TDRXOrientation orientation,
                                const TDRXScrollValues& values, int32_t thumbStart);
