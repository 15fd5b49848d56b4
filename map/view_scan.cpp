#include "map/view_scan.h"

namespace velorin {

ViewScan::ViewScan(const MapView& view, double margin) : boxes_(UnitBoxesOf(view, margin)) {}

bool ViewScan::Inside(std::size_t box, FloatUnit unit) const {
  const UnitBox& b = boxes_[box];
  return unit.x >= static_cast<float>(b.minX - kUnitSlack) &&
         unit.x <= static_cast<float>(b.maxX + kUnitSlack) &&
         unit.y >= static_cast<float>(b.minY - kUnitSlack) &&
         unit.y <= static_cast<float>(b.maxY + kUnitSlack);
}

int ViewScan::Hits(LonLat position) const {
  const FloatUnit unit = IndexedUnit(position);
  int hits = 0;
  for (std::size_t box = 0; box < boxes_.size(); ++box) hits += Inside(box, unit) ? 1 : 0;
  return hits;
}

}  // namespace velorin
