#include "map/point_index.h"

#include <algorithm>
#include <boost/geometry.hpp>
#include <boost/geometry/index/rtree.hpp>
#include <cmath>
#include <utility>

namespace velorin {
namespace {

namespace bg = boost::geometry;
namespace bgi = boost::geometry::index;

using UnitPoint = bg::model::point<float, 2, bg::cs::cartesian>;
using UnitRect = bg::model::box<UnitPoint>;
using IndexValue = std::pair<UnitPoint, std::uint32_t>;

UnitRect RectOf(const UnitBox& box) {
  return {UnitPoint(static_cast<float>(box.minX - kUnitSlack),
                    static_cast<float>(box.minY - kUnitSlack)),
          UnitPoint(static_cast<float>(box.maxX + kUnitSlack),
                    static_cast<float>(box.maxY + kUnitSlack))};
}

}  // namespace

FloatUnit IndexedUnit(LonLat position) {
  const PixelPoint unit = ProjectToUnit(position);
  // Longitude 180 (and any beyond) is the world's west edge again.
  return {static_cast<float>(unit.x - std::floor(unit.x)), static_cast<float>(unit.y)};
}

std::vector<UnitBox> UnitBoxesOf(const MapView& view, double margin) {
  const double size = WorldSize(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  const double left = (topLeft.x - margin) / size;
  const double right = (topLeft.x + view.width + margin) / size;
  const double top = std::max(0.0, (topLeft.y - margin) / size);
  const double bottom = std::min(1.0, (topLeft.y + view.height + margin) / size);
  if (right - left >= 1.0) return {{0.0, top, 1.0, bottom}};
  const double shift = std::floor(left);
  const double l = left - shift;
  const double r = right - shift;
  if (r <= 1.0) return {{l, top, r, bottom}};
  return {{l, top, 1.0, bottom}, {0.0, top, r - 1.0, bottom}};
}

struct PointIndex::Tree {
  bgi::rtree<IndexValue, bgi::quadratic<16>> rtree;
};

PointIndex::PointIndex(const MapPoints& points)
    : positionOf_([&points](std::uint32_t index) { return points.points()[index].position(); }),
      tree_(std::make_unique<Tree>()) {
  std::vector<IndexValue> values;
  values.reserve(points.size());
  std::uint32_t index = 0;
  for (const MapPoint& point : points.points()) {
    const FloatUnit unit = IndexedUnit(point.position());
    values.emplace_back(UnitPoint(unit.x, unit.y), index++);
  }
  // The range constructor packs the tree in one go (sort-tile-recursive).
  tree_->rtree = decltype(tree_->rtree)(values.begin(), values.end());
}

PointIndex::PointIndex(const std::vector<std::uint32_t>& ids, PositionOf positionOf)
    : positionOf_(std::move(positionOf)), tree_(std::make_unique<Tree>()) {
  std::vector<IndexValue> values;
  values.reserve(ids.size());
  for (const std::uint32_t id : ids) {
    const FloatUnit unit = IndexedUnit(positionOf_(id));
    values.emplace_back(UnitPoint(unit.x, unit.y), id);
  }
  tree_->rtree = decltype(tree_->rtree)(values.begin(), values.end());
}

PointIndex::~PointIndex() = default;

void PointIndex::Insert(std::uint32_t id, LonLat position) {
  const FloatUnit unit = IndexedUnit(position);
  tree_->rtree.insert(IndexValue(UnitPoint(unit.x, unit.y), id));
}

void PointIndex::Remove(std::uint32_t id, LonLat position) {
  const FloatUnit unit = IndexedUnit(position);
  tree_->rtree.remove(IndexValue(UnitPoint(unit.x, unit.y), id));
}

std::optional<std::uint32_t> PointIndex::AnyIn(const UnitBox& box) const {
  const UnitRect rect = RectOf(box);
  const auto it = tree_->rtree.qbegin(bgi::intersects(rect));
  if (it == tree_->rtree.qend()) return std::nullopt;
  return it->second;
}

std::size_t PointIndex::size() const { return tree_->rtree.size(); }

void PointIndex::Query(const UnitBox& box, const std::function<void(std::uint32_t)>& visit) const {
  const UnitRect rect = RectOf(box);
  for (auto it = tree_->rtree.qbegin(bgi::intersects(rect)); it != tree_->rtree.qend(); ++it) {
    visit(it->second);
  }
}

std::vector<std::uint32_t> PointIndex::InView(const MapView& view, double margin) const {
  std::vector<std::uint32_t> found;
  for (const UnitBox& box : UnitBoxesOf(view, margin)) {
    Query(box, [&](std::uint32_t index) { found.push_back(index); });
  }
  return found;
}

std::size_t PointIndex::CountInView(const MapView& view, std::size_t limit, double margin) const {
  std::size_t count = 0;
  for (const UnitBox& box : UnitBoxesOf(view, margin)) {
    const UnitRect rect = RectOf(box);
    for (auto it = tree_->rtree.qbegin(bgi::intersects(rect));
         it != tree_->rtree.qend() && count < limit; ++it) {
      ++count;
    }
  }
  return count;
}

std::vector<MapCluster> PointIndex::Clusters(const MapView& view, double margin,
                                             const ClusterMarkSize& marks) const {
  ClusterGrid grid(view, margin, marks);
  for (const UnitBox& box : UnitBoxesOf(view, margin)) {
    const UnitRect rect = RectOf(box);
    for (auto it = tree_->rtree.qbegin(bgi::intersects(rect)); it != tree_->rtree.qend(); ++it) {
      grid.Add(it->second, {bg::get<0>(it->first), bg::get<1>(it->first)});
    }
  }
  return grid.Take();
}

std::optional<std::uint32_t> PointIndex::Nearest(const MapView& view, PixelPoint screen,
                                                 double radius) const {
  std::optional<std::uint32_t> best;
  double bestDistance = radius * radius;
  MapView around = view;
  around.center = view.ToLonLat(screen);
  around.width = around.height = static_cast<int>(std::ceil(2 * radius)) + 1;
  for (const std::uint32_t index : InView(around)) {
    const PixelPoint at = view.ToScreen(positionOf_(index));
    const double distance =
        (at.x - screen.x) * (at.x - screen.x) + (at.y - screen.y) * (at.y - screen.y);
    if (distance <= bestDistance) {
      bestDistance = distance;
      best = index;
    }
  }
  return best;
}

}  // namespace velorin
