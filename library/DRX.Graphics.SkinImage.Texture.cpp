#include "DRX.Graphics.SkinImage.Texture.h"

#include "DRX.Format.h"

TRect WidenForBorders(const TRect& rect, TDRXSkinBorders borders, const TDRXMargins& margins) {
  return {rect.Left - ((borders & sbLeft) ? 0 : margins.Left), rect.Top - ((borders & sbTop) ? 0 : margins.Top),
          rect.Right + ((borders & sbRight) ? 0 : margins.Right),
          rect.Bottom + ((borders & sbBottom) ? 0 : margins.Bottom)};
}

TDRXSkinTexture::TDRXSkinTexture() {
  set_.OnChange = [this] { PickCurrentImage(); };
  PickCurrentImage();
}

TDRXSkinTexture::~TDRXSkinTexture() { set_.OnChange = nullptr; }

void TDRXSkinTexture::SetTargetDPI(int dpi) {
  if (dpi == targetDPI_) return;
  targetDPI_ = dpi;
  PickCurrentImage();
}

void TDRXSkinTexture::PickCurrentImage() {
  // The colour schema is always neutral here, so colouring changes nothing.
  TDRXSkinImageSetItem& item = set_.ItemFor(targetDPI_, TDRXColorSchema{});
  if (current_.Get() != &item) current_ = TDRXSkinImageSetItemRef(&item);
}

int32_t TDRXSkinTexture::Scale(int32_t value) const {
  return scalable_ ? MulDivRounded(value, targetDPI_, current_->DPI()) : value;
}

TDRXMargins TDRXSkinTexture::ScaleMargins(const TDRXMargins& m) const {
  return {Scale(m.Left), Scale(m.Top), Scale(m.Right), Scale(m.Bottom)};
}

TDRXMargins TDRXSkinTexture::Margins() const { return ScaleMargins(current_->Margins()); }
TDRXMargins TDRXSkinTexture::ContentOffsets() const { return ScaleMargins(current_->ContentOffsets()); }

UString TDRXSkinTexture::ToString() const {
  if (current_->Empty()) return u"No Image";
  return Format(u"%dx%d", {FrameWidth(), FrameHeight()});
}
