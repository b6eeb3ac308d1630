// The folder browser driven as a person would: from a thread of the test
// that finds the dialog, types into it and presses its buttons.
#include "DRX.UI.Dialogs.FolderBrowser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "DRX.UI.Application.h"
#include "DRX.Utils.Paths.h"
#include "DRX.Utils.Shell.h"
#include "TestDialogs.h"
#include "TestSkins.h"
#include "TestSupport.h"

namespace {

constexpr const char16_t* kBrowser = u"TDRXShellFolderBrowserDialog";

// A hidden top-level window of the test's thread to own the dialog.
struct TOwnerWindow {
  TOwnerWindow()
      : Handle(CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 300, 300, 400, 400, nullptr, nullptr,
                               nullptr, nullptr)) {}
  ~TOwnerWindow() { DestroyWindow(Handle); }
  HWND Handle;
};

HWND PathEdit(HWND dialog) {
  const std::vector<HWND> edits = ChildWindows(dialog, u"Edit");
  return edits.empty() ? nullptr : edits.front();
}

void Press(HWND dialog, UStringView caption) { ClickButton(FindChildByText(dialog, u"TDRXButton", caption)); }

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

// Waits on the driver's thread until the condition holds (or a while has passed).
bool WaitFor(const std::function<bool()>& condition) {
  for (int i = 0; i < 1000 && !condition(); ++i) Sleep(10);
  return condition();
}

class FolderBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    UseDefaultSkin(false);
    TDRXFolderBrowserBounds::Forget();
  }
  // Runs Execute from `path`; `act` gets the dialog on the driver's thread.
  bool Run(UString& path, const std::function<void(HWND)>& act) {
    TWindowDriver driver(kBrowser, act);
    const bool result = TDRXShellFolderBrowser::Execute(path, owner.Handle);
    EXPECT_TRUE(driver.Finish()) << "no folder browser appeared";
    return result;
  }

  TOwnerWindow owner;
  TTempFolder temp;
};

}  // namespace

TEST_F(FolderBrowserTest, OpensOnTheInitialFolderAndOkAnswersTheFocusedOne) {
  UString path = temp.Path();
  UString caption, shown;
  HWND ownedBy = nullptr;
  bool newFolderEnabled = false;
  int modalLevel = 0;
  RECT bounds{};
  EXPECT_TRUE(Run(path, [&](HWND dialog) {
    caption = WindowText(dialog);
    shown = WindowText(PathEdit(dialog));
    ownedBy = GetWindow(dialog, GW_OWNER);
    newFolderEnabled = IsWindowEnabled(FindChildByText(dialog, u"TDRXButton", u"New folder"));
    modalLevel = TDRXApplication::ModalLevel();
    bounds = WindowRect(dialog);
    Press(dialog, u"OK");
  }));
  EXPECT_TRUE(IsSamePath(path, temp.Path())) << Utf16ToUtf8(path);
  EXPECT_EQ(caption, u"Browse Folder");
  EXPECT_TRUE(IsSamePath(shown, temp.Path())) << Utf16ToUtf8(shown);
  EXPECT_EQ(ownedBy, owner.Handle);
  EXPECT_TRUE(newFolderEnabled);
  EXPECT_EQ(modalLevel, 1);
  // 360 × 450 at 96 DPI, centred on the owner (300, 300, 700, 700).
  EXPECT_EQ(bounds.right - bounds.left, 360);
  EXPECT_EQ(bounds.bottom - bounds.top, 450);
  EXPECT_EQ((bounds.left + bounds.right) / 2, 500);
  EXPECT_EQ((bounds.top + bounds.bottom) / 2, 500);
  EXPECT_FALSE(TDRXFolderBrowserLock::IsOpen());
}

TEST_F(FolderBrowserTest, TypedTextIsTheAnswerWithoutQuotesAndWhiteSpace) {
  struct {
    UString typed, answer;
    bool result;
  } cases[] = {
      {u"  \"C:\\Program Files\\Ovix\"  ", u"C:\\Program Files\\Ovix", true},
      {u"D:\\Games", u"D:\\Games", true},
      {u" \"\" ", u"", false},
  };
  for (const auto& c : cases) {
    UString path = temp.Path();
    bool treeLostFocus = false;
    const bool result = Run(path, [&](HWND dialog) {
      SendMessageW(PathEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(c.typed)));
      treeLostFocus = !IsWindowEnabled(FindChildByText(dialog, u"TDRXButton", u"New folder"));
      Press(dialog, u"OK");
    });
    EXPECT_EQ(result, c.result) << Utf16ToUtf8(c.typed);
    EXPECT_EQ(path, c.result ? c.answer : temp.Path()) << Utf16ToUtf8(c.typed);
    EXPECT_TRUE(treeLostFocus) << "typing takes the focus from the tree";
  }
}

TEST_F(FolderBrowserTest, CancelAndEscapeLeaveThePath) {
  for (const bool escape : {false, true}) {
    UString path = u"C:\\somewhere\\not\\there";
    EXPECT_FALSE(Run(path, [&](HWND dialog) {
      SendMessageW(PathEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\other"));
      if (escape) {
        SendMessageW(PathEdit(dialog), WM_KEYDOWN, VK_ESCAPE, 1);
      } else {
        Press(dialog, u"Cancel");
      }
    }));
    EXPECT_EQ(path, u"C:\\somewhere\\not\\there");
  }
}

TEST_F(FolderBrowserTest, EnterInTheEditMeansOk) {
  UString path = temp.Path();
  EXPECT_TRUE(Run(path, [&](HWND dialog) {
    SendMessageW(PathEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"C:\\entered"));
    SendMessageW(PathEdit(dialog), WM_KEYDOWN, VK_RETURN, 1);
  }));
  EXPECT_EQ(path, u"C:\\entered");
}

namespace {
std::atomic<int> gSecondResult{-1};
void CALLBACK TrySecondBrowser(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  UString other = u"C:\\";
  gSecondResult = TDRXShellFolderBrowser::Execute(other, nullptr) ? 1 : 0;
}
}  // namespace

TEST_F(FolderBrowserTest, ASecondBrowserWhileOneIsOpenIsRefusedAtOnce) {
  gSecondResult = -1;
  SetTimer(nullptr, 0, 1, &TrySecondBrowser);  // runs inside the first browser's modal loop
  UString path = temp.Path();
  bool secondTried = false;
  Run(path, [&](HWND dialog) {
    secondTried = WaitFor([] { return gSecondResult != -1; });
    Press(dialog, u"Cancel");
  });
  EXPECT_TRUE(secondTried);
  EXPECT_EQ(gSecondResult, 0);
  UString again = temp.Path();
  EXPECT_TRUE(Run(again, [&](HWND dialog) { Press(dialog, u"OK"); })) << "closed, the next one opens";
}

TEST_F(FolderBrowserTest, ItsBoundsAreRememberedUntilItClosesWhereItOpened) {
  UString path = temp.Path();
  RECT opened{}, reopened{}, third{};
  Run(path, [&](HWND dialog) {
    opened = WindowRect(dialog);
    SetWindowPos(dialog, nullptr, 40, 50, 420, 500, SWP_NOZORDER | SWP_NOACTIVATE);
    Press(dialog, u"Cancel");
  });
  ASSERT_TRUE(TDRXFolderBrowserBounds::Remembered().has_value());
  EXPECT_EQ(*TDRXFolderBrowserBounds::Remembered(), (TRect{40, 50, 460, 550}));
  Run(path, [&](HWND dialog) {
    reopened = WindowRect(dialog);
    Press(dialog, u"Cancel");
  });
  EXPECT_EQ((TRect{reopened.left, reopened.top, reopened.right, reopened.bottom}), (TRect{40, 50, 460, 550}));
  EXPECT_FALSE(TDRXFolderBrowserBounds::Remembered().has_value()) << "closed where it opened";
  Run(path, [&](HWND dialog) {
    third = WindowRect(dialog);
    Press(dialog, u"Cancel");
  });
  EXPECT_EQ(third.left, opened.left);
  EXPECT_EQ(third.top, opened.top);
}

TEST_F(FolderBrowserTest, ItCannotBeSizedBelowItsFirstSize) {
  UString path = temp.Path();
  MINMAXINFO limits{};
  Run(path, [&](HWND dialog) {
    SendMessageW(dialog, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    Press(dialog, u"Cancel");
  });
  EXPECT_EQ(limits.ptMinTrackSize.x, 360);
  EXPECT_EQ(limits.ptMinTrackSize.y, 450);
}

TEST_F(FolderBrowserTest, NewFolderAsksForANameAndMakesTheFolderInTheFocusedOne) {
  struct {
    UString typed, made;
  } cases[] = {{u"Made here", u"Made here"}, {u"", u"New folder"}, {u"   ", u"New folder (2)"}};
  for (const auto& c : cases) {
    UString path = temp.Path();
    UString queryCaption, queryValue;
    TWindowDriver query(u"TDRXInputQueryDialog", [&](HWND dialog) {
      queryCaption = WindowText(dialog);
      queryValue = WindowText(PathEdit(dialog));
      SendMessageW(PathEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(W(c.typed)));
      Press(dialog, u"OK");
    });
    EXPECT_TRUE(Run(path, [&](HWND dialog) {
      // Posted: the question runs a modal loop of its own on the dialog's thread.
      PostMessageW(FindChildByText(dialog, u"TDRXButton", u"New folder"), BM_CLICK, 0, 0);
      WaitFor([&] { return DirectoryExists(temp.File(c.made)); });
      WaitFor([&] { return IsSamePath(WindowText(PathEdit(dialog)), temp.File(c.made)); });
      Press(dialog, u"OK");
    }));
    EXPECT_TRUE(query.Finish());
    EXPECT_EQ(queryCaption, u"New folder");
    EXPECT_EQ(queryValue, u"New folder");
    EXPECT_TRUE(DirectoryExists(temp.File(c.made))) << Utf16ToUtf8(c.made);
    EXPECT_TRUE(IsSamePath(path, temp.File(c.made))) << "the new folder is focused: " << Utf16ToUtf8(path);
  }
}

TEST_F(FolderBrowserTest, TheQuestionAnswersTheTextOnOkAndLeavesItOnCancel) {
  for (const bool ok : {true, false}) {
    UString value = u"before";
    DWORD selectionEnd = 0;
    TWindowDriver query(u"TDRXInputQueryDialog", [&](HWND dialog) {
      SendMessageW(PathEdit(dialog), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&selectionEnd));
      SendMessageW(PathEdit(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"after"));
      Press(dialog, ok ? u"OK" : u"Cancel");
    });
    EXPECT_EQ(TDRXInputQueryDialog::Query(nullptr, u"Name", u"Folder name:", value), ok);
    EXPECT_TRUE(query.Finish());
    EXPECT_EQ(value, ok ? u"after" : u"before");
    EXPECT_EQ(selectionEnd, 6u) << "the value is selected, so that typing replaces it";
  }
}
