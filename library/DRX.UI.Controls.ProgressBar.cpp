#include "DRX.UI.Controls.ProgressBar.h"

#include <cmath>

#include "DRX.UI.Accessibility.h"

TDRXStyleProgress::TDRXStyleProgress(IDRXStyleOwner* owner) : TDRXStyle(owner) {
  AddTexture(0, u"ProgressBar.Texture");
}

namespace {

// Whether a value may be stored: the bar is enabled and the value is a number.
bool Accepts(bool enabled, double value) { return enabled && !std::isnan(value); }

bool Store(double& field, double value) {
  if (field == value) return false;
  field = value;
  return true;
}

}  // namespace

bool TDRXProgressBarValues::SetMin(double value) {
  if (!Accepts(enabled_, value)) return false;
  const bool raised = value > max_ && Store(max_, value);
  return Store(min_, value) || raised;
}

bool TDRXProgressBarValues::SetMax(double value) {
  if (!Accepts(enabled_, value)) return false;
  const bool lowered = value < min_ && Store(min_, value);
  return Store(max_, value) || lowered;
}

bool TDRXProgressBarValues::SetProgress(double value) {
  if (!Accepts(enabled_, value)) return false;
  const bool waitingEnded = value > 0 && SetWaitingMode(false);
  return Store(progress_, value) || waitingEnded;
}

bool TDRXProgressBarValues::SetWaitingMode(bool on) {
  if (waitingMode_ == on) return false;
  waitingMode_ = on;
  return true;
}

double TDRXProgressBarValues::Range() const { return min_ == 0 && max_ == 0 ? 100 : max_ - min_; }

void TDRXProgressBarValues::AdvanceWaiting(int32_t width, int32_t step) {
  const int64_t next = static_cast<int64_t>(waitingPosition_) + step;
  waitingPosition_ = next > width || next < 0 ? 0 : static_cast<int32_t>(next);
}

int32_t ProgressBarHeight(int dpi) { return MulDivRounded(kProgressBarHeight, dpi, 96); }

TRect ProgressBarArea(const TRect& client, int32_t sideInset) {
  return ShrinkRect(client, {sideInset, 0, sideInset, 0});
}

TRect ProgressBarFill(const TRect& area, const TDRXProgressBarValues& values) {
  const double share = (values.Progress() - values.Min()) / values.Range();
  const double width = std::trunc(std::max(0, area.Width()) * share);
  // Not a number (an empty range at its own value) draws nothing, like a share of 0.
  const int32_t filled = std::isnan(width) ? 0 : static_cast<int32_t>(std::clamp(width, 0.0, double(std::max(0, area.Width()))));
  return Rect(area.Left, area.Top, area.Left + filled, area.Bottom);
}

TDRXWaitingBlocks WaitingBlocks(const TRect& client, int32_t position) {
  const int32_t width = std::max(0, client.Width());
  const int32_t block = static_cast<int32_t>(std::trunc(kWaitingBlockShare * width));
  const int32_t half = block / 2;
  const auto at = [&](int64_t left) {
    const int32_t x = static_cast<int32_t>(std::clamp<int64_t>(client.Left + left, INT32_MIN / 2, INT32_MAX / 2));
    return Rect(x, client.Top, x + block, client.Bottom);
  };
  TDRXWaitingBlocks blocks{at(int64_t(position) - half), {}};
  if (blocks.First.Left < client.Left) blocks.Second = at(int64_t(position) + width - half);
  else if (blocks.First.Right > client.Right) blocks.Second = at(int64_t(position) - width - half);
  return blocks;
}

UString ProgressBarPercentText(const TDRXProgressBarValues& values) {
  if (values.WaitingMode()) return {};
  return AccessiblePercent(values.Min(), values.Min() + values.Range(), values.Progress());
}
