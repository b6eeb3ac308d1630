#include <windows.h>

#include <algorithm>
#include <vector>

#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.HighContrast.h"
#include "DRX.UI.Controls.ProgressBar.h"
#include "DRX.UI.Resources.Texture.h"

namespace {

// One timer of the interface thread for every bar in waiting mode; it runs
// only while there is one.
class TWaitingTimer {
 public:
  static void Add(TDRXProgressBar* bar) {
    Bars().push_back(bar);
    if (!timer_) timer_ = SetTimer(nullptr, 0, kWaitingIntervalMs, &Tick);
  }
  static void Remove(TDRXProgressBar* bar) {
    std::erase(Bars(), bar);
    if (Bars().empty() && timer_) {
      KillTimer(nullptr, timer_);
      timer_ = 0;
    }
  }

 private:
  static std::vector<TDRXProgressBar*>& Bars() {
    static auto* bars = new std::vector<TDRXProgressBar*>;  // bars may outlive the statics
    return *bars;
  }
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) noexcept {
    try {
      // A bar may leave the list while another one is told.
      for (TDRXProgressBar* bar : std::vector<TDRXProgressBar*>(Bars()))
        if (std::ranges::find(Bars(), bar) != Bars().end()) bar->AdvanceWaiting();
    } catch (...) {
      TDRXApplication::HandleException(std::current_exception());
    }
  }
  static inline UINT_PTR timer_ = 0;
};

}  // namespace

TDRXProgressBar::TDRXProgressBar(TDRXComponent* owner) : TDRXCustomControl(owner) {
  style_ = std::make_unique<TDRXStyleProgress>(static_cast<IDRXStyleOwner*>(this));
  SetBounds(0, 0, 150, kProgressBarHeight);
}

TDRXProgressBar::~TDRXProgressBar() {
  if (ticking_) TWaitingTimer::Remove(this);
}

void TDRXProgressBar::SetMin(double value) { ValuesChanged(values_.SetMin(value)); }

void TDRXProgressBar::SetMax(double value) { ValuesChanged(values_.SetMax(value)); }

void TDRXProgressBar::SetProgress(double value) { ValuesChanged(values_.SetProgress(value)); }

void TDRXProgressBar::SetWaitingMode(bool on) { ValuesChanged(values_.SetWaitingMode(on)); }

void TDRXProgressBar::ValuesChanged(bool changed) {
  if (!changed) return;
  FollowWaitingMode();
  Invalidate();
  AnnounceValue();
}

void TDRXProgressBar::AnnounceValue() {
  // A few times a second at most, and always the end: readers fall behind
  // (and listeners stop listening) when every file of an installation is told.
  constexpr uint64_t kInterval = 250;
  const UString value = ProgressBarPercentText(values_);
  if (value == announcedValue_) return;
  const uint64_t now = GetTickCount64();
  if (now - announcedAt_ < kInterval && value != u"100%") return;
  announcedValue_ = value;
  announcedAt_ = now;
  NotifyAccessibleChange(EVENT_OBJECT_VALUECHANGE);
}

bool TDRXProgressBar::AccessibleItem(TDRXAccessibleItem& item) const {
  item.Role = TDRXAccessibleRole::ProgressBar;
  item.Name = Caption();
  item.Value = ProgressBarPercentText(values_);
  item.State |= DRXAccessibleState::ReadOnly;
  return true;
}

void TDRXProgressBar::FollowWaitingMode() {
  if (values_.WaitingMode() == ticking_) return;
  ticking_ = values_.WaitingMode();
  if (ticking_)
    TWaitingTimer::Add(this);
  else
    TWaitingTimer::Remove(this);
}

void TDRXProgressBar::AdvanceWaiting() {
  values_.AdvanceWaiting(Width(), ScaleFactor().Apply(kWaitingStep));
  Invalidate();
}

void TDRXProgressBar::SetResourceCollection(TDRXCustomResourceCollection* collection) {
  if (collection == resourceCollection_) return;
  resourceCollection_ = collection;
  style_->ResolveSlots();
}

TRect TDRXProgressBar::CorrectBounds(const TRect& requested) const {
  return Bounds(requested.Left, requested.Top, requested.Width(), ProgressBarHeight(CurrentDPI()));
}

void TDRXProgressBar::EnabledChanged() {
  values_.SetEnabled(Enabled());
  TDRXCustomControl::EnabledChanged();
}

void TDRXProgressBar::Paint(HDC dc) {
  style_->SetTargetDPI(CurrentDPI());
  const TDRXResourceTexture& texture = style_->Texture();
  const bool enabled = EnabledInTree();
  const TRect client = ClientRect();
  // High contrast: a framed track in window colour with the bar in the highlight colour.
  const bool contrast = TDRXApplication::HighContrast();
  const auto drawBar = [&](const TRect& bar) {
    if (bar.IsEmpty()) return;
    if (contrast)
      FillContrast(dc, bar, scHighlight);
    else
      texture.Draw(dc, bar, pfBar);
  };
  if (contrast)
    DrawContrastFrame(dc, client, scWindow, enabled ? scWindowText : scGrayText, ScaleFactor().Apply(1));
  else
    texture.Draw(dc, client, enabled ? pfTrack : pfTrackDisabled);
  if (!enabled) return;
  const TRect area = ProgressBarArea(client, ScaleFactor().Apply(kProgressBarSideInset));
  const TDRXSavedDCState saved(dc);
  IntersectClipRect(dc, area.Left, area.Top, area.Right, area.Bottom);
  if (!values_.WaitingMode()) return drawBar(ProgressBarFill(area, values_));
  const TDRXWaitingBlocks blocks = WaitingBlocks(client, values_.WaitingPosition());
  for (const TRect& block : {blocks.First, blocks.Second}) drawBar(block);
}
