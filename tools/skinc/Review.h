#pragma once
// What a skin looks like, for people: every texture frame at every DPI as a
// PNG file, and one contact sheet of several skins side by side.

#include <filesystem>
#include <vector>

#include "SkinCompiler.h"

// DIR/<skin>/<identifier>.<dpi>.<frame>.png for every texture with its own images.
void WriteTexturePngs(const TCompiledSkin& skin, const std::filesystem::path& folder);

// One row per texture, one column per skin and DPI, each on its skin's
// "Common.Colors.Background", magnified by `zoom` (whole pixels, no smoothing);
// only the textures whose identifier holds `match`.
void WriteContactSheet(const std::vector<const TCompiledSkin*>& skins, const std::filesystem::path& file,
                       const std::vector<int>& dpis, int zoom, const UString& match = {});
