#pragma once
// The wizard window's frame as rectangles: header, step bar, footer, the header
// text area and the two page rectangles, derived from the client rectangle;
// and the step bar's layout (one segment per step, the current step dashed,
// the steps taken as a solid band). Lengths are given at 96 DPI and scaled with
// the form's scale factor; the 1-pixel lines, the dashes and their spacing
// are not scaled.

#include <cstdint>
#include <vector>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Controls.Layout.h"

struct TInstallerFormRects {
  TRect Header;
  TRect StepBar;
  TRect Footer;
  TRect HeaderText;
  TRect Page;            // the page of a normal page, between step bar and footer
  TRect FullScreenPage;  // everything above the footer
};

TInstallerFormRects CalculateFormRects(const TRect& client, const TDRXScaleFactor& scale);

// The lines at the footer's top edge, upper then lower, one pixel high.
TRect FooterUpperLine(const TRect& footer);
TRect FooterLowerLine(const TRect& footer);
// The accent line at the header's bottom: one (scaled) pixel high.
TRect HeaderAccentLine(const TRect& header, const TDRXScaleFactor& scale);
// The title at the top of the text area and the description at its bottom, each as high as its text.
TRect HeaderTitleRect(const TRect& textArea, int32_t textHeight);
TRect HeaderDescriptionRect(const TRect& textArea, int32_t textHeight);

// What the step bar fills for one page, in drawing order after the background.
struct TInstallerStepMarks {
  std::vector<TRect> Dashes;  // the current step's 3-pixel dashes, 6 pixels apart
  TRect Band;                 // the steps taken, and the page's progress across its own step
};

inline constexpr int32_t kStepDashWidth = 3;
inline constexpr int32_t kStepDashPitch = 6;

// The geometry half of the form's step bar (TInstallerProgressViewInfo).
class TInstallerStepBar {
 public:
  TRect Bounds;
  TRect Content;  // Bounds without its top and bottom margins
  int32_t StepWidth = 0;

  // Takes the step bar rectangle; the step width is the content's width
  // divided among the gaps of more than two pages, and stays as it was with
  // fewer (0 when never set): a run of two pages shows no steps.
  void Calculate(const TRect& bounds, int pageCount, const TDRXScaleFactor& scale);
  // The marks of the page at `pageIndex` with `progress` percent; none for a
  // page that is not in the list (index below 0).
  TInstallerStepMarks Marks(int pageIndex, int progress) const;
};
