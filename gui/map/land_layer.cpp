#include "gui/map/land_layer.h"

#include <QPainter>
#include <QPainterPath>

#include "gui/map/map_colours.h"

namespace velorin {

void LandLayer::Draw(QPainter& painter, const MapView& view) {
  painter.fillRect(QRectF(0, 0, view.width, view.height), kSeaColour);
  if (shapes_.empty()) return;
  QPainterPath path;
  path.setFillRule(Qt::OddEvenFill);
  shapes_.ForEachShape(view, [&](std::span<const PixelPoint> ring) {
    onScreen_.resize(static_cast<qsizetype>(ring.size()));
    for (std::size_t i = 0; i < ring.size(); ++i)
      onScreen_[static_cast<qsizetype>(i)] = QPointF(ring[i].x, ring[i].y);
    path.addPolygon(onScreen_);
    path.closeSubpath();
  });
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.fillPath(path, kLandColour);
  painter.restore();
}

}  // namespace velorin
