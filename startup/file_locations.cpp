#include "startup/file_locations.h"

#include "startup/data_folder.h"

namespace velorin {
namespace {

// An XDG base folder: the variable when it holds an absolute path, else the
// default below home; empty when neither is known.
std::string BaseFolder(const std::string& variable, const std::string& home,
                       const char* defaultBelowHome) {
  if (!variable.empty() && variable.front() == '/') return NormalFolder(variable);
  if (!home.empty() && home.front() == '/') return NormalFolder(home + "/" + defaultBelowHome);
  return std::string();
}

}  // namespace

FileLocations PortableLocations(const std::string& folder) {
  FileLocations locations;
  locations.mode = FileMode::kPortable;
  locations.dataFolder = folder;
  locations.settingsPath = folder + kSettingsFileName;
  locations.logPath = folder + kLogFileName;
  locations.mapSettingsPath = folder + kMapSettingsFileName;
  locations.tileCacheFolder = folder + "cache/tiles/";
  return locations;
}

FileLocations DecideFileLocations(const LocationFacts& facts) {
  if (facts.dataBesideProgram) return PortableLocations(facts.programFolder);

  FileLocations locations;
  locations.mode = FileMode::kInstalled;
  locations.dataFolder = InstalledDataFolder(facts.programFolder, facts.dataFromProgram);
  locations.shippedSettingsPath = locations.dataFolder + kSettingsFileName;

  const std::string config = BaseFolder(facts.xdgConfigHome, facts.home, ".config");
  locations.settingsPath =
      config.empty() ? locations.shippedSettingsPath : config + "velorin/" + kSettingsFileName;
  if (config.empty()) locations.shippedSettingsPath.clear();
  if (!config.empty()) locations.mapSettingsPath = config + "velorin/" + kMapSettingsFileName;

  const std::string state = BaseFolder(facts.xdgStateHome, facts.home, ".local/state");
  if (!state.empty()) {
    locations.logPath = state + "velorin/" + kLogFileName;
    locations.createLogFolder = true;
  }
  const std::string cache = BaseFolder(facts.xdgCacheHome, facts.home, ".cache");
  if (!cache.empty()) locations.tileCacheFolder = cache + "velorin/tiles/";
  return locations;
}

FileLocations WithShippedSettings(FileLocations locations) {
  if (!locations.shippedSettingsPath.empty()) {
    locations.settingsPath = locations.shippedSettingsPath;
    locations.shippedSettingsPath.clear();
  }
  return locations;
}

}  // namespace velorin
