#pragma once
// Windows only: the folders where a program keeps a user's files, and
// whether a folder takes new files (Program Files does not, for most users).
#include <string>

namespace velorin {

/// %APPDATA%\Velorin\ (settings that roam with the user), ending with a
/// backslash; empty when the system does not say.
std::string RoamingVelorinFolder();

/// %LOCALAPPDATA%\Velorin\ (the log, which stays on this machine), ending
/// with a backslash; empty when the system does not say.
std::string LocalVelorinFolder();

/// Whether a file can be made in `folder` (ending with a separator): one is
/// made and removed again.
bool FolderTakesNewFiles(const std::string& folder);

}  // namespace velorin
