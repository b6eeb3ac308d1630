#pragma once
// The text measurer and canvas of Windows: GDI fonts made from the layout's
// font description (cached per face, height and style set), extents from
// GetTextExtentExPointW and output by ExtTextOutW with the widths array.

#include <windows.h>

#include <memory>
#include <vector>

#include "DRX.Graphics.GDI.h"
#include "DRX.Graphics.TextMeasurer.h"

class TDRXGdiTextMeasurer : public IDRXTextMeasurer {
 public:
  // Measures in a memory DC of its own, compatible with the screen.
  TDRXGdiTextMeasurer();

  void MeasureCharacters(const TFont& font, UStringView text, int32_t* widths) override;
  int32_t LineHeight(const TFont& font) override;

  // The GDI font for a description; the measurer keeps it as long as it lives.
  HFONT FontHandle(const TFont& font);
  // Forgets every font (after a DPI change, say).
  void ClearFonts() { fonts_.clear(); }

 private:
  struct TCachedFont {
    UString Name;
    int32_t Height;
    TFontStyles Style;
    TDRXGdiObject<HFONT> Font;
    int32_t LineHeight;
  };
  TCachedFont& Cached(const TFont& font);

  TDRXMemoryDC dc_;
  std::vector<std::unique_ptr<TCachedFont>> fonts_;
  std::vector<INT> extents_;
};

// Draws into a DC the caller owns with the measurer's fonts.
class TDRXGdiTextCanvas : public IDRXTextCanvas {
 public:
  TDRXGdiTextCanvas(HDC dc, TDRXGdiTextMeasurer& measurer) : dc_(dc), measurer_(measurer) {}

  void BeginDraw(const TRect& clip, TPoint origin) override;
  void EndDraw() override;
  void DrawCharacters(const TFont& font, const TRect& rect, UStringView text, const int32_t* widths,
                      std::optional<TColor> fill, bool clipped) override;
  void FillRect(const TRect& rect, TColor color) override;

 private:
  HDC dc_;
  TDRXGdiTextMeasurer& measurer_;
  std::vector<TDRXSavedDCState> saved_;
};
