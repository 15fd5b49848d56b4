#include <filesystem>

#include "platform/program_folder.h"

namespace velorin {

char FolderSeparator() { return '/'; }

std::string ProgramFolder() {
  std::error_code ec;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return "./";
  return FolderWithSeparator(executable.parent_path().string());
}

}  // namespace velorin
