// The skinned memo on a real form: read-only text, skinned bars that follow
// and drive the inner window, and a subclass that replaces the inner window.
#include "DRX.UI.Controls.Memo.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "AccessibleTree.h"

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Forms.h"
#include "TestSupport.h"

namespace {

UString Lines(int count) {
  UString text;
  for (int i = 0; i < count; ++i) text += u"Line " + IntToStr(i) + u"\r\n";
  return text;
}

// An inner window of another kind: an upper-casing "EDIT" that counts its messages.
class TUpperInnerMemo : public TDRXInnerMemo {
 public:
  using TDRXInnerMemo::TDRXInnerMemo;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == WM_CHAR) ++chars;
    return TDRXInnerMemo::WndProc(message, wParam, lParam);
  }
  void ChangeScale(int32_t numerator, int32_t denominator) override { scaled = {numerator, denominator}; }
  bool ParentNotification(uint32_t message, uintptr_t wParam, intptr_t, intptr_t&) override {
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) ++changes;
    return false;
  }
  int chars = 0;
  int changes = 0;
  TSize scaled;

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override {
    TDRXInnerMemo::CreateParams(params);
    params.Style |= ES_UPPERCASE;
  }
};

class TUpperMemo : public TDRXMemo {
 public:
  using TDRXMemo::TDRXMemo;

 protected:
  std::unique_ptr<TDRXInnerMemo> CreateInnerControl() override { return std::make_unique<TUpperInnerMemo>(*this); }
};

class TMemoForm : public TDRXForm {
 public:
  TMemoForm() {
    SetBorderStyle(bsSingle);
    SetClientSize(400, 300);
    errors = new TDRXMemo(this);
    errors->SetBounds(10, 10, 300, 120);
    errors->SetScrollBars(ssVertical);
    errors->SetReadOnly(true);
    errors->SetText(Lines(60));
    errors->SetParent(this);
    upper = new TUpperMemo(this);
    upper->SetBounds(10, 150, 300, 100);
    upper->SetScrollBars(ssBoth);
    upper->SetWordWrap(false);
    upper->SetParent(this);
  }
  TDRXMemo* errors;
  TUpperMemo* upper;
};

class MemoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TMemoForm>();
    form->Show();
    PumpMessages();
    ASSERT_NE(form->errors->InnerControl(), nullptr);
    inner = form->errors->InnerControl()->Handle();
    ASSERT_NE(inner, nullptr);
  }
  int FirstVisibleLine() { return static_cast<int>(SendMessageW(inner, EM_GETFIRSTVISIBLELINE, 0, 0)); }
  void ClickBar(TDRXScrollBar& bar, TPoint point) {
    SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.X, point.Y));
  SendMessageW(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(point.X, point.Y));
  }
  std::unique_ptr<TMemoForm> form;
  HWND inner = nullptr;
};

}  // namespace

TEST_F(MemoTest, AReadOnlyMemoRejectsTyping) {
  const UString before = form->errors->Text();
  SetFocus(inner);
  for (char16_t c : UStringView(u"xy\r")) SendMessageW(inner, WM_CHAR, c, 1);
  SendMessageW(inner, WM_KEYDOWN, VK_DELETE, 1);
  EXPECT_EQ(form->errors->Text(), before);
  EXPECT_TRUE(GetWindowLongW(inner, GWL_STYLE) & ES_READONLY);
  form->errors->SetReadOnly(false);
  SendMessageW(inner, EM_SETSEL, 0, 0);
  SendMessageW(inner, WM_CHAR, u'x', 1);
  EXPECT_EQ(form->errors->Text(), u"x" + before);
}

TEST_F(MemoTest, TheSkinnedBarCoversTheSystemBarAndFollowsTheText) {
  TDRXScrollBar& bar = *form->errors->VertScrollBar();
  ASSERT_TRUE(bar.Showing());
  EXPECT_EQ(form->errors->HorzScrollBar()->Showing(), false);
  // The inner window reaches under the skinned bar by the system bar's width, cut off by its region.
  RECT placed{}, client{}, region{};
  GetWindowRect(inner, &placed);
  GetClientRect(inner, &client);
  const int systemBar = (placed.right - placed.left) - client.right;
  EXPECT_GT(systemBar, 0);
  ASSERT_NE(GetWindowRgnBox(inner, &region), ERROR);
  EXPECT_EQ(region.right, client.right);
  MapWindowPoints(nullptr, form->errors->Handle(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left + client.right, bar.Left());

  // On the screen the skinned bar shows there, not the inner window's system bar.
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  TDRXDIBCanvas own(bar.Width(), bar.Height());
  bar.PaintTree(own.DC());
  const HDC screen = GetDC(form->errors->Handle());
  for (int y : {bar.Layout().LineUp.Bottom + 1, bar.Layout().PageDown.Bottom - 2, bar.Height() - 3})
    for (int x = 0; x < bar.Width(); ++x)
      EXPECT_EQ(GetPixel(screen, bar.Left() + x, bar.Top() + y), own.Pixel(x, y)) << x << "," << y;
  ReleaseDC(form->errors->Handle(), screen);

  const TDRXScrollValues values = bar.Values();
  EXPECT_TRUE(CanScroll(values));
  EXPECT_EQ(values.Position, 0);
  // The down arrow scrolls a line, the track below the thumb a page.
  ClickBar(bar, {bar.Width() / 2, bar.Height() - 2});
  EXPECT_EQ(FirstVisibleLine(), 1);
  EXPECT_EQ(bar.Values().Position, 1);
  ClickBar(bar, {bar.Width() / 2, bar.Layout().PageDown.Bottom - 1});
  EXPECT_GT(FirstVisibleLine(), 2);
  EXPECT_EQ(bar.Values().Position, FirstVisibleLine());
  // Keys in the inner window move the bar too.
  SendMessageW(inner, WM_KEYDOWN, VK_END, 1);
  SendMessageW(inner, WM_KEYDOWN, VK_NEXT, 1);
  EXPECT_EQ(bar.Values().Position, MaxScrollPosition(bar.Values()));
  EXPECT_EQ(bar.Values().Position, FirstVisibleLine());
  const TAccessibleNode reader = ReadAccessibleTree(bar.Handle(), 0);
  EXPECT_EQ(reader.Role, ROLE_SYSTEM_SCROLLBAR);
  EXPECT_EQ(reader.Value, u"100%") << "readers hear how far the text is scrolled";
}

TEST_F(MemoTest, DraggingTheThumbScrollsTheInnerWindow) {
  TDRXScrollBar& bar = *form->errors->VertScrollBar();
  const TRect thumb = bar.Layout().Thumb;
  ASSERT_FALSE(thumb.IsEmpty());
  const int x = bar.Width() / 2, y = thumb.Top + 2;
  SendMessageW(bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
  SendMessageW(bar.Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, bar.Height()));
  EXPECT_EQ(FirstVisibleLine(), MaxScrollPosition(bar.Values()));  // while the thumb is held
  EXPECT_EQ(bar.Values().Position, FirstVisibleLine());
  SendMessageW(bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, bar.Height()));
  EXPECT_EQ(bar.Values().Position, MaxScrollPosition(bar.Values()));
  EXPECT_EQ(FirstVisibleLine(), bar.Values().Position);
}

TEST_F(MemoTest, ASubclassReplacesTheInnerWindow) {
  auto* replaced = dynamic_cast<TUpperInnerMemo*>(form->upper->InnerControl());
  ASSERT_NE(replaced, nullptr);
  EXPECT_EQ(&replaced->Memo(), form->upper);
  const HWND window = replaced->Handle();
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & ES_UPPERCASE);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & WS_HSCROLL);
  EXPECT_EQ(GetParent(window), form->upper->Handle());
  for (char16_t c : UStringView(u"ab\rc")) SendMessageW(window, WM_CHAR, c, 1);
  EXPECT_EQ(replaced->chars, 4);
  EXPECT_EQ(replaced->changes, 4);  // what the window tells its parent reaches the inner object
  EXPECT_EQ(form->upper->Text(), u"AB\r\nC");  // Enter makes a new line in a memo that is not read-only
  EXPECT_TRUE(form->upper->HorzScrollBar()->Showing());
  EXPECT_FALSE(form->upper->HorzScrollBar()->BoundsRect().IsEmpty());
  form->ChangeDPI(144);
  EXPECT_EQ(replaced->scaled, (TSize{144, 96}));
  // Changing the bars makes the inner window anew, of the subclass's kind again, with the text.
  form->upper->SetScrollBars(ssNone);
  auto* again = dynamic_cast<TUpperInnerMemo*>(form->upper->InnerControl());
  ASSERT_NE(again, nullptr);
  EXPECT_FALSE(GetWindowLongW(again->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL));
  EXPECT_EQ(form->upper->Text(), u"AB\r\nC");
  EXPECT_FALSE(form->upper->VertScrollBar()->Showing());
}

TEST_F(MemoTest, TabInAReadOnlyMemoMovesOnAndTheBordersShowTheFocus) {
  form->errors->SetFocus();
  EXPECT_EQ(GetFocus(), inner);
  SendMessageW(inner, WM_KEYDOWN, VK_TAB, 1);
  EXPECT_EQ(GetFocus(), form->upper->InnerControl()->Handle());
}

TEST_F(MemoTest, TheWheelOverTheBarScrollsThreeLinesANotch) {
  TDRXScrollBar& bar = *form->errors->VertScrollBar();
  SendMessageW(bar.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, -2 * WHEEL_DELTA), 0);
  EXPECT_EQ(FirstVisibleLine(), 6);
  SendMessageW(bar.Handle(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
  EXPECT_EQ(FirstVisibleLine(), 3);
  EXPECT_EQ(bar.Values().Position, 3);
}

TEST_F(MemoTest, At144DpiTheBarsAndTheInnerWindowScaleTogether) {
  TDRXScrollBar& bar = *form->errors->VertScrollBar();
  const int32_t thickness = bar.Width();
  form->ChangeDPI(144);
  PumpMessages();
  EXPECT_EQ(bar.Width(), MulDivRounded(thickness, 144, 96));
  EXPECT_EQ(form->errors->Width(), 450);
  RECT placed{}, region{};
  GetWindowRect(inner, &placed);
  MapWindowPoints(nullptr, form->errors->Handle(), reinterpret_cast<POINT*>(&placed), 2);
  ASSERT_NE(GetWindowRgnBox(inner, &region), ERROR);
  EXPECT_EQ(placed.left + region.right, bar.Left());  // what shows of the inner window ends at the bar
  EXPECT_EQ(bar.Values().Position, FirstVisibleLine());
}
