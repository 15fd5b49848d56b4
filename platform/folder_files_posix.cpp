#include <sys/stat.h>

#include <cerrno>
#include <filesystem>

#include "platform/folder_files.h"

namespace velorin {

bool MakeNativeFolders(const std::string& folder) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  return std::filesystem::is_directory(folder, ec);
}

bool RemoveNativeFile(const std::string& path) {
  std::error_code ec;
  const std::filesystem::file_status status = std::filesystem::symlink_status(path, ec);
  if (status.type() == std::filesystem::file_type::not_found) return true;
  if (!std::filesystem::is_regular_file(status)) return false;
  return std::filesystem::remove(path, ec) || !std::filesystem::exists(path, ec);
}

std::vector<FolderFile> NativeFilesIn(const std::string& folder) {
  std::vector<FolderFile> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    struct stat status {};
    if (lstat(it->path().c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    files.push_back({it->path().filename().string(), static_cast<std::uint64_t>(status.st_size),
                     static_cast<std::int64_t>(status.st_mtime)});
  }
  return files;
}

}  // namespace velorin
