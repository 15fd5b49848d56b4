// What the mouse, the wheel and the keys do to a view: a press and its
// release as a click or a drag of each kind, the pan a drag asks for, the
// keys' steps, wheel turns gathered into notches, a circle's zoom, an item
// brought into view.
#include "map/map_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

using K = MapPointer::Released::Kind;

struct PointerCase {
  std::string name;
  InputModifiers modifiers;
  bool onChosen;
  std::vector<PixelPoint> moves;  ///< with the button down, from a press at (100, 100)
  PixelPoint release;
  PointerDrag drag;  ///< what the press began
  K kind;
  PixelPoint panned;  ///< the pans asked for, summed
};

class MapPointerTest : public testing::TestWithParam<PointerCase> {};

TEST_P(MapPointerTest, PressMovesAndReleaseEndAsTheyShould) {
  const PointerCase& c = GetParam();
  MapPointer pointer;
  pointer.Press({100, 100}, c.modifiers, c.onChosen);
  EXPECT_EQ(pointer.drag(), c.drag);
  PixelPoint panned;
  for (const PixelPoint& at : c.moves) {
    const MapPointer::Moved moved = pointer.Move(at);
    panned.x += moved.panX;
    panned.y += moved.panY;
  }
  EXPECT_EQ(panned, c.panned);
  const MapPointer::Released released = pointer.Release(c.release);
  EXPECT_EQ(released.kind, c.kind);
  EXPECT_EQ(released.from, (PixelPoint{100, 100}));
  EXPECT_EQ(released.to, c.release);
  EXPECT_EQ(released.modifiers, c.modifiers);
  EXPECT_EQ(pointer.drag(), PointerDrag::kNone);
  EXPECT_EQ(pointer.Release(c.release).kind, K::kNone);
}

const InputModifiers kNone{};
const InputModifiers kShift{true, false};
const InputModifiers kControl{false, true};

INSTANTIATE_TEST_SUITE_P(
    Presses, MapPointerTest,
    testing::Values(
        PointerCase{
            "Click", kNone, false, {{102, 101}}, {103, 100}, PointerDrag::kPan, K::kClick, {}},
        PointerCase{"JustBelowTheSlackIsStillAClick",
                    kNone,
                    false,
                    {},
                    {103.9, 100},
                    PointerDrag::kPan,
                    K::kClick,
                    {}},
        PointerCase{"PanFollowsTheMouse",
                    kNone,
                    false,
                    {{110, 100}, {130, 90}},
                    {130, 90},
                    PointerDrag::kPan,
                    K::kPan,
                    {-30, 10}},
        PointerCase{"TheFirstStepPastTheSlackPansAll",
                    kNone,
                    false,
                    {{101, 100}, {105, 100}},
                    {105, 100},
                    PointerDrag::kPan,
                    K::kPan,
                    {-5, 0}},
        PointerCase{"ShiftDrawsARectangle",
                    kShift,
                    true,
                    {{140, 150}},
                    {150, 160},
                    PointerDrag::kRectangle,
                    K::kRectangle,
                    {}},
        PointerCase{"AChosenPointMoves",
                    kNone,
                    true,
                    {{120, 100}},
                    {125, 105},
                    PointerDrag::kMove,
                    K::kMove,
                    {}},
        PointerCase{"ControlOnAChosenPointPans",
                    kControl,
                    true,
                    {{120, 100}},
                    {120, 100},
                    PointerDrag::kPan,
                    K::kPan,
                    {-20, 0}},
        PointerCase{
            "ControlClick", kControl, false, {}, {100, 100}, PointerDrag::kPan, K::kClick, {}}),
    [](const auto& info) { return info.param.name; });

TEST(MapPointerTest, MovesWithoutAPressAskNothing) {
  MapPointer pointer;
  const MapPointer::Moved moved = pointer.Move({500, 500});
  EXPECT_FALSE(moved.redraw);
  EXPECT_EQ(moved.panX, 0.0);
}

struct KeyCase {
  std::string name;
  MapKey key;
  ViewStep step;
};

class StepOfKeyTest : public testing::TestWithParam<KeyCase> {};

TEST_P(StepOfKeyTest, KeysStepTheView) {
  EXPECT_EQ(StepOfKey(GetParam().key, 800, 600), GetParam().step);
}

using S = ViewStep::Kind;

INSTANTIATE_TEST_SUITE_P(Keys, StepOfKeyTest,
                         testing::Values(KeyCase{"ZoomIn", MapKey::kZoomIn, {S::kZoom, 1}},
                                         KeyCase{"ZoomOut", MapKey::kZoomOut, {S::kZoom, -1}},
                                         KeyCase{"Left", MapKey::kLeft, {S::kPan, 0, -200, 0}},
                                         KeyCase{"Right", MapKey::kRight, {S::kPan, 0, 200, 0}},
                                         KeyCase{"Up", MapKey::kUp, {S::kPan, 0, 0, -150}},
                                         KeyCase{"Down", MapKey::kDown, {S::kPan, 0, 0, 150}},
                                         KeyCase{"Fit", MapKey::kFit, {S::kFit}}),
                         [](const auto& info) { return info.param.name; });

TEST(WheelNotchesTest, GathersTurnsIntoNotches) {
  WheelNotches wheel;
  EXPECT_EQ(wheel.Add(120), 1);
  EXPECT_EQ(wheel.Add(60), 0);
  EXPECT_EQ(wheel.Add(60), 1);
  EXPECT_EQ(wheel.Add(-360), -3);
  EXPECT_EQ(wheel.Add(-100), 0);
  EXPECT_EQ(wheel.Add(340), 2);
}

TEST(ZoomedToClusterTest, ComesNearerAtLeastALevel) {
  MapView view;
  view.zoom = 12.5;
  view.width = 800;
  view.height = 600;
  // All its points in one place: one level nearer.
  const PixelPoint unit = ProjectToUnit({139.7, 35.6});
  MapCluster one;
  one.bounds = {unit.x, unit.y, unit.x, unit.y};
  EXPECT_DOUBLE_EQ(ZoomedToCluster(view, one).zoom, 14.0);  // a single place's zoom
  view.zoom = 18.5;
  EXPECT_DOUBLE_EQ(ZoomedToCluster(view, one).zoom, kMaxMapZoom);
  // Points across Japan from afar: the view that fits them.
  view.zoom = 2;
  const PixelPoint west = ProjectToUnit({130, 40});
  const PixelPoint east = ProjectToUnit({140, 30});
  MapCluster wide;
  wide.bounds = {west.x, west.y, east.x, east.y};
  const MapView fitted = ZoomedToCluster(view, wide);
  EXPECT_GT(fitted.zoom, 3.0);
  EXPECT_NEAR(fitted.center.longitude, 135, 1e-6);
}

TEST(ViewShowingTest, CentresOnlyWhatLiesOutside) {
  MapView view;
  view.center = {139.7, 35.6};
  view.zoom = 10;
  EXPECT_FALSE(ViewShowing(view, {139.71, 35.6}).has_value());
  const std::optional<MapView> moved = ViewShowing(view, {135.5, 34.7});
  ASSERT_TRUE(moved.has_value());
  EXPECT_EQ(moved->center, (LonLat{135.5, 34.7}));
  EXPECT_EQ(moved->zoom, 10);
}

}  // namespace
}  // namespace velorin
