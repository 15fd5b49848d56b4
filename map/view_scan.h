#pragma once
// The points of a view found by looking at each point in turn rather than
// through an index: which are on the screen (widened by a margin), and
// their counted clusters per screen cell. Gives what PointIndex gives for
// the same points (the same float positions, the same boxes), so that a
// picture made from a stream of points matches one made from the index.
#include <cstdint>
#include <string>
#include <string_view>
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
  friend class ClusterGrid;
  struct Unit {
    float x = 0.0f;
    float y = 0.0f;
  };
  static Unit UnitOf(LonLat position);
  bool Inside(std::size_t box, Unit unit) const;

  MapView view_;
  double margin_;
  std::vector<UnitBox> boxes_;
};

/// Clusters gathered from points given in index order, as
/// PointIndex::Clusters gathers them (one cluster per occupied cell).
class ClusterGrid {
 public:
  ClusterGrid(const MapView& view, double cellSize, double margin);

  void Add(std::uint32_t index, LonLat position, std::string_view title);
  /// The clusters, cell by cell (row by row), with the title of each
  /// cluster of one point.
  struct Cluster {
    MapCluster cluster;
    LonLat position;    ///< of `cluster.firstPoint`
    std::string title;  ///< of `cluster.firstPoint` while it is alone
  };
  std::vector<Cluster> Take();

 private:
  struct Cell {
    std::uint32_t count = 0;
    std::uint32_t first = 0;
    double sumX = 0.0;
    double sumY = 0.0;
    LonLat position;
    std::string title;
  };
  ViewScan scan_;
  double cellSize_;
  int columns_;
  int rows_;
  double size_;
  PixelPoint topLeft_;
  std::vector<Cell> cells_;
};

}  // namespace velorin
