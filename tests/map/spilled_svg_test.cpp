#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "map/spilled_points.h"
#include "map/svg_map.h"
#include "support/string_sink.h"
#include "support/temp_folder.h"

namespace velorin {
namespace {

/// Points of a made-up file: `count` positions spread by `spread` degrees
/// about a centre (longitudes past 180 wrap), with titles of every kind.
struct PointSet {
  LonLat centre;
  double spread = 1.0;
  int count = 0;
};

std::vector<std::pair<LonLat, std::string>> Make(const PointSet& set) {
  std::vector<std::pair<LonLat, std::string>> points;
  std::uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) / static_cast<double>(1u << 24) - 0.5;
  };
  for (int i = 0; i < set.count; ++i) {
    double longitude = set.centre.longitude + set.spread * next();
    if (longitude >= 180.0) longitude -= 360.0;
    const double latitude = std::clamp(set.centre.latitude + set.spread * next(), -85.0, 85.0);
    const std::string title = i % 5 == 0   ? "no title"
                              : i % 5 == 1 ? "A & <B> " + std::to_string(i)
                                           : std::string(static_cast<std::size_t>(i % 40), 'x');
    points.push_back({{longitude, latitude}, title});
  }
  return points;
}

/// The lines of a picture in order, so that two pictures drawing the same
/// clusters in another order compare equal.
std::vector<std::string> SortedLines(const std::string& svg) {
  std::vector<std::string> lines;
  std::istringstream in(svg);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::sort(lines.begin(), lines.end());
  return lines;
}

std::string DrawIndexed(const std::vector<std::pair<LonLat, std::string>>& named,
                        const SvgMapOptions& options) {
  MapPoints points;
  for (const auto& [position, title] : named)
    points.Add({position.longitude, position.latitude}, title);
  const PointIndex index(points);
  testing::StringSink sink;
  BufferedWriter out(sink);
  WriteSvgMap(out, points, index, LandMap{}, SvgMapView(points, options), options);
  out.Close();
  return sink.bytes;
}

std::string DrawStreamed(const SpilledMapPoints& points, const SvgMapOptions& options) {
  testing::StringSink sink;
  BufferedWriter out(sink);
  EXPECT_TRUE(WriteSvgMap(out, points, LandMap{}, options));
  out.Close();
  return sink.bytes;
}

void AddAll(SpilledMapPoints& points, const std::vector<std::pair<LonLat, std::string>>& named) {
  for (const auto& [position, title] : named)
    points.Add({position.longitude, position.latitude}, title);
}

struct StreamCase {
  std::string name;
  PointSet set;
  LabelMode labels = LabelMode::kWhereRoom;
  int width = 1024;
  int height = 768;
  std::size_t kept = 5;
};

class SpilledSvgTest : public ::testing::TestWithParam<StreamCase> {};

TEST_P(SpilledSvgTest, SpilledPointsDrawTheSamePictureAsIndexedOnes) {
  const StreamCase& c = GetParam();
  const auto named = Make(c.set);
  SvgMapOptions options;
  options.width = c.width;
  options.height = c.height;
  options.labels = c.labels;
  SpilledMapPoints points(c.kept);
  AddAll(points, named);
  ASSERT_EQ(points.size(), named.size());
  EXPECT_EQ(points.spilled(), named.size() > c.kept);
  EXPECT_EQ(SortedLines(DrawStreamed(points, options)), SortedLines(DrawIndexed(named, options)));
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, SpilledSvgTest,
    ::testing::Values(
        StreamCase{"DenseClusters", {{139.7, 35.6}, 0.05, 3000}},
        StreamCase{"DenseNoLabels", {{139.7, 35.6}, 0.05, 3000}, LabelMode::kNone},
        StreamCase{"DenseEveryLabel", {{139.7, 35.6}, 0.05, 3000}, LabelMode::kAll},
        StreamCase{"Across180", {{180.0, 0.0}, 20.0, 3000}},
        StreamCase{"Across180EveryLabel", {{180.0, 0.0}, 20.0, 2500}, LabelMode::kAll},
        StreamCase{"AtTheLimitSingles", {{10.0, 50.0}, 4.0, 2000}},
        StreamCase{"OneOverTheLimitClusters", {{10.0, 50.0}, 4.0, 2001}},
        StreamCase{"FewSpilled", {{-70.0, -30.0}, 2.0, 300}},
        StreamCase{"WorldOnATinyPicture", {{0.0, 0.0}, 359.0, 3000}, LabelMode::kWhereRoom, 16, 16},
        StreamCase{
            "WorldOnANarrowPicture", {{0.0, 0.0}, 359.0, 3000}, LabelMode::kWhereRoom, 40, 3000},
        StreamCase{
            "NothingSpilled", {{139.7, 35.6}, 0.05, 3000}, LabelMode::kWhereRoom, 1024, 768, 5000},
        StreamCase{"NoPoints", {{0.0, 0.0}, 1.0, 0}}),
    [](const auto& info) { return info.param.name; });

TEST(SpilledMapPointsTest, GivesBackEveryPointInFileOrder) {
  for (const std::size_t kept : {std::size_t{0}, std::size_t{1}, std::size_t{7}, std::size_t{50}}) {
    const auto named = Make({{135.0, 35.0}, 3.0, 40});
    SpilledMapPoints points(kept);
    AddAll(points, named);
    std::vector<std::pair<LonLat, std::string>> read;
    std::uint32_t expected = 0;
    EXPECT_TRUE(points.ForEach([&](std::uint32_t index, LonLat position, std::string_view title) {
      EXPECT_EQ(index, expected++);
      read.push_back({position, std::string(title)});
    }));
    ASSERT_EQ(read.size(), named.size()) << kept;
    for (std::size_t i = 0; i < named.size(); ++i) {
      EXPECT_EQ(read[i].first.longitude, named[i].first.longitude);
      EXPECT_EQ(read[i].first.latitude, named[i].first.latitude);
      EXPECT_EQ(read[i].second, named[i].second);
    }
  }
}

TEST(SpilledMapPointsTest, WithoutATemporaryFileEveryPointStaysInMemory) {
  const auto named = Make({{139.7, 35.6}, 0.05, 3000});
  SpilledMapPoints points(5, [] { return static_cast<std::FILE*>(nullptr); });
  AddAll(points, named);
  EXPECT_FALSE(points.spilled());
  EXPECT_EQ(points.inMemory().size(), named.size());
  EXPECT_EQ(DrawStreamed(points, {}), DrawIndexed(named, {}));
}

TEST(SpilledMapPointsTest, ATemporaryFileThatTakesNothingFailsThePicture) {
  testutil::TempFolder folder;
  const std::string path = folder.Write("read-only", "");
  SpilledMapPoints points(5, [&] { return std::fopen(path.c_str(), "rb"); });
  AddAll(points, Make({{139.7, 35.6}, 0.05, 100}));
  EXPECT_TRUE(points.error());
  testing::StringSink sink;
  BufferedWriter out(sink);
  EXPECT_FALSE(WriteSvgMap(out, points, LandMap{}, {}));
}

}  // namespace
}  // namespace velorin
