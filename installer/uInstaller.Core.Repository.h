#pragma once
// The product's entry in the Windows list of installed programs, and the
// unregistration of COM servers before their files are removed (Windows).

#include "DRX.Strings.h"

// Entries live under HKEY_LOCAL_MACHINE "Software\Microsoft\Windows\CurrentVersion\Uninstall\"
// + the product name, in the 64-bit view. A name that is empty once its spaces
// are removed, or that holds a backslash (it would name another key), is refused.
class TInstallerApplicationRepository {
 public:
  // Writes the entry's ten values; other values of the key stay. False when
  // the key can be neither opened nor created.
  static bool Register(const UString& Name, const UString& UninstallExe, const UString& Version,
                       const UString& Publisher, const UString& URL);
  // The registered install folder (ending with a backslash): "InstallPath", else
  // the folder of "UninstallString", else that of "DisplayIcon". False when the
  // entry is missing (Path untouched) or none of them is an existing folder.
  static bool GetInstallPath(const UString& Name, UString& Path);
  // Deletes the entry that Register wrote, with all its subkeys.
  static bool Unregister(const UString& Name);
};

class TInstallerActiveX {
 public:
  // Loads the library (its folder current during the load, no system error
  // boxes), calls its "DllUnregisterServer" if exported and unloads it.
  // A file that cannot be loaded or lacks the export is left alone.
  static void Unregister(const UString& DllFileName);
};
