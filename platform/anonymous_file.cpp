#include "platform/anonymous_file.h"

#include <random>
#include <string>
#include <system_error>

namespace velorin {

std::FILE* OpenAnonymousFile() {
  if (std::FILE* file = std::tmpfile()) return file;
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  return ec ? nullptr : OpenAnonymousFileIn(folder);
}

std::FILE* OpenAnonymousFileIn(const std::filesystem::path& folder) {
  std::random_device random;
  for (int attempt = 0; attempt < 20; ++attempt) {
    const std::filesystem::path path = folder / ("velorin-" + std::to_string(random()));
    std::error_code ec;
    // A name in use is never opened over: another file of that name is
    // someone's, and would be emptied and then deleted.
    if (std::filesystem::exists(path, ec) || ec) continue;
    if (std::FILE* file = CreateDeletedOnClose(path)) return file;
  }
  return nullptr;
}

}  // namespace velorin
