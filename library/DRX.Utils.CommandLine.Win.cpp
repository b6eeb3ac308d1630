#include <windows.h>

#include "DRX.Utils.CommandLine.h"

UString GetCommandLineParams() { return GetCommandLineParams(FromW(GetCommandLineW())); }
