#include "gui/map/land_layer.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <mutex>

#include "gui/map/map_colours.h"

namespace velorin {

std::shared_ptr<const LandMap> SharedLandMap(const std::string& dataFolder) {
  static std::mutex mutex;
  static std::map<std::string, std::shared_ptr<const LandMap>> loaded;
  const std::lock_guard<std::mutex> lock(mutex);
  std::shared_ptr<const LandMap>& land = loaded[dataFolder];
  if (!land) {
    std::error_code error;
    land = std::make_shared<const LandMap>(LandMap::Load(dataFolder + kLandFileName, error));
  }
  return land;
}

LandLayer::LandLayer(std::shared_ptr<const LandMap> land) : land_(std::move(land)) {}

const LandLayer::Rings& LandLayer::RingsFor(const LandLevel& level) {
  const auto found = rings_.find(&level);
  if (found != rings_.end()) return found->second;
  Rings& rings = rings_[&level];
  rings.polygons.reserve(level.ringCount());
  for (std::size_t r = 0; r < level.ringCount(); ++r) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(level.Ring(r).size()));
    for (const LonLat& position : level.Ring(r)) {
      const PixelPoint unit = ProjectToUnit(position);
      polygon.append(QPointF(unit.x, unit.y));
    }
    rings.bounds.push_back(polygon.boundingRect());
    rings.polygons.push_back(std::move(polygon));
  }
  return rings;
}

void LandLayer::Draw(QPainter& painter, const MapView& view) {
  painter.fillRect(QRectF(0, 0, view.width, view.height), kSeaColour);
  if (!land_ || land_->empty()) return;
  const Rings& rings = RingsFor(land_->ForZoom(view.zoom));
  const double size = WorldSize(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  const QRectF seen(topLeft.x / size, topLeft.y / size, view.width / size, view.height / size);
  // The rings the view touches, in this copy of the world and the ones
  // beside it; one path, so that lakes inside land stay holes.
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  const auto firstCopy = static_cast<int>(std::floor(seen.left()));
  const auto lastCopy = static_cast<int>(std::floor(seen.right()));
  for (int copy = firstCopy; copy <= lastCopy; ++copy) {
    const QRectF inCopy = seen.translated(-copy, 0);
    for (std::size_t r = 0; r < rings.polygons.size(); ++r) {
      if (!rings.bounds[r].intersects(inCopy)) continue;
      path.addPolygon(rings.polygons[r].translated(copy, 0));
      path.closeSubpath();
    }
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setTransform(QTransform::fromTranslate(-topLeft.x, -topLeft.y).scale(size, size), true);
  painter.fillPath(path, kLandColour);
  painter.restore();
}

}  // namespace velorin
