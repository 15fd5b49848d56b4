#include "cli/executable_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace velorin {
namespace {

namespace fs = std::filesystem;

// The program's own folder, whatever the working folder: absolute, ending
// with the system's separator, and holding this very program.
TEST(ExecutableFolder, IsTheFolderOfTheRunningProgram) {
  const std::string folder = ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), static_cast<char>(fs::path::preferred_separator));
  const fs::path path(std::u8string(folder.begin(), folder.end()));
  EXPECT_TRUE(path.is_absolute()) << folder;
  bool holdsThisProgram = false;
  for (const auto& entry : fs::directory_iterator(path)) {
    holdsThisProgram |= entry.path().stem() == "cli_tests";
  }
  EXPECT_TRUE(holdsThisProgram) << folder;
}

}  // namespace
}  // namespace velorin
