#include "gui/map/land_layer.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <mutex>

#include "gui/map/map_colours.h"
#include "gui/map/ring_clip.h"

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

namespace {

// Two pixels beyond each side of the view, so that the cut edges stay unseen.
constexpr double kClipMargin = 2.0;

}  // namespace

LandLayer::LandLayer(std::shared_ptr<const LandMap> land) : land_(std::move(land)) {
  if (!land_ || land_->empty()) return;
  // Every level in Mercator units, made while the points are read.
  prepared_ = std::async(std::launch::async, [land = land_] {
    std::map<const LandLevel*, Rings> all;
    for (int zoom = 0; zoom <= static_cast<int>(kMaxMapZoom); ++zoom) {
      const LandLevel& level = land->ForZoom(zoom);
      if (all.count(&level) == 0) all.emplace(&level, MakeRings(level));
    }
    return all;
  });
}

LandLayer::~LandLayer() = default;

LandLayer::Rings LandLayer::MakeRings(const LandLevel& level) {
  Rings rings;
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

const LandLayer::Rings& LandLayer::RingsFor(const LandLevel& level) {
  if (prepared_.valid()) rings_ = prepared_.get();
  const auto found = rings_.find(&level);
  if (found != rings_.end()) return found->second;
  return rings_.emplace(&level, MakeRings(level)).first->second;
}

void LandLayer::Draw(QPainter& painter, const MapView& view) {
  painter.fillRect(QRectF(0, 0, view.width, view.height), kSeaColour);
  if (!land_ || land_->empty()) return;
  const Rings& rings = RingsFor(land_->ForZoom(view.zoom));
  const double size = WorldSize(view.zoom);
  const PixelPoint topLeft = view.TopLeftWorld();
  const double margin = kClipMargin / size;
  const QRectF seen =
      QRectF(topLeft.x / size, topLeft.y / size, view.width / size, view.height / size)
          .adjusted(-margin, -margin, margin, margin);
  // The rings the view touches, in this copy of the world and the ones
  // beside it, cut to the view and in its pixels; one path, so that lakes
  // inside land stay holes.
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  const QTransform toScreen = QTransform::fromTranslate(-topLeft.x, -topLeft.y).scale(size, size);
  const auto firstCopy = static_cast<int>(std::floor(seen.left()));
  const auto lastCopy = static_cast<int>(std::floor(seen.right()));
  for (int copy = firstCopy; copy <= lastCopy; ++copy) {
    const QRectF inCopy = seen.translated(-copy, 0);
    const QTransform copyToScreen = QTransform::fromTranslate(copy, 0) * toScreen;
    for (std::size_t r = 0; r < rings.polygons.size(); ++r) {
      if (!rings.bounds[r].intersects(inCopy)) continue;
      if (inCopy.contains(rings.bounds[r])) {
        path.addPolygon(copyToScreen.map(rings.polygons[r]));
      } else {
        ClipRingToBox(rings.polygons[r], inCopy, clipped_, scratch_);
        if (clipped_.size() < 3) continue;
        path.addPolygon(copyToScreen.map(clipped_));
      }
      path.closeSubpath();
    }
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillPath(path, kLandColour);
  painter.restore();
}

}  // namespace velorin
