#include "cli/run_report.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"

namespace velorin {
namespace {

const RunPaths kFiles{"x.pot", "x.nvi", "run.log"};

RunOutcome Outcome(RunResult result, std::int32_t records = 0) {
  RunOutcome outcome;
  outcome.result = result;
  outcome.records = records;
  return outcome;
}

RunOutcome Failure(RunStage stage, std::string path, int error, std::int32_t records = 0,
                   bool outputExisted = false) {
  RunOutcome outcome = Outcome(RunResult::kFailed, records);
  outcome.outputExisted = outputExisted;
  outcome.failedStage = stage;
  outcome.failedPath = std::move(path);
  if (error != 0) outcome.error = std::error_code(error, std::generic_category());
  return outcome;
}

// An input that held bytes but gave nothing at all: the format it was read
// as, and what chose it, is the likely cause.
TEST(ReportRunOutcome, NothingFoundNamesTheFormatReadAndWhy) {
  RunOutcome nothing = Outcome(RunResult::kFinished, 0);
  nothing.inputHeldBytes = true;
  const struct {
    FormatBasis basis;
    PointFormat format;
    const char* said;
  } cases[] = {
      {FormatBasis::kNothing, PointFormat::kPot,
       "read as POT since neither its extension nor its first bytes name a format"},
      {FormatBasis::kExtension, PointFormat::kGpx, "read as GPX by its extension"},
      {FormatBasis::kOption, PointFormat::kCsv, "read as CSV as --from says"},
  };
  for (const auto& c : cases) {
    ReportContext context;
    context.input = c.format;
    context.inputBasis = c.basis;
    const std::string text = ReportRunOutcome(nothing, kFiles, context).text;
    EXPECT_NE(text.find(std::string("no point found in the input, ") + c.said +
                        "; if it is another format, name it with --from (pot, nvi"),
              std::string::npos)
        << text;
  }
  // An empty input, or one whose points were all skipped, says so otherwise.
  nothing.inputHeldBytes = false;
  EXPECT_EQ(ReportRunOutcome(nothing, kFiles).text, "0 records written to x.nvi\n");
  // A run cancelled before its first point was through did not find none.
  RunOutcome cancelled = Outcome(RunResult::kCancelled, 0);
  cancelled.inputHeldBytes = true;
  EXPECT_EQ(ReportRunOutcome(cancelled, kFiles).text.find("no point found"), std::string::npos);
}

// An input of routes or tracks alone (nothing written, nothing skipped)
// names the option that reads their points.
TEST(ReportRunOutcome, RoutesAndTracksAloneNameThePointsOption) {
  const std::string hint =
      "velorin-cli: the file holds no waypoints, only routes or tracks: --points=routes,tracks "
      "reads their points\n";
  const struct {
    const char* name;
    std::int64_t routes, tracks, lineStrings;
    std::int32_t records;
    std::int64_t skipped;
    bool said;
  } cases[] = {
      {"route alone", 1, 0, 0, 0, 0, true},
      {"tracks alone", 0, 3, 0, 0, 0, true},
      {"GeoJSON lines alone", 0, 0, 2, 0, 0, true},
      {"points written beside", 1, 1, 0, 4, 0, false},
      {"points skipped beside", 1, 0, 0, 0, 1, false},
      {"nothing at all", 0, 0, 0, 0, 0, false},
  };
  for (const auto& c : cases) {
    RunOutcome outcome = Outcome(RunResult::kFinished, c.records);
    outcome.inputHeldBytes = true;
    outcome.ignored[IgnoredKind::kRoute] = c.routes;
    outcome.ignored[IgnoredKind::kTrack] = c.tracks;
    outcome.ignored[IgnoredKind::kLineString] = c.lineStrings;
    outcome.skipped.malformed = c.skipped;
    ReportContext context;
    context.input = PointFormat::kGpx;
    const std::string text = ReportRunOutcome(outcome, kFiles, context).text;
    EXPECT_EQ(text.find(hint) != std::string::npos, c.said) << c.name << ": " << text;
  }
}

// Points of interest that --points did not ask for, and nothing else read:
// the kinds the file holds, and the --points that reads them.
TEST(ReportRunOutcome, WaypointsLeftUnreadNameTheKindsHeld) {
  using K = IgnoredKind;
  const struct {
    const char* name;
    std::vector<std::pair<IgnoredKind, std::int64_t>> ignored;
    PointKinds points;
    std::int32_t records;
    const char* said;  ///< empty: no such line
  } cases[] = {
      {"waypoints alone",
       {{K::kWaypoint, 3}},
       {false, true, false},
       0,
       "the file holds 3 waypoints, which --points=routes does not read: --points=waypoints "
       "reads them"},
      {"waypoints and a track",
       {{K::kWaypoint, 1}, {K::kTrack, 1}},
       {false, true, false},
       0,
       "the file holds 1 waypoint and 1 track, which --points=routes does not read: "
       "--points=waypoints,tracks reads them"},
      {"GeoJSON points and a line",
       {{K::kPoint, 2}, {K::kLineString, 1}},
       {false, false, true},
       0,
       "the file holds 2 Points and 1 LineString, which --points=tracks does not read: "
       "--points=waypoints,routes reads them"},
      {"points written beside", {{K::kWaypoint, 3}}, {false, true, false}, 2, ""},
  };
  for (const auto& c : cases) {
    RunOutcome outcome = Outcome(RunResult::kFinished, c.records);
    outcome.inputHeldBytes = true;
    outcome.points = c.points;
    for (const auto& [kind, count] : c.ignored) outcome.ignored[kind] = count;
    ReportContext context;
    context.input = PointFormat::kGpx;
    const std::string text = ReportRunOutcome(outcome, kFiles, context).text;
    const std::string line = std::string("velorin-cli: ") + c.said + "\n";
    EXPECT_EQ(text.find(line) != std::string::npos, *c.said != '\0') << c.name << ": " << text;
    EXPECT_EQ(text.find("no waypoints, only routes"), std::string::npos) << c.name;
    EXPECT_EQ(text.find("no point found"), std::string::npos) << c.name;
  }
}

TEST(ReportRunOutcome, FinishedAndCancelledRunsGiveTheCount) {
  RunReport report = ReportRunOutcome(Outcome(RunResult::kFinished, 3), kFiles);
  EXPECT_EQ(report.exitCode, kExitDone);
  EXPECT_EQ(report.text, "3 records written to x.nvi\n");

  report = ReportRunOutcome(Outcome(RunResult::kFinished, 1), kFiles);
  EXPECT_EQ(report.text, "1 record written to x.nvi\n");

  report = ReportRunOutcome(Outcome(RunResult::kCancelled, 41), kFiles);
  EXPECT_EQ(report.exitCode, kExitInterrupted);
  EXPECT_EQ(report.text, "interrupted: 41 records written to x.nvi\n");
  // SIGTERM and SIGHUP cancel the same way; the exit code tells which came.
  EXPECT_EQ(
      ReportRunOutcome(Outcome(RunResult::kCancelled, 1), kFiles, {.interruptSignal = 15}).exitCode,
      143);
  EXPECT_EQ(
      ReportRunOutcome(Outcome(RunResult::kCancelled, 1), kFiles, {.interruptSignal = 1}).exitCode,
      129);

  // At the limit with nothing left over: no word of it.
  report = ReportRunOutcome(Outcome(RunResult::kFinished, 1000000), kFiles);
  EXPECT_EQ(report.exitCode, kExitDone);
  EXPECT_EQ(report.text, "1000000 records written to x.nvi\n");

  RunOutcome cut = Outcome(RunResult::kFinished, 1000000);
  cut.firstLineNotConverted = 1000003;
  report = ReportRunOutcome(cut, kFiles);
  EXPECT_EQ(report.exitCode, kExitLimitReached);
  EXPECT_EQ(report.text,
            "1000000 records written to x.nvi\n"
            "velorin-cli: the limit of 1000000 records was reached; input lines from line 1000003 "
            "on were not converted\n");

  RunOutcome replaced = Outcome(RunResult::kFinished, 3);
  replaced.titles.replaced = 2;
  EXPECT_EQ(ReportRunOutcome(replaced, kFiles).text,
            "3 records written to x.nvi (2 titles with characters CP932 lacks replaced by the "
            "closest ones)\n");

  const RunPaths streams{std::string(StdioFileSystem::kStandardInput),
                         std::string(StdioFileSystem::kStandardOutput), ""};
  report = ReportRunOutcome(Outcome(RunResult::kFinished, 0), streams);
  EXPECT_EQ(report.text, "0 records written to standard output\n");
}

TEST(ReportRunOutcome, SkippedPointLinesAreNeverLeftUnsaid) {
  RunOutcome skipped = Outcome(RunResult::kFinished, 9);
  skipped.skipped.malformed = 1;
  EXPECT_EQ(ReportRunOutcome(skipped, kFiles).text,
            "9 records written to x.nvi\n"
            "velorin-cli: 1 point line skipped: 1 unreadable (--explain tells which)\n");
  // Under --explain the lines were named above: just the count.
  skipped.skipped.untitled = 1;
  EXPECT_EQ(ReportRunOutcome(skipped, kFiles, {.explained = true}).text,
            "9 records written to x.nvi\n"
            "velorin-cli: 2 point lines skipped: 1 without a title and 1 unreadable\n");
  skipped.result = RunResult::kCancelled;
  EXPECT_EQ(ReportRunOutcome(skipped, kFiles, {.explained = true}).text,
            "interrupted: 9 records written to x.nvi\n"
            "velorin-cli: 2 point lines skipped: 1 without a title and 1 unreadable\n");
  // The limit line comes last: it is the one that sets the exit code.
  skipped.result = RunResult::kFinished;
  skipped.firstLineNotConverted = 12;
  EXPECT_EQ(ReportRunOutcome(skipped, kFiles, {.explained = true}).text,
            "9 records written to x.nvi\n"
            "velorin-cli: 2 point lines skipped: 1 without a title and 1 unreadable\n"
            "velorin-cli: the limit of 9 records was reached; input lines from line 12 on were "
            "not converted\n");
}

TEST(ReportRunOutcome, RefusalsExitWithThree) {
  RunReport report = ReportRunOutcome(Outcome(RunResult::kRefusedSamePath), kFiles);
  EXPECT_EQ(report.exitCode, kExitRefused);
  EXPECT_EQ(report.text,
            "velorin-cli: input file 'x.pot' and output file 'x.nvi' are the same file\n");

  report = ReportRunOutcome(Outcome(RunResult::kDeclinedOverwrite), kFiles,
                            {.refusedExistingOutput = true});
  EXPECT_EQ(report.exitCode, kExitRefused);
  EXPECT_EQ(report.text, "velorin-cli: output file 'x.nvi' exists; use --force to overwrite it\n");

  report = ReportRunOutcome(Outcome(RunResult::kDeclinedOverwrite), kFiles,
                            {.refusedExistingOutput = true, .asked = true});
  EXPECT_EQ(report.exitCode, kExitRefused);
  EXPECT_EQ(report.text, "velorin-cli: output file 'x.nvi' left unchanged\n");
}

TEST(ReportRunOutcome, FailuresNameTheFileAndTheSystemsReason) {
  struct Case {
    RunOutcome outcome;
    const char* text;
  };
  const Case cases[] = {
      {Failure(RunStage::kOpenInput, "x.pot", ENOENT),
       "velorin-cli: cannot open input file 'x.pot': No such file or directory\n"},
      {Failure(RunStage::kOpenOutput, "x.nvi", EACCES),
       "velorin-cli: cannot open output file 'x.nvi': Permission denied (it is written as a new "
       "file in its folder '.' first)\n"},
      {Failure(RunStage::kOpenOutput, "x.nvi", EBUSY),
       "velorin-cli: cannot open output file 'x.nvi': in use by another program\n"},
      {Failure(RunStage::kOpenOutput, "/data/x.nvi", EACCES),
       "velorin-cli: cannot open output file '/data/x.nvi': Permission denied (it is written as a "
       "new file in its folder '/data' first)\n"},
      // Nothing is written on a failure: the count would not be true.
      {Failure(RunStage::kReadLine, "x.pot", EIO, 2),
       "velorin-cli: read error on input file 'x.pot': Input/output error\n"
       "velorin-cli: output file 'x.nvi' not created\n"},
      {Failure(RunStage::kWriteRecord, "x.nvi", ENOSPC, 7, true),
       "velorin-cli: write error on output file 'x.nvi': No space left on device\n"
       "velorin-cli: output file 'x.nvi' left unchanged\n"},
      {Failure(RunStage::kOpenLog, "run.log", EISDIR),
       "velorin-cli: cannot create log file 'run.log': Is a directory\n"
       "velorin-cli: output file 'x.nvi' not created\n"},
      {Failure(RunStage::kWriteLog, "run.log", ENOSPC, 0, true),
       "velorin-cli: write error on log file 'run.log': No space left on device\n"
       "velorin-cli: output file 'x.nvi' left unchanged\n"},
      // Without a path or a reason from the run: the file of the stage, no reason.
      {Failure(RunStage::kWriteRecord, "", 0),
       "velorin-cli: write error on output file 'x.nvi'\n"
       "velorin-cli: output file 'x.nvi' not created\n"},
      {Failure(RunStage::kReadLine, std::string(StdioFileSystem::kStandardInput), EIO),
       "velorin-cli: read error on standard input: Input/output error\n"
       "velorin-cli: output file 'x.nvi' not created\n"},
  };
  for (const Case& c : cases) {
    const RunReport report = ReportRunOutcome(c.outcome, kFiles);
    EXPECT_EQ(report.exitCode, kExitFailed);
    EXPECT_EQ(report.text, c.text);
  }
}

TEST(DescribeFile, EscapesControlCharactersInPaths) {
  EXPECT_EQ(DescribeFile("input file", "a\nb.pot"), "input file 'a\\x0Ab.pot'");
  EXPECT_EQ(DescribeFile("output file", StdioFileSystem::kStandardOutput), "standard output");
}

// What one face would do to read or keep more: the command line names its
// options, in its report and its log alike; the summary of the engine (the
// window's log) names none.
struct WordingCase {
  const char* name;
  std::vector<std::pair<IgnoredKind, std::int64_t>> ignored;
  PointKinds points;
  std::int64_t addressesNotKept;
  bool nviAsked;
  PointFormat output;
  const char* engine;
  const char* commandLine;
};

void PrintTo(const WordingCase& c, std::ostream* out) { *out << c.name; }

class SummaryWording : public ::testing::TestWithParam<WordingCase> {};

TEST_P(SummaryWording, NamesOptionsOnTheCommandLineOnly) {
  const WordingCase& c = GetParam();
  RunOutcome outcome = Outcome(RunResult::kFinished, c.addressesNotKept > 0 ? 1 : 0);
  outcome.inputHeldBytes = true;
  for (const auto& [kind, count] : c.ignored) outcome.ignored[kind] = count;
  outcome.points = c.points;
  outcome.fields.notKept[IndexOf(PointField::kAddress)] = c.addressesNotKept;
  outcome.fields.nviAsked = c.nviAsked;
  const auto joined = [](const RunSummary& summary) {
    std::string text;
    for (const std::string& line : SummaryLines(summary)) text += line + "\n";
    return text;
  };
  const std::string engine = joined(SummarizeRun(outcome, PointFormat::kGpx, c.output));
  const std::string commandLine = joined(CommandLineSummary(outcome, PointFormat::kGpx, c.output));
  EXPECT_EQ(engine, std::string(c.engine) + "\n");
  EXPECT_EQ(commandLine, std::string(c.commandLine) + "\n");
  EXPECT_EQ(engine.find("--"), std::string::npos) << engine;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SummaryWording,
    ::testing::Values(
        WordingCase{"TracksAlone",
                    {{IgnoredKind::kTrack, 2}},
                    {},
                    0,
                    false,
                    PointFormat::kNvi,
                    "2 tracks ignored\nthe file holds no waypoints, only routes or tracks, whose "
                    "points were not read",
                    "2 tracks ignored\nthe file holds no waypoints, only routes or tracks: "
                    "--points=routes,tracks reads their points"},
        WordingCase{"WaypointsNotRead",
                    {{IgnoredKind::kWaypoint, 3}},
                    {false, true, false},
                    0,
                    false,
                    PointFormat::kKml,
                    "3 waypoints ignored\nthe file holds 3 waypoints, none of them among the "
                    "points read (routes)",
                    "3 waypoints ignored\nthe file holds 3 waypoints, which --points=routes does "
                    "not read: --points=waypoints reads them"},
        WordingCase{"NviFieldsNotChosen",
                    {},
                    {},
                    2,
                    false,
                    PointFormat::kNvi,
                    "2 addresses not kept: no NVI field was asked for",
                    "2 addresses not kept: NVI fills its fields only with --nvi-fields"},
        WordingCase{"NviFieldOfTheTextNotChosen",
                    {},
                    {},
                    1,
                    true,
                    PointFormat::kNvi,
                    "1 address not kept: their NVI fields were not asked for",
                    "1 address not kept: their NVI fields were not asked for in --nvi-fields"},
        // Where no option would keep them, both say the same.
        WordingCase{"NoPlaceInTheFormat",
                    {},
                    {},
                    1,
                    false,
                    PointFormat::kKml,
                    "1 address not kept: KML has no place for them",
                    "1 address not kept: KML has no place for them"}),
    [](const auto& info) { return std::string(info.param.name); });

using F = PointFormat;

// What the report says of a run between formats other than POT and NVI.
struct ReportCase {
  const char* name;
  RunOutcome outcome;
  PointFormat output;
  int exitCode;
  std::string text;
};

void PrintTo(const ReportCase& c, std::ostream* out) { *out << c.name; }

RunOutcome Written(std::int32_t records, RunResult result = RunResult::kFinished) {
  RunOutcome outcome;
  outcome.result = result;
  outcome.records = records;
  return outcome;
}

RunOutcome EveryKindOfCount() {
  RunOutcome outcome = Written(3);
  outcome.skipped = {2, 3, 1};
  outcome.titles.replaced = 1;
  outcome.titles.adjusted = 2;
  outcome.ignored[IgnoredKind::kRoute] = 2;
  outcome.ignored[IgnoredKind::kTrack] = 1;
  outcome.ignored[IgnoredKind::kPlacemarkWithoutPoint] = 4;
  return outcome;
}

/// `each` of every kind of ignored item.
RunOutcome EveryIgnoredKind(std::int64_t each) {
  RunOutcome outcome = Written(1);
  outcome.ignored.counts.fill(each);
  outcome.ignored.unreadName = "wpt";
  outcome.ignored.unreadNote = "in namespace urn:x";
  return outcome;
}

RunOutcome Failed(RunStage stage, std::optional<ReadFailure> readFailure, std::error_code error) {
  RunOutcome outcome = Written(5, RunResult::kFailed);
  outcome.failedStage = stage;
  outcome.readFailure = std::move(readFailure);
  outcome.error = error;
  return outcome;
}

class FormatReportTest : public ::testing::TestWithParam<ReportCase> {};

TEST_P(FormatReportTest, SaysWhatBecameOfThePoints) {
  ReportContext context;
  context.input = PointFormat::kGpx;
  context.output = GetParam().output;
  const RunReport report = ReportRunOutcome(GetParam().outcome, {"in.gpx", "out.nvi", ""}, context);
  EXPECT_EQ(report.exitCode, GetParam().exitCode);
  EXPECT_EQ(report.text, GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Outcomes, FormatReportTest,
    ::testing::Values(
        ReportCase{"PointsForOtherFormats", Written(2), F::kGpx, 0,
                   "2 points written to out.nvi\n"},
        ReportCase{"SkippedIgnoredAndChanged", EveryKindOfCount(), F::kPot, 0,
                   "3 points written to out.nvi (1 title with characters CP932 lacks replaced by "
                   "the closest ones)\n"
                   "velorin-cli: 6 points skipped: 2 without a title, 3 outside 0 to 180 degrees "
                   "and 1 unreadable (--explain tells which)\n"
                   "velorin-cli: 2 routes, 1 track and 4 placemarks without a point ignored\n"
                   "velorin-cli: 2 titles changed to fit a POT line (\"/\" and the \"=\" of "
                   "\"ido=\" written full width, line breaks as blanks, past 32000 characters "
                   "cut)\n"},
        ReportCase{"ElementsPassedOver",
                   [] {
                     RunOutcome outcome = Written(0);
                     outcome.ignored[IgnoredKind::kUnreadElement] = 1000;
                     outcome.ignored.unreadName = "wpt";
                     outcome.ignored.unreadNote = "in namespace urn:x";
                     return outcome;
                   }(),
                   F::kNvi, 0,
                   "0 records written to out.nvi\n"
                   "velorin-cli: 1000 <wpt> elements in namespace urn:x ignored\n"},
        ReportCase{"LinksNotFollowed",
                   [] {
                     RunOutcome outcome = Written(0);
                     outcome.ignored[IgnoredKind::kTrack] = 1;
                     outcome.ignored[IgnoredKind::kLinkOutside] = 1;
                     outcome.ignored[IgnoredKind::kLinkNotFollowed] = 2;
                     return outcome;
                   }(),
                   F::kNvi, 0,
                   "0 records written to out.nvi\n"
                   "velorin-cli: 1 track ignored; 1 link to another file not followed; 2 links "
                   "within the archive not followed (no such file, or too deep or too many)\n"
                   "velorin-cli: the file holds no waypoints, only routes or tracks: "
                   "--points=routes,tracks reads their points\n"},
        // Every kind is named in its own words, singular and plural.
        ReportCase{"EveryIgnoredKindOnce", EveryIgnoredKind(1), F::kNvi, 0,
                   "1 record written to out.nvi\n"
                   "velorin-cli: 1 waypoint, 1 route, 1 track, 1 placemark without a point, 1 "
                   "placemark of a tour or an update, 1 Point, 1 MultiPoint, 1 LineString, 1 "
                   "MultiLineString, 1 Polygon, 1 MultiPolygon, 1 geometry of a type GeoJSON "
                   "lacks, 1 feature without a "
                   "geometry, 1 <wpt> element in namespace urn:x, 1 file other than photos, 1 way "
                   "not closed and 1 relation other than multipolygons ignored; 1 link to another "
                   "file not followed; 1 link within the archive not followed (no such file, or "
                   "too deep or too many)\n"},
        ReportCase{"EveryIgnoredKindTwice", EveryIgnoredKind(2), F::kNvi, 0,
                   "1 record written to out.nvi\n"
                   "velorin-cli: 2 waypoints, 2 routes, 2 tracks, 2 placemarks without a point, 2 "
                   "placemarks of a tour or an update, 2 Points, 2 MultiPoints, 2 LineStrings, 2 "
                   "MultiLineStrings, 2 Polygons, 2 MultiPolygons, 2 geometries of a type "
                   "GeoJSON lacks, 2 features without a "
                   "geometry, 2 <wpt> elements in namespace urn:x, 2 files other than photos, 2 "
                   "ways not closed and 2 relations other than multipolygons ignored; 2 links to "
                   "other "
                   "files not followed; 2 links within the archive not followed (no such file, "
                   "or too deep or too many)\n"},
        ReportCase{"LayoutBesideTheEncoding",
                   [] {
                     RunOutcome outcome = Written(1);
                     outcome.inputEncoding = TextEncoding::kUtf8;
                     outcome.encodingWorthSaying = true;
                     outcome.inputLayout = "fields separated by \";\" with decimal commas";
                     return outcome;
                   }(),
                   F::kNvi, 0,
                   "1 record written to out.nvi\n"
                   "velorin-cli: read as UTF-8; fields separated by \";\" with decimal commas\n"},
        ReportCase{"LayoutAlone",
                   [] {
                     RunOutcome outcome = Written(1);
                     outcome.inputLayout = "fields separated by TABs";
                     return outcome;
                   }(),
                   F::kNvi, 0,
                   "1 record written to out.nvi\nvelorin-cli: fields separated by TABs\n"},
        ReportCase{"ReadFailed",
                   Failed(RunStage::kReadLine,
                          ReadFailure{7, "not a well-formed GPX file: mismatched tag"}, {}),
                   F::kNvi, 1,
                   "velorin-cli: input file 'in.gpx' line 7: not a well-formed GPX file: "
                   "mismatched tag\nvelorin-cli: output file 'out.nvi' not created\n"},
        ReportCase{"MovedBetweenDatums",
                   [] {
                     RunOutcome outcome = Written(3);
                     outcome.datumMoves = {{Datum::kWgs84, Datum::kTokyo, "OP", 3}};
                     return outcome;
                   }(),
                   F::kNvi, 0,
                   "3 records written to out.nvi\n"
                   "velorin-cli: 3 records moved from WGS 84 to the Tokyo datum by OP\n"},
        // Nothing written was moved: nothing to say.
        ReportCase{"NoneMoved",
                   [] {
                     RunOutcome outcome = Written(0);
                     outcome.datumMoves = {{Datum::kTokyo, Datum::kWgs84, "OP", 0}};
                     return outcome;
                   }(),
                   F::kCsv, 0, "0 points written to out.nvi\n"},
        // Before any file was opened: the output was never touched.
        ReportCase{"DatumsCannotBeShifted",
                   [] {
                     RunOutcome outcome = Failed(RunStage::kShiftDatum, std::nullopt, {});
                     outcome.shiftFailure = "PROJ knows no Tokyo datum or WGS 84";
                     return outcome;
                   }(),
                   F::kNvi, 1,
                   "velorin-cli: cannot move positions between datums: PROJ knows no Tokyo "
                   "datum or WGS 84\n"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
