#pragma once
// The points of a map view: where they are few, a dot each with its title
// beside it where there is room; where many share a cell of the screen, one
// counted circle for them all, so that a million points stay readable.
#include <QFont>
#include <cstdint>
#include <optional>

#include "gui/map/cluster_marks.h"
#include "gui/map/map_data.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

/// Points closer than this many pixels gather into one cluster.
inline constexpr double kClusterCell = 40.0;

struct PointLayerStyle {
  QFont font;
  bool labels = true;
};

/// Draws the points of `data` seen in `view`, the chosen one marked; the
/// clusters' circles from `marks`.
void DrawPoints(QPainter& painter, const MapView& view, const MapData& data,
                std::optional<std::uint32_t> chosen, const PointLayerStyle& style,
                ClusterMarks& marks);

}  // namespace velorin
