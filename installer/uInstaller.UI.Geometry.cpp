#include "uInstaller.UI.Geometry.h"

namespace {

constexpr int32_t kHeaderHeight = 53;
constexpr int32_t kStepBarHeight = 10;
constexpr int32_t kStepBarMargin = 2;
constexpr int32_t kFooterHeight = 44;
constexpr int32_t kPageGap = 4;
constexpr TDRXMargins kHeaderTextMargins{144, 6, 16, 12};

}  // namespace

TInstallerFormRects CalculateFormRects(const TRect& client, const TDRXScaleFactor& scale) {
  TInstallerFormRects rects;
  rects.Header = {client.Left, client.Top, client.Right, client.Top + scale.Apply(kHeaderHeight)};
  rects.StepBar = {client.Left, rects.Header.Bottom, client.Right, rects.Header.Bottom + scale.Apply(kStepBarHeight)};
  rects.Footer = {client.Left, client.Bottom - scale.Apply(kFooterHeight), client.Right, client.Bottom};
  rects.HeaderText = ShrinkRect(rects.Header, scale.Apply(kHeaderTextMargins));
  rects.Page = {client.Left, rects.StepBar.Bottom + scale.Apply(kPageGap), client.Right, rects.Footer.Top};
  rects.FullScreenPage = {client.Left, client.Top, client.Right, rects.Footer.Top};
  return rects;
}

TRect FooterUpperLine(const TRect& footer) { return {footer.Left, footer.Top, footer.Right, footer.Top + 1}; }
TRect FooterLowerLine(const TRect& footer) { return {footer.Left, footer.Top + 1, footer.Right, footer.Top + 2}; }

TRect HeaderAccentLine(const TRect& header, const TDRXScaleFactor& scale) {
  return {header.Left, header.Bottom - scale.Apply(1), header.Right, header.Bottom};
}

TRect HeaderTitleRect(const TRect& textArea, int32_t textHeight) {
  return {textArea.Left, textArea.Top, textArea.Right, textArea.Top + textHeight};
}

TRect HeaderDescriptionRect(const TRect& textArea, int32_t textHeight) {
  return {textArea.Left, textArea.Bottom - textHeight, textArea.Right, textArea.Bottom};
}

void TInstallerStepBar::Calculate(const TRect& bounds, int pageCount, const TDRXScaleFactor& scale) {
  const int32_t margin = scale.Apply(kStepBarMargin);
  Bounds = bounds;
  Content = {bounds.Left, bounds.Top + margin, bounds.Right, bounds.Bottom - margin};
  if (pageCount > 2) StepWidth = Content.Width() / (pageCount - 1);
}

TInstallerStepMarks TInstallerStepBar::Marks(int pageIndex, int progress) const {
  TInstallerStepMarks marks;
  if (pageIndex < 0) return marks;
  const int32_t segmentLeft = Content.Left + pageIndex * StepWidth;
  for (int32_t i = 0; i < StepWidth / kStepDashPitch; ++i) {
    const int32_t left = segmentLeft + i * kStepDashPitch;
    marks.Dashes.push_back({left, Content.Top, left + kStepDashWidth, Content.Bottom});
  }
  marks.Band = {Content.Left, Content.Top, segmentLeft + MulDivRounded(StepWidth, progress, 100), Content.Bottom};
  return marks;
}
