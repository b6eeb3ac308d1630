#include "DRX.Graphics.TextLayout.GDI.h"

#include <algorithm>

#include "DRX.Exceptions.h"
#include "DRX.Graphics.TextLayout.Bidi.h"

namespace {

// GDI calls take counts as int and some versions limit a single call; long
// runs go in pieces that never split a surrogate pair.
constexpr size_t kPieceLength = 4096;

size_t PieceLength(UStringView text, size_t from) {
  size_t length = std::min(kPieceLength, text.size() - from);
  if (from + length < text.size() && length > 1 && text[from + length - 1] >= 0xD800 && text[from + length - 1] <= 0xDBFF)
    --length;
  return length;
}

}  // namespace

TDRXGdiTextMeasurer::TDRXGdiTextMeasurer() = default;

TDRXGdiTextMeasurer::TCachedFont& TDRXGdiTextMeasurer::Cached(const TFont& font) {
  for (auto& cached : fonts_)
    if (cached->Style == font.Style && cached->Height == font.Height && cached->Name == font.Name) return *cached;

  LOGFONTW description{};
  description.lfHeight = font.Height;
  description.lfWeight = (font.Style & fsBold) ? FW_BOLD : FW_NORMAL;
  description.lfItalic = (font.Style & fsItalic) ? TRUE : FALSE;
  description.lfUnderline = (font.Style & fsUnderline) ? TRUE : FALSE;
  description.lfStrikeOut = (font.Style & fsStrikeOut) ? TRUE : FALSE;
  description.lfCharSet = DEFAULT_CHARSET;
  description.lfOutPrecision = OUT_DEFAULT_PRECIS;
  description.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  description.lfQuality = DEFAULT_QUALITY;
  const size_t nameLength = std::min(font.Name.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::copy_n(font.Name.data(), nameLength, reinterpret_cast<char16_t*>(description.lfFaceName));
  TDRXGdiObject<HFONT> handle(CreateFontIndirectW(&description));
  if (!handle) RaiseLastOSError();

  TEXTMETRICW metrics{};
  {
    TDRXSelection selection(dc_.Get(), handle.Get());
    if (!GetTextMetricsW(dc_.Get(), &metrics)) RaiseLastOSError();
  }
  fonts_.push_back(std::make_unique<TCachedFont>(
      TCachedFont{font.Name, font.Height, font.Style, std::move(handle), static_cast<int32_t>(metrics.tmHeight)}));
  return *fonts_.back();
}

HFONT TDRXGdiTextMeasurer::FontHandle(const TFont& font) { return Cached(font).Font.Get(); }

int32_t TDRXGdiTextMeasurer::LineHeight(const TFont& font) { return Cached(font).LineHeight; }

void TDRXGdiTextMeasurer::MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) {
  TDRXSelection selection(dc_.Get(), FontHandle(font));
  for (size_t from = 0; from < text.size();) {
    const size_t length = PieceLength(text, from);
    extents_.resize(length);
    SIZE size;
    if (!GetTextExtentExPointW(dc_.Get(), reinterpret_cast<const wchar_t*>(text.data() + from),
                               static_cast<int>(length), 0, nullptr, extents_.data(), &size))
      RaiseLastOSError();
    // The extents are cumulative: each character's width is its step.
    for (size_t i = 0; i < length; ++i) widths[from + i] = extents_[i] - (i ? extents_[i - 1] : 0);
    from += length;
  }
}

void TDRXGdiTextCanvas::BeginDraw(const TRect& clip, TPoint origin) {
  saved_.emplace_back(dc_);
  IntersectClipRect(dc_, clip.Left, clip.Top, clip.Right, clip.Bottom);
  OffsetWindowOrgEx(dc_, origin.X, origin.Y, nullptr);
  SetBkMode(dc_, TRANSPARENT);
  SetTextAlign(dc_, TA_LEFT | TA_TOP | TA_NOUPDATECP);
}

void TDRXGdiTextCanvas::EndDraw() {
  if (!saved_.empty()) saved_.pop_back();
}

void TDRXGdiTextCanvas::DrawCharacters(const TFont& font, const TRect& rect, UStringView text, const int32_t* widths,
                                       std::optional<TColor> fill, bool clipped) {
  TDRXSelection selection(dc_, measurer_.FontHandle(font));
  SetTextColor(dc_, font.Color);
  const RECT bounds = ToRECT(rect);
  if (fill) {
    SetBkColor(dc_, *fill);
    ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &bounds, nullptr, 0, nullptr);
  }
  // Right-to-left and combining text is reordered and shaped by GDI, whose
  // glyphs then no longer match a widths array in logical order.
  if (TextNeedsShaping(text)) {
    ExtTextOutW(dc_, rect.Left, rect.Top, ETO_CLIPPED, &bounds, reinterpret_cast<const wchar_t*>(text.data()),
                static_cast<UINT>(text.size()), nullptr);
    return;
  }
  int32_t x = rect.Left;
  for (size_t from = 0; from < text.size();) {
    const size_t length = PieceLength(text, from);
    ExtTextOutW(dc_, x, rect.Top, clipped ? ETO_CLIPPED : 0, clipped ? &bounds : nullptr,
                reinterpret_cast<const wchar_t*>(text.data() + from), static_cast<UINT>(length),
                reinterpret_cast<const INT*>(widths + from));
    for (size_t i = 0; i < length; ++i) x += widths[from + i];
    from += length;
  }
}

void TDRXGdiTextCanvas::FillRect(const TRect& rect, TColor color) {
  const RECT bounds = ToRECT(rect);
  SetBkColor(dc_, color);
  ExtTextOutW(dc_, 0, 0, ETO_OPAQUE, &bounds, nullptr, 0, nullptr);
}
