#include "DRX.MUI.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string>* windowLog = nullptr;

LRESULT CALLBACK RecordingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRX_LANGCHANGED && windowLog) windowLog->push_back("form:" + std::to_string(wParam + lParam));
  return DefWindowProcW(window, message, wParam, lParam);
}

// A hidden top-level window of this process, as a form would be.
class TTestForm {
 public:
  TTestForm() {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = RecordingWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"TMUITestForm";
    RegisterClassW(&windowClass);
    handle_ = CreateWindowExW(0, L"TMUITestForm", L"", WS_OVERLAPPEDWINDOW, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  }
  ~TTestForm() { DestroyWindow(handle_); }
  HWND Handle() const { return handle_; }

 private:
  HWND handle_;
};

class TRecordingListener : public IDRXLocalizationListener3 {
 public:
  explicit TRecordingListener(std::vector<std::string>& log) : log_(log) {}
  void LangInitialize() override { log_.push_back("init"); }
  void LangApply() override { log_.push_back("apply"); }
  void LangChanged() override { log_.push_back("changed"); }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

TEST(Localization, FormsHearOfTheNewLanguageBeforeThePlainListeners) {
  std::vector<std::string> log;
  windowLog = &log;
  TTestForm first, second;
  ASSERT_NE(first.Handle(), nullptr);
  TRecordingListener listener(log);
  TDRXLocalization lang;
  lang.AddListener(&listener);
  lang.LangChanged();
  windowLog = nullptr;
  EXPECT_EQ(log, (std::vector<std::string>{"init", "apply", "form:0", "form:0", "changed"}));
}
