#pragma once
// Message boxes of the library. Flags and results follow the Windows
// message-box conventions (MB_*, ID*); an empty caption takes the default
// caption of the icon kind ("Warning", "Error", "Information", "Confirm").

#include <cstdint>

#include "DRX.Strings.h"

// Shows a modal message box owned by `owner` (the calling thread's active
// window when none; with neither, every window of the thread is disabled while
// it shows) and returns the pressed button's result code.
int ShowMessageBox(void* owner, const UString& text, const UString& caption, uint32_t flags);

// The caption a box of these flags gets when none is given.
UString DefaultMessageBoxCaption(uint32_t flags);
