#pragma once
// The image combo box: a drop-down list whose items carry a text, a picture of
// an image list, a tag and a data value (the language dialog lists languages
// with their icons, language ids as tags and file indexes as data). The item
// list and its sorted insertion are portable; the window is Windows-only.

#include <cstdint>
#include <functional>
#include <vector>

#include "DRX.Strings.h"
#include "DRX.UI.Controls.EditBox.h"

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

// The index an item at `selected` has after an insertion or deletion at
// `index` (-1 for none; the deleted item itself is no longer selected).
int SelectionAfterChange(int selected, TDRXImageComboBoxItems::TChange change, int index);

// Colour slots of the drop-down list, after the shared ones.
enum TDRXComboBoxColorSlot : uint8_t { ecsSelection = 4, ecsTextSelected };

// "ComboBox.Textures.Border", "ComboBox.Textures.Arrow" (frames normal,
// hover, disabled) and the popup's selection colours for the list.
class TDRXStyleImageComboBox : public TDRXStyleEditBox {
 public:
  explicit TDRXStyleImageComboBox(IDRXStyleOwner* owner = nullptr);
  TDRXResourceTexture& Arrow() const { return Textures(etsArrow); }
};

#ifdef _WIN32
#include <memory>

class TDRXImageComboBox;

// The system drop-down list inside the image combo box, its face painted by the
// combo box, its items drawn by it.
class TDRXInnerComboBox : public TDRXInnerWindow {
 public:
  explicit TDRXInnerComboBox(TDRXImageComboBox& comboBox);
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override;
  // Enter and Escape close an open list.
  bool KeepsKey(uint16_t key) const override;
  // A combo box named after the control, its value the selected item's text.
  bool InnerAccessibleItem(TDRXAccessibleItem& item) override;

 private:
  TDRXImageComboBox& comboBox_;
};

// A drop-down list of items with pictures. The items can be filled before the
// window exists; ItemIndex is -1 when nothing is selected. OnChange runs when
// the user picks another item (not for SetItemIndex).
class TDRXImageComboBox : public TDRXCustomEditBox {
 public:
  explicit TDRXImageComboBox(TDRXComponent* owner = nullptr);
  ~TDRXImageComboBox() override;
  UString ClassName() const override { return u"TDRXImageComboBox"; }

  TDRXImageComboBoxItems& Items() { return items_; }
  const TDRXImageComboBoxItems& Items() const { return items_; }
  // The pictures of the items' ImageIndex; not owned, none for no pictures.
  TDRXImageList* Images() const { return images_; }
  void SetImages(TDRXImageList* images);
  int ItemIndex() const;
  void SetItemIndex(int index);  // an index outside the items selects nothing
  const TDRXImageComboBoxItem* SelectedItem() const;
  int DropDownCount() const { return dropDownCount_; }
  void SetDropDownCount(int count);
  bool DroppedDown() const;
  TDRXStyleImageComboBox& Style() { return static_cast<TDRXStyleImageComboBox&>(TDRXCustomEditBox::Style()); }
  TDRXSystemWindow* InnerControl() const { return inner_.get(); }

  TDRXNotifyEvent OnChange;

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

  // The face as the closed box shows it, into a device context whose origin is the client origin.
  void PaintFace(HDC__* dc);
  // One item (none for -1) into the rectangle, as the list or the face shows it.
  void DrawItem(HDC__* dc, int index, const TRect& rect, bool selected);
  // The height of one item of the list at the current DPI.
  int32_t ItemHeight();

 protected:
  TDRXSystemWindow* Inner() const override { return inner_.get(); }
  void Paint(HDC__* dc) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void FontChanged() override;
  void InnerHoverChanged(bool hover) override;

 private:
  void ItemsChanged(TDRXImageComboBoxItems::TChange change, int index);
  void FillList();
  void PlaceInner();

  TDRXImageComboBoxItems items_;
  TDRXImageList* images_ = nullptr;
  std::unique_ptr<TDRXInnerComboBox> inner_;
  int itemIndex_ = -1;  // while there is no inner window
  int dropDownCount_ = 8;
};
#endif
