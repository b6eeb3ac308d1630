#include "DRX.UI.Resources.Texture.h"

#include "DRX.Format.h"
#include "DRX.Graphics.Types.h"

const TDRXResourceClass TDRXResourceTexture::ClassInfo = {u"TDRXResourceTexture", &TDRXResource::ClassInfo,
                                                          &CreateResourceOf<TDRXResourceTexture>};

TDRXResourceTexture::TDRXResourceTexture(IDRXResourceOwner* owner, UStringView defaultID)
    : TDRXResource(owner, defaultID) {
  set_.OnChange = [this] { Changed(); };
}

TDRXResourceTexture::~TDRXResourceTexture() {
  set_.OnChange = nullptr;
  image_ = TDRXSkinImageSetItemRef();
}

const TDRXSkinImageSet& TDRXResourceTexture::ActiveSet() const {
  const TDRXResourceTexture* master = MasterAs<TDRXResourceTexture>();
  return master ? master->ActiveSet() : set_;  // a master may take its images from its own master
}

void TDRXResourceTexture::SetOverriden(bool value) { SetID(value ? UStringView() : UStringView(DefaultID())); }

void TDRXResourceTexture::SetAllowColoration(TDRXBoolean value) { Update(allowColoration_, value); }

void TDRXResourceTexture::SetScalable(TDRXBoolean value) { Update(scalable_, value); }

void TDRXResourceTexture::LoadData(TStream& stream) {
  SetOverriden(true);
  set_.LoadFromStream(stream);
}

void TDRXResourceTexture::SaveData(TStream& stream) const { set_.SaveToStream(stream); }

// Default follows the allow-coloration flag of the active set's 96-DPI image.
bool TDRXResourceTexture::ColorationAllowed() const {
  if (allowColoration_ != TDRXBoolean::Default) return allowColoration_ == TDRXBoolean::True;
  const TDRXSkinImageSet& set = ActiveSet();
  for (int i = 0; i < set.Count(); ++i)
    if (set.Items(i).DPI() == kMinSkinImageDPI) return set.Items(i).AllowColoration();
  return true;
}

TDRXSkinImageSetItem& TDRXResourceTexture::Image() const {
  const TDRXSkinImageSet& set = ActiveSet();
  TDRXSkinImageSetItem& item =
      ColorationAllowed() ? set.ItemFor(TargetDPI(), TDRXColorSchema{}) : set.BestItem(TargetDPI());
  if (image_.Get() != &item) image_ = TDRXSkinImageSetItemRef(&item);
  return item;
}

bool TDRXResourceTexture::IsScaled() const {
  if (scalable_ != TDRXBoolean::Default) return scalable_ == TDRXBoolean::True;
  const TDRXResourceTexture* master = MasterAs<TDRXResourceTexture>();
  return master ? master->IsScaled() : true;
}

int32_t TDRXResourceTexture::Scale(int32_t value) const {
  return IsScaled() ? MulDivRounded(value, TargetDPI(), Image().DPI()) : value;
}

TDRXMargins TDRXResourceTexture::ScaleMargins(const TDRXMargins& m) const {
  return {Scale(m.Left), Scale(m.Top), Scale(m.Right), Scale(m.Bottom)};
}

int32_t TDRXResourceTexture::FrameWidth() const { return Scale(Image().FrameWidth()); }
int32_t TDRXResourceTexture::FrameHeight() const { return Scale(Image().FrameHeight()); }
TDRXMargins TDRXResourceTexture::Margins() const { return ScaleMargins(Image().Margins()); }
TDRXMargins TDRXResourceTexture::ContentOffsets() const { return ScaleMargins(Image().ContentOffsets()); }

UString TDRXResourceTexture::ToString() const {
  if (Image().Empty()) return u"No Image";
  return Format(u"%dx%d", {FrameWidth(), FrameHeight()});
}

bool TDRXResourceTexture::ReadValue(UStringView name, const TDRXStreamValue& value) {
  if (name == u"Overriden") {
    SetOverriden(value.AsBoolean());
  } else if (name == u"AllowColoration") {
    SetAllowColoration(ReadDRXBoolean(value));
  } else if (name == u"Scalable") {
    SetScalable(ReadDRXBoolean(value));
  } else if (name == u"Data") {
    TMemoryStream data(value.AsBinary());
    LoadData(data);
  } else {
    return false;
  }
  return true;
}

void TDRXResourceTexture::WriteProperties(std::vector<TDRXStreamProperty>& properties) const {
  WriteID(properties);
  if (allowColoration_ != TDRXBoolean::Default)
    properties.push_back({u"AllowColoration", DRXBooleanValue(allowColoration_)});
  if (scalable_ != TDRXBoolean::Default) properties.push_back({u"Scalable", DRXBooleanValue(scalable_)});
  if (!IsValueStored()) return;
  bool hasPixels = false;
  for (int i = 0; i < set_.Count(); ++i) hasPixels = hasPixels || !set_.Items(i).Empty();
  if (!hasPixels) return;
  TMemoryStream data;
  SaveData(data);
  properties.push_back({u"Data", TDRXStreamValue::FromBinary(std::string(data.Bytes()))});
}
