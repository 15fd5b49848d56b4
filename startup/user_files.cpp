#include "startup/user_files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/home_folder.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;

// Paths are UTF-8 text everywhere in Velorin; std::filesystem would read a
// plain std::string in the system's code page on Windows.
fs::path PathOf(const std::string& text) {
  return fs::path(std::u8string(text.begin(), text.end()));
}

std::string TextOf(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(PathOf(path), ec);
}

std::string Problem(const std::string& what, const std::error_code& ec) {
  return what + ": " + ec.message();
}

}  // namespace

LocationFacts GatherLocationFacts(const std::string& programFolder,
                                  const std::string& dataFromProgram) {
  LocationFacts facts;
  facts.programFolder = programFolder;
  facts.dataBesideProgram = IsFile(programFolder + kSettingsFileName) ||
                            IsFile(programFolder + "velorin_e.msg") ||
                            IsFile(programFolder + "velorin_j.msg");
  facts.dataFromProgram = dataFromProgram;
  facts.xdgConfigHome = Environment("XDG_CONFIG_HOME");
  facts.xdgStateHome = Environment("XDG_STATE_HOME");
  facts.home = HomeFolder();
  facts.xdgCacheHome = Environment("XDG_CACHE_HOME");
  return facts;
}

std::string CreateFolderOf(const std::string& filePath) {
  const fs::path folder = PathOf(filePath).parent_path();
  std::error_code ec;
  // The root ("/", "C:\") is never tested nor made: under MinGW
  // std::filesystem finds no "C:", and a root that is not there cannot be
  // made anyway.
  fs::path current = folder.root_path();
  for (const fs::path& part : folder.relative_path()) {
    current /= part;
    if (fs::is_directory(current, ec)) continue;
    // Only the folders made here get the private permissions.
    if (!fs::create_directory(current, ec) && ec) return Problem(TextOf(current), ec);
    fs::permissions(current, fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  if (!folder.empty() && !fs::is_directory(folder, ec)) return TextOf(folder) + ": not a folder";
  return std::string();
}

std::string ProvideUserSettings(const FileLocations& locations) {
  if (locations.mode != FileMode::kInstalled || locations.shippedSettingsPath.empty())
    return std::string();
  std::error_code ec;
  if (fs::exists(PathOf(locations.settingsPath), ec)) return std::string();

  if (std::string problem = CreateFolderOf(locations.settingsPath); !problem.empty())
    return problem;
  const std::string partial = locations.settingsPath + ".new";
  if (!fs::copy_file(PathOf(locations.shippedSettingsPath), PathOf(partial),
                     fs::copy_options::overwrite_existing, ec)) {
    fs::remove(PathOf(partial), ec);
    return Problem("copying " + locations.shippedSettingsPath + " to " + partial, ec);
  }
  fs::rename(PathOf(partial), PathOf(locations.settingsPath), ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(PathOf(partial), ignored);
    return Problem(locations.settingsPath, ec);
  }
  return std::string();
}

}  // namespace velorin
