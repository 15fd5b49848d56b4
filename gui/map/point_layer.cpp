#include "gui/map/point_layer.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/map/map_colours.h"
#include "map/label_grid.h"

namespace velorin {
namespace {

constexpr double kDotRadius = 4.0;
constexpr double kRingRadius = kDotRadius + 4;
// A label starts this far right of its dot and sits on its middle.
constexpr double kLabelGap = 6.0;
// Beyond this many single points in the view, titles would only clutter.
constexpr std::size_t kMostLabels = 250;

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
                const std::vector<const MapCluster*>& singles, const QFont& font) {
  if (singles.size() > kMostLabels) return;
  // The same points win the room whichever way the view moved.
  std::vector<const MapCluster*> ordered = singles;
  std::sort(ordered.begin(), ordered.end(),
            [](const MapCluster* a, const MapCluster* b) { return a->firstPoint < b->firstPoint; });
  const QFontMetricsF metrics(font);
  LabelGrid grid(view.width, view.height);
  for (const MapCluster* single : singles) {
    grid.Occupy({single->screen.x - kDotRadius, single->screen.y - kDotRadius,
                 single->screen.x + kDotRadius, single->screen.y + kDotRadius});
  }
  for (const MapCluster* single : ordered) {
    const QString title = QString::fromUtf8(points.Title(single->firstPoint));
    if (title.isEmpty()) continue;
    const double left = single->screen.x + kLabelGap;
    const double top = single->screen.y - metrics.height() / 2;
    const ScreenBox box{left, top, left + metrics.horizontalAdvance(title), top + metrics.height()};
    if (grid.TryPlace(box)) DrawLabel(painter, QPointF(left, top + metrics.ascent()), title);
  }
}

}  // namespace

ClusterMarkSize MarkSizeOf(const QFont& font) {
  return {QFontMetricsF(font).horizontalAdvance(QLatin1Char('0')), kDotRadius};
}

std::vector<MapCluster> ClustersInView(const MapView& view, const PointIndex* index,
                                       const ClusterPyramid* pyramid, const ClusterMarkSize& size) {
  if (index == nullptr || index->size() == 0) return {};
  std::optional<std::vector<MapCluster>> made =
      pyramid != nullptr ? pyramid->InView(view, kClusterCell, size) : std::nullopt;
  return made ? std::move(*made) : index->Clusters(view, kClusterCell, size);
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
  if (style.labels) DrawLabels(painter, view, points, singles, style.font);
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
