// The entry loop allocates nothing per line: a run over many lines makes as
// many allocations as a run over a few.
#include <gtest/gtest.h>

#include <string>

#include "allocation_counter.h"
#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "tests/support/temp_folder.h"

namespace velorin::testing {
namespace {

using testutil::TempFolder;
using testutil::WriteBytes;

std::string PointLine(const std::string& title) {
  return "ORD=POI/tex=" + title + "/kei=135'0'0'0/ido=35'0'0'0";
}

std::size_t AllocationsOfRun(int repeats) {
  TempFolder folder;
  std::string pot;
  for (int i = 0; i < repeats; ++i) {
    pot += PointLine("Tower " + std::to_string(i)) + "\r\nskipped line\r\nORD=POI/tex=x\r\n" +
           "ORD=POI/kei=139'46'1'6/ido=35'40'52'3\r\n";
  }
  WriteBytes(folder.PathOf("in.pot"), pot);
  LocalFileSystem files;
  FixedClock clock({"2010/04/01", "14:30:00"});
  UnattendedHost host;
  // Untitled points kept, the log on: every line costs all it can.
  RunOptions options;
  options.inputs = {{folder.PathOf("in.pot"), PointFormat::kPot}};
  options.outputPath = folder.PathOf("out.nvi");
  options.untitled = UntitledRule::kKeep;
  options.logPath = folder.PathOf("velorin_log.txt");
  ConversionRun run(host, files, clock, options);

  const std::size_t before = AllocationCount();
  const RunOutcome outcome = run.Execute();
  const std::size_t used = AllocationCount() - before;
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 2 * repeats);
  return used;
}

TEST(ConversionRunMemory, AllocationsDoNotGrowWithTheLines) {
  EXPECT_EQ(AllocationsOfRun(5), AllocationsOfRun(5'000));
}

/// A CSV table of `rows` points, with texts in the columns after the
/// position when `texts`.
std::string CsvTable(int rows, bool texts) {
  std::string csv = texts ? "name,lat,lon,description,address,url,email\r\n" : "name,lat,lon\r\n";
  for (int i = 0; i < rows; ++i) {
    csv += "Shop " + std::to_string(i) + ",35.5,139.5";
    if (texts)
      csv += ",Bakery {" + std::to_string(i) +
             "},1-2-3 Example-cho,https://example.com/,a@example.com";
    csv += "\r\n";
  }
  return csv;
}

struct TextsRunCase {
  const char* name;
  bool texts;
  PointFormat output;
  NviFieldSet nviFields;
};

void PrintTo(const TextsRunCase& c, std::ostream* out) { *out << c.name; }

std::size_t AllocationsOfTextsRun(const TextsRunCase& c, int rows) {
  TempFolder folder;
  WriteBytes(folder.PathOf("in.csv"), CsvTable(rows, c.texts));
  LocalFileSystem files;
  FixedClock clock({"2010/04/01", "14:30:00"});
  UnattendedHost host;
  RunOptions options;
  options.inputs = {{folder.PathOf("in.csv"), PointFormat::kCsv}};
  options.outputPath = folder.PathOf("out");
  options.outputFormat = c.output;
  options.nviFields = c.nviFields;
  ConversionRun run(host, files, clock, options);
  const std::size_t before = AllocationCount();
  const RunOutcome outcome = run.Execute();
  const std::size_t used = AllocationCount() - before;
  EXPECT_EQ(outcome.records, rows);
  return used;
}

class TextsRunMemoryTest : public ::testing::TestWithParam<TextsRunCase> {};

// A point's texts take memory once for the run, not once a point: with or
// without texts, whichever output.
TEST_P(TextsRunMemoryTest, AllocationsDoNotGrowWithThePoints) {
  EXPECT_EQ(AllocationsOfTextsRun(GetParam(), 5), AllocationsOfTextsRun(GetParam(), 5'000));
}

INSTANTIATE_TEST_SUITE_P(
    Runs, TextsRunMemoryTest,
    ::testing::Values(TextsRunCase{"NoTextsToNvi", false, PointFormat::kNvi, {}},
                      TextsRunCase{"TextsNotAskedForInNvi", true, PointFormat::kNvi, {}},
                      TextsRunCase{"TextsIntoNviFields", true, PointFormat::kNvi,
                                   NviFieldSet::All()},
                      TextsRunCase{"TextsIntoCsv", true, PointFormat::kCsv, {}},
                      TextsRunCase{"TextsIntoGeoJson", true, PointFormat::kGeoJson, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin::testing
