#pragma once
// The setup's windows seen from another process, as a person sees them: the
// language dialog, the wizard and its controls, message boxes. The wizard's
// windowed controls carry their captions as window text; check boxes and
// radio boxes answer BM_GETCHECK and BM_CLICK like the system's. Used by the
// end-to-end runs and by the screenshot walker.

#ifdef _WIN32
#include <windows.h>

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

// Picks the language at that place of the dialog's list (0-based); none leaves the default.
void SelectLanguage(HWND dialog, int index);
// Clicks the dialog's OK.
void ConfirmLanguage(HWND dialog);
#endif
