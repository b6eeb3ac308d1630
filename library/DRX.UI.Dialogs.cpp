#include "DRX.UI.Dialogs.h"

#include "DRX.FileFormats.INI.h"
#include "DRX.MUI.h"
#include "DRX.UI.Application.h"
#include "DRX.UI.Controls.ImageList.h"

using namespace DRXMessageBox;

TDRXDialogsStrs& DialogsStrs() {
  static TDRXDialogsStrs strings;
  return strings;
}

namespace {

bool HasAll(uint32_t flags, uint32_t bits) { return (flags & bits) == bits; }

std::vector<TDRXMessageButton> ButtonSet(uint32_t flags) {
  // The order of the tests matters for values outside the six sets: 6 and 7
  // are not supported by the system's own boxes either, and get a set here.
  if (HasAll(flags & 0x7, kRetryCancel)) return {{mbRetry, kIdRetry}, {mbCancel, kIdCancel}};
  if (flags & kYesNo) return {{mbYes, kIdYes}, {mbNo, kIdNo}};
  if (HasAll(flags & 0x7, kYesNoCancel)) return {{mbYes, kIdYes}, {mbNo, kIdNo}, {mbCancel, kIdCancel}};
  if (flags & kAbortRetryIgnore) return {{mbAbort, kIdAbort}, {mbRetry, kIdRetry}, {mbIgnore, kIdIgnore}};
  if (flags & kOKCancel) return {{mbOK, kIdOK}, {mbCancel, kIdCancel}};
  return {{mbOK, kIdOK}};
}

void SetKind(uint32_t flags, TDRXMessageBoxLayout& layout) {
  if (HasAll(flags, kIconWarning)) {
    layout.Kind = mtWarning, layout.Icon = miWarning;
  } else if (HasAll(flags, kIconError)) {
    layout.Kind = mtError, layout.Icon = miError;
  } else if (HasAll(flags, kIconInformation)) {
    layout.Kind = mtInformation, layout.Icon = miInformation;
  } else if (HasAll(flags, kIconQuestion)) {
    layout.Kind = mtConfirmation, layout.Icon = miInformation;
  }
}

// A default button beyond the set falls back to the first, as the system's box does.
size_t DefaultButtonIndex(uint32_t flags, size_t buttonCount) {
  size_t index = 0;
  if (flags & kDefButton2) {
    index = 1;
  } else if (flags & kDefButton3) {
    index = 2;
  }
  return index < buttonCount ? index : 0;
}

}  // namespace

TDRXMessageBoxLayout MessageBoxLayout(uint32_t flags) {
  TDRXMessageBoxLayout layout;
  layout.Buttons = ButtonSet(flags);
  layout.DefaultResult = layout.Buttons[DefaultButtonIndex(flags, layout.Buttons.size())].Result;
  SetKind(flags, layout);
  return layout;
}

UString MessageBoxCaption(const UString& caption, TDRXMsgDlgType kind) {
  return caption.empty() ? DialogsStrs().Captions[kind] : caption;
}

UString DefaultMessageBoxCaption(uint32_t flags) { return MessageBoxCaption(u"", MessageBoxLayout(flags).Kind); }

int CancelledMessageBoxResult(const TDRXMessageBoxLayout& layout) {
  for (const TDRXMessageButton& button : layout.Buttons) {
    if (button.Result == kIdCancel) return kIdCancel;
  }
  return layout.Buttons.size() == 1 ? layout.Buttons.front().Result : 0;
}

int MessageBoxAnswer(const TDRXMessageBoxLayout& layout, int pressed) {
  if (pressed == kIdCancel) return CancelledMessageBoxResult(layout);
  for (const TDRXMessageButton& button : layout.Buttons) {
    if (button.Result == pressed) return pressed;
  }
  return 0;
}

namespace {

// The exception nested in `error`, or null.
std::exception_ptr NestedIn(const std::exception_ptr& error) {
  try {
    std::rethrow_exception(error);
  } catch (const std::nested_exception& nested) {
    return nested.nested_ptr();
  } catch (...) {
  }
  return nullptr;
}

}  // namespace

UString ExceptionMessageText(const std::exception_ptr& error) {
  if (!error) return {};
  UString text = ExceptionMessage(error);
  // A chain that nests an exception in itself must still end.
  int depth = 0;
  for (std::exception_ptr inner = NestedIn(error); inner && depth < 64; inner = NestedIn(inner), ++depth) {
    const UString message = ExceptionMessage(inner);
    if (message.empty()) continue;
    if (!text.empty()) text += u"\r\n";
    text += message;
  }
  return text;
}

int AddLanguageItem(TDRXImageComboBoxItems& items, TDRXImageList& images, const TDRXIniFile& lang, intptr_t data) {
  TDRXLocalizationInfo info;
  TDRXImage icon;
  LangGetInfo(lang, info, &icon);
  // An empty picture is not added: the item then has no image.
  const int image = images.Add(icon);
  return items.AddSorted({info.Name, image, info.LangId, data});
}

int DefaultLanguageItem(const TDRXImageComboBoxItems& items, int32_t userLangId) {
  for (const int32_t langId : {userLangId, int32_t{1033}}) {
    const int index = items.IndexOfTag(langId);
    if (index >= 0) return index;
  }
  return items.Count() > 0 ? 0 : -1;
}

intptr_t LanguageItemData(const TDRXImageComboBoxItems& items, int index) {
  return index >= 0 && index < items.Count() ? items[index].Data : -1;
}
