// The window base as screen readers see it: every windowed control answers
// for itself with its kind's role, name, shortcut and state; windowless
// controls are parts of their window in reading order; a reader's default
// action does what a click does.
#include "DRX.UI.Controls.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "AccessibleTree.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Forms.h"

namespace {

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A windowless text that readers see, and that counts its activations.
class TReadableText : public TDRXCustomControl {
 public:
  using TDRXCustomControl::TDRXCustomControl;
  bool AccessibleItem(TDRXAccessibleItem& item) const override {
    item.Role = TDRXAccessibleRole::StaticText;
    item.Name = Caption();
    return true;
  }
  void AccessibleDefaultAction() override { ++activations; }
  int activations = 0;
};

class TReadableForm : public TDRXForm {
 public:
  TReadableForm() {
    SetBorderStyle(bsSingle);
    SetClientSize(400, 200);
    SetCaption(u"Ovix Setup");
    next = Make<TDRXButton>(Bounds(275, 160, 121, 25), u"&Next >");
    next->SetDefault(true);
    back = Make<TDRXButton>(Bounds(150, 160, 121, 25), u"< &Back");
    box = Make<TDRXCheckBox>(Bounds(10, 60, 200, 17), u"Create a &desktop shortcut");
    normal = Make<TDRXRadioBox>(Bounds(10, 90, 150, 17), u"&Normal");
    portable = Make<TDRXRadioBox>(Bounds(170, 90, 150, 17), u"&Portable");
    normal->SetChecked(true);
    title = Make<TReadableText>(Bounds(10, 10, 300, 20), u"Choose a folder");
    hidden = Make<TReadableText>(Bounds(10, 30, 300, 20), u"Not shown");
    hidden->SetVisible(false);
  }
  template <typename T>
  T* Make(TRect bounds, UStringView caption) {
    auto* control = new T(this);
    control->SetBoundsRect(bounds);
    control->SetCaption(caption);
    control->SetParent(this);
    return control;
  }
  TDRXButton *next, *back;
  TDRXCheckBox* box;
  TDRXRadioBox *normal, *portable;
  TReadableText *title, *hidden;
};

class ControlsForReaders : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    form = std::make_unique<TReadableForm>();
    form->Show();
    Pump();
  }
  void TearDown() override {
    form.reset();
    CoUninitialize();
  }
  std::string Tree() {
    TAccessibleNode tree = ReadAccessibleTree(form->Handle());
    tree.State &= ~STATE_SYSTEM_FOCUSED;  // whether the form is active is the window manager's business
    return DumpAccessibleTree(tree);
  }
  std::unique_ptr<TReadableForm> form;
};

}  // namespace

TEST_F(ControlsForReaders, EveryControlReadsWithItsRoleNameShortcutAndState) {
  form->back->SetEnabled(false);
  form->next->SetFocus();
  Pump();
  EXPECT_EQ(Tree(),
            "dialog \"Ovix Setup\"\n"
            "  text \"Choose a folder\"\n"
            "  check box \"Create a desktop shortcut\" Alt+D (Check) [focusable]\n"
            "  radio button \"Normal\" Alt+N (Check) [checked, focusable]\n"
            "  radio button \"Portable\" Alt+P (Check) [focusable]\n"
            "  push button \"< Back\" Alt+B (Press) [unavailable]\n"
            "  push button \"Next >\" Alt+N (Press) [focused, default, focusable]\n");
}

TEST_F(ControlsForReaders, ChangesOfTheControlsAreWhatReadersReadNext) {
  form->box->SetFocus();
  SendMessageW(form->box->Handle(), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(form->box->Handle(), WM_KEYUP, VK_SPACE, 0);
  form->portable->SetChecked(true);
  form->next->SetCaption(u"&Install");
  const std::string tree = Tree();
  EXPECT_NE(tree.find("check box \"Create a desktop shortcut\" Alt+D (Uncheck) [focused, checked, focusable]"),
            std::string::npos)
      << tree;
  EXPECT_NE(tree.find("radio button \"Normal\" Alt+N (Check) [focusable]"), std::string::npos) << tree;
  EXPECT_NE(tree.find("radio button \"Portable\" Alt+P (Check) [checked, focusable]"), std::string::npos) << tree;
  EXPECT_NE(tree.find("push button \"Install\" Alt+I (Press)"), std::string::npos) << tree;
}

TEST_F(ControlsForReaders, TheDefaultActionClicksLaterAndNeverADisabledControl) {
  int nextClicks = 0;
  form->next->OnClick = [&](TDRXCustomControl&) { ++nextClicks; };
  TAccessibleNode tree = ReadAccessibleTree(form->Handle());
  const TAccessibleNode* box = FindAccessible(tree, ROLE_SYSTEM_CHECKBUTTON);
  const TAccessibleNode* next = FindAccessible(tree, ROLE_SYSTEM_PUSHBUTTON, u"Next >");
  const TAccessibleNode* title = FindAccessible(tree, ROLE_SYSTEM_STATICTEXT);
  ASSERT_TRUE(box && next && title);

  ASSERT_TRUE(box->DoDefaultAction());
  ASSERT_TRUE(title->DoDefaultAction());
  EXPECT_FALSE(form->box->Checked());  // posted: nothing runs inside the reader's call
  Pump();
  EXPECT_TRUE(form->box->Checked());
  EXPECT_EQ(form->title->activations, 1);

  form->next->SetEnabled(false);
  ASSERT_TRUE(next->DoDefaultAction());
  Pump();
  EXPECT_EQ(nextClicks, 0);
}

TEST_F(ControlsForReaders, AReaderHoldingTheObjectOfADestroyedFormGetsErrors) {
  TAccessibleNode tree = ReadAccessibleTree(form->Handle());
  ASSERT_TRUE(tree.Object);
  form.reset();
  long count = 0;
  EXPECT_TRUE(FAILED(tree.Object->get_accChildCount(&count)));
}
