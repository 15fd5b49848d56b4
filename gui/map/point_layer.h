#pragma once
// The points of a map view: where they are few, a dot each with its title
// beside it where there is room; where many share a cell of the screen, one
// counted circle for them all, so that a million points stay readable. The
// skipped points that lie somewhere are drawn the same way, greyed; rings
// mark the points chosen and those found.
#include <QColor>
#include <QFont>
#include <cstdint>
#include <vector>

#include "gui/map/cluster_marks.h"
#include "map/cluster_grid.h"
#include "map/cluster_pyramid.h"
#include "map/edited_points.h"
#include "map/map_view.h"
#include "map/point_index.h"
#include "map/point_marks.h"

class QPainter;

namespace velorin {

struct PointLayerStyle {
  QFont font;
  bool labels = true;
  QColor dot;  ///< the dots' colour (the circles' is their marks')
};

/// How large the marks are whose counts are written in `font`.
ClusterMarkSize MarkSizeOf(const QFont& font);

/// Draws `clusters` (those of `view`): the circles from `marks`, the titles
/// of `points` beside the dots where there is room.
void DrawPoints(QPainter& painter, const MapView& view, const EditedPoints& points,
                const std::vector<MapCluster>& clusters, const PointLayerStyle& style,
                ClusterMarks& marks);

/// A ring of `colour` around each of `items` that has a position.
void DrawRings(QPainter& painter, const MapView& view, const EditedPoints& points,
               const std::vector<std::uint32_t>& items, const QColor& colour);

}  // namespace velorin
