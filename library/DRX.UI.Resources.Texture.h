#pragma once
// Texture resources: a skin image set (one image per DPI) and the image of it
// that is drawn at the texture's target DPI. A texture without a master uses
// its own set (it is "overriden"); one with a master draws from the master's.

#include "DRX.Graphics.SkinImage.Set.h"
#include "DRX.Graphics.SkinImage.Texture.h"
#include "DRX.UI.Resources.h"

class TDRXResourceTexture : public TDRXResource {
 public:
  static const TDRXResourceClass ClassInfo;
  TDRXResourceTexture(IDRXResourceOwner* owner, UStringView defaultID);
  ~TDRXResourceTexture() override;
  const TDRXResourceClass& ClassType() const override { return ClassInfo; }

  TDRXSkinImageSet& ImageSet() { return set_; }
  const TDRXSkinImageSet& ImageSet() const { return set_; }
  // The set that is drawn: the master's (the one it draws), or the own one.
  const TDRXSkinImageSet& ActiveSet() const;

  // True without a master. Setting it true clears ID; false gives ID back its default.
  bool Overriden() const { return Master() == nullptr; }
  void SetOverriden(bool value);
  TDRXBoolean AllowColoration() const { return allowColoration_; }
  void SetAllowColoration(TDRXBoolean value);
  TDRXBoolean Scalable() const { return scalable_; }
  void SetScalable(TDRXBoolean value);

  // The binary property Data: loading makes the texture overriden and reads the set.
  void LoadData(TStream& stream);
  void SaveData(TStream& stream) const;

  // The image drawn at the target DPI: the active set's item for the target DPI;
  // the texture holds a reference on it.
  TDRXSkinImageSetItem& Image() const;
  // True scales, False does not, Default scales when overriden and otherwise as the master does.
  bool IsScaled() const;
  int32_t FrameCount() const { return Image().FrameCount(); }
  // The image's sizes at the target DPI (times target DPI ÷ the image's DPI when scaled).
  int32_t FrameWidth() const;
  int32_t FrameHeight() const;
  TDRXMargins Margins() const;
  TDRXMargins ContentOffsets() const;
  // "%dx%d" with the scaled frame size, or "No Image".
  UString ToString() const;

  bool HitTest(const TRect& rect, int32_t x, int32_t y) const { return Image().HitTest(rect, x, y); }
#ifdef _WIN32
  // The drawing operations on the image drawn at the target DPI.
  void Draw(HDC__* dc, const TRect& rect, int32_t frameIndex, bool enabled = true, uint8_t alpha = 255) const;
  // Only the borders asked for (sbLeft, sbTop, sbRight, sbBottom) show; the
  // others fall outside the rectangle.
  void DrawWithBorders(HDC__* dc, const TRect& rect, int32_t frameIndex, TDRXSkinBorders borders) const;
#endif

  void WriteProperties(std::vector<TDRXStreamProperty>& properties) const override;

 protected:
  bool ReadValue(UStringView name, const TDRXStreamValue& value) override;

 private:
  bool ColorationAllowed() const;
  int32_t Scale(int32_t value) const;
  TDRXMargins ScaleMargins(const TDRXMargins& margins) const;

  TDRXSkinImageSet set_;
  TDRXBoolean allowColoration_ = TDRXBoolean::Default;
  TDRXBoolean scalable_ = TDRXBoolean::Default;
  mutable TDRXSkinImageSetItemRef image_;  // the item last picked
};
