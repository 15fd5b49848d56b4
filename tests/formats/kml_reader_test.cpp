#include "formats/kml_reader.h"

#include <gtest/gtest.h>

#include "formats/read_all.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct KmlCase {
  const char* name;
  std::string document;
  Entries entries;
  std::int64_t placemarksWithoutPoint = 0;
  std::string unread = "";
  std::int64_t linksOutside = 0;
  std::int64_t animationPlacemarks = 0;
};

void PrintTo(const KmlCase& c, std::ostream* out) { *out << c.name; }

std::string Kml(const std::string& body) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
         "xmlns:gx=\"http://www.google.com/kml/ext/2.2\">\n"
         "<Document>\n" +
         body + "</Document></kml>\n";
}

class KmlReaderTest : public ::testing::TestWithParam<KmlCase> {};

TEST_P(KmlReaderTest, ReadsPlacemarksWithAPoint) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(GetParam().document, chunk);
    KmlReader reader(source);
    EXPECT_EQ(testing::ReadAll(reader), GetParam().entries) << "chunk " << chunk;
    EXPECT_EQ(reader.ignored()[IgnoredKind::kPlacemarkWithoutPoint],
              GetParam().placemarksWithoutPoint);
    EXPECT_EQ(testing::DescribeUnread(reader.ignored()), GetParam().unread);
    EXPECT_EQ(reader.ignored()[IgnoredKind::kLinkOutside], GetParam().linksOutside);
    EXPECT_EQ(reader.ignored()[IgnoredKind::kAnimationPlacemark], GetParam().animationPlacemarks);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Documents, KmlReaderTest,
    ::testing::Values(
        KmlCase{"PlacemarkInNestedFolders",
                Kml("<Folder><name>F</name><Folder>\n<Placemark><name>Tower</name>"
                    "<description><![CDATA[<b>red</b>]]></description>"
                    "<Point><coordinates>139.7454329,35.6585805,0</coordinates></Point>"
                    "</Placemark></Folder></Folder>\n"),
                {"5 Tower 139.745433 35.6585805"}},
        KmlCase{"BlanksAroundTheTuple",
                Kml("<Placemark>\n<name>\n A\n B </name><Point><coordinates>\n  135.5,34.5 \n"
                    "</coordinates></Point></Placemark>"),
                {"4 \n A\n B  135.5 34.5"}},
        KmlCase{"NameAfterThePoint",
                Kml("<Placemark><Point><coordinates>1,2</coordinates></Point><name>late</name>"
                    "</Placemark>"),
                {"4 late 1 2"}},
        KmlCase{"OtherShapesAreCounted",
                Kml("<Placemark><name>L</name><LineString><coordinates>1,2 3,4</coordinates>"
                    "</LineString></Placemark><Placemark><name>P</name><Polygon/></Placemark>"
                    "<Placemark><Point><coordinates>5,6</coordinates></Point></Placemark>"),
                {"4  5 6"},
                1},  // the Polygon; the LineString is a track (see line_points_test)
        KmlCase{"EachPointOfAMultiGeometryNamedAfterThePlacemark",
                Kml("<Placemark><MultiGeometry>\n<Point><coordinates>1,2</coordinates></Point>\n"
                    "<LineString><coordinates>1,2 3,4</coordinates></LineString><MultiGeometry>\n"
                    "<Point><coordinates>5,6</coordinates></Point></MultiGeometry>\n"
                    "</MultiGeometry><name>Two</name></Placemark>"),
                {"5 Two 1 2", "7 Two 5 6"}},
        KmlCase{"ExtendedDataNameIsNotTheTitle",
                Kml("<Placemark><ExtendedData><Data name=\"x\"><name>no</name></Data>"
                    "</ExtendedData><gx:name>no</gx:name><name>yes</name>"
                    "<Point><coordinates>1,2</coordinates></Point></Placemark>"),
                {"4 yes 1 2"}},
        KmlCase{"PlacemarksOfAnotherSpellingOrNamespaceAreCounted",
                Kml("<placemark><name>A</name><Point><coordinates>1,2</coordinates></Point>"
                    "</placemark><x:Placemark xmlns:x=\"urn:x\"/>"),
                {},
                0,
                "2 <placemark> (not <Placemark>)"},
        KmlCase{"NetworkLinksAreCountedNotFollowed",
                Kml("<NetworkLink><Link><href>a.kml</href></Link></NetworkLink><NetworkLink>"
                    "<Url><href>http://example.com/b.kml</href></Url></NetworkLink><NetworkLink/>"),
                {},
                0,
                "",
                2},
        KmlCase{"GoogleKml21Namespace",
                "<kml xmlns=\"http://earth.google.com/kml/2.1\"><Placemark><name>A</name><Point>"
                "<coordinates>1,2</coordinates></Point></Placemark></kml>",
                {"1 A 1 2"}},
        KmlCase{"BadCoordinates",
                Kml("<Placemark><Point><coordinates>1</coordinates></Point></Placemark>\n"
                    "<Placemark><Point><coordinates>1,2 3,4</coordinates></Point></Placemark>\n"
                    "<Placemark><Point/></Placemark>\n"
                    "<Placemark><Point><coordinates>x,2</coordinates></Point></Placemark>\n"),
                {"4 skip: placemark coordinates are not longitude,latitude",
                 "5 skip: placemark coordinates are not longitude,latitude",
                 "6 skip: placemark point without coordinates",
                 "7 skip: placemark coordinates are not longitude,latitude"}},
        // The steps of an animation are counted, never read as places;
        // what comes after the animation is.
        KmlCase{"PlacemarksOfATourAreNoPlaces",
                Kml("<gx:Tour><name>T</name><gx:Playlist><gx:AnimatedUpdate><Update>"
                    "<targetHref/><Create><Document targetId=\"d\"><Placemark><name>Step</name>"
                    "<Point><coordinates>1,2</coordinates></Point></Placemark></Document>"
                    "</Create></Update></gx:AnimatedUpdate><gx:FlyTo><LookAt/></gx:FlyTo>"
                    "<Placemark><name>Also</name></Placemark></gx:Playlist></gx:Tour>\n"
                    "<Placemark><name>Place</name><Point><coordinates>3,4</coordinates></Point>"
                    "</Placemark>"),
                {"5 Place 3 4"},
                0,
                "",
                0,
                2},
        KmlCase{"AnimatedUpdateOutsideATour",
                Kml("<gx:AnimatedUpdate><Update><Create><Folder targetId=\"f\">"
                    "<Placemark><Point><coordinates>1,2</coordinates></Point></Placemark>"
                    "<Placemark><Point><coordinates>3,4</coordinates></Point></Placemark>"
                    "</Folder></Create></Update></gx:AnimatedUpdate>"),
                {},
                0,
                "",
                0,
                2},
        KmlCase{"UpdateOfANetworkLinkControl",
                "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><NetworkLinkControl><Update>"
                "<targetHref>a.kml</targetHref><Change><Placemark targetId=\"p\"><name>N"
                "</name></Placemark></Change><Create><Document targetId=\"d\"><Placemark>"
                "<Point><coordinates>1,2</coordinates></Point></Placemark></Document></Create>"
                "</Update></NetworkLinkControl><Document><Placemark><Point><coordinates>5,6"
                "</coordinates></Point></Placemark></Document></kml>",
                {"1  5 6"},
                0,
                "",
                0,
                2},
        KmlCase{"UpdateOfAnotherSpellingIsNoUpdate",
                Kml("<update><Placemark><Point><coordinates>1,2</coordinates></Point>"
                    "</Placemark></update>"),
                {"4  1 2"}},
        KmlCase{"NotKml",
                "<gpx/>",
                {"1 failed: not a KML file: the document element is <gpx>, not <kml>"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Points wait for a name that comes after them only up to a bound: a
// hostile placemark cannot hold them all in memory.
TEST(KmlReaderTest, PointsWaitingForANameAreBounded) {
  std::string points;
  for (std::size_t i = 0; i <= kMaxPointsWaiting; ++i) {
    points += "<Point><coordinates>1,2</coordinates></Point>";
  }
  testing::MemorySource source(
      Kml("<Placemark><MultiGeometry>" + points + "</MultiGeometry><name>N</name></Placemark>"));
  KmlReader reader(source);
  const Entries entries = testing::ReadAll(reader);
  ASSERT_EQ(entries.size(), kMaxPointsWaiting + 1);
  EXPECT_EQ(entries.front(), "4 skip: more than 100000 points of one placemark before its name");
  EXPECT_EQ(entries.back(), "4 N 1 2");
}

struct TupleCase {
  const char* name;
  const char* text;
  std::optional<std::pair<double, double>> degrees;
};

void PrintTo(const TupleCase& c, std::ostream* out) { *out << c.name; }

class KmlCoordinatesTest : public ::testing::TestWithParam<TupleCase> {};

TEST_P(KmlCoordinatesTest, OneTupleOfLongitudeLatitudeAndMaybeAltitude) {
  const std::optional<Degrees> parsed = ParseKmlCoordinates(GetParam().text);
  ASSERT_EQ(parsed.has_value(), GetParam().degrees.has_value());
  if (parsed) {
    EXPECT_EQ(parsed->longitude, GetParam().degrees->first);
    EXPECT_EQ(parsed->latitude, GetParam().degrees->second);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, KmlCoordinatesTest,
    ::testing::Values(TupleCase{"Pair", "139.5,35.25", std::pair{139.5, 35.25}},
                      TupleCase{"WithAltitude", "139.5,35.25,12.5", std::pair{139.5, 35.25}},
                      TupleCase{"Blanks", "\n 139.5,35.25,0\t", std::pair{139.5, 35.25}},
                      TupleCase{"Negative", "-0.1,-51.5", std::pair{-0.1, -51.5}},
                      TupleCase{"OneNumber", "139.5", std::nullopt},
                      TupleCase{"TwoTuples", "1,2 3,4", std::nullopt},
                      TupleCase{"TwoTuplesWithAltitude", "1,2,0 3,4,0", std::nullopt},
                      TupleCase{"Empty", "", std::nullopt},
                      TupleCase{"BadAltitude", "1,2,high", std::nullopt},
                      TupleCase{"BlanksAroundEachNumber", "1 ,\t2 ", std::pair{1.0, 2.0}},
                      TupleCase{"BlankInsideLongitude", "1 5,2", std::nullopt},
                      TupleCase{"SecondTupleCutShort", "1,2 3", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
