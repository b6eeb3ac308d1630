#pragma once
// The text form of a skin: one block per resource, read into the component
// tree of a resource collection (and so into the same stream the program reads).
//
//   ; a comment (also after a value)
//   [Common.Fonts.Bold] Font          identifier and resource class
//   ID = "Common.Fonts.Default"       a property of the resource
//   Style = [fsBold]
//
// Values: integers (-11), texts in double quotes ("" inside stands for one),
// identifiers (claWhite, xFF0078D7, fqClearType; True and False are Booleans)
// and sets ([fsBold, fsItalic]). A block's lines named "Image" or "Image." +
// setting describe the skin image set of a texture; the reader hands them to an
// image builder, whose bytes become the resource's "Data". Mistakes raise
// ESkinTextError "line %d: %s".

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "DRX.Classes.ComponentStream.h"
#include "DRX.Exceptions.h"

class ESkinTextError : public Exception { using Exception::Exception; };

// The "Image" lines of one block, values as written.
struct TDRXSkinTextImage {
  UString ItemID;
  int Line = 0;  // the block's first line
  std::vector<std::pair<UString, UString>> Settings;  // name without "Image." ("" for "Image"), value

  // The value of a setting, or the fallback.
  UString Get(UStringView name, UStringView fallback = {}) const;
};

// Returns the stored form of the image set; its errors are reported with the block's line.
using TDRXSkinImageBuilder = std::function<std::string(const TDRXSkinTextImage& image)>;

// The whole text as the root collection's component. Without a builder, "Image" lines are errors.
TDRXStreamComponent ReadSkinText(UStringView text, const TDRXSkinImageBuilder& imageBuilder = {});
