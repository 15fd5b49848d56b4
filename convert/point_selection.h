#pragma once
// The points a run keeps and the order it writes them in: filters by place
// (near a position, in a box) and by title (a regular expression that must
// or must not be found, text/regex_program.h), applied one after another in
// the order given, and a sort. The host reads and checks the values, so
// that a malformed one is refused before any file is opened; the run takes
// them as they are here.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "text/regex_program.h"

namespace velorin {

/// No place on the sphere of SurfaceDistanceMetres is farther from another
/// than half its circumference: pi times kEarthRadiusMetres, rounded up. A
/// radius beyond holds every place.
inline constexpr double kLongestRadiusMetres = 20'015'115.0;

/// Points within `metres` of a centre, along the surface of the sphere
/// SurfaceDistanceMetres measures on.
struct NearArea {
  double latitude = 0.0;
  double longitude = 0.0;
  double metres = 0.0;
};

/// Points between two latitudes and two longitudes, edges included; the
/// box runs east from `west` to `east`, across 180 degrees when west > east.
struct LatLonBox {
  double south = 0.0;
  double west = 0.0;
  double north = 0.0;
  double east = 0.0;
};

enum class FilterKind {
  kNear,     ///< keeps the points in a NearArea
  kWithin,   ///< keeps the points in a LatLonBox
  kMatch,    ///< keeps the points whose title matches
  kExclude,  ///< drops the points whose title matches
};

struct PointFilter {
  FilterKind kind = FilterKind::kNear;
  /// How reports name the filter, as the host that gave it chose (the
  /// command line: its option, with its value when given more than once).
  std::string name;
  NearArea area = {};                         ///< kNear
  LatLonBox box = {};                         ///< kWithin
  std::shared_ptr<const RegexProgram> title;  ///< kMatch, kExclude
};

/// The order the kept points are written in, when not the input's.
struct PointSort {
  enum class Key {
    kTitle,     ///< by title (see TitleComesBefore)
    kDistance,  ///< nearest to the centre first
  };
  Key key = Key::kTitle;
  double latitude = 0.0;  ///< the centre distances are measured from
  double longitude = 0.0;
};

/// Whether a position (decimal degrees) is one on the globe: latitude -90
/// to 90, longitude -180 to 180. A position elsewhere (a POT latitude of
/// 120, not a number) is inside no area and no box.
bool IsOnGlobe(double longitude, double latitude);

/// Metres from the area's centre, when the position lies in the area.
std::optional<double> DistanceWithin(const NearArea& area, double longitude, double latitude);

bool IsWithin(const LatLonBox& box, double longitude, double latitude);

/// Whether UTF-8 title `a` sorts before `b`: byte by byte (so by Unicode
/// code point), ASCII capitals as their small letters. Titles that differ
/// in nothing else keep their order.
bool TitleComesBefore(std::string_view a, std::string_view b);

}  // namespace velorin
