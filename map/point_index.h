#pragma once
// The map points in a spatial index (Boost.Geometry's R-tree over their
// Mercator positions): the points within a view, and their counted
// clusters for views where they are too many to draw one by one.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "map/cluster_grid.h"
#include "map/map_points.h"
#include "map/map_view.h"

namespace velorin {

/// Positions are held as floats; boxes are widened by this much so that
/// rounding never loses a point at a box's edge.
inline constexpr double kUnitSlack = 1e-6;

/// A position in Mercator units as the index holds it: floats, longitude
/// 180 (and any beyond) wrapped to the world's west edge.
FloatUnit IndexedUnit(LonLat position);

/// The view's screen (widened by `margin`) as unit boxes: one, or two when
/// it crosses longitude 180; the whole world's width at most.
std::vector<UnitBox> UnitBoxesOf(const MapView& view, double margin);

class PointIndex {
 public:
  /// Where the point of an index lies.
  using PositionOf = std::function<LonLat(std::uint32_t)>;

  /// Indexes every point of `points` (which must outlive the index).
  explicit PointIndex(const MapPoints& points);
  /// Indexes the points `ids`, which lie where `positionOf` says.
  PointIndex(const std::vector<std::uint32_t>& ids, PositionOf positionOf);
  ~PointIndex();
  PointIndex(const PointIndex&) = delete;
  PointIndex& operator=(const PointIndex&) = delete;

  std::size_t size() const;

  /// Calls `visit` with the index of every point inside `box`.
  void Query(const UnitBox& box, const std::function<void(std::uint32_t)>& visit) const;
  /// The indexes of the points on the screen of `view` widened by `margin`
  /// pixels each side (both sides of 180 degrees when the view crosses it).
  std::vector<std::uint32_t> InView(const MapView& view, double margin = 0.0) const;
  /// How many points are in the view, up to `limit` (counting stops there).
  std::size_t CountInView(const MapView& view, std::size_t limit, double margin = 0.0) const;

  /// The points of the view (widened by `margin`) in counted clusters
  /// (ClusterGrid); every point of the view is in exactly one of them.
  std::vector<MapCluster> Clusters(const MapView& view, double margin,
                                   const ClusterMarkSize& marks) const;

  /// The point nearest a screen pixel within `radius` pixels, if any.
  std::optional<std::uint32_t> Nearest(const MapView& view, PixelPoint screen, double radius) const;
  /// Some point inside `box`, if any.
  std::optional<std::uint32_t> AnyIn(const UnitBox& box) const;

  /// Where the points lie from now on (the map's edits move them).
  void SetPositions(PositionOf positionOf) { positionOf_ = std::move(positionOf); }
  /// Adds the point `id` at `position`, or takes it away from there: a
  /// step of the tree's depth, not a new tree.
  void Insert(std::uint32_t id, LonLat position);
  void Remove(std::uint32_t id, LonLat position);

 private:
  struct Tree;
  PositionOf positionOf_;
  std::unique_ptr<Tree> tree_;
};

}  // namespace velorin
