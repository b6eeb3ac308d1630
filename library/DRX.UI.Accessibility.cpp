#include "DRX.UI.Accessibility.h"

#include <algorithm>
#include <numeric>

namespace {

// The position of the accelerator's character in the caption, or npos.
size_t AcceleratorPosition(UStringView caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != u'&') continue;
    if (caption[i + 1] != u'&') return i + 1;
    ++i;  // "&&": a literal ampersand
  }
  return UStringView::npos;
}

bool OverlapVertically(const TRect& a, const TRect& b) { return a.Top < b.Bottom && b.Top < a.Bottom; }

}  // namespace

UString AccessibleNameFromCaption(UStringView caption) {
  UString name;
  name.reserve(caption.size());
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 >= caption.size()) break;
      ++i;
    }
    name += caption[i];
  }
  return name;
}

char16_t AcceleratorOfCaption(UStringView caption) {
  size_t position = AcceleratorPosition(caption);
  if (position == UStringView::npos) return 0;
  char16_t letter = caption[position];
  if (letter >= u'a' && letter <= u'z') letter = static_cast<char16_t>(letter - u'a' + u'A');
  return letter;
}

UString AccessibleShortcutOfCaption(UStringView caption) {
  char16_t letter = AcceleratorOfCaption(caption);
  if (letter == 0 || letter == u' ') return {};
  return UString(u"Alt+") + letter;
}

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
