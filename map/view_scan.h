#pragma once
// The points of a view found by looking at each point in turn rather than
// through an index: which are on the screen (widened by a margin). Finds
// what PointIndex finds for the same points (the same float positions, the
// same boxes), so that a picture made from a stream of points matches one
// made from the index.
#include <vector>

#include "map/map_view.h"
#include "map/point_index.h"

namespace velorin {

class ViewScan {
 public:
  ViewScan(const MapView& view, double margin);

  /// How many times the point is found in the view: 0, 1 or (at the seam of
  /// a view as wide as the world, as in the index) 2.
  int Hits(LonLat position) const;

 private:
  bool Inside(std::size_t box, FloatUnit unit) const;

  std::vector<UnitBox> boxes_;
};

}  // namespace velorin
