#include "DRX.UI.Controls.HighContrast.h"

#include <algorithm>

#include "DRX.Graphics.GDI.h"

namespace {

// A pen and brush of one colour selected for as long as it lives.
class TSolidPainter {
 public:
  TSolidPainter(HDC dc, TColor color, int32_t penWidth = 1)
      : brush_(CreateSolidBrush(color)),
        pen_(CreatePen(PS_SOLID, penWidth, color)),
        brushSelection_(dc, brush_.Get()),
        penSelection_(dc, pen_.Get()) {}

 private:
  TDRXGdiObject<HBRUSH> brush_;
  TDRXGdiObject<HPEN> pen_;
  TDRXSelection brushSelection_;
  TDRXSelection penSelection_;
};

// The check mark: two strokes from the left middle down to the bottom third and up to the right top.
void DrawCheckMark(HDC dc, const TRect& inner, TColor color, int32_t stroke) {
  const int32_t w = inner.Width(), h = inner.Height();
  const POINT points[3] = {{inner.Left + w / 6, inner.Top + h / 2},
                           {inner.Left + w * 2 / 5, inner.Top + h * 4 / 5},
                           {inner.Right - w / 6, inner.Top + h / 5}};
  TSolidPainter painter(dc, color, stroke);
  Polyline(dc, points, 3);
}

void FillColor(HDC dc, const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  const RECT area = ToRECT(rect);
  FillRect(dc, &area, brush.Get());
}

// A filled ellipse without an outline, inside the rectangle.
void FillEllipse(HDC dc, const TRect& rect, TColor color) {
  if (rect.IsEmpty()) return;
  TDRXGdiObject<HBRUSH> brush(CreateSolidBrush(color));
  TDRXSelection brushSelection(dc, brush.Get());
  TDRXSelection penSelection(dc, GetStockObject(NULL_PEN));
  // Without a pen the ellipse leaves out its right and bottom edges.
  Ellipse(dc, rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1);
}

}  // namespace

void FillContrast(HDC dc, const TRect& rect, TDRXSystemColor color) { FillColor(dc, rect, ContrastColor(color)); }

void DrawContrastFrame(HDC dc, const TRect& rect, TDRXSystemColor face, TDRXSystemColor line, int32_t thickness) {
  if (rect.IsEmpty()) return;
  const int32_t t = std::clamp(thickness, 0, std::min(rect.Width(), rect.Height()) / 2);
  FillContrast(dc, rect, line);
  FillContrast(dc, Rect(rect.Left + t, rect.Top + t, rect.Right - t, rect.Bottom - t), face);
}

void DrawArrow(HDC dc, const TRect& rect, TColor color, const TDRXScaleFactor& scale, TDRXArrowDirection direction) {
  if (rect.IsEmpty()) return;
  const int32_t half = scale.Apply(3);
  const int32_t cx = FloorDiv(int64_t(rect.Left) + rect.Right, 2), cy = FloorDiv(int64_t(rect.Top) + rect.Bottom, 2);
  // The downward triangle, turned for the other directions.
  const POINT down[3] = {{-half, -half / 2}, {half + 1, -half / 2}, {0, half / 2 + 1}};
  POINT points[3];
  for (int i = 0; i < 3; ++i) {
    const LONG x = down[i].x, y = down[i].y;
    switch (direction) {
      case adUp: points[i] = {cx + x, cy - y}; break;
      case adLeft: points[i] = {cx - y, cy + x}; break;
      case adRight: points[i] = {cx + y, cy + x}; break;
      case adDown: points[i] = {cx + x, cy + y}; break;
    }
  }
  TSolidPainter painter(dc, color);
  Polygon(dc, points, 3);
}

void DrawContrastBox(HDC dc, const TRect& area, TDRXContrastMark mark, bool round, bool enabled,
                     const TDRXScaleFactor& scale) {
  if (area.IsEmpty()) return;
  // A square centred in the area, a pixel inside it as the skin's boxes are.
  const int32_t side = std::min(area.Width(), area.Height()) - 2 * scale.Apply(1);
  if (side <= 0) return;
  const int32_t left = area.Left + (area.Width() - side) / 2, top = area.Top + (area.Height() - side) / 2;
  const TRect box = Bounds(left, top, side, side);
  const TColor line = ContrastTextColor(enabled);
  const int32_t stroke = std::max(1, scale.Apply(1));
  const int32_t inset = std::max(stroke + 1, scale.Apply(3));
  const TRect inner = Rect(box.Left + inset, box.Top + inset, box.Right - inset, box.Bottom - inset);
  if (!round) {
    DrawContrastFrame(dc, box, scWindow, enabled ? scWindowText : scGrayText, stroke);
    if (mark == cmCheck) DrawCheckMark(dc, inner, line, std::max(2, scale.Apply(2)));
    if (mark == cmGrayed) FillColor(dc, inner, line);
    return;
  }
  // A ring: the disc in the line colour, the window colour inside it, then the dot.
  FillEllipse(dc, box, line);
  FillEllipse(dc, Rect(box.Left + stroke, box.Top + stroke, box.Right - stroke, box.Bottom - stroke),
              ContrastColor(scWindow));
  if (mark != cmNone) FillEllipse(dc, inner, line);
}

void DrawContrastButtonFace(HDC dc, const TRect& rect, TDRXButtonVisualState state, const TDRXScaleFactor& scale) {
  TDRXSystemColor line = scButtonText;
  if (state == bvsDisabled) line = scGrayText;
  if (state == bvsHover) line = scHighlight;
  DrawContrastFrame(dc, rect, state == bvsPressed ? scHighlight : scButtonFace, line,
                    std::max(1, scale.Apply(state == bvsFocused ? 2 : 1)));
}

TColor ContrastButtonTextColor(TDRXButtonVisualState state) {
  if (state == bvsDisabled) return ContrastColor(scGrayText);
  return ContrastColor(state == bvsPressed ? scHighlightText : scButtonText);
}

void DrawContrastEditBorder(HDC dc, const TRect& rect, TDRXEditBorderFrame frame, const TDRXScaleFactor& scale) {
  TDRXSystemColor line = scWindowText;
  if (frame == ebfDisabled) line = scGrayText;
  if (frame == ebfHover || frame == ebfFocused) line = scHighlight;
  DrawContrastFrame(dc, rect, scWindow, line, std::max(1, scale.Apply(frame == ebfFocused ? 2 : 1)));
}
