#pragma once
// Import: the source text of a layout read into a flat list of blocks.

#include <cstdint>

#include "DRX.Graphics.TextLayout.Blocks.h"
#include "DRX.Strings.h"

// Four Boolean bytes, in this order. A default-constructed value holds the
// library's defaults: e-mail detection off, the other three on.
struct TDRXTextImportSettings {
  bool AllowAutoEmailDetect = false;
  bool AllowAutoURLDetect = true;
  bool AllowCppLikeLineBreaks = true;  // backslash and n make a line break
  bool AllowFormatting = true;         // tags in square brackets
};

// Appends the blocks of text to blocks. Text blocks point into text and into
// widths (one value per UTF-16 unit of text), both of which must outlive them.
void ImportTextLayoutBlocks(UStringView text, int32_t* widths, const TDRXTextImportSettings& settings,
                            TDRXTextLayoutBlocks& blocks);

// A COLOR or BACKCOLOR parameter: a colour keyword with or without "cl", the
// library's "$" notation, or else the lenient hexadecimal form.
TColor TextLayoutParameterColor(UStringView parameter);
