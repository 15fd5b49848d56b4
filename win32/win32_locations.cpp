#include "win32/win32_locations.h"

#include "platform/native_file.h"
#include "platform/program_folder.h"
#include "platform/user_folders_win32.h"
#include "startup/user_files.h"

namespace velorin {

FileLocations DecideWin32Locations(const std::string& programFolder, bool portable,
                                   const std::string& roamingFolder,
                                   const std::string& localFolder) {
  if (portable) {
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

FileLocations Win32LocationsOf(const std::string& programFolder) {
  const bool installed =
      IsOrdinaryFile(programFolder + kInstalledNoteName) || !FolderTakesNewFiles(programFolder);
  return DecideWin32Locations(programFolder, !installed, RoamingVelorinFolder(),
                              LocalVelorinFolder());
}

FileLocations Win32FileLocations() {
  FileLocations locations = Win32LocationsOf(ProgramFolder());
  if (!ProvideUserSettings(locations).empty()) locations = WithShippedSettings(locations);
  return locations;
}

}  // namespace velorin
