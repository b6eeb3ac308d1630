#include "DRX.UI.Dialogs.h"

#include <gtest/gtest.h>

#include "DRX.Exceptions.h"
#include "DRX.UI.Application.h"
#include "DRX.Utils.Shell.h"
#include "TestDialogs.h"

namespace {

// What a person sees of a message box, read while it shows.
struct TBoxSnapshot {
  UString caption;
  std::vector<UString> texts;    // of the static controls
  std::vector<UString> buttons;  // left to right
  UString defaultButton;
  HICON icon = nullptr;
  HWND owner = nullptr;
  int modalLevel = 0;
};

TBoxSnapshot Snapshot(HWND dialog) {
  TBoxSnapshot box;
  box.caption = WindowText(dialog);
  box.owner = GetWindow(dialog, GW_OWNER);
  box.modalLevel = TDRXApplication::ModalLevel();
  const int defaultId = LOWORD(SendMessageW(dialog, DM_GETDEFID, 0, 0));
  for (HWND child : ChildWindows(dialog, u"Static")) {
    if (HICON icon = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0))) box.icon = icon;
    if (!WindowText(child).empty()) box.texts.push_back(WindowText(child));
  }
  for (HWND child : ChildWindows(dialog, u"Button")) {
    box.buttons.push_back(WindowText(child));
    if (GetDlgCtrlID(child) == defaultId) box.defaultButton = WindowText(child);
  }
  return box;
}

// Shows the box and answers it with the button of caption `press`.
int Answer(const UString& press, TBoxSnapshot& box, const std::function<int()>& show) {
  TWindowDriver driver(u"#32770", [&](HWND dialog) {
    box = Snapshot(dialog);
    ClickButton(FindChildByText(dialog, u"Button", press));
  });
  const int result = show();
  EXPECT_TRUE(driver.Finish()) << "no box appeared";
  return result;
}

// A hidden top-level window of the test's thread (Wine without a window
// manager makes every shown window wait).
struct TTestForm {
  TTestForm() : Handle(CreateWindowExW(0, L"STATIC", L"form", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                       nullptr, nullptr)) {}
  ~TTestForm() { DestroyWindow(Handle); }
  HWND Handle;
};

struct TRestoreDialogsStrs {
  ~TRestoreDialogsStrs() { DialogsStrs() = TDRXDialogsStrs(); }
};

}  // namespace

TEST(ShowMessageBox, AQuestionPreselectsCancelAndAnswersWithThePressedButtonsCode) {
  const HICON information = LoadIconW(nullptr, IDI_INFORMATION);
  for (const auto& [press, code] : {std::pair<UString, int>{u"OK", IDOK}, {u"Cancel", IDCANCEL}}) {
    TBoxSnapshot box;
    EXPECT_EQ(Answer(press, box, [] { return ShowMessageBox(nullptr, u"Cancel the installation?", u"", 0x121); }), code);
    EXPECT_EQ(box.caption, u"Confirm");
    EXPECT_EQ(box.texts, std::vector<UString>{u"Cancel the installation?"});
    EXPECT_EQ(box.buttons, (std::vector<UString>{u"OK", u"Cancel"}));
    EXPECT_EQ(box.defaultButton, u"Cancel");
    EXPECT_EQ(box.icon, information);
    EXPECT_EQ(box.modalLevel, 1) << "the application knows a modal dialog is open";
  }
  EXPECT_EQ(TDRXApplication::ModalLevel(), 0);
}

TEST(ShowMessageBox, IconKindsButtonSetsAndCaptions) {
  struct {
    uint32_t flags;
    UString caption, press;
    LPCWSTR icon;
    std::vector<UString> buttons;
    int result;
  } cases[] = {
      {MB_ICONERROR, u"", u"OK", IDI_ERROR, {u"OK"}, IDOK},
      {MB_YESNOCANCEL | MB_ICONWARNING | MB_DEFBUTTON3, u"", u"&No", IDI_WARNING, {u"&Yes", u"&No", u"Cancel"}, IDNO},
      {MB_ABORTRETRYIGNORE | MB_ICONWARNING, u"Setup", u"&Ignore", IDI_WARNING, {u"&Abort", u"&Retry", u"&Ignore"},
       IDIGNORE},
      {MB_RETRYCANCEL, u"", u"&Retry", nullptr, {u"&Retry", u"Cancel"}, IDRETRY},
      {MB_YESNO | MB_ICONINFORMATION, u"", u"&Yes", IDI_INFORMATION, {u"&Yes", u"&No"}, IDYES},
  };
  for (const auto& c : cases) {
    TBoxSnapshot box;
    EXPECT_EQ(Answer(c.press, box, [&] { return ShowMessageBox(nullptr, u"text", c.caption, c.flags); }), c.result)
        << c.flags;
    EXPECT_EQ(box.caption, c.caption.empty() ? DefaultMessageBoxCaption(c.flags) : c.caption) << c.flags;
    EXPECT_EQ(box.buttons, c.buttons) << c.flags;
    EXPECT_EQ(box.icon, c.icon ? LoadIconW(nullptr, c.icon) : nullptr) << c.flags;
  }
}

TEST(ShowMessageBox, AnErrorWithoutCaptionIsCaptionedError) {
  TBoxSnapshot box;
  Answer(u"OK", box, [] { return ShowMessageBox(nullptr, u"Disk full", u"", MB_ICONERROR); });
  EXPECT_EQ(box.caption, u"Error");
}

TEST(ShowMessageBox, ReplacedCaptionsAndTheOwnerOrTheMainWindow) {
  TRestoreDialogsStrs restore;
  DialogsStrs().ButtonCaptions[mbOK] = u"&Ja";
  DialogsStrs().ButtonCaptions[mbCancel] = u"Abbrechen";
  TTestForm owner, main;
  TBoxSnapshot box;
  EXPECT_EQ(Answer(u"Abbrechen", box, [&] { return ShowMessageBox(owner.Handle, u"?", u"Q", MB_OKCANCEL); }),
            IDCANCEL);
  EXPECT_EQ(box.buttons, (std::vector<UString>{u"&Ja", u"Abbrechen"}));
  EXPECT_EQ(box.owner, owner.Handle);

  TDRXApplication::SetMainWindow(main.Handle);
  EXPECT_EQ(Answer(u"&Ja", box, [] { return ShowMessageBox(nullptr, u"?", u"Q", MB_OKCANCEL); }), IDOK);
  TDRXApplication::SetMainWindow(nullptr);
  EXPECT_EQ(box.owner, main.Handle) << "no owner given: the application's main window";
}

TEST(ShowMessageBox, WithoutAnyOwnerTheThreadsWindowsWaitBehindIt) {
  TTestForm form;
  BOOL enabledWhileShown = TRUE;
  TWindowDriver driver(u"#32770", [&](HWND dialog) {
    enabledWhileShown = IsWindowEnabled(form.Handle);
    ClickButton(FindChildByText(dialog, u"Button", u"OK"));
  });
  ShowMessageBox(nullptr, u"text", u"", MB_OK);
  EXPECT_TRUE(driver.Finish());
  EXPECT_FALSE(enabledWhileShown);
  EXPECT_TRUE(IsWindowEnabled(form.Handle));
}

TEST(ShowMessageBox, BeforeWindows7TheSystemsMessageBoxAnswers) {
  TRestoreDialogsStrs restore;
  DialogsStrs().ButtonCaptions[mbCancel] = u"Abbrechen";
  const TDRXOSVersionOverride vista({6, 0, 6002});
  TBoxSnapshot box;
  EXPECT_EQ(Answer(u"&Retry", box, [] { return ShowMessageBox(nullptr, u"Locked", u"", MB_RETRYCANCEL | MB_ICONERROR); }),
            IDRETRY);
  EXPECT_EQ(box.caption, u"Error");
  EXPECT_EQ(box.buttons, (std::vector<UString>{u"&Retry", u"Cancel"})) << "the system's own captions";
  EXPECT_EQ(box.modalLevel, 1);
}

TEST(ShowMessageBox, ATaskDialogThatCannotBeShownAnswers0) {
  const HWND destroyed = CreateWindowExW(0, L"STATIC", L"gone", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                                         nullptr, nullptr);
  DestroyWindow(destroyed);
  EXPECT_EQ(TDRXMessageTaskDialog(MessageBoxLayout(MB_OK), u"c", u"t").Execute(destroyed), 0);
}

TEST(ExceptionReport, AnEscapedExceptionIsReportedWithItsChainAndTheProgramGoesOn) {
  TRestoreDialogsStrs restore;
  DialogsStrs().ButtonCaptions[mbOK] = u"Fine";
  TDRXApplication::SetTitle(u"Ovix Setup");
  TTestForm main;
  TDRXApplication::SetMainWindow(main.Handle);
  std::exception_ptr error;
  try {
    try {
      throw EOSError(u"Access denied", 5);
    } catch (...) {
      std::throw_with_nested(Exception(u"Cannot create the folder"));
    }
  } catch (...) {
    error = std::current_exception();
  }
  TBoxSnapshot box;
  Answer(u"Fine", box, [&] {
    TDRXApplication::HandleException(error);
    return 0;
  });
  TDRXApplication::SetMainWindow(nullptr);
  EXPECT_EQ(box.caption, u"Ovix Setup");
  EXPECT_EQ(box.texts, std::vector<UString>{u"Cannot create the folder\r\nAccess denied"});
  EXPECT_EQ(box.buttons, std::vector<UString>{u"Fine"}) << "the task dialog, installed with the unit";
  EXPECT_EQ(box.icon, LoadIconW(nullptr, IDI_ERROR));
  EXPECT_EQ(box.owner, main.Handle);
}
