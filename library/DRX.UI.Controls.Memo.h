#pragma once
// The skinned memo: a border of the skin ("Memo" and "EditBox" resources)
// around an inner editing window, with skinned scroll bars that mirror the
// inner window's own. The inner window keeps its system scroll bars (so it
// scrolls and reports its scroll state as usual), but it is made larger by
// their size and cut back by a window region, so that only the skinned bars
// show. A subclass replaces the inner window (the wizard's rich viewer makes it
// a rich edit window). The placement is portable; the windows are Windows-only.

#include <cstdint>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Controls.EditBox.h"

enum TDRXScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

constexpr bool HasVerticalBar(TDRXScrollStyle style) { return style == ssVertical || style == ssBoth; }
constexpr bool HasHorizontalBar(TDRXScrollStyle style) { return style == ssHorizontal || style == ssBoth; }

struct TDRXMemoLayout {
  TRect InnerWindow;   // the inner window, in the memo's client coordinates
  TRect InnerVisible;  // the part of it that shows, in its own coordinates
  TRect VertBar;       // empty without a vertical bar
  TRect HorzBar;       // empty without a horizontal bar
  TRect Corner;        // between the two bars when both show
};

// The content area is what the border leaves; the skinned bars (barSize thick)
// take its right and bottom edges; the inner window covers the rest and
// reaches under the bars by the system bars' sizes (systemBars: the vertical
// bar's width and the horizontal bar's height), which its region cuts off. A
// content area too small for the bars leaves the inner window no visible part.
TDRXMemoLayout CalculateMemoLayout(const TRect& content, TDRXScrollStyle bars, int32_t barSize, TSize systemBars);

// The memo's style: the shared edit-box colours and "Memo.Textures.Border".
class TDRXStyleMemo : public TDRXStyleEditBox {
 public:
  explicit TDRXStyleMemo(IDRXStyleOwner* owner = nullptr);
};

#ifdef _WIN32
#include <memory>

#include "DRX.UI.Controls.ScrollBar.h"

class TDRXMemo;

// The memo's inner editing window: a multi-line "EDIT" with the memo's scroll
// bars, word wrap and read-only state. Subclasses change the window class and
// styles in CreateParams (calling this one first) and set the window up in
// HandleCreated; after anything that scrolls them they call
// Memo().UpdateScrollBars() (the base does so for input and scroll messages).
class TDRXInnerMemo : public TDRXInnerWindow {
 public:
  explicit TDRXInnerMemo(TDRXMemo& memo);
  TDRXMemo& Memo() const { return memo_; }
  // After the memo was scaled by numerator ÷ denominator; the memo has sent
  // its scaled font already.
  virtual void ChangeScale(int32_t numerator, int32_t denominator) {}
  // A WM_NOTIFY or WM_COMMAND that the window sent to the memo (a rich edit's
  // EN_LINK, say); true when handled, with the message's result.
  virtual bool ParentNotification(uint32_t message, uintptr_t wParam, intptr_t lParam, intptr_t& result) {
    return false;
  }

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override;
  // Enter makes a new line unless the memo is read-only.
  bool KeepsKey(uint16_t key) const override;

 private:
  TDRXMemo& memo_;
};

class TDRXMemo : public TDRXCustomEditBox {
 public:
  explicit TDRXMemo(TDRXComponent* owner = nullptr);
  ~TDRXMemo() override;
  UString ClassName() const override { return u"TDRXMemo"; }

  UString Text() const;
  void SetText(UStringView text);
  TDRXScrollStyle ScrollBars() const { return scrollBars_; }
  // Changing the bars or the wrapping makes the inner window anew (keeping the text).
  void SetScrollBars(TDRXScrollStyle bars);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  TDRXStyleMemo& Style() { return static_cast<TDRXStyleMemo&>(TDRXCustomEditBox::Style()); }

  // The inner window's object; none before the memo has a window.
  TDRXInnerMemo* InnerControl() const { return inner_.get(); }
  TDRXScrollBar* VertScrollBar() const { return vertBar_; }
  TDRXScrollBar* HorzScrollBar() const { return horzBar_; }
  // Shows the inner window's scroll state on the skinned bars.
  void UpdateScrollBars();

  void ChangeScale(int32_t numerator, int32_t denominator) override;
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  // The object of the inner window; a subclass returns its own kind.
  virtual std::unique_ptr<TDRXInnerMemo> CreateInnerControl();
  TDRXSystemWindow* Inner() const override { return inner_.get(); }
  void Paint(HDC__* dc) override;
  void HandleCreated() override;
  void BoundsChanged() override;
  void InnerContentMoved() override { UpdateScrollBars(); }

 private:
  void CreateInner();
  void RecreateInner();
  void PlaceParts();
  void BarScrolled(TDRXScrollBar& bar, int code, int32_t position);

  std::unique_ptr<TDRXInnerMemo> inner_;
  TDRXScrollBar* vertBar_;
  TDRXScrollBar* horzBar_;
  UString text_;  // while there is no inner window
  TDRXScrollStyle scrollBars_ = ssNone;
  bool wordWrap_ = true;
  bool updatingBars_ = false;
};
#endif
