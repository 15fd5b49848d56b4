#include "platform/program_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace velorin {
namespace {

namespace fs = std::filesystem;

// The program's own folder, whatever the working folder: absolute, ending
// with the system's separator, and holding this very program.
TEST(ProgramFolder, IsTheFolderOfTheRunningProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), static_cast<char>(fs::path::preferred_separator));
  const fs::path path(std::u8string(folder.begin(), folder.end()));
  EXPECT_TRUE(path.is_absolute()) << folder;
  bool holdsThisProgram = false;
  for (const auto& entry : fs::directory_iterator(path)) {
    holdsThisProgram |= entry.path().stem() == "platform_tests";
  }
  EXPECT_TRUE(holdsThisProgram) << folder;
}

struct SeparatorCase {
  const char* name;
  std::string folder;  ///< with "|" for the system's separator
  std::string withSeparator;
};

/// The case's text with the system's own separator for every "|".
std::string Native(std::string text) {
  for (char& c : text) {
    if (c == '|') c = FolderSeparator();
  }
  return text;
}

class FolderWithSeparatorTest : public ::testing::TestWithParam<SeparatorCase> {};

TEST_P(FolderWithSeparatorTest, EndsWithExactlyOneSeparator) {
  EXPECT_EQ(FolderWithSeparator(Native(GetParam().folder)), Native(GetParam().withSeparator));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderWithSeparatorTest,
    ::testing::Values(SeparatorCase{"Root", "|", "|"}, SeparatorCase{"DriveRoot", "C:|", "C:|"},
                      SeparatorCase{"WithoutSeparator", "|opt|velorin", "|opt|velorin|"},
                      SeparatorCase{"WithSeparator", "|opt|velorin|", "|opt|velorin|"},
                      SeparatorCase{"Blank", "|opt|my velorin", "|opt|my velorin|"},
                      SeparatorCase{"Empty", "", "|"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FolderSeparator, IsTheSeparatorOfThisSystemsPaths) {
  EXPECT_EQ(FolderSeparator(), static_cast<char>(fs::path::preferred_separator));
}

}  // namespace
}  // namespace velorin
