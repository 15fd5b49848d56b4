// What a run makes of the texts files give it, seen in what it writes and
// in its summary: one table per rule, each row a file as someone would
// have it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "convert/run_summary.h"
#include "tests/convert/memory_run.h"

namespace velorin::testing {
namespace {

struct TextCase {
  const char* name;
  PointFormat from;
  std::string input;
  PointFormat to;
  const char* nviFields;  ///< "" for none
  /// Pieces the output holds, each somewhere.
  std::vector<std::string> written;
  /// Lines the summary holds, each exactly.
  std::vector<std::string> summary;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

class TextsOfARun : public ::testing::TestWithParam<TextCase> {};

TEST_P(TextsOfARun, AreWrittenAndSummedUpAsTheRuleSays) {
  const TextCase& c = GetParam();
  MemoryRun run;
  run.files.AddFile("/in", c.input);
  RunOptions options;
  options.inputs = {{"/in", c.from}};
  options.outputFormat = c.to;
  options.outputPath = "/out";
  options.untitled = UntitledRule::kKeep;
  options.readAhead = false;
  if (*c.nviFields != '\0') options.nviFields = *ParseNviFieldList(c.nviFields);
  const RunOutcome outcome = run.Run(options);
  ASSERT_EQ(outcome.result, RunResult::kFinished);
  const std::string output = run.files.Contents("/out").value_or("");
  for (const std::string& piece : c.written) {
    EXPECT_NE(output.find(piece), std::string::npos) << piece << " not in:\n" << output;
  }
  const std::vector<std::string> lines = SummaryLines(SummarizeRun(outcome, c.from, c.to));
  for (const std::string& line : c.summary) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end())
        << line << "\nnot among:\n"
        << ::testing::PrintToString(lines);
  }
}

constexpr PointFormat kCsv = PointFormat::kCsv;
constexpr PointFormat kGpx = PointFormat::kGpx;
constexpr PointFormat kNvi = PointFormat::kNvi;
constexpr PointFormat kPot = PointFormat::kPot;

// A byte that is no whole CP932 character never reaches a written block.
INSTANTIATE_TEST_SUITE_P(
    BrokenBytes, TextsOfARun,
    ::testing::Values(
        TextCase{"Cp932CsvRow",
                 kCsv,
                 "name,lat,lon,desc\n\x93\x8C\x8B\x9E,35.6,139.7,ok\nA\x81,35.6,139.7,desc\x81\n",
                 kNvi,
                 "all",
                 {" TTL= {A?};\n", " COMM = {desc?};\n"},
                 {"1 title with bytes that are no whole CP932 character, written as \"?\"",
                  "1 description, address or other text with characters replaced (bytes that "
                  "are no whole CP932 character as \"?\")"}},
        TextCase{"Cp932CsvRowIntoGpx",
                 kCsv,
                 "name,lat,lon\n\x93\x8C\x8B\x9E,35.6,139.7\nA\x81,35.6,139.7\n",
                 kGpx,
                 "",
                 {"<name>A\xEF\xBF\xBD</name>"},
                 {"1 title with bytes that are no whole CP932 character, written as U+FFFD"}},
        // A UTF-8 file's bytes that are no UTF-8: "?" in CP932, U+FFFD in a
        // UTF-8 output, in the title as in the row's other texts.
        TextCase{"Utf8CsvRowIntoNvi",
                 kCsv,
                 "\xEF\xBB\xBFname,lat,lon,desc\n\xE6\x9D\xB1,35.6,139.7,ok\nA\xFF,35.6,139.7,"
                 "d\xFF\n",
                 kNvi,
                 "comm",
                 {" TTL= {A?};\n", " COMM = {d?};\n"},
                 {}},
        TextCase{"Utf8CsvRowIntoGpx",
                 kCsv,
                 "\xEF\xBB\xBFname,lat,lon,desc\n\xE6\x9D\xB1,35.6,139.7,ok\nA\xFF,35.6,139.7,"
                 "d\xFF\n",
                 kGpx,
                 "",
                 {"<name>A\xEF\xBF\xBD</name>", "<desc>d\xEF\xBF\xBD</desc>"},
                 {"1 title with control characters replaced"}},
        TextCase{"PotTitleEndingInALeadByte",
                 kPot,
                 "ORD=POI/tex=A\x81/kei=139'0'0'0/ido=35'0'0'0\r\n",
                 kNvi,
                 "",
                 {" TTL= {A?};\n"},
                 {"1 title with bytes that are no whole CP932 character, written as \"?\""}}),
    [](const auto& info) { return std::string(info.param.name); });

// The summary names what was put in for a character, and only that.
INSTANTIATE_TEST_SUITE_P(
    ReplacedCharacters, TextsOfARun,
    ::testing::Values(
        TextCase{"DuplicateCodeIntoGpxNamesNoReplacementCharacter",
                 kCsv,
                 "name,lat,lon\n\xED\x40,35.6,139.7\n",
                 kGpx,
                 "",
                 {},
                 {"1 title with CP932 codes that UTF-8 holds only as others (a duplicate code "
                  "written as the usual one)"}},
        TextCase{"ControlIntoNviFields",
                 kCsv,
                 "name,lat,lon,desc\nA,35.6,139.7,x\x01y\n",
                 kNvi,
                 "comm",
                 {" COMM = {x?y};\n"},
                 {"1 description, address or other text with characters replaced (control "
                  "characters as \"?\")"}},
        TextCase{"ClosestIntoNviFields",
                 kCsv,
                 "name,lat,lon,desc\nA,35.6,139.7,Caf\xC3\xA9\n",
                 kNvi,
                 "comm",
                 {" COMM = {Cafe};\n"},
                 {"1 description, address or other text with characters replaced (closest "
                  "CP932 characters or \"?\")"}},
        TextCase{"NelIntoGpx",
                 kCsv,
                 "name,lat,lon,desc\nA\xC2\x85"
                 "B,35.6,139.7,x\xC2\x85y\n",
                 kGpx,
                 "",
                 {"<name>A\xEF\xBF\xBD"
                  "B</name>",
                  "<desc>x\xEF\xBF\xBDy</desc>"},
                 {"1 title with control characters replaced",
                  "1 description, address or other text with characters replaced (control "
                  "characters as U+FFFD)"}}),
    [](const auto& info) { return std::string(info.param.name); });

const std::string kGpsBabelCsv =
    "No,Latitude,Longitude,Name,Description,Notes,URL,Address,City,PostalCode,State,Country,"
    "Phone\n1,35.600000,139.700000,\"Shop\",\"the comment\",\"the description\","
    "\"http://example.com/a\",\"1-2-3 Ginza\",\"Chuo\",\"104-0061\",\"Tokyo\",\"Japan\","
    "\"03-1234\"\n";

// A second text of a kind, and an address in parts, reach the output; what
// it has no place for is counted.
INSTANTIATE_TEST_SUITE_P(
    SecondTexts, TextsOfARun,
    ::testing::Values(
        TextCase{"GpsBabelCsvIntoGpx",
                 kCsv,
                 kGpsBabelCsv,
                 kGpx,
                 "",
                 {"<cmt>the comment</cmt>", "<desc>the description</desc>",
                  "<gpxx:StreetAddress>1-2-3 Ginza, Chuo, 104-0061, Tokyo, "
                  "Japan</gpxx:StreetAddress>"},
                 {}},
        TextCase{"GpsBabelCsvIntoNviFields",
                 kCsv,
                 kGpsBabelCsv,
                 kNvi,
                 "all",
                 {" ADDR = {1-2-3 Ginza, Chuo, 104-0061, Tokyo, Japan};\n",
                  " COMM = {the description / the comment / TEL 03-1234};\n",
                  " HPGL = {http://example.com/a};\n"},
                 {}},
        TextCase{"SecondLinkIntoPot",
                 PointFormat::kGeoJson,
                 "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\", \"Website\": "
                 "\"https://a/\", \"url\": \"https://b/\"}, \"geometry\": {\"type\": \"Point\", "
                 "\"coordinates\": [139, 35]}}",
                 kPot,
                 "",
                 {},
                 {"1 comment and 1 link not kept: POT has no place for them"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin::testing
