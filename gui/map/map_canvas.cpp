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

PixelPoint Pixel(const QPointF& at) { return {at.x(), at.y()}; }

QPointF QtPoint(const PixelPoint& at) { return {at.x, at.y}; }

InputModifiers ModifiersOf(Qt::KeyboardModifiers modifiers) {
  return {(modifiers & Qt::ShiftModifier) != 0, (modifiers & Qt::ControlModifier) != 0};
}

std::optional<MapKey> KeyOf(int key) {
  switch (key) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      return MapKey::kZoomIn;
    case Qt::Key_Minus:
      return MapKey::kZoomOut;
    case Qt::Key_Left:
      return MapKey::kLeft;
    case Qt::Key_Right:
      return MapKey::kRight;
    case Qt::Key_Up:
      return MapKey::kUp;
    case Qt::Key_Down:
      return MapKey::kDown;
    case Qt::Key_Home:
    case Qt::Key_0:
      return MapKey::kFit;
    default:
      return std::nullopt;
  }
}

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
  clusters_.Invalidate();
  Fit();
}

void MapCanvas::PointsChanged() {
  clusters_.Invalidate();
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
  if (const std::optional<MapView> showing = ViewShowing(view_, *position)) SetView(*showing);
}

QString MapCanvas::Attribution() const {
  if (tilesShown_) return QString::fromStdString(tiles_->Server().attribution);
  return QString::fromUtf8(kLandAttribution);
}

const std::vector<MapCluster>& MapCanvas::Clusters() {
  if (clusters_.Stale())
    clusters_.Make(view_, data_ ? data_->map.get() : nullptr, MarkSizeOf(font()));
  return clusters_.points();
}

const std::vector<MapCluster>& MapCanvas::SkippedClusters() {
  Clusters();
  return clusters_.skipped();
}

void MapCanvas::ViewChanged() {
  clusters_.Invalidate();
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
  return velorin::ChosenRings(*data_->editor, Clusters(), SkippedClusters());
}

std::vector<std::uint32_t> MapCanvas::FoundRings() {
  return velorin::FoundRings(*data_->editor, Clusters(), SkippedClusters());
}

void MapCanvas::DrawMarks(QPainter& painter) {
  const EditedPoints& points = data_->editor->points();
  DrawRings(painter, view_, points, FoundRings(), kFoundColour);
  const std::vector<std::uint32_t> chosen = ChosenRings();
  DrawRings(painter, view_, points, chosen, kSelectionColour);
  if (pointer_.drag() == PointerDrag::kMove && pointer_.dragged()) {
    // Where the chosen points would go.
    painter.save();
    painter.translate(QtPoint(pointer_.dragAt()) - QtPoint(pointer_.pressedAt()));
    painter.setOpacity(0.6);
    DrawRings(painter, view_, points, chosen, kSelectionColour);
    painter.restore();
  }
  if (pointer_.drag() == PointerDrag::kRectangle && pointer_.dragged()) {
    painter.save();
    QColor fill = kSelectionColour;
    fill.setAlpha(40);
    painter.setPen(QPen(kSelectionColour, 1.0, Qt::DashLine));
    painter.setBrush(fill);
    painter.drawRect(
        QRectF(QtPoint(pointer_.pressedAt()), QtPoint(pointer_.dragAt())).normalized());
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
  if (event->type() == QEvent::FontChange) clusters_.Invalidate();
  QWidget::changeEvent(event);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
  const int steps = wheelNotches_.Add(event->angleDelta().y());
  if (steps != 0) ZoomAt(steps, event->position());
  event->accept();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
  const std::optional<MapKey> key = KeyOf(event->key());
  if (!key) {
    QWidget::keyPressEvent(event);
    return;
  }
  const ViewStep step = StepOfKey(*key, width(), height());
  switch (step.kind) {
    case ViewStep::Kind::kZoom:
      ZoomBy(step.zoomSteps);
      break;
    case ViewStep::Kind::kPan:
      PanBy(step.dx, step.dy);
      break;
    case ViewStep::Kind::kFit:
      Fit();
      break;
  }
  event->accept();
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  setFocus(Qt::MouseFocusReason);
  const InputModifiers modifiers = ModifiersOf(event->modifiers());
  bool onChosen = false;
  if (modifiers.None() && data_) {
    const std::optional<std::uint32_t> item = ItemAt(event->position());
    onChosen = item && data_->editor->selection().Has(*item);
  }
  pointer_.Press(Pixel(event->position()), modifiers, onChosen);
  pressModifiers_ = event->modifiers();
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (pointer_.drag() == PointerDrag::kNone || !(event->buttons() & Qt::LeftButton)) {
    ShowPointTip(event->position(), event->globalPosition().toPoint());
    return;
  }
  const MapPointer::Moved moved = pointer_.Move(Pixel(event->position()));
  if (moved.panX != 0.0 || moved.panY != 0.0) PanBy(moved.panX, moved.panY);
  if (moved.redraw) update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || pointer_.drag() == PointerDrag::kNone) {
    return QWidget::mouseReleaseEvent(event);
  }
  using K = MapPointer::Released::Kind;
  const MapPointer::Released released = pointer_.Release(Pixel(event->position()));
  if (released.kind == K::kClick) {
    Clicked(event->position(), pressModifiers_);
    return;
  }
  if (released.kind == K::kRectangle && data_) {
    emit RectangleChosen(data_->editor->ItemsIn(view_, released.from, released.to),
                         pressModifiers_);
  } else if (released.kind == K::kMove) {
    emit ChosenDragged(released.to.x - released.from.x, released.to.y - released.from.y);
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

void MapCanvas::ZoomTo(const MapCluster& cluster) { SetView(ZoomedToCluster(view_, cluster)); }

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
