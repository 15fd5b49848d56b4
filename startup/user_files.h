#pragma once
// The side effects of the file locations: reading the environment, giving the
// user a settings file to edit, and making the log's folder. Everything is
// decided by DecideFileLocations; these only carry it out.
#include <string>

#include "startup/file_locations.h"

namespace velorin {

/// Looks beside the program for its data files and reads XDG_CONFIG_HOME,
/// XDG_STATE_HOME, XDG_CACHE_HOME and HOME (the password database when HOME is unset).
LocationFacts GatherLocationFacts(const std::string& programFolder,
                                  const std::string& dataFromProgram);

/// Installed mode with no user settings yet: copies the shipped settings to
/// the user's settings path byte for byte, through a temporary file so that
/// a failed copy never leaves half a file. Returns what went wrong, or an
/// empty text when the user's file is there (also when it was there before).
std::string ProvideUserSettings(const FileLocations& locations);

/// Creates the missing folders above `filePath`, each readable by the user
/// alone. Returns what went wrong, or an empty text.
std::string CreateFolderOf(const std::string& filePath);

}  // namespace velorin
