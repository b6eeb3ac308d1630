#pragma once
// The control tree of the skinned toolkit.
//
// TDRXComponent: a named object that may own others; an owner destroys what it
// owns, and finds it by name (the wizard's localisation walks a page's
// components and sets their "Caption" by name).
//
// TDRXCustomControl: a windowless control. Its bounds are in its parent's
// client coordinates, in pixels of the current DPI. It is painted by the
// nearest windowed ancestor, inside that window's double-buffered paint, and
// gets the mouse from it by hit test. A control may parent others (a wizard
// page parents its labels and buttons); a parent destroys its children.
// Children aligned to an edge are placed inside the parent's padding; the
// others follow their anchors when the parent resizes.
//
// TDRXWinControl (Windows): a control with a window of its own, below.
//
// The tree belongs to the interface thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"
#include "DRX.UI.Accessibility.h"
#include "DRX.UI.Controls.Layout.h"

struct HDC__;
class TDRXWinControl;

class TDRXComponent {
 public:
  // Registers with the owner, which destroys the component unless it is
  // destroyed first.
  explicit TDRXComponent(TDRXComponent* owner = nullptr);
  // Destroys the owned components, the last one first, and leaves the owner.
  virtual ~TDRXComponent();
  TDRXComponent(const TDRXComponent&) = delete;
  TDRXComponent& operator=(const TDRXComponent&) = delete;

  virtual UString ClassName() const { return u"TDRXComponent"; }

  TDRXComponent* Owner() const { return owner_; }
  // Expires when the component is destroyed: code that calls out (a click
  // handler may destroy the form) checks it before touching the object again.
  std::weak_ptr<const void> AliveToken() const { return alive_; }
  const UString& Name() const { return name_; }
  void SetName(UStringView name) { name_ = UString(name); }

  int ComponentCount() const { return static_cast<int>(components_.size()); }
  TDRXComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
  // The owned component with that name, compared ignoring case; none for an empty name.
  TDRXComponent* FindComponent(UStringView name) const;

  // The text property "Caption" of the kinds that have one.
  virtual bool HasCaption() const { return false; }
  virtual UString Caption() const { return {}; }
  virtual void SetCaption(UStringView) {}

 private:
  TDRXComponent* owner_;
  std::shared_ptr<const void> alive_ = std::make_shared<char>(0);
  UString name_;
  std::vector<TDRXComponent*> components_;
};

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

enum TShiftStateFlag : uint8_t { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = uint8_t;

class TDRXCustomControl;
using TDRXNotifyEvent = std::function<void(TDRXCustomControl& sender)>;

class TDRXCustomControl : public TDRXComponent {
 public:
  explicit TDRXCustomControl(TDRXComponent* owner = nullptr);
  // Destroys the children and leaves the parent.
  ~TDRXCustomControl() override;

  UString ClassName() const override { return u"TDRXCustomControl"; }
  virtual bool IsWindowed() const { return false; }

  // ---- The tree ----
  TDRXCustomControl* Parent() const { return parent_; }
  // Appends the control as the topmost child of the new parent (none detaches it).
  void SetParent(TDRXCustomControl* parent);
  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TDRXCustomControl* Controls(int index) const { return controls_.at(static_cast<size_t>(index)); }
  // The nearest windowed control above this one (not this one itself).
  TDRXWinControl* ParentWindow() const;
  // The top of the tree (a form, when the control is on one).
  TDRXCustomControl* Root();
  // Where the control's client origin is in the client area of ParentWindow.
  TPoint OriginInParentWindow() const;

  // ---- Bounds (parent's client coordinates, pixels of the current DPI) ----
  TRect BoundsRect() const { return bounds_; }
  int32_t Left() const { return bounds_.Left; }
  int32_t Top() const { return bounds_.Top; }
  int32_t Width() const { return bounds_.Width(); }
  int32_t Height() const { return bounds_.Height(); }
  TRect ClientRect() const { return {0, 0, bounds_.Width(), bounds_.Height()}; }
  // A kind may correct the rectangle (a progress bar keeps its height) in CorrectBounds.
  void SetBoundsRect(const TRect& bounds);
  void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    SetBoundsRect(::Bounds(left, top, width, height));
  }

  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);
  TDRXMargins Margins() const { return margins_; }
  void SetMargins(const TDRXMargins& margins);
  // Narrows the space of the aligned children.
  TDRXMargins Padding() const { return padding_; }
  void SetPadding(const TDRXMargins& padding);
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors anchors) { anchors_ = anchors; }
  // Places the aligned children again (done on every change that moves them).
  void Realign();

  // ---- State ----
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Visible, and so is every control above it.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // Enabled, and so is every control above it.
  bool EnabledInTree() const;
  // The place among the siblings in the cycle of Tab. A control is parented
  // last; setting a place moves it there and renumbers the siblings 0, 1, ...
  int TabOrder() const { return tabOrder_; }
  void SetTabOrder(int order);
  // The children sorted by tab order.
  std::vector<TDRXCustomControl*> ControlsInTabOrder() const;

  // The font; while ParentFont is on, the parent's. Heights are pixels of the current DPI.
  const TFont& Font() const;
  void SetFont(const TFont& font);
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool value);

  bool HasCaption() const override { return false; }
  UString Caption() const override { return caption_; }
  void SetCaption(UStringView caption) override;

  // The DPI the control is shown at (its root's; 96 off a form).
  virtual int CurrentDPI() const;
  // Current DPI ÷ 96.
  TDRXScaleFactor ScaleFactor() const { return {CurrentDPI(), 96}; }
  // Scales bounds, margins, padding and an own font by numerator ÷ denominator,
  // then every child. Kinds scale their own lengths after calling this.
  virtual void ChangeScale(int32_t numerator, int32_t denominator);

  // ---- Painting ----
  // Asks the parent window to paint the control again.
  void Invalidate() { InvalidateRect(ClientRect()); }
  // Client coordinates; windowed kinds invalidate their window, the others pass
  // the rectangle up.
  virtual void InvalidateRect(const TRect& rect);
  virtual TDRXWinControl* AsWinControl() { return nullptr; }
  // Paints the control and its windowless children into a device context whose
  // origin is the control's client origin (the caller clips to the client rectangle).
  void PaintTo(HDC__* dc);
  // The application's high contrast changed: tells this control, then every
  // descendant (the form does before it repaints).
  void NotifyHighContrastChanged();

  // ---- Mouse (client coordinates) ----
  // Whether the point belongs to the control; elsewhere clicks fall through to
  // what lies below.
  virtual bool HitTest(TPoint point) const { return ClientRect().Contains(point); }
  // The topmost visible, enabled windowless descendant that accepts the point
  // (in this control's client coordinates), or none; its own coordinates in local.
  TDRXCustomControl* WindowlessControlAt(TPoint point, TPoint& local);
  bool MouseInControl() const { return mouseInControl_; }

  TDRXNotifyEvent OnClick;
  virtual void Click();

  // ---- What screen readers learn ----
  // Fills what a reader announces of the control and answers true; a
  // windowless control that answers false is not shown to readers (its
  // window fills Bounds). Windowed kinds start from a client item named by
  // the caption.
  virtual bool AccessibleItem(TDRXAccessibleItem& item) const { return false; }
  // What a reader's "activate" does: a click by default.
  virtual void AccessibleDefaultAction() { Click(); }
  // Elements inside the control that readers see after it (the links of a
  // formatted text), bounds in the control's client coordinates, and what
  // activating the index-th of them does.
  virtual std::vector<TDRXAccessibleItem> AccessibleSubItems() const { return {}; }
  virtual void AccessibleSubItemAction(size_t index) {}
  // Tells readers that the control's name, state or value changed
  // (EVENT_OBJECT_NAMECHANGE, _STATECHANGE, _VALUECHANGE) or that a windowless
  // stop of Tab took the focus (_FOCUS); nothing off Windows or before the
  // window exists.
  void NotifyAccessibleChange(uint32_t event);

  // ---- Routed by the parent window ----
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {}
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y) {}
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {}
  void SetMouseInControl(bool inside);
  // The windowed control that routes the mouse forgets a control leaving it.
  virtual void ForgetControl(TDRXCustomControl* control) {}

 protected:
  // What the control paints of itself, before its children.
  virtual void Paint(HDC__* dc) {}
  virtual void MouseEnter() {}
  virtual void MouseLeave() {}
  // The rectangle a kind accepts for requested bounds.
  virtual TRect CorrectBounds(const TRect& requested) const { return requested; }
  // After bounds changed; the default realigns the children.
  virtual void Resized();
  virtual void BoundsChanged() {}
  virtual void VisibleChanged();
  virtual void EnabledChanged() { Invalidate(); }
  virtual void FontChanged() { Invalidate(); }
  virtual void CaptionChanged() { Invalidate(); }
  // The parent (or one above it) changed: windowed kinds move their window.
  virtual void ParentChanged();
  // Kinds that keep colours or a layout made with them take them anew.
  virtual void HighContrastChanged() {}
  // Bounds, visibility or the place in the tree changed somewhere above.
  virtual void PlacementChanged();
  void NotifyChildrenFontChanged();
  // Destroys the children now; kinds call it first in their destructors when
  // the children may reach back to them.
  void DestroyChildren();

 private:
  void RemoveChild(TDRXCustomControl* child);
  void ParentResized(TSize oldSize, TSize newSize);
  void ApplyBounds(const TRect& bounds);
  void ChildLayoutChanged();

  TDRXCustomControl* parent_ = nullptr;
  std::vector<TDRXCustomControl*> controls_;
  TRect bounds_;
  TAlign align_ = alNone;
  TDRXMargins margins_;
  TDRXMargins padding_;
  TAnchors anchors_ = kDefaultAnchors;
  bool visible_ = true;
  bool enabled_ = true;
  bool parentFont_ = true;
  bool mouseInControl_ = false;
  bool aligning_ = false;
  int tabOrder_ = 0;
  TFont font_;
  UString caption_;
};

// The caption's accelerator: the character after a single "&" ("&&" is a
// literal ampersand), upper-cased for ASCII letters; 0 without one.
char16_t AcceleratorOf(UStringView caption);
// The caption as shown: "&&" becomes "&", a single "&" disappears.
UString StripAccelerator(UStringView caption);
// "Alt+N" for "&Next >", as readers announce the shortcut; empty without one.
UString AcceleratorShortcut(UStringView caption);
// Whether the character is the caption's accelerator, ignoring ASCII case.
bool IsAccelerator(char16_t character, UStringView caption);

#ifdef _WIN32
struct HWND__;

// How a windowed control's window is made.
struct TDRXCreateParams {
  UString ClassName;  // registered on first use, with the library's window procedure
  uint32_t Style = 0;
  uint32_t ExStyle = 0;
  HWND__* ParentWindow = nullptr;
};

// A control with a window of its own. The window's procedure is a static
// thunk that finds the object through GWLP_USERDATA (set at WM_NCCREATE,
// cleared at WM_NCDESTROY) and hands every message to WndProc; no exception
// crosses it (TDRXApplication::HandleException gets it). The window is made
// once the control sits under a window that has one (or, for a top-level
// kind, when its handle is asked for); its text is the caption. It paints
// itself and its windowless descendants into one back buffer and routes the
// mouse to them by hit test.
class TDRXWinControl : public TDRXCustomControl, private IDRXAccessibleSource {
 public:
  explicit TDRXWinControl(TDRXComponent* owner = nullptr);
  ~TDRXWinControl() override;

  UString ClassName() const override { return u"TDRXWinControl"; }
  bool IsWindowed() const override { return true; }
  TDRXWinControl* AsWinControl() override { return this; }

  // The window, made now when it can be; none while it cannot.
  HWND__* Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  // The object of one of the library's windows; none for other windows.
  static TDRXWinControl* FromHandle(HWND__* window);

  // ---- Focus and tab order ----
  bool Focused() const;
  // Showing, enabled, and so is every control above it.
  virtual bool CanFocus() const;
  void SetFocus();
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool value) { tabStop_ = value; }
  // Whether Tab stops here now: a tab stop that can take the focus (a group
  // of radio boxes stops only at its checked one).
  virtual bool InTabCycle() const { return TabStop() && CanFocus(); }
  // Tab reaching the control: focuses its first stop going forward, its last
  // going backward (an edit's embedded buttons are stops of their own).
  virtual void EnterFromTab(bool forward) { SetFocus(); }
  // Tab inside a focused control with stops of its own: moves to the next
  // (or previous) of them; false when Tab leaves the control.
  virtual bool SelectNextPart(bool forward) { return false; }
  // The windowed descendants in tab order, depth first (the children of a
  // container follow it), whether they can take the focus or not.
  std::vector<TDRXWinControl*> TabList();

  void InvalidateRect(const TRect& rect) override;
  // Paints now what is invalid.
  void Update();
  // Paints the window and every windowed descendant at its place into a
  // device context whose origin is this window's client origin, as the
  // screen would show them (tests and captures read it back).
  void PaintTree(HDC__* dc);

  // The message handler; kinds handle their messages and call this for the rest.
  virtual intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam);
  intptr_t DefaultHandler(uint32_t message, uintptr_t wParam, intptr_t lParam);

  // Keys that the form offers the controls (Enter, Escape) and accelerator
  // characters; true when taken.
  virtual bool DialogKey(uint16_t key, TShiftState shift) { return false; }
  virtual bool DialogChar(char16_t character) { return false; }

 protected:
  virtual void CreateParams(TDRXCreateParams& params);
  void CreateHandle();
  void DestroyHandle();
  virtual void HandleCreated() {}

  // The background under the control's own painting: the parent window's
  // look at that place (windowed controls show what is behind them).
  virtual void PaintBackground(HDC__* dc);
  // Everything the window shows, into a device context whose origin is the
  // client origin: background, the control's own painting, windowless children.
  void PaintWindow(HDC__* dc);

  // Keys this control handles itself; the rest go to the form (Tab, Enter, Esc).
  virtual bool WantsKey(uint16_t key) const { return false; }
  // Whether typed characters are the control's (else they are accelerators).
  virtual bool WantsChars() const { return false; }
  virtual void KeyDown(uint16_t key, TShiftState shift) {}
  virtual void KeyUp(uint16_t key, TShiftState shift) {}
  virtual void KeyPress(char16_t character) {}
  virtual void FocusEntered() {}
  virtual void FocusExited() {}
  // WM_GETOBJECT: what accessibility asks of the window (the default handler by default).
  virtual intptr_t OnGetObject(uintptr_t wParam, intptr_t lParam);
  // A keyboard message the control did not handle, offered to its form.
  virtual bool FormKey(uint16_t key, TShiftState shift);
  virtual bool FormChar(char16_t character, bool alt);
  // Focus moved to this control; the form tells whoever follows the focus.
  virtual void FocusChangedTo(TDRXWinControl* control);

  void PlacementChanged() override;
  void EnabledChanged() override;
  void CaptionChanged() override;
  void ParentChanged() override;
  void ForgetControl(TDRXCustomControl* control) override;

  HWND__* handle_ = nullptr;

 private:
  friend struct TDRXWinControlThunk;
  friend class TDRXCustomControl;
  TDRXAccessibleItem AccessibleSelf() override;
  std::vector<TDRXAccessibleItem> AccessibleParts() override;
  void AccessibleDoDefaultAction(int part) override;
  // What readers see of a windowless descendant: its own item, or its
  // SubItem-th sub-item.
  struct TWindowlessAccessible {
    TDRXCustomControl* Control;
    TDRXAccessibleItem Item;
    int SubItem = -1;
  };
  // The windowless descendants that readers see, in tree order, each followed
  // by its sub-items, with bounds in this window's client coordinates.
  std::vector<TWindowlessAccessible> AccessibleWindowless();
  intptr_t OnPaintMessage();
  intptr_t OnMouseMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
  void RouteMouseMove(TShiftState shift, TPoint point);
  void ReleaseMouseTarget();
  void UpdateWindowPlacement();
  void CreateChildHandles(TDRXCustomControl& control);
  void HandleDestroyed();

  TDRXCustomControl* mouseTarget_ = nullptr;  // the windowless control that got the button down
  TDRXCustomControl* hoverControl_ = nullptr;
  bool trackingLeave_ = false;
  bool tabStop_ = true;
  // Where the window was last put, so that unchanged placements cost nothing.
  TRect windowPlace_;
  bool windowShown_ = false;
  std::unique_ptr<TDRXAccessibleWindow> accessible_;
};

// The windowed control whose window has the focus, or holds the focused window
// (an edit's inner window); none when the focus is outside the library's controls.
TDRXWinControl* FocusedControl();
// The GDI font for a font description, kept for the whole process.
struct HFONT__;
HFONT__* ControlFontHandle(const TFont& font);
// Shift state of the keyboard (and mouse buttons) now.
TShiftState KeyboardShiftState();
// The keyboard cues of the window's top-level window, as the system keeps
// them (WM_QUERYUISTATE): focus rectangles and accelerator underlines are
// hidden until the keyboard is used there. High contrast shows the focus always.
bool FocusCuesShown(HWND__* window);
bool AcceleratorCuesShown(HWND__* window);
// The keyboard was used (Alt, Tab, an arrow): the window's top-level window
// shows both cues from now on (WM_CHANGEUISTATE, which repaints it).
void ShowKeyboardCues(HWND__* window);
// DT_HIDEPREFIX while the window's top-level window hides accelerators, else 0.
uint32_t AcceleratorDrawFlag(HWND__* window);
#endif
