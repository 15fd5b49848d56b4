#include "map/view_clusters.h"

#include "map/editable_map.h"
#include "map/point_marks.h"

namespace velorin {

void ViewClusters::Make(const MapView& view, const EditableMap* map, const ClusterMarkSize& size) {
  points_.clear();
  skipped_.clear();
  if (map != nullptr) {
    points_ = ClustersInView(view, map->points.get(), map->clusters.get(), size);
    skipped_ = ClustersInView(view, map->skipped.get(), map->skippedClusters.get(), size);
  }
  stale_ = false;
}

}  // namespace velorin
