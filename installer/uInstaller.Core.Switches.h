#pragma once
// The command-line switches of the setup program and the two forms in which it
// passes them on to a copy of itself. A written switch goes in front of the
// received parameters, so it wins over an older one of the same name.

#include <cstdint>

#include "DRX.Strings.h"

inline constexpr UStringView kSwitchAuto = u"AUTO";
inline constexpr UStringView kSwitchSilent = u"SILENT";
inline constexpr UStringView kSwitchNoBackup = u"NOBACKUP";
inline constexpr UStringView kSwitchRun = u"RUN";
inline constexpr UStringView kSwitchUpdate = u"UPDATE";
inline constexpr UStringView kSwitchPortable = u"PORTABLE";
inline constexpr UStringView kSwitchSkipUac = u"SKIPUAC";
inline constexpr UStringView kSwitchPath = u"PATH";
// With AUTO and SILENT: no message box at all; questions take their default
// (a file that cannot be written: Abort), so the exit code alone tells.
inline constexpr UStringView kSwitchSuppressMsgBoxes = u"SUPPRESSMSGBOXES";

// "/SKIPUAC=<window> <params>": the elevated copy's parameters; the window is
// the first process's spawn window, as a decimal integer.
UString FormatSkipUacParams(int64_t window, UStringView params);

// "/PATH="<folder>" <params>": the uninstaller's restart from the temporary
// folder; the folder carries its trailing backslash.
UString FormatPathParams(UStringView folder, UStringView params);
