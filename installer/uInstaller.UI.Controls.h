#pragma once
// The setup program's own control: the read-only rich text viewer of the
// licence and summary pages (TDRXRichViewer, Windows), and the rules it
// follows, which are portable: the zoom ratio of a percentage and what a
// clicked link opens.

#include <cstdint>

#include "DRX.Strings.h"

// The numerator over 64 of the rich edit's zoom for a zoom in percent:
// p × 0.64 above 100 %, else p × 0.63 + 1, rounded to nearest with halves to
// even (100 % → 64, 125 % → 80, 150 % → 96); 0 when it falls outside 2 … 4095,
// which leaves the zoom as it was.
int32_t RichViewerZoomNumerator(int32_t percent);

// A link's character range is read only when it holds a character (cpMax > cpMin).
constexpr bool IsLinkRangeReadable(int32_t cpMin, int32_t cpMax) {
  return static_cast<int64_t>(cpMax) - cpMin + 1 > 1;
}

// What the shell opens for a link's text: the text itself when it holds "//"
// or names an existing folder, else the text as a web address ("http://" in
// front). Empty text opens nothing (empty result).
UString LinkShellTarget(const UString& text, bool isExistingFolder);

#ifdef _WIN32
#include <memory>
#include <string>

#include "DRX.Classes.Streams.h"
#include "DRX.UI.Controls.Memo.h"

class TDRXRichViewer;

// The rich edit window ("RICHEDIT50W" from MSFTEDIT.DLL) inside the viewer:
// read-only, with URL detection, the skin's background and text colour, and a
// zoom that follows the DPI.
class TDRXRichInnerViewer : public TDRXInnerMemo {
 public:
  explicit TDRXRichInnerViewer(TDRXRichViewer& viewer);

  // The zoom in percent (100 at first).
  int32_t Zoom() const { return zoom_; }
  // Applies the zoom when its ratio is within range; else nothing changes.
  void SetZoom(int32_t percent);
  void ChangeScale(int32_t numerator, int32_t denominator) override;

  void LoadRichText(TStream& stream);
  void SetPlainText(UStringView text);
  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  void CreateParams(TDRXSystemWindowParams& params) override;
  void HandleCreated() override;
  // Read-only text named after the viewer, its value the text shown.
  bool InnerAccessibleItem(TDRXAccessibleItem& item) override;

 private:
  void ApplyDefaultColorAndZoom();
  int32_t zoom_ = 100;
};

class TDRXRichViewer : public TDRXMemo {
 public:
  explicit TDRXRichViewer(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXRichViewer"; }

  // Replaces the content with the RTF from the stream's position; nothing for no stream.
  void LoadRichText(TStream& stream);
  void SetPlainText(UStringView text);
  TDRXRichInnerViewer* RichInner() const { return static_cast<TDRXRichInnerViewer*>(InnerControl()); }

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  std::unique_ptr<TDRXInnerMemo> CreateInnerControl() override;
  void HandleCreated() override;

 private:
  friend class TDRXRichInnerViewer;
  // Content given before the window existed, applied once it does.
  enum class TPending : uint8_t { None, RichText, PlainText };
  void ApplyPending();
  void OpenLink(intptr_t lParam);

  TPending pending_ = TPending::None;
  std::string pendingRichText_;
  UString pendingPlainText_;
};
#endif
