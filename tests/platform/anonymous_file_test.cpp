#include "platform/anonymous_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

struct AnonymousCase {
  const char* name;
  /// Opens the file; `folder` is an empty folder of the test's own.
  std::function<std::FILE*(const std::filesystem::path& folder)> open;
  bool opens;
};

void PrintTo(const AnonymousCase& c, std::ostream* out) { *out << c.name; }

class AnonymousFileTest : public ::testing::TestWithParam<AnonymousCase> {};

// The file reads back what was written and leaves nothing behind in its
// folder once closed: it is nobody's file and holds nobody's name.
TEST_P(AnonymousFileTest, ReadsBackAndLeavesNoName) {
  testutil::TempFolder folder;
  ASSERT_TRUE(folder.ok());
  std::FILE* file = GetParam().open(folder.path());
  ASSERT_EQ(file != nullptr, GetParam().opens);
  if (file == nullptr) return;
  ASSERT_EQ(std::fwrite("points", 6, 1, file), 1u);
  ASSERT_EQ(std::fseek(file, 0, SEEK_SET), 0);
  char back[6] = {};
  EXPECT_EQ(std::fread(back, 6, 1, file), 1u);
  EXPECT_EQ(std::string(back, 6), "points");
  std::fclose(file);
  EXPECT_EQ(folder.Names(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Files, AnonymousFileTest,
    ::testing::Values(
        AnonymousCase{"TmpfileOrTheFallback",
                      [](const std::filesystem::path&) { return OpenAnonymousFile(); }, true},
        AnonymousCase{
            "InAFolder",
            [](const std::filesystem::path& folder) { return OpenAnonymousFileIn(folder); }, true},
        AnonymousCase{"InAMissingFolder",
                      [](const std::filesystem::path& folder) {
                        return OpenAnonymousFileIn(folder / "missing");
                      },
                      false},
        // The system's step never takes over a file that is there already.
        AnonymousCase{"NeverOverAnExistingFile",
                      [](const std::filesystem::path& folder) -> std::FILE* {
                        testutil::WriteBytes((folder / "taken").string(), "kept");
                        std::FILE* file = CreateDeletedOnClose(folder / "taken");
                        EXPECT_EQ(testutil::ReadBytes((folder / "taken").string()), "kept");
                        std::filesystem::remove(folder / "taken");
                        return file;
                      },
                      false}),
    [](const auto& info) { return std::string(info.param.name); });

// Two files open in one folder at once are two files.
TEST(AnonymousFileTest, TwoAtOnceAreApart) {
  testutil::TempFolder folder;
  std::FILE* first = OpenAnonymousFileIn(folder.path());
  std::FILE* second = OpenAnonymousFileIn(folder.path());
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  std::fputs("first", first);
  std::fputs("second", second);
  std::rewind(first);
  char back[16] = {};
  EXPECT_EQ(std::fread(back, 1, sizeof back, first), 5u);
  std::fclose(first);
  std::fclose(second);
}

}  // namespace
}  // namespace velorin
