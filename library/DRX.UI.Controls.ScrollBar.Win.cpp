#include <windows.h>

#include <cstdlib>

#include "DRX.UI.Controls.ScrollBar.h"

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatInterval = 50;

int32_t AlongBar(TPoint point, TDRXOrientation orientation) { return orientation == orVertical ? point.Y : point.X; }

int32_t StartOf(const TRect& rect, TDRXOrientation orientation) {
  return orientation == orVertical ? rect.Top : rect.Left;
}

}  // namespace

TDRXScrollBar::TDRXScrollBar(TDRXComponent* owner, TDRXOrientation orientation)
    : TDRXWinControl(owner), orientation_(orientation), style_(this) {
  SetTabStop(false);
}

TDRXScrollBar::~TDRXScrollBar() { DestroyHandle(); }

void TDRXScrollBar::SetValues(const TDRXScrollValues& values) {
  TDRXScrollValues shown = values;
  // While the thumb is dragged it stays where the mouse put it (the owner may
  // not move its own position until the release).
  if (pressed_ == spThumb) shown.Position = ClampScrollPosition(values, trackPosition_);
  if (shown == values_) return;
  values_ = shown;
  Invalidate();
}

void TDRXScrollBar::PrepareStyle() {
  if (style_.TargetDPI() != CurrentDPI()) style_.SetTargetDPI(CurrentDPI());
}

int32_t TDRXScrollBar::Thickness() {
  PrepareStyle();
  const TDRXResourceTexture& arrows = style_.Textures(sbtArrows);
  return orientation_ == orVertical ? arrows.FrameWidth() : arrows.FrameHeight();
}

TDRXScrollBarMetrics TDRXScrollBar::Metrics() {
  PrepareStyle();
  const TDRXResourceTexture& arrows = style_.Textures(sbtArrows);
  const TDRXMargins thumb = style_.Textures(orientation_ == orVertical ? sbtThumbVert : sbtThumbHorz).Margins();
  TDRXScrollBarMetrics metrics;
  metrics.ArrowSize = orientation_ == orVertical ? arrows.FrameHeight() : arrows.FrameWidth();
  metrics.MinThumbSize =
      std::max(orientation_ == orVertical ? thumb.Top + thumb.Bottom : thumb.Left + thumb.Right, ScaleFactor().Apply(8));
  return metrics;
}

TDRXScrollBarLayout TDRXScrollBar::Layout() {
  return CalculateScrollBarLayout(ClientRect(), orientation_, Metrics(), values_);
}

void TDRXScrollBar::Paint(HDC dc) {
  const TDRXScrollBarLayout layout = Layout();
  const bool enabled = EnabledInTree() && CanScroll(values_);
  style_.Textures(sbtTrack).Draw(dc, ClientRect(), enabled ? 0 : 1);
  const TDRXResourceTexture& arrows = style_.Textures(sbtArrows);
  arrows.Draw(dc, layout.LineUp, ScrollArrowFrame(orientation_, false, ScrollPartState(spLineUp, enabled, hot_, pressed_)));
  arrows.Draw(dc, layout.LineDown,
              ScrollArrowFrame(orientation_, true, ScrollPartState(spLineDown, enabled, hot_, pressed_)));
  if (!layout.Thumb.IsEmpty())
    style_.Textures(orientation_ == orVertical ? sbtThumbVert : sbtThumbHorz)
        .Draw(dc, layout.Thumb, ScrollPartState(spThumb, enabled, hot_, pressed_));
}

void TDRXScrollBar::Report(int code, int32_t position) {
  if (OnScroll) OnScroll(*this, code, position);
}

void TDRXScrollBar::Step(TDRXScrollBarPart part) {
  const TDRXScrollBarLayout layout = Layout();
  // A page step stops once the thumb has reached the point that holds the button.
  if (part == spPageUp && !layout.PageUp.Contains(pressPoint_)) return;
  if (part == spPageDown && !layout.PageDown.Contains(pressPoint_)) return;
  const int32_t page = std::max(values_.PageSize, 1);
  switch (part) {
    case spLineUp: Report(SB_LINEUP, ClampScrollPosition(values_, values_.Position - 1)); break;
    case spLineDown: Report(SB_LINEDOWN, ClampScrollPosition(values_, values_.Position + 1)); break;
    case spPageUp: Report(SB_PAGEUP, ClampScrollPosition(values_, values_.Position - page)); break;
    case spPageDown: Report(SB_PAGEDOWN, ClampScrollPosition(values_, values_.Position + page)); break;
    default: break;
  }
}

void TDRXScrollBar::StopRepeat() {
  if (repeating_ && HandleAllocated()) KillTimer(handle_, kRepeatTimer);
  repeating_ = false;
}

void TDRXScrollBar::SetHot(TDRXScrollBarPart part) {
  if (part == hot_) return;
  hot_ = part;
  Invalidate();
}

void TDRXScrollBar::MouseDown(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft || !CanScroll(values_)) return;
  pressPoint_ = {x, y};
  const TDRXScrollBarLayout layout = Layout();
  pressed_ = ScrollBarHitTest(layout, pressPoint_);
  SetHot(pressed_);
  Invalidate();
  if (pressed_ == spThumb) {
    dragOffset_ = AlongBar(pressPoint_, orientation_) - StartOf(layout.Thumb, orientation_);
    trackPosition_ = values_.Position;
    return;
  }
  if (pressed_ == spNone) return;
  const std::weak_ptr<const void> alive = AliveToken();
  Step(pressed_);
  if (alive.expired() || !HandleAllocated()) return;
  repeating_ = SetTimer(handle_, kRepeatTimer, kFirstRepeatDelay, nullptr) != 0;
}

void TDRXScrollBar::MouseMove(TShiftState, int32_t x, int32_t y) {
  const TPoint point{x, y};
  const TDRXScrollBarLayout layout = Layout();
  if (pressed_ == spThumb) {
    const int32_t position =
        ScrollPositionFromThumb(layout, orientation_, values_, AlongBar(point, orientation_) - dragOffset_);
    if (position == trackPosition_) return;
    trackPosition_ = position;
    values_.Position = position;
    Invalidate();
    Report(SB_THUMBTRACK, position);
    return;
  }
  if (pressed_ != spNone) pressPoint_ = point;
  SetHot(ScrollBarHitTest(layout, point));
}

void TDRXScrollBar::MouseUp(TMouseButton button, TShiftState, int32_t x, int32_t y) {
  if (button != mbLeft || pressed_ == spNone) return;
  StopRepeat();
  const TDRXScrollBarPart released = std::exchange(pressed_, spNone);
  SetHot(ScrollBarHitTest(Layout(), {x, y}));
  Invalidate();
  const std::weak_ptr<const void> alive = AliveToken();
  if (released == spThumb) Report(SB_THUMBPOSITION, trackPosition_);
  if (!alive.expired()) Report(SB_ENDSCROLL, values_.Position);
}

void TDRXScrollBar::MouseLeave() {
  if (pressed_ == spNone) SetHot(spNone);
}

bool TDRXScrollBar::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::ScrollBar;
  item.Value = AccessiblePercent(values_.Min, MaxScrollPosition(values_), values_.Position);
  return true;
}

intptr_t TDRXScrollBar::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam != kRepeatTimer) break;
      if (pressed_ == spNone || pressed_ == spThumb) {
        StopRepeat();
        return 0;
      }
      SetTimer(handle_, kRepeatTimer, kRepeatInterval, nullptr);
      if (ScrollBarHitTest(Layout(), pressPoint_) == pressed_ || pressed_ == spPageUp || pressed_ == spPageDown)
        Step(pressed_);
      return 0;
    case WM_CAPTURECHANGED:
      StopRepeat();
      if (pressed_ != spNone) {
        pressed_ = spNone;
        Invalidate();
      }
      break;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // Three lines a notch, towards the top for a wheel turned away (left for a tilt).
      const int notches = GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA;
      const bool towardsStart = message == WM_MOUSEWHEEL ? notches > 0 : notches < 0;
      const std::weak_ptr<const void> alive = AliveToken();
      for (int i = 0; i < 3 * std::abs(notches) && !alive.expired(); ++i) Step(towardsStart ? spLineUp : spLineDown);
      if (!alive.expired() && notches != 0) Report(SB_ENDSCROLL, values_.Position);
      return 0;
    }
    default:
      break;
  }
  return TDRXWinControl::WndProc(message, wParam, lParam);
}
