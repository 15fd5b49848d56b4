#include <filesystem>

#include "cli/executable_folder.h"

namespace velorin {

std::string ExecutableFolder() {
  std::error_code ec;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  std::string folder = executable.parent_path().string();
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

}  // namespace velorin
