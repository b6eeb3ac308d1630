#include "DRX.Classes.StringList.h"

#include <algorithm>
#include <climits>

#include "DRX.Platform.h"

namespace {

constexpr char16_t kCR = u'\r';
constexpr char16_t kLF = u'\n';
constexpr char16_t kLineSeparator = u'\u2028';

using TUpdateScope = TDRXUpdateScope<TDRXStringList>;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

size_t DigitRunEnd(UStringView text, size_t start, bool digits) {
  while (start < text.size() && IsDigit(text[start]) == digits) ++start;
  return start;
}

// Compares two runs of decimal digits by their numeric value, whatever their length.
int CompareNumbers(UStringView a, UStringView b) {
  const auto significant = [](UStringView digits) {
    const size_t first = digits.find_first_not_of(u'0');
    return first == UStringView::npos ? UStringView() : digits.substr(first);
  };
  a = significant(a);
  b = significant(b);
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  const int order = a.compare(b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

}  // namespace

int CompareLogical(UStringView a, UStringView b) {
  size_t i = 0, j = 0;
  while (i < a.size()) {
    if (j >= b.size()) return 1;
    const bool digitA = IsDigit(a[i]), digitB = IsDigit(b[j]);
    size_t endA = i + 1, endB = j + 1;
    if (digitA == digitB) {
      endA = DigitRunEnd(a, i, digitA);
      endB = DigitRunEnd(b, j, digitB);
    }
    const UStringView runA = a.substr(i, endA - i), runB = b.substr(j, endB - j);
    const int order = digitA && digitB ? CompareNumbers(runA, runB) : PlatformCompareText(runA, runB, true);
    if (order != 0) return order;
    i = endA;
    j = endB;
  }
  return j < b.size() ? -1 : 0;
}

void TDRXStringList::SetCapacity(int capacity) {
  capacity = std::max(capacity, Count());
  if (capacity == capacity_) return;
  std::vector<TDRXStringListItem> resized;
  resized.reserve(static_cast<size_t>(capacity));
  std::move(items_.begin(), items_.end(), std::back_inserter(resized));
  items_.swap(resized);
  capacity_ = capacity;
}

void TDRXStringList::Grow() {
  const int64_t delta = capacity_ <= 8 ? 4 : (capacity_ <= 64 ? 16 : capacity_ / 4);
  SetCapacity(static_cast<int>(std::min<int64_t>(int64_t(capacity_) + delta, INT_MAX)));
}

int TDRXStringList::Add(UStringView text, int64_t data, TDRXInterfaceRef intf) {
  const int index = Count();
  Insert(index, text, data, std::move(intf));
  return index;
}

void TDRXStringList::Insert(int index, UStringView text, int64_t data, TDRXInterfaceRef intf) {
  if (index < 0 || index > Count()) return;
  if (Count() == capacity_) Grow();
  items_.insert(items_.begin() + index, TDRXStringListItem{std::move(intf), data, UString(text)});
  Changed();
}

bool TDRXStringList::Delete(int index, int count) {
  if (!ValidIndex(index) || count <= 0 || int64_t(index) + count > Count()) return false;
  items_.erase(items_.begin() + index, items_.begin() + index + count);
  Changed();
  return true;
}

void TDRXStringList::Clear() {
  const bool hadItems = !items_.empty();
  std::vector<TDRXStringListItem>().swap(items_);
  capacity_ = 0;
  if (hadItems) Changed();
}

const UString& TDRXStringList::Strings(int index) const {
  static const UString empty;
  return ValidIndex(index) ? items_[index].Text : empty;
}

void TDRXStringList::Put(int index, UStringView text) {
  if (!ValidIndex(index)) return;
  items_[index].Text = UString(text);
  Changed();
}

int64_t TDRXStringList::Data(int index) const { return ValidIndex(index) ? items_[index].Data : 0; }

void TDRXStringList::SetData(int index, int64_t data) {
  if (ValidIndex(index)) items_[index].Data = data;
}

TDRXInterfaceRef TDRXStringList::Interface(int index) const {
  return ValidIndex(index) ? items_[index].Interface : nullptr;
}

UString TDRXStringList::Names(int index) const {
  const UString& line = Strings(index);
  const size_t separator = line.find(nameValueSeparator_);
  return separator == UString::npos ? UString() : line.substr(0, separator);
}

UString TDRXStringList::ValueFromIndex(int index) const {
  const UString& line = Strings(index);
  const size_t separator = line.find(nameValueSeparator_);
  return separator == UString::npos ? line : line.substr(separator + 1);
}

UString TDRXStringList::Values(UStringView name) const {
  const int index = IndexOfName(name);
  return index < 0 ? UString() : ValueFromIndex(index);
}

void TDRXStringList::SetValue(UStringView name, UStringView value) {
  UString line(name);
  line.push_back(nameValueSeparator_);
  line.append(value);
  const int index = IndexOfName(name);
  if (index < 0) {
    Add(line);
  } else {
    Put(index, line);
  }
}

bool TDRXStringList::SameLine(UStringView a, UStringView b) const {
  return a.size() == b.size() && PlatformCompareText(a, b, ignoreCase_) == 0;
}

int TDRXStringList::IndexOf(UStringView text) const {
  for (int i = 0; i < Count(); ++i)
    if (SameLine(items_[i].Text, text)) return i;
  return -1;
}

int TDRXStringList::IndexOfName(UStringView name) const {
  for (int i = Count() - 1; i >= 0; --i) {
    const UStringView line = items_[i].Text;
    if (line.size() > name.size() && line[name.size()] == nameValueSeparator_ && SameLine(line.substr(0, name.size()), name))
      return i;
  }
  return -1;
}

UString TDRXStringList::Text() const { return GetDelimitedText(u"\r\n", true); }

UString TDRXStringList::GetDelimitedText(UStringView separator, bool trailing) const {
  UString text;
  for (int i = 0; i < Count(); ++i) {
    if (i > 0) text.append(separator);
    text.append(items_[i].Text);
  }
  if (trailing && Count() > 0) text.append(separator);
  return text;
}

void ForEachLine(UStringView text, const std::function<void(UStringView)>& onLine) {
  size_t start = 0, i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c != kCR && c != kLF && c != kLineSeparator) {
      ++i;
      continue;
    }
    onLine(text.substr(start, i - start));
    ++i;
    if (c == kLineSeparator && i < text.size() && text[i] == kCR) ++i;
    if (c != kLF && i < text.size() && text[i] == kLF) ++i;
    start = i;
  }
  if (start < text.size()) onLine(text.substr(start));
}

void TDRXStringList::SetText(UStringView text) {
  TUpdateScope update(*this);
  Clear();
  ForEachLine(text, [this](UStringView line) { Add(line); });
}

void TDRXStringList::LoadFromStream(TStream& stream, std::optional<TDRXEncoding> encoding) {
  if (stream.Size() == 0) {
    Clear();
    return;
  }
  TDRXEncoding detected;
  SetText(DecodeTextDetectingEncoding(ReadRemainingBytes(stream), encoding.value_or(TDRXEncoding::Ansi()), detected));
}

void TDRXStringList::SaveToStream(TStream& stream, std::optional<TDRXEncoding> encoding) {
  const TDRXEncoding target = encoding.value_or(TDRXEncoding::Utf16LE());
  const std::string bytes = EncodingPreamble(target) + EncodeText(target, Text());
  stream.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
}

void TDRXStringList::Assign(const TDRXStringList& other) {
  if (&other == this) return;
  TUpdateScope update(*this);
  Clear();
  SetCapacity(other.Count());
  for (const auto& item : other.items_) Add(item.Text, item.Data, item.Interface);
}

int TDRXStringList::RemoveDuplicates() {
  // Ordered by length, then by the list's comparison (a stable order), equal
  // lines stand side by side with the first of them leading: n log n
  // comparisons where a search for each line's first occurrence takes n².
  std::vector<int> order(items_.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
    const UString& x = items_[a].Text;
    const UString& y = items_[b].Text;
    return x.size() != y.size() ? x.size() < y.size() : PlatformCompareText(x, y, ignoreCase_) < 0;
  });
  std::vector<bool> duplicate(items_.size(), false);
  for (size_t k = 1; k < order.size(); ++k) {
    if (SameLine(items_[order[k - 1]].Text, items_[order[k]].Text)) duplicate[order[k]] = true;
  }
  TUpdateScope update(*this);
  int removed = 0;
  for (int i = Count() - 1; i > 0; --i) {
    if (duplicate[i]) {
      Delete(i);
      ++removed;
    }
  }
  return removed;
}

template <typename Less>
void TDRXStringList::SortBy(Less less) {
  if (Count() < 2) return;
  std::stable_sort(items_.begin(), items_.end(),
                   [&](const TDRXStringListItem& a, const TDRXStringListItem& b) { return less(a.Text, b.Text); });
  Changed();
}

void TDRXStringList::Sort() {
  SortBy([](UStringView a, UStringView b) { return PlatformCompareText(a, b, false) < 0; });
}

void TDRXStringList::SortLogical() {
  SortBy([](UStringView a, UStringView b) { return CompareLogical(a, b) < 0; });
}
