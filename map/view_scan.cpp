#include "map/view_scan.h"

#include <algorithm>
#include <cmath>

namespace velorin {

ViewScan::ViewScan(const MapView& view, double margin)
    : view_(view), margin_(margin), boxes_(UnitBoxesOf(view, margin)) {}

ViewScan::Unit ViewScan::UnitOf(LonLat position) {
  const PixelPoint unit = IndexedUnit(position);
  return {static_cast<float>(unit.x), static_cast<float>(unit.y)};
}

bool ViewScan::Inside(std::size_t box, Unit unit) const {
  const UnitBox& b = boxes_[box];
  return unit.x >= static_cast<float>(b.minX - kUnitSlack) &&
         unit.x <= static_cast<float>(b.maxX + kUnitSlack) &&
         unit.y >= static_cast<float>(b.minY - kUnitSlack) &&
         unit.y <= static_cast<float>(b.maxY + kUnitSlack);
}

int ViewScan::Hits(LonLat position) const {
  const Unit unit = UnitOf(position);
  int hits = 0;
  for (std::size_t box = 0; box < boxes_.size(); ++box) hits += Inside(box, unit) ? 1 : 0;
  return hits;
}

ClusterGrid::ClusterGrid(const MapView& view, double cellSize, double margin)
    : scan_(view, margin),
      cellSize_(cellSize),
      columns_(static_cast<int>(std::ceil((view.width + 2 * margin) / cellSize)) + 1),
      rows_(static_cast<int>(std::ceil((view.height + 2 * margin) / cellSize)) + 1),
      size_(WorldSize(view.zoom)),
      topLeft_(view.TopLeftWorld()),
      cells_(static_cast<std::size_t>(columns_) * static_cast<std::size_t>(rows_)) {}

void ClusterGrid::Add(std::uint32_t index, LonLat position, std::string_view title) {
  const ViewScan::Unit unit = ViewScan::UnitOf(position);
  const double margin = scan_.margin_;
  for (std::size_t box = 0; box < scan_.boxes_.size(); ++box) {
    if (!scan_.Inside(box, unit)) continue;
    double x = static_cast<double>(unit.x) * size_ - topLeft_.x;
    x -= size_ * std::floor((x + margin) / size_);  // the copy of the world on the screen
    const double y = static_cast<double>(unit.y) * size_ - topLeft_.y;
    const int column = std::clamp(static_cast<int>((x + margin) / cellSize_), 0, columns_ - 1);
    const int row = std::clamp(static_cast<int>((y + margin) / cellSize_), 0, rows_ - 1);
    Cell& cell = cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(columns_) +
                        static_cast<std::size_t>(column)];
    if (cell.count++ == 0) {
      // Points come in index order: the first one is the lowest.
      cell.first = index;
      cell.position = position;
      cell.title.assign(title);
    } else if (cell.count == 2) {
      std::string().swap(cell.title);
    }
    cell.sumX += x;
    cell.sumY += y;
  }
}

std::vector<ClusterGrid::Cluster> ClusterGrid::Take() {
  std::vector<Cluster> clusters;
  for (Cell& cell : cells_) {
    if (cell.count == 0) continue;
    Cluster& cluster = clusters.emplace_back();
    cluster.cluster = {{cell.sumX / cell.count, cell.sumY / cell.count}, cell.count, cell.first};
    cluster.position = cell.position;
    cluster.title = std::move(cell.title);
  }
  return clusters;
}

}  // namespace velorin
