#include "formats/osm_reader.h"

#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_file_system.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

std::string Node(int id, double lat, double lon, const std::string& tags = "") {
  return "<node id=\"" + std::to_string(id) + "\" lat=\"" + std::to_string(lat) + "\" lon=\"" +
         std::to_string(lon) + "\">" + tags + "</node>\n";
}
std::string Tag(const std::string& k, const std::string& v) {
  return "<tag k=\"" + k + "\" v=\"" + v + "\"/>";
}
std::string Way(int id, std::vector<int> nodes, const std::string& tags) {
  std::string way = "<way id=\"" + std::to_string(id) + "\">";
  for (const int n : nodes) way += "<nd ref=\"" + std::to_string(n) + "\"/>";
  return way + tags + "</way>\n";
}
std::string Osm(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<osm version=\"0.6\">\n" + body + "</osm>\n";
}

/// A square of nodes `first` to `first`+3 from (lat, lon), `size` degrees.
std::string Square(int first, double lat, double lon, double size) {
  return Node(first, lat, lon) + Node(first + 1, lat, lon + size) +
         Node(first + 2, lat + size, lon + size) + Node(first + 3, lat + size, lon);
}

const std::string kFuel = Tag("amenity", "fuel");

struct OsmCase {
  const char* name;
  std::string document;
  Entries entries;
  std::int64_t openWays = 0;
  std::int64_t otherRelations = 0;
};

void PrintTo(const OsmCase& c, std::ostream* out) { *out << c.name; }

const std::string kMultipolygon =
    Square(10, 35.0, 139.0, 0.03) + Square(20, 35.01, 139.01, 0.01) +
    Way(101, {10, 11, 12, 13, 10}, "") + Way(102, {20, 21, 22, 23, 20}, "") +
    "<relation id=\"200\"><member type=\"way\" ref=\"101\" role=\"outer\"/>"
    "<member type=\"way\" ref=\"102\" role=\"inner\"/>" +
    Tag("type", "multipolygon") + kFuel + Tag("name", "Ring") + "</relation>\n";

ReaderOptions FuelAndSprings() {
  ReaderOptions options;
  std::string error;
  options.osm.tags = *ParseOsmTags("amenity=fuel,natural=hot_spring", error);
  options.osm.nameLanguage = "en";
  return options;
}

class OsmReaderTest : public ::testing::TestWithParam<OsmCase> {};

// Read from a file (which the multipolygons read twice), with the node
// positions past a few bytes of memory in the temporary file.
TEST_P(OsmReaderTest, KeepsTheObjectsWithTheTags) {
  MemoryFileSystem files;
  files.AddFile("/a.osm", Osm(GetParam().document));
  std::error_code error;
  const std::unique_ptr<ByteSource> source = files.OpenForReading("/a.osm", error);
  ReaderOptions options = FuelAndSprings();
  options.osmNodeMemory = 64;
  const std::unique_ptr<PointReader> reader = MakeOsmReader(*source, options);
  EXPECT_EQ(testing::ReadAll(*reader), GetParam().entries);
  EXPECT_EQ(reader->ignored()[IgnoredKind::kOpenWay], GetParam().openWays);
  EXPECT_EQ(reader->ignored()[IgnoredKind::kOtherRelation], GetParam().otherRelations);
}

INSTANTIATE_TEST_SUITE_P(
    Extracts, OsmReaderTest,
    ::testing::Values(
        OsmCase{"NodesWithTheTags",
                Node(1, 35.5, 139.5, kFuel + Tag("name", "ENEOS")) + Node(2, 35.6, 139.6) +
                    Node(3, 35.7, 139.7, Tag("amenity", "parking")) +
                    Node(4, 35.8, 139.8, Tag("natural", "hot_spring")),
                {"0 ENEOS 139.5 35.5", "0  139.8 35.8"}},
        OsmCase{"NameInTheLanguageAsked",
                Node(1, 35.2, 139.1,
                     Tag("natural", "hot_spring") + Tag("name", "箱根湯本温泉") +
                         Tag("name:en", "Hakone Yumoto Onsen")),
                {"0 Hakone Yumoto Onsen 139.1 35.2"}},
        OsmCase{"ClosedWayAtItsCentroid",
                Square(10, 35.0, 139.0, 0.02) +
                    Way(100, {10, 11, 12, 13, 10}, kFuel + Tag("name", "Station")),
                {"0 Station 139.01 35.01"}},
        OsmCase{
            "OpenWayCounted", Square(10, 35.0, 139.0, 0.02) + Way(100, {10, 11, 12}, kFuel), {}, 1},
        OsmCase{"WayWithANodeOutsideTheExtract",
                Square(10, 35.0, 139.0, 0.02) + Way(100, {10, 11, 99, 13, 10}, kFuel),
                {"0 skip: way 100: its node 99 is not in the extract"}},
        OsmCase{"MultipolygonAroundItsHole", kMultipolygon, {"0 Ring 139.005 35.015"}},
        OsmCase{"OtherRelationCounted",
                "<relation id=\"5\">" + Tag("type", "route") + kFuel + "</relation>",
                {},
                0,
                1},
        OsmCase{"MultipolygonMissingAWay",
                "<relation id=\"7\"><member type=\"way\" ref=\"9\" role=\"outer\"/>" +
                    Tag("type", "multipolygon") + kFuel + "</relation>",
                {"0 skip: multipolygon 7: its way 9 is not in the extract"}},
        OsmCase{
            "NodeOutsideTheWorldSaid",
            Node(1, 35.5, 2782300000.0, kFuel) + Node(2, 95.0, 139.0, kFuel) + Node(3, 95.0, 139.0),
            {"0 skip: node 1: it has no position within the world",
             "0 skip: node 2: it has no position within the world"}},
        OsmCase{"EmptyExtract", "", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A pipe cannot be read twice: its multipolygons are skipped, saying why.
TEST(OsmReader, APipesMultipolygonsAreSkipped) {
  testing::MemorySource pipe(Osm(kMultipolygon), 5);
  const std::unique_ptr<PointReader> reader = MakeOsmReader(pipe, FuelAndSprings());
  EXPECT_EQ(testing::ReadAll(*reader),
            Entries{"0 skip: multipolygon 200: its ways come before it, and this input cannot be "
                    "read twice"});
}

TEST(OsmReader, RefusesWhatIsNoExtract) {
  for (const std::string& text :
       {std::string("Shopping list\n"), std::string("<?xml version=\"1.0\"?><gpx/>"),
        std::string("\0\0\0\x05garbage", 12)}) {
    testing::MemorySource source(text);
    const std::unique_ptr<PointReader> reader = MakeOsmReader(source, FuelAndSprings());
    const Entries entries = testing::ReadAll(*reader);
    ASSERT_EQ(entries.size(), 1u) << text;
    EXPECT_NE(entries[0].find("failed: "), std::string::npos) << entries[0];
  }
}

}  // namespace
}  // namespace velorin
