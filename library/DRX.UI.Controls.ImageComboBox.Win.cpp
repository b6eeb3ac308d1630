#include <windows.h>

#include "DRX.Graphics.Colors.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.GDIPlus.h"
#include "DRX.UI.Controls.ImageComboBox.h"
#include "DRX.UI.Controls.ImageList.h"

namespace {

constexpr int kInnerControlId = 1;
constexpr int32_t kItemPadding = 2;  // around an item's picture and text, at 96 DPI
enum TArrowFrame : int32_t { afNormal, afHover, afDisabled };

std::unique_ptr<TDRXStyleEditBox> MakeComboStyle(IDRXStyleOwner* owner) {
  return std::make_unique<TDRXStyleImageComboBox>(owner);
}

}  // namespace

// ---- TDRXInnerComboBox ----

TDRXInnerComboBox::TDRXInnerComboBox(TDRXImageComboBox& comboBox) : TDRXInnerWindow(comboBox), comboBox_(comboBox) {}

void TDRXInnerComboBox::CreateParams(TDRXSystemWindowParams& params) {
  params.ClassName = u"COMBOBOX";
  params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED |
                 CBS_HASSTRINGS;
  if (!comboBox_.EnabledInTree()) params.Style |= WS_DISABLED;
}

bool TDRXInnerComboBox::KeepsKey(uint16_t key) const {
  return (key == VK_RETURN || key == VK_ESCAPE) && comboBox_.DroppedDown();
}

bool TDRXInnerComboBox::InnerAccessibleItem(TDRXAccessibleItem& item) {
  item.Role = TDRXAccessibleRole::ComboBox;
  item.Name = comboBox_.AccessibleName();
  const int selected = comboBox_.ItemIndex();
  if (selected >= 0 && selected < comboBox_.Items().Count()) item.Value = comboBox_.Items()[selected].Text;
  return true;
}

intptr_t TDRXInnerComboBox::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = BeginPaint(Handle(), &paint);
      RECT client{};
      GetClientRect(Handle(), &client);
      if (client.right > 0 && client.bottom > 0) {
        TDRXDIBCanvas buffer(client.right, client.bottom);
        comboBox_.PaintFace(buffer.DC());
        GdiFlush();
        BitBlt(dc, 0, 0, client.right, client.bottom, buffer.DC(), 0, 0, SRCCOPY);
      }
      EndPaint(Handle(), &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      comboBox_.PaintFace(reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return TDRXInnerWindow::WndProc(message, wParam, lParam);
  }
}

// ---- TDRXImageComboBox ----

TDRXImageComboBox::TDRXImageComboBox(TDRXComponent* owner) : TDRXCustomEditBox(owner, &MakeComboStyle) {
  items_.OnChange = [this](TDRXImageComboBoxItems::TChange change, int index) { ItemsChanged(change, index); };
}

TDRXImageComboBox::~TDRXImageComboBox() {
  inner_.reset();
  items_.OnChange = nullptr;
}

void TDRXImageComboBox::SetImages(TDRXImageList* images) {
  images_ = images;
  PlaceInner();
  Invalidate();
}

int TDRXImageComboBox::ItemIndex() const {
  if (!inner_ || !inner_->Handle()) return itemIndex_;
  const auto index = static_cast<int>(inner_->Perform(CB_GETCURSEL));
  return index >= 0 && index < items_.Count() ? index : -1;
}

void TDRXImageComboBox::SetItemIndex(int index) {
  if (index < 0 || index >= items_.Count()) index = -1;
  itemIndex_ = index;
  if (inner_ && inner_->Handle()) inner_->Perform(CB_SETCURSEL, static_cast<WPARAM>(index));
  Invalidate();
}

const TDRXImageComboBoxItem* TDRXImageComboBox::SelectedItem() const {
  const int index = ItemIndex();
  return index < 0 ? nullptr : &items_[index];
}

void TDRXImageComboBox::SetDropDownCount(int count) {
  dropDownCount_ = std::max(count, 1);
  PlaceInner();
}

bool TDRXImageComboBox::DroppedDown() const {
  return inner_ && inner_->Handle() && inner_->Perform(CB_GETDROPPEDSTATE) != 0;
}

void TDRXImageComboBox::ItemsChanged(TDRXImageComboBoxItems::TChange change, int index) {
  if (inner_ && inner_->Handle()) {
    switch (change) {
      case TDRXImageComboBoxItems::chInserted:
        inner_->Perform(CB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(W(items_[index].Text)));
        break;
      case TDRXImageComboBoxItems::chDeleted: inner_->Perform(CB_DELETESTRING, static_cast<WPARAM>(index)); break;
      case TDRXImageComboBoxItems::chCleared: inner_->Perform(CB_RESETCONTENT); break;
    }
  }
  itemIndex_ = SelectionAfterChange(itemIndex_, change, index);
  // Selected again also when the list kept it: the list's caret follows only a new selection.
  if (inner_ && inner_->Handle()) inner_->Perform(CB_SETCURSEL, static_cast<WPARAM>(itemIndex_));
  Invalidate();
}

void TDRXImageComboBox::FillList() {
  inner_->Perform(CB_RESETCONTENT);
  for (const TDRXImageComboBoxItem& item : items_.Items())
    inner_->Perform(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item.Text)));
  inner_->Perform(CB_SETCURSEL, static_cast<WPARAM>(itemIndex_));
}

int32_t TDRXImageComboBox::ItemHeight() {
  const int32_t image = images_ ? ScaleFactor().Apply(images_->Height()) : 0;
  return std::max(FontLineHeight(), image) + 2 * ScaleFactor().Apply(kItemPadding);
}

void TDRXImageComboBox::PlaceInner() {
  if (!inner_ || !inner_->Handle()) return;
  const HWND window = inner_->Handle();
  const int32_t itemHeight = ItemHeight();
  inner_->Perform(CB_SETITEMHEIGHT, 0, itemHeight);
  // The closed box takes the control's height: the selection field is what the frame leaves.
  int32_t field = std::max<int32_t>(Height() - 6, 1);
  for (int attempt = 0; attempt < 2; ++attempt) {
    inner_->Perform(CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT closed{};
    GetWindowRect(window, &closed);
    const int32_t difference = Height() - (closed.bottom - closed.top);
    if (difference == 0) break;
    field = std::max<int32_t>(field + difference, 1);
  }
  // The window's height with the list open: the closed box and the visible items.
  const int32_t dropped = Height() + dropDownCount_ * itemHeight + 2;
  SetWindowPos(window, nullptr, 0, 0, Width(), dropped, SWP_NOZORDER | SWP_NOACTIVATE);
  ::InvalidateRect(window, nullptr, FALSE);
}

void TDRXImageComboBox::HandleCreated() {
  TDRXCustomEditBox::HandleCreated();
  inner_ = std::make_unique<TDRXInnerComboBox>(*this);
  inner_->CreateIn(handle_, Bounds(0, 0, Width(), Height() + dropDownCount_ * ItemHeight()), kInnerControlId);
  ApplyFont();
  FillList();
  PlaceInner();
}

void TDRXImageComboBox::BoundsChanged() {
  TDRXCustomEditBox::BoundsChanged();
  PlaceInner();
}

void TDRXImageComboBox::FontChanged() {
  TDRXCustomEditBox::FontChanged();
  PlaceInner();
}

void TDRXImageComboBox::Paint(HDC dc) { PaintFace(dc); }

void TDRXImageComboBox::InnerHoverChanged(bool hover) {
  TDRXCustomEditBox::InnerHoverChanged(hover);
  if (inner_ && inner_->Handle()) ::InvalidateRect(inner_->Handle(), nullptr, FALSE);  // it shows the face
}

void TDRXImageComboBox::PaintFace(HDC dc) {
  PaintBackground(dc);
  TDRXCustomEditBox::Paint(dc);
  const TRect content = ContentRect();
  const TDRXResourceTexture& arrow = Style().Arrow();
  const int32_t arrowWidth = std::min(arrow.FrameWidth(), std::max(content.Width(), 0));
  const TRect arrowRect{content.Right - arrowWidth, content.Top, content.Right, content.Bottom};
  arrow.Draw(dc, arrowRect, EnabledInTree() ? (DroppedDown() || Hovered() ? afHover : afNormal) : afDisabled);
  DrawItem(dc, ItemIndex(), {content.Left, content.Top, arrowRect.Left, content.Bottom}, false);
}

void TDRXImageComboBox::DrawItem(HDC dc, int index, const TRect& rect, bool selected) {
  const bool enabled = EnabledInTree();
  if (selected) FillRectInColor(dc, rect, Style().Colors(ecsSelection).Value());
  if (index < 0 || index >= items_.Count()) return;
  const TDRXImageComboBoxItem& item = items_[index];
  const int32_t padding = ScaleFactor().Apply(kItemPadding);
  TRect text = ShrinkRect(rect, {padding, 0, padding, 0});
  if (images_) {
    const TSize cell{ScaleFactor().Apply(images_->Width()), ScaleFactor().Apply(images_->Height())};
    const int32_t top = rect.Top + FloorDiv(static_cast<int64_t>(rect.Height()) - cell.cy, 2);
    images_->Draw(dc, item.ImageIndex, TRect::FromSize({text.Left, top}, cell), enabled);
    text.Left += cell.cx + padding;
  }
  TColor color = AlphaColorToColor(Style().Colors(enabled ? ecsText : ecsTextDisabled).Value());
  if (selected) color = AlphaColorToColor(Style().Colors(ecsTextSelected).Value());
  TDRXSelection font(dc, ControlFontHandle(Font()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  RECT area = ToRECT(text);
  DrawTextW(dc, W(item.Text), static_cast<int>(item.Text.size()), &area,
            DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

intptr_t TDRXImageComboBox::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_MEASUREITEM: {
      auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (measure->CtlType != ODT_COMBOBOX) break;
      measure->itemHeight = static_cast<UINT>(measure->itemID == static_cast<UINT>(-1) ? std::max(Height() - 6, 1)
                                                                                      : ItemHeight());
      return TRUE;
    }
    case WM_DRAWITEM: {
      auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (draw->CtlType != ODT_COMBOBOX) break;
      const TRect rect{draw->rcItem.left, draw->rcItem.top, draw->rcItem.right, draw->rcItem.bottom};
      // The face is painted whole by PaintFace; this draws the rows of the open list.
      if (draw->itemState & ODS_COMBOBOXEDIT) return TRUE;
      FillRectInColor(draw->hDC, rect, ColorToAlphaColor(ContentColor()));
      DrawItem(draw->hDC, static_cast<int>(draw->itemID), rect, (draw->itemState & ODS_SELECTED) != 0);
      return TRUE;
    }
    case WM_COMMAND:
      if (inner_ && reinterpret_cast<HWND>(lParam) == inner_->Handle() && inner_->Handle()) {
        switch (HIWORD(wParam)) {
          case CBN_SELCHANGE:
            itemIndex_ = ItemIndex();
            Invalidate();
            if (inner_->Handle()) ::InvalidateRect(inner_->Handle(), nullptr, FALSE);
            if (OnChange) OnChange(*this);
            return 0;
          case CBN_DROPDOWN:
          case CBN_CLOSEUP:
            ::InvalidateRect(inner_->Handle(), nullptr, FALSE);
            return 0;
          default:
            break;
        }
      }
      break;
    default:
      break;
  }
  return TDRXCustomEditBox::WndProc(message, wParam, lParam);
}
