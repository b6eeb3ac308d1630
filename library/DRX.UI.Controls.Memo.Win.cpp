#include <windows.h>

#include "DRX.UI.Controls.HighContrast.h"
#include "DRX.UI.Controls.Memo.h"

namespace {

constexpr int kInnerControlId = 1;

std::unique_ptr<TDRXStyleEditBox> MakeMemoStyle(IDRXStyleOwner* owner) {
  return std::make_unique<TDRXStyleMemo>(owner);
}

// The sizes of the system bars the window shows: what they take of its client area.
TSize SystemBarsOf(HWND window) {
  RECT bounds{}, client{};
  GetWindowRect(window, &bounds);
  GetClientRect(window, &client);
  return {std::max<int32_t>((bounds.right - bounds.left) - client.right, 0),
          std::max<int32_t>((bounds.bottom - bounds.top) - client.bottom, 0)};
}

TDRXScrollValues ScrollValuesOf(HWND window, int bar) {
  SCROLLINFO info{sizeof(info), SIF_ALL};
  if (!window || !GetScrollInfo(window, bar, &info)) return {0, 0, 0, 0};
  return {info.nMin, info.nMax, static_cast<int32_t>(std::min<UINT>(info.nPage, INT32_MAX)), info.nPos};
}

}  // namespace

// ---- TDRXInnerMemo ----

TDRXInnerMemo::TDRXInnerMemo(TDRXMemo& memo) : TDRXInnerWindow(memo), memo_(memo) {}

void TDRXInnerMemo::CreateParams(TDRXSystemWindowParams& params) {
  params.ClassName = u"EDIT";
  params.Style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | ES_MULTILINE | ES_AUTOVSCROLL | ES_NOHIDESEL;
  if (!memo_.WordWrap()) params.Style |= ES_AUTOHSCROLL;
  if (HasVerticalBar(memo_.ScrollBars())) params.Style |= WS_VSCROLL;
  if (HasHorizontalBar(memo_.ScrollBars())) params.Style |= WS_HSCROLL;
  if (memo_.ReadOnly()) params.Style |= ES_READONLY;
  if (!memo_.EnabledInTree()) params.Style |= WS_DISABLED;
}

bool TDRXInnerMemo::KeepsKey(uint16_t key) const { return key == VK_RETURN && !memo_.ReadOnly(); }

// ---- TDRXMemo ----

TDRXMemo::TDRXMemo(TDRXComponent* owner)
    : TDRXCustomEditBox(owner, &MakeMemoStyle),
      vertBar_(new TDRXScrollBar(this, orVertical)),
      horzBar_(new TDRXScrollBar(this, orHorizontal)) {
  for (TDRXScrollBar* bar : {vertBar_, horzBar_}) {
    bar->SetVisible(false);
    bar->SetParent(this);
    bar->OnScroll = [this](TDRXScrollBar& sender, int code, int32_t position) { BarScrolled(sender, code, position); };
  }
}

TDRXMemo::~TDRXMemo() {
  // The inner window goes first: it still talks to the memo while it is destroyed.
  inner_.reset();
}

std::unique_ptr<TDRXInnerMemo> TDRXMemo::CreateInnerControl() { return std::make_unique<TDRXInnerMemo>(*this); }

UString TDRXMemo::Text() const { return inner_ && inner_->Handle() ? inner_->Text() : text_; }

void TDRXMemo::SetText(UStringView text) {
  text_ = UString(text);
  if (!inner_ || !inner_->Handle()) return;
  inner_->SetText(text);
  UpdateScrollBars();
}

void TDRXMemo::SetScrollBars(TDRXScrollStyle bars) {
  if (bars == scrollBars_) return;
  scrollBars_ = bars;
  RecreateInner();
}

void TDRXMemo::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  RecreateInner();
}

void TDRXMemo::HandleCreated() {
  TDRXCustomEditBox::HandleCreated();
  CreateInner();
}

void TDRXMemo::CreateInner() {
  inner_ = CreateInnerControl();
  const TDRXMemoLayout layout = CalculateMemoLayout(ContentRect(), scrollBars_, 0, {});
  inner_->CreateIn(handle_, layout.InnerWindow, kInnerControlId);
  ApplyFont();
  inner_->SetText(text_);
  PlaceParts();
  UpdateScrollBars();
}

void TDRXMemo::RecreateInner() {
  if (!inner_ || !inner_->Handle()) {
    PlaceParts();
    return;
  }
  text_ = inner_->Text();
  const bool focused = GetFocus() == inner_->Handle();
  inner_.reset();
  CreateInner();
  if (focused) ::SetFocus(inner_->Handle());
}

void TDRXMemo::PlaceParts() {
  const int32_t thickness = vertBar_->Thickness();
  const HWND inner = inner_ ? inner_->Handle() : nullptr;
  const TSize systemBars = inner ? SystemBarsOf(inner) : TSize{};
  const TDRXMemoLayout layout = CalculateMemoLayout(ContentRect(), scrollBars_, thickness, systemBars);
  vertBar_->SetBoundsRect(layout.VertBar);
  vertBar_->SetVisible(HasVerticalBar(scrollBars_));
  horzBar_->SetBoundsRect(layout.HorzBar);
  horzBar_->SetVisible(HasHorizontalBar(scrollBars_));
  if (!inner) return;
  const TRect& place = layout.InnerWindow;
  SetWindowPos(inner, nullptr, place.Left, place.Top, place.Width(), place.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
  const TRect& shown = layout.InnerVisible;
  SetWindowRgn(inner, CreateRectRgn(shown.Left, shown.Top, shown.Right, shown.Bottom), TRUE);
  Invalidate();
}

void TDRXMemo::BoundsChanged() {
  TDRXCustomEditBox::BoundsChanged();
  PlaceParts();
  UpdateScrollBars();
}

void TDRXMemo::ChangeScale(int32_t numerator, int32_t denominator) {
  TDRXCustomEditBox::ChangeScale(numerator, denominator);
  if (inner_) inner_->ChangeScale(numerator, denominator);
  PlaceParts();
}

void TDRXMemo::UpdateScrollBars() {
  if (updatingBars_) return;
  updatingBars_ = true;
  const HWND inner = inner_ ? inner_->Handle() : nullptr;
  vertBar_->SetValues(ScrollValuesOf(HasVerticalBar(scrollBars_) ? inner : nullptr, SB_VERT));
  horzBar_->SetValues(ScrollValuesOf(HasHorizontalBar(scrollBars_) ? inner : nullptr, SB_HORZ));
  // A system bar that came or went changes how far the inner window reaches under the skinned ones.
  if (inner) {
    const TDRXMemoLayout layout = CalculateMemoLayout(ContentRect(), scrollBars_, vertBar_->Thickness(), SystemBarsOf(inner));
    RECT placed{};
    GetWindowRect(inner, &placed);
    if (placed.right - placed.left != layout.InnerWindow.Width() || placed.bottom - placed.top != layout.InnerWindow.Height())
      PlaceParts();
  }
  updatingBars_ = false;
}

void TDRXMemo::BarScrolled(TDRXScrollBar& bar, int code, int32_t position) {
  if (!inner_ || !inner_->Handle()) return;
  const UINT message = &bar == vertBar_ ? WM_VSCROLL : WM_HSCROLL;
  inner_->Perform(message, MAKEWPARAM(code, static_cast<uint16_t>(std::clamp(position, 0, 0xFFFF))), 0);
  UpdateScrollBars();
}

void TDRXMemo::Paint(HDC dc) {
  TDRXCustomEditBox::Paint(dc);
  if (scrollBars_ != ssBoth) return;
  const TDRXMemoLayout layout = CalculateMemoLayout(ContentRect(), scrollBars_, vertBar_->Thickness(), {});
  if (TDRXApplication::HighContrast())
    FillContrast(dc, layout.Corner, scButtonFace);
  else
    vertBar_->Style().Textures(sbtTrack).Draw(dc, layout.Corner, EnabledInTree() ? 0 : 1);
}

intptr_t TDRXMemo::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const HWND inner = inner_ ? inner_->Handle() : nullptr;
  HWND sender = nullptr;
  if (message == WM_NOTIFY) sender = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
  if (message == WM_COMMAND) sender = reinterpret_cast<HWND>(lParam);
  if (!inner || sender != inner) return TDRXCustomEditBox::WndProc(message, wParam, lParam);
  intptr_t result = 0;
  const bool handled = inner_->ParentNotification(message, wParam, lParam, result);
  if (message == WM_COMMAND) UpdateScrollBars();  // EN_CHANGE, EN_VSCROLL, EN_HSCROLL, EN_UPDATE
  return handled ? result : TDRXCustomEditBox::WndProc(message, wParam, lParam);
}
