#pragma once
// What edits, memos and combo boxes share: the "EditBox" colours, a border
// texture, and on Windows TDRXCustomEditBox, the skinned control that draws
// the border and hosts a system window for the editing (its colours, font,
// focus and the keys it hands to the form).

#include <cstdint>
#include <memory>

#include "DRX.Graphics.Types.h"
#include "DRX.UI.Resources.Styles.h"

// The colour slots that edits, memos and combo boxes share ("EditBox.Colors.*").
enum TDRXEditBoxColorSlot : uint8_t { ecsContent, ecsContentDisabled, ecsText, ecsTextDisabled };
// Texture slot 0 is the border (frames normal, hover, focused, disabled).
enum TDRXEditBoxTextureSlot : uint8_t { etsBorder, etsButton, etsArrow };
enum TDRXEditBorderFrame : uint8_t { ebfNormal, ebfHover, ebfFocused, ebfDisabled };

// The frame of the border: disabled wins, then focused, then hover.
TDRXEditBorderFrame EditBorderFrame(bool enabled, bool focused, bool hover);

// The look of the edit-like controls: the shared colours and a border texture
// of the kind's own identifier.
class TDRXStyleEditBox : public TDRXStyle {
 public:
  TDRXStyleEditBox(IDRXStyleOwner* owner, UStringView borderTextureID);
  TDRXResourceTexture& Border() const { return Textures(etsBorder); }
};

#ifdef _WIN32
#include "DRX.Graphics.GDI.h"
#include "DRX.UI.Controls.SystemWindow.h"
#include "DRX.UI.Controls.h"

class TDRXCustomEditBox : public TDRXWinControl, public IDRXInnerWindowHost, protected IDRXStyleOwner {
 public:
  // The kind makes its style (owned by the control) through makeStyle.
  using TStyleMaker = std::unique_ptr<TDRXStyleEditBox> (*)(IDRXStyleOwner* owner);
  TDRXCustomEditBox(TDRXComponent* owner, TStyleMaker makeStyle);
  ~TDRXCustomEditBox() override;

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value);
  TDRXStyleEditBox& Style() { return *style_; }
  // The skin's content and text colours for the enabled state.
  TColor ContentColor();
  TColor TextColor();
  // Inside the border (client coordinates).
  TRect ContentRect();
  // The height of a line of the control's font.
  int32_t FontLineHeight() const;
  // What readers call the control, which has no caption of its own: the
  // label that says what it holds.
  const UString& AccessibleName() const { return accessibleName_; }
  void SetAccessibleName(UStringView name) { accessibleName_ = UString(name); }
  // A pane holding the inner window, named AccessibleName.
  bool AccessibleItem(TDRXAccessibleItem& item) const override;

  intptr_t WndProc(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

 protected:
  // The system window doing the editing, once it exists.
  virtual TDRXSystemWindow* Inner() const = 0;
  void Paint(HDC__* dc) override;
  void FocusEntered() override;
  void FontChanged() override;
  void EnabledChanged() override;
  void MouseEnter() override { Invalidate(); }
  void MouseLeave() override { Invalidate(); }
  // Sends the control's font to the inner window.
  void ApplyFont();
  // The style at the control's DPI (call before reading sizes or drawing).
  void PrepareStyle();

  bool InnerDialogKey(uint16_t key) override;
  bool InnerDialogChar(char16_t character) override;
  void InnerFocusChanged(bool focused) override;
  void InnerHoverChanged(bool hover) override;
  // The mouse is over the control or its inner window.
  bool Hovered() const { return MouseInControl() || innerHover_; }
  void StyleChanged(TDRXStyle& style) override;

 private:
  HBRUSH ContentBrush();

  std::unique_ptr<TDRXStyleEditBox> style_;
  UString accessibleName_;
  bool readOnly_ = false;
  bool innerHover_ = false;
  TDRXGdiObject<HBRUSH> brush_;
  TColor brushColor_ = 0;
};
#endif
