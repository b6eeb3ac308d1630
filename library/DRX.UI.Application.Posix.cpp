#include "DRX.UI.Application.h"

bool SystemAppsUseDarkTheme() { return false; }

#include <cstdio>

void PlatformReportException(const UString& message) { std::fprintf(stderr, "%s\n", Utf16ToUtf8(message).c_str()); }
