#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "formats/format_table.h"
#include "formats/pot_writer.h"
#include "support/string_sink.h"
#include "text/cp932_decoder.h"

namespace velorin {
namespace {

// Two points as every writer gets them: the worked example's tower as an
// NVI code, and a Japanese title with markup characters in degrees.
const PointPosition kTowerCode = DecodedPosition{1667486487, 425693206};
const PointPosition kShrineDegrees = Degrees{135.5, 34.683333333};
const std::string kShrineTitle = "\x90\x5F\x8E\xD0 <&> \"A, B\"";  // 神社 <&> "A, B"

struct WriterCase {
  const char* name;
  PointFormat format;
  std::string expected;
};

void PrintTo(const WriterCase& c, std::ostream* out) { *out << c.name; }

class WritersTest : public ::testing::TestWithParam<WriterCase> {};

TEST_P(WritersTest, WriteTheWholeFile) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  FixedClock clock({"2010/04/01", "14:30:00"});
  std::unique_ptr<PointWriter> writer = InfoOf(GetParam().format).makeWriter(out, clock, {});
  // Titles reach a writer in its own encoding.
  const std::string shrine =
      writer->titleEncoding() == TitleEncoding::kCp932 ? kShrineTitle : Cp932ToUtf8(kShrineTitle);
  writer->Begin();
  writer->Write(Point{.position = kTowerCode}, "Tower");
  writer->Write(Point{.position = kShrineDegrees}, shrine);
  writer->End();
  ASSERT_TRUE(out.Close());
  EXPECT_EQ(sink.bytes, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, WritersTest,
    ::testing::Values(
        WriterCase{"Gpx", PointFormat::kGpx,
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<gpx version=\"1.1\" creator=\"Velorin\" "
                   "xmlns=\"http://www.topografix.com/GPX/1/1\">\n"
                   "  <wpt lat=\"35.681194462\" lon=\"139.767111070\">\n"
                   "    <name>Tower</name>\n  </wpt>\n"
                   "  <wpt lat=\"34.683333333\" lon=\"135.500000000\">\n"
                   "    <name>神社 &lt;&amp;&gt; &quot;A, B&quot;</name>\n  </wpt>\n"
                   "</gpx>\n"},
        WriterCase{"Kml", PointFormat::kKml,
                   "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                   "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n"
                   "  <Placemark>\n    <name>Tower</name>\n"
                   "    <Point><coordinates>139.767111070,35.681194462</coordinates></Point>\n"
                   "  </Placemark>\n"
                   "  <Placemark>\n    <name>神社 &lt;&amp;&gt; &quot;A, B&quot;</name>\n"
                   "    <Point><coordinates>135.500000000,34.683333333</coordinates></Point>\n"
                   "  </Placemark>\n</Document>\n</kml>\n"},
        WriterCase{"Csv", PointFormat::kCsv,
                   "name,latitude,longitude\r\n"
                   "Tower,35.681194462,139.767111070\r\n"
                   "\"神社 <&> \"\"A, B\"\"\",34.683333333,135.500000000\r\n"},
        WriterCase{"GeoJson", PointFormat::kGeoJson,
                   "{\"type\": \"FeatureCollection\", \"features\": [\n"
                   "{\"type\": \"Feature\", \"properties\": {\"name\": \"Tower\"}, "
                   "\"geometry\": {\"type\": \"Point\", "
                   "\"coordinates\": [139.767111070, 35.681194462]}},\n"
                   "{\"type\": \"Feature\", \"properties\": {\"name\": "
                   "\"神社 <&> \\\"A, B\\\"\"}, \"geometry\": {\"type\": \"Point\", "
                   "\"coordinates\": [135.500000000, 34.683333333]}}\n]}\n"},
        WriterCase{"Pot", PointFormat::kPot,
                   "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3\r\n"
                   // The title ends in a quote: quoted, so that reading gives it back.
                   "ORD=POI/tex=\"" +
                       kShrineTitle + "\"/kei=135'30'0'0/ido=34'41'0'0\r\n"},
        WriterCase{"Nvi", PointFormat::kNvi,
                   "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $168736AFD305033D;\n"
                   " TTL= {Tower};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n MAIL = {};\n"
                   " LNKF = {};\n COMM = {};\neoNPOIs@NRA\n"
                   "NPOIs100@NRA/R1;\n 2010/04/01_14:30:00_JST;\n 255;\n $168099C7A8913920;\n"
                   " TTL= {" +
                       kShrineTitle +
                       "};\n CHAR = SJIS;\n ADDR = {};\n HPGL = {};\n"
                       " MAIL = {};\n LNKF = {};\n COMM = {};\neoNPOIs@NRA\n"}),
    [](const auto& info) { return std::string(info.param.name); });

struct PotTitleCase {
  const char* name;
  std::string title;
  std::string written;
  bool changed;
};

void PrintTo(const PotTitleCase& c, std::ostream* out) { *out << c.name; }

class PotTitleTest : public ::testing::TestWithParam<PotTitleCase> {};

TEST_P(PotTitleTest, KeepsWhatAPotLineCanGiveBack) {
  std::string out;
  EXPECT_EQ(PotTitleText(GetParam().title, out), GetParam().changed);
  EXPECT_EQ(out, GetParam().written);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, PotTitleTest,
    ::testing::Values(PotTitleCase{"Plain", "Tower", "Tower", false},
                      PotTitleCase{"Slash", "A/B",
                                   "A\x81\x5E"
                                   "B",
                                   true},
                      PotTitleCase{"LatitudeKey", "Kido=1 IDO=2",
                                   "Kido\x81\x81"
                                   "1 IDO\x81\x81"
                                   "2",
                                   true},
                      // 83 69 is one character: the "i" that follows its lead byte
                      // begins no key.
                      PotTitleCase{"KeyLettersAfterALeadByte", "\x83ido=", "\x83ido=", false},
                      PotTitleCase{"LeadingQuote", "\"Big\" Tower", "\"\"Big\" Tower\"", false},
                      PotTitleCase{"TrailingQuote", "say \"hi\"", "\"say \"hi\"\"", false},
                      PotTitleCase{"CarriageReturn", "A\rB", "A B", true},
                      PotTitleCase{"LineFeed", "A\nB", "A B", true},
                      PotTitleCase{"LongestKept", std::string(32'000, 'A'),
                                   std::string(32'000, 'A'), false},
                      // Cut by characters: a double-byte one is never split.
                      PotTitleCase{"TooLongIsCut", std::string(31'999, 'A') + "\x82\xA0\x82\xA0",
                                   std::string(31'999, 'A') + "\x82\xA0", true}),
    [](const auto& info) { return std::string(info.param.name); });

// Each writer says which encoding it takes its titles in: the run's title
// rule puts every title into it.
TEST(WritersTest, EachWriterNamesTheEncodingOfItsTitles) {
  const struct {
    PointFormat format;
    CsvEncoding csv;
    TitleEncoding titles;
  } cases[] = {
      {PointFormat::kNvi, CsvEncoding::kUtf8, TitleEncoding::kCp932},
      {PointFormat::kPot, CsvEncoding::kUtf8, TitleEncoding::kCp932},
      {PointFormat::kGpx, CsvEncoding::kUtf8, TitleEncoding::kUtf8},
      {PointFormat::kKml, CsvEncoding::kUtf8, TitleEncoding::kUtf8},
      {PointFormat::kGeoJson, CsvEncoding::kUtf8, TitleEncoding::kUtf8},
      {PointFormat::kCsv, CsvEncoding::kUtf8Bom, TitleEncoding::kUtf8},
      {PointFormat::kCsv, CsvEncoding::kCp932, TitleEncoding::kCp932},
  };
  for (const auto& c : cases) {
    testing::StringSink sink;
    BufferedWriter out(sink);
    FixedClock clock({"2010/04/01", "14:30:00"});
    WriterOptions options;
    options.csvEncoding = c.csv;
    const auto writer = InfoOf(c.format).makeWriter(out, clock, options);
    EXPECT_EQ(writer->titleEncoding(), c.titles) << InfoOf(c.format).name;
  }
}

}  // namespace
}  // namespace velorin
