#include "formats/geojson_reader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

/// LineStrings, MultiLineStrings, Polygons, MultiPolygons, other
/// geometries, features without a geometry.
struct Ignored {
  std::int64_t lineStrings = 0;
  std::int64_t multiLineStrings = 0;
  std::int64_t polygons = 0;
  std::int64_t multiPolygons = 0;
  std::int64_t other = 0;
  std::int64_t withoutGeometry = 0;
  bool operator==(const Ignored&) const = default;
};

struct GeoJsonCase {
  const char* name;
  std::string document;
  Entries entries;
  Ignored ignored{};
};

void PrintTo(const GeoJsonCase& c, std::ostream* out) { *out << c.name; }

std::string Feature(const std::string& properties, const std::string& geometry) {
  return "{\"type\": \"Feature\", \"properties\": " + properties + ", \"geometry\": " + geometry +
         "}";
}
std::string Point(const std::string& coordinates) {
  return "{\"type\": \"Point\", \"coordinates\": " + coordinates + "}";
}
std::string Collection(const std::string& features) {
  return "{\"type\": \"FeatureCollection\", \"features\": [" + features + "]}";
}

class GeoJsonReaderTest : public ::testing::TestWithParam<GeoJsonCase> {};

// Every case is read in one piece, and in pieces of 3 bytes through a
// buffer of 5, so that tokens and UTF-8 characters are split between reads.
TEST_P(GeoJsonReaderTest, ReadsPoints) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(GetParam().document, chunk);
    GeoJsonReader reader(source, chunk == 0 ? 1 << 16 : 5);
    EXPECT_EQ(testing::ReadAll(reader), GetParam().entries) << "chunk " << chunk;
    const IgnoredItems items = reader.ignored();
    using K = IgnoredKind;
    EXPECT_EQ((Ignored{items[K::kLineString], items[K::kMultiLineString], items[K::kPolygon],
                       items[K::kMultiPolygon], items[K::kOtherGeometry],
                       items[K::kFeatureWithoutGeometry]}),
              GetParam().ignored);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, GeoJsonReaderTest,
    ::testing::Values(
        // Shapes.
        GeoJsonCase{"FeatureCollectionLinesOfFeatures",
                    "{\n\"type\": \"FeatureCollection\",\n\"features\": [\n" +
                        Feature("{\"name\": \"Tokyo Tower\"}", Point("[139.745433, 35.658581]")) +
                        ",\n\n" + Feature("{\"name\": \"東京\"}", Point("[139.7671, 35.6812, 3]")) +
                        "\n]\n}\n",
                    {"4 Tokyo Tower 139.745433 35.658581", "6 東京 139.7671 35.6812"}},
        GeoJsonCase{"MembersInAnyOrder",
                    "{\"features\": [{\"geometry\": {\"coordinates\": [1.5, 2.5], \"type\": "
                    "\"Point\"}, \"properties\": {\"name\": \"A\"}, \"type\": \"Feature\"}], "
                    "\"type\": \"FeatureCollection\"}",
                    {"1 A 1.5 2.5"}},
        GeoJsonCase{"MultiPointPositionsHaveTheirLines",
                    Collection(Feature("{\"name\": \"M\"}",
                                       "{\"type\": \"MultiPoint\", \"coordinates\": "
                                       "[[1, 2],\n[3, 4], \n [5,6]]}")),
                    {"1 M 1 2", "2 M 3 4", "3 M 5 6"}},
        GeoJsonCase{"GeometryCollectionPointsOnly",
                    Collection(Feature("{\"name\": \"G\"}",
                                       "{\"type\": \"GeometryCollection\", \"geometries\": [\n" +
                                           Point("[1, 2]") +
                                           ", {\"type\": \"LineString\", \"coordinates\": "
                                           "[[1, 2], [3, 4]]},\n{\"type\": \"GeometryCollection\","
                                           " \"geometries\": [" +
                                           Point("[5, 6]") + "]}]}")),
                    {"2 G 1 2", "3 G 5 6"},
                    {1, 0, 0, 0, 0, 0}},
        GeoJsonCase{"BareGeometriesAreUntitled",
                    "{\"type\": \"MultiPoint\", \"coordinates\": [[1, 2], [3, 4]]}",
                    {"1  1 2", "1  3 4"}},
        GeoJsonCase{"BarePoint", "\n" + Point("[-0.5, 51.5]"), {"2  -0.5 51.5"}},
        GeoJsonCase{"SingleFeature",
                    Feature("{\"name\": \"Alone\"}", Point("[135, 35]")),
                    {"1 Alone 135 35"}},
        GeoJsonCase{"EmptyCollection", Collection(""), {}},
        // Titles: name, else title, else label (each in any letter case),
        // else location.name; a number or a boolean as its text, null never.
        GeoJsonCase{
            "TitleFallbackOrder",
            Collection(
                Feature("{\"Title\": \"T\", \"title\": \"t\", \"name\": \"n\"}", Point("[1, 1]")) +
                ",\n" + Feature("{\"Title\": \"T\", \"title\": \"t\"}", Point("[2, 2]")) + ",\n" +
                Feature("{\"location\": {\"name\": \"L\"}, \"Title\": \"T\"}", Point("[3, 3]")) +
                ",\n" +
                Feature("{\"location\": {\"name\": \"L\", \"address\": \"x\"}}", Point("[4, 4]")) +
                ",\n" +
                Feature("{\"name\": null, \"title\": 7, \"other\": \"no\"}", Point("[5, 5]")) +
                ",\n" + Feature("null", Point("[6, 6]"))),
            {"1 n 1 1", "2 T 2 2", "3 T 3 3", "4 L 4 4", "5 7 5 5", "6  6 6"}},
        // Names like the ones read, of the same length or nearly: passed over
        // (a title's name in another letter case is its name).
        GeoJsonCase{"LookalikeMemberNames",
                    Collection(Feature("{\"Names\": \"N\", \"titles\": \"s\", \"TITLE\": \"T\", "
                                       "\"Title\": \"U\", \"Location\": {\"name\": \"L\"}}",
                                       "{\"Type\": \"LineString\", \"type\": \"Point\", "
                                       "\"coordinate\": [9, 9], \"Coordinates\": [8, 8], "
                                       "\"coordinates\": [1, 2]}")),
                    {"1 T 1 2"}},
        // Strings are decoded where they stand: an escaped newline is no line.
        GeoJsonCase{"EscapedNewlinesAreNoLines",
                    "{\"type\": \"Feature\",\n\"properties\": {\"a\\n\": \"\\n\", \"name\": "
                    "\"a\\nb\"},\n\"geometry\": {\"type\": \"MultiPoint\", \"coordinates\": "
                    "[[1, 2],\n[3, 4]]}}",
                    {"3 a\nb 1 2", "4 a\nb 3 4"}},
        GeoJsonCase{
            // As the file writes it: the run's title rule tidies it.
            "TitleTextAsWritten",
            Collection(Feature("{\"name\": \"  A\\n\\tB \\u6771\\u0000 \"}", Point("[1, 2]"))),
            {std::string("1   A\n\tB 東\0  1 2", 18)}},
        // A title shared by the points of a feature, then a shorter one and
        // none: no title runs on into the next feature.
        GeoJsonCase{"TitlesStayWithTheirFeatures",
                    Collection(Feature("{\"name\": \"Tokyo Metropolitan Government\"}",
                                       "{\"type\": \"MultiPoint\", \"coordinates\": "
                                       "[[1, 2],\n[3, 4]]}") +
                               ",\n" + Feature("{\"name\": \"B\"}", Point("[5, 6]")) + ",\n" +
                               Feature("{}", Point("[7, 8]")) + ",\n" +
                               Feature("{\"title\": \"Tokyo Metropolitan\"}", Point("[9, 9]"))),
                    {"1 Tokyo Metropolitan Government 1 2", "2 Tokyo Metropolitan Government 3 4",
                     "3 B 5 6", "4  7 8", "5 Tokyo Metropolitan 9 9"}},
        GeoJsonCase{"SavedPlacesOfAMapAccount",
                    "{\"type\": \"FeatureCollection\", \"features\": [{\"geometry\": "
                    "{\"coordinates\": [139.7454329, 35.6585805], \"type\": \"Point\"}, "
                    "\"properties\": {\"date\": \"2024-05-01T10:00:00Z\", \"google_maps_url\": "
                    "\"http://maps.example/?cid=1\", \"location\": {\"address\": \"4 Chome-2-8 "
                    "Shibakoen, Minato City, Tokyo\", \"country_code\": \"JP\", \"name\": \"Tokyo "
                    "Tower\"}}, \"type\": \"Feature\"}]}",
                    {"1 Tokyo Tower 139.745433 35.6585805"}},
        // A member given twice: the first one counts.
        GeoJsonCase{"DuplicateMembersFirstWins",
                    Collection("{\"type\": \"Feature\", \"type\": \"X\", \"properties\": "
                               "{\"name\": \"first\", \"name\": \"second\"}, \"properties\": "
                               "{\"name\": \"third\"}, \"geometry\": {\"type\": \"Point\", "
                               "\"type\": \"LineString\", \"coordinates\": [1, 2], "
                               "\"coordinates\": [3, 4]}, \"geometry\": " +
                               Point("[5, 6]") + "}"),
                    {"1 first 1 2"}},
        // Other geometries: counted, not read.
        GeoJsonCase{
            "OtherGeometriesAreCounted",
            Collection(Feature("{}",
                               "{\"type\": \"LineString\", \"coordinates\": [[1, 2], [3, "
                               "4]]}") +
                       "," +
                       Feature("{}",
                               "{\"coordinates\": [[[1, 2]]], \"type\": "
                               "\"MultiLineString\"}") +
                       "," +
                       Feature("{}",
                               "{\"type\": \"Polygon\", \"coordinates\": [[[0, 0], "
                               "[1, 0], [0, 1], [0, 0]]]}") +
                       "," + Feature("{}", "{\"type\": \"MultiPolygon\", \"coordinates\": []}") +
                       "," + Feature("{}", "{\"type\": \"Circle\", \"radius\": 5}") + "," +
                       Feature("{}", "null") + ",{\"type\": \"Feature\"}"),
            {},
            {1, 1, 1, 1, 1, 2}},
        // Positions that give no point: skipped with the reason.
        GeoJsonCase{
            "UnreadablePositions",
            Collection(
                Feature("{}", Point("[\"139\", 35]")) + ",\n" + Feature("{}", Point("[139]")) +
                ",\n" + Feature("{}", Point("[[1, 2]]")) + ",\n" + Feature("{}", Point("[]")) +
                ",\n" + Feature("{}", "{\"type\": \"Point\"}") + ",\n" +
                Feature("{}", "{\"coordinates\": [1, 2]}") + ",\n" +
                Feature("{}", "{\"type\": \"MultiPoint\", \"coordinates\": [1, 2]}") + ",\n" +
                Feature("{}",
                        "{\"type\": \"MultiPoint\", \"coordinates\": [[1, 2], [null, "
                        "2], [1e-400, 1]]}") +
                ",\n" + Feature("{}", Point("[1, {\"a\": 2}]"))),
            {"1 skip: a position holds something other than a number",
             "2 skip: a position with fewer than two numbers",
             "3 skip: Point coordinates that are not one position",
             "4 skip: a Point without coordinates", "5 skip: a Point without coordinates",
             "6 skip: a geometry without a \"type\"",
             "7 skip: MultiPoint coordinates that are not a list of positions", "8  1 2",
             "8 skip: a position holds something other than a number",
             "8 skip: longitude \"1e-400\" is out of range", "9 skip: a position holds an object"}},
        GeoJsonCase{"UntypedCollectionSkippedBeforeItsMembers",
                    Collection(Feature("{\"name\": \"U\"}",
                                       "{\"geometries\": [\n" + Point("[1, 2]") + "]}")),
                    {"1 skip: a geometry without a \"type\"", "2 U 1 2"}},
        GeoJsonCase{"ElementsThatAreNoFeature",
                    Collection(Point("[1, 2]") + ",\n7,\n[1, 2],\n{\"properties\": {}}"),
                    {"1 skip: a features element of type \"Point\", not \"Feature\"",
                     "2 skip: a features element that is no object",
                     "3 skip: a features element that is no object",
                     "4 skip: a features element without a \"type\""}},
        GeoJsonCase{"RangesAreLeftToTheRun",
                    Collection(Feature("{\"name\": \"W\"}", Point("[-180, -90]")) + "," +
                               Feature("{\"name\": \"E\"}", Point("[180.5, 1e2]"))),
                    {"1 W -180 -90", "1 E 180.5 100"}},
        // Names as long as a known one and with its first byte are still other names.
        GeoJsonCase{"TitleNamesLookAlikesPassed",
                    Collection(Feature("{\"nome\": \"A\", \"titel\": \"B\", \"lable\": \"C\", "
                                       "\"locatiom\": {\"name\": \"D\"}}",
                                       Point("[1, 2]"))),
                    {"1  1 2"}},
        GeoJsonCase{"FeatureNamesLookAlikesPassed",
                    Collection("{\"typf\": \"Feature\", \"type\": \"Feature\", \"propertiex\": "
                               "{\"name\": \"P\"}, \"geometrx\": " +
                               Point("[1, 2]") +
                               ", \"geometry\": {\"type\": \"Point\", "
                               "\"coordinatex\": [3, 4], \"geometriex\": []}}"),
                    {"1 skip: a Point without coordinates"}},
        GeoJsonCase{"MembersOfOtherObjectsPassed",
                    Collection("{\"type\": \"Feature\", \"name\": \"N\", \"coordinates\": [5, "
                               "6], \"properties\": {\"type\": \"T\", \"geometry\": " +
                               Point("[7, 8]") + "}, \"geometry\": " + Point("[1, 2]") + "}"),
                    {"1  1 2"}},
        // Coordinate systems.
        GeoJsonCase{"Crs84Named",
                    "{\"type\": \"FeatureCollection\", \"crs\": {\"type\": \"name\", "
                    "\"properties\": {\"name\": \"urn:ogc:def:crs:OGC:1.3:CRS84\"}}, "
                    "\"features\": [" +
                        Feature("{\"name\": \"A\"}", Point("[1, 2]")) + "]}",
                    {"1 A 1 2"}},
        GeoJsonCase{"Epsg4326AsGdalWritesIt",
                    "{\"type\": \"FeatureCollection\", \"features\": [], \"crs\": {\"type\": "
                    "\"name\", \"properties\": {\"name\": \"EPSG:4326\"}}}",
                    {}},
        GeoJsonCase{"NullCrs", "{\"type\": \"FeatureCollection\", \"crs\": null}", {}},
        // The older form: WGS 84 by its EPSG code, as a text or a number.
        GeoJsonCase{"OlderEpsgCodeAsText",
                    "{\"type\": \"FeatureCollection\", \"crs\": {\"type\": \"EPSG\", "
                    "\"properties\": {\"code\": \"4326\"}}, \"features\": [" +
                        Feature("{\"name\": \"A\"}", Point("[1, 2]")) + "]}",
                    {"1 A 1 2"}},
        GeoJsonCase{"OlderEpsgCodeAsNumber",
                    "{\"type\": \"Point\", \"coordinates\": [1, 2], \"crs\": {\"properties\": "
                    "{\"code\": 4326}, \"type\": \"EPSG\"}}",
                    {"1  1 2"}},
        GeoJsonCase{"OlderEpsgOtherCodeRefused",
                    "{\"type\": \"FeatureCollection\", \"crs\": {\"type\": \"EPSG\", "
                    "\"properties\": {\"code\": 3857}}, \"features\": []}",
                    {"1 failed: the \"crs\" member gives EPSG code \"3857\", not WGS 84 "
                     "longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate system "
                     "is converted"}},
        GeoJsonCase{"OlderEpsgWithoutCodeRefused",
                    "{\"type\": \"FeatureCollection\", \"crs\": {\"type\": \"EPSG\", "
                    "\"properties\": {\"name\": \"4326\"}}, \"features\": []}",
                    {"1 failed: the \"crs\" member gives EPSG code \"\", not WGS 84 "
                     "longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate system "
                     "is converted"}},
        GeoJsonCase{"CodeOfANamedCrsRefused",
                    "{\"type\": \"FeatureCollection\", \"crs\": {\"type\": \"name\", "
                    "\"properties\": {\"code\": 4326}}, \"features\": []}",
                    {"1 failed: the \"crs\" member gives \"\", not WGS 84 "
                     "longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate system "
                     "is converted"}},
        GeoJsonCase{"OtherCrsRefused",
                    "{\"type\": \"FeatureCollection\",\n\"crs\": {\"type\": \"name\", "
                    "\"properties\": {\"name\": \"urn:ogc:def:crs:EPSG::3857\"}},\n"
                    "\"features\": []}",
                    {"2 failed: the \"crs\" member gives \"urn:ogc:def:crs:EPSG::3857\", not WGS "
                     "84 longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate "
                     "system is converted"}},
        GeoJsonCase{"LinkedCrsRefused",
                    "{\"type\": \"Point\", \"coordinates\": [1, 2], \"crs\": {\"type\": "
                    "\"link\", \"properties\": {\"href\": \"http://example.com/crs/42\"}}}",
                    {"1 failed: the \"crs\" member gives no name (type \"link\"), not WGS 84 "
                     "longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate system "
                     "is converted"}},
        // Encodings.
        GeoJsonCase{"ByteOrderMarkSkipped",
                    "\xEF\xBB\xBF" + Collection(Feature("{\"name\": \"A\"}", Point("[1, 2]"))),
                    {"1 A 1 2"}},
        GeoJsonCase{"Utf16Refused",
                    std::string("\xFF\xFE{\0\"\0", 6),
                    {"1 failed: not UTF-8 (the file looks like UTF-16 or UTF-32): GeoJSON is "
                     "read in UTF-8 only"}},
        GeoJsonCase{"InvalidUtf8Refused",
                    Collection(Feature("{\"name\": \"\xC3\x28\"}", Point("[1, 2]"))),
                    {"1 failed: not a well-formed GeoJSON file: Invalid encoding in string."}},
        // A surrogate escape stands for a character only in a pair: either
        // half alone is refused, wherever the string stands.
        GeoJsonCase{"SurrogatePairRead",
                    Collection(Feature("{\"name\": \"a\\uD83D\\uDE00\"}", Point("[1, 2]"))),
                    {"1 a\xF0\x9F\x98\x80 1 2"}},
        GeoJsonCase{"LoneHighSurrogateRefused",
                    Collection(Feature("{\"name\": \"a\\uD800b\"}", Point("[1, 2]"))),
                    {"1 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"LoneLowSurrogateRefused",
                    Collection(Feature("{\"name\": \"a\\uDC00b\"}", Point("[1, 2]"))),
                    {"1 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"LastLowSurrogateRefused",
                    Collection(Feature("{\"name\": \"\\udfff\"}", Point("[1, 2]"))),
                    {"1 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"PairInTheWrongOrderRefused",
                    Collection(Feature("{\"name\": \"\\uDE00\\uD83D\"}", Point("[1, 2]"))),
                    {"1 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"LoneLowSurrogateInAKeyRefused",
                    "{\"type\": \"FeatureCollection\",\n\"\\uDC00\": 1}",
                    {"2 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"LoneLowSurrogateAfterThePointsRefused",
                    Collection(Feature("{\"name\": \"A\"}", Point("[1, 2]")) + ",\n" +
                               Feature("{\"note\": \"\\uDC00\"}", Point("[3, 4]"))),
                    {"1 A 1 2",
                     "2 failed: not a well-formed GeoJSON file: The surrogate pair in string is "
                     "invalid."}},
        GeoJsonCase{"EscapedCharacterBeforeTheSurrogatesRead",
                    Collection(Feature("{\"name\": \"\\uD7FF\\uE000\"}", Point("[1, 2]"))),
                    {"1 \xED\x9F\xBF\xEE\x80\x80 1 2"}},
        // Not GeoJSON, or no JSON at all.
        GeoJsonCase{"Empty", " \n", {"2 failed: not a GeoJSON file: the file is empty"}},
        GeoJsonCase{"TopLevelArray",
                    "[{\"type\": \"Feature\"}]",
                    {"1 failed: not a GeoJSON file: it does not begin with a JSON object ('{')"}},
        GeoJsonCase{"OtherJson",
                    "{\"name\": \"package\", \"version\": \"1.0\"}",
                    {"1 failed: not a GeoJSON file: the top-level object has no \"type\""}},
        GeoJsonCase{"OtherType",
                    "{\"type\": \"Topology\", \"objects\": {}}",
                    {"1 failed: not a GeoJSON file: the top-level \"type\" is \"Topology\""}},
        GeoJsonCase{
            "FeaturesOfAFeature",
            "{\"features\": [" + Feature("{}", Point("[1, 2]")) + "],\n\"type\": \"Feature\"}",
            {"1  1 2",
             "2 failed: not a GeoJSON file: a \"features\" member in a "
             "\"Feature\""}},
        GeoJsonCase{"CutOff",
                    Collection(Feature("{\"name\": \"A\"}", Point("[1, 2]"))).substr(0, 90),
                    {"1 failed: not a well-formed GeoJSON file: Missing a comma or '}' after an "
                     "object member."}},
        GeoJsonCase{"CutOffBetweenFeatures",
                    "{\"type\": \"FeatureCollection\", \"features\": [" +
                        Feature("{\"name\": \"A\"}", Point("[1, 2]")) + ",\n",
                    {"1 A 1 2",
                     "2 failed: not a well-formed GeoJSON file: it ends where a value should "
                     "follow"}},
        GeoJsonCase{
            "TrailingComma",
            "{\"type\": \"FeatureCollection\", \"features\": [],}",
            {"1 failed: not a well-formed GeoJSON file: Missing a name for object member."}},
        GeoJsonCase{"MoreAfterTheObject",
                    Collection("") + "\n{}",
                    {"2 failed: not a well-formed GeoJSON file: The document root must not be "
                     "followed by other values."}},
        GeoJsonCase{"NanIsNoJson",
                    Collection(Feature("{}", Point("[NaN, 1]"))),
                    {"1 failed: not a well-formed GeoJSON file: Invalid value."}},
        GeoJsonCase{"InfinityIsNoJson",
                    Collection(Feature("{}", Point("[1, -Infinity]"))),
                    {"1 failed: not a well-formed GeoJSON file: Invalid value."}},
        GeoJsonCase{"NumberBeyondADouble",
                    Collection(Feature("{}", Point("[1e400, 1]"))),
                    {"1 failed: not a well-formed GeoJSON file: Number too big to be stored in "
                     "double."}}),
    [](const auto& info) { return std::string(info.param.name); });

// Documents are made when a case runs, not when it is registered.
struct HostileCase {
  const char* name;
  std::string (*document)();
  std::string failure;
};

void PrintTo(const HostileCase& c, std::ostream* out) { *out << c.name; }

class GeoJsonHostileTest : public ::testing::TestWithParam<HostileCase> {};

TEST_P(GeoJsonHostileTest, IsRefusedWithAClearReason) {
  testing::MemorySource source(GetParam().document(), 4096);
  GeoJsonReader reader(source);
  const Entries entries = testing::ReadAll(reader);
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back(), GetParam().failure);
  // The refusal comes early: the source is not read to its end.
  EXPECT_LT(source.position(), 4u << 20);
}

std::string Nested(const std::string& open) {
  std::string document = "{\"type\": \"FeatureCollection\", \"deep\": ";
  for (int i = 0; i < 1'000'000; ++i) document += open;
  return document;
}

INSTANTIATE_TEST_SUITE_P(
    Documents, GeoJsonHostileTest,
    ::testing::Values(
        HostileCase{"DeepArrays", [] { return Nested("["); },
                    "1 failed: JSON nested more than 256 deep: refused"},
        HostileCase{"DeepObjects", [] { return Nested("{\"a\":"); },
                    "1 failed: JSON nested more than 256 deep: refused"},
        HostileCase{"HugeString",
                    [] {
                      return "{\"type\": \"Feature\", \"properties\": {\"name\": \"" +
                             std::string(100u << 20, 'x') + "\"}}";
                    },
                    "1 failed: a single JSON string, number or run of white space longer than "
                    "1048576 bytes"},
        HostileCase{"HugeKey", [] { return "{\"" + std::string(100u << 20, 'k') + "\": 1}"; },
                    "1 failed: a single JSON string, number or run of white space longer than "
                    "1048576 bytes"},
        HostileCase{"HugeNumber",
                    [] {
                      return "{\"type\": \"Point\", \"coordinates\": [1." +
                             std::string(16u << 20, '1') + ", 2]}";
                    },
                    "1 failed: a single JSON string, number or run of white space longer than "
                    "1048576 bytes"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TokenCase {
  const char* name;
  std::size_t nameSize;
  std::size_t bufferSize;
  Entries entries;
};

void PrintTo(const TokenCase& c, std::ostream* out) { *out << c.name; }

class GeoJsonTokenBoundTest : public ::testing::TestWithParam<TokenCase> {};

// A token's length counts from the event before it, wherever the buffers
// that held that event and the token begin: a long title after many
// features is within the bound, one longer than the bound by more than a
// buffer (it is checked as buffers are refilled) is not.
TEST_P(GeoJsonTokenBoundTest, CountsFromTheEventBeforeTheToken) {
  std::string features;
  for (int i = 0; i < 100; ++i) features += Feature("{\"name\": \"P\"}", Point("[1, 2]")) + ",\n";
  features +=
      Feature("{\"name\": \"" + std::string(GetParam().nameSize, 'x') + "\"}", Point("[3, 4]"));
  testing::MemorySource source(Collection(features));
  GeoJsonReader reader(source, GetParam().bufferSize);
  Entries entries = testing::ReadAll(reader);
  ASSERT_EQ(entries.size(), 101u);
  EXPECT_EQ(entries.front(), "1 P 1 2");
  EXPECT_EQ(entries.back(), GetParam().entries.back());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GeoJsonTokenBoundTest,
    ::testing::Values(
        TokenCase{"WithinTheBoundSmallBuffer",
                  1'000'000,
                  4096,
                  {"101 skip: a title longer than 65536 bytes"}},
        TokenCase{"WithinTheBoundLargeBuffer",
                  1'000'000,
                  1 << 16,
                  {"101 skip: a title longer than 65536 bytes"}},
        TokenCase{"BeyondTheBoundSmallBuffer",
                  1'200'000,
                  4096,
                  {"101 failed: a single JSON string, number or run of white space longer than "
                   "1048576 bytes"}},
        TokenCase{"BeyondTheBoundLargeBuffer",
                  1'200'000,
                  1 << 16,
                  {"101 failed: a single JSON string, number or run of white space longer than "
                   "1048576 bytes"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Titles as real files name them: Natural Earth's NAME, a shapefile's
// Name, Japanese open data's 名称 and 施設名, GTFS's stop_name.
INSTANTIATE_TEST_SUITE_P(
    RealTitles, GeoJsonReaderTest,
    ::testing::Values(
        GeoJsonCase{"NaturalEarth",
                    Collection(Feature("{\"scalerank\": 1, \"NAME\": \"Tokyo\"}", Point("[1, 2]"))),
                    {"1 Tokyo 1 2"}},
        GeoJsonCase{"Shapefile",
                    Collection(Feature("{\"Name\": \"Osaka\"}", Point("[1, 2]"))),
                    {"1 Osaka 1 2"}},
        GeoJsonCase{"JapaneseOpenData",
                    Collection(Feature("{\"名称\": \"東京駅\"}", Point("[1, 2]")) + ",\n" +
                               Feature("{\"施設名\": \"図書館\"}", Point("[3, 4]"))),
                    {"1 東京駅 1 2", "2 図書館 3 4"}},
        GeoJsonCase{"Gtfs",
                    Collection(Feature("{\"stop_id\": \"S1\", \"stop_name\": \"Shibuya\"}",
                                       Point("[1, 2]"))),
                    {"1 Shibuya 1 2"}},
        GeoJsonCase{
            "NameBeforeTitleBeforeLabelBeforeTheRest",
            Collection(Feature("{\"stop_name\": \"S\", \"施設名\": \"J\", \"Label\": "
                               "\"L\", \"TITLE\": \"T\"}",
                               Point("[1, 2]")) +
                       ",\n" +
                       Feature("{\"stop_name\": \"S\", \"施設名\": \"J\", \"Label\": "
                               "\"L\"}",
                               Point("[3, 4]")) +
                       ",\n" +
                       Feature("{\"stop_name\": \"S\", \"施設名\": \"J\"}", Point("[5, 6]"))),
            {"1 T 1 2", "2 L 3 4", "3 J 5 6"}},
        GeoJsonCase{"NumberAndBooleanTitles",
                    Collection(Feature("{\"name\": 101}", Point("[1, 2]")) + ",\n" +
                               Feature("{\"name\": false}", Point("[3, 4]"))),
                    {"1 101 1 2", "2 false 3 4"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A Google Takeout saved place it has no position for is at 0,0: skipped,
// saying so; a place truly at 0,0, or one that says nothing, is read.
INSTANTIATE_TEST_SUITE_P(
    TakeoutPlaces, GeoJsonReaderTest,
    ::testing::Values(
        GeoJsonCase{"NoLocationInformation",
                    Collection(Feature("{\"Comment\": \"No location information is available for "
                                       "this saved place\", \"google_maps_url\": "
                                       "\"http://maps.google.com/?cid=1\"}",
                                       Point("[0, 0]"))),
                    {"1 skip: a saved place without a location (its point is at 0,0 and it says "
                     "\"No location information ...\")"}},
        GeoJsonCase{"SaysItButHasAPosition",
                    Collection(Feature("{\"name\": \"A\", \"Comment\": \"No location information "
                                       "is available for this saved place\"}",
                                       Point("[139.7, 35.6]"))),
                    {"1 A 139.7 35.6"}},
        GeoJsonCase{"NullIsland",
                    Collection(Feature("{\"name\": \"Buoy\"}", Point("[0, 0]"))),
                    {"1 Buoy 0 0"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Strings as long as the bound allows, one after another, are decoded in
// place without moving while more of them is read: the buffer holds them.
TEST(GeoJsonReaderTest, LongStringsOneAfterAnother) {
  const std::string longText(JsonSourceStream::kMaxTokenSize - 100, 'x');
  std::string properties = "{";
  for (const char* member : {"a", "b", "c"}) {
    properties += std::string("\"") + member + "\": \"" + longText + "\", ";
  }
  properties += "\"name\": \"" + longText + "\"}";
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{1000}}) {
    testing::MemorySource source(Collection(Feature(properties, Point("[1, 2]")) + ",\n" +
                                            Feature("{\"name\": \"B\"}", Point("[3.25, 4]"))),
                                 chunk);
    GeoJsonReader reader(source, 4096);
    EXPECT_EQ(testing::ReadAll(reader),
              (Entries{"1 skip: a title longer than 65536 bytes", "2 B 3.25 4"}));
  }
}

// A title over 64 KiB (but within a token's bound) skips its points.
TEST(GeoJsonReaderTest, LongTitleSkipsItsPoints) {
  testing::MemorySource source(
      Collection(Feature("{\"name\": \"" + std::string(70'000, 'n') + "\"}", Point("[1, 2]")) +
                 ",\n" + Feature("{\"name\": \"B\"}", Point("[3, 4]"))));
  GeoJsonReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader),
            (Entries{"1 skip: a title longer than 65536 bytes", "2 B 3 4"}));
}

/// A LineString of `count` positions, one a line, the i-th at 0.001 * i.
std::string LongLine(int count) {
  std::string coordinates;
  for (int i = 0; i < count; ++i) {
    coordinates += (i > 0 ? ",\n[" : "[") + std::to_string(i) + ".5, 1]";
  }
  return "{\"type\": \"LineString\", \"coordinates\": [" + coordinates + "]}";
}

struct PauseCase {
  const char* name;
  std::string (*document)();  ///< made when the case runs
  std::size_t entries;        ///< how many, the failure among them
  Entries last;               ///< the last ones
};

void PrintTo(const PauseCase& c, std::ostream* out) { *out << c.name; }

class GeoJsonPauseTest : public ::testing::TestWithParam<PauseCase> {};

// A feature that gives many points pauses the parser: the reader walks on
// through what is left open itself, a value at a time, and reads what
// follows, right or wrong, as the parser would have. Read whole and in
// pieces of 3 bytes through a buffer of 5.
TEST_P(GeoJsonPauseTest, WalksOnAsTheParserWould) {
  const std::string document = GetParam().document();
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(document, chunk);
    GeoJsonReader reader(source, chunk == 0 ? 1 << 16 : 5, PointKinds{true, true, false});
    const Entries entries = testing::ReadAll(reader);
    ASSERT_EQ(entries.size(), GetParam().entries) << "chunk " << chunk;
    // Entries go out in the order of their lines, whatever waited.
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
      return std::stoll(a) < std::stoll(b);
    }));
    const Entries last(entries.end() - static_cast<std::ptrdiff_t>(GetParam().last.size()),
                       entries.end());
    EXPECT_EQ(last, GetParam().last) << "chunk " << chunk;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, GeoJsonPauseTest,
    ::testing::Values(
        PauseCase{"FeaturesAfterALongLine",
                  [] {
                    return Collection(Feature("{\"name\": \"L\"}", LongLine(5000)) + ",\n" +
                                      Feature("{\"name\": \"B\"}", Point("[3, 4]")));
                  },
                  5001,
                  {"5000 L 5000 4999.5 1", "5001 B 3 4"}},
        PauseCase{"ManyPointsWaitingGoOutInPieces",
                  [] {
                    return Collection("{\"type\": \"Feature\", \"geometry\": " + LongLine(5000) +
                                      ",\n\"properties\": {\"name\": \"W\"}},\n" +
                                      Feature("{\"name\": \"B\"}", Point("[3, 4]")));
                  },
                  5001,
                  {"5000 W 5000 4999.5 1", "5002 B 3 4"}},
        PauseCase{"NumbersAmongTheListedPositions",
                  [] {
                    std::string line = LongLine(3000);
                    line.insert(line.find('[', line.find("coordinates")) + 1, "7,\n");
                    return Feature("{}", line);
                  },
                  3001,
                  {"3001 Route 1 3000 2999.5 1",
                   "3001 skip: LineString coordinates that are not a list of positions"}},
        PauseCase{"LongLineAsTheWholeFile",
                  [] { return Feature("{}", LongLine(3000)); },
                  3000,
                  {"3000 Route 1 3000 2999.5 1"}},
        PauseCase{"MissingCommaAfterThePause",
                  [] {
                    std::string line = LongLine(3000);
                    line.insert(line.size() - 2, " [1, 2]");
                    return Collection(Feature("{}", line));
                  },
                  3001,
                  {"3000 failed: not a well-formed GeoJSON file: Missing a comma or ']' after an "
                   "array element."}},
        PauseCase{"CutOffAfterThePause",
                  [] {
                    const std::string line = LongLine(3000);
                    return Collection(Feature("{}", line.substr(0, line.size() - 2)));
                  },
                  3001,
                  {"3000 failed: not a well-formed GeoJSON file: Missing a comma or ']' after an "
                   "array element."}},
        PauseCase{"MoreAfterTheObjectAfterThePause",
                  [] { return Feature("{}", LongLine(3000)) + "\n{}"; },
                  3001,
                  {"3001 failed: not a well-formed GeoJSON file: The document root must not be "
                   "followed by other values."}}),
    [](const auto& info) { return std::string(info.param.name); });

// Features are handed out as they are read: the reader has not read far
// past the first feature when it gives its point.
TEST(GeoJsonReaderTest, StreamsFeatureByFeature) {
  std::string features;
  for (int i = 0; i < 20'000; ++i) {
    features += (i > 0 ? ",\n" : "") + Feature("{\"name\": \"P\"}", Point("[1, 2]"));
  }
  testing::MemorySource source(Collection(features));
  GeoJsonReader reader(source, 4096);
  ReadEntry entry;
  ASSERT_TRUE(reader.Next(entry));
  EXPECT_LE(source.position(), 2u * 4096);
  std::size_t count = 1;
  while (reader.Next(entry)) ++count;
  EXPECT_EQ(count, 20'000u);
  EXPECT_EQ(entry.point.line, 20'000);
  EXPECT_FALSE(reader.failure().has_value());
}

TEST(GeoJsonReaderTest, ReadErrorIsAFailure) {
  testing::MemorySource source(Collection(Feature("{}", Point("[1, 2]"))));
  source.FailAfter(10);
  GeoJsonReader reader(source);
  EXPECT_EQ(testing::ReadAll(reader), (Entries{"0 failed: read error: Input/output error"}));
}

}  // namespace
}  // namespace velorin
