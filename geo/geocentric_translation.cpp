#include "geo/geocentric_translation.h"

#include <cmath>
#include <numbers>

namespace velorin {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180.0;

struct Geocentric {
  double x;
  double y;
  double z;
};

double SquaredEccentricity(const Ellipsoid& ellipsoid) {
  const double flattening = 1.0 / ellipsoid.inverseFlattening;
  return flattening * (2.0 - flattening);
}

/// A position at height 0 on `ellipsoid` in earth-centred metres.
Geocentric ToGeocentric(const Ellipsoid& ellipsoid, double longitude, double latitude) {
  const double e2 = SquaredEccentricity(ellipsoid);
  const double lambda = longitude * kRadiansPerDegree;
  const double phi = latitude * kRadiansPerDegree;
  const double sinPhi = std::sin(phi);
  const double normal = ellipsoid.semiMajorAxis / std::sqrt(1.0 - e2 * sinPhi * sinPhi);
  return {normal * std::cos(phi) * std::cos(lambda), normal * std::cos(phi) * std::sin(lambda),
          normal * (1.0 - e2) * sinPhi};
}

/// Earth-centred metres as longitude and latitude on `ellipsoid`, by
/// Bowring's formula (exact to far below a millimetre for any height a
/// datum shift gives).
void FromGeocentric(const Ellipsoid& ellipsoid, const Geocentric& point, double& longitude,
                    double& latitude) {
  const double a = ellipsoid.semiMajorAxis;
  const double b = a * (1.0 - 1.0 / ellipsoid.inverseFlattening);
  const double e2 = SquaredEccentricity(ellipsoid);
  const double secondE2 = e2 / (1.0 - e2);
  const double p = std::hypot(point.x, point.y);
  const double theta = std::atan2(point.z * a, p * b);
  const double sinTheta = std::sin(theta);
  const double cosTheta = std::cos(theta);
  const double phi = std::atan2(point.z + secondE2 * b * sinTheta * sinTheta * sinTheta,
                                p - e2 * a * cosTheta * cosTheta * cosTheta);
  longitude = std::atan2(point.y, point.x) / kRadiansPerDegree;
  latitude = phi / kRadiansPerDegree;
}

}  // namespace

bool GeocentricTranslation::Move(double& longitude, double& latitude) {
  if (!std::isfinite(longitude) || !(std::fabs(latitude) <= 90.0)) return false;
  const Ellipsoid& from = backwards_ ? parameters_.target : parameters_.source;
  const Ellipsoid& to = backwards_ ? parameters_.source : parameters_.target;
  const double sign = backwards_ ? -1.0 : 1.0;
  Geocentric point = ToGeocentric(from, longitude, latitude);
  point.x += sign * parameters_.x;
  point.y += sign * parameters_.y;
  point.z += sign * parameters_.z;
  FromGeocentric(to, point, longitude, latitude);
  return true;
}

}  // namespace velorin
