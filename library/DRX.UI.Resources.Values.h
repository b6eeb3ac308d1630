#pragma once
// The value kinds of the skin resources: colours, margins and integers.

#include "DRX.Graphics.Colors.h"
#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.h"

// A colour: the master's value when there is a master, else its own; then the
// alpha channel times Opacity / 255. (No colour schema is ever set for the
// skins, so colours are used as the skin stores them.)
class TDRXResourceColor : public TDRXResource {
 public:
  static const TDRXResourceClass ClassInfo;
  using TDRXResource::TDRXResource;
  const TDRXResourceClass& ClassType() const override { return ClassInfo; }

  TDRXAlphaColor Value() const;
  TDRXAlphaColor OwnValue() const { return value_; }
  void SetValue(TDRXAlphaColor value);
  uint8_t Opacity() const { return opacity_; }
  void SetOpacity(uint8_t opacity);
  TDRXBoolean AllowColoration() const { return allowColoration_; }
  void SetAllowColoration(TDRXBoolean value);
  // True allows, False forbids, Default follows the master (allowed without one).
  bool IsColorationAllowed() const;

  void WriteProperties(std::vector<TDRXStreamProperty>& properties) const override;

 protected:
  bool ReadValue(UStringView name, const TDRXStreamValue& value) override;

 private:
  TDRXBoolean allowColoration_ = TDRXBoolean::Default;
  uint8_t opacity_ = 255;
  TDRXAlphaColor value_ = claNull;
};

// Colours in the stream form: a colour identifier, or an integer holding the
// ARGB value; anything else is an invalid property value.
TDRXAlphaColor ReadAlphaColor(const TDRXStreamValue& value);

// Four margins, none below 0. All sets all four; read back it is their common
// value, or 0 when they differ.
class TDRXResourceMargins : public TDRXResource {
 public:
  static const TDRXResourceClass ClassInfo;
  using TDRXResource::TDRXResource;
  const TDRXResourceClass& ClassType() const override { return ClassInfo; }

  TDRXMargins Value() const;
  int32_t Left() const { return Value().Left; }
  int32_t Top() const { return Value().Top; }
  int32_t Right() const { return Value().Right; }
  int32_t Bottom() const { return Value().Bottom; }
  int32_t All() const;
  void SetValue(const TDRXMargins& margins);
  void SetAll(int32_t value);

  void WriteProperties(std::vector<TDRXStreamProperty>& properties) const override;

 protected:
  bool ReadValue(UStringView name, const TDRXStreamValue& value) override;

 private:
  TDRXMargins own_;
};

class TDRXResourceInteger : public TDRXResource {
 public:
  static const TDRXResourceClass ClassInfo;
  using TDRXResource::TDRXResource;
  const TDRXResourceClass& ClassType() const override { return ClassInfo; }

  int32_t Value() const;
  void SetValue(int32_t value);

  void WriteProperties(std::vector<TDRXStreamProperty>& properties) const override;

 protected:
  bool ReadValue(UStringView name, const TDRXStreamValue& value) override;

 private:
  int32_t value_ = 0;
};
