// The inputs of a run: one whose format was left open read as what its
// first bytes show, a merge's input without points named with what it was
// read as, a cancel that comes with the end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/format_sniff.h"
#include "tests/convert/memory_run.h"
#include "tests/formats/exif_maker.h"

namespace velorin::testing {
namespace {

using F = PointFormat;

struct OpenCase {
  const char* name;
  std::string bytes;
  PointFormat readAs;
  FormatBasis basis;
  std::int32_t records;
};

void PrintTo(const OpenCase& c, std::ostream* out) { *out << c.name; }

class OpenFormatTest : public ::testing::TestWithParam<OpenCase> {};

// Nothing chose the format (a pipe has no head to look at beforehand): the
// run reads the first bytes itself and the reader gets every one of them,
// however small the reads.
TEST_P(OpenFormatTest, IsReadAsItsFirstBytesShow) {
  const OpenCase& c = GetParam();
  if (!ReadsFormat(c.readAs)) GTEST_SKIP() << "this build reads no " << DisplayName(c.readAs);
  for (const std::size_t piece : {std::size_t{1}, std::size_t{1} << 20}) {
    MemoryRun run;
    run.files.AddFile("/in/pipe", c.bytes);
    run.files.AddFolder("/out");
    run.files.SetReadPiece(piece);
    RunOptions options;
    options.inputs = {{"/in/pipe", F::kPot, FormatBasis::kNothing}};
    const RunOutcome outcome = run.Run(options);
    EXPECT_EQ(outcome.result, RunResult::kFinished);
    EXPECT_EQ(outcome.records, c.records);
    ASSERT_TRUE(outcome.firstInput.has_value());
    EXPECT_EQ(outcome.firstInput->format, c.readAs);
    EXPECT_EQ(outcome.firstInput->basis, c.basis);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Heads, OpenFormatTest,
    ::testing::Values(
        OpenCase{"Gpx", kTwoWaypointsGpx, F::kGpx, FormatBasis::kContent, 2},
        OpenCase{"Kml",
                 "<kml><Placemark><name>K</name><Point><coordinates>139,35</coordinates>"
                 "</Point></Placemark></kml>",
                 F::kKml, FormatBasis::kContent, 1},
        OpenCase{"Csv", "name,lat,lon\r\nC,35,139\r\n", F::kCsv, FormatBasis::kContent, 1},
        OpenCase{"GeoJson",
                 R"({"type":"Feature","properties":{"name":"J"},"geometry":{"type":"Point",)"
                 R"("coordinates":[139,35]}})",
                 F::kGeoJson, FormatBasis::kContent, 1},
        OpenCase{"Pot", "; list\r\nORD=POI/tex=P/kei=139'0'0'0/ido=35'0'0'0\r\n", F::kPot,
                 FormatBasis::kContent, 1},
        OpenCase{"NothingShownIsPot", "shopping list\r\n", F::kPot, FormatBasis::kNothing, 0},
        OpenCase{"Empty", "", F::kPot, FormatBasis::kNothing, 0}),
    [](const auto& info) { return std::string(info.param.name); });

// A merge names each input that gave nothing, with what it was read as:
// an open one read as it shows, its points kept like any file's.
TEST(MergedInputsTest, OneWithoutPointsIsNamedWithWhatItWasReadAs) {
  if (!ReadsFormat(F::kGpx)) GTEST_SKIP() << "this build reads no GPX";
  MemoryRun run;
  run.files.AddFile("/in/a.gpx", kTwoWaypointsGpx);
  run.files.AddFile("/in/pipe", kTwoWaypointsGpx);
  run.files.AddFile("/in/notes.txt", "milk\r\nbread\r\n");
  run.files.AddFolder("/out");
  RunOptions options;
  options.inputs = {{"/in/pipe", F::kPot, FormatBasis::kNothing},
                    {"/in/notes.txt", F::kPot, FormatBasis::kNothing},
                    {"/in/a.gpx", F::kGpx, FormatBasis::kExtension}};
  const RunOutcome outcome = run.Run(options);
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(run.NviTitles(), (std::vector<std::string>{"G1", "G2", "G1", "G2"}));
  ASSERT_EQ(outcome.inputsWithoutPoints.size(), 1u);
  EXPECT_EQ(outcome.inputsWithoutPoints[0].path, "/in/notes.txt");
  EXPECT_EQ(outcome.inputsWithoutPoints[0].format, F::kPot);
  EXPECT_EQ(outcome.inputsWithoutPoints[0].basis, FormatBasis::kNothing);
  EXPECT_EQ(run.heard.withoutPoints, std::vector<std::string>{"/in/notes.txt"});
  EXPECT_EQ(outcome.firstInput->format, F::kGpx);
}

/// A host whose cancel is already asked for when the input ends.
class CancelAtTheEnd : public RunHost {
 public:
  bool MayReplace(std::string_view) override { return true; }
  bool CancelWaiting() override { return true; }
};

struct EndCase {
  const char* name;
  PointFormat format;
  std::string bytes;  ///< cut short, or whole
  std::int32_t records;
};

void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }

class CancelWithTheEndTest : public ::testing::TestWithParam<EndCase> {};

// Ctrl-C as a pipe closes: the cancel wins over the end, and over the file
// it cut short; the output keeps what came before, as for any cancel.
TEST_P(CancelWithTheEndTest, EndsTheRunAsACancel) {
  const EndCase& c = GetParam();
  if (!ReadsFormat(c.format)) GTEST_SKIP() << "this build reads no " << DisplayName(c.format);
  MemoryRun run;
  run.files.AddFile("/in/in", c.bytes);
  run.files.AddFolder("/out");
  RunOptions options;
  options.inputs = {{"/in/in", c.format}};
  options.outputPath = "/out/out.csv";
  options.outputFormat = F::kCsv;
  CancelAtTheEnd host;
  const RunOutcome outcome = run.Run(options, host);
  EXPECT_EQ(outcome.result, RunResult::kCancelled);
  EXPECT_EQ(outcome.records, c.records);
  EXPECT_EQ(run.files.Contents("/out/out.csv").value_or("").rfind("name,latitude,longitude", 0),
            0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, CancelWithTheEndTest,
    ::testing::Values(EndCase{"PotWhole", F::kPot, "ORD=POI/tex=P/kei=139'0'0'0/ido=35'0'0'0\r\n",
                              1},
                      EndCase{"CsvWhole", F::kCsv, "name,lat,lon\r\nC,35,139\r\n", 1},
                      EndCase{"GpxCutShort", F::kGpx,
                              "<gpx><wpt lat=\"35\" lon=\"139\"><name>A</name></wpt><wpt", 1},
                      EndCase{"GeoJsonCutShort", F::kGeoJson,
                              R"({"type":"FeatureCollection","features":[{"type":"Feature",)"
                              R"("properties":{"name":"J"},)"
                              R"("geometry":{"type":"Point","coordinates":[139,35]}},{"ty)",
                              1}),
    [](const auto& info) { return std::string(info.param.name); });

// A folder named as an input is one input: its photos, in name order, each
// opened through the run's file system; the output beside them is no photo.
TEST(FolderInputTest, APhotoFolderIsReadAsItsPhotos) {
  MemoryRun run;
  ExifSpec north;
  north.latitude = 35.5;
  north.longitude = 139.5;
  ExifSpec south = north;
  south.latitude = -33.9;
  run.files.AddFile("/trip/b.jpg", ExifJpeg(ExifTiff(north)));
  run.files.AddFile("/trip/a.jpg", ExifJpeg(ExifTiff(north)));
  run.files.AddFile("/trip/c.tif", ExifTiff(south));
  run.files.AddFile("/trip/d.jpg", ExifJpeg(""));
  RunOptions options;
  options.inputs = {{"/trip", InputFormatOfFile(run.files, "/trip"), FormatBasis::kContent}};
  options.outputPath = "/trip/trip.nvi";
  const RunOutcome outcome = run.Run(options);
  EXPECT_EQ(outcome.result, RunResult::kFinished);
  EXPECT_EQ(options.inputs.front().format, F::kPhoto);
  EXPECT_EQ(outcome.records, 2);
  EXPECT_EQ(run.NviTitles("/trip/trip.nvi"), (std::vector<std::string>{"a", "b"}));
  // The southern photo is beyond what NVI holds; the one without EXIF says so.
  EXPECT_EQ(outcome.skipped.outOfRange, 1);
  EXPECT_EQ(outcome.skipped.malformed, 1);
}

}  // namespace
}  // namespace velorin::testing
