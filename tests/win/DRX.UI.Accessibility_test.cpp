#include "DRX.UI.Accessibility.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "AccessibleTree.h"
#include "TestSupport.h"

namespace {

constexpr GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

void PumpFor(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    Sleep(10);
  }
}

int gStateChanges = 0;
void CALLBACK CountStateChange(HWINEVENTHOOK, DWORD, HWND, LONG object, LONG, DWORD, DWORD) {
  if (object == OBJID_CLIENT) ++gStateChanges;
}

// The test form (bin/accessible_window.exe) in a process of its own.
class AccessibleFormProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    UString command = BinFolder() + u"accessible_window.exe";
    command.insert(command.begin(), u'"');
    command += u'"';
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    ASSERT_TRUE(CreateProcessW(nullptr, W(command), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_));
    for (int i = 0; i < 500 && !form_; ++i) {
      form_ = FindWindowW(L"DRXAccessibleTestForm", nullptr);
      if (!form_) Sleep(20);
    }
    ASSERT_TRUE(form_);
    ASSERT_EQ(AccessibleObjectFromWindow(form_, static_cast<DWORD>(OBJID_CLIENT), kIidIAccessible,
                                         reinterpret_cast<void**>(&object_)),
              S_OK);
  }
  void TearDown() override {
    if (object_) object_->Release();
    if (form_) PostMessageW(form_, WM_CLOSE, 0, 0);
    if (process_.hProcess) {
      WaitForSingleObject(process_.hProcess, 10000);
      CloseHandle(process_.hProcess);
      CloseHandle(process_.hThread);
    }
    CoUninitialize();
  }

  PROCESS_INFORMATION process_{};
  HWND form_ = nullptr;
  IAccessible* object_ = nullptr;
};

}  // namespace

TEST_F(AccessibleFormProcess, TheFormAndItsChildrenReadInReadingOrder) {
  TAccessibleNode tree = ReadAccessibleTree(form_);
  tree.State &= ~STATE_SYSTEM_FOCUSED;  // whether the form is active is the window manager's business
  EXPECT_EQ(DumpAccessibleTree(tree),
            "dialog \"Setup - Ovix\"\n"
            "  text \"Welcome to Ovix\" [read-only]\n"
            "  check box \"Remember me\" Alt+R (Check) [focusable]\n"
            "  progress bar \"Progress\" = \"50%\"\n"
            "  push button \"Next >\" Alt+N (Press) [unavailable, default, focusable]\n");

  // Parts are simple elements: no object of their own, and out of range is refused.
  IDispatch* none = nullptr;
  EXPECT_EQ(object_->get_accChild(AccessibleChildId(1), &none), S_FALSE);
  EXPECT_EQ(object_->get_accChild(AccessibleChildId(5), &none), E_INVALIDARG);
  VARIANT last;
  ASSERT_EQ(object_->accNavigate(NAVDIR_LASTCHILD, AccessibleChildId(CHILDID_SELF), &last), S_OK);
  ASSERT_EQ(last.vt, VT_DISPATCH);
  last.pdispVal->Release();
}

TEST_F(AccessibleFormProcess, TheDefaultActionChecksTheBoxAndIsAnnounced) {
  DWORD processId = 0;
  GetWindowThreadProcessId(form_, &processId);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, CountStateChange,
                                       processId, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  gStateChanges = 0;
  TAccessibleNode tree = ReadAccessibleTree(form_);
  const TAccessibleNode* box = FindAccessible(tree, ROLE_SYSTEM_CHECKBUTTON, u"Remember me");
  ASSERT_TRUE(box);
  ASSERT_TRUE(box->DoDefaultAction());
  auto boxNow = [&] { return *FindAccessible(ReadAccessibleTree(form_), ROLE_SYSTEM_CHECKBUTTON); };
  for (int i = 0; i < 100 && !boxNow().Has(STATE_SYSTEM_CHECKED); ++i) PumpFor(20);
  EXPECT_TRUE(boxNow().Has(STATE_SYSTEM_CHECKED));
  EXPECT_EQ(boxNow().DefaultAction, u"Uncheck");
  for (int i = 0; i < 100 && gStateChanges == 0; ++i) PumpFor(20);
  EXPECT_GE(gStateChanges, 1);
  UnhookWinEvent(hook);
}

TEST_F(AccessibleFormProcess, AnObjectOfAClosedWindowAnswersWithAnError) {
  PostMessageW(form_, WM_CLOSE, 0, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  form_ = nullptr;
  long count = 0;
  EXPECT_TRUE(FAILED(object_->get_accChildCount(&count)));
}
