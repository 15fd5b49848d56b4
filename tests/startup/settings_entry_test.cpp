#include "startup/settings_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

struct EntryCase {
  const char* name;
  const char* settings;
  std::size_t index;
  const char* entry;
  const char* written;
};

void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.name; }

class SettingsEntry : public ::testing::TestWithParam<EntryCase> {};

TEST_P(SettingsEntry, ReplacesOneLineAndKeepsEveryOtherByte) {
  EXPECT_EQ(WithSettingsEntry(GetParam().settings, GetParam().index, GetParam().entry),
            GetParam().written);
}

// Lines end at CR LF, CR or LF, as the settings are read.
INSTANTIATE_TEST_SUITE_P(
    Files, SettingsEntry,
    ::testing::Values(EntryCase{"MiddleLine", "a\r\nb\r\nc\r\n", 1, "tokyo", "a\r\ntokyo\r\nc\r\n"},
                      EntryCase{"FirstLine", "a\r\nb\r\n", 0, "x", "x\r\nb\r\n"},
                      EntryCase{"EmptyLineFilled", "a\r\n\r\nc", 1, "tokyo", "a\r\ntokyo\r\nc"},
                      EntryCase{"FilledLineEmptied", "a\r\ntokyo\r\nc", 1, "", "a\r\n\r\nc"},
                      EntryCase{"LastLineWithoutEnd", "a\r\nb", 1, "tokyo", "a\r\ntokyo"},
                      EntryCase{"LoneLineEndsKept", "a\nb\rc\r\n", 2, "x", "a\nb\rx\r\n"},
                      EntryCase{"ShortFileFilledUp", "a\r\nb", 4, "x", "a\r\nb\r\n\r\n\r\nx\r\n"},
                      EntryCase{"ShortFileEndingInALineEnd", "a\r\n", 1, "x", "a\r\nx\r\n"},
                      EntryCase{"EmptyFile", "", 2, "x", "\r\n\r\nx\r\n"},
                      EntryCase{"ShiftJisBytesKept", "\x93\x8c\x8b\x9e\r\nb\r\n", 1, "tokyo",
                                "\x93\x8c\x8b\x9e\r\ntokyo\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveSettingsEntry, ReplacesTheFileOrLeavesItAlone) {
  testutil::TempFolder folder;
  const std::string path = folder.Write("velorin.ini", "1\r\n0\r\n\r\n");
  std::error_code error;
  ASSERT_TRUE(SaveSettingsEntry(path, 2, "tokyo", error)) << error.message();
  EXPECT_EQ(testutil::ReadBytes(path), "1\r\n0\r\ntokyo\r\n");
  // No file to read: nothing is made.
  const std::string missing = folder.PathOf("none.ini");
  EXPECT_FALSE(SaveSettingsEntry(missing, 2, "tokyo", error));
  EXPECT_TRUE(error);
  EXPECT_FALSE(testutil::Exists(missing));
}

}  // namespace
}  // namespace velorin
