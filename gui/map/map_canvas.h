#pragma once
// The map itself: the offline land, tiles over it when a server is set,
// the points and clusters of the file, the attribution of what is drawn, a
// note when the tiles failed, and a notice in the middle when there is
// nothing to show. Wheel, +/- and the buttons zoom;
// dragging and the arrow keys pan; hovering a point shows what it is, and
// clicking chooses it; hovering a counted circle shows its count, and
// clicking it zooms to its points.
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
#include "map/map_view.h"

namespace velorin {

class MapCanvas : public QWidget {
  Q_OBJECT

 public:
  MapCanvas(std::shared_ptr<const LandMap> land, TileLoader* tiles, QWidget* parent = nullptr);

  /// The points shown (null: none yet). The view is fitted to them.
  void SetData(std::shared_ptr<const MapData> data);
  const MapData* Data() const { return data_.get(); }
  /// A text in the middle of the map ("Reading the file..."); empty: none.
  void SetNotice(const QString& notice);
  const QString& Notice() const { return notice_; }
  /// What a hovered point shows, given its index.
  void SetPointText(std::function<QString(std::uint32_t)> text) { pointText_ = std::move(text); }
  /// What a hovered circle shows, given its count.
  void SetClusterText(std::function<QString(std::uint32_t)> text) {
    clusterText_ = std::move(text);
  }

  const MapView& View() const { return view_; }
  void SetView(const MapView& view);
  /// Fitted to the points: they fill the view but for a margin.
  void Fit();
  void ZoomBy(int steps);
  void PanBy(double dx, double dy);
  /// Marks a point (and brings it into the view), or none.
  void Choose(std::optional<std::uint32_t> index);
  std::optional<std::uint32_t> Chosen() const { return chosen_; }
  /// The attribution drawn in the corner: the tiles' while any are drawn,
  /// the land's otherwise.
  QString Attribution() const;
  /// The note drawn when no tile of the view came and some failed.
  void SetTilesFailedText(const QString& text) { tilesFailedText_ = text; }
  /// Whether the last frame showed that note.
  bool ShowsTilesFailed() const { return tilesFailed_; }
  /// The clusters of the view as they are drawn (a point alone is one of
  /// one).
  const std::vector<MapCluster>& Clusters();

 signals:
  void PointChosen(std::uint32_t index);

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

 private:
  void ViewChanged();
  void ZoomAt(int steps, const QPointF& anchor);
  void ShowPointTip(const QPointF& at, const QPoint& global);
  std::optional<std::uint32_t> PointAt(const QPointF& at) const;
  const MapCluster* CircleAt(const QPointF& at);
  void ZoomTo(const MapCluster& cluster);
  void DrawOverlays(QPainter& painter);

  LandLayer land_;
  ClusterMarks clusterMarks_;
  TileLoader* tiles_;
  std::shared_ptr<const MapData> data_;
  MapView view_;
  std::optional<std::uint32_t> chosen_;
  QString notice_;
  std::function<QString(std::uint32_t)> pointText_;
  std::function<QString(std::uint32_t)> clusterText_;
  std::vector<MapCluster> clusters_;
  bool clustersStale_ = true;
  /// The view is the one Fit chose and nothing has moved it since.
  bool fitted_ = false;
  QString tilesFailedText_;
  bool tilesShown_ = false;
  bool tilesFailed_ = false;
  std::optional<QPointF> dragFrom_;
  bool dragged_ = false;
  int wheelRest_ = 0;
};

}  // namespace velorin
