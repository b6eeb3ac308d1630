#pragma once
// Skinned labels: the label's styles and the geometry and colours of its
// painting as functions of rectangles and measured sizes. The windowless
// controls TDRXLabel and TDRXValidationLabel, which apply them, are Windows
// only (DRX.UI.Controls.Labels.Win.cpp).
//
// All distances handed to these functions are already scaled to the DPI the
// control paints at.

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "DRX.Graphics.Colors.h"
#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.Styles.h"

enum TDRXLabelEffect : uint8_t { leNone, leGlow, leShadow };

// EffectSize is kept within -kLabelEffectSizeLimit ... kLabelEffectSizeLimit.
constexpr int32_t kLabelEffectSizeLimit = 10;
int32_t ClampLabelEffectSize(int32_t size);

// Distances of the label layouts at 96 DPI.
constexpr int32_t kLabelLineGap = 4;        // between the text and its line
constexpr int32_t kValidationIconGap = 5;   // between the icon and the text

// The colour slots of TDRXStyleLabel, in slot order.
enum TDRXLabelColorSlot : uint8_t {
  lcsBackground, lcsTextHyperlink, lcsLine1, lcsLine2, lcsTextShadow, lcsText, lcsTextDisabled
};

class TDRXStyleLabel : public TDRXStyle {
 public:
  explicit TDRXStyleLabel(IDRXStyleOwner* owner = nullptr);

  TDRXLabelEffect Effect() const { return effect_; }
  void SetEffect(TDRXLabelEffect effect);
  int32_t EffectSize() const { return effectSize_; }
  // Clamped to the limits above.
  void SetEffectSize(int32_t size);
  // WordWrap and ShowLine exclude each other: switching one on switches the other off.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool on);
  bool ShowLine() const { return showLine_; }
  void SetShowLine(bool on);
  // Whether the effect changes what is drawn (an effect with a size other than 0).
  bool HasEffect() const { return effect_ != leNone && effectSize_ != 0; }

 private:
  template <typename T>
  void Update(T& field, T value);

  TDRXLabelEffect effect_ = leNone;
  int32_t effectSize_ = 1;
  bool wordWrap_ = false;
  bool showLine_ = false;
};

// The style of validation labels: the label's slots and the icon texture,
// texture slot 0, "Labels.Textures.Icons".
class TDRXStyleValidationLabel : public TDRXStyleLabel {
 public:
  explicit TDRXStyleValidationLabel(IDRXStyleOwner* owner = nullptr);
  TDRXResourceTexture& Icons() const { return Textures(0); }
};

// The measured text grown by the effect: 2 × |size| in both directions when
// the effect draws anything.
TSize LabelTextExtent(TSize text, TDRXLabelEffect effect, int32_t effectSize);

// Where an extent goes in the client rectangle by the alignments, clipped to it.
TRect PlaceLabelText(const TRect& client, TSize extent, TAlignment alignment, TVerticalAlignment alignmentVert);

// The top of a band of the given height centred in top ... bottom: the
// difference made even by rounding down, then halved.
int32_t CenteredTop(int32_t top, int32_t bottom, int32_t height);

// Where the text and each pass of its effect are drawn, in drawing order: the
// effect's passes, then the text. Glow reduces the text rectangle by |size|
// on every side and draws it four times per step i (offset by (i, i),
// (i, -i), (-i, i), (-i, -i)); shadow moves the right and bottom in by the
// size (the left and top for a negative size) and draws once offset by
// (size, size). The text itself is drawn in the reduced rectangle, so that
// it sits inside its glow and beside its shadow.
struct TDRXLabelEffectPlan {
  TRect Text;
  std::vector<TRect> Passes;
};
TDRXLabelEffectPlan PlanLabelEffect(const TRect& textRect, TDRXLabelEffect effect, int32_t effectSize);

// A line of two one-pixel rows across a span, at the vertical middle of
// band (top = the even-rounded half of band.Top + band.Bottom - 2), with
// cutLeft ... cutRight left out. Each row comes in a left and a right piece;
// a piece may be empty.
struct TDRXLabelLine {
  std::array<TRect, 2> Upper;
  std::array<TRect, 2> Lower;
};
TDRXLabelLine LineAroundGap(int32_t left, int32_t right, const TRect& band, int32_t cutLeft, int32_t cutRight);
// The label's line: across the client's width at the text rectangle's middle,
// the text widened by gap on each side cut out (nothing cut for no text).
TDRXLabelLine LabelLine(const TRect& client, const TRect& textRect, int32_t gap);

// The skin colours a label's text may take.
struct TDRXLabelTextColors {
  TDRXAlphaColor Text = claNull;
  TDRXAlphaColor TextDisabled = claNull;
  TDRXAlphaColor TextHyperlink = claNull;
};

// The text colour: a font colour set explicitly wins; else the hyperlink
// colour for a URL label under the mouse, the text colour when enabled, the
// disabled colour when not. A colour with alpha 0 draws no text.
TDRXAlphaColor LabelTextColor(std::optional<TColor> explicitFontColor, bool hotLink, bool enabled,
                              const TDRXLabelTextColors& colors);

// Validation labels: the icon at the client's left, vertically centred, and
// the text area beginning icon width + gap to the right.
struct TDRXValidationLabelLayout {
  TRect Icon;
  TRect TextArea;
};
TDRXValidationLabelLayout LayoutValidationLabel(const TRect& client, TSize icon, int32_t gap);
// The auto size: the text size plus icon width + gap in width, at least the icon's height.
TSize ValidationLabelSize(TSize text, TSize icon, int32_t gap);
