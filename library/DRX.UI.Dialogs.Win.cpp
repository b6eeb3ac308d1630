#include <windows.h>

#include "DRX.UI.Dialogs.h"

UString DefaultMessageBoxCaption(uint32_t flags) {
  const auto has = [flags](uint32_t bits) { return (flags & bits) == bits; };
  if (has(MB_ICONWARNING)) return u"Warning";
  if (has(MB_ICONERROR)) return u"Error";
  if (has(MB_ICONINFORMATION)) return u"Information";
  if (has(MB_ICONQUESTION)) return u"Confirm";
  return {};
}

int ShowMessageBox(void* owner, const UString& text, const UString& caption, uint32_t flags) {
  const UString title = caption.empty() ? DefaultMessageBoxCaption(flags) : caption;
  return MessageBoxW(static_cast<HWND>(owner), W(text), W(title), flags);
}
