// Pieces of the map's layers: land rings cut to a box keep the land inside
// it (whole, partly, around it, outside it, a U through it); the pictures
// of cluster marks follow the font and the pixel ratio they are drawn with,
// never those of an earlier frame.
#include <QImage>
#include <QPainter>
#include <QTest>
#include <cmath>

#include "gui/map/cluster_marks.h"
#include "gui/map/ring_clip.h"

namespace velorin {
namespace {

double Area(const QPolygonF& ring) {
  double twice = 0;
  for (qsizetype i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
    twice += ring[j].x() * ring[i].y() - ring[i].x() * ring[j].y();
  }
  return std::abs(twice) / 2;
}

QImage MarksPicture(ClusterMarks& marks, const QFont& font, double pixelRatio) {
  QImage image(QSize(60, 60) * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(pixelRatio);
  image.fill(Qt::black);
  QPainter painter(&image);
  marks.Draw(painter, QPointF(30, 30), 14.0, 888, font);
  return image;
}

}  // namespace

class MapLayersTest : public QObject {
  Q_OBJECT

 private slots:
  void ringCutToBoxKeepsTheLandInside_data();
  void ringCutToBoxKeepsTheLandInside();
  void marksFollowTheFontAndPixelRatio_data();
  void marksFollowTheFontAndPixelRatio();
};

void MapLayersTest::ringCutToBoxKeepsTheLandInside_data() {
  QTest::addColumn<QPolygonF>("ring");
  QTest::addColumn<double>("area");
  const auto square = [](double x0, double y0, double x1, double y1) {
    return QPolygonF({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
  };
  // The box is (0, 0) to (10, 10).
  QTest::newRow("inside") << square(2, 2, 4, 5) << 6.0;
  QTest::newRow("over a corner") << square(-5, -5, 5, 5) << 25.0;
  QTest::newRow("around the box") << square(-100, -100, 100, 100) << 100.0;
  QTest::newRow("beside it") << square(11, 0, 20, 10) << 0.0;
  QTest::newRow("U through it, its gap inside")
      << QPolygonF({{-5, 2}, {15, 2}, {15, 8}, {-5, 8}, {-5, 6}, {13, 6}, {13, 4}, {-5, 4}})
      << 40.0;
  QTest::newRow("across the box, reversed")
      << QPolygonF({{-5, 3}, {-5, 7}, {15, 7}, {15, 3}}) << 40.0;
}

void MapLayersTest::ringCutToBoxKeepsTheLandInside() {
  QFETCH(QPolygonF, ring);
  QFETCH(double, area);
  QPolygonF out;
  QPolygonF scratch;
  ClipRingToBox(ring, QRectF(0, 0, 10, 10), out, scratch);
  QCOMPARE(Area(out), area);
  for (const QPointF& point : out) QVERIFY(QRectF(0, 0, 10, 10).contains(point));
}

void MapLayersTest::marksFollowTheFontAndPixelRatio_data() {
  QTest::addColumn<int>("firstSize");
  QTest::addColumn<double>("firstRatio");
  QTest::addColumn<int>("secondSize");
  QTest::addColumn<double>("secondRatio");
  QTest::newRow("larger font") << 7 << 1.0 << 12 << 1.0;
  QTest::newRow("smaller font") << 12 << 1.0 << 7 << 1.0;
  QTest::newRow("to a high density screen") << 9 << 1.0 << 9 << 2.0;
  QTest::newRow("back from one") << 9 << 2.0 << 9 << 1.0;
}

void MapLayersTest::marksFollowTheFontAndPixelRatio() {
  QFETCH(int, firstSize);
  QFETCH(double, firstRatio);
  QFETCH(int, secondSize);
  QFETCH(double, secondRatio);
  QFont first;
  first.setPixelSize(firstSize);
  QFont second;
  second.setPixelSize(secondSize);
  ClusterMarks used;
  const QImage before = MarksPicture(used, first, firstRatio);
  const QImage after = MarksPicture(used, second, secondRatio);
  ClusterMarks fresh;
  QCOMPARE(after, MarksPicture(fresh, second, secondRatio));
  QVERIFY(after != before);
}

}  // namespace velorin

QTEST_MAIN(velorin::MapLayersTest)
#include "map_layers_test.moc"
