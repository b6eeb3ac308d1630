#pragma once
// What a text layout asks of the platform: the extents of characters in a font
// and the drawing of runs at given character positions. The fixed-width
// measurer makes layouts exact and independent of any installed font.

#include <cstdint>
#include <optional>

#include "DRX.Graphics.Types.h"
#include "DRX.Strings.h"

class IDRXTextMeasurer {
 public:
  virtual ~IDRXTextMeasurer() = default;
  // The advance width of each UTF-16 unit of text in the font; widths holds
  // text.size() values that add up to the run's extent (the two units of a
  // surrogate pair may split their character's width in any way).
  virtual void MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) = 0;
  // The height of one line of text in the font.
  virtual int32_t LineHeight(const TFont& font) = 0;
};

// Where a layout draws. BeginDraw narrows the clip to a rectangle (in the
// canvas's current coordinates) and then shifts the origin, so that layout
// point p appears at p - origin; EndDraw restores both.
class IDRXTextCanvas {
 public:
  virtual ~IDRXTextCanvas() = default;
  virtual void BeginDraw(const TRect& clip, TPoint origin) = 0;
  virtual void EndDraw() = 0;
  // Draws text in font.Color with its top-left corner at rect's, advancing by
  // the given widths. With a fill, rect is first filled with it (opaque text);
  // with clipped, nothing is drawn outside rect.
  virtual void DrawCharacters(const TFont& font, const TRect& rect, UStringView text, const int32_t* widths,
                              std::optional<TColor> fill, bool clipped) = 0;
  virtual void FillRect(const TRect& rect, TColor color) = 0;
};

// Every UTF-16 unit is CharWidth wide in every font (a low surrogate 0), every
// line LineHeight high.
class TDRXFixedWidthTextMeasurer : public IDRXTextMeasurer {
 public:
  TDRXFixedWidthTextMeasurer(int32_t charWidth, int32_t lineHeight) : charWidth_(charWidth), lineHeight_(lineHeight) {}
  void MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) override;
  int32_t LineHeight(const TFont& font) override { return lineHeight_; }

 private:
  int32_t charWidth_;
  int32_t lineHeight_;
};
