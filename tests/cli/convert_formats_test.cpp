#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/run_report.h"
#include "cli/stdio_file_system.h"
#include "text/text_encoding.h"

namespace velorin {
namespace {

struct ChoiceCase {
  const char* name;
  std::string input;
  std::optional<std::string> output;
  std::optional<std::string> from;
  std::optional<std::string> to;
  PointFormat inputFormat;
  PointFormat outputFormat;
  std::string outputPath;
};

void PrintTo(const ChoiceCase& c, std::ostream* out) { *out << c.name; }

class ChooseFormatsTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChooseFormatsTest, ByOptionElseByExtension) {
  const ChoiceCase& c = GetParam();
  ConvertOptions options;
  options.input = c.input;
  options.output = c.output;
  options.from = c.from;
  options.to = c.to;
  StdioFileSystem files;
  const FormatChoice choice = ChooseFormats(files, options);
  // A build without an XML reader (Windows) refuses GPX, KML and KMZ input.
  EXPECT_EQ(choice.usageError.empty(), InfoOf(c.inputFormat).makeReader != nullptr)
      << choice.usageError;
  EXPECT_EQ(choice.input, c.inputFormat);
  EXPECT_EQ(choice.output, c.outputFormat);
  EXPECT_EQ(choice.outputPath, c.outputPath);
}

using F = PointFormat;
INSTANTIATE_TEST_SUITE_P(
    Commands, ChooseFormatsTest,
    ::testing::Values(
        ChoiceCase{"PotAsEver", "a.pot", {}, {}, {}, F::kPot, F::kNvi, "a.nvi"},
        ChoiceCase{
            "UnknownExtensionIsPotToNvi", "a.txt", "b.dat", {}, {}, F::kPot, F::kNvi, "b.dat"},
        ChoiceCase{"GpxToNvi", "trip.GPX", {}, {}, {}, F::kGpx, F::kNvi, "trip.nvi"},
        ChoiceCase{"NviBackToGpx", "car.nvi", {}, {}, {}, F::kNvi, F::kGpx, "car.gpx"},
        ChoiceCase{
            "NviToCsvByExtension", "car.nvi", "car.csv", {}, {}, F::kNvi, F::kCsv, "car.csv"},
        ChoiceCase{"StreamsArePotAndNvi", "-", {}, {}, {}, F::kPot, F::kNvi, "-"},
        ChoiceCase{"NviStreamGivesGpx", "-", "-", "nvi", {}, F::kNvi, F::kGpx, "-"},
        ChoiceCase{"OptionsOverExtensions", "a.pot", "b.gpx", "kml", "csv", F::kKml, F::kCsv,
                   "b.gpx"},
        ChoiceCase{"KmzIn", "map.kmz", {}, {}, {}, F::kKmz, F::kNvi, "map.nvi"}),
    [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
  const char* name;
  std::string input;
  std::string output;
  bool log;
  bool timestamp;
  bool encoding;
  std::string message;
  Datum inputDatum = Datum::kWgs84;
  Datum outputDatum = Datum::kWgs84;
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class FormatRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(FormatRefusalTest, OptionsThatDoNotApplyAreUsageErrors) {
  const RefusalCase& c = GetParam();
  ConvertOptions options;
  options.input = c.input;
  options.output = c.output;
  if (c.log) options.logPath = "x.log";
  if (c.timestamp) options.timestamp = "2010/04/01 14:30:00";
  if (c.encoding) options.inputEncoding = TextEncoding::kUtf8;
  options.inputDatum = c.inputDatum;
  options.outputDatum = c.outputDatum;
  StdioFileSystem files;
  EXPECT_EQ(ChooseFormats(files, options).usageError, c.message);

  std::ostringstream err;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), kExitUsage);
  EXPECT_EQ(err.str(), "velorin-cli: " + c.message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Commands, FormatRefusalTest,
    ::testing::Values(
        RefusalCase{"TimestampForCsv", "a.nvi", "a.csv", false, true, false,
                    "--timestamp applies to NVI output only (the output is CSV)"},
        RefusalCase{"KmzOut", "a.nvi", "a.kmz", false, false, false,
                    VELORIN_XML_READERS ? "KMZ can only be read; write KML instead"
                                        : "KMZ is neither read nor written by this build; write "
                                          "KML instead"},
        RefusalCase{"EncodingForKml", "a.kml", "a.nvi", false, false, true,
                    "--input-encoding applies to POT and CSV input only (the input is KML)"},
        RefusalCase{"TokyoDatumForGpxInput", "a.gpx", "a.nvi", false, false, false,
                    "--input-datum=tokyo applies to POT, NVI and CSV input only: GPX positions "
                    "are WGS 84 by definition",
                    Datum::kTokyo},
        RefusalCase{"TokyoDatumForGeoJsonInput", "a.geojson", "a.csv", false, false, false,
                    "--input-datum=tokyo applies to POT, NVI and CSV input only: GeoJSON "
                    "positions are WGS 84 by definition",
                    Datum::kTokyo, Datum::kTokyo},
        RefusalCase{"TokyoDatumForKmlOutput", "a.pot", "a.kml", false, false, false,
                    "--output-datum=tokyo applies to POT, NVI and CSV output only: KML "
                    "positions are WGS 84 by definition",
                    Datum::kTokyo, Datum::kTokyo}),
    [](const auto& info) { return std::string(info.param.name); });

struct DatumFitCase {
  const char* name;
  std::vector<std::string> inputs;
  std::string output;
  Datum inputDatum;
  Datum outputDatum;
};

void PrintTo(const DatumFitCase& c, std::ostream* out) { *out << c.name; }

class DatumFitTest : public ::testing::TestWithParam<DatumFitCase> {};

TEST_P(DatumFitTest, IsNoUsageError) {
  const DatumFitCase& c = GetParam();
  ConvertOptions options;
  options.input = c.inputs.front();
  options.moreInputs.assign(c.inputs.begin() + 1, c.inputs.end());
  options.output = c.output;
  options.inputDatum = c.inputDatum;
  options.outputDatum = c.outputDatum;
  StdioFileSystem files;
  const FormatChoice choice = ChooseFormats(files, options);
  // A build without an XML reader refuses GPX input for that alone.
  if (VELORIN_XML_READERS || choice.input != PointFormat::kGpx) {
    EXPECT_EQ(choice.usageError, "");
  }
}

// WGS 84 is what GPX, KML and GeoJSON are; the Tokyo datum fits the formats
// whose files do not say.
INSTANTIATE_TEST_SUITE_P(
    Commands, DatumFitTest,
    ::testing::Values(
        DatumFitCase{"Wgs84ForGpx", {"a.gpx"}, "a.kml", Datum::kWgs84, Datum::kWgs84},
        DatumFitCase{"TokyoPotToTokyoNvi", {"a.pot"}, "a.nvi", Datum::kTokyo, Datum::kTokyo},
        DatumFitCase{"TokyoNviToCsv", {"a.nvi"}, "a.csv", Datum::kTokyo, Datum::kWgs84},
        DatumFitCase{"GpxToTokyoCsv", {"a.gpx"}, "a.csv", Datum::kWgs84, Datum::kTokyo},
        DatumFitCase{"TokyoCsvToGpx", {"a.csv"}, "a.gpx", Datum::kTokyo, Datum::kWgs84}),
    [](const auto& info) { return std::string(info.param.name); });

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

RunOutcome LimitReached() {
  RunOutcome outcome = Written(1000000);
  outcome.firstLineNotConverted = 1234567;
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
        ReportCase{"OneRecord", Written(1), F::kNvi, 0, "1 record written to out.nvi\n"},
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
        ReportCase{"LimitReached", LimitReached(), F::kNvi, 4,
                   "1000000 records written to out.nvi\n"
                   "velorin-cli: the limit of 1000000 records was reached; input lines from line "
                   "1234567 on were not converted\n"},
        ReportCase{"Cancelled", Written(5, RunResult::kCancelled), F::kNvi, 130,
                   "interrupted: 5 records written to out.nvi\n"},
        ReportCase{"ReadFailed",
                   Failed(RunStage::kReadLine,
                          ReadFailure{7, "not a well-formed GPX file: mismatched tag"}, {}),
                   F::kNvi, 1,
                   "velorin-cli: input file 'in.gpx' line 7: not a well-formed GPX file: "
                   "mismatched tag\nvelorin-cli: output file 'out.nvi' not created\n"},
        ReportCase{"WriteFailed",
                   Failed(RunStage::kWriteRecord, std::nullopt,
                          std::make_error_code(std::errc::no_space_on_device)),
                   F::kNvi, 1,
                   "velorin-cli: write error on output file 'out.nvi': No space left on device\n"
                   "velorin-cli: output file 'out.nvi' not created\n"},
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

constexpr bool kReadsXml = VELORIN_XML_READERS;

struct UnreadCase {
  const char* name;
  const char* input;
  const char* message;
};

void PrintTo(const UnreadCase& c, std::ostream* out) { *out << c.name; }

class UnreadFormatTest : public ::testing::TestWithParam<UnreadCase> {};

// A build without an XML reader says so, before any file is opened.
TEST_P(UnreadFormatTest, IsAUsageError) {
  if (kReadsXml) GTEST_SKIP() << "this build reads GPX, KML and KMZ";
  ConvertOptions options;
  options.input = GetParam().input;
  std::ostringstream err;
  StdioFileSystem files;
  ConvertConsole console{err};
  EXPECT_EQ(RunConvertCommand(options, files, console), kExitUsage);
  EXPECT_EQ(err.str(), std::string("velorin-cli: ") + GetParam().message + "\n");
}

INSTANTIATE_TEST_SUITE_P(
    Formats, UnreadFormatTest,
    ::testing::Values(
        UnreadCase{"Gpx", "trip.gpx", "GPX files are not read by this build of velorin-cli"},
        UnreadCase{"Kml", "Map.KML", "KML files are not read by this build of velorin-cli"},
        UnreadCase{"Kmz", "saved.kmz", "KMZ files are not read by this build of velorin-cli"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
