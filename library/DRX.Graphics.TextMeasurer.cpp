#include "DRX.Graphics.TextMeasurer.h"

void TDRXFixedWidthTextMeasurer::MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) {
  for (size_t i = 0; i < text.size(); ++i) {
    const bool secondOfPair = i > 0 && text[i - 1] >= 0xD800 && text[i - 1] <= 0xDBFF && text[i] >= 0xDC00 && text[i] <= 0xDFFF;
    widths[i] = secondOfPair ? 0 : charWidth_;
  }
}
