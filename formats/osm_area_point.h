#pragma once
// The one point an OpenStreetMap area (a closed way, a multipolygon) is
// turned into: its centroid when that lies inside it, else a point on its
// surface, so that a point is never put in a hole or outside a bent shape.
// In degrees taken as a plane, which areas of a few kilometres allow.
#include <optional>
#include <span>
#include <vector>

namespace velorin {

struct LonLat {
  double lon = 0.0;
  double lat = 0.0;
};

struct OsmRing {
  std::vector<LonLat> points;  ///< the first again at the end, or not
  bool inner = false;          ///< a hole
};

/// Whether `at` lies inside the rings, counted even-odd.
bool InsideRings(std::span<const OsmRing> rings, LonLat at);

/// The centroid of the rings (holes taken away); nothing for rings
/// without area.
std::optional<LonLat> CentroidOf(std::span<const OsmRing> rings);

/// A point inside: the centroid when inside, else the middle of the widest
/// stretch inside along the parallel through the middle of the largest
/// outer ring; nothing for rings without area.
std::optional<LonLat> PointInArea(std::span<const OsmRing> rings);

}  // namespace velorin
