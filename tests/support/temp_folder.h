#pragma once
// A fresh folder in the system's temporary folder for one test, removed with
// its contents afterwards, and whole-file helpers that read and write bytes
// exactly as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace velorin::testutil {

/// The whole content of the file at `path`; empty when it cannot be read.
inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

/// Makes the file at `path` hold exactly `bytes`.
inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  EXPECT_TRUE(out.good()) << path;
}

inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

class TempFolder {
 public:
  /// The folder's name is `prefix` and six random letters; a test fails when
  /// no folder can be made.
  explicit TempFolder(std::string_view prefix = "velorin-test-") : path_(MakeUnique(prefix)) {
    if (path_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
  }
  ~TempFolder() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  bool ok() const { return !path_.empty(); }
  const std::filesystem::path& path() const { return path_; }
  /// The folder with a trailing "/", as an application folder is given.
  std::string Folder() const { return path_.string() + "/"; }
  std::string PathOf(std::string_view name) const {
    return path_.string() + "/" + std::string(name);
  }

  /// Writes `bytes` to the file `name` in the folder and returns its full path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    std::string full = PathOf(name);
    WriteBytes(full, bytes);
    return full;
  }
  std::string Read(std::string_view name) const { return ReadBytes(PathOf(name)); }

  /// The names in the folder, sorted, so that a file left behind shows.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  static std::filesystem::path MakeUnique(std::string_view prefix) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::random_device random;
    std::error_code ec;
    const std::filesystem::path base = std::filesystem::temp_directory_path(ec);
    if (ec) return {};
    for (int attempt = 0; attempt < 100; ++attempt) {
      std::string name(prefix);
      for (int i = 0; i < 6; ++i) name += kLetters[random() % 36];
      const std::filesystem::path folder = base / name;
      if (std::filesystem::create_directory(folder, ec)) return folder;
    }
    return {};
  }

  std::filesystem::path path_;
};

}  // namespace velorin::testutil
