#pragma once
// What a screen reader learns of the skinned controls: each window answers
// WM_GETOBJECT with an accessible object (MSAA IAccessible) whose role, name,
// state and default action its control supplies, and whose children are its
// child windows and the windowless parts it paints (labels, progress bars), in
// reading order. The reading order is portable; the COM object is
// Windows-only. Names and shortcuts come from captions by the accelerator
// rules of DRX.UI.Controls.

#include <cstdint>
#include <vector>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

// The MSAA role numbers (ROLE_SYSTEM_*), so portable code can name them.
enum class TDRXAccessibleRole : uint32_t {
  ScrollBar = 0x03,
  Link = 0x1E,
  Client = 0x0A,
  Dialog = 0x12,
  Pane = 0x10,
  List = 0x21,
  ListItem = 0x22,
  Outline = 0x23,
  OutlineItem = 0x24,
  Graphic = 0x28,
  StaticText = 0x29,
  Text = 0x2A,
  PushButton = 0x2B,
  CheckButton = 0x2C,
  RadioButton = 0x2D,
  ComboBox = 0x2E,
  ProgressBar = 0x30,
};

// The MSAA state bits (STATE_SYSTEM_*) the controls report.
namespace DRXAccessibleState {
constexpr uint32_t Unavailable = 0x1;
constexpr uint32_t Selected = 0x2;
constexpr uint32_t Focused = 0x4;
constexpr uint32_t Pressed = 0x8;
constexpr uint32_t Checked = 0x10;
constexpr uint32_t Mixed = 0x20;
constexpr uint32_t ReadOnly = 0x40;
constexpr uint32_t HotTracked = 0x80;
constexpr uint32_t Default = 0x100;
constexpr uint32_t Invisible = 0x8000;
constexpr uint32_t Focusable = 0x100000;
constexpr uint32_t Linked = 0x400000;
}  // namespace DRXAccessibleState

// One accessible element: a window itself or a windowless part of it.
struct TDRXAccessibleItem {
  TDRXAccessibleRole Role = TDRXAccessibleRole::Client;
  UString Name;
  UString Value;
  UString Description;
  UString Shortcut;       // "Alt+N"
  UString DefaultAction;  // "Press", "Check", "Uncheck", "Jump"
  uint32_t State = 0;
  TRect Bounds;  // client coordinates of the window that paints it (parts only)
};

// A progress value as a reader says it: the share of the range, "0%" … "100%".
UString AccessiblePercent(double minimum, double maximum, double position);
// The order in which a reader visits elements: top to bottom; elements whose
// vertical extents overlap count as one row and go left to right. Returns
// indices into `bounds`; equal places keep their given order.
std::vector<size_t> AccessibleReadingOrder(const std::vector<TRect>& bounds);

#ifdef _WIN32
struct HWND__;

// What a window tells its accessible object. Asked afresh on each call, so the
// answers follow the control's state without any caching.
class IDRXAccessibleSource {
 public:
  // The window itself. Focused, unavailable and invisible are added from the
  // window's own state.
  virtual TDRXAccessibleItem AccessibleSelf() = 0;
  // The windowless parts the window paints, in any order.
  virtual std::vector<TDRXAccessibleItem> AccessibleParts() { return {}; }
  // Does what the default action of the window (part 0) or of part k (1-based,
  // as AccessibleParts lists them) says. Runs from a posted message, never
  // inside a reader's call.
  virtual void AccessibleDoDefaultAction(int part) { (void)part; }

 protected:
  ~IDRXAccessibleSource() = default;
};

class TDRXAccessibleObject;

// The accessible object of one window, made on the first WM_GETOBJECT and cut
// off from its source (CoDisconnectObject) when the window goes, so a reader
// that still holds it gets errors instead of a dangling control.
class TDRXAccessibleWindow {
 public:
  explicit TDRXAccessibleWindow(IDRXAccessibleSource& source);
  ~TDRXAccessibleWindow();
  TDRXAccessibleWindow(const TDRXAccessibleWindow&) = delete;
  TDRXAccessibleWindow& operator=(const TDRXAccessibleWindow&) = delete;

  // Handles the window's messages that concern it: WM_GETOBJECT for the client
  // object, the posted default action, WM_DESTROY. True when `result` is the
  // answer.
  bool HandleMessage(HWND__* window, uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result);
  void Detach();

 private:
  IDRXAccessibleSource& source_;
  TDRXAccessibleObject* object_ = nullptr;
};

// The message a window receives to run a default action (wParam: the part).
uint32_t AccessibleDefaultActionMessage();
// The child id under which readers know part k (0-based, as AccessibleParts
// lists them) of the window: its place among the window's children in
// reading order, 1-based; 0 (the window itself) when it is not shown.
int32_t AccessibleChildIdOfPart(HWND__* window, const std::vector<TDRXAccessibleItem>& parts, size_t part);
// Tells readers that something of the window (child 0) or of one of its
// children changed: EVENT_OBJECT_FOCUS, _NAMECHANGE, _STATECHANGE, _VALUECHANGE.
void NotifyAccessibleEvent(HWND__* window, uint32_t event, int32_t child = 0);
#endif
