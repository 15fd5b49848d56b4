#include "map/svg_map.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>

#include "platform/file_system.h"
#include "support/string_sink.h"

namespace velorin {
namespace {

struct Drawn {
  std::string svg;
  MapView view;
};

Drawn Draw(const MapPoints& points, SvgMapOptions options = {}, const LandMap& land = {}) {
  testing::StringSink sink;
  const PointIndex index(points);
  const MapView view = SvgMapView(points, options);
  {
    BufferedWriter out(sink);
    WriteSvgMap(out, points, index, land, view, options);
    out.Close();
  }
  return {sink.bytes, view};
}

MapPoints Named(const std::vector<std::pair<LonLat, std::string>>& named) {
  MapPoints points;
  for (const auto& [position, title] : named) {
    MapPoint point;
    point.longitude = position.longitude;
    point.latitude = position.latitude;
    points.Add(point, title);
  }
  return points;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

struct PixelCase {
  std::string name;
  std::vector<LonLat> points;
  std::vector<std::string> circles;  ///< cx="..." cy="..." of each point
};

class SvgPixelTest : public ::testing::TestWithParam<PixelCase> {};

TEST_P(SvgPixelTest, PointsLandOnTheirPixels) {
  std::vector<std::pair<LonLat, std::string>> named;
  for (const LonLat& p : GetParam().points) named.push_back({p, "t"});
  SvgMapOptions options;
  options.width = 800;
  options.height = 600;
  const Drawn drawn = Draw(Named(named), options);
  for (const std::string& circle : GetParam().circles) {
    EXPECT_NE(drawn.svg.find("<circle " + circle + " r=\"4.0\"/>"), std::string::npos)
        << circle << "\n"
        << drawn.svg;
  }
}

// One point sits in the middle; two points at the same latitude span the
// width less the 24-pixel margins; across 180 the short way is taken.
INSTANTIATE_TEST_SUITE_P(
    Views, SvgPixelTest,
    ::testing::Values(
        PixelCase{"OnePointInTheMiddle", {{139.767125, 35.681236}}, {"cx=\"400.0\" cy=\"300.0\""}},
        PixelCase{"TwoPointsSpanTheWidth",
                  {{135, 35}, {136, 35}},
                  {"cx=\"24.0\" cy=\"300.0\"", "cx=\"776.0\" cy=\"300.0\""}},
        PixelCase{"BothSidesOf180",
                  {{179.5, -17}, {-179.5, -17}},
                  {"cx=\"24.0\" cy=\"300.0\"", "cx=\"776.0\" cy=\"300.0\""}},
        PixelCase{"NorthSouthSpanTheHeight",
                  {{10, 50}, {10, 51}},
                  {"cx=\"400.0\" cy=\"24.0\"", "cx=\"400.0\" cy=\"576.0\""}}),
    [](const auto& info) { return info.param.name; });

TEST(SvgMapTest, AnEmptyMapSaysSo) {
  const Drawn drawn = Draw(MapPoints{});
  EXPECT_NE(drawn.svg.find(kNoPointsText), std::string::npos);
  EXPECT_EQ(Count(drawn.svg, "<circle"), 0u);
  EXPECT_NE(drawn.svg.find(kLandAttribution), std::string::npos);
  EXPECT_EQ(drawn.svg.find("OpenStreetMap"), std::string::npos);
}

TEST(SvgMapTest, TitlesAreEscaped) {
  const Drawn drawn = Draw(Named({{{135, 35}, "A & <B> \"C\""}}));
  EXPECT_NE(drawn.svg.find("A &amp; &lt;B&gt; &quot;C&quot;"), std::string::npos);
  EXPECT_EQ(drawn.svg.find("<B>"), std::string::npos);
}

struct LabelCase {
  std::string name;
  LabelMode mode;
  std::size_t titles;
};

class SvgLabelTest : public ::testing::TestWithParam<LabelCase> {};

TEST_P(SvgLabelTest, WritesTheTitlesTheModeAllows) {
  // Four points in a row, so close that their titles overlap, and one far away.
  // The first title of the row goes right, the second left, the others find
  // no room; the far point sits at the right edge: its title goes left.
  MapPoints points = Named({{{134.0, 35}, "title-one"},
                            {{134.00001, 35}, "title-two"},
                            {{134.00002, 35}, "title-three"},
                            {{134.00003, 35}, "title-four"},
                            {{135.0, 34}, "title-far"}});
  SvgMapOptions options;
  options.labels = GetParam().mode;
  const Drawn drawn = Draw(points, options);
  EXPECT_EQ(Count(drawn.svg, ">title-"), GetParam().titles);
  EXPECT_EQ(Count(drawn.svg, "<circle"), 5u);
}

INSTANTIATE_TEST_SUITE_P(Modes, SvgLabelTest,
                         ::testing::Values(LabelCase{"WhereRoom", LabelMode::kWhereRoom, 3},
                                           LabelCase{"All", LabelMode::kAll, 5},
                                           LabelCase{"None", LabelMode::kNone, 0}),
                         [](const auto& info) { return info.param.name; });

TEST(SvgMapTest, DensePointsGatherIntoCountedClusters) {
  std::vector<std::pair<LonLat, std::string>> named;
  for (int i = 0; i < 3000; ++i) {
    named.push_back({{130.0 + (i % 60) * 0.25, 30.0 + (i / 60) * 0.25}, "t"});
  }
  const Drawn drawn = Draw(Named(named));
  std::regex count(">([0-9]+)</text>");
  long long total = 0;
  for (auto it = std::sregex_iterator(drawn.svg.begin(), drawn.svg.end(), count);
       it != std::sregex_iterator(); ++it) {
    total += std::stoll((*it)[1]);
  }
  const std::size_t singles = Count(drawn.svg, "r=\"4.0\"/>");
  EXPECT_EQ(total + static_cast<long long>(singles), 3000);
  EXPECT_LT(Count(drawn.svg, "<circle"), 1000u);
}

TEST(SvgMapTest, DrawsTheLandItIsGiven) {
  std::error_code error;
  LocalFileSystem disk;
  const LandMap land = LandMap::Load(disk, VELORIN_LAND_FILE, error);
  const Drawn drawn = Draw(Named({{{139.7, 35.6}, "Tokyo"}, {{135.5, 34.7}, "Osaka"}}), {}, land);
  EXPECT_NE(drawn.svg.find("fill-rule=\"evenodd\" d=\"M"), std::string::npos);
  // Honshu's coast runs through the picture: many of the land's points lie
  // on the screen.
  const std::regex point("[ML](-?[0-9.]+) (-?[0-9.]+)");
  int onScreen = 0;
  for (auto it = std::sregex_iterator(drawn.svg.begin(), drawn.svg.end(), point);
       it != std::sregex_iterator(); ++it) {
    const double x = std::stod((*it)[1]), y = std::stod((*it)[2]);
    if (x >= 0 && x <= drawn.view.width && y >= 0 && y <= drawn.view.height) ++onScreen;
  }
  EXPECT_GT(onScreen, 500);
}

/// The land's rings of a picture, in screen pixels.
std::vector<std::vector<PixelPoint>> LandRings(const std::string& svg) {
  const std::size_t start = svg.find("fill-rule=\"evenodd\" d=\"");
  const std::string path = svg.substr(start, svg.find('"', start + 26) - start);
  std::vector<std::vector<PixelPoint>> rings;
  const std::regex step("([MLZ])(?:(-?[0-9.]+) (-?[0-9.]+))?");
  for (auto it = std::sregex_iterator(path.begin(), path.end(), step); it != std::sregex_iterator();
       ++it) {
    if ((*it)[1] == "M") rings.emplace_back();
    if ((*it)[1] != "Z") rings.back().push_back({std::stod((*it)[2]), std::stod((*it)[3])});
  }
  return rings;
}

/// Inside the land, even-odd over every ring.
bool OnLand(const std::vector<std::vector<PixelPoint>>& rings, PixelPoint at) {
  bool inside = false;
  for (const std::vector<PixelPoint>& ring : rings) {
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
      if ((ring[i].y > at.y) != (ring[j].y > at.y) &&
          at.x < ring[j].x + (ring[i].x - ring[j].x) * (at.y - ring[j].y) / (ring[i].y - ring[j].y))
        inside = !inside;
    }
  }
  return inside;
}

struct WideViewCase {
  std::string name;
  MapView view;
  std::vector<std::pair<LonLat, std::string>> points;  ///< all on land
};

class SvgWideViewTest : public ::testing::TestWithParam<WideViewCase> {};

TEST_P(SvgWideViewTest, PointsAndTheirTitlesStandOnTheLand) {
  std::error_code error;
  LocalFileSystem disk;
  const LandMap land = LandMap::Load(disk, VELORIN_LAND_FILE, error);
  ASSERT_FALSE(error);
  const WideViewCase& c = GetParam();
  const MapPoints points = Named(c.points);
  const PointIndex index(points);
  SvgMapOptions options;
  options.width = c.view.width;
  options.height = c.view.height;
  testing::StringSink sink;
  {
    BufferedWriter out(sink);
    WriteSvgMap(out, points, index, land, c.view, options);
    out.Close();
  }
  const auto rings = LandRings(sink.bytes);
  for (const auto& [position, title] : c.points) {
    const PixelPoint at = c.view.ToScreen(position);
    EXPECT_TRUE(OnLand(rings, at)) << title << " at " << at.x << " " << at.y;
    EXPECT_NE(sink.bytes.find(">" + title + "</text>"), std::string::npos) << title;
  }
}

// A view 720 pixels to the world spans 512 degrees at 1024 pixels: centred
// on 180, Dakar and Lisbon are drawn east of it, Africa's and Europe's
// rings nearer the middle lie west of it, and must be drawn there too.
INSTANTIATE_TEST_SUITE_P(
    Views, SvgWideViewTest,
    ::testing::Values(WideViewCase{"WiderThanTheWorld",
                                   {{180, 0}, std::log2(720.0 / 256.0), 1024, 768},
                                   {{{-17.45, 14.7}, "Dakar"},
                                    {{-9.14, 38.74}, "Lisbon"},
                                    {{139.7, 35.7}, "Tokyo"}}},
                      WideViewCase{"TwiceTheWorld",
                                   {{0, 0}, std::log2(400.0 / 256.0), 1024, 400},
                                   {{{-58.4, -34.6}, "Buenos Aires"}, {{151.2, -33.87}, "Sydney"}}},
                      WideViewCase{"NarrowerThanTheWorld",
                                   {{140, 36}, 5, 800, 600},
                                   {{{139.7, 35.7}, "Tokyo"}, {{135.5, 34.7}, "Osaka"}}}),
    [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace velorin
