#pragma once
// A fresh folder under the system's temporary folder, removed with its
// contents when the object goes away.
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>

namespace velorin::testutil {

class TempFolder {
 public:
  TempFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
      path_ = base / ("velorin-startup-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(path_));
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  /// The folder text as the start-up code wants it: ending in a separator.
  std::string folderText() const { return path_.string() + "/"; }
  std::string PathOf(std::string_view name) const { return (path_ / name).string(); }

  /// Writes `bytes` exactly as given (binary) and returns the full path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    const std::string full = PathOf(name);
    std::ofstream out(full, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return full;
  }

 private:
  std::filesystem::path path_;
};

}  // namespace velorin::testutil
