#pragma once
// A folder for output files that replace others, removed afterwards, and
// what is in it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/replacing_file.h"
#include "tests/support/test_system.h"

namespace velorin {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testutil::MakeUniqueFolder("velorin_replace_");
    ASSERT_FALSE(folder_.empty());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& content) const {
    std::ofstream(folder_ / name, std::ios::binary) << content;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  /// Names in the folder, so that a temporary file left behind shows.
  std::vector<std::string> FolderNames() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
  std::unique_ptr<ReplacingSink> Open(const std::string& name, std::error_code& ec) {
    return OpenReplacingFile(PathOf(name), ec);
  }

  fs::path folder_;
};

}  // namespace velorin
