#pragma once
// The formatted label: a caption in the library's mark-up (bold, italic,
// underlined, struck-out and coloured runs, fills and links) laid out by
// DRX.Graphics.TextLayout. TDRXFormattedLabelLayout holds the label's rules
// over the layout and is portable; the windowless control TDRXFormattedLabel
// draws it with the GDI measurer and opens links (Windows only,
// DRX.UI.Controls.FormattedLabel.Win.cpp).

#include <cstdint>
#include <optional>

#include "DRX.Graphics.TextLayout.h"
#include "DRX.Graphics.Types.h"

// The label's rules over a text layout: the caption is read with the library's
// default import settings; word wrap is on from the start. In a fixed size
// the text is laid out in the content rectangle and what does not fit ends in
// an ellipsis (cut rows are hidden, so the last row shown carries it); with
// AutoScroll it is laid out in the content's width with an unbounded height
// and no ellipsis, and the label's height follows the text.
class TDRXFormattedLabelLayout {
 public:
  explicit TDRXFormattedLabelLayout(IDRXTextMeasurer& measurer);

  const TFont& Font() const { return font_; }
  void SetFont(const TFont& font);
  const UString& Caption() const { return caption_; }
  void SetCaption(UStringView caption);
  bool WordWrap() const { return layout_.HasOption(tloWordWrap); }
  void SetWordWrap(bool on) { layout_.SetOption(tloWordWrap, on); }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool on);
  TAlignment Alignment() const { return layout_.HorizontalAlignment(); }
  void SetAlignment(TAlignment alignment) { layout_.SetHorizontalAlignment(alignment); }
  // The link colour of the label's style; none derives it from the text colour.
  void SetLinkColor(std::optional<TColor> color) { layout_.SetLinkColor(color); }

  // Where the text goes, in the control's client coordinates.
  const TRect& ContentRect() const { return content_; }
  void SetContentRect(const TRect& content);

  // The height the text needs in the content's width (what AutoScroll sizes to).
  int32_t TextHeight();
  // The target of the link under the point; none outside links.
  std::optional<UString> LinkAt(TPoint point);

  TDRXTextLayout& Layout() { return layout_; }

 private:
  void ApplyBounds();

  TFont font_;
  UString caption_;
  bool autoScroll_ = false;
  TRect content_;
  TDRXTextLayout layout_;
};

// The content rectangle: the client less the border width on every side when
// the label has borders.
TRect FormattedLabelContentRect(const TRect& client, bool borders, int32_t borderWidth);
