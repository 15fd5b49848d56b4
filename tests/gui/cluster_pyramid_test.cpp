// The clusters made once per zoom level: every point of the view in exactly
// one cluster, levels kept only where they gather, the view across 180
// degrees, and no answer for a zoom between levels.
#include "gui/map/cluster_pyramid.h"

#include <QTest>
#include <cmath>
#include <numeric>

namespace velorin {
namespace {

// `count` points on a grid of `step` degrees from (lon, lat).
MapPoints Grid(int count, double lon, double lat, double step) {
  MapPoints points;
  const int side = static_cast<int>(std::ceil(std::sqrt(count)));
  for (int i = 0; i < count; ++i) {
    MapPoint point;
    point.longitude = lon + (i % side) * step;
    point.latitude = lat + (i / side) * step;
    points.Add(point, "P");
  }
  return points;
}

std::uint64_t Total(const std::vector<MapCluster>& clusters) {
  return std::accumulate(clusters.begin(), clusters.end(), std::uint64_t{0},
                         [](std::uint64_t sum, const MapCluster& c) { return sum + c.count; });
}

MapView ViewAt(double lon, double lat, double zoom) {
  MapView view;
  view.center = {lon, lat};
  view.zoom = zoom;
  view.width = 800;
  view.height = 600;
  return view;
}

}  // namespace

class ClusterPyramidTest : public QObject {
  Q_OBJECT

 private slots:
  void everyPointInOneCluster_data();
  void everyPointInOneCluster();
  void levelsThatGatherLittleAreDropped();
  void viewAcross180SeesBothSides();
  void zoomBetweenLevelsHasNoAnswer();
};

void ClusterPyramidTest::everyPointInOneCluster_data() {
  QTest::addColumn<int>("zoom");
  QTest::addColumn<int>("most");  // at most this many clusters
  QTest::newRow("WholeWorld") << 0 << 1;
  QTest::newRow("Country") << 5 << 4;
  QTest::newRow("Region") << 8 << 40;
}

void ClusterPyramidTest::everyPointInOneCluster() {
  QFETCH(int, zoom);
  QFETCH(int, most);
  const MapPoints points = Grid(10000, 139.0, 35.0, 0.005);  // half a degree square
  const ClusterPyramid pyramid(points);
  const std::optional<std::vector<MapCluster>> clusters =
      pyramid.InView(ViewAt(139.25, 35.25, zoom), 40.0);
  QVERIFY(clusters.has_value());
  QCOMPARE(Total(*clusters), std::uint64_t{10000});
  QVERIFY2(static_cast<int>(clusters->size()) <= most,
           qPrintable(QString::number(clusters->size())));
  for (const MapCluster& cluster : *clusters) {
    QVERIFY(cluster.screen.x > -100 && cluster.screen.x < 900);
    QVERIFY(cluster.screen.y > -100 && cluster.screen.y < 700);
  }
}

void ClusterPyramidTest::levelsThatGatherLittleAreDropped() {
  QCOMPARE(ClusterPyramid(MapPoints()).DeepestLevel(), -1);
  // Three points far apart never gather four to a cluster.
  QCOMPARE(ClusterPyramid(Grid(3, 10.0, 10.0, 30.0)).DeepestLevel(), -1);
  const ClusterPyramid dense(Grid(10000, 139.0, 35.0, 0.005));
  QVERIFY(dense.DeepestLevel() >= 8);
  QVERIFY(dense.DeepestLevel() < 16);
}

void ClusterPyramidTest::viewAcross180SeesBothSides() {
  MapPoints points;
  for (int i = 0; i < 200; ++i) {
    MapPoint point;
    point.longitude = i % 2 == 0 ? 179.95 : -179.95;
    point.latitude = 60.0 + (i / 2) * 0.0001;
    points.Add(point, "P");
  }
  const ClusterPyramid pyramid(points);
  const std::optional<std::vector<MapCluster>> clusters =
      pyramid.InView(ViewAt(180.0, 60.0, 6), 40.0);
  QVERIFY(clusters.has_value());
  QCOMPARE(Total(*clusters), std::uint64_t{200});
  for (const MapCluster& cluster : *clusters) QVERIFY(std::abs(cluster.screen.x - 400) < 40);
}

void ClusterPyramidTest::zoomBetweenLevelsHasNoAnswer() {
  const ClusterPyramid pyramid(Grid(10000, 139.0, 35.0, 0.005));
  QVERIFY(!pyramid.InView(ViewAt(139.25, 35.25, 5.5), 40.0).has_value());
  QVERIFY(!pyramid.InView(ViewAt(139.25, 35.25, 19), 40.0).has_value());
}

}  // namespace velorin

QTEST_MAIN(velorin::ClusterPyramidTest)
#include "cluster_pyramid_test.moc"
