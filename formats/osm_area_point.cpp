#include "formats/osm_area_point.h"

#include <algorithm>
#include <cmath>

namespace velorin {

namespace {

/// Calls `edge(a, b)` for every edge of the ring, closing it if needed.
template <typename Edge>
void ForEachEdge(const OsmRing& ring, Edge edge) {
  const std::vector<LonLat>& p = ring.points;
  if (p.size() < 2) return;
  for (std::size_t i = 0; i + 1 < p.size(); ++i) edge(p[i], p[i + 1]);
  if (p.front().lon != p.back().lon || p.front().lat != p.back().lat) edge(p.back(), p.front());
}

/// Twice the signed area and the area-weighted centre sums of a ring.
struct RingSums {
  double area2 = 0.0;
  double lon = 0.0;
  double lat = 0.0;
};

RingSums SumsOf(const OsmRing& ring) {
  RingSums sums;
  if (ring.points.empty()) return sums;
  // Relative to the first point, for precision far from 0°,0°.
  const LonLat origin = ring.points.front();
  ForEachEdge(ring, [&](LonLat a, LonLat b) {
    const double ax = a.lon - origin.lon;
    const double ay = a.lat - origin.lat;
    const double bx = b.lon - origin.lon;
    const double by = b.lat - origin.lat;
    const double cross = ax * by - bx * ay;
    sums.area2 += cross;
    sums.lon += (ax + bx) * cross;
    sums.lat += (ay + by) * cross;
  });
  if (sums.area2 != 0.0) {
    sums.lon = sums.lon / (3.0 * sums.area2) + origin.lon;
    sums.lat = sums.lat / (3.0 * sums.area2) + origin.lat;
  }
  return sums;
}

const OsmRing* LargestOuter(std::span<const OsmRing> rings) {
  const OsmRing* largest = nullptr;
  double most = 0.0;
  for (const OsmRing& ring : rings) {
    const double area = std::abs(SumsOf(ring).area2);
    if (!ring.inner && area > most) {
      most = area;
      largest = &ring;
    }
  }
  return largest;
}

/// The parallel to scan: the middle of the ring's latitudes, moved off any
/// vertex so that no edge is met at its end.
double ScanLatitude(const OsmRing& ring) {
  auto [low, high] = std::minmax_element(ring.points.begin(), ring.points.end(),
                                         [](LonLat a, LonLat b) { return a.lat < b.lat; });
  const double middle = (low->lat + high->lat) / 2.0;
  double below = low->lat;
  double above = high->lat;
  for (const LonLat& p : ring.points) {
    if (p.lat <= middle && p.lat > below) below = p.lat;
    if (p.lat > middle && p.lat < above) above = p.lat;
  }
  return (below + above) / 2.0;
}

}  // namespace

bool InsideRings(std::span<const OsmRing> rings, LonLat at) {
  bool inside = false;
  for (const OsmRing& ring : rings) {
    ForEachEdge(ring, [&](LonLat a, LonLat b) {
      if ((a.lat > at.lat) != (b.lat > at.lat)) {
        const double lon = a.lon + (at.lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat);
        if (at.lon < lon) inside = !inside;
      }
    });
  }
  return inside;
}

std::optional<LonLat> CentroidOf(std::span<const OsmRing> rings) {
  double area = 0.0;
  double lon = 0.0;
  double lat = 0.0;
  for (const OsmRing& ring : rings) {
    const RingSums sums = SumsOf(ring);
    const double weight = std::abs(sums.area2) * (ring.inner ? -1.0 : 1.0);
    area += weight;
    lon += weight * sums.lon;
    lat += weight * sums.lat;
  }
  if (!(std::abs(area) > 0.0)) return std::nullopt;
  return LonLat{lon / area, lat / area};
}

std::optional<LonLat> PointInArea(std::span<const OsmRing> rings) {
  const std::optional<LonLat> centroid = CentroidOf(rings);
  if (centroid && InsideRings(rings, *centroid)) return centroid;
  const OsmRing* largest = LargestOuter(rings);
  if (largest == nullptr) return std::nullopt;
  const double lat = ScanLatitude(*largest);
  std::vector<double> crossings;
  for (const OsmRing& ring : rings) {
    ForEachEdge(ring, [&](LonLat a, LonLat b) {
      if ((a.lat > lat) != (b.lat > lat)) {
        crossings.push_back(a.lon + (lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat));
      }
    });
  }
  std::sort(crossings.begin(), crossings.end());
  std::optional<LonLat> best;
  double widest = -1.0;
  for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
    if (crossings[i + 1] - crossings[i] > widest) {
      widest = crossings[i + 1] - crossings[i];
      best = LonLat{(crossings[i] + crossings[i + 1]) / 2.0, lat};
    }
  }
  return best;
}

}  // namespace velorin
