#include "formats/format_sniff.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

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
        SniffCase{"GeoJson", "\n{\"type\": \"FeatureCollection\", \"features\": []}",
                  PointFormat::kGeoJson},
        SniffCase{"OtherJson", "{\"name\": \"settings\"}", std::nullopt},
        SniffCase{"PlainText", "Shopping list\nmilk\n", std::nullopt},
        SniffCase{"Empty", "", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExtensionLeavesFormatOpenTest, OnlyExtensionsThatNameNoPointFormat) {
  EXPECT_TRUE(ExtensionLeavesFormatOpen("sample.xml"));
  EXPECT_TRUE(ExtensionLeavesFormatOpen("places.txt"));
  EXPECT_TRUE(ExtensionLeavesFormatOpen("noextension"));
  EXPECT_FALSE(ExtensionLeavesFormatOpen("trip.GPX"));
  EXPECT_FALSE(ExtensionLeavesFormatOpen("shops.tsv"));
}

}  // namespace
}  // namespace velorin
