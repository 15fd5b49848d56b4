#pragma once
// The clusters a map canvas draws, of the points and of the skipped points:
// made once for a view and kept, since a frame, a hover and a click all ask
// for them, until the view, the points or the size of the marks change.
#include <vector>

#include "map/cluster_grid.h"
#include "map/map_view.h"

namespace velorin {

struct EditableMap;

class ViewClusters {
 public:
  /// The view, the points or the marks' size changed: made again next.
  void Invalidate() { stale_ = true; }
  bool Stale() const { return stale_; }
  /// Made anew: those of `map` (null: none) seen in `view`, with marks of
  /// `size`.
  void Make(const MapView& view, const EditableMap* map, const ClusterMarkSize& size);
  const std::vector<MapCluster>& points() const { return points_; }
  const std::vector<MapCluster>& skipped() const { return skipped_; }

 private:
  std::vector<MapCluster> points_;
  std::vector<MapCluster> skipped_;
  bool stale_ = true;
};

}  // namespace velorin
