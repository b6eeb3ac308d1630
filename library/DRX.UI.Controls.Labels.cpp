#include "DRX.UI.Controls.Labels.h"

#include <cstdlib>

#include "DRX.UI.Application.h"

int32_t ClampLabelEffectSize(int32_t size) { return std::clamp(size, -kLabelEffectSizeLimit, kLabelEffectSizeLimit); }

TDRXStyleLabel::TDRXStyleLabel(IDRXStyleOwner* owner) : TDRXStyle(owner) {
  AddColor(lcsBackground, u"Labels.Colors.Background");
  AddColor(lcsTextHyperlink, u"Labels.Colors.TextHyperlink");
  AddColor(lcsLine1, u"Labels.Colors.Line1");
  AddColor(lcsLine2, u"Labels.Colors.Line2");
  AddColor(lcsTextShadow, u"Labels.Colors.TextShadow");
  AddColor(lcsText, u"Labels.Colors.Text");
  AddColor(lcsTextDisabled, u"Labels.Colors.TextDisabled");
}

template <typename T>
void TDRXStyleLabel::Update(T& field, T value) {
  if (field == value) return;
  field = value;
  Changed();
}

void TDRXStyleLabel::SetEffect(TDRXLabelEffect effect) { Update(effect_, effect); }

void TDRXStyleLabel::SetEffectSize(int32_t size) { Update(effectSize_, ClampLabelEffectSize(size)); }

void TDRXStyleLabel::SetWordWrap(bool on) {
  BeginUpdate();
  if (on) Update(showLine_, false);
  Update(wordWrap_, on);
  EndUpdate();
}

void TDRXStyleLabel::SetShowLine(bool on) {
  BeginUpdate();
  if (on) Update(wordWrap_, false);
  Update(showLine_, on);
  EndUpdate();
}

TDRXStyleValidationLabel::TDRXStyleValidationLabel(IDRXStyleOwner* owner) : TDRXStyleLabel(owner) {
  AddTexture(0, u"Labels.Textures.Icons");
}

TSize LabelTextExtent(TSize text, TDRXLabelEffect effect, int32_t effectSize) {
  if (effect == leNone || effectSize == 0) return text;
  const int32_t grow = 2 * std::abs(ClampLabelEffectSize(effectSize));
  return {text.cx + grow, text.cy + grow};
}

int32_t CenteredTop(int32_t top, int32_t bottom, int32_t height) {
  return FloorDiv(static_cast<int64_t>(top) + bottom - height, 2);
}

TRect PlaceLabelText(const TRect& client, TSize extent, TAlignment alignment, TVerticalAlignment alignmentVert) {
  int32_t top = client.Top;
  if (alignmentVert == taAlignBottom) top = client.Bottom - extent.cy;
  if (alignmentVert == taVerticalCenter) top = CenteredTop(client.Top, client.Bottom, extent.cy);
  int32_t left = client.Left;
  if (alignment == taRightJustify) left = client.Right - extent.cx;
  if (alignment == taCenter) left = FloorDiv(static_cast<int64_t>(client.Left) + client.Right - extent.cx, 2);
  const TRect placed = Bounds(left, top, extent.cx, extent.cy);
  return RectIntersection(placed, client);
}

TDRXLabelEffectPlan PlanLabelEffect(const TRect& textRect, TDRXLabelEffect effect, int32_t effectSize) {
  const int32_t size = ClampLabelEffectSize(effectSize);
  const int32_t magnitude = std::abs(size);
  TDRXLabelEffectPlan plan{textRect, {}};
  if (size == 0) return plan;
  if (effect == leGlow) {
    plan.Text = ShrinkRect(textRect, {magnitude, magnitude, magnitude, magnitude});
    for (int32_t i = 1; i <= magnitude; ++i) {
      for (const TPoint offset : {TPoint{i, i}, TPoint{i, -i}, TPoint{-i, i}, TPoint{-i, -i}}) {
        TRect pass = plan.Text;
        pass.Offset(offset.X, offset.Y);
        plan.Passes.push_back(pass);
      }
    }
  } else if (effect == leShadow) {
    plan.Text = size > 0 ? ShrinkRect(textRect, {0, 0, size, size}) : ShrinkRect(textRect, {magnitude, magnitude, 0, 0});
    TRect pass = plan.Text;
    pass.Offset(size, size);
    plan.Passes.push_back(pass);
  }
  return plan;
}

TDRXLabelLine LineAroundGap(int32_t left, int32_t right, const TRect& band, int32_t cutLeft, int32_t cutRight) {
  const int32_t top = CenteredTop(band.Top, band.Bottom, 2);
  const auto row = [&](int32_t rowTop) {
    return std::array<TRect, 2>{Rect(left, rowTop, std::max(left, std::min(cutLeft, right)), rowTop + 1),
                                Rect(std::min(right, std::max(cutRight, left)), rowTop, right, rowTop + 1)};
  };
  return {row(top), row(top + 1)};
}

TDRXLabelLine LabelLine(const TRect& client, const TRect& textRect, int32_t gap) {
  if (textRect.Width() <= 0) return LineAroundGap(client.Left, client.Right, textRect, client.Right, client.Right);
  return LineAroundGap(client.Left, client.Right, textRect, textRect.Left - gap, textRect.Right + gap);
}

TDRXAlphaColor LabelSlotColor(const TDRXStyleLabel& style, TDRXLabelColorSlot slot) {
  if (!TDRXApplication::HighContrast()) return style.Colors(slot).Value();
  switch (slot) {
    case lcsBackground: return ColorToAlphaColor(TDRXApplication::SystemColor(scWindow));
    case lcsTextHyperlink: return ColorToAlphaColor(TDRXApplication::SystemColor(scHotLight));
    case lcsTextDisabled: return ColorToAlphaColor(TDRXApplication::SystemColor(scGrayText));
    case lcsTextShadow: return claNull;
    case lcsLine1:
    case lcsLine2:
    case lcsText: break;
  }
  return ColorToAlphaColor(TDRXApplication::SystemColor(scWindowText));
}

TDRXAlphaColor LabelTextColor(std::optional<TColor> explicitFontColor, bool hotLink, bool enabled,
                              const TDRXLabelTextColors& colors) {
  if (explicitFontColor) return ColorToAlphaColor(*explicitFontColor);
  if (hotLink) return colors.TextHyperlink;
  return enabled ? colors.Text : colors.TextDisabled;
}

TDRXValidationLabelLayout LayoutValidationLabel(const TRect& client, TSize icon, int32_t gap) {
  const TRect iconRect = Bounds(client.Left, CenteredTop(client.Top, client.Bottom, icon.cy), icon.cx, icon.cy);
  TRect text = client;
  text.Left = std::min(client.Right, client.Left + icon.cx + gap);
  return {iconRect, text};
}

TSize ValidationLabelSize(TSize text, TSize icon, int32_t gap) {
  return {text.cx + icon.cx + gap, std::max(text.cy, icon.cy)};
}
