// Each reader gives a point the further texts its format holds, from the
// places the format keeps them, and none where a file holds none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/format_table.h"
#include "platform/memory_streams.h"
#include "text/cp932_decoder.h"
#include "text/text_encoding.h"

namespace velorin {
namespace {

/// "title: description=A; address=B" for each point, fields in their order.
std::vector<std::string> FieldsOfAll(PointReader& reader) {
  std::vector<std::string> points;
  ReadEntry entry;
  while (reader.Next(entry)) {
    if (!entry.isPoint) continue;
    const Point& point = entry.point;
    std::string text =
        point.titleEncoding == TitleEncoding::kCp932 ? Cp932ToUtf8(point.title) : point.title;
    text += ":";
    for (const PointField field : kPointFields) {
      const std::string_view value = point.fields.Get(field);
      if (value.empty()) continue;
      text += " " + std::string(WordsOf(field).one) + "=" +
              (point.fields.encoding() == TitleEncoding::kCp932 ? Cp932ToUtf8(value)
                                                                : std::string(value)) +
              ";";
    }
    points.push_back(text);
  }
  if (reader.failure()) points.push_back("failed: " + reader.failure()->message);
  return points;
}

struct FieldsReadCase {
  const char* name;
  PointFormat format;
  std::string file;
  std::vector<std::string> points;
};

void PrintTo(const FieldsReadCase& c, std::ostream* out) { *out << c.name; }

class FieldsReadTest : public ::testing::TestWithParam<FieldsReadCase> {};

TEST_P(FieldsReadTest, TextsComeFromTheirPlaces) {
  const FieldsReadCase& c = GetParam();
  if (InfoOf(c.format).makeReader == nullptr) GTEST_SKIP() << "this build does not read it";
  ReaderOptions options;
  options.points = {true, true, true};
  testing::MemorySource source(c.file);
  auto reader = InfoOf(c.format).makeReader(source, options);
  EXPECT_EQ(FieldsOfAll(*reader), c.points);
}

const std::string kGpxHead =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\" "
    "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\" "
    "xmlns:x=\"urn:example:other\">\n";

const std::string kKmlHead =
    "<?xml version=\"1.0\"?>\n<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
    "xmlns:atom=\"http://www.w3.org/2005/Atom\"><Document>\n";

std::string NviBlock(const std::string& addr, const std::string& hpgl, const std::string& mail,
                     const std::string& lnkf, const std::string& comm) {
  return "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $168736AFD305033D;\n"
         " TTL= {Tower};\n CHAR = SJIS;\n ADDR = {" +
         addr + "};\n HPGL = {" + hpgl + "};\n MAIL = {" + mail + "};\n LNKF = {" + lnkf +
         "};\n COMM = {" + comm + "};\neoNPOIs@NRA\n";
}

using F = PointFormat;
INSTANTIATE_TEST_SUITE_P(
    Readers, FieldsReadTest,
    ::testing::Values(
        FieldsReadCase{"GpxWaypointWithGarminAddress",
                       F::kGpx,
                       kGpxHead +
                           "<wpt lat=\"35\" lon=\"139\"><name>Shop</name><cmt>open late</cmt>"
                           "<desc>Bakery &amp; caf\xC3\xA9</desc>"
                           "<link href=\"https://example.com/shop\"><text>site</text></link>"
                           "<link href=\"https://example.com/second\"/>"
                           "<extensions><gpxx:WaypointExtension><gpxx:Address>"
                           "<gpxx:StreetAddress>1-2-3 Example-cho</gpxx:StreetAddress>"
                           "<gpxx:City>Minato</gpxx:City><gpxx:State> </gpxx:State>"
                           "<gpxx:PostalCode>105-0000</gpxx:PostalCode></gpxx:Address>"
                           "<gpxx:PhoneNumber>+81 3-0000-0000</gpxx:PhoneNumber>"
                           "</gpxx:WaypointExtension></extensions></wpt>\n</gpx>\n",
                       {"Shop: description=Bakery & caf\xC3\xA9; comment=open late; address=1-2-3 "
                        "Example-cho, Minato, 105-0000; link=https://example.com/shop; telephone "
                        "number=+81 3-0000-0000;"}},
        FieldsReadCase{"GpxTenUrlAndRoutePointsButNotTrackPoints",
                       F::kGpx,
                       "<gpx version=\"1.0\" xmlns=\"http://www.topografix.com/GPX/1/0\">"
                       "<wpt lat=\"1\" lon=\"2\"><name>Old</name><url>https://example.com/"
                       "</url></wpt>"
                       "<rte><rtept lat=\"1\" lon=\"2\"><name>R</name><desc>turn</desc>"
                       "</rtept></rte>"
                       "<trk><trkseg><trkpt lat=\"1\" lon=\"2\"><desc>t</desc></trkpt>"
                       "</trkseg></trk></gpx>\n",
                       {"Old: link=https://example.com/;", "R: description=turn;", "Track 1 1:"}},
        FieldsReadCase{"GpxTextsOfOtherNamespacesAreNot",
                       F::kGpx,
                       kGpxHead +
                           "<wpt lat=\"1\" lon=\"2\"><name>A</name>"
                           "<extensions><x:desc>not it</x:desc><x:PhoneNumber>0</x:PhoneNumber>"
                           "</extensions></wpt>\n<wpt lat=\"1\" lon=\"2\"><name>B</name></wpt>"
                           "</gpx>\n",
                       {"A:", "B:"}},
        FieldsReadCase{
            "KmlPlacemarkElementsAndData",
            F::kKml,
            kKmlHead + "<Placemark><name>Shop</name>"
                       "<atom:link href=\"https://example.com/shop\"/>"
                       "<address>1-2-3 Example-cho</address><phoneNumber>tel:+81-3-0000-0000"
                       "</phoneNumber><description><![CDATA[<b>fresh</b> bread]]></description>"
                       "<ExtendedData><Data name=\"Comment\"><displayName>c</displayName>"
                       "<value>ask for Ken</value></Data><Data name=\"colour\"><value>red</value>"
                       "</Data><SchemaData><SimpleData name=\"email\">info@example.com</SimpleData>"
                       "</SchemaData></ExtendedData>"
                       "<Point><coordinates>139,35</coordinates></Point></Placemark>\n"
                       "<Placemark><name>Bare</name><Point><coordinates>1,2</coordinates></Point>"
                       "</Placemark></Document></kml>\n",
            {"Shop: description=<b>fresh</b> bread; comment=ask for Ken; address=1-2-3 "
             "Example-cho; link=https://example.com/shop; telephone "
             "number=tel:+81-3-0000-0000; e-mail address=info@example.com;",
             "Bare:"}},
        FieldsReadCase{"KmlEveryPointOfAPlacemarkCarriesItsTexts",
                       F::kKml,
                       kKmlHead + "<Placemark><description>both</description><MultiGeometry>"
                                  "<Point><coordinates>1,2</coordinates></Point>"
                                  "<Point><coordinates>3,4</coordinates></Point></MultiGeometry>"
                                  "<name>Pair</name></Placemark></Document></kml>\n",
                       {"Pair: description=both;", "Pair: description=both;"}},
        FieldsReadCase{
            "GeoJsonProperties",
            F::kGeoJson,
            "{\"type\": \"FeatureCollection\", \"features\": [{\"type\": \"Feature\", "
            "\"properties\": {\"name\": \"Shop\", \"description\": \"Bakery\", \"address\": "
            "\"1-2-3 Example-cho\", \"url\": \"https://example.com/\", \"phone\": 3000, "
            "\"tel\": \"+81 3\", \"email\": \"info@example.com\", \"notes\": \"second\"}, "
            "\"geometry\": {\"type\": \"Point\", \"coordinates\": [139, 35]}},"
            "{\"type\": \"Feature\", \"properties\": {\"name\": \"Bare\", \"ele\": 3}, "
            "\"geometry\": {\"type\": \"Point\", \"coordinates\": [1, 2]}}]}\n",
            // Every text kept: the second description as the comment, the
            // number as its text beside the second telephone number.
            {"Shop: description=Bakery; comment=second; address=1-2-3 Example-cho; "
             "link=https://example.com/; telephone number=3000 / +81 3; e-mail "
             "address=info@example.com;",
             "Bare:"}},
        FieldsReadCase{
            "GeoJsonSavedPlaces",
            F::kGeoJson,
            "{\"type\": \"FeatureCollection\", \"features\": [{\"geometry\": {\"coordinates\": "
            "[139.745433, 35.658581], \"type\": \"Point\"}, \"properties\": {\"date\": "
            "\"2024-05-01T10:00:00Z\", \"google_maps_url\": \"https://maps.example.com/?cid=1\", "
            "\"location\": {\"address\": \"1-2-3 Example-cho, Minato\", \"country_code\": "
            "\"JP\", \"name\": \"Tower\"}}, \"type\": \"Feature\"}]}\n",
            {"Tower: address=1-2-3 Example-cho, Minato; link=https://maps.example.com/?cid=1;"}},
        FieldsReadCase{"CsvColumnsAndSynonyms",
                       F::kCsv,
                       "Name,Lat,Lon,Notes,Website,TEL,Comment,E-mail,Address\r\n"
                       "Shop,35,139,Bakery,https://example.com/,+81 3,late,info@example.com,"
                       "\"1-2-3, Example-cho\"\r\n"
                       "Bare,1,2,, ,,,,\r\n",
                       {"Shop: description=Bakery; comment=late; address=1-2-3, Example-cho; "
                        "link=https://example.com/; telephone number=+81 3; e-mail "
                        "address=info@example.com;",
                        "Bare:"}},
        FieldsReadCase{"CsvCp932TextsKeepTheirBytes",
                       F::kCsv,
                       "\x96\xBC\x8F\xCC,\x88\xDC\x93\x78,\x8C\x6F\x93\x78,\x8F\x5A\x8F\x8A\r\n"
                       "\x93\x8C\x8B\x9E,35,139,\x8D\x60\x8B\xE6\r\n",  // 名称,緯度,経度,住所
                       {"東京: address=港区;"}},
        FieldsReadCase{"NviFilledFields",
                       F::kNvi,
                       NviBlock("\x8D\x60\x8B\xE6", "https://example.com/", "info@example.com",
                                "x.lnk", "Bakery / TEL 03") +
                           NviBlock("", "", "", "", ""),
                       {"Tower: description=Bakery / TEL 03; address=港区; "
                        "link=https://example.com/; e-mail address=info@example.com;",
                        "Tower:"}}),
    [](const auto& info) { return std::string(info.param.name); });

// A second text of a kind is kept, an address put together from its
// parts, a number or a boolean written as its text.
INSTANTIATE_TEST_SUITE_P(
    SecondTexts, FieldsReadTest,
    ::testing::Values(
        // As GPSBabel writes a route planner's GPX: Description its <cmt>,
        // Notes its <desc>, the address in parts.
        FieldsReadCase{"GpsBabelCsv",
                       F::kCsv,
                       "No,Latitude,Longitude,Name,Description,Notes,URL,Address,City,PostalCode,"
                       "State,Country,Phone\n"
                       "1,35.600000,139.700000,\"Shop\",\"the comment\",\"the description\","
                       "\"http://example.com/a\",\"1-2-3 Ginza\",\"Chuo\",\"104-0061\","
                       "\"Tokyo\",\"Japan\",\"03-1234\"\n",
                       {"Shop: description=the description; comment=the comment; address=1-2-3 "
                        "Ginza, Chuo, 104-0061, Tokyo, Japan; link=http://example.com/a; "
                        "telephone number=03-1234;"}},
        FieldsReadCase{"CsvSecondDescriptionJoinsTheComment",
                       F::kCsv,
                       "name,lat,lon,desc,comment,notes\nA,35,139,D,C,N\n",
                       {"A: description=D; comment=C / N;"}},
        FieldsReadCase{
            "GeoJsonNotesAndDescription",
            F::kGeoJson,
            "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\", \"notes\": \"N\", "
            "\"description\": \"D\"}, \"geometry\": {\"type\": \"Point\", "
            "\"coordinates\": [139, 35]}}",
            {"A: description=N; comment=D;"}},
        FieldsReadCase{
            "GeoJsonWebsiteAndUrl",
            F::kGeoJson,
            "{\"type\": \"FeatureCollection\", \"features\": [{\"type\": \"Feature\", "
            "\"properties\": {\"name\": \"A\", \"Website\": \"https://a/\", \"url\": "
            "\"https://b/\"}, \"geometry\": {\"type\": \"Point\", \"coordinates\": [139, "
            "35]}}, {\"type\": \"Feature\", \"properties\": {\"name\": \"B\", "
            "\"website\": \"https://a/\", \"url\": \"https://a/\"}, \"geometry\": "
            "{\"type\": \"Point\", \"coordinates\": [139, 35]}}]}",
            {"A: comment=https://b/; link=https://a/;", "B: link=https://a/;"}},
        FieldsReadCase{"GeoJsonAddressParts",
                       F::kGeoJson,
                       "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\", "
                       "\"addr:street\": \"1-2-3 Ginza\", \"addr:city\": \"Chuo\", "
                       "\"addr:postcode\": \"104-0061\"}, \"geometry\": {\"type\": \"Point\", "
                       "\"coordinates\": [139, 35]}}",
                       {"A: address=1-2-3 Ginza, Chuo, 104-0061;"}},
        FieldsReadCase{"GeoJsonNumbersAndBooleansAsText",
                       F::kGeoJson,
                       "{\"type\": \"Feature\", \"properties\": {\"name\": 101, \"phone\": "
                       "5551234, \"note\": true, \"comment\": null}, \"geometry\": {\"type\": "
                       "\"Point\", \"coordinates\": [139, 35]}}",
                       {"101: description=true; telephone number=5551234;"}}),
    [](const auto& info) { return std::string(info.param.name); });

/// A text of `characters` characters in each format's place for a
/// description: "あ" (three bytes), every hundredth an "a" (as real texts
/// hold spaces and digits; XmlLite under Wine breaks a character at the end
/// of a read that holds no ASCII byte at all).
std::string WithLongDescription(PointFormat format, std::size_t characters) {
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) text += i % 100 == 99 ? "a" : "\xE3\x81\x82";
  switch (format) {
    case PointFormat::kGpx:
      return kGpxHead + "<wpt lat=\"35\" lon=\"139\"><name>A</name><desc>" + text +
             "</desc></wpt></gpx>\n";
    case PointFormat::kKml:
      return kKmlHead + "<Placemark><name>A</name><description>" + text +
             "</description><Point><coordinates>139,35</coordinates></Point></Placemark>"
             "</Document></kml>\n";
    default:
      return "{\"type\": \"Feature\", \"properties\": {\"name\": \"A\", \"description\": \"" +
             text + "\"}, \"geometry\": {\"type\": \"Point\", \"coordinates\": [139, 35]}}";
  }
}

struct LongTextCase {
  const char* name;
  PointFormat format;
  std::size_t characters;
  std::size_t kept;  ///< bytes of the description read
  bool cut;
};

void PrintTo(const LongTextCase& c, std::ostream* out) { *out << c.name; }

class LongTextTest : public ::testing::TestWithParam<LongTextCase> {};

// A text past 64 KiB is cut on a character's edge and marked as cut.
TEST_P(LongTextTest, IsCutOnACharactersEdge) {
  const LongTextCase& c = GetParam();
  if (InfoOf(c.format).makeReader == nullptr) GTEST_SKIP() << "this build does not read it";
  testing::MemorySource source(WithLongDescription(c.format, c.characters));
  auto reader = InfoOf(c.format).makeReader(source, ReaderOptions{});
  ReadEntry entry;
  ASSERT_TRUE(reader->Next(entry));
  ASSERT_TRUE(entry.isPoint) << entry.reason;
  const std::string_view text = entry.point.fields.Get(PointField::kDescription);
  EXPECT_EQ(text.size(), c.kept);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_EQ(entry.point.fields.WasCut(PointField::kDescription), c.cut);
}

INSTANTIATE_TEST_SUITE_P(
    Readers, LongTextTest,
    ::testing::Values(LongTextCase{"GpxCut", F::kGpx, 30'000, 65'535, true},
                      LongTextCase{"KmlCut", F::kKml, 30'000, 65'535, true},
                      LongTextCase{"GeoJsonCut", F::kGeoJson, 30'000, 65'535, true},
                      LongTextCase{"GpxWithinTheBound", F::kGpx, 21'991, 65'535, false},
                      LongTextCase{"KmlOneByteOver", F::kKml, 21'992, 65'535, true},
                      LongTextCase{"GeoJsonWithinTheBound", F::kGeoJson, 21'991, 65'535, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
