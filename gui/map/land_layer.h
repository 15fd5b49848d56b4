#pragma once
// The offline base map drawn with QPainter: Natural Earth's land over the
// sea, at the level of detail the zoom needs, only the rings the view
// touches, repeated east and west of the world's edge.
#include <QPolygonF>
#include <QRectF>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "map/land_map.h"
#include "map/map_view.h"

class QPainter;

namespace velorin {

/// The land file of the data folder, read once for the whole program; an
/// empty map when it cannot be read (the map is then sea alone).
std::shared_ptr<const LandMap> SharedLandMap(const std::string& dataFolder);

class LandLayer {
 public:
  explicit LandLayer(std::shared_ptr<const LandMap> land);

  /// Sea over the whole view, then the land.
  void Draw(QPainter& painter, const MapView& view);

 private:
  /// One level of detail in Mercator units (0 to 1 across the world).
  struct Rings {
    std::vector<QPolygonF> polygons;
    std::vector<QRectF> bounds;
  };
  const Rings& RingsFor(const LandLevel& level);

  std::shared_ptr<const LandMap> land_;
  std::map<const LandLevel*, Rings> rings_;
};

}  // namespace velorin
