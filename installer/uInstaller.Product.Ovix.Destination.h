#pragma once
// What the destination holds. The backup, clean-up and removal of the whole
// program folder are meant for a folder that is the player's: one that holds
// an installation of it, or that was empty or missing when the player was
// first installed there. A folder that held other files then is shared: the
// installation records so in its uninstall data, and every later setup and
// the uninstaller touch only the installation's own files there.

#include <memory>
#include <vector>

#include "DRX.Strings.h"

class TDRXIniFile;

// Where Uninstall.ini (made from the settings store) records a shared folder.
inline constexpr UStringView kDestinationSection = u"Destination";
inline constexpr UStringView kSharedFolderKey = u"SharedFolder";

// Uninstall.ini of <folder>Uninstall.dat; null when the folder holds no
// readable uninstall data (missing, damaged, or a package without it).
std::unique_ptr<TDRXIniFile> ReadUninstallData(const UString& folder);

// DestPath holds an installation of the player: its uninstall data, a
// configuration file of the player, or an installed version of 1 or more.
bool HoldsInstallation();

// The installation in DestPath shares its folder: the previous installation's
// uninstall data says so, or there is no installation and the folder holds
// any entry.
bool IsSharedDestination();

// The uninstall data records a shared folder.
bool IsSharedFolder(const TDRXIniFile& UninstallIni);

// The installation's own files in DestPath, existing or not: the targets of
// the package inside DestPath (none behind a folder link), the uninstaller's
// two files and the configuration files.
std::vector<UString> OwnFilesInDestination();

// The backup archives the setup names itself: "z Before install *.zip".
bool IsOwnBackupArchive(UStringView FileName);
