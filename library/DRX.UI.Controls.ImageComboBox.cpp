#include "DRX.UI.Controls.ImageComboBox.h"

#include <algorithm>

#include "DRX.Platform.h"

int SortedInsertionIndex(const std::vector<TDRXImageComboBoxItem>& items, UStringView text) {
  const auto after = std::upper_bound(items.begin(), items.end(), text,
                                      [](UStringView name, const TDRXImageComboBoxItem& item) {
                                        return PlatformCompareText(name, item.Text, true) < 0;
                                      });
  return static_cast<int>(after - items.begin());
}

int TDRXImageComboBoxItems::Add(TDRXImageComboBoxItem item) { return Insert(Count(), std::move(item)); }

int TDRXImageComboBoxItems::Insert(int index, TDRXImageComboBoxItem item) {
  index = std::clamp(index, 0, Count());
  items_.insert(items_.begin() + index, std::move(item));
  Tell(chInserted, index);
  return index;
}

int TDRXImageComboBoxItems::AddSorted(TDRXImageComboBoxItem item) {
  const int index = SortedInsertionIndex(items_, item.Text);
  return Insert(index, std::move(item));
}

void TDRXImageComboBoxItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
  Tell(chDeleted, index);
}

void TDRXImageComboBoxItems::Clear() {
  items_.clear();
  Tell(chCleared, -1);
}

int TDRXImageComboBoxItems::IndexWhere(const std::function<bool(const TDRXImageComboBoxItem&)>& matches) const {
  const auto found = std::find_if(items_.begin(), items_.end(), matches);
  return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

int TDRXImageComboBoxItems::IndexOfTag(int32_t tag) const {
  return IndexWhere([tag](const auto& item) { return item.Tag == tag; });
}

int TDRXImageComboBoxItems::IndexOfData(intptr_t data) const {
  return IndexWhere([data](const auto& item) { return item.Data == data; });
}

int SelectionAfterChange(int selected, TDRXImageComboBoxItems::TChange change, int index) {
  if (selected < 0) return -1;
  switch (change) {
    case TDRXImageComboBoxItems::chInserted: return index <= selected ? selected + 1 : selected;
    case TDRXImageComboBoxItems::chDeleted:
      if (index == selected) return -1;
      return index < selected ? selected - 1 : selected;
    case TDRXImageComboBoxItems::chCleared:
    default: return -1;
  }
}

TDRXStyleImageComboBox::TDRXStyleImageComboBox(IDRXStyleOwner* owner)
    : TDRXStyleEditBox(owner, u"ComboBox.Textures.Border") {
  AddTexture(etsArrow, u"ComboBox.Textures.Arrow");
  AddColor(ecsSelection, u"Popup.Colors.Selection");
  AddColor(ecsTextSelected, u"Popup.Colors.TextSelected");
}
