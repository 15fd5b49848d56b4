// The map window: opened from the main window's File menu (enabled only for
// a readable point file) and by `velorin --map FILE`; points drawn on the
// right pixels, clusters, the skipped list, the empty map; tiles from a
// tile server on the loopback address, with the attribution drawn, the
// disk cache reused, and a server that stops mid-way.
#include "gui/map/map_window.h"

#include <QAction>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QToolTip>
#include <cmath>
#include <memory>

#include "gui/app_start.h"
#include "gui/mainform.h"
#include "gui/map/map_colours.h"
#include "gui/path_selection.h"
#include "map/map_window_place.h"
#include "map/map_window_settings.h"
#include "map/svg_map.h"
#include "map/tile_grid.h"
#include "tile_test_server.h"
#include "window_test_support.h"

namespace velorin {
namespace {

using namespace window_test;

std::string Gpx(const std::string& waypoints) {
  return "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
         "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
         waypoints + "</gpx>\n";
}

std::string Wpt(double lat, double lon, const std::string& name) {
  return "<wpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\"><name>" +
         name + "</name></wpt>\n";
}

// The picture of the map as it is drawn now.
QImage Picture(MapWindow& map) {
  QImage image(map.Canvas()->size(), QImage::Format_RGB32);
  map.Canvas()->render(&image);
  return image;
}

bool Near(const QColor& a, const QColor& b, int slack = 24) {
  return std::abs(a.red() - b.red()) <= slack && std::abs(a.green() - b.green()) <= slack &&
         std::abs(a.blue() - b.blue()) <= slack;
}

QPoint ScreenOf(const MapWindow& map, double longitude, double latitude) {
  const PixelPoint at =
      const_cast<MapWindow&>(map).Canvas()->View().ToScreen({longitude, latitude});
  return QPoint(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)));
}

}  // namespace

class MapWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { EnableSeams(); }
  void init();
  void cleanup();

  void mapItemEnabledForReadablePointFiles_data();
  void mapItemEnabledForReadablePointFiles();
  void mapOptionOpensTheMapOfTheFile();
  void newInputPathRefreshesTheOpenMap();
  void tokyoDatumPointsAreShownWhereTheyLieInWgs84();
  void pointsLandOnTheirPixels_data();
  void pointsLandOnTheirPixels();
  void pointsAcross180AndTheSkippedList();
  void choosingASkippedPointShowsItsLine();
  void emptyFileSaysSo();
  void manyPointsGatherIntoClusters();
  void fitLetsThePointsFillTheView_data();
  void fitLetsThePointsFillTheView();
  void countedCircleShowsItsCountAndZoomsToItsPoints();
  void fittedViewFollowsTheWindowsSizeAMovedOneStays();
  void keysZoomAndPan();
  void opensBesideTheMainWindowAndRemembersItsPlace();

  void tilesOfTheViewWithVelorinsUserAgent();
  void secondOpeningUsesTheDiskCache();
  void serverStoppedMidwayLeavesTheOfflineMap();
  void endlessTileBodyIsStoppedAndEscapeCloses();

 private:
  /// The main window, its map window opened on `gpx` (written as points.gpx).
  MapWindow& OpenMap(const std::string& gpx);
  FileLocations Locations() const;

  std::unique_ptr<DataFolder> folder_;
  std::unique_ptr<mainform> window_;
  TileTestServer server_;
};

FileLocations MapWindowTest::Locations() const {
  // The real land file; settings and tile cache in the test's own folder.
  FileLocations locations = PortableLocations(folder_->FolderText());
  locations.dataFolder = std::string(VELORIN_DATA_DIR) + "/";
  return locations;
}

void MapWindowTest::init() {
  qputenv("VELORIN_TILE_URL", "none");
  folder_ = std::make_unique<DataFolder>();
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
}

void MapWindowTest::cleanup() {
  window_.reset();
  folder_.reset();
  server_.Stop();
  VerifySeamsSettled();
  ResetSeams();
}

MapWindow& MapWindowTest::OpenMap(const std::string& gpx) {
  AcceptInputPath(*window_, folder_->Write(QStringLiteral("points.gpx"), gpx));
  window_->ShowMap();
  MapWindow* map = window_->Map();
  map->resize(800, 600);
  QSignalSpy shown(map, &MapWindow::Shown);
  [&] { QVERIFY(shown.wait(10000)); }();
  map->Canvas()->Fit();
  return *map;
}

void MapWindowTest::mapItemEnabledForReadablePointFiles_data() {
  QTest::addColumn<QString>("name");  // empty: the input box stays empty
  QTest::addColumn<QByteArray>("contents");
  QTest::addColumn<bool>("enabled");
  QTest::newRow("NoInput") << QString() << QByteArray() << false;
  QTest::newRow("GpxFile") << "a.gpx" << QByteArray(Gpx(Wpt(35, 139, "A")).c_str()) << true;
  QTest::newRow("PotFile") << "a.pot" << QByteArray("ORD=POI/tex=A/kei=139'0'0'0/ido=35'0'0'0\r\n")
                           << true;
  QTest::newRow("PointsInATxtFile")
      << "a.txt" << QByteArray("ORD=POI/tex=A/kei=139'0'0'0/ido=35'0'0'0\r\n") << true;
  QTest::newRow("TxtFileOfNoFormat") << "notes.txt" << QByteArray("shopping list\n") << false;
  QTest::newRow("MissingFile") << "(missing).gpx" << QByteArray() << false;
  QTest::newRow("Folder") << "(folder).gpx" << QByteArray() << false;
}

void MapWindowTest::mapItemEnabledForReadablePointFiles() {
  QFETCH(QString, name);
  QFETCH(QByteArray, contents);
  QFETCH(bool, enabled);
  if (!name.isEmpty()) {
    QString path = folder_->PathOf(name);
    if (name.startsWith(QStringLiteral("(folder)"))) {
      QVERIFY(QDir().mkdir(path));
    } else if (!name.startsWith(QStringLiteral("(missing)"))) {
      path = folder_->Write(name, contents.toStdString());
    }
    AcceptInputPath(*window_, path);
  }
  emit window_->mainform_menu_file->aboutToShow();
  QCOMPARE(window_->mainform_menu_file_map->isEnabled(), enabled);
  QCOMPARE(window_->mainform_menu_file_map->text(), M(12));
  QCOMPARE(window_->mainform_menu_file_map->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_M));
  QVERIFY(window_->Map() == nullptr);
}

void MapWindowTest::mapOptionOpensTheMapOfTheFile() {
  const QString path = folder_->Write(QStringLiteral("tokyo.gpx"), Gpx(Wpt(35.68, 139.77, "T")));
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  ShowMainWindow(*window_, path, true);
  QVERIFY(window_->Map() != nullptr);
  // Shown once the main window is on the screen, so that its place is known,
  // beside it.
  QTRY_VERIFY(window_->Map()->isVisible());
  const auto rect = [](const QRect& r) { return ScreenRect{r.x(), r.y(), r.width(), r.height()}; };
  const QSize frame = window_->Map()->frameGeometry().size();
  QCOMPARE(rect(window_->Map()->frameGeometry()),
           PlaceBeside(rect(window_->frameGeometry()), frame.width(), frame.height(),
                       rect(window_->screen()->availableGeometry())));
  QVERIFY(!window_->Map()->isModal());
  QCOMPARE(window_->Text_for_POT->text(), path);
  QCOMPARE(window_->Map()->File(), path);
  QCOMPARE(window_->Map()->windowTitle(), M(140) + QStringLiteral(" - tokyo.gpx"));
  QTRY_VERIFY(window_->Map()->Data() != nullptr);
  QCOMPARE(window_->Map()->Data()->read().points.size(), std::size_t{1});
}

void MapWindowTest::newInputPathRefreshesTheOpenMap() {
  MapWindow& map = OpenMap(Gpx(Wpt(35, 139, "A")));
  const QString second =
      folder_->Write(QStringLiteral("two.gpx"), Gpx(Wpt(34, 135, "B") + Wpt(43, 141, "C")));
  AcceptInputPath(*window_, second);
  QCOMPARE(map.File(), second);
  QTRY_COMPARE(map.Data() ? map.Data()->read().points.size() : 0u, std::size_t{2});
  QCOMPARE(map.PointCount()->text(), M(148) + QStringLiteral(" 2"));
}

void MapWindowTest::tokyoDatumPointsAreShownWhereTheyLieInWgs84() {
  // Tokyo Station in the Tokyo datum, and where it lies in WGS 84.
  AcceptInputPath(*window_, folder_->Write(QStringLiteral("tokyo.csv"),
                                           "name,lat,lon\nTokyo Station,35.677997,139.770359\n"));
  window_->ShowMap();
  MapWindow& map = *window_->Map();
  const auto latitude = [&map] {
    return map.Data() != nullptr && map.Data()->read().points.size() == 1
               ? map.Data()->read().points.points()[0].latitude
               : 0.0;
  };
  QTRY_COMPARE(latitude(), 35.677997);
  // Tool > Option: the input is in the Tokyo datum; the open map reads it anew.
  window_->mainform_menu_tool_option_input_datum->trigger();
  QTRY_VERIFY(std::abs(latitude() - 35.6812363306) < 1e-6);
  QVERIFY(std::abs(map.Data()->read().points.points()[0].longitude - 139.7671248821) < 1e-6);
  window_->mainform_menu_tool_option_input_datum->trigger();
  QTRY_COMPARE(latitude(), 35.677997);
}

void MapWindowTest::pointsLandOnTheirPixels_data() {
  QTest::addColumn<QString>("waypoints");  // "lat lon" pairs, separated by ';'
  QTest::newRow("OnePointInTheMiddle") << "35.681236 139.767125";
  QTest::newRow("TwoCities") << "35.681236 139.767125;34.702485 135.495951";
  QTest::newRow("EquatorAndMeridian") << "0.5 0.5;10 20";
  QTest::newRow("FarNorthAndSouthEdge") << "70 25;0.001 30";
}

void MapWindowTest::pointsLandOnTheirPixels() {
  QFETCH(QString, waypoints);
  std::string gpx;
  std::vector<std::pair<double, double>> positions;
  for (const QString& pair : waypoints.split(QLatin1Char(';'))) {
    const QStringList numbers = pair.split(QLatin1Char(' '));
    positions.emplace_back(numbers[0].toDouble(), numbers[1].toDouble());
    gpx += Wpt(positions.back().first, positions.back().second, "P");
  }
  MapWindow& map = OpenMap(Gpx(gpx));
  const QImage picture = Picture(map);
  for (const auto& [lat, lon] : positions) {
    const QPoint at = ScreenOf(map, lon, lat);
    QVERIFY2(picture.rect().contains(at),
             qPrintable(QStringLiteral("%1 %2 off the picture").arg(lat).arg(lon)));
    QVERIFY2(Near(picture.pixelColor(at), kPointColour),
             qPrintable(
                 QStringLiteral("%1 %2: %3").arg(lat).arg(lon).arg(picture.pixelColor(at).name())));
    // Ten pixels off the dot: the map beneath, not the point.
    QVERIFY(!Near(picture.pixelColor(at + QPoint(0, 10)), kPointColour));
  }
  if (positions.size() == 1) {
    QCOMPARE(ScreenOf(map, positions[0].second, positions[0].first),
             QPoint(map.Canvas()->width() / 2, map.Canvas()->height() / 2));
  }
}

void MapWindowTest::pointsAcross180AndTheSkippedList() {
  // NVI holds 0 to 180 degrees: the point west of 180 is skipped, listed
  // with its reason; the two east of it sit side by side at the world's edge.
  MapWindow& map =
      OpenMap(Gpx(Wpt(65.7, 179.9, "East") + Wpt(65.8, 180.0, "Edge") + Wpt(65.9, -179.9, "West")));
  QCOMPARE(map.Data()->read().points.size(), std::size_t{2});
  // Listed under its reason, with its title and line.
  const PointList& list = map.Editor()->list();
  QCOMPARE(list.Count(ListGroup::kOutOfRange), std::size_t{1});
  const std::uint32_t west = list.Group(ListGroup::kOutOfRange)[0];
  const int row = map.ListModel()->RowOf(west).value_or(-1);
  QCOMPARE(map.ListModel()->index(row, PointListModel::kTitleColumn).data().toString(),
           QStringLiteral("West"));
  QCOMPARE(map.ListModel()->index(row, PointListModel::kLineColumn).data().toString(),
           QStringLiteral("5"));
  QVERIFY(map.ListModel()
              ->index(row, 0)
              .data(Qt::ToolTipRole)
              .toString()
              .startsWith(M(149) + " 5: " + M(152)));
  const QImage picture = Picture(map);
  for (const auto& [lon, lat] : {std::pair{179.9, 65.7}, std::pair{180.0, 65.8}}) {
    const QPoint at = ScreenOf(map, lon, lat);
    QVERIFY(picture.rect().contains(at));
    QVERIFY(Near(picture.pixelColor(at), kPointColour));
  }
  QVERIFY(std::abs(ScreenOf(map, 179.9, 65.7).x() - ScreenOf(map, 180.0, 65.8).x()) <
          map.Canvas()->width() / 2);
}

void MapWindowTest::choosingASkippedPointShowsItsLine() {
  MapWindow& map = OpenMap(Gpx(Wpt(35, 139, "A") + "<wpt lat=\"35.5\"><name>NoLon</name></wpt>\n"));
  const PointList& list = map.Editor()->list();
  QCOMPARE(list.Count(ListGroup::kUnreadable), std::size_t{1});
  const int row = map.ListModel()->RowOf(list.Group(ListGroup::kUnreadable)[0]).value_or(-1);
  map.List()->selectRow(row);
  QVERIFY(map.Details()->text().startsWith(M(149) + " 4: " + M(153)));
  QVERIFY(map.Details()->text().contains(QStringLiteral("<wpt lat=\"35.5\"><name>NoLon</name>")));
  // Choosing a point on the map shows what it is instead.
  const QPoint at = ScreenOf(map, 139, 35);
  QTest::mouseClick(map.Canvas(), Qt::LeftButton, Qt::NoModifier, at);
  QCOMPARE(map.Editor()->selection().Items(), std::vector<std::uint32_t>{0});
  const QStringList lines = map.Details()->text().split(QLatin1Char('\n'));
  QCOMPARE(lines.value(0), QStringLiteral("A"));
  QCOMPARE(lines.value(1), M(154) + QStringLiteral(" 139'0'0'0 (139.000000000)"));
  QCOMPARE(lines.value(2), M(155) + QStringLiteral(" 35'0'0'0 (35.000000000)"));
  QVERIFY(lines.value(3).startsWith(M(150) + QStringLiteral(" $")));
  QCOMPARE(lines.value(4), M(149) + QStringLiteral(" 3"));
}

void MapWindowTest::emptyFileSaysSo() {
  MapWindow& map = OpenMap(Gpx(std::string()));
  QCOMPARE(map.Data()->read().points.size(), std::size_t{0});
  QCOMPARE(map.Canvas()->Notice(), M(145));
  const QImage picture = Picture(map);
  const QPoint middle = map.Canvas()->rect().center();
  bool text = false;  // dark text on the notice's light panel
  for (int dx = -40; dx <= 40 && !text; ++dx) {
    text = Near(picture.pixelColor(middle + QPoint(dx, 0)), kTextColour, 60);
  }
  QVERIFY(text);
}

void MapWindowTest::manyPointsGatherIntoClusters() {
  std::string gpx;
  for (int i = 0; i < 400; ++i) gpx += Wpt(35 + (i % 20) * 0.001, 139 + (i / 20) * 0.001, "P");
  gpx += Wpt(43, 141.3, "Far");
  MapWindow& map = OpenMap(Gpx(gpx));
  const QImage picture = Picture(map);
  QVERIFY(Near(picture.pixelColor(ScreenOf(map, 141.3, 43)), kPointColour));
  // 400 points within a few hundred metres make one counted circle, not
  // four hundred dots.
  const QPoint dense = ScreenOf(map, 139.0095, 35.0095);
  QVERIFY(picture.rect().contains(dense));
  int reddish = 0;
  for (int dy = -40; dy <= 40; ++dy) {
    for (int dx = -40; dx <= 40; ++dx) {
      reddish += Near(picture.pixelColor(dense + QPoint(dx, dy)), kPointColour, 60) ? 1 : 0;
    }
  }
  QVERIFY2(reddish < 2500, qPrintable(QString::number(reddish)));
  QVERIFY(reddish > 100);
}

void MapWindowTest::fitLetsThePointsFillTheView_data() {
  QTest::addColumn<QString>("waypoints");  // "lat lon" pairs, separated by ';'
  QTest::newRow("WestAndEast") << "35 139;35 139.3";
  QTest::newRow("NorthAndSouth") << "35 139;35.5 139";
  QTest::newRow("Diagonal") << "35 139;35.2 139.9";
  QTest::newRow("CountryWide") << "31 130;45 145";
}

void MapWindowTest::fitLetsThePointsFillTheView() {
  QFETCH(QString, waypoints);
  std::string gpx;
  std::vector<std::pair<double, double>> positions;
  for (const QString& pair : waypoints.split(QLatin1Char(';'))) {
    const QStringList numbers = pair.split(QLatin1Char(' '));
    positions.emplace_back(numbers[0].toDouble(), numbers[1].toDouble());
    gpx += Wpt(positions.back().first, positions.back().second, "P");
  }
  MapWindow& map = OpenMap(Gpx(gpx));
  const MapView& view = map.Canvas()->View();
  // The outer points stand at the margin on one side or the other, not a
  // whole zoom level further in.
  double left = 1e9, right = -1e9, top = 1e9, bottom = -1e9;
  for (const auto& [lat, lon] : positions) {
    const PixelPoint at = view.ToScreen({lon, lat});
    left = std::min(left, at.x);
    right = std::max(right, at.x);
    top = std::min(top, at.y);
    bottom = std::max(bottom, at.y);
  }
  QVERIFY2(left >= 23 && right <= view.width - 23 && top >= 23 && bottom <= view.height - 23,
           qPrintable(QStringLiteral("%1 %2 %3 %4").arg(left).arg(right).arg(top).arg(bottom)));
  const bool fillsWidth = std::abs(left - 24) < 1 && std::abs(right - (view.width - 24)) < 1;
  const bool fillsHeight = std::abs(top - 24) < 1 && std::abs(bottom - (view.height - 24)) < 1;
  QVERIFY2(fillsWidth || fillsHeight,
           qPrintable(QStringLiteral("%1 %2 %3 %4").arg(left).arg(right).arg(top).arg(bottom)));
}

void MapWindowTest::fittedViewFollowsTheWindowsSizeAMovedOneStays() {
  MapWindow& map = OpenMap(Gpx(Wpt(35, 139, "W") + Wpt(35, 139.3, "E")));
  MapCanvas* canvas = map.Canvas();
  map.resize(700, 500);
  QTRY_COMPARE(canvas->View().width, canvas->width());
  auto spanOfPoints = [&] {
    return canvas->View().ToScreen({139.3, 35}).x - canvas->View().ToScreen({139, 35}).x;
  };
  QVERIFY2(std::abs(spanOfPoints() - (canvas->width() - 48)) < 1,
           qPrintable(QString::number(spanOfPoints())));
  canvas->ZoomBy(-1);
  const double zoom = canvas->View().zoom;
  map.resize(800, 600);
  QTRY_COMPARE(canvas->View().width, canvas->width());
  QCOMPARE(canvas->View().zoom, zoom);
}

void MapWindowTest::countedCircleShowsItsCountAndZoomsToItsPoints() {
  std::string gpx;
  for (int i = 0; i < 400; ++i) gpx += Wpt(35 + (i % 20) * 0.001, 139 + (i / 20) * 0.001, "P");
  gpx += Wpt(43, 141.3, "Far");
  MapWindow& map = OpenMap(Gpx(gpx));
  MapCanvas* canvas = map.Canvas();
  const std::vector<MapCluster>& clusters = canvas->Clusters();
  const auto circle = std::find_if(clusters.begin(), clusters.end(),
                                   [](const MapCluster& c) { return c.count > 1; });
  QVERIFY(circle != clusters.end());
  QCOMPARE(circle->count, 400u);
  const QPoint at(static_cast<int>(circle->screen.x), static_cast<int>(circle->screen.y));
  QTest::mouseMove(canvas, at);
  QTRY_VERIFY(QToolTip::text().contains(M(148) + QStringLiteral(" 400")));
  const double zoom = canvas->View().zoom;
  QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
  QVERIFY(canvas->View().zoom > zoom + 2);
  // Its points fill the view now; the far point is out of it.
  for (const auto& [lon, lat] : {std::pair{139.0, 35.0}, std::pair{139.019, 35.019}}) {
    const QPoint point = ScreenOf(map, lon, lat);
    QVERIFY2(canvas->rect().contains(point),
             qPrintable(QStringLiteral("%1 %2").arg(point.x()).arg(point.y())));
  }
  QVERIFY(!canvas->rect().contains(ScreenOf(map, 141.3, 43)));
  QCOMPARE(map.Editor()->selection().count(), std::size_t{0});
}

void MapWindowTest::keysZoomAndPan() {
  MapWindow& map = OpenMap(Gpx(Wpt(35, 139, "A") + Wpt(36, 140, "B")));
  MapCanvas* canvas = map.Canvas();
  canvas->setFocus();
  const double zoom = canvas->View().zoom;
  QTest::keyClick(canvas, Qt::Key_Plus);
  QCOMPARE(canvas->View().zoom, zoom + 1);
  QTest::keyClick(canvas, Qt::Key_Minus);
  QTest::keyClick(canvas, Qt::Key_Minus);
  QCOMPARE(canvas->View().zoom, zoom - 1);
  const double east = canvas->View().center.longitude;
  QTest::keyClick(canvas, Qt::Key_Right);
  QVERIFY(canvas->View().center.longitude > east);
  QTest::keyClick(canvas, Qt::Key_Home);
  QCOMPARE(canvas->View().zoom, zoom);
  map.findChild<QToolButton*>(QStringLiteral("map_zoom_in"))->click();
  QCOMPARE(canvas->View().zoom, zoom + 1);
  QTest::keyClick(&map, Qt::Key_Escape);
  QVERIFY(!map.isVisible());
  QVERIFY(window_->isVisible());
}

void MapWindowTest::opensBesideTheMainWindowAndRemembersItsPlace() {
  const auto rect = [](const QRect& r) { return ScreenRect{r.x(), r.y(), r.width(), r.height()}; };
  window_->move(20, 30);
  AcceptInputPath(*window_, folder_->Write(QStringLiteral("points.gpx"), Gpx(Wpt(35, 139, "A"))));
  window_->ShowMap();
  MapWindow& map = *window_->Map();
  QTRY_VERIFY(map.isVisible());
  const ScreenRect screen = rect(window_->screen()->availableGeometry());
  const QSize frame = map.frameGeometry().size();
  QCOMPARE(rect(map.frameGeometry()),
           PlaceBeside(rect(window_->frameGeometry()), frame.width(), frame.height(), screen));
  // Moved and made smaller by the user, closed: opened again where it was.
  map.move(40, 50);
  map.resize(500, 400);
  const QRect left = map.frameGeometry();
  QTest::keyClick(&map, Qt::Key_Escape);
  QVERIFY(!map.isVisible());
  const std::optional<ScreenRect> saved = LoadMapWindowPlace(
      map.Files(), folder_->PathOf(QStringLiteral("velorin_map.ini")).toStdString());
  QVERIFY(saved.has_value());
  QCOMPARE(*saved, rect(left));
  window_->ShowMap();
  QTRY_VERIFY(map.isVisible());
  QCOMPARE(map.frameGeometry(), left);
}

void MapWindowTest::tilesOfTheViewWithVelorinsUserAgent() {
  QVERIFY(server_.Start());
  qputenv("VELORIN_TILE_URL", server_.UrlTemplate().toUtf8());
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
  MapWindow& map = OpenMap(Gpx(Wpt(35.68, 139.77, "T")));
  const std::vector<TileId> wanted = DistinctTiles(TilesOfView(map.Canvas()->View()));
  QTRY_VERIFY(std::all_of(wanted.begin(), wanted.end(),
                          [&](const TileId& t) { return map.Tiles()->Image(t) != nullptr; }));
  QStringList asked;
  for (const TileRequest& request : server_.Requests()) {
    asked << QStringLiteral("%1/%2/%3").arg(request.z).arg(request.x).arg(request.y);
    QCOMPARE(request.userAgent, QByteArray("Velorin/0.2.0"));
  }
  QStringList expected;
  for (const TileId& t : wanted) expected << QStringLiteral("%1/%2/%3").arg(t.z).arg(t.x).arg(t.y);
  asked.sort();
  expected.sort();
  QCOMPARE(asked.mid(asked.size() - expected.size()), expected);
  // The tile's colour around the point, the credit in the corner.
  const QImage picture = Picture(map);
  const QPoint off = ScreenOf(map, 139.77, 35.68) + QPoint(0, 30);
  const PixelPoint world = ProjectToPixel(
      map.Canvas()->View().ToLonLat({double(off.x()), double(off.y())}), map.Canvas()->View().zoom);
  const TileId under = TileOfPixel(world, TileZoomOf(map.Canvas()->View()));
  QVERIFY(Near(picture.pixelColor(off), TileTestServer::TileColour(under.z, under.x, under.y), 4));
  QCOMPARE(map.Canvas()->Attribution(), QStringLiteral("© OpenStreetMap contributors"));
  const QColor corner = picture.pixelColor(picture.width() - 3, picture.height() - 3);
  QVERIFY(Near(corner, QColor(255, 255, 255), 60));
}

void MapWindowTest::secondOpeningUsesTheDiskCache() {
  QVERIFY(server_.Start());
  qputenv("VELORIN_TILE_URL", server_.UrlTemplate().toUtf8());
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
  const std::string gpx = Gpx(Wpt(35.68, 139.77, "T"));
  MapWindow& first = OpenMap(gpx);
  const std::vector<TileId> wanted = DistinctTiles(TilesOfView(first.Canvas()->View()));
  QTRY_VERIFY(std::all_of(wanted.begin(), wanted.end(),
                          [&](const TileId& t) { return first.Tiles()->Image(t) != nullptr; }));
  const std::size_t asked = server_.Requests().size();
  // A new main window and map, the same cache folder.
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
  MapWindow& second = OpenMap(gpx);
  QTRY_VERIFY(std::all_of(wanted.begin(), wanted.end(),
                          [&](const TileId& t) { return second.Tiles()->Image(t) != nullptr; }));
  // None of the tiles the first map fetched is asked for again.
  for (std::size_t i = asked; i < server_.Requests().size(); ++i) {
    const TileRequest& again = server_.Requests()[i];
    QVERIFY(std::none_of(wanted.begin(), wanted.end(), [&](const TileId& t) {
      return t.z == again.z && t.x == again.x && t.y == again.y;
    }));
  }
}

void MapWindowTest::serverStoppedMidwayLeavesTheOfflineMap() {
  QVERIFY(server_.Start());
  server_.RememberPort();
  const quint16 port = server_.Port();
  server_.SetDelay(200);
  qputenv("VELORIN_TILE_URL", server_.UrlTemplate().toUtf8());
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
  AcceptInputPath(*window_,
                  folder_->Write(QStringLiteral("points.gpx"), Gpx(Wpt(35.68, 139.77, "T"))));
  window_->ShowMap();
  MapWindow& map = *window_->Map();
  map.resize(800, 600);
  map.Tiles()->SetRetryDelay(std::chrono::milliseconds(300));
  QTRY_VERIFY(!server_.Requests().empty());
  server_.Stop();
  QTRY_VERIFY(map.Data() != nullptr);
  QTRY_COMPARE(map.Tiles()->RequestsInFlight(), 0);
  // Land and sea where the tiles did not come; no box (the seam would fail),
  // a note that the tiles failed, and the land's credit, not the tiles'.
  // A tile asked for again may be on its way when a picture is drawn: the
  // note shows once every try has failed.
  QImage picture;
  QTRY_VERIFY_WITH_TIMEOUT((picture = Picture(map), map.Canvas()->ShowsTilesFailed()), 15000);
  QVERIFY(Near(picture.pixelColor(picture.width() / 2, 20), kSeaColour, 4) ||
          Near(picture.pixelColor(picture.width() / 2, 20), kLandColour, 4));
  QCOMPARE(map.Canvas()->Attribution(), QString::fromUtf8(kLandAttribution));
  bool noteText = false;  // dark text on the note's light box, bottom left
  for (int x = 2; x < 60 && !noteText; ++x) {
    noteText = Near(picture.pixelColor(x, picture.height() - 8), kTextColour, 60);
  }
  QVERIFY(noteText);
  // The server back: the tiles are asked for again and arrive.
  server_.SetDelay(0);
  QVERIFY(server_.Start(port));
  const std::vector<TileId> wanted = DistinctTiles(TilesOfView(map.Canvas()->View()));
  QTRY_VERIFY_WITH_TIMEOUT(std::all_of(wanted.begin(), wanted.end(),
                                       [&](const TileId& t) { return map.Tiles()->Image(t); }),
                           15000);
  Picture(map);
  QVERIFY(!map.Canvas()->ShowsTilesFailed());
  QCOMPARE(map.Canvas()->Attribution(), QStringLiteral("© OpenStreetMap contributors"));
}

void MapWindowTest::endlessTileBodyIsStoppedAndEscapeCloses() {
  QVERIFY(server_.Start());
  server_.SetBehaviour(TileBehaviour::kEndlessBody);
  qputenv("VELORIN_TILE_URL", server_.UrlTemplate().toUtf8());
  window_ = std::make_unique<mainform>(SyntheticTables(), Locations());
  window_->show();
  MapWindow& map = OpenMap(Gpx(Wpt(35.68, 139.77, "T")));
  // The bodies that never end are cut off; the map shows its land and says
  // the tiles failed, and closes at the first Escape.
  // On a loaded machine a body read beside the one stopped may end only at
  // the transfer's time limit.
  QTRY_VERIFY_WITH_TIMEOUT(!server_.Requests().empty() && map.Tiles()->RequestsInFlight() == 0,
                           30000);
  Picture(map);
  QVERIFY(map.Canvas()->ShowsTilesFailed());
  QTest::keyClick(&map, Qt::Key_Escape);
  QVERIFY(!map.isVisible());
  server_.SetBehaviour(TileBehaviour::kTiles);
}

}  // namespace velorin

QTEST_MAIN(velorin::MapWindowTest)
#include "map_window_test.moc"
