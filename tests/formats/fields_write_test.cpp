// Each writer puts a point's further texts where its format has a place for
// them, and writes a point without any exactly as before.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "formats/csv_writer.h"
#include "formats/format_table.h"
#include "support/string_sink.h"

namespace velorin {
namespace {

const PointPosition kTower = DecodedPosition{1667486487, 425693206};

FieldTexts ShopTexts() {
  FieldTexts texts;
  texts[PointField::kDescription] = "Bakery & <caf\xC3\xA9>";
  texts[PointField::kComment] = "open \"late\"";
  texts[PointField::kAddress] = "1-2-3 Example-cho, Minato";
  texts[PointField::kLink] = "https://example.com/?a=1&b=2";
  texts[PointField::kPhone] = "+81 3-0000-0000";
  texts[PointField::kEmail] = "info@example.com";
  return texts;
}

struct FieldsWriteCase {
  const char* name;
  PointFormat format;
  /// The bytes of the point with texts; the one without follows.
  std::string expected;
};

void PrintTo(const FieldsWriteCase& c, std::ostream* out) { *out << c.name; }

class FieldsWriteTest : public ::testing::TestWithParam<FieldsWriteCase> {};

std::string WriteShopAndBare(PointFormat format, bool withTexts) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  FixedClock clock({"2010/04/01", "14:30:00"});
  std::unique_ptr<PointWriter> writer = InfoOf(format).makeWriter(out, clock, {});
  writer->Begin();
  if (withTexts) {
    writer->WriteWithFields(Point{.position = kTower}, "Shop", ShopTexts());
  } else {
    writer->Write(Point{.position = kTower}, "Shop");
  }
  writer->Write(Point{.position = kTower}, "Bare");
  writer->End();
  out.Close();
  return sink.bytes;
}

TEST_P(FieldsWriteTest, TextsInTheirPlaces) {
  EXPECT_EQ(WriteShopAndBare(GetParam().format, true), GetParam().expected);
}

const std::string kNviBlockHead =
    "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $168736AFD305033D;\n";

INSTANTIATE_TEST_SUITE_P(
    Writers, FieldsWriteTest,
    ::testing::Values(
        FieldsWriteCase{"Gpx", PointFormat::kGpx,
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<gpx version=\"1.1\" creator=\"Velorin\" "
                        "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                        "  <wpt lat=\"35.681194462\" lon=\"139.767111070\">\n"
                        "    <name>Shop</name>\n"
                        "    <cmt>open &quot;late&quot;</cmt>\n"
                        "    <desc>Bakery &amp; &lt;caf\xC3\xA9&gt;</desc>\n"
                        "    <link href=\"https://example.com/?a=1&amp;b=2\"/>\n"
                        "    <extensions><gpxx:WaypointExtension "
                        "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">"
                        "<gpxx:Address><gpxx:StreetAddress>1-2-3 Example-cho, Minato"
                        "</gpxx:StreetAddress></gpxx:Address>"
                        "<gpxx:PhoneNumber>+81 3-0000-0000</gpxx:PhoneNumber>"
                        "</gpxx:WaypointExtension></extensions>\n"
                        "  </wpt>\n"
                        "  <wpt lat=\"35.681194462\" lon=\"139.767111070\">\n"
                        "    <name>Bare</name>\n  </wpt>\n</gpx>\n"},
        FieldsWriteCase{"Kml", PointFormat::kKml,
                        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                        "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n"
                        "  <Placemark>\n    <name>Shop</name>\n"
                        "    <atom:link xmlns:atom=\"http://www.w3.org/2005/Atom\" "
                        "href=\"https://example.com/?a=1&amp;b=2\"/>\n"
                        "    <address>1-2-3 Example-cho, Minato</address>\n"
                        "    <phoneNumber>+81 3-0000-0000</phoneNumber>\n"
                        "    <description>Bakery &amp; &lt;caf\xC3\xA9&gt;</description>\n"
                        "    <ExtendedData>\n"
                        "      <Data name=\"comment\"><value>open &quot;late&quot;</value></Data>\n"
                        "      <Data name=\"email\"><value>info@example.com</value></Data>\n"
                        "    </ExtendedData>\n"
                        "    <Point><coordinates>139.767111070,35.681194462</coordinates></Point>\n"
                        "  </Placemark>\n"
                        "  <Placemark>\n    <name>Bare</name>\n"
                        "    <Point><coordinates>139.767111070,35.681194462</coordinates></Point>\n"
                        "  </Placemark>\n</Document>\n</kml>\n"},
        FieldsWriteCase{"GeoJson", PointFormat::kGeoJson,
                        "{\"type\": \"FeatureCollection\", \"features\": [\n"
                        "{\"type\": \"Feature\", \"properties\": {\"name\": \"Shop\", "
                        "\"description\": \"Bakery & <caf\xC3\xA9>\", \"comment\": "
                        "\"open \\\"late\\\"\", \"address\": \"1-2-3 Example-cho, Minato\", "
                        "\"url\": \"https://example.com/?a=1&b=2\", \"phone\": "
                        "\"+81 3-0000-0000\", \"email\": \"info@example.com\"}, "
                        "\"geometry\": {\"type\": \"Point\", "
                        "\"coordinates\": [139.767111070, 35.681194462]}},\n"
                        "{\"type\": \"Feature\", \"properties\": {\"name\": \"Bare\"}, "
                        "\"geometry\": {\"type\": \"Point\", "
                        "\"coordinates\": [139.767111070, 35.681194462]}}\n]}\n"},
        FieldsWriteCase{"Csv", PointFormat::kCsv,
                        "name,latitude,longitude,description,comment,address,url,phone,email\r\n"
                        "Shop,35.681194462,139.767111070,Bakery & <caf\xC3\xA9>,"
                        "\"open \"\"late\"\"\",\"1-2-3 Example-cho, Minato\","
                        "https://example.com/?a=1&b=2,+81 3-0000-0000,info@example.com\r\n"
                        "Bare,35.681194462,139.767111070,,,,,,\r\n"},
        // The run fills the texts for NVI: the address, the joined COMM in
        // the description, the link and the e-mail address.
        FieldsWriteCase{"Nvi", PointFormat::kNvi,
                        kNviBlockHead +
                            " TTL= {Shop};\n CHAR = SJIS;\n ADDR = {1-2-3 Example-cho, Minato};\n"
                            " HPGL = {https://example.com/?a=1&b=2};\n"
                            " MAIL = {info@example.com};\n LNKF = {};\n"
                            " COMM = {Bakery & <caf\xC3\xA9>};\neoNPOIs@NRA\n" +
                            kNviBlockHead +
                            " TTL= {Bare};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n"
                            " MAIL = {};\n LNKF = {};\n COMM = {};\neoNPOIs@NRA\n"}),
    [](const auto& info) { return std::string(info.param.name); });

class FieldsWithoutTextsTest : public ::testing::TestWithParam<PointFormat> {};

// The same two points without texts: no column, element or property of
// texts (POT has no place for any).
TEST_P(FieldsWithoutTextsTest, NothingOfThemIsWritten) {
  const std::string bare = WriteShopAndBare(GetParam(), false);
  for (const std::string_view mark :
       {"desc", "cmt", "address", "url", "phone", "email", "ADDR = {1", "COMM = {B", "link"}) {
    EXPECT_EQ(bare.find(mark), std::string::npos) << mark;
  }
}

INSTANTIATE_TEST_SUITE_P(Writers, FieldsWithoutTextsTest,
                         ::testing::Values(PointFormat::kGpx, PointFormat::kKml,
                                           PointFormat::kGeoJson, PointFormat::kCsv,
                                           PointFormat::kNvi, PointFormat::kPot),
                         [](const auto& info) { return std::string(InfoOf(info.param).name); });

TEST(CsvWriterColumns, ChosenFromTheFirstPointsAndCountedAfter) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  CsvWriter writer(out);
  FieldTexts address;
  address[PointField::kAddress] = "A";
  FieldTexts link;
  link[PointField::kLink] = "L";
  writer.Begin();
  writer.WriteWithFields(Point{.position = kTower}, "First", address);
  for (std::size_t i = 1; i < kCsvColumnLookahead; ++i)
    writer.Write(Point{.position = kTower}, "P");
  // Past the first points: the address has its column, the link none.
  writer.WriteWithFields(Point{.position = kTower}, "Late", address);
  writer.WriteWithFields(Point{.position = kTower}, "Later", link);
  writer.End();
  out.Close();
  EXPECT_TRUE(
      sink.bytes.starts_with("name,latitude,longitude,address\r\nFirst,35.681194462,"
                             "139.767111070,A\r\nP,35.681194462,139.767111070,\r\n"));
  EXPECT_TRUE(
      sink.bytes.ends_with("Late,35.681194462,139.767111070,A\r\n"
                           "Later,35.681194462,139.767111070,\r\n"));
  EXPECT_EQ(writer.fieldsLeftOut()[IndexOf(PointField::kLink)], 1);
  EXPECT_EQ(writer.fieldsLeftOut()[IndexOf(PointField::kAddress)], 0);
}

}  // namespace
}  // namespace velorin
