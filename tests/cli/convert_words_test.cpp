// What velorin-cli says, under --explain and in its report, of files as
// people have them: a header that names no title or a column twice, a
// position outside what its own format holds once a datum is named, bytes
// that are no CP932 character, a text cut at 64 KiB.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"
#include "geo/datum_shift.h"
#include "tests/support/temp_folder.h"

namespace velorin {
namespace {

using testutil::TempFolder;
using testutil::WriteBytes;

struct WordsCase {
  const char* name;
  std::string input;  ///< the input's name, its extension the format
  std::string bytes;
  std::string output;
  Datum inputDatum;
  /// Standard error, every path as "IN", the datum's operation as
  /// "OPERATION".
  std::string messages;
};

void PrintTo(const WordsCase& c, std::ostream* out) { *out << c.name; }

constexpr Datum kWgs84 = Datum::kWgs84;
constexpr Datum kTokyo = Datum::kTokyo;

class ConvertWordsTest : public ::testing::TestWithParam<WordsCase> {};

TEST_P(ConvertWordsTest, SaysWhatBecameOfTheInput) {
  const WordsCase& c = GetParam();
  TempFolder folder;
  ASSERT_TRUE(folder.ok());
  WriteBytes(folder.PathOf(c.input), c.bytes);
  ConvertOptions options;
  options.input = folder.PathOf(c.input);
  options.output = folder.PathOf(c.output);
  if (c.output.ends_with(".nvi")) options.timestamp = "2010/04/01 14:30:00";
  options.explain = true;
  options.inputDatum = c.inputDatum;
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), kExitDone);
  std::string said = err.str();
  for (const std::string& path : {folder.PathOf(c.output), folder.PathOf(c.input)}) {
    for (std::size_t at = said.find(path); at != std::string::npos; at = said.find(path)) {
      said.replace(at, path.size(), "IN");
    }
  }
  std::string why;
  const std::string operation = MakeDatumShift(kTokyo, kWgs84, why)->Operation();
  if (const std::size_t at = said.find(operation); at != std::string::npos) {
    said.replace(at, operation.size(), "OPERATION");
  }
  EXPECT_EQ(said, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConvertWordsTest,
    ::testing::Values(
        WordsCase{"NoTitleColumn", "stops.csv", "id,lat,lon\n1,35.6,139.7\n", "out.nvi", kWgs84,
                  "IN: no column of the header names a title (name, title, label, 名称, 名前, "
                  "施設名 or stop_name): the points are untitled; read are the latitude from "
                  "\"lat\" (column 2), the longitude from \"lon\" (column 3)\n"
                  "1 record written to IN\n"
                  "velorin-cli: no column of the header names a title (name, title, label, 名称, "
                  "名前, 施設名 or stop_name): the points are untitled; read are the latitude "
                  "from \"lat\" (column 2), the longitude from \"lon\" (column 3)\n"},
        WordsCase{"LatitudeTwice", "in.csv", "name,lat,lon,lat\nA,35.6,139.7,1\n", "out.nvi",
                  kWgs84,
                  "IN: the header names the latitude in \"lat\" (column 2) and \"lat\" (column "
                  "4): the first is read\n"
                  "1 record written to IN\n"
                  "velorin-cli: the header names the latitude in \"lat\" (column 2) and \"lat\" "
                  "(column 4): the first is read\n"},
        WordsCase{"BeyondItsOwnRangeBeforeTheDatum", "in.csv",
                  "name,lat,lon\nbad,33.5,-200\nwest,35,-5\nok,35.6,139.7\n", "out.nvi", kTokyo,
                  "2: longitude -200 is outside -180 to 180 degrees\n"
                  "3: longitude -5 is outside 0 to 180 degrees\n"
                  "1 record written to IN\n"
                  "velorin-cli: 2 points skipped: 2 outside 0 to 180 degrees\n"
                  "velorin-cli: 1 record moved from the Tokyo datum to WGS 84 by OPERATION\n"},
        WordsCase{"PotLatitudeBeyondThePole", "in.pot",
                  "ORD=POI/tex=A/kei=139'0'0'0/ido=95'0'0'0\r\n", "out.nvi", kTokyo,
                  "1: cannot be moved from the Tokyo datum to WGS 84: latitude beyond 90 degrees\n"
                  "0 records written to IN\n"
                  "velorin-cli: 1 point line skipped: 1 that cannot be moved from the Tokyo "
                  "datum to WGS 84: latitude beyond 90 degrees\n"},
        WordsCase{"LeadByteBeforeTheBrace", "in.csv",
                  "name,lat,lon\n\x93\x8C\x8B\x9E,35.6,139.7\nA\x81,35.6,139.7\n", "out.nvi",
                  kWgs84,
                  "3: title's bytes that are no whole CP932 character replaced: A\xEF\xBF\xBD\n"
                  "2 records written to IN\n"
                  "velorin-cli: read as CP932 (Shift_JIS)\n"
                  "velorin-cli: 1 title with bytes that are no whole CP932 character, written "
                  "as \"?\"\n"},
        WordsCase{"DescriptionCutAt64KiB", "in.gpx",
                  "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><wpt "
                  "lat=\"35.6\" lon=\"139.7\"><name>A</name><desc>" +
                      std::string(70'000, 'd') + "</desc></wpt></gpx>\n",
                  "out.gpx", kWgs84,
                  "1 point written to IN\n"
                  "velorin-cli: 1 description cut at 65536 bytes, on a character's edge: the "
                  "most of one text read\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
