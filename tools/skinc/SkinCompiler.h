#pragma once
// A skin from its text (SKIN.skin), its stylesheet (SKIN.css beside it, for the
// SVG textures) and the SVG files it names, to the component stream that the
// program reads; the stream is read back into a resource collection before it
// is handed out, so a skin that the program would refuse fails here.

#include <filesystem>
#include <memory>
#include <string>

#include "DRX.UI.Resources.Collections.h"

struct TCompiledSkin {
  std::string Name;    // the file name without extension ("light")
  std::string Stream;  // the component stream
  std::unique_ptr<TDRXCustomResourceCollection> Collection;  // the stream read back
};

// Raises std::runtime_error (or the library's errors) with the file and line.
TCompiledSkin CompileSkin(const std::filesystem::path& skinFile);
