#include "DRX.UI.Accessibility.h"

#include <algorithm>
#include <numeric>

namespace {

bool OverlapVertically(const TRect& a, const TRect& b) { return a.Top < b.Bottom && b.Top < a.Bottom; }

}  // namespace

UString AccessiblePercent(double minimum, double maximum, double position) {
  if (!(maximum > minimum) || position != position) return u"0%";
  double share = (std::clamp(position, minimum, maximum) - minimum) / (maximum - minimum);
  return IntToStr(static_cast<int64_t>(share * 100.0 + 0.5)) + u"%";
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
