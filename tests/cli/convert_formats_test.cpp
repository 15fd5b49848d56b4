#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "cli/convert_command.h"
#include "cli/exit_codes.h"
#include "cli/stdio_file_system.h"

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
