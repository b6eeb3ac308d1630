// Skinned buttons, check boxes and radio boxes on a real form, driven by real
// messages: mouse, Space, Escape, Tab, Alt+accelerator and Enter; radio
// groups; the default look following the focus; frames and text colours.
#include "DRX.UI.Controls.Buttons.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Resources.Root.h"

namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// A form with Back and Next (the default button), an edit stand-in, two boxes.
class TButtonForm : public TDRXForm {
 public:
  TButtonForm() {
    SetBorderStyle(bsSingle);
    SetClientSize(400, 200);
    back = Make<TDRXButton>(u"bBack", Bounds(150, 160, 121, 25), u"< &Back");
    next = Make<TDRXButton>(u"bNext", Bounds(275, 160, 121, 25), u"&Next >");
    next->SetDefault(true);
    other = Make<TDRXWinControl>(u"E1", Bounds(10, 10, 100, 20), u"");
    box = Make<TDRXCheckBox>(u"CB1", Bounds(10, 40, 200, 17), u"Create a &desktop shortcut");
    grayed = Make<TDRXCheckBox>(u"CB2", Bounds(10, 60, 200, 17), u"Three states");
    grayed->SetAllowGrayed(true);
    back->OnClick = [this](TDRXCustomControl&) { ++backClicks; };
    next->OnClick = [this](TDRXCustomControl&) { ++nextClicks; };
    box->OnClick = [this](TDRXCustomControl&) { ++boxClicks; };
  }
  template <typename T>
  T* Make(UStringView name, TRect bounds, UStringView caption) {
    auto* control = new T(this);
    control->SetName(name);
    control->SetBoundsRect(bounds);
    control->SetCaption(caption);
    control->SetParent(this);
    return control;
  }
  TDRXButton* back;
  TDRXButton* next;
  TDRXWinControl* other;
  TDRXCheckBox* box;
  TDRXCheckBox* grayed;
  int backClicks = 0, nextClicks = 0, boxClicks = 0;
};

class Buttons : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TButtonForm>();
    form->Show();
    Pump();
  }
  HWND H(TDRXWinControl* control) { return control->Handle(); }
  std::unique_ptr<TButtonForm> form;
};

TEST_F(Buttons, MouseDownAndUpInsideClicksAndReleasingOutsideDoesNot) {
  SendMessageW(H(form->back), WM_MOUSEMOVE, 0, At(10, 10));
  EXPECT_EQ(form->back->ViewInfo().VisualState(), bvsHover);
  SendMessageW(H(form->back), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_EQ(form->back->ViewInfo().VisualState(), bvsPressed);
  EXPECT_TRUE(form->back->Focused());
  SendMessageW(H(form->back), WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(form->backClicks, 1);
  SendMessageW(H(form->back), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(H(form->back), WM_MOUSEMOVE, MK_LBUTTON, At(200, 10));
  EXPECT_FALSE(form->back->ViewInfo().HasFlag(bfHover));
  SendMessageW(H(form->back), WM_LBUTTONUP, 0, At(200, 10));
  EXPECT_EQ(form->backClicks, 1);
  EXPECT_FALSE(form->back->ViewInfo().HasFlag(bfPressed));
}

TEST_F(Buttons, ADisabledButtonShowsFrameThreeWhateverTheMouseDoes) {
  form->back->SetEnabled(false);
  SendMessageW(H(form->back), WM_MOUSEMOVE, 0, At(10, 10));
  SendMessageW(H(form->back), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  EXPECT_EQ(form->back->ViewInfo().FrameIndex(), 3);
  SendMessageW(H(form->back), WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(form->backClicks, 0);
  form->box->SetChecked(true);
  form->box->SetEnabled(false);
  EXPECT_EQ(form->box->ViewInfo().FrameIndex(), 8);
}

TEST_F(Buttons, SpaceReleasedAwayFromTheMouseStillTogglesButEscapeCancels) {
  form->box->SetFocus();
  SendMessageW(H(form->box), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(H(form->box), WM_MOUSEMOVE, 0, At(500, 500));
  SendMessageW(H(form->box), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(form->box->Checked());
  EXPECT_EQ(form->boxClicks, 1);
  SendMessageW(H(form->box), WM_KEYDOWN, VK_SPACE, 0);
  SendMessageW(H(form->box), WM_KEYDOWN, VK_ESCAPE, 0);
  SendMessageW(H(form->box), WM_KEYUP, VK_ESCAPE, 0);
  SendMessageW(H(form->box), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(form->box->Checked());
  EXPECT_EQ(form->boxClicks, 1);
}

TEST_F(Buttons, LosingTheFocusClearsPressed) {
  form->box->SetFocus();
  SendMessageW(H(form->box), WM_KEYDOWN, VK_SPACE, 0);
  form->back->SetFocus();
  SendMessageW(H(form->box), WM_KEYUP, VK_SPACE, 0);
  EXPECT_FALSE(form->box->Checked());
}

TEST_F(Buttons, AGrayedCapableBoxClickedThreeTimesIsUncheckedAgain) {
  for (const TCheckBoxState expected : {cbChecked, cbGrayed, cbUnchecked}) {
    SendMessageW(H(form->grayed), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
    SendMessageW(H(form->grayed), WM_LBUTTONUP, 0, At(5, 8));
    EXPECT_EQ(form->grayed->State(), expected);
  }
  EXPECT_EQ(SendMessageW(H(form->grayed), BM_GETCHECK, 0, 0), BST_UNCHECKED);
}

TEST_F(Buttons, OnlyTheBoxAndCaptionAcceptTheMouse) {
  form->box->SetAutoSize(false);
  form->box->SetBounds(10, 40, 380, 17);
  auto hitTest = [this](int x, int y) {
    POINT point{x, y};
    ClientToScreen(H(form->box), &point);
    return SendMessageW(H(form->box), WM_NCHITTEST, 0, At(point.x, point.y));
  };
  EXPECT_EQ(hitTest(8, 8), HTCLIENT);   // the box
  EXPECT_EQ(hitTest(30, 8), HTCLIENT);  // the caption
  EXPECT_EQ(hitTest(300, 8), HTTRANSPARENT);
}

TEST_F(Buttons, AutoSizeFitsTheCaptionAndAlignmentToTheTopKeepsTheWidth) {
  const int32_t width = form->box->Width();
  EXPECT_LT(width, 200);
  EXPECT_GT(width, 16 + 5);
  form->box->SetCaption(u"Create a desktop shortcut for every user of this computer");
  EXPECT_GT(form->box->Width(), width);
  form->box->SetAlign(alTop);
  EXPECT_EQ(form->box->Width(), 400);
}

TEST_F(Buttons, AltAcceleratorFocusesAndClicks) {
  form->other->SetFocus();
  SendMessageW(H(form->other), WM_SYSCHAR, u'b', 0);
  EXPECT_EQ(form->backClicks, 1);
  EXPECT_TRUE(form->back->Focused());
  SendMessageW(H(form->back), WM_SYSCHAR, u'd', 0);
  EXPECT_TRUE(form->box->Checked());
  form->next->SetEnabled(false);
  SendMessageW(H(form->box), WM_SYSCHAR, u'n', 0);
  EXPECT_EQ(form->nextClicks, 0);
}

TEST_F(Buttons, EnterPressesTheDefaultButtonOrTheFocusedOneAndNothingWhenDisabled) {
  form->other->SetFocus();
  SendMessageW(H(form->other), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form->nextClicks, 1);
  form->back->SetFocus();
  SendMessageW(H(form->back), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form->backClicks, 1);
  EXPECT_EQ(form->nextClicks, 1);
  form->other->SetFocus();
  form->next->SetEnabled(false);
  SendMessageW(H(form->other), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form->nextClicks, 1);
  EXPECT_TRUE(form->other->Focused());
  SendMessageW(H(form->other), WM_KEYDOWN, VK_ESCAPE, 0);  // nothing takes Escape
  EXPECT_TRUE(form->other->Focused());
}

TEST_F(Buttons, TheDefaultLookMovesWithTheFocus) {
  form->other->SetFocus();
  EXPECT_EQ(form->next->ViewInfo().FrameIndex(), 4);
  form->back->SetFocus();
  EXPECT_EQ(form->next->ViewInfo().FrameIndex(), 0);
  EXPECT_EQ(form->back->ViewInfo().FrameIndex(), 4);
  SendMessageW(H(form->back), WM_KEYDOWN, VK_TAB, 0);  // to Next itself
  EXPECT_TRUE(form->next->Focused());
  EXPECT_EQ(form->next->ViewInfo().FrameIndex(), 4);
  EXPECT_EQ(form->back->ViewInfo().FrameIndex(), 0);
  form->other->SetFocus();
  EXPECT_EQ(form->next->ViewInfo().FrameIndex(), 4);
}

TEST_F(Buttons, ModalResultEndsAModalRun) {
  form->Hide();
  form->next->SetModalResult(mrOk);
  PostMessageW(H(form->next), BM_CLICK, 0, 0);
  EXPECT_EQ(form->ShowModal(), mrOk);
  EXPECT_EQ(form->nextClicks, 1);
}

TEST_F(Buttons, AClickThatDestroysTheFormIsSafe) {
  form->next->OnClick = [this](TDRXCustomControl&) { form.reset(); };
  HWND next = H(form->next);
  SendMessageW(next, WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  SendMessageW(next, WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(form, nullptr);
  EXPECT_FALSE(IsWindow(next));
}

TEST_F(Buttons, SubControlIsEnabledExactlyWhileTheBoxIsEnabledAndChecked) {
  form->box->SetSubControl(form->other);
  EXPECT_FALSE(form->other->Enabled());
  form->box->SetChecked(true);
  EXPECT_TRUE(form->other->Enabled());
  form->box->SetEnabled(false);
  EXPECT_FALSE(form->other->Enabled());
  delete form->other;
  form->box->SetEnabled(true);  // the sub-control is gone: nothing to touch
  EXPECT_EQ(form->box->SubControl(), nullptr);
}

TEST_F(Buttons, ACheckBoxWithoutCheckMarkIsNoTabStop) {
  form->box->SetShowCheckMark(false);
  EXPECT_FALSE(form->box->TabStop());
  form->other->SetFocus();
  SendMessageW(H(form->other), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(form->grayed->Focused());
}

TEST(RadioBoxes, CheckingOneUnchecksOnlyItsGroupUnderTheSameParent) {
  TDRXForm form;
  auto make = [&form](int group) {
    auto* radio = new TDRXRadioBox(&form);
    radio->SetGroupIndex(group);
    radio->SetParent(&form);
    return radio;
  };
  TDRXRadioBox* a = make(0);
  TDRXRadioBox* b = make(0);
  TDRXRadioBox* c = make(1);
  b->SetChecked(true);
  c->SetChecked(true);
  a->SetChecked(true);
  EXPECT_TRUE(a->Checked());
  EXPECT_FALSE(b->Checked());
  EXPECT_TRUE(c->Checked());
  a->SetChecked(false);  // only checking another one unchecks a radio box
  EXPECT_TRUE(a->Checked());
  form.Show();
  SendMessageW(a->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 8));
  SendMessageW(a->Handle(), WM_LBUTTONUP, 0, At(5, 8));
  EXPECT_TRUE(a->Checked());
}

TEST(ButtonLooks, TextColoursComeFromTheSkinWithTheTextColourForDefaults) {
  TDRXButton button;
  const TDRXAlphaColor text = RootResourceCollection()->Find<TDRXResourceColor>(u"Buttons.Colors.Text")->Value();
  const TDRXAlphaColor disabled =
      RootResourceCollection()->Find<TDRXResourceColor>(u"Buttons.Colors.TextDisabled")->Value();
  EXPECT_EQ(button.TextColor(bvsNormal), AlphaColorToColor(text));
  EXPECT_EQ(button.TextColor(bvsFocused), AlphaColorToColor(text));
  EXPECT_EQ(button.TextColor(bvsDisabled), AlphaColorToColor(disabled));
  button.Style().Colors(bcsTextHover).SetValue(claNull);
  button.Style().Colors(bcsTextHover).SetID(u"");
  EXPECT_EQ(button.TextColor(bvsHover), AlphaColorToColor(text));
}

}  // namespace
