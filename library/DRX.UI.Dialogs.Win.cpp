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
  HWND window = owner ? static_cast<HWND>(owner) : GetActiveWindow();
  // Without an owner the box must still be modal: every window of the thread
  // is disabled while it shows, so nothing else can be clicked behind it.
  if (!window) flags |= MB_TASKMODAL;
  return MessageBoxW(window, W(text), W(title), flags);
}
