#include <windows.h>

#include "DRX.Graphics.SkinImage.Set.h"

namespace {

TDRXSkinImageSetItemRef ItemOf(HBITMAP bitmap, int dpi) {
  CheckSkinImageDPI(dpi);
  TDRXSkinImageSetItemRef item = TDRXSkinImageSetItemRef::Create(dpi);
  item->AssignBitmap(bitmap);
  return item;
}

}  // namespace

void TDRXSkinImageSet::Add(HBITMAP bitmap, int dpi) { Add(ItemOf(bitmap, dpi)); }

void TDRXSkinImageSet::Replace(HBITMAP bitmap, int dpi) {
  TDRXSkinImageSetItemRef item = ItemOf(bitmap, dpi);
  ++updateCount_;
  RemoveAll();
  Append(std::move(item));
  --updateCount_;
  Changed();
}
