#include "startup/settings_entry.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/memory_file_system.h"

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

/// Sixteen settings lines, CR LF each, the ninth `ninth`.
std::string Settings(const std::string& ninth, std::size_t lines = kSettingsLines) {
  std::string text;
  for (std::size_t line = 0; line < lines; ++line) text += (line == 8 ? ninth : "") + "\r\n";
  return text;
}

bool IsDatum(std::string_view entry) { return entry == "tokyo" || entry == "wgs84"; }

struct SaveCase {
  const char* name;
  std::string file;  ///< what velorin.ini holds; empty: there is none
  bool linkedOut;    ///< velorin.ini links to a file outside the settings folder
  bool saved;
  std::errc error;
};

class SaveSettingsEntryTest : public ::testing::TestWithParam<SaveCase> {};

// Only a settings file is written, and only itself: a file start-up would
// not read, or whose entry holds something else, is left as it is; a link
// out of the settings folder is replaced, what it points to never written.
TEST_P(SaveSettingsEntryTest, WritesOnlyTheSettingsFileItself) {
  const SaveCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFolder("/config");
  const std::string path = "/config/velorin.ini";
  const std::string file = c.linkedOut ? "/home/copy" : path;
  if (!c.file.empty()) files.AddFile(file, c.file);
  if (c.linkedOut) files.AddLink(path, file);
  std::error_code error;
  EXPECT_EQ(SaveSettingsEntry(files, path, 8, "tokyo", IsDatum, error), c.saved);
  if (c.saved) {
    EXPECT_EQ(files.Contents(path), Settings("tokyo"));
    EXPECT_FALSE(files.IsLink(path));
  } else {
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(files.Contents(path), c.file.empty() ? std::nullopt : std::optional(c.file));
  }
  if (c.linkedOut) {
    EXPECT_EQ(files.Contents(file), c.file);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, SaveSettingsEntryTest,
    ::testing::Values(SaveCase{"EmptyEntry", Settings(""), false, true, {}},
                      SaveCase{"EntryOfItsKind", Settings("wgs84"), false, true, {}},
                      SaveCase{"FewerLinesThanStartUpReads", Settings("", 15), false, false,
                               std::errc::invalid_argument},
                      SaveCase{"AnotherKindOfEntry",
                               Settings("man:x:6:12:man:/var/cache/man:/sbin/nologin"), false,
                               false, std::errc::invalid_argument},
                      SaveCase{"NotText", Settings("") + std::string(1, '\0'), false, false,
                               std::errc::invalid_argument},
                      SaveCase{"None", "", false, false, std::errc::no_such_file_or_directory},
                      SaveCase{"LinkedOutOfTheFolder", Settings(""), true, true, {}},
                      SaveCase{"LinkedToAnotherFile", Settings("root:x:0:0"), true, false,
                               std::errc::invalid_argument}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SaveSettingsEntry, ALinkWithinTheFolderIsFollowed) {
  MemoryFileSystem files;
  files.AddFile("/config/mine.ini", Settings(""));
  files.AddLink("/config/velorin.ini", "mine.ini");
  std::error_code error;
  ASSERT_TRUE(SaveSettingsEntry(files, "/config/velorin.ini", 8, "tokyo", IsDatum, error));
  EXPECT_TRUE(files.IsLink("/config/velorin.ini"));
  EXPECT_EQ(files.Contents("/config/mine.ini"), Settings("tokyo"));
}

}  // namespace
}  // namespace velorin
