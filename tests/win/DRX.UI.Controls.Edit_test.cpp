// The skinned edit on a real form: the text changes keystroke by keystroke,
// the embedded button clicks with the mouse and its accelerator, and Tab in
// the inner window moves on to the embedded button, then to the next control.
#include "DRX.UI.Controls.Edit.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "AccessibleTree.h"
#include "DRX.UI.Forms.h"
#include "TestSupport.h"

namespace {

class TEditForm : public TDRXForm {
 public:
  TEditForm() {
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetClientSize(620, 120);
    path = new TDRXEdit(this);
    path->SetName(u"PathEdit");
    path->SetBounds(60, 20, 540, 21);
    path->SetParent(this);
    browse = &path->AddButton(100, u"&Browse");
    browse->OnClick = [this](TDRXCustomControl&) { ++clicks; };
    path->OnChange = [this](TDRXCustomControl&) { changes.push_back(path->Text()); };
    next = new TDRXEdit(this);
    next->SetBounds(60, 60, 200, 21);
    next->SetParent(this);
  }
  TDRXEdit* path;
  TDRXEdit* next;
  TDRXEditButton* browse;
  int clicks = 0;
  std::vector<UString> changes;
};

class EditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TEditForm>();
    form->Show();
    PumpMessages();
    ASSERT_NE(form->path->InnerControl(), nullptr);
    inner = form->path->InnerControl()->Handle();
    ASSERT_NE(inner, nullptr);
  }
  void Type(HWND window, UStringView text) {
    for (char16_t c : text) SendMessageW(window, WM_CHAR, c, 1);
  }
  void ClickEdit(int x, int y, int releaseX, int releaseY) {
    SendMessageW(form->path->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    SendMessageW(form->path->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(releaseX, releaseY));
    SendMessageW(form->path->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(releaseX, releaseY));
  }
  std::unique_ptr<TEditForm> form;
  HWND inner = nullptr;
};

}  // namespace

TEST_F(EditTest, EveryKeystrokeIsAChange) {
  form->path->SetFocus();
  EXPECT_EQ(GetFocus(), inner);  // the edit hands the focus to its inner window
  Type(inner, u"C:\\x");
  SendMessageW(inner, WM_CHAR, VK_BACK, 1);
  EXPECT_EQ(form->changes, (std::vector<UString>{u"C", u"C:", u"C:\\", u"C:\\x", u"C:\\"}));
  form->path->SetText(u"D:\\Ovix");
  EXPECT_EQ(form->changes.back(), u"D:\\Ovix");
  EXPECT_EQ(form->changes.size(), 6u);
  form->path->SetText(u"D:\\Ovix");  // the same text again changes nothing
  EXPECT_EQ(form->changes.size(), 6u);
  wchar_t shown[32]{};
  GetWindowTextW(inner, shown, 32);
  EXPECT_EQ(FromW(shown), u"D:\\Ovix");
}

TEST_F(EditTest, TheButtonSitsAtTheRightEndAndClicks) {
  const TRect button = form->browse->BoundsRect();
  EXPECT_EQ(button.Width(), 100);
  EXPECT_EQ(button.Right, 539);  // inside the border's pixel
  RECT text{};
  GetWindowRect(inner, &text);
  MapWindowPoints(nullptr, form->path->Handle(), reinterpret_cast<POINT*>(&text), 2);
  EXPECT_LT(text.right, button.Left);
  EXPECT_GT(text.right - text.left, 400);

  const int x = button.Left + 50, y = 10;
  ClickEdit(x, y, x, y);
  EXPECT_EQ(form->clicks, 1);
  ClickEdit(x, y, 5, 10);  // released over the text: no click
  EXPECT_EQ(form->clicks, 1);
  SendMessageW(form->Handle(), WM_SYSCHAR, u'b', 0);  // Alt+B
  EXPECT_EQ(form->clicks, 2);
  form->browse->SetEnabled(false);
  ClickEdit(x, y, x, y);
  EXPECT_EQ(form->clicks, 2);
}

TEST_F(EditTest, AHiddenButtonGivesTheTextItsRoom) {
  RECT before{};
  GetClientRect(inner, &before);
  form->browse->SetVisible(false);
  RECT after{};
  GetClientRect(inner, &after);
  EXPECT_GT(after.right, before.right + 90);
}

TEST_F(EditTest, TabInTheInnerWindowVisitsTheButtonThenTheNextControl) {
  form->path->SetFocus();
  SendMessageW(inner, WM_KEYDOWN, VK_TAB, 1);
  SendMessageW(inner, WM_CHAR, u'\t', 1);
  EXPECT_EQ(GetFocus(), form->path->Handle()) << "the edit's own window holds the button's focus";
  EXPECT_EQ(form->path->FocusedButton(), form->browse);
  EXPECT_TRUE(form->changes.empty());  // no tab character went into the text
  for (const UINT key : {VK_SPACE, VK_RETURN}) {
    SendMessageW(form->path->Handle(), WM_KEYDOWN, key, 1);
    SendMessageW(form->path->Handle(), WM_KEYUP, key, static_cast<LPARAM>(0xC0000001));
  }
  EXPECT_EQ(form->clicks, 2) << "Space and Enter press the focused button";
  SendMessageW(form->path->Handle(), WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(GetFocus(), form->next->InnerControl()->Handle());
  EXPECT_EQ(form->path->FocusedButton(), nullptr);
  form->browse->SetEnabled(false);
  form->path->SetFocus();
  SendMessageW(inner, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(GetFocus(), form->next->InnerControl()->Handle()) << "a disabled button is no stop";
}

TEST_F(EditTest, ContentColoursComeFromTheSkin) {
  const HDC dc = GetDC(inner);
  const auto brush = SendMessageW(form->path->Handle(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                                  reinterpret_cast<LPARAM>(inner));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetBkColor(dc), form->path->ContentColor());
  EXPECT_EQ(GetTextColor(dc), form->path->TextColor());
  ReleaseDC(inner, dc);
  form->path->SetEnabled(false);
  EXPECT_NE(form->path->ContentColor(), RGB(255, 255, 255));  // the disabled content is grey
  EXPECT_FALSE(IsWindowEnabled(inner));
}

TEST_F(EditTest, AReaderFindsTheTextAndPressesTheButton) {
  const TAccessibleNode tree = ReadAccessibleTree(form->path->Handle());
  const TAccessibleNode* button = FindAccessible(tree, ROLE_SYSTEM_PUSHBUTTON, u"Browse");
  ASSERT_NE(button, nullptr) << DumpAccessibleTree(tree);
  EXPECT_EQ(button->Shortcut, u"Alt+B");
  EXPECT_NE(FindAccessible(tree, ROLE_SYSTEM_TEXT), nullptr) << DumpAccessibleTree(tree);  // the inner edit
  EXPECT_TRUE(button->Has(STATE_SYSTEM_FOCUSABLE));
  EXPECT_FALSE(button->Has(STATE_SYSTEM_FOCUSED));
  ASSERT_TRUE(button->DoDefaultAction());
  PumpMessages();
  EXPECT_EQ(form->clicks, 1);

  form->path->SetFocus();
  SendMessageW(inner, WM_KEYDOWN, VK_TAB, 1);  // on to the button
  const TAccessibleNode focused = ReadAccessibleTree(form->path->Handle());
  const TAccessibleNode* reached = FindAccessible(focused, ROLE_SYSTEM_PUSHBUTTON, u"Browse");
  ASSERT_NE(reached, nullptr);
  EXPECT_TRUE(reached->Has(STATE_SYSTEM_FOCUSED)) << DumpAccessibleTree(focused);
}
