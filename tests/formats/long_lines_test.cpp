// Lines of any length are read as GPX and KML tracks always were, whatever
// the format: their points come as they are read (thinned, for tracks), and
// only points that must wait for what follows them in the file (a name, a
// title, a type) are bounded, by the same kMaxPointsWaiting everywhere.
#include <gtest/gtest.h>

#include <string>

#include "formats/format_table.h"
#include "formats/point_kinds.h"
#include "formats/read_all.h"
#include "platform/memory_streams.h"
#include "support/test_system.h"

namespace velorin {
namespace {

constexpr std::size_t kLong = 2 * kMaxPointsWaiting + 1;
constexpr std::int64_t kPast = static_cast<std::int64_t>(kLong - kMaxPointsWaiting);

/// `count` positions written by `write`, along a meridian 0.11 m apart.
template <typename Write>
std::string Positions(std::size_t count, Write write) {
  std::string text;
  text.reserve(count * 40);
  for (std::size_t i = 0; i < count; ++i) {
    const std::string latitude = "35." + std::to_string(100000 + i);
    write(text, i, latitude);
  }
  return text;
}

std::string GpxTrack() {
  return "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><name>T</name>"
         "<trkseg>\n" +
         Positions(kLong,
                   [](std::string& text, std::size_t, const std::string& latitude) {
                     text += "<trkpt lat=\"" + latitude + "\" lon=\"139\"/>\n";
                   }) +
         "</trkseg></trk></gpx>";
}

std::string KmlCoordinates() {
  return Positions(kLong, [](std::string& text, std::size_t, const std::string& latitude) {
    text += "139," + latitude + "\n";
  });
}

std::string Kml(const std::string& placemark) {
  return "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Placemark>" + placemark +
         "</Placemark></Document></kml>";
}

std::string KmlLineNameFirst() {
  return Kml("<name>L</name><LineString><coordinates>" + KmlCoordinates() +
             "</coordinates></LineString>");
}

std::string KmlLineNameAfter() {
  return Kml("<LineString><coordinates>" + KmlCoordinates() +
             "</coordinates></LineString><name>L</name>");
}

/// The positions of a GeoJSON list, `segments` of them split evenly.
std::string JsonPositions(std::size_t segments = 1) {
  return Positions(kLong, [segments](std::string& text, std::size_t i, const std::string& lat) {
    if (i > 0) text += i % (kLong / segments + 1) == 0 ? "],\n[" : ",\n";
    text += "[139, " + lat + "]";
  });
}

std::string Geometry(const char* type, const std::string& coordinates) {
  return std::string("{\"type\": \"") + type + "\", \"coordinates\": " + coordinates + "}";
}

/// A FeatureCollection of one feature, its members in the order given.
std::string Collection(const std::string& feature) {
  return "{\"type\": \"FeatureCollection\", \"features\": [\n" + feature + "\n]}";
}

std::string PropertiesFirst(const std::string& geometry) {
  return Collection("{\"type\": \"Feature\", \"properties\": {\"name\": \"L\"},\n\"geometry\": " +
                    geometry + "}");
}

std::string PropertiesAfter(const std::string& geometry) {
  return Collection("{\"type\": \"Feature\", \"geometry\": " + geometry +
                    ",\n\"properties\": {\"name\": \"L\"}}");
}

struct LongCase {
  const char* name;
  PointFormat format;
  std::string (*document)();  ///< made when the case runs
  const char* points;         ///< as --points takes it
  std::int64_t read;          ///< points read
  std::int64_t skipped;
  std::string firstSkip;  ///< the first skip's reason; "" for none
  /// The first entry comes before the input is half read (points waiting
  /// give their first entry only once the bound is passed).
  bool streams;

  friend void PrintTo(const LongCase& c, std::ostream* out) { *out << c.name; }
};

class LongLinesTest : public ::testing::TestWithParam<LongCase> {};

TEST_P(LongLinesTest, AreReadWithinTheSameBound) {
  const LongCase& c = GetParam();
  if (c.format == PointFormat::kKml && testutil::RunningUnderWine()) {
    GTEST_SKIP() << "Wine's XmlLite holds a whole text before handing on any of it, so the "
                    "limit on a piece of markup refuses a KML line's coordinates first";
  }
  const std::string document = c.document();
  testing::MemorySource source(document);
  ReaderOptions options;
  options.points = *ParsePointKinds(c.points);
  options.thinMetres = 0.0;
  const auto reader = InfoOf(c.format).makeReader(source, options);
  ASSERT_NE(reader, nullptr);
  ReadEntry entry;
  std::int64_t read = 0;
  std::int64_t skipped = 0;
  std::string firstSkip;
  std::size_t firstAt = 0;
  while (reader->Next(entry)) {
    if (read + skipped == 0) firstAt = source.position();
    if (entry.isPoint) {
      ++read;
    } else {
      if (skipped++ == 0) firstSkip = entry.reason;
    }
  }
  EXPECT_FALSE(reader->failure().has_value()) << reader->failure()->message;
  EXPECT_EQ(read, c.read);
  EXPECT_EQ(skipped, c.skipped);
  EXPECT_EQ(firstSkip, c.firstSkip);
  EXPECT_EQ(firstAt < document.size() / 2, c.streams) << firstAt << " of " << document.size();
}

const std::string kPlacemarkBound = "more than 100000 points of one placemark before its name";
const std::string kFeatureBound = "more than 100000 points of one feature waiting for its end";
constexpr auto kGpx = PointFormat::kGpx;
constexpr auto kKml = PointFormat::kKml;
constexpr auto kJson = PointFormat::kGeoJson;
constexpr auto kAll = static_cast<std::int64_t>(kLong);
constexpr auto kBound = static_cast<std::int64_t>(kMaxPointsWaiting);

INSTANTIATE_TEST_SUITE_P(
    Formats, LongLinesTest,
    ::testing::Values(
        LongCase{"GpxTrack", kGpx, &GpxTrack, "tracks", kAll, 0, "", true},
        LongCase{"KmlLineNameFirst", kKml, &KmlLineNameFirst, "tracks", kAll, 0, "", true},
        LongCase{"KmlLineNameAfter", kKml, &KmlLineNameAfter, "tracks", kBound, kPast,
                 kPlacemarkBound, false},
        LongCase{
            "GeoJsonLineString", kJson,
            [] { return PropertiesFirst(Geometry("LineString", "[" + JsonPositions() + "]")); },
            "routes", kAll, 0, "", true},
        LongCase{"GeoJsonMultiLineString", kJson,
                 [] {
                   return PropertiesFirst(
                       Geometry("MultiLineString", "[[" + JsonPositions(2) + "]]"));
                 },
                 "tracks", kAll, 0, "", true},
        LongCase{
            "GeoJsonMultiPoint", kJson,
            [] { return PropertiesFirst(Geometry("MultiPoint", "[" + JsonPositions() + "]")); },
            "waypoints", kAll, 0, "", true},
        // The title may still come: the points wait, as many as the bound.
        LongCase{
            "GeoJsonTitleAfterTheLine", kJson,
            [] { return PropertiesAfter(Geometry("LineString", "[" + JsonPositions() + "]")); },
            "routes", kBound, kPast, kFeatureBound, false},
        LongCase{"GeoJsonBareMultiPoint", kJson,
                 [] { return Geometry("MultiPoint", "[" + JsonPositions() + "]"); }, "waypoints",
                 kBound, kPast, kFeatureBound, false},
        LongCase{"GeoJsonLineInACollection", kJson,
                 [] {
                   return PropertiesFirst("{\"type\": \"GeometryCollection\", \"geometries\": [" +
                                          Geometry("LineString", "[" + JsonPositions() + "]") +
                                          "]}");
                 },
                 "routes", kBound, kPast, kFeatureBound, false},
        // Positions whose geometry's type comes after them wait as points do.
        LongCase{"GeoJsonTypeAfterTheCoordinates", kJson,
                 [] {
                   return PropertiesFirst("{\"coordinates\": [" + JsonPositions() +
                                          "], \"type\": \"LineString\"}");
                 },
                 "routes", kBound, 1,
                 "100001 positions before the geometry's type, past the 100000 points one "
                 "feature keeps",
                 false}),
    [](const auto& info) { return std::string(info.param.name); });

/// The entries of `document` read as `format` with tracks thinned by 50 m.
std::vector<std::string> Thinned(PointFormat format, const std::string& document) {
  testing::MemorySource source(document);
  ReaderOptions options;
  options.points = PointKinds{false, false, true};
  const auto reader = InfoOf(format).makeReader(source, options);
  std::vector<std::string> entries = testing::ReadAll(*reader);
  // Lines differ between the files; the points must not.
  for (std::string& entry : entries) entry.erase(0, entry.find(' '));
  return entries;
}

// A track thinned as it comes gives the same points from GeoJSON as from
// GPX, however long.
TEST(LongLinesTest, GeoJsonTrackIsThinnedAsAGpxTrack) {
  const std::vector<std::string> gpx = Thinned(kGpx, GpxTrack());
  const std::vector<std::string> json = Thinned(
      kJson,
      Collection("{\"type\": \"Feature\", \"properties\": {\"name\": \"T\"}, \"geometry\": " +
                 Geometry("MultiLineString", "[[" + JsonPositions() + "]]") + "}"));
  ASSERT_GT(gpx.size(), 100u);
  ASSERT_LT(gpx.size(), kLong / 100);
  EXPECT_EQ(json, gpx);
}

}  // namespace
}  // namespace velorin
