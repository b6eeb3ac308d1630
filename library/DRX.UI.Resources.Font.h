#pragma once
// Font resources. Each of name, colour, height, quality and style is the
// font's own when its flag is in AssignedValues (setting a value assigns it),
// else the master's, else the default GUI font's. The colour lives in an inner
// colour resource whose identifier is ColorID, so a font can take its colour
// from a colour resource ("Common.Colors.Text").

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.Values.h"

enum TDRXFontQuality : uint8_t {
  fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};

// The style bits fsBold, fsItalic, fsUnderline and fsStrikeOut of the drawing code.
using TDRXFontStyles = TFontStyles;

using TDRXResourceFontAssignedValues = uint8_t;
enum : TDRXResourceFontAssignedValues { rfavName = 1, rfavColor = 2, rfavHeight = 4, rfavQuality = 8, rfavStyle = 16 };

struct TDRXFontInfo {
  UString Name;
  int32_t Height = 0;  // character height in pixels at 96 DPI, negative
  TDRXAlphaColor Color = claBlack;
  TDRXFontQuality Quality = fqDefault;
  TDRXFontStyles Style = 0;
};

// The system's default GUI font (Windows: the stock DEFAULT_GUI_FONT at 96 DPI
// in the window-text colour).
const TDRXFontInfo& DefaultGUIFont();

// Points from a character height at 96 DPI and back, rounded.
int32_t FontHeightToSize(int32_t height);
int32_t FontSizeToHeight(int32_t size);

class TDRXResourceFont : public TDRXResource {
 public:
  static const TDRXResourceClass ClassInfo;
  TDRXResourceFont(IDRXResourceOwner* owner, UStringView defaultID);
  ~TDRXResourceFont() override { color_.RemoveListener(this); }
  const TDRXResourceClass& ClassType() const override { return ClassInfo; }

  UString Name() const;
  int32_t Height() const;
  int32_t Size() const { return FontHeightToSize(Height()); }
  TDRXAlphaColor Color() const;
  TDRXFontQuality Quality() const;
  TDRXFontStyles Style() const;

  void SetName(UStringView name);
  void SetHeight(int32_t height);
  void SetSize(int32_t size) { SetHeight(FontSizeToHeight(size)); }
  void SetColor(TDRXAlphaColor color);
  void SetColorID(UStringView id);
  const UString& ColorID() const { return color_.ID(); }
  void SetQuality(TDRXFontQuality quality);
  void SetStyle(TDRXFontStyles style);
  TDRXResourceFontAssignedValues AssignedValues() const { return assigned_; }
  void SetAssignedValues(TDRXResourceFontAssignedValues values);
  bool AllowColoration() const { return allowColoration_; }
  void SetAllowColoration(bool value);

  void ResolveMaster() override;
  void WriteProperties(std::vector<TDRXStreamProperty>& properties) const override;

 protected:
  bool ReadValue(UStringView name, const TDRXStreamValue& value) override;
  void ResourceNotify(TDRXResourceNotifier& sender, TDRXResourceNotification notification) override;

 private:
  bool Has(TDRXResourceFontAssignedValues flag) const { return (assigned_ & flag) != 0; }
  // The own value when the flag is assigned, else the master's, else the fallback.
  template <typename T>
  T Resolve(TDRXResourceFontAssignedValues flag, const T& own, T (TDRXResourceFont::*fromMaster)() const,
            const T& fallback) const;
  void Assign(TDRXResourceFontAssignedValues flag);

  bool allowColoration_ = true;
  TDRXResourceFontAssignedValues assigned_ = 0;
  UString name_;
  int32_t height_ = 0;
  TDRXFontQuality quality_ = fqDefault;
  TDRXFontStyles style_ = 0;
  TDRXResourceColor color_;
};
