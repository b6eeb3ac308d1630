#pragma once
// What the skinned controls draw instead of their textures, images and
// gradients while the application's high contrast is on (Windows): plain GDI
// rectangles, frames, marks and arrows in the system colours, and the dotted
// focus rectangle. Each control's draw path asks TDRXApplication::HighContrast()
// once and paints with these.

#include <windows.h>

#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.Buttons.h"
#include "DRX.UI.Controls.EditBox.h"
#include "DRX.UI.Controls.Layout.h"

inline TColor ContrastColor(TDRXSystemColor color) { return TDRXApplication::SystemColor(color); }
// Text on a window-coloured background: window text, or gray text when disabled.
inline TColor ContrastTextColor(bool enabled) { return ContrastColor(enabled ? scWindowText : scGrayText); }

void FillContrast(HDC dc, const TRect& rect, TDRXSystemColor color);
// The rectangle filled with face inside a frame of line, thickness pixels wide.
void DrawContrastFrame(HDC dc, const TRect& rect, TDRXSystemColor face, TDRXSystemColor line, int32_t thickness);

enum TDRXArrowDirection : uint8_t { adDown, adUp, adLeft, adRight };
// A small filled triangle centred in the rectangle, pointing that way.
void DrawArrow(HDC dc, const TRect& rect, TColor color, const TDRXScaleFactor& scale,
               TDRXArrowDirection direction = adDown);

enum TDRXContrastMark : uint8_t { cmNone, cmCheck, cmGrayed };
// A check box's (or, round, a radio box's) box in window colours, a square
// centred in the area: a frame in the text colour with a check mark, a filled
// square for grayed, or a dot.
void DrawContrastBox(HDC dc, const TRect& area, TDRXContrastMark mark, bool round, bool enabled,
                     const TDRXScaleFactor& scale);

// A push button's face (also an edit button's, a scroll bar's arrow or thumb):
// button face framed in button text, highlighted while pressed, the frame in
// the highlight colour under the mouse and gray when disabled, twice as thick
// when focused or default.
void DrawContrastButtonFace(HDC dc, const TRect& rect, TDRXButtonVisualState state, const TDRXScaleFactor& scale);
// The text (or arrow) colour on such a face.
TColor ContrastButtonTextColor(TDRXButtonVisualState state);

// An edit's (memo's, combo box's) border around window colour: window text,
// the highlight colour under the mouse and twice as thick when focused, gray
// when disabled.
void DrawContrastEditBorder(HDC dc, const TRect& rect, TDRXEditBorderFrame frame, const TDRXScaleFactor& scale);
