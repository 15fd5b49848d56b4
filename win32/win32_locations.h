#pragma once
// Where velorin.exe finds its files: the data files beside the program; the
// settings (velorin.ini, velorin_map.ini) and the log there too when that
// folder is writable (an unpacked zip), else the user's settings under
// %APPDATA%\Velorin and the log under %LOCALAPPDATA%\Velorin, as XDG splits
// them on Linux. The map's tiles are kept under %LOCALAPPDATA%\Velorin\tiles
// either way (beside the program only when the system names no such folder).
#include <string>

#include "startup/file_locations.h"

namespace velorin {

/// The map's tile cache, in the user's local folder.
inline constexpr char kTileFolderName[] = "tiles\\";

/// The decision for a data folder `programFolder`: portable when
/// `writable`, else the settings and the log in the two user folders
/// (each ending with a backslash; empty when unknown: read the shipped
/// settings, and no log).
FileLocations DecideWin32Locations(const std::string& programFolder, bool writable,
                                   const std::string& roamingFolder,
                                   const std::string& localFolder);

/// The locations for this program on this machine; the user's settings file
/// is made from the shipped one when it is missing.
FileLocations Win32FileLocations();

}  // namespace velorin
