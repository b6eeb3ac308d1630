#pragma once
// A list of small pictures of one nominal size (16 × 16 by default, at 96 DPI),
// addressed by index: the icons beside the items of an image combo box. Each
// picture is kept as it was added and fitted into the cell when drawn, so a
// flag of 16 × 11 keeps its proportions and every picture scales with the DPI.

#include <cstdint>
#include <memory>
#include <vector>

#include "DRX.UI.Controls.Image.h"

class TDRXImageList {
 public:
  explicit TDRXImageList(int32_t width = 16, int32_t height = 16);

  // The nominal cell size at 96 DPI (at least 1 × 1).
  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // A copy of the picture at the end of the list and its index; an empty
  // picture is not added (-1).
  int Add(const TDRXImage& image);
  int Count() const { return static_cast<int>(images_.size()); }
  // Null for an index outside the list.
  const TDRXImage* Image(int index) const;
  void Delete(int index);  // an index outside the list does nothing
  void Clear() { images_.clear(); }

#ifdef _WIN32
  // Draws the picture fitted and centred into the cell; nothing for an index
  // outside the list. A disabled picture is drawn at half its alpha.
  void Draw(HDC__* dc, int index, const TRect& cell, bool enabled = true) const;
#endif

 private:
  int32_t width_;
  int32_t height_;
  std::vector<std::unique_ptr<TDRXImage>> images_;
};
