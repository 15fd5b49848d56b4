#pragma once
// Counted clusters of the points for every whole zoom level at which they
// are many, made once when the file is read, so that a frame only picks the
// clusters in view instead of visiting a million points. Cells are squares
// of the world (kPyramidCell world pixels, anchored to the world's corner),
// so panning keeps them; coarse levels are made from the finer ones.
#include <cstdint>
#include <optional>
#include <vector>

#include "map/map_points.h"
#include "map/map_view.h"
#include "map/point_index.h"

namespace velorin {

inline constexpr double kPyramidCell = 64.0;

class ClusterPyramid {
 public:
  struct Cell {
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    double sumX = 0.0;  ///< Mercator units of its points, summed
    double sumY = 0.0;
    std::uint32_t count = 0;
    std::uint32_t firstPoint = 0;
  };

  /// Levels from the deepest one at which the clusters are still at most a
  /// quarter of the points (and no deeper than `deepest`) up to zoom 0.
  explicit ClusterPyramid(const MapPoints& points, int deepest = 16);

  /// The clusters seen in `view` (widened by `margin` pixels), in screen
  /// pixels; nothing when the view's zoom is not a whole level held here.
  std::optional<std::vector<MapCluster>> InView(const MapView& view, double margin) const;
  /// The deepest level held; -1 when none.
  int DeepestLevel() const { return static_cast<int>(levels_.size()) - 1; }

 private:
  using Level = std::vector<Cell>;  ///< sorted by row, then column

  /// The level first made from the points; the others follow from it.
  static constexpr int kMiddleLevel = 10;

  static Level FromPoints(const std::vector<PixelPoint>& units, int zoom);
  static Level Coarser(const Level& level);
  static void SortLevel(Level& level);
  void AddRow(const Level& level, std::uint32_t row, double fromColumn, double toColumn,
              const MapView& view, std::vector<MapCluster>& clusters) const;

  std::vector<Level> levels_;  ///< index: zoom
};

}  // namespace velorin
