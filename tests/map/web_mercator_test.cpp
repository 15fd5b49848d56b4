#include "map/web_mercator.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

struct KnownPixel {
  std::string name;
  LonLat position;
  double zoom;
  PixelPoint pixel;
};

class KnownPixelTest : public testing::TestWithParam<KnownPixel> {};

TEST_P(KnownPixelTest, ProjectsToThePixelAndBack) {
  const KnownPixel& known = GetParam();
  const PixelPoint pixel = ProjectToPixel(known.position, known.zoom);
  EXPECT_NEAR(pixel.x, known.pixel.x, 0.01);
  EXPECT_NEAR(pixel.y, known.pixel.y, 0.01);
  const LonLat back = UnprojectPixel(pixel, known.zoom);
  EXPECT_NEAR(back.longitude, known.position.longitude, 1e-9);
  EXPECT_NEAR(back.latitude, known.position.latitude, 1e-9);
}

// Pixels worked out from x = (lon + 180) / 360 * 256 * 2^z and
// y = (0.5 - ln(tan(pi/4 + lat/2)) / (2 pi)) * 256 * 2^z.
INSTANTIATE_TEST_SUITE_P(
    Places, KnownPixelTest,
    testing::Values(
        KnownPixel{"OriginAtZoom0IsTheCentre", {0, 0}, 0, {128, 128}},
        KnownPixel{"OriginAtZoom1", {0, 0}, 1, {256, 256}},
        KnownPixel{"NorthWestCorner", {-180, kMaxMercatorLatitude}, 0, {0, 0}},
        KnownPixel{"SouthEastCorner", {180, -kMaxMercatorLatitude}, 2, {1024, 1024}},
        KnownPixel{"TokyoStationZoom10", {139.767125, 35.681236}, 10, {232847.314, 103226.542}},
        KnownPixel{"LondonZoom5", {-0.1276, 51.5072}, 5, {4093.096, 2724.056}},
        KnownPixel{"SydneyFractionalZoom", {151.2093, -33.8688}, 3.5, {2664.679, 1738.053}}),
    [](const auto& info) { return info.param.name; });

TEST(WebMercatorTest, LatitudesBeyondTheSquareWorldStayAtItsEdge) {
  EXPECT_NEAR(ProjectToPixel({0, 89.9}, 0).y, 0.0, 1e-9);
  EXPECT_NEAR(ProjectToPixel({0, -90}, 0).y, 256.0, 1e-9);
  EXPECT_NEAR(ProjectToPixel({0, 139.0}, 0).y, 0.0, 1e-9);  // a swapped latitude
}

struct TileCase {
  std::string name;
  PixelPoint pixel;
  int z;
  TileId tile;
};

class TileOfPixelTest : public testing::TestWithParam<TileCase> {};

TEST_P(TileOfPixelTest, NamesTheTile) {
  EXPECT_EQ(TileOfPixel(GetParam().pixel, GetParam().z), GetParam().tile);
}

INSTANTIATE_TEST_SUITE_P(
    Tiles, TileOfPixelTest,
    testing::Values(TileCase{"WholeWorld", {128, 128}, 0, {0, 0, 0}},
                    TileCase{"FirstPixelOfSecondTile", {256, 0}, 1, {1, 1, 0}},
                    TileCase{"LastPixelOfFirstTile", {255.99, 255.99}, 1, {1, 0, 0}},
                    TileCase{"EastOfTheWorldWraps", {512 + 10, 10}, 1, {1, 0, 0}},
                    TileCase{"WestOfTheWorldWraps", {-10, 10}, 1, {1, 1, 0}},
                    TileCase{"BelowTheWorldIsHeld", {10, 9999}, 1, {1, 0, 1}},
                    TileCase{"TokyoZoom10", {232847.314, 103226.542}, 10, {10, 909, 403}}),
    [](const auto& info) { return info.param.name; });

TEST(WebMercatorTest, TileUrlFillsEveryPlaceholder) {
  EXPECT_EQ(TileUrl("https://tile.example/{z}/{x}/{y}.png", {12, 3639, 1612}),
            "https://tile.example/12/3639/1612.png");
  EXPECT_EQ(TileUrl("http://h/{y}-{x}-{z}-{z}", {1, 2, 3}), "http://h/3-2-1-1");
  EXPECT_EQ(TileUrl("no placeholders {w}", {1, 2, 3}), "no placeholders {w}");
}

}  // namespace
}  // namespace velorin
