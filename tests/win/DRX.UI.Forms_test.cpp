// A real form with a windowless and a windowed child: what it paints, where
// the mouse goes, DPI scaling on WM_DPICHANGED, the keyboard, modal runs and
// exceptions inside window procedures.
#include "DRX.UI.Forms.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "DRX.UI.Application.h"
#include "DRX.Graphics.GDI.h"

namespace {

constexpr COLORREF kWindowlessColor = RGB(200, 30, 30);
constexpr COLORREF kWindowedColor = RGB(30, 30, 200);

void FillClient(HDC dc, const TDRXCustomControl& control, COLORREF color) {
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  const RECT client = ToRECT(control.ClientRect());
  FillRect(dc, &client, brush.Get());
}

struct TMouseLog {
  int downs = 0;
  int ups = 0;
  TPoint lastDown;
};

class TWindowlessProbe : public TDRXCustomControl {
 public:
  using TDRXCustomControl::TDRXCustomControl;
  void Paint(HDC__* dc) override { FillClient(dc, *this, kWindowlessColor); }
  void MouseDown(TMouseButton, TShiftState, int32_t x, int32_t y) override {
    ++log.downs;
    log.lastDown = {x, y};
    if (throwOnDown) throw Exception(u"probe failure");
  }
  void MouseUp(TMouseButton, TShiftState, int32_t, int32_t) override { ++log.ups; }
  TMouseLog log;
  bool throwOnDown = false;
};

class TWindowedProbe : public TDRXWinControl {
 public:
  using TDRXWinControl::TDRXWinControl;
  UString ClassName() const override { return u"TWindowedProbe"; }
  bool HasCaption() const override { return true; }
  void Paint(HDC__* dc) override { FillClient(dc, *this, kWindowedColor); }
  void MouseDown(TMouseButton, TShiftState, int32_t x, int32_t y) override {
    ++log.downs;
    log.lastDown = {x, y};
  }
  bool DialogKey(uint16_t key, TShiftState) override {
    if (key != VK_RETURN || !takesEnter) return false;
    ++enters;
    return true;
  }
  bool DialogChar(char16_t character) override {
    if (!IsAccelerator(character, Caption())) return false;
    ++accelerators;
    return true;
  }
  TMouseLog log;
  bool takesEnter = false;
  int enters = 0;
  int accelerators = 0;
};

class TTestForm : public TDRXForm {
 public:
  TTestForm() {
    SetBorderStyle(bsSingle);
    SetBorderIcons(biSystemMenu);
    SetPosition(poScreenCenter);
    SetClientSize(300, 200);
    page = new TDRXCustomControl(this);
    page->SetBounds(20, 10, 260, 150);
    page->SetParent(this);
    windowless = new TWindowlessProbe(this);
    windowless->SetBounds(10, 10, 60, 40);
    windowless->SetParent(page);
    windowed = new TWindowedProbe(this);
    windowed->SetBounds(100, 10, 80, 30);
    windowed->SetCaption(u"&Next >");
    windowed->SetParent(page);
  }
  void DarkModeChanged() override { ++darkModeChanges; }
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == WM_APP) {
      SetModalResult(static_cast<TModalResult>(wParam));
      return 0;
    }
    return TDRXForm::WndProc(message, wParam, lParam);
  }
  TDRXCustomControl* page;
  TWindowlessProbe* windowless;
  TWindowedProbe* windowed;
  int darkModeChanges = 0;
};

void Pump() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LPARAM PointParam(int x, int y) { return MAKELPARAM(x, y); }

TRect ClientRectOf(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.left, r.top, r.right, r.bottom};
}

// The window's place in its parent's client area.
TRect PlaceInParent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

class FormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<TTestForm>();
    form->Show();
    Pump();
  }
  std::unique_ptr<TTestForm> form;
};

TEST_F(FormTest, TheWindowHasTheClientSizeCaptionAndStyleAsked) {
  HWND window = form->Handle();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(ClientRectOf(window), Rect(0, 0, 300, 200));
  const auto style = GetWindowLongW(window, GWL_STYLE);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
  wchar_t text[32]{};
  GetWindowTextW(form->windowed->Handle(), text, 32);
  EXPECT_EQ(FromW(text), u"&Next >");
  wchar_t className[32]{};
  GetClassNameW(form->windowed->Handle(), className, 32);
  EXPECT_EQ(FromW(className), u"TWindowedProbe");
  EXPECT_EQ(TDRXWinControl::FromHandle(form->windowed->Handle()), form->windowed);
  EXPECT_EQ(TDRXWinControl::FromHandle(GetDesktopWindow()), nullptr);
  // The windowed child sits in the form's window, offset by its windowless parent.
  EXPECT_EQ(GetParent(form->windowed->Handle()), window);
  EXPECT_EQ(PlaceInParent(form->windowed->Handle()), Bounds(120, 20, 80, 30));
}

TEST_F(FormTest, PaintsTheFormColourAndBothChildrenAtTheirPlaces) {
  TDRXDIBCanvas canvas(300, 200);
  form->PaintTree(canvas.DC());
  EXPECT_EQ(canvas.Pixel(5, 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(31, 21), kWindowlessColor);  // 20 + 10 + 1, 10 + 10 + 1
  EXPECT_EQ(canvas.Pixel(89, 59), kWindowlessColor);
  EXPECT_EQ(canvas.Pixel(90, 60), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(121, 21), kWindowedColor);
  EXPECT_EQ(canvas.Pixel(199, 49), kWindowedColor);

  // The real paint of the window, read back from its device context.
  RedrawWindow(form->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(form->Handle());
  EXPECT_EQ(GetPixel(dc, 40, 30), kWindowlessColor);
  EXPECT_EQ(GetPixel(dc, 150, 30), kWindowedColor);
  EXPECT_EQ(GetPixel(dc, 250, 150), RGB(255, 255, 255));
  ReleaseDC(form->Handle(), dc);
}

TEST_F(FormTest, MouseGoesToTheWindowlessControlUnderItInItsOwnCoordinates) {
  HWND window = form->Handle();
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(35, 25));
  SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, PointParam(250, 190));  // held while outside
  SendMessageW(window, WM_LBUTTONUP, 0, PointParam(250, 190));
  EXPECT_EQ(form->windowless->log.downs, 1);
  EXPECT_EQ(form->windowless->log.ups, 1);  // the control that got the press gets the release
  EXPECT_EQ(form->windowless->log.lastDown, (TPoint{5, 5}));
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(5, 5));  // on the form itself
  SendMessageW(window, WM_LBUTTONUP, 0, PointParam(5, 5));
  EXPECT_EQ(form->windowless->log.downs, 1);

  // The system sends a click over the windowed child to its window.
  POINT screen{150, 30};
  ClientToScreen(window, &screen);
  EXPECT_EQ(WindowFromPoint(screen), form->windowed->Handle());
  POINT local = screen;
  ScreenToClient(form->windowed->Handle(), &local);
  SendMessageW(form->windowed->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(local.x, local.y));
  SendMessageW(form->windowed->Handle(), WM_LBUTTONUP, 0, PointParam(local.x, local.y));
  EXPECT_EQ(form->windowed->log.downs, 1);
  EXPECT_EQ(form->windowed->log.lastDown, (TPoint{30, 10}));
}

TEST_F(FormTest, AnExceptionInAHandlerIsReportedAndStopsAtTheWindowProcedure) {
  UString reported;
  TDRXApplication::SetExceptionReporter([&](std::exception_ptr e) { reported = ExceptionMessage(e); });
  form->windowless->throwOnDown = true;
  SendMessageW(form->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(35, 25));
  SendMessageW(form->Handle(), WM_LBUTTONUP, 0, PointParam(35, 25));
  TDRXApplication::SetExceptionReporter(nullptr);
  EXPECT_EQ(reported, u"probe failure");
  EXPECT_EQ(form->windowless->log.downs, 1);
}

TEST_F(FormTest, WM_DPICHANGEDScalesClientSizeChildrenAndFonts) {
  HWND window = form->Handle();
  RECT suggested{50, 60, 500, 400};
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(form->CurrentDPI(), 144);
  EXPECT_EQ(form->ScaleFactor(), (TDRXScaleFactor{144, 96}));
  EXPECT_EQ(ClientRectOf(window), Rect(0, 0, 450, 300));
  RECT outer{};
  GetWindowRect(window, &outer);
  EXPECT_EQ(outer.left, 50);
  EXPECT_EQ(outer.top, 60);
  EXPECT_EQ(form->page->BoundsRect(), Bounds(30, 15, 390, 225));
  EXPECT_EQ(form->windowless->BoundsRect(), Bounds(15, 15, 90, 60));
  EXPECT_EQ(form->windowed->BoundsRect(), Bounds(150, 15, 120, 45));
  EXPECT_EQ(PlaceInParent(form->windowed->Handle()), Bounds(180, 30, 120, 45));
  EXPECT_EQ(form->Font().Height, -17);
  EXPECT_EQ(form->windowed->Font().Height, -17);

  // Paint and mouse follow the new geometry.
  TDRXDIBCanvas canvas(450, 300);
  form->PaintTree(canvas.DC());
  EXPECT_EQ(canvas.Pixel(46, 31), kWindowlessColor);
  EXPECT_EQ(canvas.Pixel(134, 89), kWindowlessColor);
  EXPECT_EQ(canvas.Pixel(135, 90), RGB(255, 255, 255));
  EXPECT_EQ(canvas.Pixel(299, 74), kWindowedColor);
  SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(130, 85));
  SendMessageW(window, WM_LBUTTONUP, 0, PointParam(130, 85));
  EXPECT_EQ(form->windowless->log.lastDown, (TPoint{85, 55}));

  // And back.
  SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&suggested));
  EXPECT_EQ(ClientRectOf(window), Rect(0, 0, 300, 200));
  EXPECT_EQ(form->windowed->BoundsRect(), Bounds(100, 10, 80, 30));
  EXPECT_EQ(form->Font().Height, -11);
}

TEST_F(FormTest, ControlsMadeBeforeTheWindowAreScaledToTheMonitorsDPI) {
  // The form asks its monitor's DPI when its window is made; the test prefix runs at 96.
  EXPECT_EQ(form->CurrentDPI(), WindowDPI(form->Handle()));
}

TEST_F(FormTest, TabCyclesThroughTheWindowedControlsInTabOrder) {
  auto* second = new TWindowedProbe(form.get());
  second->SetBounds(10, 170, 50, 20);
  second->SetParent(form.get());
  auto* third = new TWindowedProbe(form.get());
  third->SetBounds(70, 170, 50, 20);
  third->SetParent(form.get());
  third->SetTabOrder(0);  // before the page, whose child is the first windowed control
  EXPECT_EQ(form->page->TabOrder(), 1);
  auto* hidden = new TWindowedProbe(form.get());
  hidden->SetParent(form.get());
  hidden->SetVisible(false);
  third->SetFocus();
  ASSERT_TRUE(third->Focused());
  SendMessageW(third->Handle(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(form->windowed->Focused());
  SendMessageW(form->windowed->Handle(), WM_KEYDOWN, VK_TAB, 0);
  EXPECT_TRUE(second->Focused());
  SendMessageW(second->Handle(), WM_KEYDOWN, VK_TAB, 0);  // the hidden one is skipped
  EXPECT_TRUE(third->Focused());
  EXPECT_EQ(form->ActiveControl(), third);
}

TEST_F(FormTest, EnterAndAcceleratorsAreOfferedToEnabledControls) {
  auto* other = new TWindowedProbe(form.get());
  other->SetBounds(10, 170, 50, 20);
  other->SetParent(form.get());
  other->SetFocus();
  form->windowed->takesEnter = true;
  SendMessageW(other->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(form->windowed->enters, 1);
  SendMessageW(other->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);  // nobody takes Escape: nothing happens
  EXPECT_EQ(form->windowed->enters, 1);
  SendMessageW(other->Handle(), WM_SYSCHAR, u'n', 0);
  EXPECT_EQ(form->windowed->accelerators, 1);
  form->windowed->SetEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(form->windowed->Handle()));
  SendMessageW(other->Handle(), WM_KEYDOWN, VK_RETURN, 0);
  SendMessageW(other->Handle(), WM_SYSCHAR, u'N', 0);
  EXPECT_EQ(form->windowed->enters, 1);
  EXPECT_EQ(form->windowed->accelerators, 1);
}

TEST_F(FormTest, ShowModalEndsWithTheModalResultOnceTheCloseQueryAllows) {
  TDRXForm owner;
  owner.Show();
  int queries = 0;
  form->OnCloseQuery = [&](TDRXForm&, bool& canClose) { canClose = ++queries > 1; };
  form->Hide();
  PostMessageW(form->Handle(), WM_APP, mrOk, 0);  // refused by the first query
  PostMessageW(form->Handle(), WM_APP, mrRetry, 0);
  EXPECT_EQ(form->ShowModal(), mrRetry);
  EXPECT_EQ(queries, 2);
  EXPECT_FALSE(IsWindowVisible(form->Handle()));
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));

  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);  // the title bar's close
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

TEST_F(FormTest, TheMainFormIsTheApplicationsMainWindowWhileItRuns) {
  void* seen = nullptr;
  form->OnCloseQuery = [&](TDRXForm&, bool& canClose) {
    seen = TDRXApplication::MainWindow();
    canClose = true;
  };
  PostMessageW(form->Handle(), WM_CLOSE, 0, 0);
  form->RunAsMainForm();
  EXPECT_EQ(seen, form->Handle()) << "boxes without an owner go over it";
  EXPECT_EQ(TDRXApplication::MainWindow(), nullptr) << "not after it closed";
  MSG quit;
  PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);  // the closed main form's
}

bool darkTheme = false;
bool ReadTheme() { return darkTheme; }

TEST_F(FormTest, ADarkModeChangeReachesTheFormAndRepaintsIt) {
  TDRXApplication::SetDarkModeReader(&ReadTheme);
  darkTheme = false;
  TDRXApplication::UpdateDarkMode();
  Pump();
  EXPECT_FALSE(GetUpdateRect(form->Handle(), nullptr, FALSE));
  darkTheme = true;
  SendMessageW(form->Handle(), WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"ImmersiveColorSet"));
  EXPECT_EQ(form->darkModeChanges, 1);
  EXPECT_TRUE(GetUpdateRect(form->Handle(), nullptr, FALSE));
  darkTheme = false;
  TDRXApplication::UpdateDarkMode();
  TDRXApplication::SetDarkModeReader(nullptr);
  EXPECT_EQ(form->darkModeChanges, 2);
}

TEST(FormLifetime, DestroyingAControlUnderTheMouseLeavesNoDanglingTarget) {
  TTestForm form;
  form.Show();
  SendMessageW(form.Handle(), WM_MOUSEMOVE, 0, PointParam(35, 25));
  SendMessageW(form.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, PointParam(35, 25));
  delete form.windowless;
  SendMessageW(form.Handle(), WM_MOUSEMOVE, MK_LBUTTON, PointParam(36, 26));
  SendMessageW(form.Handle(), WM_LBUTTONUP, 0, PointParam(36, 26));
  SendMessageW(form.Handle(), WM_MOUSELEAVE, 0, 0);
  delete form.windowed;
  EXPECT_EQ(form.page->ControlCount(), 0);
}

}  // namespace
