#pragma once
// A window of one of the system's control classes ("EDIT", "COMBOBOX",
// "RICHEDIT50W") inside a skinned control (Windows only): the skinned control
// owns it and draws around it, the system class does the editing. The window
// is subclassed (SetWindowSubclass) so that its object sees every message
// first; what the object does not handle goes to the class's own procedure.
// As with the library's own windows, no exception crosses the procedure: the
// application's exception report gets it.

#include <windows.h>

#include <cstdint>

#include <memory>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"
#include "DRX.UI.Accessibility.h"

struct TDRXSystemWindowParams {
  UString ClassName;
  uint32_t Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  uint32_t ExStyle = 0;
};

class TDRXSystemWindow {
 public:
  TDRXSystemWindow() = default;
  // Destroys the window.
  virtual ~TDRXSystemWindow();
  TDRXSystemWindow(const TDRXSystemWindow&) = delete;
  TDRXSystemWindow& operator=(const TDRXSystemWindow&) = delete;

  HWND Handle() const { return handle_; }
  // Makes the window as a child of the parent at the rectangle (parent client
  // coordinates) with the given control id; raises EOSError when the system
  // cannot. Does nothing when the window exists.
  void CreateIn(HWND parent, const TRect& bounds, int id);
  void Destroy();

  // Every message of the window; the default hands it to the class's procedure.
  virtual intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
  intptr_t DefaultHandler(uint32_t message, uintptr_t wParam, intptr_t lParam);
  intptr_t Perform(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0) {
    return handle_ ? SendMessageW(handle_, message, wParam, lParam) : 0;
  }

  UString Text() const;
  void SetText(UStringView text);

 protected:
  virtual void CreateParams(TDRXSystemWindowParams& params) = 0;
  // After the window exists and is subclassed.
  virtual void HandleCreated() {}

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                       DWORD_PTR data) noexcept;
  HWND handle_ = nullptr;
};

// What an inner editing window tells the skinned control around it.
class IDRXInnerWindowHost {
 public:
  // Tab, Enter or Escape went down in the inner window: offered to the form
  // (Tab moves the focus, Enter presses the default button); true when taken.
  virtual bool InnerDialogKey(uint16_t key) = 0;
  // An accelerator typed with Alt in the inner window, offered to the form; true when taken.
  virtual bool InnerDialogChar(char16_t character) { return false; }
  virtual void InnerFocusChanged(bool focused) = 0;
  // After input, scrolling or resizing that may have moved the content.
  virtual void InnerContentMoved() {}
  // The mouse came over the inner window or left it.
  virtual void InnerHoverChanged(bool hover) {}

 protected:
  ~IDRXInnerWindowHost() = default;
};

// The inner editing window of an edit, a memo or a combo box: hands Tab,
// Enter and Escape to the form unless it keeps them itself (a multi-line memo
// keeps Enter), swallows their characters so the system does not beep, and
// tells its host of focus changes and of everything that may scroll it.
// Readers get the system's own view of the window unless a kind describes it
// (InnerAccessibleItem): classes without a proxy (a rich edit, a combo box
// under some systems) read as a bare client otherwise.
class TDRXInnerWindow : public TDRXSystemWindow, private IDRXAccessibleSource {
 public:
  explicit TDRXInnerWindow(IDRXInnerWindowHost& host);
  ~TDRXInnerWindow() override;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  virtual bool KeepsKey(uint16_t key) const { return false; }
  IDRXInnerWindowHost& Host() const { return host_; }
  // Fills what readers learn of the window and answers true; false leaves it to the system.
  virtual bool InnerAccessibleItem(TDRXAccessibleItem& item) { return false; }

 private:
  TDRXAccessibleItem AccessibleSelf() override;
  bool HandleAccessibility(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  bool IsDialogKey(uintptr_t key) const;
  void TrackHover();
  IDRXInnerWindowHost& host_;
  std::unique_ptr<TDRXAccessibleWindow> accessible_;
  bool hover_ = false;
};
