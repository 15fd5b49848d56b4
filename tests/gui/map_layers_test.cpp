// Pieces of the map's layers: the pictures of cluster marks follow the font
// and the pixel ratio they are drawn with, never those of an earlier frame.
#include <QImage>
#include <QPainter>
#include <QTest>

#include "gui/map/cluster_marks.h"
#include "gui/map/map_colours.h"

namespace velorin {
namespace {

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
  void marksFollowTheFontAndPixelRatio_data();
  void marksFollowTheFontAndPixelRatio();
};

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
  ClusterMarks used(kPointColour);
  const QImage before = MarksPicture(used, first, firstRatio);
  const QImage after = MarksPicture(used, second, secondRatio);
  ClusterMarks fresh(kPointColour);
  QCOMPARE(after, MarksPicture(fresh, second, secondRatio));
  QVERIFY(after != before);
}

}  // namespace velorin

QTEST_MAIN(velorin::MapLayersTest)
#include "map_layers_test.moc"
