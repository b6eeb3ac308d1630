#include "DRX.UI.Application.h"

bool SystemAppsUseDarkTheme() { return false; }
