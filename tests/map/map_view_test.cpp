#include "map/map_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace velorin {
namespace {

struct FitCase {
  std::string name;
  std::vector<LonLat> points;
  LonLat center;
  double zoomAtLeast;
  double zoomAtMost;
};

class FitViewTest : public testing::TestWithParam<FitCase> {};

TEST_P(FitViewTest, CentresAndZoomsOnThePoints) {
  const FitCase& fit = GetParam();
  const MapView view = FitView(BoundsOf(fit.points), 1024, 768, 24);
  // Longitudes 180 and -180 are one.
  const double east = view.center.longitude - fit.center.longitude;
  EXPECT_NEAR(std::remainder(east, 360.0), 0.0, 0.01);
  EXPECT_NEAR(view.center.latitude, fit.center.latitude, 0.5);
  EXPECT_GE(view.zoom, fit.zoomAtLeast);
  EXPECT_LE(view.zoom, fit.zoomAtMost);
  // Every point lies on the screen, inside the margin.
  for (const LonLat& point : fit.points) {
    const PixelPoint at = view.ToScreen(point);
    EXPECT_GE(at.x, 23.9);
    EXPECT_LE(at.x, 1024 - 23.9);
    EXPECT_GE(at.y, 23.9);
    EXPECT_LE(at.y, 768 - 23.9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Fits, FitViewTest,
    testing::Values(
        FitCase{"NoPointShowsTheWholeWorld", {}, {0, 0}, 1.5, 1.6},
        FitCase{"OnePointAtStreetZoom", {{139.7671, 35.6812}}, {139.7671, 35.6812}, 14, 14},
        FitCase{"TwoEqualPointsCountAsOne", {{10, 20}, {10, 20}}, {10, 20}, 14, 14},
        FitCase{"TokyoToOsaka", {{139.7671, 35.6812}, {135.4959, 34.7024}}, {137.6315, 35.2}, 7, 9},
        FitCase{
            "BothSidesOf180TakeTheShortWay", {{179.5, -16.5}, {-179.5, -17.5}}, {180, -17}, 7, 10},
        FitCase{
            "FijiAndSamoaAcross180", {{178.44, -18.14}, {-171.76, -13.83}}, {-176.66, -16}, 5, 8},
        FitCase{"WideSpanStaysPlainWhenShorter", {{-100, 0}, {0, 10}, {100, 0}}, {0, 5}, 2, 3},
        FitCase{"WideSpanAcross180WhenShorter", {{-170, 0}, {0, 10}, {170, 0}}, {95, 5}, 2, 3}),
    [](const auto& info) { return info.param.name; });

TEST(MapViewTest, ScreenPixelsFollowTheCentreAndZoom) {
  const MapView view{{0, 0}, 0, 256, 256};
  EXPECT_EQ(view.ToScreen({0, 0}), (PixelPoint{128, 128}));
  EXPECT_NEAR(view.ToScreen({90, 0}).x, 192, 1e-9);
  const MapView zoomed{{139.767125, 35.681236}, 10, 800, 600};
  const PixelPoint centre = zoomed.ToScreen({139.767125, 35.681236});
  EXPECT_NEAR(centre.x, 400, 1e-6);
  EXPECT_NEAR(centre.y, 300, 1e-6);
  const LonLat back = zoomed.ToLonLat({123, 456});
  const PixelPoint again = zoomed.ToScreen(back);
  EXPECT_NEAR(again.x, 123, 1e-6);
  EXPECT_NEAR(again.y, 456, 1e-6);
}

TEST(MapViewTest, PointsBeyond180SitBesideThoseBeforeIt) {
  const MapView view{{180, 0}, 8, 512, 512};
  const PixelPoint east = view.ToScreen({179.9, 0});
  const PixelPoint west = view.ToScreen({-179.9, 0});
  EXPECT_LT(east.x, 256);
  EXPECT_GT(west.x, 256);
  EXPECT_NEAR(west.x - east.x, 0.2 / 360 * WorldSize(8), 1e-6);
}

TEST(MapViewTest, ZoomKeepsThePlaceUnderTheAnchor) {
  const MapView view{{135, 35}, 6, 800, 600};
  const PixelPoint anchor{650, 120};
  const LonLat before = view.ToLonLat(anchor);
  const MapView zoomed = view.Zoomed(1.5, anchor);
  EXPECT_DOUBLE_EQ(zoomed.zoom, 7.5);
  const PixelPoint after = zoomed.ToScreen(before);
  EXPECT_NEAR(after.x, anchor.x, 1e-6);
  EXPECT_NEAR(after.y, anchor.y, 1e-6);
  EXPECT_DOUBLE_EQ(view.Zoomed(-99, anchor).zoom, 0.0);
  EXPECT_DOUBLE_EQ(view.Zoomed(99, anchor).zoom, kMaxMapZoom);
}

TEST(MapViewTest, PanMovesTheMapByScreenPixels) {
  const MapView view{{135, 35}, 6, 800, 600};
  const MapView panned = view.Panned(100, -50);
  const PixelPoint old = panned.ToScreen(view.center);
  EXPECT_NEAR(old.x, 300, 1e-6);
  EXPECT_NEAR(old.y, 350, 1e-6);
  // Panning across 180 keeps the longitude within -180 to 180.
  const MapView across = MapView{{179, 0}, 4, 800, 600}.Panned(200, 0);
  EXPECT_LT(across.center.longitude, 0);
  EXPECT_GE(across.center.longitude, -180);
}

}  // namespace
}  // namespace velorin
