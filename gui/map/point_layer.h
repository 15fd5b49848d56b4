#pragma once
// The points of a map view: where they are few, a dot each with its title
// beside it where there is room; where many share a cell of the screen, one
// counted circle for them all, so that a million points stay readable.
#include <QFont>
#include <cstdint>
#include <optional>
#include <vector>

#include "gui/map/cluster_marks.h"
#include "gui/map/map_data.h"
#include "map/cluster_grid.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

struct PointLayerStyle {
  QFont font;
  bool labels = true;
};

/// How large the marks are whose counts are written in `font`.
ClusterMarkSize MarkSizeOf(const QFont& font);

/// The clusters of `data` seen in `view`: from the clusters made when the
/// file was read where the points are many, from the index elsewhere.
std::vector<MapCluster> ClustersInView(const MapView& view, const MapData& data,
                                       const ClusterMarkSize& size);

/// Draws `clusters` (those of `view`), the chosen point marked; the
/// circles from `marks`.
void DrawPoints(QPainter& painter, const MapView& view, const MapData& data,
                const std::vector<MapCluster>& clusters, std::optional<std::uint32_t> chosen,
                const PointLayerStyle& style, ClusterMarks& marks);

}  // namespace velorin
