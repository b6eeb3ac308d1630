#include "DRX.UI.Controls.Buttons.h"

#include <algorithm>

// ---- State ----

TDRXButtonVisualState ButtonVisualState(TDRXButtonFlags flags) {
  if (!(flags & bfEnabled)) return bvsDisabled;
  if (flags & (bfPressed | bfDown)) return bvsPressed;
  if (flags & bfHover) return bvsHover;
  if (flags & (bfFocused | bfDefault)) return bvsFocused;
  return bvsNormal;
}

int ButtonFrameIndex(TDRXButtonVisualState state, TCheckBoxState checkState) {
  return state + kButtonFramesPerCheckState * checkState;
}

TCheckBoxState NextCheckState(TCheckBoxState state, bool allowGrayed) {
  if (!allowGrayed) return state == cbChecked ? cbUnchecked : cbChecked;
  switch (state) {
    case cbUnchecked:
      return cbChecked;
    case cbChecked:
      return cbGrayed;
    default:
      return cbUnchecked;
  }
}

bool ButtonStateChangeFades(TDRXButtonVisualState from, TDRXButtonVisualState to, TDRXButtonFlags newFlags) {
  return from == bvsHover && (to == bvsNormal || to == bvsFocused) && (newFlags & bfEnabled) && !(newFlags & bfPressed);
}

TDRXButtonColorSlot ButtonTextColorSlot(TDRXButtonVisualState state) {
  switch (state) {
    case bvsHover:
      return bcsTextHover;
    case bvsPressed:
      return bcsTextPressed;
    case bvsDisabled:
      return bcsTextDisabled;
    default:
      return bcsText;
  }
}

// ---- Styles ----

TDRXStyleButton::TDRXStyleButton(IDRXStyleOwner* owner) : TDRXStyle(owner) {
  AddColor(bcsText, u"Buttons.Colors.Text");
  AddColor(bcsTextHover, u"Buttons.Colors.TextHover");
  AddColor(bcsTextPressed, u"Buttons.Colors.TextPressed");
  AddColor(bcsTextDisabled, u"Buttons.Colors.TextDisabled");
  AddTexture(0, u"Buttons.Textures.Button");
}

TDRXAlphaColor TDRXStyleButton::TextColor(TDRXButtonVisualState state) const {
  const TDRXAlphaColor color = Colors(ButtonTextColorSlot(state)).Value();
  return color == claNull ? Colors(bcsText).Value() : color;
}

TDRXStyleCheckBox::TDRXStyleCheckBox(IDRXStyleOwner* owner) : TDRXStyleCheckBox(owner, u"Buttons.Textures.CheckBox") {}

TDRXStyleCheckBox::TDRXStyleCheckBox(IDRXStyleOwner* owner, UStringView textureID) : TDRXStyleButton(owner) {
  AddColor(bcsLine1, u"Labels.Colors.Line1");
  AddColor(bcsLine2, u"Labels.Colors.Line2");
  AddTexture(0, textureID);
}

TDRXStyleRadioBox::TDRXStyleRadioBox(IDRXStyleOwner* owner) : TDRXStyleCheckBox(owner, u"Buttons.Textures.RadioBox") {}

// ---- Layouts ----

namespace {

// The rectangle with its right and bottom edges kept from crossing the left and top.
TRect NotInverted(TRect rect) {
  rect.Right = std::max(rect.Right, rect.Left);
  rect.Bottom = std::max(rect.Bottom, rect.Top);
  return rect;
}

// The top of something of that height centred in [top, bottom): the
// difference rounded down to even, then halved.
int32_t CentredTop(int32_t top, int32_t bottom, int32_t height) { return FloorDiv(int64_t(top) + bottom - height, 2); }

int32_t AlignedLeft(const TRect& area, int32_t width, TAlignment alignment) {
  switch (alignment) {
    case taRightJustify:
      return area.Right - width;
    case taCenter:
      return FloorDiv(int64_t(area.Left) + area.Right - width, 2);
    default:
      return area.Left;
  }
}

}  // namespace

TDRXPushButtonLayout CalculatePushButtonLayout(const TDRXPushButtonLayoutInput& input) {
  TDRXPushButtonLayout layout;
  const TRect& r = input.Bounds;
  layout.Background = r;
  const int32_t dropDownWidth = std::clamp(input.DropDownWidth, 0, std::max(r.Width(), 0));
  if (input.Kind == bkSplit) {
    layout.DropDown = Rect(r.Right - dropDownWidth, r.Top, r.Right, r.Bottom);
    layout.Background.Right = layout.DropDown.Left;
  }
  layout.Content = NotInverted(ShrinkRect(layout.Background, input.ContentOffsets));
  layout.Caption = layout.Content;
  if (input.Kind == bkDropDown) {
    layout.DropDown = Rect(std::max(layout.Content.Right - dropDownWidth, layout.Content.Left), layout.Content.Top,
                           layout.Content.Right, layout.Content.Bottom);
    layout.Caption.Right = layout.DropDown.Left;
  }
  if (input.Glyph.cx > 0 && input.Glyph.cy > 0) {
    const int32_t top = CentredTop(r.Top, r.Bottom, input.Glyph.cy);
    if (input.HasCaption) {
      layout.Glyph = Bounds(layout.Caption.Left, top, input.Glyph.cx, input.Glyph.cy);
      layout.Caption.Left = std::min(layout.Glyph.Right + input.Scale.Apply(5), layout.Caption.Right);
    } else {
      layout.Glyph = Bounds(AlignedLeft(layout.Caption, input.Glyph.cx, taCenter), top, input.Glyph.cx, input.Glyph.cy);
    }
  }
  return layout;
}

TDRXCheckBoxLayout CalculateCheckBoxLayout(const TDRXCheckBoxLayoutInput& input, const TDRXCaptionMeasure& measure,
                                           TAlign align) {
  const auto scaled = [&input](int32_t length) { return input.Scale.Apply(length); };
  const TRect& r = input.Bounds;
  TDRXCheckBoxLayout layout;
  layout.CaptionArea = r;
  TRect measureArea = r;
  if (input.ShowCheckMark) {
    const int32_t top = input.WordWrap ? r.Top + scaled(1) : CentredTop(r.Top, r.Bottom, input.Box.cy);
    layout.Box = Bounds(r.Left, top, input.Box.cx, input.Box.cy);
    layout.CaptionArea.Left = layout.Box.Right + scaled(5) - scaled(2);
    measureArea = ShrinkRect(layout.CaptionArea, {scaled(2), scaled(1), scaled(2), scaled(1)});
  }
  layout.CaptionArea = NotInverted(layout.CaptionArea);
  measureArea = NotInverted(measureArea);

  TSize text{};
  if (!input.CaptionEmpty && measure) text = measure(input.WordWrap ? std::max(measureArea.Width(), 1) : 0);
  text.cx = std::max(text.cx, 0);
  text.cy = std::max(text.cy, input.LineHeight);
  const int32_t width = std::min(text.cx, measureArea.Width());
  const int32_t top = input.WordWrap ? measureArea.Top : CentredTop(measureArea.Top, measureArea.Bottom, text.cy);
  layout.Caption = Bounds(AlignedLeft(measureArea, width, input.Alignment), top, width, text.cy);

  if (input.ShowLine && !input.WordWrap) {
    const int32_t lineTop = CentredTop(r.Top, r.Bottom, 2);
    if (input.CaptionEmpty) {
      layout.LineLeft = Rect(r.Left, lineTop, r.Right, lineTop + 2);
    } else {
      layout.LineLeft = NotInverted(Rect(r.Left, lineTop, layout.Caption.Left - scaled(4), lineTop + 2));
      layout.LineRight = Rect(std::min(layout.Caption.Right + scaled(4), r.Right), lineTop, r.Right, lineTop + 2);
      layout.LineRight = NotInverted(layout.LineRight);
    }
  }

  const int32_t boxHeight = input.ShowCheckMark ? input.Box.cy : 0;
  layout.AutoSize.cy = std::max(text.cy + scaled(2), boxHeight);
  layout.AutoWidth = !input.WordWrap && !input.ShowLine && !AlignStretchesWidth(align);
  if (!input.ShowCheckMark)
    layout.AutoSize.cx = text.cx;
  else
    layout.AutoSize.cx = input.Box.cx + (input.CaptionEmpty ? 0 : text.cx + scaled(2) + scaled(5));
  return layout;
}

bool CheckBoxAcceptsPoint(const TDRXCheckBoxLayout& layout, TPoint point) {
  return layout.Box.Contains(point) || layout.Caption.Contains(point) || layout.LineLeft.Contains(point) ||
         layout.LineRight.Contains(point);
}
