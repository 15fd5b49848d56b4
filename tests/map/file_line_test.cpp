// A skipped point's line as the map shows it: read through the file system
// the file was read through, turned into UTF-8 from the encoding its reading
// chose, cut on a character's edge.
#include "map/file_line.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

// "東京" in CP932 and in UTF-8.
constexpr const char* kTokyoCp932 = "\x93\x8C\x8B\x9E";
constexpr const char* kTokyoUtf8 = "\xE6\x9D\xB1\xE4\xBA\xAC";

struct LineCase {
  const char* name;
  const char* path;
  std::int64_t number;
  TextEncoding encoding;
  std::size_t maxBytes;
  std::string line;
};

void PrintTo(const LineCase& c, std::ostream* out) { *out << c.name; }

class FileLineTest : public ::testing::TestWithParam<LineCase> {
 protected:
  FileLineTest() {
    files_.AddFile("/d/utf8.csv", "name,lat,lon\r\n" + std::string(kTokyoUtf8) + ",1,2\r\nend");
    files_.AddFile("/d/cp932.pot", "ord=poi\n" + std::string(kTokyoCp932) + "\rlast\n");
    files_.AddFile("/d/locked.pot", "ord=poi\n");
    files_.FaultsOf("/d/locked.pot").open = std::errc::permission_denied;
    files_.AddFile("/d/broken.pot", "first line\nsecond line\n");
    files_.FaultsOf("/d/broken.pot").readFailsAfter = 4;
  }
  MemoryFileSystem files_;
};

TEST_P(FileLineTest, IsTheLineInUtf8) {
  const LineCase& c = GetParam();
  EXPECT_EQ(ReadFileLine(files_, c.path, c.number, c.encoding, c.maxBytes), c.line);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, FileLineTest,
    ::testing::Values(
        LineCase{"FirstLine", "/d/utf8.csv", 1, TextEncoding::kUtf8, 80, "name,lat,lon"},
        LineCase{"Utf8Kept", "/d/utf8.csv", 2, TextEncoding::kUtf8, 80,
                 std::string(kTokyoUtf8) + ",1,2"},
        LineCase{"LastLineWithoutEnd", "/d/utf8.csv", 3, TextEncoding::kUtf8, 80, "end"},
        LineCase{"Cp932Decoded", "/d/cp932.pot", 2, TextEncoding::kCp932, 80, kTokyoUtf8},
        LineCase{"LoneCrEndsALine", "/d/cp932.pot", 3, TextEncoding::kCp932, 80, "last"},
        LineCase{"CutOnACharactersEdge", "/d/cp932.pot", 2, TextEncoding::kCp932, 4,
                 "\xE6\x9D\xB1"},
        LineCase{"CutInAscii", "/d/utf8.csv", 1, TextEncoding::kUtf8, 4, "name"},
        LineCase{"PastTheEnd", "/d/utf8.csv", 4, TextEncoding::kUtf8, 80, ""},
        LineCase{"NumberZero", "/d/utf8.csv", 0, TextEncoding::kUtf8, 80, ""},
        LineCase{"MissingFile", "/d/missing.csv", 1, TextEncoding::kUtf8, 80, ""},
        LineCase{"FileNotOpened", "/d/locked.pot", 1, TextEncoding::kCp932, 80, ""},
        LineCase{"ReadFailsBeforeTheLine", "/d/broken.pot", 2, TextEncoding::kCp932, 80, ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct EncodingCase {
  const char* name;
  PointFormat format;
  TextEncoding read;
  TextEncoding lines;
};

void PrintTo(const EncodingCase& c, std::ostream* out) { *out << c.name; }

class LineEncodingTest : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(LineEncodingTest, IsTheOneTheReadingChoseWhereItChose) {
  const EncodingCase& c = GetParam();
  MapReadResult read;
  read.format = c.format;
  read.outcome.inputEncoding = c.read;
  EXPECT_EQ(LineEncodingOf(read), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LineEncodingTest,
    ::testing::Values(
        EncodingCase{"PotReadAsUtf8", PointFormat::kPot, TextEncoding::kUtf8, TextEncoding::kUtf8},
        EncodingCase{"PotReadAsCp932", PointFormat::kPot, TextEncoding::kCp932,
                     TextEncoding::kCp932},
        EncodingCase{"CsvReadAsCp932", PointFormat::kCsv, TextEncoding::kCp932,
                     TextEncoding::kCp932},
        // The run leaves CP932 where no text encoding was chosen.
        EncodingCase{"GpxIsUtf8", PointFormat::kGpx, TextEncoding::kCp932, TextEncoding::kUtf8},
        EncodingCase{"GeoJsonIsUtf8", PointFormat::kGeoJson, TextEncoding::kCp932,
                     TextEncoding::kUtf8}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
