#pragma once
// A fresh folder per test in the system's temporary folder, and whole-file
// helpers that read and write bytes exactly.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "tests/support/test_system.h"

namespace velorin::testing {

class TempFolder {
 public:
  TempFolder() {
    folder_ = testutil::MakeUniqueFolder("velorin-convert-").string();
    if (folder_.empty()) ADD_FAILURE() << "cannot create a temporary folder";
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  /// The folder with a trailing "/", as an application folder is given.
  std::string Folder() const { return folder_ + "/"; }
  std::string Path(std::string_view name) const { return folder_ + "/" + std::string(name); }

 private:
  std::string folder_;
};

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

inline bool Exists(const std::string& path) {
  std::error_code ignored;
  return std::filesystem::exists(path, ignored);
}

}  // namespace velorin::testing
