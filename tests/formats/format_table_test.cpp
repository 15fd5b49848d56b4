#include "formats/format_table.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>

#include "tests/support/string_sink.h"

namespace velorin {
namespace {

struct PathCase {
  const char* name;
  const char* path;
  PointFormat input;
  PointFormat output;
  const char* defaultOutput;
};

void PrintTo(const PathCase& c, std::ostream* out) { *out << c.name; }

class FormatTableTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(FormatTableTest, ChoosesByExtensionInAnyCase) {
  EXPECT_EQ(InputFormatOfPath(GetParam().path), GetParam().input);
  EXPECT_EQ(OutputFormatOfPath(GetParam().path), GetParam().output);
  EXPECT_EQ(DefaultOutputPath(GetParam().path, DefaultOutputFormat(GetParam().input)),
            GetParam().defaultOutput);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, FormatTableTest,
    ::testing::Values(
        PathCase{"Gpx", "trip.gpx", PointFormat::kGpx, PointFormat::kGpx, "trip.nvi"},
        PathCase{"UpperCaseKml", "dir/Map.KML", PointFormat::kKml, PointFormat::kKml,
                 "dir/Map.nvi"},
        PathCase{"Kmz", "saved.kmz", PointFormat::kKmz, PointFormat::kKmz, "saved.nvi"},
        PathCase{"Csv", "table.Csv", PointFormat::kCsv, PointFormat::kCsv, "table.nvi"},
        PathCase{"TsvReadAsCsv", "shops.tsv", PointFormat::kCsv, PointFormat::kNvi, "shops.nvi"},
        PathCase{"NviBackToGpx", "car.nvi", PointFormat::kNvi, PointFormat::kNvi, "car.gpx"},
        PathCase{"GeoJson", "places.GeoJSON", PointFormat::kGeoJson, PointFormat::kGeoJson,
                 "places.nvi"},
        // Read as GeoJSON, whose reader refuses other JSON; written as GeoJSON.
        PathCase{"Json", "Saved Places.json", PointFormat::kGeoJson, PointFormat::kGeoJson,
                 "Saved Places.nvi"},
        PathCase{"Pot", "a.pot", PointFormat::kPot, PointFormat::kPot, "a.nvi"},
        PathCase{"Photo", "IMG_0042.JPG", PointFormat::kPhoto, PointFormat::kPhoto, "IMG_0042.nvi"},
        PathCase{"TiffPhoto", "scan.tiff", PointFormat::kPhoto, PointFormat::kNvi, "scan.nvi"},
        // An extension of two parts goes whole.
        PathCase{"OsmPbf", "kanto-latest.osm.pbf", PointFormat::kOsm, PointFormat::kOsm,
                 "kanto-latest.nvi"},
        PathCase{"OsmXml", "region.OSM", PointFormat::kOsm, PointFormat::kNvi, "region.nvi"},
        PathCase{"PbfAlone", "extract.pbf", PointFormat::kOsm, PointFormat::kNvi, "extract.nvi"},
        PathCase{"UnknownExtension", "list.txt", PointFormat::kPot, PointFormat::kNvi, "list.nvi"},
        PathCase{"NoExtension", "list", PointFormat::kPot, PointFormat::kNvi, "list.nvi"},
        PathCase{"DotInFolderOnly", "my.gpx/list", PointFormat::kPot, PointFormat::kNvi,
                 "my.gpx/list.nvi"}),
    [](const auto& info) { return std::string(info.param.name); });

// Every format is read, except the XML ones in a build without an XML
// reader (Windows); every format but KMZ, photos and OSM is written.
TEST(FormatTableTest, NamesAndWhatEachFormatCanDo) {
  EXPECT_EQ(FormatNamed("GPX"), PointFormat::kGpx);
  EXPECT_EQ(FormatNamed("shp"), std::nullopt);
  for (const FormatInfo& info : PointFormats()) {
    const bool xml = info.format == PointFormat::kGpx || info.format == PointFormat::kKml ||
                     info.format == PointFormat::kKmz;
    EXPECT_EQ(info.makeReader != nullptr, !xml || VELORIN_XML_READERS) << info.name;
    const bool readOnly = info.format == PointFormat::kKmz || info.format == PointFormat::kPhoto ||
                          info.format == PointFormat::kOsm;
    EXPECT_EQ(info.makeWriter == nullptr, readOnly) << info.name;
    EXPECT_EQ(FormatNamed(info.name), info.format);
  }
}

// The formats whose files say nothing of their datum take one from the
// command line; GPX, KML, KMZ and GeoJSON are WGS 84 by definition.
TEST(FormatTableTest, TheDatumOptionsApplyToTheFormatsThatDoNotSayTheirs) {
  for (const FormatInfo& info : PointFormats()) {
    const bool saysNothing = info.format == PointFormat::kPot || info.format == PointFormat::kNvi ||
                             info.format == PointFormat::kCsv;
    EXPECT_EQ(OptionApplies(FormatOption::kInputDatum, info.format, false), saysNothing)
        << info.name;
    EXPECT_EQ(OptionApplies(FormatOption::kOutputDatum, info.format, true), saysNothing)
        << info.name;
    EXPECT_FALSE(OptionApplies(FormatOption::kInputDatum, info.format, true)) << info.name;
  }
  EXPECT_EQ(FormatsWithOption(FormatOption::kOutputDatum, true), "POT, NVI and CSV");
  EXPECT_EQ(OptionName(FormatOption::kInputDatum), "--input-datum");
}

struct WrittenCase {
  const char* name;
  const char* path;
  std::optional<PointFormat> format;
};

void PrintTo(const WrittenCase& c, std::ostream* out) { *out << c.name; }

class WrittenFormatTest : public ::testing::TestWithParam<WrittenCase> {};

TEST_P(WrittenFormatTest, IsTheExtensionsWhenThatFormatIsWritten) {
  EXPECT_EQ(WrittenFormatOfPath(GetParam().path), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, WrittenFormatTest,
    ::testing::Values(WrittenCase{"Nvi", "a.nvi", PointFormat::kNvi},
                      WrittenCase{"UpperCasePot", "a.POT", PointFormat::kPot},
                      WrittenCase{"Gpx", "a.gpx", PointFormat::kGpx},
                      WrittenCase{"Kml", "a.kml", PointFormat::kKml},
                      WrittenCase{"Csv", "a.csv", PointFormat::kCsv},
                      WrittenCase{"GeoJson", "a.geojson", PointFormat::kGeoJson},
                      // What no format writes is refused, never written as NVI by
                      // another name.
                      WrittenCase{"Unknown", "a.unknown", std::nullopt},
                      WrittenCase{"KmzOnlyRead", "a.kmz", std::nullopt},
                      WrittenCase{"TsvOnlyRead", "a.tsv", std::nullopt},
                      WrittenCase{"NoExtension", "no_extension", std::nullopt},
                      WrittenCase{"ExtensionNotLast", "a.nvi.bak", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

// The table answers for the writers: a window checks a title typed for a
// format against what the table says its writer takes, with no writer made.
TEST(WrittenTitleEncoding, IsTheWritersOwn) {
  for (const FormatInfo& info : PointFormats()) {
    if (info.makeWriter == nullptr) continue;
    for (const CsvEncoding encoding : {CsvEncoding::kUtf8, CsvEncoding::kCp932}) {
      testing::StringSink sink;
      BufferedWriter out(sink, 16);
      FixedClock clock({});
      const WriterOptions options{encoding};
      const std::unique_ptr<PointWriter> writer = info.makeWriter(out, clock, options);
      EXPECT_EQ(WrittenTitleEncoding(info.format, options), writer->titleEncoding()) << info.name;
    }
  }
  EXPECT_EQ(TitleCharacterLimit(PointFormat::kPot), 32'000u);
  EXPECT_EQ(TitleCharacterLimit(PointFormat::kGpx), 0u);
}

}  // namespace
}  // namespace velorin
