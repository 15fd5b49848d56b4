#include "gui/map/point_layer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/map/map_colours.h"

namespace velorin {
namespace {

void DrawDot(QPainter& painter, const PixelPoint& at) {
  painter.drawEllipse(QPointF(at.x, at.y), kDotRadius, kDotRadius);
}

// A title in dark text on a white halo, left aligned at `origin`'s baseline:
// the text drawn around in white, then over it in dark (glyphs are cached,
// so this is far quicker than stroking the outline).
void DrawLabel(QPainter& painter, const QPointF& origin, const QString& text) {
  painter.setPen(kHaloColour);
  for (const QPointF& shift : {QPointF(-1, 0), QPointF(1, 0), QPointF(0, -1), QPointF(0, 1)}) {
    painter.drawText(origin + shift, text);
  }
  painter.setPen(kTextColour);
  painter.drawText(origin, text);
}

void DrawLabels(QPainter& painter, const MapView& view, const EditedPoints& points,
                const std::vector<MapCluster>& clusters, const QFont& font) {
  const QFontMetricsF metrics(font);
  const LabelFont labelFont{metrics.height(), [&metrics](std::string_view title) {
                              return metrics.horizontalAdvance(QString::fromUtf8(
                                  title.data(), static_cast<qsizetype>(title.size())));
                            }};
  const auto titleOf = [&points](std::uint32_t item) { return points.Title(item); };
  for (const PlacedLabel& label : PlaceLabels(view, clusters, titleOf, labelFont)) {
    DrawLabel(painter, QPointF(label.left, label.top + metrics.ascent()),
              QString::fromUtf8(points.Title(label.item)));
  }
}

}  // namespace

ClusterMarkSize MarkSizeOf(const QFont& font) {
  return MarkSizeOfDigit(QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')));
}

void DrawPoints(QPainter& painter, const MapView& view, const EditedPoints& points,
                const std::vector<MapCluster>& clusters, const PointLayerStyle& style,
                ClusterMarks& marks) {
  if (clusters.empty()) return;
  const ClusterMarkSize size = MarkSizeOf(style.font);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setFont(style.font);
  std::vector<const MapCluster*> singles;
  for (const MapCluster& cluster : clusters) {
    if (cluster.count > 1) {
      marks.Draw(painter, QPointF(cluster.screen.x, cluster.screen.y), size.Radius(cluster.count),
                 cluster.count, style.font);
    } else {
      singles.push_back(&cluster);
    }
  }
  painter.setPen(QPen(kHaloColour, 1.5));
  painter.setBrush(style.dot);
  for (const MapCluster* single : singles) DrawDot(painter, single->screen);
  if (style.labels) DrawLabels(painter, view, points, clusters, style.font);
  painter.restore();
}

void DrawRings(QPainter& painter, const MapView& view, const EditedPoints& points,
               const std::vector<std::uint32_t>& items, const QColor& colour) {
  if (items.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(colour, 3.0));
  const double margin = kRingRadius + 2;
  for (const std::uint32_t item : items) {
    const std::optional<LonLat> position = points.Position(item);
    if (!position) continue;
    const PixelPoint at = view.ToScreen(*position);
    if (at.x < -margin || at.y < -margin || at.x > view.width + margin ||
        at.y > view.height + margin) {
      continue;
    }
    painter.drawEllipse(QPointF(at.x, at.y), kRingRadius, kRingRadius);
  }
  painter.restore();
}

}  // namespace velorin
