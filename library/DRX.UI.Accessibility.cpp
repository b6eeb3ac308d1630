#include "DRX.UI.Accessibility.h"

#include <algorithm>
#include <numeric>

namespace {

bool OverlapVertically(const TRect& a, const TRect& b) { return a.Top < b.Bottom && b.Top < a.Bottom; }

}  // namespace

UString AccessiblePercent(int64_t minimum, int64_t maximum, int64_t position) {
  if (maximum <= minimum) return u"0%";
  int64_t clamped = std::clamp(position, minimum, maximum);
  // Long double keeps the share exact enough for ranges near the int64 limits.
  long double share = static_cast<long double>(clamped - minimum) / static_cast<long double>(maximum - minimum);
  return IntToStr(static_cast<int64_t>(share * 100.0L + 0.5L)) + u"%";
}

std::vector<size_t> AccessibleReadingOrder(const std::vector<TRect>& bounds) {
  // Walk by top edge; an element that does not overlap the current row's
  // vertical extent opens the next row. Each row is then ordered by left edge.
  std::vector<size_t> order(bounds.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) { return bounds[a].Top < bounds[b].Top; });
  auto byLeft = [&](size_t a, size_t b) { return bounds[a].Left < bounds[b].Left; };
  size_t rowStart = 0;
  TRect row;
  for (size_t i = 0; i < order.size(); ++i) {
    const TRect& item = bounds[order[i]];
    if (i > rowStart && !OverlapVertically(row, item)) {
      std::stable_sort(order.begin() + rowStart, order.begin() + i, byLeft);
      rowStart = i;
    }
    if (i == rowStart) {
      row = item;
    } else {
      row.Top = std::min(row.Top, item.Top);
      row.Bottom = std::max(row.Bottom, item.Bottom);
    }
  }
  std::stable_sort(order.begin() + rowStart, order.end(), byLeft);
  return order;
}
