#pragma once
// The image combo box: a drop-down list whose items carry a text, a picture of
// an image list, a tag and a data value (the language dialog lists languages
// with their icons, language ids as tags and file indexes as data). The item
// list and its sorted insertion are portable; the window is Windows-only.

#include <cstdint>
#include <functional>
#include <vector>

#include "DRX.Strings.h"

class TDRXImageList;

struct TDRXImageComboBoxItem {
  UString Text;
  int ImageIndex = -1;  // into the combo box's image list; -1 for none
  int32_t Tag = 0;
  intptr_t Data = 0;
};

// The position at which an item of that text keeps the list sorted by text,
// compared ignoring case under the user's locale: after every item whose text
// is equal or less, so equal texts stay in the order they were inserted. The
// list is assumed sorted.
int SortedInsertionIndex(const std::vector<TDRXImageComboBoxItem>& items, UStringView text);

class TDRXImageComboBoxItems {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // std::out_of_range for an index outside the list.
  const TDRXImageComboBoxItem& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
  const std::vector<TDRXImageComboBoxItem>& Items() const { return items_; }

  // Each returns the index the item got. Insert clamps the index to 0 .. Count.
  int Add(TDRXImageComboBoxItem item);
  int Insert(int index, TDRXImageComboBoxItem item);
  int AddSorted(TDRXImageComboBoxItem item);
  void Delete(int index);  // an index outside the list does nothing
  void Clear();

  // The first item with that tag or data value; -1 for none.
  int IndexOfTag(int32_t tag) const;
  int IndexOfData(intptr_t data) const;

  // Told after every change with the index of the item inserted or deleted
  // (-1 after Clear); the window keeps its list in step through it.
  enum TChange : uint8_t { chInserted, chDeleted, chCleared };
  std::function<void(TChange change, int index)> OnChange;

 private:
  int IndexWhere(const std::function<bool(const TDRXImageComboBoxItem&)>& matches) const;
  void Tell(TChange change, int index) {
    if (OnChange) OnChange(change, index);
  }
  std::vector<TDRXImageComboBoxItem> items_;
};
