#include "convert/point_selection.h"

#include <algorithm>

#include "geo/surface_distance.h"
#include "text/ascii.h"

namespace velorin {

bool IsOnGlobe(double longitude, double latitude) {
  return latitude >= -90.0 && latitude <= 90.0 && longitude >= -180.0 && longitude <= 180.0;
}

std::optional<double> DistanceWithin(const NearArea& area, double longitude, double latitude) {
  if (!IsOnGlobe(longitude, latitude)) return std::nullopt;
  const double metres = SurfaceDistanceMetres(area.longitude, area.latitude, longitude, latitude);
  if (!(metres <= area.metres)) return std::nullopt;
  return metres;
}

bool IsWithin(const LatLonBox& box, double longitude, double latitude) {
  if (!IsOnGlobe(longitude, latitude) || latitude < box.south || latitude > box.north) {
    return false;
  }
  if (box.west > box.east) return longitude >= box.west || longitude <= box.east;
  // -180 and 180 are one meridian.
  return (longitude >= box.west && longitude <= box.east) ||
         (longitude == -180.0 && box.east == 180.0) || (longitude == 180.0 && box.west == -180.0);
}

bool TitleComesBefore(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return static_cast<unsigned char>(AsciiLower(x)) < static_cast<unsigned char>(AsciiLower(y));
  });
}

}  // namespace velorin
