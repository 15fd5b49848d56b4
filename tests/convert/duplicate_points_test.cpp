#include "convert/duplicate_points.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <optional>
#include <string>
#include <vector>

#include "geo/surface_distance.h"

namespace velorin {
namespace {

constexpr double kMetresPerDegree = 6'371'008.8 * std::numbers::pi / 180.0;

struct Place {
  const char* title;
  double longitude;
  double latitude;
};

struct DedupeCase {
  const char* name;
  double metres;
  std::vector<Place> points;
  /// For each point, the index of the point it duplicates, or -1 when kept.
  std::vector<int> duplicateOf;
};

void PrintTo(const DedupeCase& c, std::ostream* out) { *out << c.name; }

class DuplicatePointsTest : public ::testing::TestWithParam<DedupeCase> {};

TEST_P(DuplicatePointsTest, KeepsTheFirstOfOneTitleWithinTheDistance) {
  const DedupeCase& c = GetParam();
  DuplicatePoints duplicates(c.metres);
  for (std::size_t i = 0; i < c.points.size(); ++i) {
    const Place& p = c.points[i];
    const auto found =
        duplicates.FindOrKeep(p.title, p.longitude, p.latitude, {0, static_cast<int>(i) + 1});
    const int expected = c.duplicateOf[i];
    EXPECT_EQ(found ? static_cast<int>(found->origin.line) - 1 : -1, expected) << "point " << i;
    if (found) {
      EXPECT_LE(found->metres, c.metres);
    }
  }
}

// North of this latitude (in degrees), rows of 10 m cells begin at a whole
// number of cells from the equator.
double RowBorder(double metres, double nearby) {
  const double row = metres / kMetresPerDegree;
  return std::floor(nearby / row) * row;
}

const double kBorder = RowBorder(10, 35.0);
const double kMetre = 1 / kMetresPerDegree;  // of latitude, in degrees

INSTANTIATE_TEST_SUITE_P(
    Distances, DuplicatePointsTest,
    ::testing::Values(
        DedupeCase{"ZeroSamePositionOnly",
                   0,
                   {{"A", 139.5, 35.5}, {"A", 139.5, 35.5}, {"A", 139.5000001, 35.5}},
                   {-1, 0, -1}},
        DedupeCase{"ZeroOtherTitleKept", 0, {{"A", 139.5, 35.5}, {"B", 139.5, 35.5}}, {-1, -1}},
        DedupeCase{"ZeroKeepsTheFirstOfThree",
                   0,
                   {{"A", 139.5, 35.5}, {"A", 139.5, 35.5}, {"A", 139.5, 35.5}},
                   {-1, 0, 0}},
        DedupeCase{"TenMetresNineAwayDropped",
                   10,
                   {{"A", 139.5, 35.5}, {"A", 139.5, 35.5 + 9 * kMetre}},
                   {-1, 0}},
        DedupeCase{"TenMetresElevenAwayKept",
                   10,
                   {{"A", 139.5, 35.5}, {"A", 139.5, 35.5 + 11 * kMetre}},
                   {-1, -1}},
        DedupeCase{"TenMetresAcrossARowBorder",
                   10,
                   {{"A", 139.5, kBorder - 2 * kMetre}, {"A", 139.5, kBorder + 2 * kMetre}},
                   {-1, 0}},
        DedupeCase{"TenMetresEastWestAcrossColumns",
                   10,
                   // 8 m apart along the parallel, wherever the column border lies.
                   {{"A", 139.5, 35.5},
                    {"A", 139.5 + 8 * kMetre / std::cos(35.5 * std::numbers::pi / 180), 35.5},
                    {"A", 139.5 - 8 * kMetre / std::cos(35.5 * std::numbers::pi / 180), 35.5}},
                   {-1, 0, 0}},
        DedupeCase{"TenMetresOverTheAntimeridian",
                   10,
                   {{"A", 180.0, 0.0}, {"A", -180.0 + 5 * kMetre, 0.0}},
                   {-1, 0}},
        DedupeCase{"TenMetresAtThePole",
                   10,
                   {{"A", 10.0, 90.0}, {"A", -170.0, 90.0 - 4 * kMetre}},
                   {-1, 0}},
        DedupeCase{"TenMetresOtherTitleKept",
                   10,
                   {{"A", 139.5, 35.5}, {"B", 139.5, 35.5 + kMetre}},
                   {-1, -1}},
        DedupeCase{"ManyKeptGrowTheTable", 1,
                   [] {
                     std::vector<Place> points;
                     for (int i = 0; i < 3000; ++i)
                       points.push_back({"A", 139.0 + i * 0.001, 35.0});
                     points.push_back({"A", 139.0 + 2999 * 0.001, 35.0});
                     return points;
                   }(),
                   [] {
                     std::vector<int> of(3000, -1);
                     of.push_back(2999);
                     return of;
                   }()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SurfaceDistanceMetres, OneDegreeOfLatitudeAndNone) {
  EXPECT_NEAR(SurfaceDistanceMetres(139, 35, 139, 36), kMetresPerDegree, 0.01);
  EXPECT_EQ(SurfaceDistanceMetres(139, 35, 139, 35), 0);
  EXPECT_NEAR(SurfaceDistanceMetres(180, 0, -180, 0), 0, 1e-6);
}

}  // namespace
}  // namespace velorin
