#include "win32/win32_locations.h"

#include "platform/program_folder.h"
#include "platform/user_folders_win32.h"
#include "startup/user_files.h"

namespace velorin {

FileLocations DecideWin32Locations(const std::string& programFolder, bool writable,
                                   const std::string& roamingFolder,
                                   const std::string& localFolder) {
  if (writable) {
    FileLocations locations = PortableLocations(programFolder);
    // The map's tiles are a cache of this machine, wherever the program is.
    if (!localFolder.empty()) locations.tileCacheFolder = localFolder + kTileFolderName;
    return locations;
  }
  FileLocations locations;
  locations.mode = FileMode::kInstalled;
  locations.dataFolder = programFolder;
  locations.shippedSettingsPath = programFolder + kSettingsFileName;
  locations.settingsPath =
      roamingFolder.empty() ? locations.shippedSettingsPath : roamingFolder + kSettingsFileName;
  if (roamingFolder.empty()) locations.shippedSettingsPath.clear();
  if (!roamingFolder.empty()) locations.mapSettingsPath = roamingFolder + kMapSettingsFileName;
  if (!localFolder.empty()) {
    locations.logPath = localFolder + kLogFileName;
    locations.createLogFolder = true;
    locations.tileCacheFolder = localFolder + kTileFolderName;
  }
  return locations;
}

FileLocations Win32FileLocations() {
  const std::string folder = ProgramFolder();
  FileLocations locations = DecideWin32Locations(folder, FolderTakesNewFiles(folder),
                                                 RoamingVelorinFolder(), LocalVelorinFolder());
  if (!ProvideUserSettings(locations).empty()) locations = WithShippedSettings(locations);
  return locations;
}

}  // namespace velorin
