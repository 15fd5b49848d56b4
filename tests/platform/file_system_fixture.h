#pragma once
// The local disk under test: a fresh folder for each test, with whole-file
// helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/file_system.h"
#include "tests/support/temp_folder.h"
#include "tests/support/test_system.h"

namespace velorin {

namespace fs = std::filesystem;

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(temp_.ok()); }

  /// A path in the folder in the system's own form.
  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  void WriteFile(const std::string& name, const std::string& content) const {
    testutil::WriteBytes(PathOf(name), content);
  }
  std::string ReadFile(const std::string& name) const { return testutil::ReadBytes(PathOf(name)); }

  std::string ReadAll(ByteSource& source, std::size_t chunk) {
    std::string data(chunk, '\0');
    std::string result;
    for (;;) {
      const std::ptrdiff_t count = source.Read(data.data(), chunk);
      EXPECT_GE(count, 0);
      if (count <= 0) return result;
      result.append(data.data(), static_cast<std::size_t>(count));
    }
  }

  testutil::TempFolder temp_{"velorin_platform_"};
  const fs::path& folder_ = temp_.path();
  LocalFileSystem files_;
};

}  // namespace velorin
