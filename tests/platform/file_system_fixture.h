#pragma once
// The local disk under test: a fresh folder in the system's temporary
// folder, removed afterwards, with whole-file helpers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file_system.h"
#include "tests/support/test_system.h"

namespace velorin {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed afterwards.
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = testutil::MakeUniqueFolder("velorin_platform_");
    ASSERT_FALSE(folder_.empty());
  }
  void TearDown() override {
    std::error_code ec;
    fs::remove_all(folder_, ec);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  void WriteFile(const std::string& name, const std::string& content) const {
    std::ofstream out(folder_ / name, std::ios::binary);
    out << content;
  }

  std::string ReadFile(const std::string& name) const {
    std::ifstream in(folder_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

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

  fs::path folder_;
  LocalFileSystem files_;
};

}  // namespace velorin
