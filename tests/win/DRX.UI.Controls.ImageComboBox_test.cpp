// The image combo box on a real form: items filled sorted before and after
// the window exists, the system list in the same order, the selection the
// user makes, and the face painted with the selected item's picture.
#include "DRX.UI.Controls.ImageComboBox.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "DRX.Graphics.Colors.h"
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.ImageList.h"
#include "DRX.UI.Forms.h"
#include "TestSupport.h"

namespace {

constexpr COLORREF kIconColor = RGB(0, 160, 0);

// A 16 × 16 icon of one opaque colour.
void GreenIcon(TDRXImage& image) {
  std::vector<uint8_t> pixels(16 * 16 * 4);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    pixels[i] = GetBValue(kIconColor);
    pixels[i + 1] = GetGValue(kIconColor);
    pixels[i + 2] = GetRValue(kIconColor);
    pixels[i + 3] = 255;
  }
  image.Picture().AssignPixels(16, 16, pixels.data(), false);
}

class TLanguageForm : public TDRXForm {
 public:
  TLanguageForm() : images(16, 16) {
    SetBorderStyle(bsDialog);
    SetClientSize(220, 75);
    TDRXImage icon;
    GreenIcon(icon);
    images.Add(icon);
    box = new TDRXImageComboBox(this);
    box->SetImages(&images);
    box->SetBounds(8, 8, 204, 24);
    box->SetParent(this);
    box->OnChange = [this](TDRXCustomControl&) { changes.push_back(box->ItemIndex()); };
  }
  TDRXImageList images;
  TDRXImageComboBox* box;
  std::vector<int> changes;
};

std::vector<UString> ListTexts(HWND combo) {
  std::vector<UString> texts;
  const auto count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
    wchar_t text[64]{};
    SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    texts.push_back(FromW(text));
  }
  return texts;
}

std::vector<UString> ItemTexts(const TDRXImageComboBox& box) {
  std::vector<UString> texts;
  for (const auto& item : box.Items().Items()) texts.push_back(item.Text);
  return texts;
}

}  // namespace

TEST(ImageComboBox, KeepsSortedOrderAndReportsTheSelection) {
  TLanguageForm form;
  // Filled before the window exists, as the language dialog does.
  const char16_t* names[] = {u"Russian", u"english", u"Deutsch", u"English"};
  for (int i = 0; i < 4; ++i) form.box->Items().AddSorted({names[i], 0, 1000 + i, i});
  form.box->SetItemIndex(form.box->Items().IndexOfTag(1003));  // the second "English"
  form.Show();
  PumpMessages();
  ASSERT_NE(form.box->InnerControl(), nullptr);
  const HWND combo = form.box->InnerControl()->Handle();
  const std::vector<UString> expected = {u"Deutsch", u"english", u"English", u"Russian"};
  EXPECT_EQ(ItemTexts(*form.box), expected);
  EXPECT_EQ(ListTexts(combo), expected);
  EXPECT_EQ(form.box->ItemIndex(), 2);
  ASSERT_NE(form.box->SelectedItem(), nullptr);
  EXPECT_EQ(form.box->SelectedItem()->Data, 3);

  // Inserted with the window there: the list and the selection follow.
  form.box->Items().AddSorted({u"Dansk", -1, 1030, 4});
  form.box->Items().AddSorted({u"english", -1, 1031, 5});
  EXPECT_EQ(ListTexts(combo), (std::vector<UString>{u"Dansk", u"Deutsch", u"english", u"English", u"english",
                                                    u"Russian"}));
  EXPECT_EQ(form.box->ItemIndex(), 3);
  EXPECT_EQ(form.box->SelectedItem()->Data, 3);
  EXPECT_TRUE(form.changes.empty());  // nothing the user did

  // The user picks with the keyboard: Down moves to the next item and tells.
  SetFocus(combo);
  SendMessageW(combo, WM_KEYDOWN, VK_DOWN, 1);
  EXPECT_EQ(form.box->ItemIndex(), 4);
  EXPECT_EQ(form.box->SelectedItem()->Data, 5);
  EXPECT_EQ(form.changes, (std::vector<int>{4}));

  form.box->Items().Delete(4);
  EXPECT_EQ(form.box->ItemIndex(), -1);
  EXPECT_EQ(form.box->SelectedItem(), nullptr);
  form.box->SetItemIndex(99);
  EXPECT_EQ(form.box->ItemIndex(), -1);
}

TEST(ImageComboBox, TheFaceShowsTheSelectedItemsPicture) {
  TLanguageForm form;
  form.box->Items().Add({u"English", 0, 1033, 0});
  form.box->SetItemIndex(0);
  form.Show();
  PumpMessages();
  const HWND combo = form.box->InnerControl()->Handle();
  RECT placed{};
  GetWindowRect(combo, &placed);
  EXPECT_EQ(placed.bottom - placed.top, 24);  // the closed box is as high as the control
  TDRXDIBCanvas canvas(204, 24);
  form.box->PaintFace(canvas.DC());
  // The picture sits after the border and the padding, centred on the height.
  EXPECT_EQ(canvas.Pixel(8, 12), kIconColor);
  EXPECT_NE(canvas.Pixel(150, 12), kIconColor);
  form.box->SetItemIndex(-1);
  TDRXDIBCanvas empty(204, 24);
  form.box->PaintFace(empty.DC());
  EXPECT_NE(empty.Pixel(8, 12), kIconColor);
}

TEST(ImageComboBox, ListRowsShowPictureTextAndTheSelection) {
  TLanguageForm form;
  form.box->Items().Add({u"English", 0, 1033, 0});
  form.box->Items().Add({u"Deutsch", -1, 1031, 1});
  form.Show();
  PumpMessages();
  TDRXDIBCanvas canvas(200, 40);
  auto drawRow = [&](UINT item, UINT state, int top) {
    DRAWITEMSTRUCT draw{};
    draw.CtlType = ODT_COMBOBOX;
    draw.itemID = item;
    draw.itemState = state;
    draw.hDC = canvas.DC();
    draw.rcItem = {0, top, 200, top + 20};
    draw.hwndItem = form.box->InnerControl()->Handle();
    SendMessageW(form.box->Handle(), WM_DRAWITEM, 1, reinterpret_cast<LPARAM>(&draw));
  };
  drawRow(0, ODS_SELECTED, 0);
  drawRow(1, 0, 20);
  const COLORREF selection = AlphaColorToColor(form.box->Style().Colors(ecsSelection).Value());
  EXPECT_EQ(canvas.Pixel(190, 10), selection);
  EXPECT_EQ(canvas.Pixel(5, 10), kIconColor);
  EXPECT_EQ(canvas.Pixel(190, 30), form.box->ContentColor());
  EXPECT_NE(canvas.Pixel(5, 30), kIconColor);  // an item without a picture
}
