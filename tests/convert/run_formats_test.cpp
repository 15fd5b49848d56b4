// The run between formats other than POT and NVI: the same stages, counts
// and ends, with the writer's first and last parts around the points.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "run_fixture.h"

namespace velorin::testing {
namespace {

/// Tells every skip as "LINE reason".
class SkipRecorder : public RunObserver {
 public:
  void OnSkipped(std::int64_t line, SkipKind, std::string_view reason) override {
    told.push_back(std::to_string(line) + " " + std::string(reason));
  }
  std::vector<std::string> told;
};

class RunFormatsTest : public RunTest {
 protected:
  RunFormatsTest() {
    host.inputPath = folder.PathOf("in.csv");
    host.outputPath = folder.PathOf("out.gpx");
  }
  static RunOptions CsvTo(PointFormat output) {
    RunOptions options;
    options.inputFormat = PointFormat::kCsv;
    options.outputFormat = output;
    return options;
  }
};

TEST_F(RunFormatsTest, CountsEverySkipByKindAndTellsIt) {
  // West of Greenwich is on the globe; 95 degrees north is not.
  WriteInput("name,lat,lon\nA,1,1\nW,2,-1\n,2,2\nC,95,1\nD,x,1\n");
  SkipRecorder observer;
  RunOptions options = CsvTo(PointFormat::kGpx);
  options.observer = &observer;
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.skipped.untitled, 1);
  EXPECT_EQ(outcome.skipped.outOfRange, 1);
  EXPECT_EQ(outcome.skipped.malformed, 1);
  ASSERT_EQ(observer.told.size(), 3u);
  EXPECT_EQ(observer.told[0], "4 no title");
  EXPECT_EQ(observer.told[1], "5 latitude 95 is outside -90 to 90 degrees");
  EXPECT_EQ(Output().rfind("</gpx>\n"), Output().size() - 7);
  // The finished message gives the skipped points a line of their own.
  EXPECT_EQ(LastBox().text, "m106\r\nm107 2\r\nm113 3 (m114 1, m115 1, m116 1)");
}

TEST_F(RunFormatsTest, RecordLimitOfNviNamesTheLineOfTheFirstEntryLeft) {
  host.outputPath = folder.PathOf("out.nvi");
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\n\nD,1,1\n");
  RunOptions options = CsvTo(PointFormat::kNvi);
  options.recordLimit = 2;
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.firstLineNotConverted, 5);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 2\r\nm112 5");
}

TEST_F(RunFormatsTest, OtherFormatsHaveNoRecordLimit) {
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\nC,1,1\n");
  RunOptions options = CsvTo(PointFormat::kGpx);
  options.recordLimit = 2;
  EXPECT_EQ(RunAnsweringYes(RunMessage::kFinished, options).records, 3);
}

TEST_F(RunFormatsTest, CancelKeepsAWholeFileOfThePointsSoFar) {
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\nC,1,1\n");
  host.OnProcessEvents(2, [this] { host.cancelRequested = true; });
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kCancelled, CsvTo(PointFormat::kGpx));
  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_NE(Output().find("</gpx>"), std::string::npos);
}

TEST_F(RunFormatsTest, AnInputItsReaderRefusesFailsTheReadStage) {
  WriteInput("name,lat,lon\nA,1,1\n\"B,1,1\n");
  host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
  host.ExpectBox(RunMessage::kFailure);
  const RunOutcome outcome = Run(CsvTo(PointFormat::kGpx));
  EXPECT_EQ(outcome.failedStage, RunStage::kReadLine);
  ASSERT_TRUE(outcome.readFailure.has_value());
  EXPECT_EQ(outcome.readFailure->line, 3);
  EXPECT_FALSE(Exists(host.outputPath));
}

}  // namespace
}  // namespace velorin::testing
