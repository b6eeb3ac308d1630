#pragma once
// The skin image set of one texture, from the "Image" lines of its block:
//
//   Image = "button.svg"            the SVG template of one frame (its size at 96 DPI)
//   Image.Frames = normal hover     one frame per class, side by side
//   Image.Groups = unchecked checked  the frames again for each group class
//   Image.Layout = Vertical         frames one above the other (default Horizontal)
//   Image.Margins = 4, 4, 4, 4      left, top, right, bottom at 96 DPI (one number: all four)
//   Image.ContentOffsets = 6, 2, 6, 2
//   Image.TileArea = 2, 3, 10, 4    head, tile1, start2, tile2 at 96 DPI
//   Image.TileAreaLayout = Vertical
//   Image.StretchMode = Tile        Stretch, Tile or Center
//   Image.SizingMode = MarginsOnly  Auto, MarginsOnly or TileAreaOnly
//   Image.HitTestMode = ByAlpha     Always, ByAlpha or Never
//   Image.HitTestFrame = 0
//   Image.AllowColoration = False
//   Image.DPIs = 96, 120, 144, 192  the default
//
// Each frame is the template rendered with the classes "<frame> <group> dpi<N>"
// on its root under the skin's stylesheet. Lengths are scaled to each DPI; a
// frame must come out in whole pixels at every DPI.

#include <filesystem>
#include <string>

#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.UI.Resources.Text.h"

struct TTextureSources {
  std::filesystem::path Folder;  // where the SVG files are
  std::string Stylesheet;        // the skin's CSS
};

// Fills the set (one item per DPI); raises std::runtime_error or the library's errors.
void BuildTextureSet(const TDRXSkinTextImage& image, const TTextureSources& sources, TDRXSkinImageSet& set);
// The set's stored form.
std::string BuildTextureData(const TDRXSkinTextImage& image, const TTextureSources& sources);
