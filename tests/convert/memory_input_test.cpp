// An input held in memory: its reader's entries go through the run as a
// file's would (the title rule, the check, the log), it is never opened,
// and its name is never compared with the output's or the log's.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "convert/conversion_run.h"
#include "platform/clock.h"
#include "platform/memory_file_system.h"

namespace velorin::testing {
namespace {

/// Hands out the entries it was given, then ends.
class ListReader : public PointReader {
 public:
  explicit ListReader(std::vector<ReadEntry> entries) : entries_(std::move(entries)) {}
  bool Next(ReadEntry& entry) override {
    if (next_ >= entries_.size()) return false;
    entry = entries_[next_++];
    return true;
  }

 private:
  std::vector<ReadEntry> entries_;
  std::size_t next_ = 0;
};

ReadEntry PointEntry(const std::string& title, double longitude, double latitude) {
  ReadEntry entry;
  entry.point.title = title;
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = Degrees{longitude, latitude};
  return entry;
}

RunInput MemoryInput(const std::string& name, std::vector<ReadEntry> entries) {
  return {name, PointFormat::kGpx, FormatBasis::kExtension,
          [entries] { return std::make_unique<ListReader>(entries); }};
}

const std::vector<ReadEntry> kTwoPoints = {PointEntry("Tower", 139.745, 35.658),
                                           PointEntry("West", -70.0, 35.0)};

struct MemoryInputCase {
  const char* name;
  /// The paths of the run; the memory input is named `input`.
  const char* input;
  const char* output;
  const char* log;  ///< empty: no log
  bool fileFirst;   ///< a POT file is read before the memory input
  RunResult result;
  int records;
  int skipped;
};

class MemoryInputTest : public ::testing::TestWithParam<MemoryInputCase> {};

TEST_P(MemoryInputTest, ReadsTheEntriesWithoutAFile) {
  const MemoryInputCase& c = GetParam();
  MemoryFileSystem files;
  files.AddFolder("/d");
  files.AddFile("/d/in.gpx", "not read");
  files.AddFile("/d/first.pot", "ORD=POI/tex=A/kei=135'0'0'0/ido=35'0'0'0\r\n");
  RunOptions options;
  if (c.fileFirst) options.inputs.push_back({"/d/first.pot", PointFormat::kPot});
  options.inputs.push_back(MemoryInput(c.input, kTwoPoints));
  options.outputPath = c.output;
  options.outputFormat = PointFormat::kCsv;
  if (*c.log != '\0') options.logPath = c.log;
  UnattendedHost host(/*replace=*/true);
  FixedClock clock({});
  const RunOutcome outcome = ConversionRun(host, files, clock, options).Execute();
  EXPECT_EQ(outcome.result, c.result);
  EXPECT_EQ(outcome.records, c.records);
  EXPECT_EQ(outcome.skipped.total(), c.skipped);
  if (c.result == RunResult::kFinished) {
    const std::string written = files.Contents(c.output).value_or("");
    EXPECT_NE(written.find("Tower"), std::string::npos) << written;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, MemoryInputTest,
    ::testing::Values(MemoryInputCase{"Alone", "/d/in.gpx", "/d/out.csv", "", false,
                                      RunResult::kFinished, 2, 0},
                      // The input file's own name as the output: the points in memory
                      // replace it, as the host allowed.
                      MemoryInputCase{"OverItsOwnName", "/d/in.gpx", "/d/in.gpx", "", false,
                                      RunResult::kFinished, 2, 0},
                      MemoryInputCase{"WithALog", "/d/in.gpx", "/d/out.csv", "/d/log.txt", false,
                                      RunResult::kFinished, 2, 0},
                      MemoryInputCase{"AfterAFile", "/d/in.gpx", "/d/out.csv", "", true,
                                      RunResult::kFinished, 3, 0},
                      // A file input still clashes with the output.
                      MemoryInputCase{"FileBeforeItClashes", "/d/in.gpx", "/d/first.pot", "", true,
                                      RunResult::kRefusedSamePath, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MemoryInputTest, EntriesAreCheckedAgainstTheOutput) {
  // NVI holds no west longitude: the second point is skipped, as it would
  // be from a file.
  MemoryFileSystem files;
  files.AddFolder("/d");
  RunOptions options;
  options.inputs = {MemoryInput("/d/in.gpx", kTwoPoints)};
  options.outputPath = "/d/out.nvi";
  UnattendedHost host;
  FixedClock clock({});
  const RunOutcome outcome = ConversionRun(host, files, clock, options).Execute();
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(outcome.skipped.outOfRange, 1);
}

}  // namespace
}  // namespace velorin::testing
