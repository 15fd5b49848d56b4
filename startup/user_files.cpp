#include "startup/user_files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/home_folder.h"

namespace velorin {
namespace {

namespace fs = std::filesystem;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

bool IsFile(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
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
  const fs::path folder = fs::path(filePath).parent_path();
  std::error_code ec;
  fs::path current;
  for (const fs::path& part : folder) {
    current /= part;
    if (fs::exists(current, ec)) continue;
    // Only the folders made here get the private permissions.
    if (!fs::create_directory(current, ec) && ec) return Problem(current.string(), ec);
    fs::permissions(current, fs::perms::owner_all, fs::perm_options::replace, ec);
  }
  if (!folder.empty() && !fs::is_directory(folder, ec)) return folder.string() + ": not a folder";
  return std::string();
}

std::string ProvideUserSettings(const FileLocations& locations) {
  if (locations.mode != FileMode::kInstalled || locations.shippedSettingsPath.empty())
    return std::string();
  std::error_code ec;
  if (fs::exists(locations.settingsPath, ec)) return std::string();

  if (std::string problem = CreateFolderOf(locations.settingsPath); !problem.empty())
    return problem;
  const std::string partial = locations.settingsPath + ".new";
  if (!fs::copy_file(locations.shippedSettingsPath, partial, fs::copy_options::overwrite_existing,
                     ec)) {
    fs::remove(partial, ec);
    return Problem("copying " + locations.shippedSettingsPath + " to " + partial, ec);
  }
  fs::rename(partial, locations.settingsPath, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(partial, ignored);
    return Problem(locations.settingsPath, ec);
  }
  return std::string();
}

}  // namespace velorin
