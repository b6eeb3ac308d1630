#include <windows.h>

#include <objbase.h>
#include <richedit.h>

#include "uInstaller.UI.Controls.h"

#include <algorithm>
#include <cstring>

#include "DRX.UI.Controls.Labels.h"
#include "DRX.Utils.Shell.h"

namespace {

constexpr uint32_t kViewerEventMask = ENM_LINK | ENM_PROTECTED | ENM_SELCHANGE | ENM_REQUESTRESIZE | ENM_CHANGE;
constexpr intptr_t kViewerTextLimit = 0x7FFFFFFE;

// The rich edit library, loaded once for the process after COM is set up for the thread.
void LoadRichEditLibrary() {
  static const bool loaded = [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return LoadLibraryW(L"MSFTEDIT.DLL") != nullptr;
  }();
  (void)loaded;
}

struct TStreamInSource {
  const char* data;
  size_t size;
  size_t position = 0;
};

// Hands over at most what is asked, fewer when fewer are left; always succeeds.
DWORD CALLBACK ReadStreamIn(DWORD_PTR cookie, LPBYTE buffer, LONG requested, LONG* read) {
  auto* source = reinterpret_cast<TStreamInSource*>(cookie);
  const size_t count = std::min(static_cast<size_t>(std::max<LONG>(requested, 0)), source->size - source->position);
  std::memcpy(buffer, source->data + source->position, count);
  source->position += count;
  *read = static_cast<LONG>(count);
  return 0;
}

std::string RestOfStream(TStream& stream) {
  const int64_t rest = std::max<int64_t>(stream.Size() - stream.Position(), 0);
  std::string bytes(static_cast<size_t>(rest), '\0');
  if (rest > 0) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

}  // namespace

// ---- TDRXRichInnerViewer ----

TDRXRichInnerViewer::TDRXRichInnerViewer(TDRXRichViewer& viewer) : TDRXInnerMemo(viewer) {
  zoom_ = MulDivRounded(100, viewer.CurrentDPI(), 96);
}

void TDRXRichInnerViewer::CreateParams(TDRXSystemWindowParams& params) {
  LoadRichEditLibrary();
  TDRXInnerMemo::CreateParams(params);
  params.ClassName = u"RICHEDIT50W";
  params.Style |= ES_DISABLENOSCROLL;
}

void TDRXRichInnerViewer::HandleCreated() {
  TDRXInnerMemo::HandleCreated();
  Perform(EM_SETREADONLY, 1);
  Perform(EM_SETEVENTMASK, 0, kViewerEventMask);
  Perform(EM_AUTOURLDETECT, 1);
  Perform(EM_SETBKGNDCOLOR, 0, static_cast<intptr_t>(Memo().ContentColor()));
  Perform(EM_EXLIMITTEXT, 0, kViewerTextLimit);
  ApplyDefaultColorAndZoom();
}

void TDRXRichInnerViewer::SetZoom(int32_t percent) {
  const int32_t numerator = RichViewerZoomNumerator(percent);
  if (!numerator) return;
  zoom_ = percent;
  Perform(EM_SETZOOM, static_cast<uintptr_t>(numerator), 64);
}

void TDRXRichInnerViewer::ChangeScale(int32_t numerator, int32_t denominator) {
  SetZoom(MulDivRounded(zoom_, numerator, denominator));
}

void TDRXRichInnerViewer::ApplyDefaultColorAndZoom() {
  CHARFORMAT2W format{};
  format.cbSize = sizeof(format);
  format.dwMask = CFM_COLOR;
  format.crTextColor = Memo().TextColor();
  Perform(EM_SETCHARFORMAT, SCF_DEFAULT, reinterpret_cast<intptr_t>(&format));
  SetZoom(zoom_);
}

void TDRXRichInnerViewer::LoadRichText(TStream& stream) {
  const std::string bytes = RestOfStream(stream);
  TStreamInSource source{bytes.data(), bytes.size()};
  EDITSTREAM edit{reinterpret_cast<DWORD_PTR>(&source), 0, &ReadStreamIn};
  Perform(EM_STREAMIN, SF_RTF, reinterpret_cast<intptr_t>(&edit));
  ApplyDefaultColorAndZoom();
  Memo().UpdateScrollBars();
}

void TDRXRichInnerViewer::SetPlainText(UStringView text) {
  SetText(text);
  ApplyDefaultColorAndZoom();
  Memo().UpdateScrollBars();
}

intptr_t TDRXRichInnerViewer::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  // The rich text keeps its own fonts.
  if (message == WM_SETFONT) return 0;
  const intptr_t result = TDRXInnerMemo::WndProc(message, wParam, lParam);
  if ((message >= WM_KEYFIRST && message <= WM_KEYLAST) || message == WM_TIMER || message == WM_HSCROLL ||
      message == WM_VSCROLL)
    Memo().UpdateScrollBars();
  return result;
}

bool TDRXRichInnerViewer::InnerAccessibleItem(TDRXAccessibleItem& item) {
  item.Role = TDRXAccessibleRole::Text;
  item.Name = Memo().AccessibleName();
  item.Value = Text();
  if (Memo().ReadOnly()) item.State |= DRXAccessibleState::ReadOnly;
  return true;
}

// ---- TDRXRichViewer ----

TDRXRichViewer::TDRXRichViewer(TDRXComponent* owner) : TDRXMemo(owner) { SetReadOnly(true); }

std::unique_ptr<TDRXInnerMemo> TDRXRichViewer::CreateInnerControl() {
  return std::make_unique<TDRXRichInnerViewer>(*this);
}

void TDRXRichViewer::LoadRichText(TStream& stream) {
  pending_ = TPending::RichText;
  pendingRichText_ = RestOfStream(stream);
  ApplyPending();
}

void TDRXRichViewer::SetPlainText(UStringView text) {
  pending_ = TPending::PlainText;
  pendingPlainText_ = UString(text);
  pendingRichText_.clear();
  ApplyPending();
}

void TDRXRichViewer::HandleCreated() {
  TDRXMemo::HandleCreated();
  ApplyPending();
}

void TDRXRichViewer::ApplyPending() {
  TDRXRichInnerViewer* inner = RichInner();
  if (!inner || !inner->Handle()) return;
  if (pending_ == TPending::RichText) {
    TMemoryStream stream;
    stream.WriteBuffer(pendingRichText_.data(), static_cast<int64_t>(pendingRichText_.size()));
    stream.SetPosition(0);
    inner->LoadRichText(stream);
  } else if (pending_ == TPending::PlainText) {
    inner->SetPlainText(pendingPlainText_);
  }
}

void TDRXRichViewer::OpenLink(intptr_t lParam) {
  const auto* link = reinterpret_cast<const ENLINK*>(lParam);
  if (link->msg != WM_LBUTTONUP || !IsLinkRangeReadable(link->chrg.cpMin, link->chrg.cpMax)) return;
  UString text(static_cast<size_t>(link->chrg.cpMax - link->chrg.cpMin) + 1, u'\0');
  TEXTRANGEW range{link->chrg, reinterpret_cast<LPWSTR>(text.data())};
  const auto length = RichInner()->Perform(EM_GETTEXTRANGE, 0, reinterpret_cast<intptr_t>(&range));
  text.resize(static_cast<size_t>(std::clamp<intptr_t>(length, 0, static_cast<intptr_t>(text.size()))));
  const UString target = LinkShellTarget(text, DirectoryExists(text));
  if (!target.empty()) ShellOpen(target);
}

intptr_t TDRXRichViewer::WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  const intptr_t result = TDRXMemo::WndProc(message, wParam, lParam);
  if (message == WM_NOTIFY && lParam) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == EN_LINK && RichInner() && header->hwndFrom == RichInner()->Handle()) OpenLink(lParam);
  }
  return result;
}
