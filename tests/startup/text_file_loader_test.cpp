#include "startup/text_file_loader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::TempFolder;

// Fills an array with markers, so that entries left alone stay visible.
std::vector<std::string> Marked(std::size_t size) {
  std::vector<std::string> lines;
  for (std::size_t i = 0; i < size; ++i) lines.push_back("#" + std::to_string(i));
  return lines;
}

struct LoadCase {
  const char* name;
  std::string content;
  std::int32_t maxCount;
  std::size_t arraySize;
  std::int16_t result;
  std::vector<std::string> lines;  // the whole array afterwards
};

void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

class LoadTextLinesCase : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadTextLinesCase, ResultAndLines) {
  const LoadCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFile("/d/file.txt", c.content);
  // Lines that arrive in pieces are read whole all the same.
  files.SetReadPiece(2);
  std::vector<std::string> lines = Marked(c.arraySize);
  EXPECT_EQ(LoadTextLines(files, "/d/file.txt", c.maxCount, lines), c.result);
  EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, LoadTextLinesCase,
    ::testing::Values(
        LoadCase{"ExactCountWithFinalLineEnd", "a\r\nb\r\nc\r\n", 3, 3, 0, {"a", "b", "c"}},
        LoadCase{"ExactCountWithoutFinalLineEnd", "a\r\nb\r\nc", 3, 3, 0, {"a", "b", "c"}},
        LoadCase{"MoreLinesThanWantedAreNotRead",
                 "a\r\nb\r\nc\r\nd\r\n",
                 3,
                 4,
                 0,
                 {"a", "b", "c", "#3"}},
        LoadCase{"FewerLinesLeaveLaterEntries", "a\r\nb\r\n", 3, 3, 1, {"a", "b", "#2"}},
        LoadCase{"EmptyFileReadsNothing", "", 3, 3, 1, {"#0", "#1", "#2"}},
        LoadCase{"LoneLineEndIsOneEmptyLine", "\r\n", 3, 3, 1, {"", "#1", "#2"}},
        LoadCase{"EmptyLinesCount", "\r\n\r\nx\r\n", 3, 3, 0, {"", "", "x"}},
        LoadCase{"BlanksAreKept", " 0 \r\n\t\r\n", 2, 2, 0, {" 0 ", "\t"}},
        LoadCase{"CrAloneEndsLines", "a\rb\rc", 3, 3, 0, {"a", "b", "c"}},
        LoadCase{"LfAloneEndsLines", "a\nb\nc\n", 3, 3, 0, {"a", "b", "c"}},
        LoadCase{"MixedLineEnds", "a\r\nb\rc\nd", 4, 4, 0, {"a", "b", "c", "d"}},
        LoadCase{"CrBeforeCrLfIsAnEmptyLine", "a\r\r\nb", 3, 3, 0, {"a", "", "b"}},
        LoadCase{"LfThenCrAreTwoLineEnds", "a\n\rb", 3, 3, 0, {"a", "", "b"}},
        LoadCase{"FinalCrEndsTheLastLine", "a\r", 2, 2, 1, {"a", "#1"}},
        // Shift-JIS bytes are kept as they are, a trailing 0x5C byte included.
        LoadCase{"Cp932BytesUnchanged",
                 "\x83\x65\x83\x58\x83\x67\r\n\x95\x5C\r\n",
                 2,
                 2,
                 0,
                 {"\x83\x65\x83\x58\x83\x67", "\x95\x5C"}},
        LoadCase{"ArrayTooSmall", "a\r\nb\r\nc\r\n", 3, 2, -3, {"a", "b"}},
        LoadCase{"ArrayTooSmallButFileShorter", "a\r\n", 3, 2, 1, {"a", "#1"}},
        LoadCase{"EmptyArrayAndEmptyFile", "", 2, 0, 1, {}},
        LoadCase{"EmptyArrayAndOneLine", "a", 2, 0, -3, {}},
        LoadCase{"HugeCountSmallFile",
                 "a\r\n",
                 std::numeric_limits<std::int32_t>::max(),
                 2,
                 1,
                 {"a", "#1"}},
        LoadCase{"ZeroCountOpensNothing", "a\r\n", 0, 2, -2, {"#0", "#1"}},
        LoadCase{"NegativeCountOpensNothing", "a\r\n", -1, 2, -2, {"#0", "#1"}},
        LoadCase{"LowestCountOpensNothing",
                 "a\r\n",
                 std::numeric_limits<std::int32_t>::min(),
                 2,
                 -2,
                 {"#0", "#1"}}),
    [](const ::testing::TestParamInfo<LoadCase>& info) { return std::string(info.param.name); });

using Faults = MemoryFileSystem::Faults;

Faults OpenFails() {
  Faults faults;
  faults.open = std::errc::permission_denied;
  return faults;
}

Faults ReadFailsAfter(std::size_t bytes) {
  Faults faults;
  faults.readFailsAfter = bytes;
  return faults;
}

struct FaultCase {
  const char* name;
  MemoryFileSystem::Faults faults;
  std::int16_t result;
  std::vector<std::string> lines;  // the whole array afterwards
};

void PrintTo(const FaultCase& c, std::ostream* out) { *out << c.name; }

class LoadTextLinesFault : public ::testing::TestWithParam<FaultCase> {};

// The file system's failures, as a disk or a network share gives them.
TEST_P(LoadTextLinesFault, IsReported) {
  const FaultCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFile("/d/velorin.ini", "a\r\nb\r\nc\r\n");
  files.FaultsOf("/d/velorin.ini") = c.faults;
  std::vector<std::string> lines = Marked(3);
  EXPECT_EQ(LoadTextLines(files, "/d/velorin.ini", 3, lines), c.result);
  EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, LoadTextLinesFault,
    ::testing::Values(FaultCase{"OpenRefused", OpenFails(), -1, {"#0", "#1", "#2"}},
                      FaultCase{"ReadFailsAtOnce", ReadFailsAfter(0), -3, {"#0", "#1", "#2"}},
                      FaultCase{
                          "ReadFailsWithinTheSecondLine", ReadFailsAfter(4), -3, {"a", "#1", "#2"}},
                      // The failure comes after the last line wanted: all were read.
                      FaultCase{"ReadFailsAtTheEnd", ReadFailsAfter(9), 0, {"a", "b", "c"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(LoadTextLines, MissingFileLeavesArrayUnchanged) {
  LocalFileSystem disk;
  TempFolder folder;
  std::vector<std::string> lines = Marked(3);
  EXPECT_EQ(LoadTextLines(disk, folder.PathOf("missing.ini"), 3, lines), -1);
  EXPECT_EQ(lines, Marked(3));
}

TEST(LoadTextLines, BadCountWinsOverMissingFile) {
  LocalFileSystem disk;
  TempFolder folder;
  std::vector<std::string> lines = Marked(1);
  EXPECT_EQ(LoadTextLines(disk, folder.PathOf("missing.ini"), 0, lines), -2);
  EXPECT_EQ(lines, Marked(1));
}

TEST(LoadTextLines, FolderCannotBeOpened) {
  LocalFileSystem disk;
  TempFolder folder;
  std::vector<std::string> lines = Marked(2);
  EXPECT_EQ(LoadTextLines(disk, folder.path().string(), 2, lines), -1);
  EXPECT_EQ(lines, Marked(2));
}

TEST(LoadTextLines, LineLongerThanAnyBufferIsReadWhole) {
  LocalFileSystem disk;
  TempFolder folder;
  const std::string longLine(300000, 'x');
  const std::string path = folder.Write("long.txt", longLine + "\r\nshort\r\n");
  std::vector<std::string> lines(2);
  EXPECT_EQ(LoadTextLines(disk, path, 2, lines), 0);
  EXPECT_EQ(lines[0], longLine);
  EXPECT_EQ(lines[1], "short");
}

TEST(LoadTextLines, FileCanBeLoadedAgainAfterwards) {
  LocalFileSystem disk;
  // The loader closes the file: replacing it and reading it again works.
  TempFolder folder;
  const std::string path = folder.Write("again.txt", "one\r\n");
  std::vector<std::string> lines(1);
  ASSERT_EQ(LoadTextLines(disk, path, 1, lines), 0);
  folder.Write("again.txt", "two\r\n");
  ASSERT_EQ(LoadTextLines(disk, path, 1, lines), 0);
  EXPECT_EQ(lines[0], "two");
}

}  // namespace
}  // namespace velorin
