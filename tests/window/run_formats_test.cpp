// The run between formats other than POT and NVI: the same stages, counts
// and ends, with the writer's first and last parts around the points.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "convert/run_summary.h"
#include "formats/format_table.h"
#include "run_fixture.h"

namespace velorin::testing {
namespace {

/// Tells every skip as "LINE reason".
class SkipRecorder : public RunObserver {
 public:
  void OnSkipped(const ReadEntry& entry, SkipKind, std::string_view reason) override {
    const std::int64_t line = entry.point.line;
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
  static WindowRunOptions CsvTo(PointFormat output) {
    WindowRunOptions options;
    options.inputFormat = PointFormat::kCsv;
    options.run.outputFormat = output;
    return options;
  }
};

TEST_F(RunFormatsTest, CountsEverySkipByKindAndTellsIt) {
  // West of Greenwich is on the globe; 95 degrees north is not.
  WriteInput("name,lat,lon\nA,1,1\nW,2,-1\n,2,2\nC,95,1\nD,x,1\n");
  SkipRecorder observer;
  WindowRunOptions options = CsvTo(PointFormat::kGpx);
  options.run.observer = &observer;
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

// "NVI in the Tokyo datum": a position beyond what its own format holds is
// skipped before the move, which would take it round the globe into
// NVI's range (-200 degrees to 160 east).
TEST_F(RunFormatsTest, APositionOutsideItsFormatIsSkippedBeforeTheDatumMovesIt) {
  WriteInput("name,lat,lon\nbad,33.5,-200\nok,35.6,139.7\n");
  host.outputPath = folder.PathOf("out.nvi");
  SkipRecorder observer;
  WindowRunOptions options = CsvTo(PointFormat::kNvi);
  options.run.outputDatum = Datum::kTokyo;
  options.run.observer = &observer;
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(observer.told,
            (std::vector<std::string>{"2 longitude -200 is outside -180 to 180 degrees"}));
  EXPECT_EQ(LastBox().text, "m106\r\nm107 1\r\nm113 1 (m115 1)");
}

/// Tells every changed title as "LINE change".
class TitleRecorder : public RunObserver {
 public:
  void OnSkipped(const ReadEntry&, SkipKind, std::string_view) override {}
  void OnTitleChanged(const Point& point, TitleChange change) override {
    told.push_back(std::to_string(point.line) + " " + std::to_string(static_cast<int>(change)));
  }
  std::vector<std::string> told;
};

// Every title that reaches the output other than the input gave it is
// counted and told: white space tidied on the way in, CP932 codes that
// UTF-8 holds only as others on the way out.
TEST_F(RunFormatsTest, TitlesChangedOnTheWayAreCountedAndTold) {
  WriteInput("name,lat,lon\nA  B,1,1\n\" C \",1,1\n\"D\tE\",1,1\n\xED\x40,1,1\nF,1,1\n");
  TitleRecorder observer;
  WindowRunOptions options = CsvTo(PointFormat::kCsv);
  options.run.inputEncoding = TextEncoding::kCp932;
  options.run.observer = &observer;
  host.outputPath = folder.PathOf("out.csv");
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 5);
  EXPECT_EQ(outcome.titles.tidied, 2);
  EXPECT_EQ(outcome.titles.recoded, 1);
  const auto tidied = std::to_string(static_cast<int>(TitleChange::kTidied));
  const auto recoded = std::to_string(static_cast<int>(TitleChange::kRecoded));
  EXPECT_EQ(observer.told,
            (std::vector<std::string>{"2 " + tidied, "4 " + tidied, "5 " + recoded}));
}

TEST_F(RunFormatsTest, RecordLimitOfNviNamesTheLineOfTheFirstEntryLeft) {
  host.outputPath = folder.PathOf("out.nvi");
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\n\nD,1,1\n");
  WindowRunOptions options = CsvTo(PointFormat::kNvi);
  options.run.recordLimit = 2;
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(outcome.firstLineNotConverted, 5);
  EXPECT_EQ(LastBox().text, "m106\r\nm107 2\r\nm112 5");
}

TEST_F(RunFormatsTest, OtherFormatsHaveNoRecordLimit) {
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\nC,1,1\n");
  WindowRunOptions options = CsvTo(PointFormat::kGpx);
  options.run.recordLimit = 2;
  EXPECT_EQ(RunAnsweringYes(RunMessage::kFinished, options).records, 3);
}

TEST_F(RunFormatsTest, CancelKeepsAWholeFileOfThePointsSoFar) {
  WriteInput("name,lat,lon\nA,1,1\nB,1,1\nC,1,1\n");
  host.Answer(RunMessage::kCancelQuestion, MessageAnswer::kYes);
  host.OnProcessEvents(2, [this] { RequestCancel(host); });
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

// GeoJSON geometries that are no points are counted by kind, and the
// summary names each.
TEST_F(RunFormatsTest, GeometriesThatAreNoPointsAreSummedUpByKind) {
  host.inputPath = folder.PathOf("in.geojson");
  WriteInput(
      "{\"type\": \"FeatureCollection\", \"features\": [\n"
      "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\"}, "
      "\"geometry\": {\"type\": \"Point\", \"coordinates\": [1, 2]}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", \"coordinates\": []}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"MultiLineString\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"MultiPolygon\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Curve\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": null}]}\n");
  WindowRunOptions options;
  options.inputFormat = PointFormat::kGeoJson;
  options.run.outputFormat = PointFormat::kGpx;
  const RunOutcome outcome = RunAnsweringYes(RunMessage::kFinished, options);
  EXPECT_EQ(outcome.records, 1);
  EXPECT_EQ(SummarizeRun(outcome, PointFormat::kGeoJson, PointFormat::kGpx).ignored,
            "1 LineString, 1 MultiLineString, 1 MultiPolygon, 1 geometry of a type GeoJSON "
            "lacks and 1 feature without a geometry ignored");
}

/// A FeatureCollection of `features` Point features, a LineString after
/// every seventh, each on a line of its own; `tail` closes it.
std::string ManyFeatures(int features, std::string_view tail = "]}\n") {
  std::string json = "{\"type\": \"FeatureCollection\", \"features\": [\n";
  for (int i = 1; i <= features; ++i) {
    json += "{\"type\": \"Feature\", \"properties\": {\"name\": \"P" + std::to_string(i) +
            "\"}, \"geometry\": {\"type\": \"Point\", \"coordinates\": [135, 35]}},\n";
    if (i % 7 == 0) {
      json +=
          "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", "
          "\"coordinates\": [[1, 2], [3, 4]]}},\n";
    }
  }
  json += "{\"type\": \"Feature\", \"properties\": {}, \"geometry\": null}\n";
  json += tail;
  return json;
}

/// A GPX file of `waypoints` waypoints, each on a line of its own, a route
/// after every fifth; `tail` closes it.
std::string ManyWaypoints(int waypoints, std::string_view tail = "</gpx>\n") {
  std::string gpx = "<gpx xmlns=\"http://www.topografix.com/GPX/1/1\" version=\"1.1\">\n";
  for (int i = 1; i <= waypoints; ++i) {
    gpx += "<wpt lat=\"35\" lon=\"135\"><name>W" + std::to_string(i) + "</name></wpt>\n";
    if (i % 5 == 0) gpx += "<rte><rtept lat=\"1\" lon=\"2\"/></rte>\n";
  }
  gpx += tail;
  return gpx;
}

struct ReadAheadRunCase {
  std::string name;
  PointFormat format;
  std::string input;
  std::int32_t recordLimit;
  RunMessage lastBox;
};

class RunReadAheadTest : public RunTest, public ::testing::WithParamInterface<ReadAheadRunCase> {};

// A file read on a second thread converts exactly as one read on the run's
// own: the same bytes, counts, limit line and failure, whether the run reads
// to the end, stops at the record limit or at a broken file.
TEST_P(RunReadAheadTest, ConvertsAsTheRunAlone) {
  const ReadAheadRunCase& c = GetParam();
  if (!InfoOf(c.format).makeReader) GTEST_SKIP() << "this build reads no " << c.name;
  host.inputPath = folder.PathOf("in" + std::string(InfoOf(c.format).extension));
  WriteInput(c.input);
  RunOutcome outcomes[2];
  std::string outputs[2];
  for (const bool readAhead : {false, true}) {
    WindowRunOptions options;
    options.inputFormat = c.format;
    options.run.recordLimit = c.recordLimit;
    options.run.readAhead = readAhead;
    host.settings[3] = "1";  // the log
    std::remove(host.outputPath.c_str());
    std::remove(LogPath().c_str());
    host.Answer(RunMessage::kStartQuestion, MessageAnswer::kYes);
    host.ExpectBox(c.lastBox);
    RunOutcome& outcome = outcomes[readAhead ? 1 : 0];
    outcome = Run(options);
    outputs[readAhead ? 1 : 0] = Exists(host.outputPath) ? Output() + ReadBytes(LogPath()) : "";
  }
  const RunOutcome& alone = outcomes[0];
  const RunOutcome& ahead = outcomes[1];
  EXPECT_EQ(ahead.result, alone.result);
  EXPECT_EQ(ahead.records, alone.records);
  EXPECT_EQ(ahead.firstLineNotConverted, alone.firstLineNotConverted);
  EXPECT_EQ(ahead.skipped.total(), alone.skipped.total());
  EXPECT_EQ(ahead.ignored.counts, alone.ignored.counts);
  EXPECT_EQ(ahead.inputHeldBytes, alone.inputHeldBytes);
  ASSERT_EQ(ahead.readFailure.has_value(), alone.readFailure.has_value());
  if (alone.readFailure) {
    EXPECT_EQ(ahead.readFailure->line, alone.readFailure->line);
  }
  EXPECT_EQ(outputs[1], outputs[0]);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RunReadAheadTest,
    ::testing::Values(ReadAheadRunCase{"ToTheEnd", PointFormat::kGeoJson, ManyFeatures(2000), 0,
                                       RunMessage::kFinished},
                      ReadAheadRunCase{"RecordLimitAmidABatch", PointFormat::kGeoJson,
                                       ManyFeatures(2000), 300, RunMessage::kFinished},
                      ReadAheadRunCase{"RecordLimitAtTheLastPoint", PointFormat::kGeoJson,
                                       ManyFeatures(600), 600, RunMessage::kFinished},
                      ReadAheadRunCase{"BrokenAfterManyBatches", PointFormat::kGeoJson,
                                       ManyFeatures(1500, "}"), 0, RunMessage::kFailure},
                      ReadAheadRunCase{"Empty", PointFormat::kGeoJson, "", 0, RunMessage::kFailure},
                      ReadAheadRunCase{"GpxRecordLimit", PointFormat::kGpx, ManyWaypoints(2000),
                                       700, RunMessage::kFinished},
                      ReadAheadRunCase{"GpxBroken", PointFormat::kGpx,
                                       ManyWaypoints(1000, "</wpt>"), 0, RunMessage::kFailure}),
    [](const ::testing::TestParamInfo<ReadAheadRunCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velorin::testing
