#pragma once
// The points gathered once, when the file is read, into fine squares of the
// world for every whole zoom level at which they are many, so that a frame
// hands the clusterer (ClusterGrid) a few thousand squares instead of a
// million points. A square is kFineCell world pixels at its level (anchored
// to the world's corner), a quarter or less of a cluster's cell at the zooms
// it serves; coarse levels are made from the finer ones.
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "map/cluster_grid.h"
#include "map/map_points.h"
#include "map/map_view.h"

namespace velorin {

inline constexpr double kFineCell = 16.0;

class ClusterPyramid {
 public:
  struct Cell {
    std::uint32_t column = 0;
    std::uint32_t row = 0;
    double sumX = 0.0;  ///< Mercator units of its points, summed
    double sumY = 0.0;
    std::uint32_t count = 0;
    std::uint32_t firstPoint = 0;
    float minX = 1.0F;  ///< the box of its points, in Mercator units
    float minY = 1.0F;
    float maxX = 0.0F;
    float maxY = 0.0F;
  };

  /// Levels from the deepest one at which the squares are still at most a
  /// quarter of the points (and no deeper than `deepest`) up to zoom 0.
  explicit ClusterPyramid(const MapPoints& points, int deepest = 16);
  /// The same for the points `ids` at `positions` (one for each).
  ClusterPyramid(const std::vector<std::uint32_t>& ids, const std::vector<LonLat>& positions,
                 int deepest = 16);

  /// Some point of the index inside a box, if any: what a square that lost
  /// its first point names instead.
  using AnyPointIn = std::function<std::optional<std::uint32_t>(const UnitBox&)>;
  /// The point `id` at `position` counts in the squares from now on: a step
  /// per level, the levels held staying as they are.
  void Add(std::uint32_t id, LonLat position);
  /// The point `id` no longer counts; `anyIn` (asked once the point is gone
  /// from the index) names a square's first point when it was this one.
  void Remove(std::uint32_t id, LonLat position, const AnyPointIn& anyIn);

  /// The clusters seen in `view` (widened by `margin` pixels), drawn with
  /// marks of `marks`; nothing when the view is deeper than the levels held
  /// serve. A level serves the zooms from one below it up to it.
  std::optional<std::vector<MapCluster>> InView(const MapView& view, double margin,
                                                const ClusterMarkSize& marks) const;
  /// The deepest level held; -1 when none.
  int DeepestLevel() const { return static_cast<int>(levels_.size()) - 1; }

 private:
  using Level = std::vector<Cell>;  ///< sorted by row, then column

  /// The level first made from the points; the others follow from it. Its
  /// squares are 64 pixels at zoom 10, few enough for the file's points to
  /// be counted into them quickly.
  static constexpr int kMiddleLevel = 8;

  void Build(const std::vector<PixelPoint>& units, const std::vector<std::uint32_t>& ids,
             int deepest);
  static Level FromPoints(const std::vector<PixelPoint>& units,
                          const std::vector<std::uint32_t>& ids, int zoom);
  static Level Coarser(const Level& level);
  /// The square of a level that a position in Mercator units falls in.
  static Cell CellOf(const PixelPoint& unit, int zoom);
  static void SortLevel(Level& level);
  static void AddRow(const Level& level, std::uint32_t row, double fromColumn, double toColumn,
                     double across, ClusterGrid& grid);

  std::vector<Level> levels_;  ///< index: zoom
};

}  // namespace velorin
