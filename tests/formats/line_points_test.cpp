// The points of routes and tracks: which --points reads, their names, the
// thinning of tracks; per format (GPX, KML, GeoJSON) through the table.
#include <gtest/gtest.h>

#include "formats/format_table.h"
#include "formats/point_kinds.h"
#include "formats/read_all.h"
#include "formats/track_thinner.h"
#include "geo/surface_distance.h"
#include "platform/memory_streams.h"

namespace velorin {
namespace {

using Entries = std::vector<std::string>;

struct KindsCase {
  const char* name;
  const char* text;
  std::optional<PointKinds> kinds;
};

class PointKindsTest : public ::testing::TestWithParam<KindsCase> {};

TEST_P(PointKindsTest, ParsesTheList) {
  EXPECT_EQ(ParsePointKinds(GetParam().text), GetParam().kinds);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PointKindsTest,
    ::testing::Values(KindsCase{"Waypoints", "waypoints", PointKinds{true, false, false}},
                      KindsCase{"Routes", "routes", PointKinds{false, true, false}},
                      KindsCase{"TracksAndWaypoints", "tracks,waypoints",
                                PointKinds{true, false, true}},
                      KindsCase{"All", "waypoints,routes,tracks", PointKinds{true, true, true}},
                      KindsCase{"Repeated", "routes,routes", PointKinds{false, true, false}},
                      KindsCase{"Empty", "", std::nullopt},
                      KindsCase{"TrailingComma", "routes,", std::nullopt},
                      KindsCase{"Blank", "routes, tracks", std::nullopt},
                      KindsCase{"Capitals", "Routes", std::nullopt},
                      KindsCase{"Singular", "route", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct TitleCase {
  const char* name;
  const char* lineName;
  LineKind kind;
  std::int64_t lineNumber;
  std::int64_t pointNumber;
  const char* title;
};

class LinePointTitleTest : public ::testing::TestWithParam<TitleCase> {};

TEST_P(LinePointTitleTest, NamesThePoint) {
  std::string title = "left over";
  LinePointTitle(title, GetParam().lineName, GetParam().kind, GetParam().lineNumber,
                 GetParam().pointNumber);
  EXPECT_EQ(title, GetParam().title);
}

INSTANTIATE_TEST_SUITE_P(
    Names, LinePointTitleTest,
    ::testing::Values(TitleCase{"Named", "Coast road", LineKind::kRoute, 1, 3, "Coast road 3"},
                      TitleCase{"WhiteSpaceTidied", " Coast\n  road ", LineKind::kTrack, 1, 12,
                                "Coast road 12"},
                      TitleCase{"UnnamedRoute", "", LineKind::kRoute, 2, 1, "Route 2 1"},
                      TitleCase{"UnnamedTrack", "  ", LineKind::kTrack, 4, 120, "Track 4 120"}),
    [](const auto& info) { return std::string(info.param.name); });

/// Latitudes along a meridian, `step` degrees apart: 0.0001 is 11.1 m.
struct ThinCase {
  const char* name;
  double metres;
  int points;
  std::vector<int> kept;  ///< from 0
};

class TrackThinnerTest : public ::testing::TestWithParam<ThinCase> {};

TEST_P(TrackThinnerTest, KeepsFirstLastAndThoseFarEnough) {
  TrackThinner thinner(GetParam().metres);
  thinner.StartSegment();
  std::vector<int> kept;
  int held = -1;
  for (int i = 0; i < GetParam().points; ++i) {
    if (thinner.Offer(139.0, 35.0 + 0.0001 * i) == TrackThinner::Verdict::kKeep) {
      kept.push_back(i);
      held = -1;
    } else {
      held = i;
    }
  }
  if (thinner.EndSegment()) {
    ASSERT_GE(held, 0);
    kept.push_back(held);
  }
  EXPECT_EQ(kept, GetParam().kept);
}

INSTANTIATE_TEST_SUITE_P(Distances, TrackThinnerTest,
                         ::testing::Values(ThinCase{"ZeroKeepsAll", 0.0, 4, {0, 1, 2, 3}},
                                           ThinCase{"FiftyMetres", 50.0, 11, {0, 5, 10}},
                                           ThinCase{"LastKeptWhenClose", 50.0, 12, {0, 5, 10, 11}},
                                           ThinCase{"FarBeyondTheTrack", 10'000.0, 5, {0, 4}},
                                           ThinCase{"OnePoint", 50.0, 1, {0}},
                                           ThinCase{"ExactlyTheDistance", 11.119, 3, {0, 1, 2}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SurfaceDistanceTest, MeasuresAlongTheSphere) {
  EXPECT_NEAR(SurfaceDistanceMetres(139.0, 35.0, 139.0, 36.0), 111'195.1, 0.5);
  EXPECT_NEAR(SurfaceDistanceMetres(0.0, 0.0, 180.0, 0.0), 20'015'115.1, 1.0);
  EXPECT_EQ(SurfaceDistanceMetres(10.0, 20.0, 10.0, 20.0), 0.0);
  // Tokyo Station to Shin-Osaka, about 403 km.
  EXPECT_NEAR(SurfaceDistanceMetres(139.7671, 35.6812, 135.5003, 34.7334), 403'000.0, 2'000.0);
}

struct LinesCase {
  const char* name;
  PointFormat format;
  std::string document;
  const char* points;  ///< as --points takes it
  double thin;
  Entries entries;
  std::int64_t ignoredRoutes = 0;
  std::int64_t ignoredTracks = 0;

  friend void PrintTo(const LinesCase& c, std::ostream* out) { *out << c.name; }
};

class LinePointsTest : public ::testing::TestWithParam<LinesCase> {};

// Each case is read in one piece and in pieces of 3 bytes.
TEST_P(LinePointsTest, ReadsTheKindsAsked) {
  for (const std::size_t chunk : {std::size_t{0}, std::size_t{3}}) {
    testing::MemorySource source(GetParam().document, chunk);
    ReaderOptions options;
    options.points = *ParsePointKinds(GetParam().points);
    options.thinMetres = GetParam().thin;
    const auto reader = InfoOf(GetParam().format).makeReader(source, options);
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(testing::ReadAll(*reader), GetParam().entries) << "chunk " << chunk;
    const IgnoredItems ignored = reader->ignored();
    EXPECT_EQ(ignored[IgnoredKind::kRoute] + ignored[IgnoredKind::kLineString],
              GetParam().ignoredRoutes);
    EXPECT_EQ(ignored[IgnoredKind::kTrack] + ignored[IgnoredKind::kMultiLineString],
              GetParam().ignoredTracks);
  }
}

std::string Gpx(const std::string& body) {
  return "<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" + body + "</gpx>";
}

const std::string kGpxAll =
    Gpx("<wpt lat=\"35\" lon=\"139\"><name>W</name></wpt>\n"
        "<rte><name>Coast road</name>\n"
        "<rtept lat=\"35.1\" lon=\"139.1\"><name>Start</name></rtept>\n"
        "<rtept lat=\"35.2\" lon=\"139.2\"/>\n"
        "<rtept lat=\"35.3\" lon=\"139.3\"><name> </name></rtept>\n"
        "</rte>\n"
        "<rte><rtept lat=\"36\" lon=\"140\"/></rte>\n"
        "<trk><name>Ride</name>\n"
        "<trkseg><trkpt lat=\"35\" lon=\"139\"/><trkpt lat=\"35.0001\" lon=\"139\"/>\n"
        "<trkpt lat=\"35.0002\" lon=\"139\"/></trkseg>\n"
        "<trkseg><trkpt lat=\"36\" lon=\"139\"><name>Top</name></trkpt></trkseg>\n"
        "</trk>\n");

std::string Kml(const std::string& body) {
  return "<kml xmlns=\"http://www.opengis.net/kml/2.2\" "
         "xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><Document>\n" +
         body + "</Document></kml>";
}

const std::string kKmlAll =
    Kml("<Placemark><name>P</name><Point><coordinates>139,35</coordinates></Point></Placemark>\n"
        "<Placemark><name>Walk</name><LineString><coordinates>\n"
        "139,35,0 139,35.0001\n139,35.0002 x,1</coordinates></LineString></Placemark>\n"
        "<Placemark><gx:Track><when>2020</when><gx:coord>140 36 10</gx:coord>\n"
        "<gx:coord>140 36.1</gx:coord></gx:Track></Placemark>\n");

const std::string kGeoJsonAll =
    "{\"type\": \"FeatureCollection\", \"features\": [\n"
    "{\"type\": \"Feature\", \"properties\": {\"name\": \"P\"},\n"
    " \"geometry\": {\"type\": \"Point\", \"coordinates\": [139, 35]}},\n"
    "{\"type\": \"Feature\", \"properties\": {\"name\": \"Road\"},\n"
    " \"geometry\": {\"type\": \"LineString\", \"coordinates\": [[139.1, 35.1],\n"
    " [139.2, 35.2]]}},\n"
    "{\"type\": \"Feature\", \"geometry\": {\"coordinates\": [[[139, 35], [139, 35.0001],\n"
    " [139, 35.0002]], [[140, 36]]], \"type\": \"MultiLineString\"},\n"
    " \"properties\": {\"name\": \"Ride\"}}\n"
    "]}";

INSTANTIATE_TEST_SUITE_P(
    Formats, LinePointsTest,
    ::testing::Values(
        LinesCase{
            "GpxWaypoints", PointFormat::kGpx, kGpxAll, "waypoints", 50.0, {"2 W 139 35"}, 2, 1},
        LinesCase{"GpxRoutes",
                  PointFormat::kGpx,
                  kGpxAll,
                  "routes",
                  50.0,
                  {"4 Start 139.1 35.1", "5 Coast road 2 139.2 35.2", "6 Coast road 3 139.3 35.3",
                   "8 Route 2 1 140 36"},
                  0,
                  1},
        LinesCase{"GpxTracksThinned",
                  PointFormat::kGpx,
                  kGpxAll,
                  "tracks",
                  50.0,
                  {"10 Ride 1 139 35", "11 Ride 3 139 35.0002", "12 Top 139 36"},
                  2,
                  0},
        LinesCase{"GpxTracksAll",
                  PointFormat::kGpx,
                  kGpxAll,
                  "tracks,waypoints",
                  0.0,
                  {"2 W 139 35", "10 Ride 1 139 35", "10 Ride 2 139 35.0001",
                   "11 Ride 3 139 35.0002", "12 Top 139 36"},
                  2,
                  0},
        LinesCase{"GpxBadRoutePoint",
                  PointFormat::kGpx,
                  Gpx("<rte><rtept lat=\"x\" lon=\"1\"/><rtept lat=\"2\" lon=\"3\"/></rte>"),
                  "routes",
                  50.0,
                  {"2 skip: route point lat 'x' is not a number", "2 Route 1 2 3 2"}},
        LinesCase{
            "KmlWaypoints", PointFormat::kKml, kKmlAll, "waypoints", 50.0, {"2 P 139 35"}, 0, 2},
        LinesCase{"KmlTracksThinned",
                  PointFormat::kKml,
                  kKmlAll,
                  "tracks",
                  50.0,
                  // The segment's last point goes out as the segment ends.
                  {"4 Walk 1 139 35", "5 skip: a track position that is not longitude,latitude",
                   "5 Walk 3 139 35.0002", "6 Track 2 1 140 36", "7 Track 2 2 140 36.1"}},
        LinesCase{"KmlNameAfterLine",
                  PointFormat::kKml,
                  Kml("<Placemark><LineString><coordinates>1,2 3,4</coordinates></LineString>"
                      "<name>Late</name></Placemark>"),
                  "tracks,routes",
                  0.0,
                  {"2 Late 1 1 2", "2 Late 2 3 4"}},
        LinesCase{"KmlMultiGeometrySegments",
                  PointFormat::kKml,
                  Kml("<Placemark><name>M</name><MultiGeometry>\n"
                      "<LineString><coordinates>1,2 1,2.0001</coordinates></LineString>\n"
                      "<LineString><coordinates>5,6</coordinates></LineString>\n"
                      "</MultiGeometry></Placemark>"),
                  "tracks",
                  50.0,
                  {"3 M 1 1 2", "3 M 2 1 2.0001", "4 M 3 5 6"}},
        LinesCase{"GeoJsonWaypoints",
                  PointFormat::kGeoJson,
                  kGeoJsonAll,
                  "waypoints",
                  50.0,
                  {"2 P 139 35"},
                  1,
                  1},
        LinesCase{"GeoJsonRoutes",
                  PointFormat::kGeoJson,
                  kGeoJsonAll,
                  "routes",
                  50.0,
                  {"5 Road 1 139.1 35.1", "6 Road 2 139.2 35.2"},
                  0,
                  1},
        LinesCase{"GeoJsonMultiLineStringThinned",
                  PointFormat::kGeoJson,
                  kGeoJsonAll,
                  "tracks",
                  50.0,
                  {"7 Ride 1 139 35", "8 Ride 3 139 35.0002", "8 Ride 4 140 36"},
                  1,
                  0},
        LinesCase{"GeoJsonUnnamedLine",
                  PointFormat::kGeoJson,
                  "{\"type\": \"LineString\", \"coordinates\": [[1, 2], [3, 4]]}",
                  "routes",
                  50.0,
                  {"1 Route 1 1 1 2", "1 Route 1 2 3 4"}},
        LinesCase{"GeoJsonLineOfNumbers",
                  PointFormat::kGeoJson,
                  "{\"type\": \"LineString\", \"coordinates\": [1, 2]}",
                  "routes",
                  50.0,
                  {"1 skip: LineString coordinates that are not a list of positions"}}),
    [](const auto& info) { return std::string(info.param.name); });

// Points of interest that --points leaves unread are counted by their kind,
// so that a file of waypoints alone can say why nothing came.
TEST(LinePointsTest, WaypointsNotAskedForAreCounted) {
  const struct {
    PointFormat format;
    std::string document;
    const char* points;
    IgnoredKind kind;
    std::int64_t count;
  } cases[] = {
      {PointFormat::kGpx, kGpxAll, "routes", IgnoredKind::kWaypoint, 1},
      {PointFormat::kGpx, kGpxAll, "waypoints", IgnoredKind::kWaypoint, 0},
      {PointFormat::kKml, kKmlAll, "tracks", IgnoredKind::kWaypoint, 1},
      {PointFormat::kGeoJson, kGeoJsonAll, "routes", IgnoredKind::kPoint, 1},
      {PointFormat::kGeoJson, "{\"type\": \"MultiPoint\", \"coordinates\": [[1, 2], [3, 4]]}",
       "tracks", IgnoredKind::kMultiPoint, 1},
  };
  for (const auto& c : cases) {
    if (InfoOf(c.format).makeReader == nullptr) continue;
    testing::MemorySource source(c.document);
    ReaderOptions options;
    options.points = *ParsePointKinds(c.points);
    const auto reader = InfoOf(c.format).makeReader(source, options);
    testing::ReadAll(*reader);
    EXPECT_EQ(reader->ignored()[c.kind], c.count) << DisplayName(c.format) << " " << c.points;
  }
}

/// A route-only file from a route planner: every point, none thinned.
TEST(LinePointsTest, RouteOf120PointsGives120Points) {
  std::string body = "<rte><name>Tour</name>\n";
  for (int i = 0; i < 120; ++i) {
    body += "<rtept lat=\"35." + std::to_string(1000 + i) + "\" lon=\"139\"/>\n";
  }
  testing::MemorySource source(Gpx(body + "</rte>\n"));
  ReaderOptions options;
  options.points = PointKinds{false, true, false};
  const auto reader = InfoOf(PointFormat::kGpx).makeReader(source, options);
  const Entries entries = testing::ReadAll(*reader);
  ASSERT_EQ(entries.size(), 120U);
  EXPECT_EQ(entries.back(), "122 Tour 120 139 35.1119");
}

}  // namespace
}  // namespace velorin
