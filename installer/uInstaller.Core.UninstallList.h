#pragma once
// The list of installed files in "Uninstall.ini": the section "Uninstall"
// with "Count" and the numbered keys "0" to Count - 1, written by the
// extraction and read back by the uninstaller.

#include <vector>

#include "DRX.Strings.h"

class TDRXIniFile;

// The entries among "0" to Count - 1 that the section holds, in number order
// (a key given twice counts with its first line; "01" or "+1" is no number
// key), so that a huge Count is no work list. A list that cannot be read — no
// "Count", or one that is no number from 0 up — raises EInstallerInstallError:
// the uninstallation stops before it removes anything.
std::vector<UString> ReadUninstallEntries(const TDRXIniFile& ini);
