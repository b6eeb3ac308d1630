#include "DRX.MUI.h"

// A native build has no windows to tell.
void BroadcastLangChangedToForms() {}
