#include "DRX.UI.Resources.Values.h"

#include <algorithm>

namespace {

uint8_t ReadByteValue(const TDRXStreamValue& value) {
  const int32_t number = value.AsInteger();
  if (number < 0 || number > 255) RaiseInvalidPropertyValue();
  return static_cast<uint8_t>(number);
}

int32_t NotNegative(int32_t value) { return std::max(value, 0); }

}  // namespace

TDRXAlphaColor ReadAlphaColor(const TDRXStreamValue& value) {
  if (value.IsInteger()) return static_cast<TDRXAlphaColor>(value.Integer);
  TDRXAlphaColor color = claNull;
  if (!IdentToAlphaColor(value.AsIdent(), color)) RaiseInvalidPropertyValue();
  return color;
}

// --- TDRXResourceColor ---

const TDRXResourceClass TDRXResourceColor::ClassInfo = {u"TDRXResourceColor", &TDRXResource::ClassInfo,
                                                        &CreateResourceOf<TDRXResourceColor>};

TDRXAlphaColor TDRXResourceColor::Value() const {
  const TDRXResourceColor* master = MasterAs<TDRXResourceColor>();
  return ApplyOpacity(master ? master->Value() : value_, opacity_);
}

void TDRXResourceColor::SetValue(TDRXAlphaColor value) { Update(value_, value); }

void TDRXResourceColor::SetOpacity(uint8_t opacity) { Update(opacity_, opacity); }

void TDRXResourceColor::SetAllowColoration(TDRXBoolean value) { Update(allowColoration_, value); }

bool TDRXResourceColor::IsColorationAllowed() const {
  if (allowColoration_ != TDRXBoolean::Default) return allowColoration_ == TDRXBoolean::True;
  const TDRXResourceColor* master = MasterAs<TDRXResourceColor>();
  return master ? master->IsColorationAllowed() : true;
}

bool TDRXResourceColor::ReadValue(UStringView name, const TDRXStreamValue& value) {
  if (name == u"AllowColoration")
    SetAllowColoration(ReadDRXBoolean(value));
  else if (name == u"Opacity")
    SetOpacity(ReadByteValue(value));
  else if (name == u"Value")
    SetValue(ReadAlphaColor(value));
  else
    return false;
  return true;
}

void TDRXResourceColor::WriteProperties(std::vector<TDRXStreamProperty>& properties) const {
  if (allowColoration_ != TDRXBoolean::Default)
    properties.push_back({u"AllowColoration", DRXBooleanValue(allowColoration_)});
  if (opacity_ != 255) properties.push_back({u"Opacity", TDRXStreamValue::FromInteger(opacity_)});
  if (IsValueStored() && value_ != claNull)
    properties.push_back({u"Value", TDRXStreamValue::FromIdent(AlphaColorToIdent(value_))});
  WriteID(properties);
}

// --- TDRXResourceMargins ---

const TDRXResourceClass TDRXResourceMargins::ClassInfo = {u"TDRXResourceMargins", &TDRXResource::ClassInfo,
                                                          &CreateResourceOf<TDRXResourceMargins>};

TDRXMargins TDRXResourceMargins::Value() const {
  const TDRXResourceMargins* master = MasterAs<TDRXResourceMargins>();
  return master ? master->Value() : own_;
}

int32_t TDRXResourceMargins::All() const {
  const TDRXMargins m = Value();
  return m.Left == m.Top && m.Left == m.Right && m.Left == m.Bottom ? m.Left : 0;
}

void TDRXResourceMargins::SetValue(const TDRXMargins& margins) {
  const TDRXMargins clamped{NotNegative(margins.Left), NotNegative(margins.Top), NotNegative(margins.Right),
                            NotNegative(margins.Bottom)};
  if (own_ == clamped) return;
  own_ = clamped;
  Changed();
}

void TDRXResourceMargins::SetAll(int32_t value) { SetValue({value, value, value, value}); }

bool TDRXResourceMargins::ReadValue(UStringView name, const TDRXStreamValue& value) {
  TDRXMargins m = own_;
  if (name == u"All") {
    SetAll(value.AsInteger());
    return true;
  }
  if (name == u"Left")
    m.Left = value.AsInteger();
  else if (name == u"Top")
    m.Top = value.AsInteger();
  else if (name == u"Right")
    m.Right = value.AsInteger();
  else if (name == u"Bottom")
    m.Bottom = value.AsInteger();
  else
    return false;
  SetValue(m);
  return true;
}

void TDRXResourceMargins::WriteProperties(std::vector<TDRXStreamProperty>& properties) const {
  if (IsValueStored()) {
    const bool same = own_.Left == own_.Top && own_.Left == own_.Right && own_.Left == own_.Bottom;
    if (same && own_.Left != 0) properties.push_back({u"All", TDRXStreamValue::FromInteger(own_.Left)});
    const std::pair<const char16_t*, int32_t> sides[] = {
        {u"Bottom", own_.Bottom}, {u"Left", own_.Left}, {u"Right", own_.Right}, {u"Top", own_.Top}};
    for (const auto& [name, value] : sides)
      if (!same && value != 0) properties.push_back({name, TDRXStreamValue::FromInteger(value)});
  }
  WriteID(properties);
}

// --- TDRXResourceInteger ---

const TDRXResourceClass TDRXResourceInteger::ClassInfo = {u"TDRXResourceInteger", &TDRXResource::ClassInfo,
                                                          &CreateResourceOf<TDRXResourceInteger>};

int32_t TDRXResourceInteger::Value() const {
  const TDRXResourceInteger* master = MasterAs<TDRXResourceInteger>();
  return master ? master->Value() : value_;
}

void TDRXResourceInteger::SetValue(int32_t value) { Update(value_, value); }

bool TDRXResourceInteger::ReadValue(UStringView name, const TDRXStreamValue& value) {
  if (name != u"Value") return false;
  SetValue(value.AsInteger());
  return true;
}

void TDRXResourceInteger::WriteProperties(std::vector<TDRXStreamProperty>& properties) const {
  WriteID(properties);
  if (IsValueStored() && value_ != 0) properties.push_back({u"Value", TDRXStreamValue::FromInteger(value_)});
}
