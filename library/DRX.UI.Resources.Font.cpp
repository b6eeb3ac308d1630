#include "DRX.UI.Resources.Font.h"

#include <algorithm>
#include <iterator>

namespace {

struct TFlagName {
  uint8_t Flag;
  const char16_t* Name;
};

constexpr TFlagName kStyleNames[] = {{fsBold, u"fsBold"}, {fsItalic, u"fsItalic"}, {fsUnderline, u"fsUnderline"},
                                     {fsStrikeOut, u"fsStrikeOut"}};
constexpr TFlagName kAssignedNames[] = {{rfavName, u"rfavName"}, {rfavColor, u"rfavColor"}, {rfavHeight, u"rfavHeight"},
                                        {rfavQuality, u"rfavQuality"}, {rfavStyle, u"rfavStyle"}};
constexpr const char16_t* kQualityNames[] = {u"fqDefault",        u"fqDraft",       u"fqProof",
                                             u"fqNonAntialiased", u"fqAntialiased", u"fqClearType",
                                             u"fqClearTypeNatural"};

template <size_t N>
uint8_t ReadFlags(const TDRXStreamValue& value, const TFlagName (&names)[N]) {
  uint8_t flags = 0;
  for (const UString& element : value.AsSet()) {
    const auto* found = std::find_if(std::begin(names), std::end(names), [&](const TFlagName& n) { return element == n.Name; });
    if (found == std::end(names)) RaiseInvalidPropertyValue();
    flags |= found->Flag;
  }
  return flags;
}

template <size_t N>
TDRXStreamValue FlagsValue(uint8_t flags, const TFlagName (&names)[N]) {
  std::vector<UString> elements;
  for (const TFlagName& n : names)
    if (flags & n.Flag) elements.emplace_back(n.Name);
  return TDRXStreamValue::FromSet(std::move(elements));
}

TDRXFontQuality ReadQuality(const TDRXStreamValue& value) {
  const UString ident = value.AsIdent();
  for (size_t i = 0; i < std::size(kQualityNames); ++i)
    if (ident == kQualityNames[i]) return static_cast<TDRXFontQuality>(i);
  RaiseInvalidPropertyValue();
}

}  // namespace

int32_t FontHeightToSize(int32_t height) { return MulDivRounded(-height, 72, 96); }
int32_t FontSizeToHeight(int32_t size) { return -MulDivRounded(size, 96, 72); }

const TDRXResourceClass TDRXResourceFont::ClassInfo = {u"TDRXResourceFont", &TDRXResource::ClassInfo,
                                                       &CreateResourceOf<TDRXResourceFont>};

TDRXResourceFont::TDRXResourceFont(IDRXResourceOwner* owner, UStringView defaultID)
    : TDRXResource(owner, defaultID), color_(owner, u"") {
  color_.AddListener(this);
}

template <typename T>
T TDRXResourceFont::Resolve(TDRXResourceFontAssignedValues flag, const T& own, T (TDRXResourceFont::*fromMaster)() const,
                            const T& fallback) const {
  if (Has(flag)) return own;
  const TDRXResourceFont* master = MasterAs<TDRXResourceFont>();
  return master ? (master->*fromMaster)() : fallback;
}

UString TDRXResourceFont::Name() const { return Resolve(rfavName, name_, &TDRXResourceFont::Name, DefaultGUIFont().Name); }

int32_t TDRXResourceFont::Height() const {
  return Resolve(rfavHeight, height_, &TDRXResourceFont::Height, DefaultGUIFont().Height);
}

TDRXAlphaColor TDRXResourceFont::Color() const {
  return Resolve(rfavColor, color_.Value(), &TDRXResourceFont::Color, DefaultGUIFont().Color);
}

TDRXFontQuality TDRXResourceFont::Quality() const {
  return Resolve(rfavQuality, quality_, &TDRXResourceFont::Quality, DefaultGUIFont().Quality);
}

TDRXFontStyles TDRXResourceFont::Style() const {
  return Resolve(rfavStyle, style_, &TDRXResourceFont::Style, DefaultGUIFont().Style);
}

void TDRXResourceFont::Assign(TDRXResourceFontAssignedValues flag) {
  assigned_ |= flag;
  Changed();
}

void TDRXResourceFont::SetName(UStringView name) {
  name_ = UString(name);
  Assign(rfavName);
}

void TDRXResourceFont::SetHeight(int32_t height) {
  height_ = height;
  Assign(rfavHeight);
}

void TDRXResourceFont::SetColor(TDRXAlphaColor color) {
  BeginUpdate();
  color_.SetValue(color);
  Assign(rfavColor);
  EndUpdate();
}

void TDRXResourceFont::SetColorID(UStringView id) {
  BeginUpdate();
  color_.SetID(id);
  Assign(rfavColor);
  EndUpdate();
}

void TDRXResourceFont::SetQuality(TDRXFontQuality quality) {
  quality_ = quality;
  Assign(rfavQuality);
}

void TDRXResourceFont::SetStyle(TDRXFontStyles style) {
  style_ = style;
  Assign(rfavStyle);
}

void TDRXResourceFont::SetAssignedValues(TDRXResourceFontAssignedValues values) { Update(assigned_, values); }

void TDRXResourceFont::SetAllowColoration(bool value) { Update(allowColoration_, value); }

void TDRXResourceFont::ResolveMaster() {
  BeginUpdate();
  TDRXResource::ResolveMaster();
  color_.ResolveMaster();
  EndUpdate();
}

void TDRXResourceFont::ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) {
  if (&sender == &color_) {
    if (notification == rnChanged) Changed();
    return;
  }
  TDRXResource::ResourceNotify(sender, notification);
}

bool TDRXResourceFont::ReadValue(UStringView name, const TDRXStreamValue& value) {
  if (name == u"AllowColoration")
    SetAllowColoration(value.AsBoolean());
  else if (name == u"Color")
    SetColor(ReadAlphaColor(value));
  else if (name == u"ColorID")
    SetColorID(value.AsString());
  else if (name == u"Size")
    SetSize(value.AsInteger());
  else if (name == u"Height")
    SetHeight(value.AsInteger());
  else if (name == u"Name")
    SetName(value.AsString());
  else if (name == u"Quality")
    SetQuality(ReadQuality(value));
  else if (name == u"Style")
    SetStyle(ReadFlags(value, kStyleNames));
  else if (name == u"AssignedValues")
    SetAssignedValues(ReadFlags(value, kAssignedNames));
  else
    return false;
  return true;
}

void TDRXResourceFont::WriteProperties(std::vector<TDRXStreamProperty>& properties) const {
  WriteID(properties);
  if (!allowColoration_) properties.push_back({u"AllowColoration", TDRXStreamValue::FromBoolean(false)});
  if (Has(rfavColor) && color_.ID().empty())
    properties.push_back({u"Color", TDRXStreamValue::FromIdent(AlphaColorToIdent(color_.OwnValue()))});
  if (Has(rfavColor) && !color_.ID().empty()) properties.push_back({u"ColorID", TDRXStreamValue::FromString(color_.ID())});
  if (Has(rfavHeight)) properties.push_back({u"Height", TDRXStreamValue::FromInteger(height_)});
  if (Has(rfavName)) properties.push_back({u"Name", TDRXStreamValue::FromString(name_)});
  if (Has(rfavQuality)) properties.push_back({u"Quality", TDRXStreamValue::FromIdent(kQualityNames[quality_])});
  if (Has(rfavStyle)) properties.push_back({u"Style", FlagsValue(style_, kStyleNames)});
  if (assigned_ != 0) properties.push_back({u"AssignedValues", FlagsValue(assigned_, kAssignedNames)});
}
