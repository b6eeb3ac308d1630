#include "DRX.UI.Accessibility.h"

#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "TestSupport.h"

namespace {

constexpr GUID kIidIAccessible = {0x618736E0, 0x3C3D, 0x11CF, {0x81, 0x0C, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

VARIANT Child(long id) {
  VARIANT child;
  VariantInit(&child);
  child.vt = VT_I4;
  child.lVal = id;
  return child;
}

UString Take(BSTR text) {
  UString result = text ? FromW(text, SysStringLen(text)) : UString();
  SysFreeString(text);
  return result;
}

// Role, name, value, shortcut and state of an element, as a reader gets them.
struct TRead {
  long Role = 0;
  UString Name, Value, Shortcut, Action;
  long State = 0;
};

TRead Read(IAccessible* object, long id) {
  TRead read;
  VARIANT child = Child(id), answer;
  if (SUCCEEDED(object->get_accRole(child, &answer))) read.Role = answer.lVal;
  if (SUCCEEDED(object->get_accState(child, &answer))) read.State = answer.lVal;
  BSTR text = nullptr;
  if (SUCCEEDED(object->get_accName(child, &text))) read.Name = Take(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accValue(child, &text))) read.Value = Take(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accKeyboardShortcut(child, &text))) read.Shortcut = Take(text);
  text = nullptr;
  if (SUCCEEDED(object->get_accDefaultAction(child, &text))) read.Action = Take(text);
  return read;
}

IAccessible* ChildObject(IAccessible* parent, long id) {
  IDispatch* dispatch = nullptr;
  if (parent->get_accChild(Child(id), &dispatch) != S_OK || !dispatch) return nullptr;
  IAccessible* object = nullptr;
  dispatch->QueryInterface(kIidIAccessible, reinterpret_cast<void**>(&object));
  dispatch->Release();
  return object;
}

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
  TRead form = Read(object_, CHILDID_SELF);
  EXPECT_EQ(form.Role, ROLE_SYSTEM_DIALOG);
  EXPECT_EQ(form.Name, u"Setup - Ovix");

  long count = 0;
  ASSERT_EQ(object_->get_accChildCount(&count), S_OK);
  ASSERT_EQ(count, 4);
  TRead text = Read(object_, 1);
  EXPECT_EQ(text.Role, ROLE_SYSTEM_STATICTEXT);
  EXPECT_EQ(text.Name, u"Welcome to Ovix");
  TRead progress = Read(object_, 3);
  EXPECT_EQ(progress.Role, ROLE_SYSTEM_PROGRESSBAR);
  EXPECT_EQ(progress.Value, u"50%");

  IAccessible* box = ChildObject(object_, 2);
  ASSERT_TRUE(box);
  TRead boxRead = Read(box, CHILDID_SELF);
  EXPECT_EQ(boxRead.Role, ROLE_SYSTEM_CHECKBUTTON);
  EXPECT_EQ(boxRead.Name, u"Remember me");
  EXPECT_EQ(boxRead.Shortcut, u"Alt+R");
  EXPECT_EQ(boxRead.Action, u"Check");
  EXPECT_FALSE(boxRead.State & STATE_SYSTEM_CHECKED);
  box->Release();

  IAccessible* next = ChildObject(object_, 4);
  ASSERT_TRUE(next);
  TRead nextRead = Read(next, CHILDID_SELF);
  EXPECT_EQ(nextRead.Role, ROLE_SYSTEM_PUSHBUTTON);
  EXPECT_EQ(nextRead.Name, u"Next >");
  EXPECT_EQ(nextRead.State & (STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_DEFAULT),
            STATE_SYSTEM_UNAVAILABLE | STATE_SYSTEM_DEFAULT);
  next->Release();

  // Parts are simple elements: no object of their own, and out of range is refused.
  IDispatch* none = nullptr;
  EXPECT_EQ(object_->get_accChild(Child(1), &none), S_FALSE);
  EXPECT_EQ(object_->get_accChild(Child(5), &none), E_INVALIDARG);
  VARIANT last;
  ASSERT_EQ(object_->accNavigate(NAVDIR_LASTCHILD, Child(CHILDID_SELF), &last), S_OK);
  ASSERT_EQ(last.vt, VT_DISPATCH);
  last.pdispVal->Release();
}

TEST_F(AccessibleFormProcess, TheDefaultActionChecksTheBoxAndIsAnnounced) {
  DWORD processId = 0;
  GetWindowThreadProcessId(form_, &processId);
  HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_STATECHANGE, EVENT_OBJECT_STATECHANGE, nullptr, CountStateChange,
                                       processId, 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  IAccessible* box = ChildObject(object_, 2);
  ASSERT_TRUE(box);
  gStateChanges = 0;
  ASSERT_EQ(box->accDoDefaultAction(Child(CHILDID_SELF)), S_OK);
  for (int i = 0; i < 100 && !(Read(box, CHILDID_SELF).State & STATE_SYSTEM_CHECKED); ++i) PumpFor(20);
  TRead read = Read(box, CHILDID_SELF);
  EXPECT_TRUE(read.State & STATE_SYSTEM_CHECKED);
  EXPECT_EQ(read.Action, u"Uncheck");
  for (int i = 0; i < 100 && gStateChanges == 0; ++i) PumpFor(20);
  EXPECT_GE(gStateChanges, 1);
  UnhookWinEvent(hook);
  box->Release();
}

TEST_F(AccessibleFormProcess, AnObjectOfAClosedWindowAnswersWithAnError) {
  PostMessageW(form_, WM_CLOSE, 0, 0);
  WaitForSingleObject(process_.hProcess, 10000);
  form_ = nullptr;
  long count = 0;
  EXPECT_TRUE(FAILED(object_->get_accChildCount(&count)));
}
