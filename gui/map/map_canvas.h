#pragma once
// The map itself: the offline land, tiles over it when a server is set,
// the points and clusters of the file, its skipped points greyed where they
// lie, rings round the points chosen and found, the attribution of what is
// drawn, a note when the tiles failed, and a notice in the middle when there
// is nothing to show. Wheel, +/- and the buttons zoom; dragging and the
// arrow keys pan; hovering a point shows what it is; clicking a counted
// circle zooms to its points.
//
// Choosing and editing are told to the window, which decides: a click on a
// point (with Shift or Ctrl, or neither), a click beside every point, a
// drag with Shift for a rectangle, the drag of a chosen point, and "Add a
// point here" on the right button's menu.
#include <QFont>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "gui/map/cluster_marks.h"
#include "gui/map/land_layer.h"
#include "gui/map/map_data.h"
#include "gui/map/tile_loader.h"
#include "map/map_input.h"
#include "map/map_view.h"
#include "map/view_clusters.h"

namespace velorin {

class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  MapCanvas(std::shared_ptr<const LandMap> land, TileLoader* tiles, QWidget* parent = nullptr);

  /// The points shown (null: none yet). The view is fitted to them.
  void SetData(std::shared_ptr<MapData> data);
  MapData* Data() const { return data_.get(); }
  /// The points edited: their indexes or choice changed. Redraws.
  void PointsChanged();
  /// A text in the middle of the map ("Reading the file..."); empty: none.
  void SetNotice(const QString& notice);
  const QString& Notice() const { return notice_; }
  /// What a hovered item shows (rich text), given its number.
  void SetPointText(std::function<QString(std::uint32_t)> text) { pointText_ = std::move(text); }
  /// What a hovered circle shows, given its count.
  void SetClusterText(std::function<QString(std::uint32_t)> text) {
    clusterText_ = std::move(text);
  }
  /// The words of the right button's menu item.
  void SetAddHereText(const QString& text) { addHereText_ = text; }

  const MapView& View() const { return view_; }
  void SetView(const MapView& view);
  /// Fitted to the points: they fill the view but for a margin.
  void Fit();
  /// Fitted to these items.
  void FitTo(const std::vector<std::uint32_t>& items);
  void ZoomBy(int steps);
  void PanBy(double dx, double dy);
  /// Brings an item into the view when it lies outside it.
  void Show(std::uint32_t item);
  /// The attribution drawn in the corner: the tiles' while any are drawn,
  /// the land's otherwise.
  QString Attribution() const;
  /// The note drawn when no tile of the view came and some failed.
  void SetTilesFailedText(const QString& text) { tilesFailedText_ = text; }
  /// Whether the last frame showed that note.
  bool ShowsTilesFailed() const { return tilesFailed_; }
  /// The clusters of the view as they are drawn (a point alone is one of
  /// one), and those of the skipped points.
  const std::vector<MapCluster>& Clusters();
  const std::vector<MapCluster>& SkippedClusters();

 signals:
  void ItemClicked(std::uint32_t item, Qt::KeyboardModifiers modifiers);
  /// A click where no point is.
  void EmptyClicked(Qt::KeyboardModifiers modifiers);
  /// The items listed that lie in the rectangle dragged with Shift.
  void RectangleChosen(std::vector<std::uint32_t> items, Qt::KeyboardModifiers modifiers);
  /// A chosen point was dragged this far, in screen pixels.
  void ChosenDragged(double dx, double dy);
  void AddHereRequested(LonLat position);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void ViewChanged();
  void ZoomAt(int steps, const QPointF& anchor);
  void ShowPointTip(const QPointF& at, const QPoint& global);
  std::optional<std::uint32_t> ItemAt(const QPointF& at) const;
  const MapCluster* CircleAt(const QPointF& at);
  void ZoomTo(const MapCluster& cluster);
  void Clicked(const QPointF& at, Qt::KeyboardModifiers modifiers);
  void DrawItems(QPainter& painter);
  void DrawMarks(QPainter& painter);
  void DrawOverlays(QPainter& painter);
  /// The items chosen, and those found, worth a ring: all of them while
  /// they are few, else those drawn alone.
  std::vector<std::uint32_t> ChosenRings();
  std::vector<std::uint32_t> FoundRings();

  LandLayer land_;
  ClusterMarks pointMarks_;
  ClusterMarks skippedMarks_;
  TileLoader* tiles_;
  std::shared_ptr<MapData> data_;
  MapView view_;
  QString notice_;
  std::function<QString(std::uint32_t)> pointText_;
  std::function<QString(std::uint32_t)> clusterText_;
  QString addHereText_;
  ViewClusters clusters_;
  /// The view is the one Fit chose and nothing has moved it since.
  bool fitted_ = false;
  QString tilesFailedText_;
  bool tilesShown_ = false;
  bool tilesFailed_ = false;
  MapPointer pointer_;
  Qt::KeyboardModifiers pressModifiers_;
  WheelNotches wheelNotches_;
};

}  // namespace velorin
