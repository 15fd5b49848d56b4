// One settings entry written back: the other lines as they were, their
// line ends too, and the file replaced whole or left alone.
#include "startup/settings_entry.h"

#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::ReadBytes;
using testutil::TempFolder;
using testutil::WriteBytes;

struct EntryCase {
  const char* name;
  std::string settings;
  std::size_t index;
  std::string value;
  std::string written;
};

void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.name; }

class WithSettingsEntryTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(WithSettingsEntryTest, OneLineChangesTheRestStays) {
  EXPECT_EQ(WithSettingsEntry(GetParam().settings, GetParam().index, GetParam().value),
            GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Files, WithSettingsEntryTest,
    ::testing::Values(
        EntryCase{"ReplacesItsLine", "1\r\n0\r\n\r\n0\r\n\r\n\r\n\r\n", 5, "addr,comm",
                  "1\r\n0\r\n\r\n0\r\n\r\naddr,comm\r\n\r\n"},
        EntryCase{"EmptiesItsLine", "a\r\nb\r\nall\r\nd\r\n", 2, "", "a\r\nb\r\n\r\nd\r\n"},
        EntryCase{"KeepsOtherLineEnds", "a\nb\r\nc\nd", 1, "x", "a\nx\r\nc\nd"},
        EntryCase{"MakesTheLastLineWithoutItsEnd", "a\r\nb", 1, "x", "a\r\nx\r\n"},
        EntryCase{"AddsLinesUpToIt", "a\r\nb", 4, "x", "a\r\nb\r\n\r\n\r\nx\r\n"},
        EntryCase{"FromNothing", "", 1, "x", "\r\nx\r\n"},
        EntryCase{"KeepsShiftJisBytes", "\x93\x8C\r\n\r\n", 1, "all", "\x93\x8C\r\nall\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveSettingsEntry, ReplacesTheFileOrSaysWhyNot) {
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  const std::string path = folder.PathOf("velorin.ini");
  WriteBytes(path, "1\r\n0\r\n\r\n0\r\n\r\n\r\n");
  std::error_code error;
  ASSERT_TRUE(SaveSettingsEntry(path, kNviFieldsSetting, "all", error)) << error.message();
  EXPECT_EQ(ReadBytes(path), "1\r\n0\r\n\r\n0\r\n\r\nall\r\n");
  EXPECT_FALSE(SaveSettingsEntry(folder.PathOf("missing.ini"), 5, "all", error));
  EXPECT_TRUE(error);
}

}  // namespace
}  // namespace velorin
