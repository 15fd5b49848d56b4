#pragma once
// Counted clusters of the points of a view, the same for the window and the
// SVG picture. Points (or groups of points gathered before, as the cluster
// pyramid holds them) fall into square cells of kClusterCell screen pixels
// anchored to the world, so that panning keeps them; then marks that would
// overlap become one, so that a tight group cut by a cell's edge stays one
// circle and no two circles cover each other.
#include <cstdint>
#include <vector>

#include "map/map_view.h"
#include "map/web_mercator.h"

namespace velorin {

/// A position in Mercator units (0 to 1 across the world) held as floats,
/// as the index holds it.
struct FloatUnit {
  float x = 0.0F;
  float y = 0.0F;
};

/// The side of a cell in screen pixels, in the window and the SVG alike.
inline constexpr double kClusterCell = 44.0;

/// Points gathered into one mark.
struct MapCluster {
  PixelPoint screen;             ///< the mean screen position of its points
  std::uint32_t count = 0;       ///< how many points
  std::uint32_t firstPoint = 0;  ///< the lowest index among them
  /// Mercator units of its points; x in the copy of the world the view
  /// shows them in (below 0 or beyond 1 when that copy is not the first).
  UnitBox bounds;
};

/// How large a mark is drawn: a dot for one point, for more a circle that
/// holds its count with room around it.
struct ClusterMarkSize {
  double digitWidth = 6.6;  ///< the width of a digit in the count's font
  double dotRadius = 4.0;

  double Radius(std::uint32_t count) const;
};

/// Two marks are at least this far apart, edge to edge.
inline constexpr double kClusterMarkGap = 2.0;

/// The bounds in degrees of a box of Mercator units whose x may lie in
/// another copy of the world, for FitView.
FitBounds BoundsOfUnits(const UnitBox& bounds);

class ClusterGrid {
 public:
  /// Cells over the screen of `view` widened by `margin` pixels each side.
  ClusterGrid(const MapView& view, double margin, ClusterMarkSize marks);

  /// One point at `unit`, in the copy of the world that starts at the
  /// margin's left edge; a point beyond the
  /// screen and its margin counts in the cell nearest it. The caller
  /// decides which points are in view. Gives the point's cell.
  std::size_t Add(std::uint32_t index, FloatUnit unit);
  /// `count` points gathered before: their units summed, their box, their
  /// lowest index. The group goes whole into the cell of its centre.
  void AddGroup(PixelPoint unitSum, std::uint32_t count, std::uint32_t firstPoint,
                const UnitBox& bounds);
  /// How many points a cell holds so far.
  std::uint32_t CountIn(std::size_t cell) const { return cells_[cell].count; }

  /// The marks: one per occupied cell, then those that would overlap made
  /// one (their counts added, their centre the mean of all their points).
  std::vector<MapCluster> Take() const;

 private:
  struct Cell {
    std::uint32_t count = 0;
    std::uint32_t first = 0;
    double sumX = 0.0;  ///< screen pixels of its points, summed
    double sumY = 0.0;
    UnitBox bounds{1e9, 1e9, -1e9, -1e9};
  };
  std::size_t CellAt(double worldX, double worldY) const;
  /// The shift in world widths that brings world x `x` into the view's copy.
  double CopyOf(double x) const;

  ClusterMarkSize marks_;
  double size_;
  PixelPoint topLeft_;
  double left_;  ///< world pixels of the margin's left edge
  double firstColumn_;
  double firstRow_;
  int columns_;
  int rows_;
  std::vector<Cell> cells_;
};

/// The cluster of more than one point whose circle holds the screen pixel
/// `at` (the nearest centre when circles meet there); null when none.
const MapCluster* CountedCircleAt(const std::vector<MapCluster>& clusters, PixelPoint at,
                                  const ClusterMarkSize& marks);

/// `clusters` with every two whose marks would come closer than
/// kClusterMarkGap made one, until no two do.
std::vector<MapCluster> SeparateMarks(std::vector<MapCluster> clusters,
                                      const ClusterMarkSize& marks);

}  // namespace velorin
