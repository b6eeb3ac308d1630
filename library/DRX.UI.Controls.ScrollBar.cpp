#include "DRX.UI.Controls.ScrollBar.h"

#include <algorithm>

namespace {

struct TSpan {
  int32_t Start = 0;
  int32_t End = 0;
  int32_t Length() const { return End - Start; }
};

TSpan AxisOf(const TRect& rect, TDRXOrientation orientation) {
  return orientation == orVertical ? TSpan{rect.Top, rect.Bottom} : TSpan{rect.Left, rect.Right};
}

// The rectangle across the whole bar whose extent along it is the span.
TRect AlongBar(const TRect& bounds, TDRXOrientation orientation, TSpan span) {
  if (orientation == orVertical) return {bounds.Left, span.Start, bounds.Right, span.End};
  return {span.Start, bounds.Top, span.End, bounds.Bottom};
}

int64_t RangeOf(const TDRXScrollValues& values) {
  return static_cast<int64_t>(values.Max) - values.Min + 1;
}

// a × b ÷ c rounded to nearest, for non-negative a and b and positive c; the
// product of a pixel length and a 32-bit range needs more than 64 bits.
int64_t ScaleRounded(int64_t a, int64_t b, int64_t c) {
  const __int128 product = static_cast<__int128>(a) * b;
  return static_cast<int64_t>((product + c / 2) / c);
}

int32_t ThumbLength(const TDRXScrollValues& values, int32_t track, int32_t minThumb) {
  const int64_t range = RangeOf(values);
  const int64_t page = std::max<int32_t>(values.PageSize, 0);
  const int64_t proportional = page > 0 ? ScaleRounded(track, page, range) : 0;
  return static_cast<int32_t>(std::clamp<int64_t>(proportional, minThumb, track));
}

}  // namespace

int32_t MaxScrollPosition(const TDRXScrollValues& values) {
  const int64_t highest = static_cast<int64_t>(values.Max) - std::max(values.PageSize - 1, 0);
  return static_cast<int32_t>(std::max<int64_t>(highest, values.Min));
}

int32_t ClampScrollPosition(const TDRXScrollValues& values, int32_t position) {
  return std::clamp(position, values.Min, MaxScrollPosition(values));
}

bool CanScroll(const TDRXScrollValues& values) { return MaxScrollPosition(values) > values.Min; }

TDRXScrollBarLayout CalculateScrollBarLayout(const TRect& bounds, TDRXOrientation orientation,
                                             const TDRXScrollBarMetrics& metrics, const TDRXScrollValues& values) {
  const TSpan bar = AxisOf(bounds, orientation);
  const int32_t length = std::max(bar.Length(), 0);
  const int32_t arrow = std::clamp(metrics.ArrowSize, 0, length / 2);
  const TSpan track{bar.Start + arrow, bar.Start + length - arrow};
  TDRXScrollBarLayout layout;
  layout.LineUp = AlongBar(bounds, orientation, {bar.Start, track.Start});
  layout.LineDown = AlongBar(bounds, orientation, {track.End, bar.Start + length});
  const int32_t minThumb = std::max(metrics.MinThumbSize, 1);
  if (!CanScroll(values) || track.Length() < minThumb) {
    layout.PageUp = AlongBar(bounds, orientation, track);
    layout.PageDown = AlongBar(bounds, orientation, {track.End, track.End});
    return layout;
  }
  const int32_t thumb = ThumbLength(values, track.Length(), minThumb);
  const int64_t travel = track.Length() - thumb;
  const int64_t steps = static_cast<int64_t>(MaxScrollPosition(values)) - values.Min;
  const int64_t offset = static_cast<int64_t>(ClampScrollPosition(values, values.Position)) - values.Min;
  const int32_t thumbStart = track.Start + static_cast<int32_t>(ScaleRounded(travel, offset, steps));
  layout.PageUp = AlongBar(bounds, orientation, {track.Start, thumbStart});
  layout.Thumb = AlongBar(bounds, orientation, {thumbStart, thumbStart + thumb});
  layout.PageDown = AlongBar(bounds, orientation, {thumbStart + thumb, track.End});
  return layout;
}

TDRXScrollBarPart ScrollBarHitTest(const TDRXScrollBarLayout& layout, TPoint point) {
  if (layout.Thumb.Contains(point)) return spThumb;
  if (layout.LineUp.Contains(point)) return spLineUp;
  if (layout.LineDown.Contains(point)) return spLineDown;
  if (layout.PageUp.Contains(point)) return spPageUp;
  if (layout.PageDown.Contains(point)) return spPageDown;
  return spNone;
}

int32_t ScrollPositionFromThumb(const TDRXScrollBarLayout& layout, TDRXOrientation orientation,
                                const TDRXScrollValues& values, int32_t thumbStart) {
  if (layout.Thumb.IsEmpty()) return ClampScrollPosition(values, values.Position);
  const TSpan track{AxisOf(layout.PageUp, orientation).Start, AxisOf(layout.PageDown, orientation).End};
  const int64_t travel = track.Length() - AxisOf(layout.Thumb, orientation).Length();
  if (travel <= 0) return values.Min;
  const int64_t steps = static_cast<int64_t>(MaxScrollPosition(values)) - values.Min;
  const int64_t offset = std::clamp<int64_t>(static_cast<int64_t>(thumbStart) - track.Start, 0, travel);
  return static_cast<int32_t>(values.Min + ScaleRounded(offset, steps, travel));
}

TDRXScrollPartState ScrollPartState(TDRXScrollBarPart part, bool enabled, TDRXScrollBarPart hot,
                                    TDRXScrollBarPart pressed) {
  if (!enabled) return psDisabled;
  if (pressed != spNone) return part == pressed && hot == pressed ? psPressed : psNormal;
  return part == hot ? psHot : psNormal;
}

int32_t ScrollArrowFrame(TDRXOrientation orientation, bool second, TDRXScrollPartState state) {
  const int32_t group = (orientation == orVertical ? 0 : 2) + (second ? 1 : 0);
  return group * 4 + state;
}

TDRXStyleScrollBar::TDRXStyleScrollBar(IDRXStyleOwner* owner) : TDRXStyle(owner) {
  AddTexture(sbtTrack, u"ScrollBar.Textures.Track");
  AddTexture(sbtThumbVert, u"ScrollBar.Textures.ThumbVert");
  AddTexture(sbtThumbHorz, u"ScrollBar.Textures.ThumbHorz");
  AddTexture(sbtArrows, u"ScrollBar.Textures.Arrows");
}
