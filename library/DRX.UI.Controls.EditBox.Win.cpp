#include <windows.h>

#include "DRX.Graphics.Colors.h"
#include "DRX.UI.Controls.EditBox.h"
#include "DRX.UI.Controls.HighContrast.h"

TDRXCustomEditBox::TDRXCustomEditBox(TDRXComponent* owner, TStyleMaker makeStyle)
    : TDRXWinControl(owner), style_(makeStyle(this)) {}

TDRXCustomEditBox::~TDRXCustomEditBox() = default;

void TDRXCustomEditBox::SetReadOnly(bool value) {
  readOnly_ = value;
  if (TDRXSystemWindow* inner = Inner()) inner->Perform(EM_SETREADONLY, value ? TRUE : FALSE);
  Invalidate();
}

void TDRXCustomEditBox::PrepareStyle() {
  if (style_->TargetDPI() != CurrentDPI()) style_->SetTargetDPI(CurrentDPI());
}

TColor TDRXCustomEditBox::ContentColor() {
  if (TDRXApplication::HighContrast()) return ContrastColor(scWindow);
  return AlphaColorToColor(style_->Colors(EnabledInTree() ? ecsContent : ecsContentDisabled).Value());
}

TColor TDRXCustomEditBox::TextColor() {
  if (TDRXApplication::HighContrast()) return ContrastTextColor(EnabledInTree());
  return AlphaColorToColor(style_->Colors(EnabledInTree() ? ecsText : ecsTextDisabled).Value());
}

bool TDRXCustomEditBox::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::Pane;
  if (!accessibleName_.empty()) item.Name = accessibleName_;
  if (ReadOnly()) item.State |= DRXAccessibleState::ReadOnly;
  return true;
}

int32_t TDRXCustomEditBox::FontLineHeight() const {
  HDC screen = GetDC(nullptr);
  TEXTMETRICW metrics{};
  {
    TDRXSelection selection(screen, ControlFontHandle(Font()));
    GetTextMetricsW(screen, &metrics);
  }
  ReleaseDC(nullptr, screen);
  return metrics.tmHeight;
}

TRect TDRXCustomEditBox::ContentRect() {
  PrepareStyle();
  return ShrinkRect(ClientRect(), style_->Border().ContentOffsets());
}

HBRUSH TDRXCustomEditBox::ContentBrush() {
  const TColor color = ContentColor();
  if (!brush_ || brushColor_ != color) {
    brush_ = TDRXGdiObject<HBRUSH>(CreateSolidBrush(color));
    brushColor_ = color;
  }
  return brush_.Get();
}

void TDRXCustomEditBox::Paint(HDC dc) {
  PrepareStyle();
  const TDRXSystemWindow* inner = Inner();
  const bool focused = inner && inner->Handle() && GetFocus() == inner->Handle();
  const TDRXEditBorderFrame frame = EditBorderFrame(EnabledInTree(), focused, Hovered());
  if (TDRXApplication::HighContrast())
    DrawContrastEditBorder(dc, ClientRect(), frame, ScaleFactor());
  else
    style_->Border().Draw(dc, ClientRect(), frame);
}

void TDRXCustomEditBox::FocusEntered() {
  if (TDRXSystemWindow* inner = Inner(); inner && inner->Handle()) ::SetFocus(inner->Handle());
}

void TDRXCustomEditBox::ApplyFont() {
  if (TDRXSystemWindow* inner = Inner(); inner && inner->Handle())
    inner->Perform(WM_SETFONT, reinterpret_cast<WPARAM>(ControlFontHandle(Font())), TRUE);
}

void TDRXCustomEditBox::FontChanged() {
  ApplyFont();
  TDRXWinControl::FontChanged();
}

void TDRXCustomEditBox::EnabledChanged() {
  TDRXWinControl::EnabledChanged();
  if (TDRXSystemWindow* inner = Inner(); inner && inner->Handle()) {
    EnableWindow(inner->Handle(), EnabledInTree());
    ::InvalidateRect(inner->Handle(), nullptr, TRUE);
  }
}

bool TDRXCustomEditBox::InnerDialogKey(uint16_t key) { return FormKey(key, KeyboardShiftState()); }

bool TDRXCustomEditBox::InnerDialogChar(char16_t character) { return FormChar(character, true); }

void TDRXCustomEditBox::InnerFocusChanged(bool focused) {
  // The form follows the focus through the control, not the system window.
  if (focused) FocusChangedTo(this);
  Invalidate();
}

void TDRXCustomEditBox::InnerHoverChanged(bool hover) {
  innerHover_ = hover;
  Invalidate();
}

void TDRXCustomEditBox::StyleChanged(TDRXStyle&) {
  Invalidate();
  if (TDRXSystemWindow* inner = Inner(); inner && inner->Handle()) ::InvalidateRect(inner->Handle(), nullptr, TRUE);
}

intptr_t TDRXCustomEditBox::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  switch (message) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX: {
      const HDC dc = reinterpret_cast<HDC>(wParam);
      SetTextColor(dc, TextColor());
      SetBkColor(dc, ContentColor());
      return reinterpret_cast<intptr_t>(ContentBrush());
    }
    default:
      return TDRXWinControl::WndProc(message, wParam, lParam);
  }
}
