#include "gui/map/map_canvas.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "gui/map/map_colours.h"
#include "gui/map/point_layer.h"
#include "gui/map/tile_layer.h"
#include "map/svg_map.h"
#include "map/tile_grid.h"

namespace velorin {
namespace {

// A press that moves less than this is a click, not a drag.
constexpr double kClickSlack = 4.0;
// A point this near the mouse is the one it points at.
constexpr double kPointReach = 8.0;
// One wheel notch (or key press) is one zoom level.
constexpr int kWheelNotch = 120;

}  // namespace

MapCanvas::MapCanvas(std::shared_ptr<const LandMap> land, TileLoader* tiles, QWidget* parent)
    : QWidget(parent), land_(std::move(land)), tiles_(tiles) {
  setObjectName(QStringLiteral("map_canvas"));
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  setMinimumSize(200, 150);
  setAttribute(Qt::WA_OpaquePaintEvent);
  view_.width = width();
  view_.height = height();
  if (tiles_ != nullptr) {
    connect(tiles_, &TileLoader::TileArrived, this, [this] { update(); });
    connect(tiles_, &TileLoader::TileFailed, this, [this] { update(); });
  }
}

void MapCanvas::SetData(std::shared_ptr<const MapData> data) {
  data_ = std::move(data);
  chosen_.reset();
  clustersStale_ = true;
  Fit();
}

void MapCanvas::SetNotice(const QString& notice) {
  notice_ = notice;
  update();
}

void MapCanvas::SetView(const MapView& view) {
  fitted_ = false;
  view_ = view;
  view_.width = width();
  view_.height = height();
  ViewChanged();
}

void MapCanvas::Fit() {
  const FitBounds bounds = data_ ? data_->read.points.Bounds() : FitBounds{};
  SetView(FitView(bounds, width(), height()));
  fitted_ = true;
}

void MapCanvas::ZoomBy(int steps) { ZoomAt(steps, QPointF(width() / 2.0, height() / 2.0)); }

void MapCanvas::ZoomAt(int steps, const QPointF& anchor) {
  SetView(view_.Zoomed(steps, {anchor.x(), anchor.y()}));
}

void MapCanvas::PanBy(double dx, double dy) { SetView(view_.Panned(dx, dy)); }

void MapCanvas::Choose(std::optional<std::uint32_t> index) {
  chosen_ = index;
  if (chosen_ && data_ && *chosen_ < data_->read.points.size()) {
    const PixelPoint at = view_.ToScreen(data_->read.points.points()[*chosen_].position());
    if (at.x < 0 || at.y < 0 || at.x >= width() || at.y >= height()) {
      MapView centred = view_;
      centred.center = data_->read.points.points()[*chosen_].position();
      SetView(centred);
      return;
    }
  }
  update();
}

QString MapCanvas::Attribution() const {
  if (tilesShown_) return QString::fromStdString(tiles_->Server().attribution);
  return QString::fromUtf8(kLandAttribution);
}

const std::vector<MapCluster>& MapCanvas::Clusters() {
  if (clustersStale_) {
    clusters_ =
        data_ ? ClustersInView(view_, *data_, MarkSizeOf(font())) : std::vector<MapCluster>{};
    clustersStale_ = false;
  }
  return clusters_;
}

void MapCanvas::ViewChanged() {
  clustersStale_ = true;
  // Only the tiles of this view: requests for the last one are cancelled.
  if (tiles_ != nullptr) tiles_->Want(DistinctTiles(TilesOfView(view_)));
  update();
}

void MapCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // Tiles are decoded no larger than this screen draws them.
  if (tiles_ != nullptr)
    tiles_->SetDrawnSide(static_cast<int>(std::ceil(kTileSize * devicePixelRatioF())));
  land_.Draw(painter, view_);
  const TilesDrawn tiles = tiles_ != nullptr ? DrawTiles(painter, view_, *tiles_) : TilesDrawn{};
  tilesShown_ = tiles.drawn > 0;
  // No tile came, some failed and none is on its way: say so.
  tilesFailed_ = tiles.drawn == 0 && tiles.failed > 0 && tiles_->RequestsInFlight() == 0;
  if (data_) {
    DrawPoints(painter, view_, *data_, Clusters(), chosen_, PointLayerStyle{font(), true},
               clusterMarks_);
  }
  DrawOverlays(painter);
}

void MapCanvas::DrawOverlays(QPainter& painter) {
  const QFontMetrics metrics(font());
  const QString credit = Attribution();
  const int creditWidth = metrics.horizontalAdvance(credit) + 8;
  const QRect box(width() - creditWidth, height() - metrics.height() - 2, creditWidth,
                  metrics.height() + 2);
  painter.fillRect(box, QColor(255, 255, 255, 200));
  painter.setPen(kTextColour);
  painter.drawText(box, Qt::AlignCenter, credit);
  if (tilesFailed_ && !tilesFailedText_.isEmpty()) {
    const int noteWidth = metrics.horizontalAdvance(tilesFailedText_) + 8;
    const QRect note(0, height() - metrics.height() - 2, noteWidth, metrics.height() + 2);
    painter.fillRect(note, QColor(255, 255, 255, 200));
    painter.drawText(note, Qt::AlignCenter, tilesFailedText_);
  }
  if (!notice_.isEmpty()) {
    const QRect text = metrics.boundingRect(notice_).adjusted(-12, -8, 12, 8);
    QRect panel(0, 0, text.width(), text.height());
    panel.moveCenter(rect().center());
    painter.fillRect(panel, QColor(255, 255, 255, 220));
    painter.drawText(panel, Qt::AlignCenter, notice_);
  }
  if (hasFocus()) {
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
  }
}

void MapCanvas::resizeEvent(QResizeEvent*) {
  // A view still fitted to the points (the first one, or after Fit) is
  // fitted to the new size; one the user moved keeps its centre and zoom.
  const bool first = view_.width <= 0 || view_.height <= 0;
  if (first || fitted_) {
    Fit();
  } else {
    SetView(view_);
  }
}

void MapCanvas::changeEvent(QEvent* event) {
  // Circles are as large as their counts in this font.
  if (event->type() == QEvent::FontChange) clustersStale_ = true;
  QWidget::changeEvent(event);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  wheelRest_ += event->angleDelta().y();
  const int steps = wheelRest_ / kWheelNotch;
  wheelRest_ -= steps * kWheelNotch;
  if (steps != 0) ZoomAt(steps, event->position());
  event->accept();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const double stepX = width() / 4.0;
  const double stepY = height() / 4.0;
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      ZoomBy(1);
      break;
    case Qt::Key_Minus:
      ZoomBy(-1);
      break;
    case Qt::Key_Left:
      PanBy(-stepX, 0);
      break;
    case Qt::Key_Right:
      PanBy(stepX, 0);
      break;
    case Qt::Key_Up:
      PanBy(0, -stepY);
      break;
    case Qt::Key_Down:
      PanBy(0, stepY);
      break;
    case Qt::Key_Home:
    case Qt::Key_0:
      Fit();
      break;
    default:
      QWidget::keyPressEvent(event);
      return;
  }
  event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  dragFrom_ = event->position();
  dragged_ = false;
  setFocus(Qt::MouseFocusReason);
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (dragFrom_ && (event->buttons() & Qt::LeftButton)) {
    const QPointF delta = event->position() - *dragFrom_;
    if (dragged_ || std::hypot(delta.x(), delta.y()) >= kClickSlack) {
      dragged_ = true;
      dragFrom_ = event->position();
      PanBy(-delta.x(), -delta.y());
    }
    return;
  }
  ShowPointTip(event->position(), event->globalPosition().toPoint());
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragFrom_) return QWidget::mouseReleaseEvent(event);
  const bool click = !dragged_;
  dragFrom_.reset();
  if (!click) return;
  if (const MapCluster* circle = CircleAt(event->position())) {
    ZoomTo(*circle);
  } else if (const std::optional<std::uint32_t> point = PointAt(event->position())) {
    Choose(point);
    emit PointChosen(*point);
  }
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) { ZoomAt(1, event->position()); }

std::optional<std::uint32_t> MapCanvas::PointAt(const QPointF& at) const {
  if (!data_ || !data_->index) return std::nullopt;
  return data_->index->Nearest(view_, {at.x(), at.y()}, kPointReach);
}

const MapCluster* MapCanvas::CircleAt(const QPointF& at) {
  return CountedCircleAt(Clusters(), {at.x(), at.y()}, MarkSizeOf(font()));
}

void MapCanvas::ZoomTo(const MapCluster& cluster) {
  // Its points fill the view, and the view comes nearer at least a level
  // even when they all stand in one place.
  MapView fitted = FitView(BoundsOfUnits(cluster.bounds), width(), height());
  fitted.zoom = std::clamp(std::max(fitted.zoom, view_.zoom + 1), 0.0, kMaxMapZoom);
  SetView(fitted);
}

void MapCanvas::ShowPointTip(const QPointF& at, const QPoint& global) {
  if (const MapCluster* circle = CircleAt(at)) {
    if (clusterText_) QToolTip::showText(global, clusterText_(circle->count), this);
    return;
  }
  const std::optional<std::uint32_t> point = PointAt(at);
  if (!point || !pointText_) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(global, pointText_(*point), this);
}

}  // namespace velorin
