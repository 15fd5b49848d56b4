// The run between formats other than POT and NVI, on files in memory: the
// same counts, skips, limits and failures, and a file read on a second
// thread converted exactly as one read on the run's own.
#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "convert/run_summary.h"
#include "formats/format_table.h"
#include "memory_run.h"

namespace velorin::testing {
namespace {

/// Tells every skip as "LINE reason" and every changed title as "LINE
/// change".
class Told : public RunObserver {
 public:
  void OnSkipped(const ReadEntry& entry, SkipKind, std::string_view reason) override {
    skips.push_back(std::to_string(entry.point.line) + " " + std::string(reason));
  }
  void OnTitleChanged(const Point& point, TitleChange change) override {
    titles.push_back(std::to_string(point.line) + " " + std::to_string(static_cast<int>(change)));
  }
  std::vector<std::string> skips;
  std::vector<std::string> titles;
};

RunOptions CsvTo(PointFormat output, std::string outputPath) {
  return {.inputs = {{"/in.csv", PointFormat::kCsv}},
          .outputPath = std::move(outputPath),
          .outputFormat = output};
}

struct SkipCase {
  const char* name;
  std::string csv;
  PointFormat output;
  Datum outputDatum;
  std::int32_t records;
  SkipCounts skipped;
  std::vector<std::string> told;
};

// Every skip is counted by its kind and told with its line; a position
// beyond what its own format holds is skipped before a datum move, which
// would take it round the globe into NVI's range (-200 to 160 east).
TEST(RunFormats, CountsEverySkipByKindAndTellsIt) {
  const SkipCase cases[] = {
      // West of Greenwich is on the globe; 95 degrees north is not.
      {"CsvToGpx",
       "name,lat,lon\nA,1,1\nW,2,-1\n,2,2\nC,95,1\nD,x,1\n",
       PointFormat::kGpx,
       Datum::kWgs84,
       2,
       {.untitled = 1, .outOfRange = 1, .malformed = 1},
       {"4 no title", "5 latitude 95 is outside -90 to 90 degrees",
        "6 latitude 'x' is not a number"}},
      {"CsvToNviInTheTokyoDatum",
       "name,lat,lon\nbad,33.5,-200\nok,35.6,139.7\n",
       PointFormat::kNvi,
       Datum::kTokyo,
       1,
       {.outOfRange = 1},
       {"2 longitude -200 is outside -180 to 180 degrees"}},
  };
  for (const SkipCase& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRun run;
    run.files.AddFile("/in.csv", c.csv);
    run.files.AddFolder("/out");
    Told told;
    RunOptions options = CsvTo(c.output, "/out/out");
    options.outputDatum = c.outputDatum;
    options.observer = &told;
    const RunOutcome outcome = run.Run(options);
    EXPECT_EQ(outcome.records, c.records);
    EXPECT_EQ(outcome.skipped.untitled, c.skipped.untitled);
    EXPECT_EQ(outcome.skipped.outOfRange, c.skipped.outOfRange);
    EXPECT_EQ(outcome.skipped.malformed, c.skipped.malformed);
    EXPECT_EQ(told.skips, c.told);
  }
}

// Every title that reaches the output other than the input gave it is
// counted and told: white space tidied on the way in, CP932 codes that
// UTF-8 holds only as others on the way out.
TEST(RunFormats, TitlesChangedOnTheWayAreCountedAndTold) {
  MemoryRun run;
  run.files.AddFile("/in.csv",
                    "name,lat,lon\nA  B,1,1\n\" C \",1,1\n\"D\tE\",1,1\n\xED\x40,1,1\nF,1,1\n");
  run.files.AddFolder("/out");
  Told told;
  RunOptions options = CsvTo(PointFormat::kCsv, "/out/out.csv");
  options.inputEncoding = TextEncoding::kCp932;
  options.observer = &told;
  const RunOutcome outcome = run.Run(options);
  EXPECT_EQ(outcome.records, 5);
  EXPECT_EQ(outcome.titles.tidied, 2);
  EXPECT_EQ(outcome.titles.recoded, 1);
  const auto tidied = std::to_string(static_cast<int>(TitleChange::kTidied));
  const auto recoded = std::to_string(static_cast<int>(TitleChange::kRecoded));
  EXPECT_EQ(told.titles, (std::vector<std::string>{"2 " + tidied, "4 " + tidied, "5 " + recoded}));
}

// The record limit holds for NVI only; the line of the first entry left is
// named (a blank line is no entry).
TEST(RunFormats, OnlyNviHasARecordLimit) {
  struct Case {
    PointFormat output;
    std::int32_t records;
    std::int64_t firstLineNotConverted;
  };
  for (const Case& c : {Case{PointFormat::kNvi, 2, 5}, Case{PointFormat::kGpx, 3, 0}}) {
    SCOPED_TRACE(DisplayName(c.output));
    MemoryRun run;
    run.files.AddFile("/in.csv", "name,lat,lon\nA,1,1\nB,1,1\n\nD,1,1\n");
    run.files.AddFolder("/out");
    RunOptions options = CsvTo(c.output, "/out/out");
    options.recordLimit = 2;
    const RunOutcome outcome = run.Run(options);
    EXPECT_EQ(outcome.result, RunResult::kFinished);
    EXPECT_EQ(outcome.records, c.records);
    EXPECT_EQ(outcome.firstLineNotConverted, c.firstLineNotConverted);
  }
}

TEST(RunFormats, AnInputItsReaderRefusesFailsTheReadStage) {
  MemoryRun run;
  run.files.AddFile("/in.csv", "name,lat,lon\nA,1,1\n\"B,1,1\n");
  run.files.AddFolder("/out");
  const RunOutcome outcome = run.Run(CsvTo(PointFormat::kGpx, "/out/out.gpx"));
  EXPECT_EQ(outcome.result, RunResult::kFailed);
  EXPECT_EQ(outcome.failedStage, RunStage::kReadLine);
  ASSERT_TRUE(outcome.readFailure.has_value());
  EXPECT_EQ(outcome.readFailure->line, 3);
  EXPECT_EQ(run.files.Contents("/out/out.gpx"), std::nullopt);
}

// GeoJSON geometries that are no points are counted by kind, and the
// summary names each.
TEST(RunFormats, GeometriesThatAreNoPointsAreSummedUpByKind) {
  MemoryRun run;
  run.files.AddFile(
      "/in.geojson",
      "{\"type\": \"FeatureCollection\", \"features\": [\n"
      "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\"}, "
      "\"geometry\": {\"type\": \"Point\", \"coordinates\": [1, 2]}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"LineString\", \"coordinates\": []}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"MultiLineString\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"MultiPolygon\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": {\"type\": \"Curve\"}},\n"
      "{\"type\": \"Feature\", \"geometry\": null}]}\n");
  run.files.AddFolder("/out");
  const RunOutcome outcome = run.Run({.inputs = {{"/in.geojson", PointFormat::kGeoJson}},
                                      .outputPath = "/out/out.gpx",
                                      .outputFormat = PointFormat::kGpx});
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
  RunResult result;
};

class RunReadAheadTest : public ::testing::TestWithParam<ReadAheadRunCase> {};

// A file read on a second thread converts exactly as one read on the run's
// own: the same bytes, counts, limit line and failure, whether the run reads
// to the end, stops at the record limit or at a broken file.
TEST_P(RunReadAheadTest, ConvertsAsTheRunAlone) {
  const ReadAheadRunCase& c = GetParam();
  if (!ReadsFormat(c.format)) GTEST_SKIP() << "this build reads no " << c.name;
  RunOutcome outcomes[2];
  std::string outputs[2];
  for (const bool readAhead : {false, true}) {
    MemoryRun run;
    run.files.AddFile("/in", c.input);
    run.files.AddFolder("/out");
    RunOutcome& outcome = outcomes[readAhead ? 1 : 0];
    outcome = run.Run({.inputs = {{"/in", c.format}},
                       .logPath = "/out/log.txt",
                       .recordLimit = c.recordLimit,
                       .readAhead = readAhead});
    EXPECT_EQ(outcome.result, c.result);
    outputs[readAhead ? 1 : 0] = run.files.Contents("/out/out.nvi").value_or("") +
                                 run.files.Contents("/out/log.txt").value_or("");
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
                                       RunResult::kFinished},
                      ReadAheadRunCase{"RecordLimitAmidABatch", PointFormat::kGeoJson,
                                       ManyFeatures(2000), 300, RunResult::kFinished},
                      ReadAheadRunCase{"RecordLimitAtTheLastPoint", PointFormat::kGeoJson,
                                       ManyFeatures(600), 600, RunResult::kFinished},
                      ReadAheadRunCase{"BrokenAfterManyBatches", PointFormat::kGeoJson,
                                       ManyFeatures(1500, "}"), 0, RunResult::kFailed},
                      ReadAheadRunCase{"Empty", PointFormat::kGeoJson, "", 0, RunResult::kFailed},
                      ReadAheadRunCase{"GpxRecordLimit", PointFormat::kGpx, ManyWaypoints(2000),
                                       700, RunResult::kFinished},
                      ReadAheadRunCase{"GpxBroken", PointFormat::kGpx,
                                       ManyWaypoints(1000, "</wpt>"), 0, RunResult::kFailed}),
    [](const ::testing::TestParamInfo<ReadAheadRunCase>& info) { return info.param.name; });

}  // namespace
}  // namespace velorin::testing
