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
// The colour a label (plain or formatted) paints a slot with: the style's, or
// while the application's high contrast is on the system colour that stands
// for the slot (text and lines in window text, disabled text gray, links in
// the hot-light colour, the background in the window colour, no shadow).
TDRXAlphaColor LabelSlotColor(const TDRXStyleLabel& style, TDRXLabelColorSlot slot);

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

#ifdef _WIN32
#include <functional>
#include <memory>

#include "DRX.UI.Controls.h"

// A windowless skinned label. Defaults: 75 × 15 pixels, transparent, left
// aligned, vertically centred. The text rectangle is recomputed on every
// change of size, text, font, alignment or style; AutoSize sizes the control
// to it (only the height while the text wraps or the control stretches
// across its parent, only the width while it stretches down it). The font's
// colour counts as set when it is not the default black (the window-text
// colour); else the skin gives the colour by state.
class TDRXLabel : public TDRXCustomControl, protected IDRXStyleOwner {
 public:
  explicit TDRXLabel(TDRXComponent* owner = nullptr);
  ~TDRXLabel() override;

  UString ClassName() const override { return u"TDRXLabel"; }
  bool HasCaption() const override { return true; }

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TVerticalAlignment AlignmentVert() const { return alignmentVert_; }
  void SetAlignmentVert(TVerticalAlignment alignment);
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  // The collection the style looks in first (not owned; none for the root's).
  TDRXCustomResourceCollection* ResourceCollection() const { return resourceCollection_; }
  void SetResourceCollection(TDRXCustomResourceCollection* collection);
  TDRXStyleLabel& Style() const { return *style_; }
  // A label's subcontrol is enabled exactly when the label is.
  TDRXCustomControl* SubControl() const;
  void SetSubControl(TDRXCustomControl* control);
  // Setting a URL underlines the font, clearing it removes the underline.
  const UString& URL() const { return url_; }
  void SetURL(UStringView url);

  // The text rectangle in client coordinates.
  TRect TextRect() const { return textRect_; }
  // The text's colour now (alpha 0: no text).
  TDRXAlphaColor TextColor() const;

  // Static text; with a URL a link that jumps to it.
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  // With a URL only the text rectangle accepts the mouse.
  bool HitTest(TPoint point) const override;
  // The click handler, or else the URL opened with the shell.
  void Click() override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 protected:
  // Kinds with a style of their own hand over its maker.
  using TStyleMaker = std::unique_ptr<TDRXStyleLabel> (*)(IDRXStyleOwner* owner);
  TDRXLabel(TDRXComponent* owner, TStyleMaker makeStyle);

  void Paint(HDC__* dc) override;
  // The area the text is placed in, and the size AutoSize gives the control
  // for a text extent; kinds with more to show change them.
  virtual TRect TextArea() const { return ClientRect(); }
  virtual TSize AutoSizeFor(TSize textExtent) const { return textExtent; }
  // Recomputes the text rectangle (and sizes the control with AutoSize).
  void TextLayoutChanged();
  // The style's textures follow the DPI the label is painted at.
  void FollowDPI() const;

  TDRXCustomResourceCollection* StyleResourceCollection() override { return resourceCollection_; }
  void StyleChanged(TDRXStyle& style) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Resized() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void CaptionChanged() override;

 private:
  TSize MeasureText(int32_t width) const;
  void ApplyAutoSize(TSize extent);
  void UpdateSubControl();
  void PaintText(HDC__* dc, const TRect& rect, TDRXAlphaColor color) const;
  void PaintLine(HDC__* dc) const;

  std::unique_ptr<TDRXStyleLabel> style_;
  TDRXCustomResourceCollection* resourceCollection_ = nullptr;
  TDRXCustomControl* subControl_ = nullptr;
  std::weak_ptr<const void> subControlAlive_;
  TAlignment alignment_ = taLeftJustify;
  TVerticalAlignment alignmentVert_ = taVerticalCenter;
  bool autoSize_ = false;
  bool transparent_ = true;
  bool pressed_ = false;
  bool sizing_ = false;
  UString url_;
  TRect textRect_;
};

// A label with a status icon (frame Icon of "Labels.Textures.Icons") at its
// left; AutoSize is on.
class TDRXValidationLabel : public TDRXLabel {
 public:
  explicit TDRXValidationLabel(TDRXComponent* owner = nullptr);
  UString ClassName() const override { return u"TDRXValidationLabel"; }

  // The icon's frame: 0 information, 1 warning (the default), 2 error, 3 success.
  int32_t Icon() const { return icon_; }
  void SetIcon(int32_t icon);
  TDRXStyleValidationLabel& Style() const { return static_cast<TDRXStyleValidationLabel&>(TDRXLabel::Style()); }
  // Where the icon is drawn, in client coordinates.
  TRect IconRect() const;

 protected:
  void Paint(HDC__* dc) override;
  TRect TextArea() const override;
  TSize AutoSizeFor(TSize textExtent) const override;

 private:
  TSize IconSize() const;
  int32_t Gap() const;
  int32_t icon_ = 1;
};

// Draws text through DrawTextW in an ARGB colour: nothing for alpha 0, blended
// over what is there for a translucent colour.
void DrawTextInColor(HDC__* dc, const TFont& font, UStringView text, const TRect& rect, uint32_t format,
                     TDRXAlphaColor color);
// Opens a URL (or a file, or a "mailto:" target) with the shell's default verb.
void ShellOpen(const UString& target);
// Tests: what opens targets instead of the shell; an empty function gives the shell back.
void SetShellOpenHandler(std::function<void(const UString& target)> handler);
#endif
