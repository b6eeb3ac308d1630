#pragma once
// The skinned progress bar: its style, the rules of its values and the
// geometry of its bar and of the waiting animation's blocks. The windowless
// control TDRXProgressBar, which applies them, is Windows only
// (DRX.UI.Controls.ProgressBar.Win.cpp).

#include <cstdint>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.Styles.h"

// Geometry at 96 DPI, and the animation's pace.
constexpr int32_t kProgressBarHeight = 18;     // whatever height is asked for
constexpr int32_t kProgressBarSideInset = 1;   // the bar's area inside the track, left and right
constexpr int32_t kWaitingStep = 5;            // pixels per tick
constexpr uint32_t kWaitingIntervalMs = 30;    // one tick
constexpr double kWaitingBlockShare = 0.3;     // of the control's width

// Frames of "ProgressBar.Texture".
enum TDRXProgressFrame : int32_t { pfTrack = 0, pfBar = 1, pfTrackDisabled = 2 };

// Texture slot 0: "ProgressBar.Texture".
class TDRXStyleProgress : public TDRXStyle {
 public:
  explicit TDRXStyleProgress(IDRXStyleOwner* owner = nullptr);
  TDRXResourceTexture& Texture() const { return Textures(0); }
};

// Min, Max and Progress with their rules: they change only while enabled
// (and what was refused stays refused); Max lowers Min to it, Min raises Max
// to it; a Progress above 0 ends the waiting mode. A value that is not a
// number is refused. Each setter answers whether anything changed.
class TDRXProgressBarValues {
 public:
  double Min() const { return min_; }
  double Max() const { return max_; }
  double Progress() const { return progress_; }
  bool Enabled() const { return enabled_; }
  bool WaitingMode() const { return waitingMode_; }
  int32_t WaitingPosition() const { return waitingPosition_; }

  bool SetMin(double value);
  bool SetMax(double value);
  bool SetProgress(double value);
  void SetEnabled(bool enabled) { enabled_ = enabled; }
  bool SetWaitingMode(bool on);

  // 100 when Min and Max are both 0, else Max - Min.
  double Range() const;

  // One tick of the animation in a control of that width: the position grows
  // by step and restarts at 0 once it passes the width.
  void AdvanceWaiting(int32_t width, int32_t step);

 private:
  double min_ = 0;
  double max_ = 100;
  double progress_ = 0;
  bool enabled_ = true;
  bool waitingMode_ = false;
  int32_t waitingPosition_ = 0;
};

// The height the bar takes at a DPI.
int32_t ProgressBarHeight(int dpi);

// Where the bar may be drawn: the client less the inset on the left and right.
TRect ProgressBarArea(const TRect& client, int32_t sideInset);

// The bar of normal mode, from the area's left over
// Trunc(area width × (Progress - Min) ÷ Range) pixels, kept inside the area.
TRect ProgressBarFill(const TRect& area, const TDRXProgressBarValues& values);

// The waiting mode's block, Trunc(0.3 × client width) wide and centred on the
// position (counted from the client's left), and the copy wrapped around to
// the other side where it crosses the left or the right edge (Second is
// empty when it crosses neither). Both span the client's height.
struct TDRXWaitingBlocks {
  TRect First;
  TRect Second;
};
TDRXWaitingBlocks WaitingBlocks(const TRect& client, int32_t position);

#ifdef _WIN32
#include <memory>

#include "DRX.UI.Controls.h"

// A windowless skinned progress bar, always 18 pixels high (scaled). In
// waiting mode a block runs across it, moved every 30 milliseconds by one
// timer of the thread that all waiting bars share.
class TDRXProgressBar : public TDRXCustomControl, protected IDRXStyleOwner {
 public:
  explicit TDRXProgressBar(TDRXComponent* owner = nullptr);
  ~TDRXProgressBar() override;

  UString ClassName() const override { return u"TDRXProgressBar"; }

  double Min() const { return values_.Min(); }
  void SetMin(double value);
  double Max() const { return values_.Max(); }
  void SetMax(double value);
  double Progress() const { return values_.Progress(); }
  void SetProgress(double value);
  bool WaitingMode() const { return values_.WaitingMode(); }
  void SetWaitingMode(bool on);
  int32_t WaitingPosition() const { return values_.WaitingPosition(); }
  // One step of the waiting animation (what the timer does).
  void AdvanceWaiting();

  TDRXCustomResourceCollection* ResourceCollection() const { return resourceCollection_; }
  void SetResourceCollection(TDRXCustomResourceCollection* collection);
  TDRXStyleProgress& Style() const { return *style_; }

 protected:
  void Paint(HDC__* dc) override;
  TRect CorrectBounds(const TRect& requested) const override;
  void EnabledChanged() override;
  TDRXCustomResourceCollection* StyleResourceCollection() override { return resourceCollection_; }
  void StyleChanged(TDRXStyle&) override { Invalidate(); }

 private:
  void ValuesChanged(bool changed);
  void FollowWaitingMode();

  std::unique_ptr<TDRXStyleProgress> style_;
  TDRXCustomResourceCollection* resourceCollection_ = nullptr;
  TDRXProgressBarValues values_;
  bool ticking_ = false;
};
#endif
