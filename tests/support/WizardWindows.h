#pragma once
// The setup's windows seen from another process, as a person sees them: the
// language dialog, the wizard and its controls, message boxes. The wizard's
// windowed controls carry their captions as window text; check boxes and
// radio boxes answer BM_GETCHECK and BM_CLICK like the system's. Used by the
// end-to-end runs and by the screenshot walker.

#ifdef _WIN32
#include <windows.h>

#include <functional>
#include <vector>

#include "DRX.Strings.h"

std::vector<HWND> VisibleTopLevelWindows();
// The first visible top-level window of any process that matches.
HWND FindVisibleTopLevel(bool (*matches)(HWND));
// Waits (pumping the caller's messages) for such a window; null after the time limit.
HWND WaitForVisibleTopLevel(bool (*matches)(HWND), DWORD timeoutMs = 20000);
// Delivers the caller's messages for that long.
void PumpAndWait(DWORD milliseconds);

bool IsLanguageDialog(HWND window);
bool IsWizardWindow(HWND window);
bool IsMessageBoxWindow(HWND window);
bool IsPlayerWindow(HWND window);

// The wizard's Next button: the lowest, then rightmost, visible push button.
HWND WizardNextButton(HWND wizard);
// What the wizard tells readers about its page: "Title. Description".
UString WizardPageDescription(HWND wizard);
// The visible child of that class whose caption, without accelerator marks, is `caption`.
HWND FindControl(HWND parent, UStringView className, UStringView caption);
std::vector<HWND> VisibleChildren(HWND parent, UStringView className);
bool IsChecked(HWND box);

// The keyboard as another process gives it: keys posted to the window that
// has the focus in the thread of `window` (GetGUIThreadInfo), so the setup's
// own message loop translates them; each waits a moment for the answer.
HWND FocusedWindowOf(HWND window);
// A key down and up (Tab, Space, Enter, an arrow); Shift is not held.
void PostKey(HWND window, UINT key);
// Alt and a letter: the accelerator; Alt goes up after the letter, opening no menu.
void PostAltKey(HWND window, char16_t letter);
// Characters typed into the focused control (a backspace is u'\b').
void PostText(HWND window, UStringView text);
// Tab until the focused window is one that `reached` accepts; false when a
// whole cycle came round without it.
bool TabUntil(HWND window, const std::function<bool(HWND focused)>& reached);
// Tab to the control whose caption, without accelerator marks, is `caption`.
bool TabTo(HWND window, UStringView caption);

// Picks the language at that place of the dialog's list (0-based); none leaves the default.
void SelectLanguage(HWND dialog, int index);
// Clicks the dialog's OK.
void ConfirmLanguage(HWND dialog);
#endif
