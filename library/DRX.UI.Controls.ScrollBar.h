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
#include "DRX.UI.Resources.Styles.h"

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

// The look of one part: frames of the skin's scroll-bar textures.
enum TDRXScrollPartState : uint8_t { psNormal, psHot, psPressed, psDisabled };

// The state of a part from the bar's enabled flag, the part under the mouse
// and the part held down (pressed shows only while the mouse is over it).
TDRXScrollPartState ScrollPartState(TDRXScrollBarPart part, bool enabled, TDRXScrollBarPart hot,
                                    TDRXScrollBarPart pressed);
// The frame of an arrow texture laid out in groups up, down, left, right of
// four states each; `second` is the down or right arrow.
int32_t ScrollArrowFrame(TDRXOrientation orientation, bool second, TDRXScrollPartState state);

// The texture slots of TDRXStyleScrollBar.
enum TDRXScrollBarTextureSlot : uint8_t { sbtTrack, sbtThumbVert, sbtThumbHorz, sbtArrows };

// "ScrollBar.Textures.Track" (frames normal, disabled), ".ThumbVert" and
// ".ThumbHorz" (normal, hover, pressed, disabled) and ".Arrows".
class TDRXStyleScrollBar : public TDRXStyle {
 public:
  explicit TDRXStyleScrollBar(IDRXStyleOwner* owner = nullptr);
};

#ifdef _WIN32
#include <functional>

#include "DRX.UI.Controls.h"

class TDRXScrollBar;
// The scroll codes of WM_VSCROLL (SB_LINEUP ... SB_ENDSCROLL) and the position
// they lead to (the thumb's for SB_THUMBTRACK and SB_THUMBPOSITION).
using TDRXScrollEvent = std::function<void(TDRXScrollBar& sender, int code, int32_t position)>;

// A windowed bar that takes no focus. Clicks on an arrow or the track repeat
// while the button is held; dragging the thumb reports SB_THUMBTRACK on every
// step, SB_THUMBPOSITION at the release, and every gesture ends with
// SB_ENDSCROLL. The bar only reports: its owner sets the values it shows.
class TDRXScrollBar : public TDRXWinControl, private IDRXStyleOwner {
 public:
  explicit TDRXScrollBar(TDRXComponent* owner = nullptr, TDRXOrientation orientation = orVertical);
  ~TDRXScrollBar() override;
  UString ClassName() const override { return u"TDRXScrollBar"; }

  TDRXOrientation Orientation() const { return orientation_; }
  const TDRXScrollValues& Values() const { return values_; }
  void SetValues(const TDRXScrollValues& values);
  TDRXStyleScrollBar& Style() { return style_; }
  // The bar's thickness at the current DPI (the arrow texture's frame size).
  int32_t Thickness();
  TDRXScrollBarLayout Layout();

  TDRXScrollEvent OnScroll;

  // A scroll bar whose value is how far it stands, "0%" at the start.
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void Paint(HDC__* dc) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseLeave() override;

 private:
  void StyleChanged(TDRXStyle& style) override { Invalidate(); }
  void PrepareStyle();
  TDRXScrollBarMetrics Metrics();
  void Step(TDRXScrollBarPart part);
  void Report(int code, int32_t position);
  void StopRepeat();
  void SetHot(TDRXScrollBarPart part);

  TDRXOrientation orientation_;
  TDRXScrollValues values_;
  TDRXStyleScrollBar style_;
  TDRXScrollBarPart hot_ = spNone;
  TDRXScrollBarPart pressed_ = spNone;
  TPoint pressPoint_;
  int32_t dragOffset_ = 0;  // from the thumb's leading edge to the point that holds it
  int32_t trackPosition_ = 0;  // where the dragged thumb stands
  bool repeating_ = false;
};
#endif
