#include "DRX.UI.Controls.ImageList.h"

#include <algorithm>

TDRXImageList::TDRXImageList(int32_t width, int32_t height) : width_(std::max(width, 1)), height_(std::max(height, 1)) {}

int TDRXImageList::Add(const TDRXImage& image) {
  if (image.Empty()) return -1;
  auto copy = std::make_unique<TDRXImage>();
  copy->Assign(image);
  images_.push_back(std::move(copy));
  return Count() - 1;
}

const TDRXImage* TDRXImageList::Image(int index) const {
  return index >= 0 && index < Count() ? images_[static_cast<size_t>(index)].get() : nullptr;
}

void TDRXImageList::Delete(int index) {
  if (index >= 0 && index < Count()) images_.erase(images_.begin() + index);
}
