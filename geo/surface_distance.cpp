#include "geo/surface_distance.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace velorin {

double SurfaceDistanceMetres(double longitudeA, double latitudeA, double longitudeB,
                             double latitudeB) {
  constexpr double kRadians = std::numbers::pi / 180.0;
  const double latitudeHalf = (latitudeB - latitudeA) * kRadians / 2.0;
  const double longitudeHalf = (longitudeB - longitudeA) * kRadians / 2.0;
  const double sinLatitude = std::sin(latitudeHalf);
  const double sinLongitude = std::sin(longitudeHalf);
  const double h = sinLatitude * sinLatitude + std::cos(latitudeA * kRadians) *
                                                   std::cos(latitudeB * kRadians) * sinLongitude *
                                                   sinLongitude;
  // Rounding may lift h a hair above 1 for antipodes.
  return 2.0 * kEarthRadiusMetres * std::asin(std::sqrt(std::clamp(h, 0.0, 1.0)));
}

}  // namespace velorin
