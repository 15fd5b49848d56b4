#include "formats/format_sniff.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/memory_file_system.h"

namespace velorin {
namespace {

struct SniffCase {
  const char* name;
  std::string head;
  std::optional<PointFormat> format;
};

void PrintTo(const SniffCase& c, std::ostream* out) { *out << c.name; }

class SniffPointFormatTest : public ::testing::TestWithParam<SniffCase> {};

TEST_P(SniffPointFormatTest, TellsTheFormatFromTheFirstBytes) {
  EXPECT_EQ(SniffPointFormat(GetParam().head), GetParam().format);
}

INSTANTIATE_TEST_SUITE_P(
    Heads, SniffPointFormatTest,
    ::testing::Values(
        SniffCase{
            "GpxAfterDeclarationAndComment",
            "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n<gpx version=\"1.1\">",
            PointFormat::kGpx},
        SniffCase{"KmlWithPrefix", "<kml:kml xmlns:kml=\"http://www.opengis.net/kml/2.2\">",
                  PointFormat::kKml},
        SniffCase{"OtherXml", "<?xml version=\"1.0\"?><svg/>", std::nullopt},
        SniffCase{"ZipArchive", std::string("PK\x03\x04\x14\x00", 6), PointFormat::kKmz},
        SniffCase{"NviBlock", "NPOIs100@NRA/R1;\r\n", PointFormat::kNvi},
        SniffCase{"PotAfterComments",
                  "; my places\r\n\r\nord=poi/tex=A/kei=1'0'0'0/ido=1'0'0'0\r\n",
                  PointFormat::kPot},
        SniffCase{"CsvHeader", "Name,Latitude,Longitude\r\nA,35,139\r\n", PointFormat::kCsv},
        SniffCase{"TabHeader", "lat\tlon\tname\n", PointFormat::kCsv},
        SniffCase{"SemicolonHeader", "name;lat;lon\r\nKöln;50,94;6,96\r\n", PointFormat::kCsv},
        SniffCase{"SemicolonsInsideACommaHeader", "\"a;b;c\",lat,lon\n", PointFormat::kCsv},
        SniffCase{"CsvWithoutPositionColumns", "name,address\n", std::nullopt},
        // A GTFS feed's stops.txt: .txt names no format, its header does.
        SniffCase{"GtfsStops",
                  "stop_id,stop_code,stop_name,stop_desc,stop_lat,stop_lon,zone_id\r\n"
                  "S1,,Shibuya,,35.658,139.7016,\r\n",
                  PointFormat::kCsv},
        SniffCase{"GeoJson", "\n{\"type\": \"FeatureCollection\", \"features\": []}",
                  PointFormat::kGeoJson},
        SniffCase{"OtherJson", "{\"name\": \"settings\"}", std::nullopt},
        SniffCase{"PlainText", "Shopping list\nmilk\n", std::nullopt},
        SniffCase{"Jpeg", std::string("\xFF\xD8\xFF\xE1\x00\x10", 6), PointFormat::kPhoto},
        SniffCase{"TiffLittleEndian", std::string("II*\0\x08\0\0\0", 8), PointFormat::kPhoto},
        SniffCase{"TiffBigEndian", std::string("MM\0*\0\0\0\x08", 8), PointFormat::kPhoto},
        SniffCase{"OsmXml", "<?xml version='1.0'?>\n<osm version=\"0.6\">", PointFormat::kOsm},
        SniffCase{"OsmPbf", std::string("\0\0\0\x0D\x0A\x09OSMHeader\x18\x7B", 17),
                  PointFormat::kOsm},
        SniffCase{"PbfOfAnotherKind", std::string("\0\0\0\x0D\x0A\x09OSMData..\x18", 17),
                  std::nullopt},
        SniffCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtensionLeavesFormatOpenTest, OnlyExtensionsThatNameNoPointFormat) {
  EXPECT_TRUE(ExtensionLeavesFormatOpen("sample.xml"));
  EXPECT_TRUE(ExtensionLeavesFormatOpen("places.txt"));
  EXPECT_TRUE(ExtensionLeavesFormatOpen("noextension"));
  EXPECT_FALSE(ExtensionLeavesFormatOpen("trip.GPX"));
  EXPECT_FALSE(ExtensionLeavesFormatOpen("shops.tsv"));
}

// --- files, through the file system --------------------------------------

constexpr const char* kGpxHead = "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\">";

/// /d/track (GPX without an extension), /d/places.xml (KML), /d/a.gpx
/// (NVI bytes under a GPX name), /d/notes.txt, /d/folder.xml (a folder),
/// /d/link (to track), /d/late.xml (GPX after the bytes looked at),
/// /d/cut.xml (GPX whose read fails early), /d/locked.xml (GPX that may not
/// be opened).
class FileFormatTest : public ::testing::Test {
 protected:
  void SetUp() override {
    files_.AddFile("/d/track", kGpxHead);
    files_.AddFile("/d/places.xml", "<kml xmlns=\"http://www.opengis.net/kml/2.2\">");
    files_.AddFile("/d/a.gpx", "NPOIs100@NRA/R1;\n");
    files_.AddFile("/d/notes.txt", "milk\nbread\n");
    files_.AddFolder("/d/folder.xml");
    files_.AddLink("/d/link", "track");
    files_.AddFile("/d/late.xml", std::string(kSniffedBytes, '\n') + kGpxHead);
    files_.AddFile("/d/cut.xml", kGpxHead);
    files_.FaultsOf("/d/cut.xml").readFailsAfter = 3;
    files_.AddFile("/d/locked.xml", kGpxHead);
    files_.FaultsOf("/d/locked.xml").open = std::errc::permission_denied;
  }
  MemoryFileSystem files_;
};

struct FileFormatCase {
  const char* path;
  std::optional<PointFormat> sniffed;  ///< SniffFileFormat
  PointFormat input;                   ///< InputFormatOfFile
};

TEST_F(FileFormatTest, ContentWhereTheExtensionNamesNoFormatElsePot) {
  const FileFormatCase cases[] = {
      {"/d/track", PointFormat::kGpx, PointFormat::kGpx},
      {"/d/places.xml", PointFormat::kKml, PointFormat::kKml},
      // The extension names a format: the content is not asked.
      {"/d/a.gpx", PointFormat::kNvi, PointFormat::kGpx},
      {"/d/notes.txt", std::nullopt, PointFormat::kPot},
      {"/d/none.txt", std::nullopt, PointFormat::kPot},
      // A folder is read as the photos in it.
      {"/d/folder.xml", PointFormat::kPhoto, PointFormat::kPhoto},
      {"/d/link", PointFormat::kGpx, PointFormat::kGpx},
      // Only the first kSniffedBytes are looked at.
      {"/d/late.xml", std::nullopt, PointFormat::kPot},
      // What could be read shows no format; what could not is not guessed.
      {"/d/cut.xml", std::nullopt, PointFormat::kPot},
      {"/d/locked.xml", std::nullopt, PointFormat::kPot},
  };
  for (const FileFormatCase& c : cases) {
    EXPECT_EQ(SniffFileFormat(files_, c.path), c.sniffed) << c.path;
    EXPECT_EQ(InputFormatOfFile(files_, c.path), c.input) << c.path;
  }
}

}  // namespace
}  // namespace velorin
