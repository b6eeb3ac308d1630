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

#ifdef _WIN32
#include <functional>
#include <memory>

#include "DRX.UI.Controls.Labels.h"

// A windowless label showing its caption as formatted text, in the colours of
// a label style: the text colour by state (a font colour set explicitly
// wins), links in "Labels.Colors.TextHyperlink", the background unless
// transparent, and with Borders a one-pixel frame (scaled) in
// "Labels.Colors.Line1" that the text stays inside. With AutoScroll the
// control's height follows the text.
class TDRXFormattedLabel : public TDRXCustomControl, protected IDRXStyleOwner {
 public:
  using TLinkExecuteEvent = std::function<void(TDRXFormattedLabel& sender, const UString& target)>;

  explicit TDRXFormattedLabel(TDRXComponent* owner = nullptr);
  ~TDRXFormattedLabel() override;

  UString ClassName() const override { return u"TDRXFormattedLabel"; }
  bool HasCaption() const override { return true; }

  TAlignment Alignment() const { return layout_->Alignment(); }
  void SetAlignment(TAlignment alignment);
  bool AutoScroll() const { return layout_->AutoScroll(); }
  void SetAutoScroll(bool on);
  bool Borders() const { return borders_; }
  void SetBorders(bool on);
  bool WordWrap() const { return layout_->WordWrap(); }
  void SetWordWrap(bool on);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool on);
  TDRXCustomResourceCollection* ResourceCollection() const { return resourceCollection_; }
  void SetResourceCollection(TDRXCustomResourceCollection* collection);
  TDRXStyleLabel& Style() const { return *style_; }

  // The layout as it is drawn, in client coordinates.
  TDRXFormattedLabelLayout& TextLayout() { return *layout_; }
  // The target of the link under a point of the client; none elsewhere.
  std::optional<UString> LinkAt(TPoint point) { return layout_->LinkAt(point); }

  // Static text read as its plain text (tags and link targets gone), then
  // each link shown, which a reader's "activate" follows.
  bool AccessibleItem(TDRXAccessibleItem& item) const override;
  std::vector<TDRXAccessibleItem> AccessibleSubItems() const override;
  void AccessibleSubItemAction(size_t index) override;

  // A click on a link: the handler, or else the shell opens the target.
  TLinkExecuteEvent OnLinkExecute;
  void ExecuteLink(const UString& target);

  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

 protected:
  void Paint(HDC__* dc) override;
  void Resized() override;
  void EnabledChanged() override;
  void FontChanged() override;
  void CaptionChanged() override;
  TDRXCustomResourceCollection* StyleResourceCollection() override { return resourceCollection_; }
  void StyleChanged(TDRXStyle&) override { LayoutChanged(); }

 private:
  // Hands the layout its font, colours and rectangle, then repaints.
  void LayoutChanged();
  int32_t BorderWidth() const;
  void PaintBorders(HDC__* dc) const;

  std::unique_ptr<TDRXStyleLabel> style_;
  std::unique_ptr<TDRXFormattedLabelLayout> layout_;
  TDRXCustomResourceCollection* resourceCollection_ = nullptr;
  bool borders_ = false;
  bool transparent_ = true;
  bool sizing_ = false;
  std::optional<UString> pressedLink_;
};
#endif
