#include "gui/map/map_canvas.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
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
// Up to this many chosen (or found) points get a ring each; beyond, only
// those drawn alone do, so that a frame stays quick.
constexpr std::size_t kMostRings = 5000;

PixelPoint Pixel(const QPointF& at) { return {at.x(), at.y()}; }

}  // namespace

MapCanvas::MapCanvas(std::shared_ptr<const LandMap> land, TileLoader* tiles, QWidget* parent)
    : QWidget(parent),
      land_(std::move(land)),
      pointMarks_(kPointColour),
      skippedMarks_(kSkippedColour),
      tiles_(tiles) {
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

void MapCanvas::SetData(std::shared_ptr<MapData> data) {
  data_ = std::move(data);
  clustersStale_ = true;
  Fit();
}

void MapCanvas::PointsChanged() {
  clustersStale_ = true;
  update();
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
  const FitBounds bounds = data_ ? data_->editor->Bounds() : FitBounds{};
  SetView(FitView(bounds, width(), height()));
  fitted_ = true;
}

void MapCanvas::FitTo(const std::vector<std::uint32_t>& items) {
  if (!data_ || items.empty()) return;
  const FitBounds bounds = data_->editor->Bounds(items);
  if (bounds.empty) return;
  SetView(FitView(bounds, width(), height()));
}

void MapCanvas::ZoomBy(int steps) { ZoomAt(steps, QPointF(width() / 2.0, height() / 2.0)); }

void MapCanvas::ZoomAt(int steps, const QPointF& anchor) {
  SetView(view_.Zoomed(steps, {anchor.x(), anchor.y()}));
}

void MapCanvas::PanBy(double dx, double dy) { SetView(view_.Panned(dx, dy)); }

void MapCanvas::Show(std::uint32_t item) {
  if (!data_) return;
  const std::optional<LonLat> position = data_->editor->points().Position(item);
  if (!position) return;
  const PixelPoint at = view_.ToScreen(*position);
  if (at.x < 0 || at.y < 0 || at.x >= width() || at.y >= height()) {
    MapView centred = view_;
    centred.center = *position;
    SetView(centred);
  }
}

QString MapCanvas::Attribution() const {
  if (tilesShown_) return QString::fromStdString(tiles_->Server().attribution);
  return QString::fromUtf8(kLandAttribution);
}

const std::vector<MapCluster>& MapCanvas::Clusters() {
  if (clustersStale_) {
    const ClusterMarkSize size = MarkSizeOf(font());
    const EditableMap* map = data_ ? data_->map.get() : nullptr;
    clusters_ = map ? ClustersInView(view_, map->points.get(), map->clusters.get(), size)
                    : std::vector<MapCluster>{};
    skippedClusters_ =
        map ? ClustersInView(view_, map->skipped.get(), map->skippedClusters.get(), size)
            : std::vector<MapCluster>{};
    clustersStale_ = false;
  }
  return clusters_;
}

const std::vector<MapCluster>& MapCanvas::SkippedClusters() {
  Clusters();
  return skippedClusters_;
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
    DrawItems(painter);
    DrawMarks(painter);
  }
  DrawOverlays(painter);
}

void MapCanvas::DrawItems(QPainter& painter) {
  const EditedPoints& points = data_->editor->points();
  // The skipped points beneath, greyed and without titles.
  DrawPoints(painter, view_, points, SkippedClusters(),
             PointLayerStyle{font(), false, kSkippedColour}, skippedMarks_);
  DrawPoints(painter, view_, points, Clusters(), PointLayerStyle{font(), true, kPointColour},
             pointMarks_);
}

std::vector<std::uint32_t> MapCanvas::ChosenRings() {
  const PointSelection& chosen = data_->editor->selection();
  if (chosen.count() <= kMostRings) return chosen.Items();
  std::vector<std::uint32_t> rings;
  for (const auto* clusters : {&Clusters(), &SkippedClusters()}) {
    for (const MapCluster& cluster : *clusters) {
      if (cluster.count == 1 && chosen.Has(cluster.firstPoint)) rings.push_back(cluster.firstPoint);
    }
  }
  return rings;
}

std::vector<std::uint32_t> MapCanvas::FoundRings() {
  const PointList& list = data_->editor->list();
  if (list.filter().empty()) return {};
  std::vector<std::uint32_t> rings;
  if (list.Count(ListGroup::kPoints) + list.Count(ListGroup::kSkipped) <= kMostRings) {
    for (const ListGroup group : {ListGroup::kPoints, ListGroup::kUntitled, ListGroup::kOutOfRange,
                                  ListGroup::kUnreadable}) {
      const auto listed = list.Group(group);
      rings.insert(rings.end(), listed.begin(), listed.end());
    }
    return rings;
  }
  for (const auto* clusters : {&Clusters(), &SkippedClusters()}) {
    for (const MapCluster& cluster : *clusters) {
      if (cluster.count == 1 && list.Matches(cluster.firstPoint)) {
        rings.push_back(cluster.firstPoint);
      }
    }
  }
  return rings;
}

void MapCanvas::DrawMarks(QPainter& painter) {
  const EditedPoints& points = data_->editor->points();
  DrawRings(painter, view_, points, FoundRings(), kFoundColour);
  const std::vector<std::uint32_t> chosen = ChosenRings();
  DrawRings(painter, view_, points, chosen, kSelectionColour);
  if (drag_ == Drag::kMove && dragged_) {
    // Where the chosen points would go.
    painter.save();
    painter.translate(dragAt_ - pressedAt_);
    painter.setOpacity(0.6);
    DrawRings(painter, view_, points, chosen, kSelectionColour);
    painter.restore();
  }
  if (drag_ == Drag::kRectangle && dragged_) {
    painter.save();
    QColor fill = kSelectionColour;
    fill.setAlpha(40);
    painter.setPen(QPen(kSelectionColour, 1.0, Qt::DashLine));
    painter.setBrush(fill);
    painter.drawRect(QRectF(pressedAt_, dragAt_).normalized());
    painter.restore();
  }
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
  pressedAt_ = dragAt_ = event->position();
  pressModifiers_ = event->modifiers();
  dragged_ = false;
  setFocus(Qt::MouseFocusReason);
  // Shift draws a rectangle; a chosen point pressed alone is moved; any
  // other press pans.
  drag_ = Drag::kPan;
  if (pressModifiers_ & Qt::ShiftModifier) {
    drag_ = Drag::kRectangle;
  } else if (pressModifiers_ == Qt::NoModifier && data_) {
    const std::optional<std::uint32_t> item = ItemAt(event->position());
    if (item && data_->editor->selection().Has(*item)) drag_ = Drag::kMove;
  }
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (drag_ == Drag::kNone || !(event->buttons() & Qt::LeftButton)) {
    ShowPointTip(event->position(), event->globalPosition().toPoint());
    return;
  }
  const QPointF delta = event->position() - pressedAt_;
  if (!dragged_ && std::hypot(delta.x(), delta.y()) < kClickSlack) return;
  dragged_ = true;
  if (drag_ == Drag::kPan) {
    const QPointF step = event->position() - dragAt_;
    PanBy(-step.x(), -step.y());
  }
  dragAt_ = event->position();
  update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || drag_ == Drag::kNone) {
    return QWidget::mouseReleaseEvent(event);
  }
  const Drag drag = drag_;
  drag_ = Drag::kNone;
  dragAt_ = event->position();
  if (!dragged_) {
    Clicked(event->position(), pressModifiers_);
    return;
  }
  if (drag == Drag::kRectangle && data_) {
    emit RectangleChosen(data_->editor->ItemsIn(view_, Pixel(pressedAt_), Pixel(dragAt_)),
                         pressModifiers_);
  } else if (drag == Drag::kMove) {
    const QPointF delta = dragAt_ - pressedAt_;
    emit ChosenDragged(delta.x(), delta.y());
  }
  update();
}

void MapCanvas::Clicked(const QPointF& at, Qt::KeyboardModifiers modifiers) {
  if (const MapCluster* circle = CircleAt(at)) {
    ZoomTo(*circle);
  } else if (const std::optional<std::uint32_t> item = ItemAt(at)) {
    emit ItemClicked(*item, modifiers);
  } else {
    emit EmptyClicked(modifiers);
  }
}

void MapCanvas::mouseDoubleClickEvent(QMouseEvent* event) { ZoomAt(1, event->position()); }

void MapCanvas::contextMenuEvent(QContextMenuEvent* event) {
  if (!data_ || addHereText_.isEmpty()) return;
  const LonLat position = view_.ToLonLat(
      {static_cast<double>(event->pos().x()), static_cast<double>(event->pos().y())});
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("map_canvas_menu"));
  QAction* add = menu.addAction(addHereText_);
  add->setObjectName(QStringLiteral("map_add_here"));
  connect(add, &QAction::triggered, this, [this, position] { emit AddHereRequested(position); });
  menu.exec(event->globalPos());
}

std::optional<std::uint32_t> MapCanvas::ItemAt(const QPointF& at) const {
  if (!data_) return std::nullopt;
  return data_->editor->ItemAt(view_, Pixel(at), kPointReach);
}

const MapCluster* MapCanvas::CircleAt(const QPointF& at) {
  return CountedCircleAt(Clusters(), Pixel(at), MarkSizeOf(font()));
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
  const std::optional<std::uint32_t> item = ItemAt(at);
  if (!item || !pointText_) {
    QToolTip::hideText();
    return;
  }
  QToolTip::showText(global, pointText_(*item), this);
}

}  // namespace velorin
