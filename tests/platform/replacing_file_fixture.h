#pragma once
// A folder for output files that replace others, removed afterwards, and
// what is in it.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/replacing_file.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_system.h"

namespace velorin {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp_.ok()); }

  /// A path in the folder in the system's own form.
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& content) const {
    testutil::WriteBytes(PathOf(name), content);
  }
  std::string Read(const std::string& name) const { return testutil::ReadBytes(PathOf(name)); }
  /// Names in the folder, so that a temporary file left behind shows.
  std::vector<std::string> FolderNames() const { return temp_.Names(); }
  std::unique_ptr<ReplacingSink> Open(const std::string& name, std::error_code& ec) {
    return OpenReplacingFile(PathOf(name), ec);
  }

  testutil::TempFolder temp_{"velorin_replace_"};
  const fs::path& folder_ = temp_.path();
};

}  // namespace velorin
