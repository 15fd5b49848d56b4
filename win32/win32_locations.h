#pragma once
// Where velorin.exe finds its files: the data files beside the program; the
// settings (velorin.ini, velorin_map.ini) and the log there too for a
// portable copy (an unpacked zip in a folder it may write), else the user's
// copy of the settings under %APPDATA%\Velorin and the log under
// %LOCALAPPDATA%\Velorin, as XDG splits them on Linux. A copy is installed
// when its folder is read-only to the user or when the installer put its note
// beside the program (an administrator may write Program Files, and Wine lets
// everyone write it). The map's tiles are kept under
// %LOCALAPPDATA%\Velorin\tiles either way (beside the program only when the
// system names no such folder).
#include <string>

#include "startup/file_locations.h"

namespace velorin {

/// The note the Windows installer puts beside the programs.
inline constexpr char kInstalledNoteName[] = "velorin_installed.txt";
/// The map's tile cache, in the user's local folder.
inline constexpr char kTileFolderName[] = "tiles\\";

/// The decision for a data folder `programFolder`: portable when
/// `portable`, else the settings and the log in the two user folders
/// (each ending with a backslash; empty when unknown: read the shipped
/// settings, and no log).
FileLocations DecideWin32Locations(const std::string& programFolder, bool portable,
                                   const std::string& roamingFolder,
                                   const std::string& localFolder);

/// The locations of a copy of the program in `programFolder` (ending with a
/// backslash) for this user, decided by what lies there; nothing is made.
FileLocations Win32LocationsOf(const std::string& programFolder);

/// The locations for this program on this machine; the user's settings file
/// is made from the shipped one when it is missing.
FileLocations Win32FileLocations();

}  // namespace velorin
