// The map window as an editor, through its real widgets: find, choose (by
// click, Shift and Ctrl, a Shift-drag rectangle, Select all, the list),
// delete, rename in place, move by dragging and by a typed position, add
// from the menu and the right button's menu, mend a skipped point, undo and
// redo, save as each format and again, close with edits not saved, convert
// the edited points from the main window, remember routes and tracks; what
// a save says it wrote and left out, what saving over the file read loses,
// a file changed by another program, a file larger than the map, titles
// typed over several lines, a long find, a datum that cannot be moved.
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <cmath>
#include <memory>

#include "gui/mainform.h"
#include "gui/map/map_colours.h"
#include "gui/map/map_window.h"
#include "gui/map/point_dialog.h"
#include "gui/path_selection.h"
#include "map/map_read.h"
#include "map/map_window_settings.h"
#include "platform/file_system.h"
#include "tests/support/missing_proj_data.h"
#include "window/run_settings.h"
#include "window_test_support.h"

namespace velorin {
namespace {

using namespace window_test;

std::string Wpt(double lat, double lon, const std::string& name) {
  return "<wpt lat=\"" + std::to_string(lat) + "\" lon=\"" + std::to_string(lon) + "\"><name>" +
         name + "</name></wpt>\n";
}

// Four points around Tokyo and one in Osaka; an untitled one and a west
// longitude, both skipped for NVI.
const std::string kGpx =
    "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
    Wpt(35.658581, 139.745433, "Tokyo Tower") + Wpt(35.710063, 139.8107, "Tokyo Skytree") +
    Wpt(35.6595, 139.7005, "Shibuya") + Wpt(35.6812, 139.7671, "Marunouchi") +
    Wpt(34.6873, 135.5259, "Osaka Castle") + "<wpt lat=\"35.70\" lon=\"139.75\"></wpt>\n" +
    Wpt(51.5007, -0.1246, "Big Ben") + "</gpx>\n";

constexpr std::uint32_t kTower = 0, kSkytree = 1, kShibuya = 2, kOsaka = 4;
constexpr std::uint32_t kUntitled = 5, kBigBen = 6;

/// Tables whose settings skip untitled points, in English or Japanese.
StartupTables Tables(bool japanese = false) {
  StartupTables tables = SyntheticTables();
  tables.systemSettings[0] = japanese ? "0" : "1";
  tables.systemSettings[1] = "1";
  return tables;
}

QPoint ScreenOf(MapWindow& map, double longitude, double latitude) {
  const PixelPoint at = map.Canvas()->View().ToScreen({longitude, latitude});
  return QPoint(static_cast<int>(std::floor(at.x)), static_cast<int>(std::floor(at.y)));
}

QPoint ScreenOf(MapWindow& map, std::uint32_t item) {
  const LonLat at = map.Editor()->points().Position(item).value();
  return ScreenOf(map, at.longitude, at.latitude);
}

QAction* Action(MapWindow& map, const char* name) {
  return map.findChild<QAction*>(QLatin1String(name));
}

std::vector<std::string> PointTitles(const MapWindow& map) {
  std::vector<std::string> titles;
  for (const std::uint32_t item : map.Editor()->list().Group(ListGroup::kPoints)) {
    titles.emplace_back(map.Editor()->points().Title(item));
  }
  return titles;
}

/// The titles of the points of a file as the map reads them.
std::vector<std::string> TitlesIn(const QString& path) {
  LocalFileSystem files;
  MapReadOptions options;
  options.output = PointFormat::kGpx;
  const MapReadResult read = ReadMapPoints(files, path.toStdString(), options);
  std::vector<std::string> titles;
  for (std::size_t i = 0; i < read.points.size(); ++i) titles.emplace_back(read.points.Title(i));
  return titles;
}

/// Types `text` into `editor` a character at a time, as a keyboard of any
/// language would.
void Type(QWidget* editor, const QString& text) {
  for (const QChar character : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QApplication::sendEvent(editor, &press);
  }
}

/// Triggers the action of the popup menu's item `name` once it shows.
void ActOnPopup(const char* name) {
  QTimer::singleShot(50, [name] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      if (auto* action = popup->findChild<QAction*>(QLatin1String(name))) action->trigger();
      popup->close();
    }
  });
}

}  // namespace

class MapEditorTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    EnableSeams();
    point_dialog_seam::EnableTestMode();
  }
  void init();
  void cleanup();

  void findFiltersMarksAndChoosesOnReturn();
  void clicksChoose_data();
  void clicksChoose();
  void shiftDragChoosesARectangle();
  void selectAllChoosesEveryItemListed();
  void choosingInTheListRingsOnTheMap();
  void deleteUndoAndRedo_data();
  void deleteUndoAndRedo();
  void renameInPlaceChecksTheTitle_data();
  void renameInPlaceChecksTheTitle();
  void dragMovesTheChosenPoint();
  void moveToATypedPosition_data();
  void moveToATypedPosition();
  void addFromTheMenuAndTheRightButton();
  void skippedPointsAreMended();
  void skippedPointsAreDrawnGreyed();
  void saveAsEachFormat_data();
  void saveAsEachFormat();
  void saveAgainAsksNothing();
  void replacingAFileIsAsked_data();
  void replacingAFileIsAsked();
  void closingWithEditsNotSavedAsks_data();
  void closingWithEditsNotSavedAsks();
  void mainWindowConvertsTheEditedPoints();
  void routesAndTracksAreRemembered();
  void japaneseWindowKeepsToItsOwnWords();
  void tooltipIsInTheWindowsFont();
  void saveSaysWhatWasWrittenAndLeftOut_data();
  void saveSaysWhatWasWrittenAndLeftOut();
  void saveAsNeedsTheNameOfAFormat_data();
  void saveAsNeedsTheNameOfAFormat();
  void saveDialogsTypeIsTheNamesFormat();
  void savingOverTheFileReadSaysWhatIsLost_data();
  void savingOverTheFileReadSaysWhatIsLost();
  void saveAgainAsksWhenAnotherProgramChangedTheFile_data();
  void saveAgainAsksWhenAnotherProgramChangedTheFile();
  void fileLargerThanTheMapIsSaidAndKept();
  void typedTitlesAreOneLine_data();
  void typedTitlesAreOneLine();
  void longFindIsCut();
  void datumThatCannotBeMovedIsSaid();

 private:
  MapWindow& OpenMap(const std::string& gpx, bool japanese = false,
                     const QString& name = QStringLiteral("points.gpx"), StartupTables tables = {});
  void Choose(MapWindow& map, std::vector<std::uint32_t> items);

  std::unique_ptr<DataFolder> folder_;
  std::unique_ptr<mainform> window_;
};

void MapEditorTest::init() {
  qputenv("VELORIN_TILE_URL", "none");
  folder_ = std::make_unique<DataFolder>();
}

void MapEditorTest::cleanup() {
  // The window goes without asking about edits left in it.
  if (window_ && window_->Map() && window_->Map()->Editor()) window_->Map()->Editor()->MarkSaved();
  window_.reset();
  folder_.reset();
  VerifySeamsSettled();
  for (const auto& shown : point_dialog_seam::Shown()) QVERIFY(!shown.unexpected);
  QCOMPARE(point_dialog_seam::PendingAnswers(), std::size_t{0});
  ResetSeams();
  point_dialog_seam::Reset();
}

MapWindow& MapEditorTest::OpenMap(const std::string& gpx, bool japanese, const QString& name,
                                  StartupTables tables) {
  FileLocations locations = PortableLocations(folder_->FolderText());
  locations.dataFolder = std::string(VELORIN_DATA_DIR) + "/";
  if (tables.messageTable[0].empty()) tables = Tables(japanese);
  window_ = std::make_unique<mainform>(tables, locations);
  window_->show();
  AcceptInputPath(*window_, folder_->Write(name, gpx));
  window_->ShowMap();
  MapWindow* map = window_->Map();
  map->resize(800, 600);
  QSignalSpy shown(map, &MapWindow::Shown);
  [&] { QVERIFY(shown.wait(10000)); }();
  map->activateWindow();
  [&] { QVERIFY(QTest::qWaitForWindowActive(map)); }();
  map->Canvas()->Fit();
  return *map;
}

/// The view of Tokyo near enough for its points to stand apart.
void ShowTokyo(MapWindow& map) {
  MapView tokyo = map.Canvas()->View();
  tokyo.center = {139.755, 35.685};
  tokyo.zoom = 12;
  map.Canvas()->SetView(tokyo);
}

void MapEditorTest::Choose(MapWindow& map, std::vector<std::uint32_t> items) {
  map.ChooseItems(items);
  QCOMPARE(map.List()->selectionModel()->selectedRows().size(), qsizetype(items.size()));
}

void MapEditorTest::findFiltersMarksAndChoosesOnReturn() {
  MapWindow& map = OpenMap(kGpx);
  QTest::keyClick(&map, Qt::Key_F, Qt::ControlModifier);
  QVERIFY(map.FindBox()->hasFocus());
  QTest::keyClicks(map.FindBox(), "TOKYO");
  QCOMPARE(PointTitles(map), (std::vector<std::string>{"Tokyo Tower", "Tokyo Skytree"}));
  // The matches are ringed on the map.
  QImage picture(map.Canvas()->size(), QImage::Format_RGB32);
  map.Canvas()->render(&picture);
  const QPoint tower = ScreenOf(map, kTower);
  bool ringed = false;
  for (int dx = 6; dx <= 10 && !ringed; ++dx) {
    ringed = std::abs(picture.pixelColor(tower + QPoint(dx, 0)).red() - kFoundColour.red()) < 30 &&
             std::abs(picture.pixelColor(tower + QPoint(dx, 0)).blue() - kFoundColour.blue()) < 30;
  }
  QVERIFY(ringed);
  QTest::keyClick(map.FindBox(), Qt::Key_Return);
  QCOMPARE(map.Editor()->selection().Items(), (std::vector<std::uint32_t>{kTower, kSkytree}));
  QVERIFY(map.List()->hasFocus());
  QCOMPARE(map.List()->selectionModel()->selectedRows().size(), 2);
  // The keys that follow act on them.
  QTest::keyClick(map.List(), Qt::Key_Delete);
  QVERIFY(map.Editor()->list().Group(ListGroup::kPoints).empty());
  map.FindBox()->clear();
  QCOMPARE(PointTitles(map), (std::vector<std::string>{"Shibuya", "Marunouchi", "Osaka Castle"}));
}

void MapEditorTest::clicksChoose_data() {
  QTest::addColumn<QList<int>>("clicks");     // items, each after a modifier code
  QTest::addColumn<QList<int>>("modifiers");  // 0 none, 1 Shift, 2 Ctrl
  QTest::addColumn<QList<int>>("chosen");
  QTest::newRow("OneClick") << QList<int>{int(kTower)} << QList<int>{0} << QList<int>{int(kTower)};
  QTest::newRow("ClickReplaces") << QList<int>{int(kTower), int(kShibuya)} << QList<int>{0, 0}
                                 << QList<int>{int(kShibuya)};
  QTest::newRow("ShiftAdds") << QList<int>{int(kTower), int(kShibuya)} << QList<int>{0, 1}
                             << QList<int>{int(kTower), int(kShibuya)};
  QTest::newRow("CtrlTakesAway") << QList<int>{int(kTower), int(kShibuya), int(kTower)}
                                 << QList<int>{0, 1, 2} << QList<int>{int(kShibuya)};
  QTest::newRow("ClickBesideClears")
      << QList<int>{int(kTower), -1} << QList<int>{0, 0} << QList<int>{};
}

void MapEditorTest::clicksChoose() {
  QFETCH(QList<int>, clicks);
  QFETCH(QList<int>, modifiers);
  QFETCH(QList<int>, chosen);
  MapWindow& map = OpenMap(kGpx);
  ShowTokyo(map);
  for (qsizetype i = 0; i < clicks.size(); ++i) {
    const Qt::KeyboardModifiers modifier = modifiers[i] == 1   ? Qt::ShiftModifier
                                           : modifiers[i] == 2 ? Qt::ControlModifier
                                                               : Qt::NoModifier;
    const QPoint at = clicks[i] < 0 ? QPoint(2, 2) : ScreenOf(map, std::uint32_t(clicks[i]));
    QTest::mouseClick(map.Canvas(), Qt::LeftButton, modifier, at);
  }
  std::vector<std::uint32_t> expected(chosen.begin(), chosen.end());
  std::sort(expected.begin(), expected.end());
  QCOMPARE(map.Editor()->selection().Items(), expected);
  QCOMPARE(map.List()->selectionModel()->selectedRows().size(), chosen.size());
}

void MapEditorTest::shiftDragChoosesARectangle() {
  MapWindow& map = OpenMap(kGpx);
  MapCanvas* canvas = map.Canvas();
  MapView around = canvas->View();
  around.center = {139.76, 35.685};
  around.zoom = 11;
  canvas->SetView(around);
  // Around Tokyo Tower, Marunouchi and the untitled point; not Skytree.
  const QPoint from = ScreenOf(map, 139.735, 35.65);
  const QPoint to = ScreenOf(map, 139.78, 35.705);
  QTest::mousePress(canvas, Qt::LeftButton, Qt::ShiftModifier, from);
  QTest::mouseMove(canvas, (from + to) / 2);
  QTest::mouseMove(canvas, to);
  QTest::mouseRelease(canvas, Qt::LeftButton, Qt::ShiftModifier, to);
  QCOMPARE(map.Editor()->selection().Items(), (std::vector<std::uint32_t>{kTower, 3, kUntitled}));
}

void MapEditorTest::selectAllChoosesEveryItemListed() {
  MapWindow& map = OpenMap(kGpx);
  QTest::keyClick(map.Canvas(), Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(map.Editor()->selection().count(), std::size_t{7});
  QVERIFY2(map.PointCount()->text().endsWith(M(180) + QStringLiteral(" 7")),
           qPrintable(map.PointCount()->text()));
}

void MapEditorTest::choosingInTheListRingsOnTheMap() {
  MapWindow& map = OpenMap(kGpx);
  const int row = map.ListModel()->RowOf(kShibuya).value();
  map.List()->selectRow(row);
  QCOMPARE(map.Editor()->selection().Items(), std::vector<std::uint32_t>{kShibuya});
  QVERIFY(map.Details()->text().startsWith(QStringLiteral("Shibuya\n")));
  QImage picture(map.Canvas()->size(), QImage::Format_RGB32);
  map.Canvas()->render(&picture);
  const QPoint at = ScreenOf(map, kShibuya) + QPoint(8, 0);
  QVERIFY(std::abs(picture.pixelColor(at).blue() - kSelectionColour.blue()) < 40);
}

void MapEditorTest::deleteUndoAndRedo_data() {
  QTest::addColumn<int>("redoKey");
  QTest::addColumn<int>("redoModifiers");
  QTest::newRow("CtrlY") << int(Qt::Key_Y) << int(Qt::ControlModifier);
  QTest::newRow("CtrlShiftZ") << int(Qt::Key_Z) << int(Qt::ControlModifier | Qt::ShiftModifier);
}

void MapEditorTest::deleteUndoAndRedo() {
  QFETCH(int, redoKey);
  QFETCH(int, redoModifiers);
  MapWindow& map = OpenMap(kGpx);
  const QString caption = map.windowTitle();
  Choose(map, {kShibuya, kOsaka});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  QCOMPARE(PointTitles(map),
           (std::vector<std::string>{"Tokyo Tower", "Tokyo Skytree", "Marunouchi"}));
  QCOMPARE(map.windowTitle(), caption + QStringLiteral(" *"));
  QCOMPARE(map.Editor()->map().points->size(), std::size_t{3});
  QTest::keyClick(map.Canvas(), Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(PointTitles(map).size(), std::size_t{5});
  QCOMPARE(map.windowTitle(), caption);
  QCOMPARE(map.Editor()->selection().Items(), (std::vector<std::uint32_t>{kShibuya, kOsaka}));
  QTest::keyClick(map.Canvas(), Qt::Key(redoKey), Qt::KeyboardModifiers(redoModifiers));
  QCOMPARE(PointTitles(map).size(), std::size_t{3});
  QVERIFY(!Action(map, "map_redo")->isEnabled());
}

void MapEditorTest::renameInPlaceChecksTheTitle_data() {
  QTest::addColumn<QString>("typed");
  QTest::addColumn<int>("key");
  QTest::addColumn<QString>("check");  // what the check says while typing
  QTest::addColumn<QString>("title");  // the title afterwards
  QTest::newRow("Confirmed") << "Tokyo Tower Top" << int(Qt::Key_Return) << QString()
                             << "Tokyo Tower Top";
  QTest::newRow("LeftWithEscape") << "Nothing" << int(Qt::Key_Escape) << QString() << "Tokyo Tower";
  QTest::newRow("CharactersNviLacks")
      << "Café ☃" << int(Qt::Key_Return) << M(165) + QStringLiteral(" é ☃") << "Café ☃";
  QTest::newRow("Blank") << "  " << int(Qt::Key_Escape) << M(151) << "Tokyo Tower";
}

void MapEditorTest::renameInPlaceChecksTheTitle() {
  QFETCH(QString, typed);
  QFETCH(int, key);
  QFETCH(QString, check);
  QFETCH(QString, title);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kTower});
  QTest::keyClick(&map, Qt::Key_F2);
  auto* editor = map.List()->findChild<QLineEdit*>(QStringLiteral("map_title_editor"));
  QVERIFY(editor != nullptr);
  editor->selectAll();
  Type(editor, typed);
  if (!check.isEmpty())
    QVERIFY2(map.TitleCheck()->text().contains(check), qPrintable(map.TitleCheck()->text()));
  QTest::keyClick(editor, Qt::Key(key));
  QTRY_COMPARE(QString::fromUtf8(map.Editor()->points().Title(kTower)), title);
  QTRY_VERIFY(map.TitleCheck()->isHidden());
}

void MapEditorTest::dragMovesTheChosenPoint() {
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kShibuya});
  const LonLat before = map.Editor()->points().Position(kShibuya).value();
  const QPoint at = ScreenOf(map, kShibuya);
  QTest::mousePress(map.Canvas(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseMove(map.Canvas(), at + QPoint(20, 0));
  QTest::mouseMove(map.Canvas(), at + QPoint(40, 0));
  QTest::mouseRelease(map.Canvas(), Qt::LeftButton, Qt::NoModifier, at + QPoint(40, 0));
  const LonLat after = map.Editor()->points().Position(kShibuya).value();
  QVERIFY(after.longitude > before.longitude);
  QVERIFY(std::abs(after.latitude - before.latitude) < 1e-6);
  QCOMPARE(ScreenOf(map, kShibuya).x(), at.x() + 40);
  Action(map, "map_undo")->trigger();
  QCOMPARE(map.Editor()->points().Position(kShibuya)->longitude, before.longitude);
}

void MapEditorTest::moveToATypedPosition_data() {
  QTest::addColumn<QStringList>("answers");  // longitude, latitude pairs tried in turn
  QTest::addColumn<int>("refusals");
  QTest::addColumn<double>("longitude");
  QTest::addColumn<double>("latitude");
  QTest::newRow("Decimal") << QStringList{"139.5", "35.25"} << 0 << 139.5 << 35.25;
  QTest::newRow("Dmst") << QStringList{"139'30'0'0", "35'15'0'0"} << 0 << 139.5 << 35.25;
  QTest::newRow("UnreadableThenRead")
      << QStringList{"east", "35", "-70.5", "40"} << 1 << -70.5 << 40.0;
}

void MapEditorTest::moveToATypedPosition() {
  QFETCH(QStringList, answers);
  QFETCH(int, refusals);
  QFETCH(double, longitude);
  QFETCH(double, latitude);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kOsaka});
  for (qsizetype i = 0; i + 1 < answers.size(); i += 2) {
    point_dialog_seam::QueueAnswer({QString(), answers[i], answers[i + 1]});
  }
  for (int i = 0; i < refusals; ++i) message_box_seam::QueueAnswer(MessageAnswer::kOk);
  Action(map, "map_move_to")->trigger();
  const LonLat moved = map.Editor()->points().Position(kOsaka).value();
  QCOMPARE(moved.longitude, longitude);
  QCOMPARE(moved.latitude, latitude);
  QCOMPARE(point_dialog_seam::Shown().front().request.longitude, QStringLiteral("135.525900"));
  if (refusals > 0) QCOMPARE(message_box_seam::Shown().front().text, M(168));
  // A west longitude is no place for NVI: the point is skipped now.
  QCOMPARE(map.Editor()->points().Status(kOsaka),
           longitude < 0 ? ItemStatus::kOutOfRange : ItemStatus::kPoint);
}

void MapEditorTest::addFromTheMenuAndTheRightButton() {
  MapWindow& map = OpenMap(kGpx);
  point_dialog_seam::QueueAnswer({QStringLiteral("Ueno"), "139.7745", "35.7141"});
  Action(map, "map_add")->trigger();
  const std::uint32_t added = 7;
  QCOMPARE(QString::fromUtf8(map.Editor()->points().Title(added)), QStringLiteral("Ueno"));
  QCOMPARE(map.Editor()->selection().Items(), std::vector<std::uint32_t>{added});
  QVERIFY(point_dialog_seam::Shown().back().request.asksTitle);
  // On the map's right button, at the place clicked.
  const QPoint at(100, 120);
  const LonLat there = map.Canvas()->View().ToLonLat({100, 120});
  point_dialog_seam::QueueAnswer({QStringLiteral("Here"), QString::number(there.longitude, 'f', 6),
                                  QString::number(there.latitude, 'f', 6)});
  ActOnPopup("map_add_here");
  QContextMenuEvent menu(QContextMenuEvent::Mouse, at, map.Canvas()->mapToGlobal(at));
  QApplication::sendEvent(map.Canvas(), &menu);
  QTRY_COMPARE(map.Editor()->points().size(), 9u);
  QCOMPARE(point_dialog_seam::Shown().back().request.longitude,
           QString::number(there.longitude, 'f', 6));
  QVERIFY2((ScreenOf(map, 8) - at).manhattanLength() <= 2,
           qPrintable(QStringLiteral("%1,%2").arg(ScreenOf(map, 8).x()).arg(ScreenOf(map, 8).y())));
}

void MapEditorTest::skippedPointsAreMended() {
  MapWindow& map = OpenMap(kGpx);
  QCOMPARE(map.Editor()->list().Count(ListGroup::kUntitled), std::size_t{1});
  map.List()->selectRow(map.ListModel()->RowOf(kUntitled).value());
  QTest::keyClick(&map, Qt::Key_F2);
  auto* editor = map.List()->findChild<QLineEdit*>(QStringLiteral("map_title_editor"));
  QVERIFY(editor != nullptr);
  QTest::keyClicks(editor, "Akihabara");
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(map.Editor()->points().Status(kUntitled), ItemStatus::kPoint);
  QCOMPARE(map.Editor()->list().Count(ListGroup::kUntitled), std::size_t{0});
  // Big Ben, moved where NVI holds it, counts as a point too.
  Choose(map, {kBigBen});
  point_dialog_seam::QueueAnswer({QString(), "139.7", "35.6"});
  Action(map, "map_move_to")->trigger();
  QCOMPARE(map.Editor()->points().Status(kBigBen), ItemStatus::kPoint);
  QCOMPARE(map.PointCount()->text(), M(148) + QStringLiteral(" 7   ") + M(180) + " 1");
}

void MapEditorTest::skippedPointsAreDrawnGreyed() {
  MapWindow& map = OpenMap(kGpx);
  ShowTokyo(map);
  QImage picture(map.Canvas()->size(), QImage::Format_RGB32);
  map.Canvas()->render(&picture);
  const QColor untitled = picture.pixelColor(ScreenOf(map, kUntitled));
  QVERIFY2(std::abs(untitled.red() - kSkippedColour.red()) < 24 &&
               std::abs(untitled.green() - kSkippedColour.green()) < 24,
           qPrintable(untitled.name()));
  QCOMPARE(map.Canvas()->SkippedClusters().size(), std::size_t{1});
}

void MapEditorTest::saveAsEachFormat_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("start");  // the file's first bytes
  QTest::addColumn<bool>("globe");        // the format holds a west longitude
  QTest::newRow("Nvi") << "out.nvi" << QByteArray("") << false;
  QTest::newRow("Pot") << "out.pot" << QByteArray("ORD=POI/tex=Tokyo Tower/") << false;
  QTest::newRow("Gpx") << "out.gpx" << QByteArray("<?xml") << true;
  QTest::newRow("Kml") << "out.kml" << QByteArray("<?xml") << true;
  QTest::newRow("Csv") << "out.csv" << QByteArray("name,") << true;
  QTest::newRow("GeoJson") << "out.geojson" << QByteArray("{") << true;
}

void MapEditorTest::saveAsEachFormat() {
  QFETCH(QString, name);
  QFETCH(QByteArray, start);
  QFETCH(bool, globe);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kSkytree});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  common_dialog_seam::QueuePick(folder_->PathOf(name));
  QTest::keyClick(map.Canvas(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  const auto& dialog = common_dialog_seam::Shown().back();
  QVERIFY(dialog.qtFilter.contains(QStringLiteral("GeoJSON (*.geojson *.json)")));
  QCOMPARE(dialog.initialFileName, folder_->PathOf(QStringLiteral("points.nvi")));
  const std::string saved = folder_->Read(name);
  QVERIFY2(QByteArray::fromStdString(saved).startsWith(start), saved.c_str());
  QVERIFY(!map.windowTitle().endsWith(QStringLiteral(" *")));
  // What a conversion of the edited file writes: Big Ben where the format
  // holds it, the untitled point nowhere.
  std::vector<std::string> titles{"Tokyo Tower", "Shibuya", "Marunouchi", "Osaka Castle"};
  if (globe) titles.emplace_back("Big Ben");
  QCOMPARE(TitlesIn(folder_->PathOf(name)), titles);
  QCOMPARE(map.Saver().Last()->first, folder_->PathOf(name).toStdString());
}

void MapEditorTest::saveAgainAsksNothing() {
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kSkytree});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("mine.gpx")));
  Action(map, "map_save")->trigger();  // nothing saved yet: Save As
  Choose(map, {kShibuya});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  QTest::keyClick(map.Canvas(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(common_dialog_seam::Shown().size(), std::size_t{1});
  QVERIFY(message_box_seam::Shown().empty());
  QCOMPARE(TitlesIn(folder_->PathOf(QStringLiteral("mine.gpx"))),
           (std::vector<std::string>{"Tokyo Tower", "Marunouchi", "Osaka Castle", "Big Ben"}));
}

void MapEditorTest::replacingAFileIsAsked_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<bool>("yes");
  QTest::newRow("OtherFileKept") << "other.gpx" << false;
  QTest::newRow("OtherFileReplaced") << "other.gpx" << true;
}

void MapEditorTest::replacingAFileIsAsked() {
  QFETCH(QString, name);
  QFETCH(bool, yes);
  MapWindow& map = OpenMap(kGpx);
  if (name != QStringLiteral("points.gpx")) folder_->Write(name, "old");
  const std::string before = folder_->Read(name);
  Choose(map, {kTower});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  common_dialog_seam::QueuePick(folder_->PathOf(name));
  message_box_seam::QueueAnswer(yes ? MessageAnswer::kYes : MessageAnswer::kNo);
  Action(map, "map_save_as")->trigger();
  QCOMPARE(message_box_seam::Shown().front().title, M(90));
  QCOMPARE(message_box_seam::Shown().front().text, M(102) + "\n" + M(103));
  QCOMPARE(folder_->Read(name) == before, !yes);
  QCOMPARE(map.windowTitle().endsWith(QStringLiteral(" *")), !yes);
}

void MapEditorTest::closingWithEditsNotSavedAsks_data() {
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("closed");
  QTest::addColumn<bool>("saved");
  QTest::newRow("Save") << int(MessageAnswer::kSave) << true << true;
  QTest::newRow("Discard") << int(MessageAnswer::kDiscard) << true << false;
  QTest::newRow("Cancel") << int(MessageAnswer::kCancel) << false << false;
}

void MapEditorTest::closingWithEditsNotSavedAsks() {
  QFETCH(int, answer);
  QFETCH(bool, closed);
  QFETCH(bool, saved);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kTower});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  message_box_seam::QueueAnswer(MessageAnswer(answer));
  if (saved) common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("kept.csv")));
  map.close();
  const ShownMessageBox& box = message_box_seam::Shown().front();
  QCOMPARE(box.buttons, MessageButtons::kSaveDiscardCancel);
  QCOMPARE(box.text, M(163) + "\n" + M(164));
  QCOMPARE(map.isVisible(), !closed);
  QCOMPARE(!folder_->Read(QStringLiteral("kept.csv")).empty(), saved);
  QCOMPARE(map.Editor()->points().edits().HoldsEdits(), true);
}

void MapEditorTest::mainWindowConvertsTheEditedPoints() {
  MapWindow& map = OpenMap(kGpx);
  QAction* item = window_->mainform_menu_file_convert_edited;
  emit window_->mainform_menu_file->aboutToShow();
  QVERIFY(!item->isVisible());
  Choose(map, {kTower, kSkytree});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  emit window_->mainform_menu_file->aboutToShow();
  QVERIFY(item->isVisible());
  QCOMPARE(item->text(), M(169));
  message_box_seam::QueueAnswer(MessageAnswer::kYes);  // start
  message_box_seam::QueueAnswer(MessageAnswer::kOk);   // finished
  item->trigger();
  QVERIFY(message_box_seam::Shown().back().text.contains(M(107) + " 3"));
  // The input file stays as it was; Convert itself still converts it.
  QCOMPARE(folder_->Read(QStringLiteral("points.gpx")), kGpx);
  QVERIFY(map.isEnabled());
}

void MapEditorTest::routesAndTracksAreRemembered() {
  const std::string gpx =
      "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
      Wpt(35.0, 139.0, "Start") +
      "<trk><name>Walk</name><trkseg><trkpt lat=\"35.1\" lon=\"139.1\"/>"
      "<trkpt lat=\"35.2\" lon=\"139.2\"/></trkseg></trk>\n</gpx>\n";
  MapWindow& map = OpenMap(gpx);
  QCOMPARE(map.Data()->read().points.size(), std::size_t{1});
  QSignalSpy shown(&map, &MapWindow::Shown);
  Action(map, "map_routes_and_tracks")->trigger();
  QVERIFY(shown.wait(10000));
  QCOMPARE(map.Data()->read().points.size(), std::size_t{3});
  LocalFileSystem files;
  QVERIFY(LoadMapRoutesAndTracks(files, window_->Locations().mapSettingsPath));
  MapWindow again(Tables(), window_->Locations(), nullptr);
  QVERIFY(Action(again, "map_routes_and_tracks")->isChecked());
}

void MapEditorTest::japaneseWindowKeepsToItsOwnWords() {
  MapWindow& map = OpenMap(kGpx, true);
  const PointEditor& editor = *map.Editor();
  const QString tip = map.ListModel()
                          ->index(map.ListModel()->RowOf(kBigBen).value(), 0)
                          .data(Qt::ToolTipRole)
                          .toString();
  QVERIFY2(tip.endsWith(M(149) + " 9: " + M(152)), qPrintable(tip));
  QVERIFY(!editor.points().Reason(kBigBen).empty());
  QVERIFY(!tip.contains(QString::fromUtf8(editor.points().Reason(kBigBen))));
}

void MapEditorTest::tooltipIsInTheWindowsFont() {
  MapWindow& map = OpenMap(kGpx);
  ShowTokyo(map);
  QTest::mouseMove(map.Canvas(), ScreenOf(map, kShibuya));
  QTRY_VERIFY(QToolTip::isVisible());
  QVERIFY(QToolTip::text().contains(QStringLiteral("font-family:'%1'").arg(kTestFontName)));
  QVERIFY(QToolTip::text().contains(M(150)));
}

void MapEditorTest::saveSaysWhatWasWrittenAndLeftOut_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QString>("report");
  // The untitled point is skipped (the settings say so); NVI and POT hold
  // no west longitude.
  QTest::newRow("Nvi") << "out.nvi"
                       << M(60) + " out.nvi\n" + M(107) + " 5\n" + M(113) + " 2 (" + M(114) +
                              " 1, " + M(115) + " 1)";
  QTest::newRow("Pot") << "out.pot"
                       << M(60) + " out.pot\n" + M(107) + " 5\n" + M(113) + " 2 (" + M(114) +
                              " 1, " + M(115) + " 1)";
  QTest::newRow("Gpx") << "out.gpx"
                       << M(60) + " out.gpx\n" + M(107) + " 6\n" + M(113) + " 1 (" + M(114) + " 1)";
}

void MapEditorTest::saveSaysWhatWasWrittenAndLeftOut() {
  QFETCH(QString, name);
  QFETCH(QString, report);
  MapWindow& map = OpenMap(kGpx);
  QVERIFY(map.SaveReport()->isHidden());
  common_dialog_seam::QueuePick(folder_->PathOf(name));
  Action(map, "map_save_as")->trigger();
  QCOMPARE(map.SaveReport()->text(), report);
  QVERIFY(map.SaveReport()->isVisible());
  QVERIFY(message_box_seam::Shown().empty());
}

void MapEditorTest::saveAsNeedsTheNameOfAFormat_data() {
  QTest::addColumn<QString>("name");
  QTest::newRow("NoFormatsExtension") << "out.txt";
  QTest::newRow("NoExtension") << "out";
  QTest::newRow("ReadOnly") << "out.kmz";
}

void MapEditorTest::saveAsNeedsTheNameOfAFormat() {
  QFETCH(QString, name);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kTower});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  common_dialog_seam::QueuePick(folder_->PathOf(name));
  message_box_seam::QueueAnswer(MessageAnswer::kOk);
  Action(map, "map_save_as")->trigger();
  QCOMPARE(message_box_seam::Shown().front().title, M(91));
  QCOMPARE(message_box_seam::Shown().front().text, M(179));
  QVERIFY(!QFile::exists(folder_->PathOf(name)));
  QVERIFY(map.windowTitle().endsWith(QStringLiteral(" *")));
}

void MapEditorTest::saveDialogsTypeIsTheNamesFormat() {
  MapWindow& map = OpenMap(kGpx);
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("mine.gpx")));
  Action(map, "map_save_as")->trigger();
  common_dialog_seam::QueueCancel();
  Action(map, "map_save_as")->trigger();
  const auto& first = common_dialog_seam::Shown().front();
  QCOMPARE(first.initialFileName, folder_->PathOf(QStringLiteral("points.nvi")));
  QVERIFY2(first.initialFilter.startsWith(QStringLiteral("NVI")), qPrintable(first.initialFilter));
  QCOMPARE(first.defaultSuffix, QStringLiteral("nvi"));
  const auto& again = common_dialog_seam::Shown().back();
  QCOMPARE(again.initialFileName, folder_->PathOf(QStringLiteral("mine.gpx")));
  QVERIFY2(again.initialFilter.startsWith(QStringLiteral("GPX")), qPrintable(again.initialFilter));
  QCOMPARE(again.defaultSuffix, QStringLiteral("gpx"));
}

void MapEditorTest::savingOverTheFileReadSaysWhatIsLost_data() {
  QTest::addColumn<bool>("changedBefore");  // another program wrote the file after it was read
  QTest::addColumn<bool>("yes");
  QTest::newRow("Kept") << false << false;
  QTest::newRow("Replaced") << false << true;
  QTest::newRow("ChangedOnTheDiskKept") << true << false;
  QTest::newRow("ChangedOnTheDiskReplaced") << true << true;
}

void MapEditorTest::savingOverTheFileReadSaysWhatIsLost() {
  QFETCH(bool, changedBefore);
  QFETCH(bool, yes);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kTower});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  const std::string before = changedBefore ? kGpx + "<!-- changed -->\n" : kGpx;
  if (changedBefore) folder_->Write(QStringLiteral("points.gpx"), before);
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("points.gpx")));
  message_box_seam::QueueAnswer(yes ? MessageAnswer::kYes : MessageAnswer::kNo);
  Action(map, "map_save_as")->trigger();
  // One question, saying what of the file goes: the untitled point.
  QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
  const ShownMessageBox& box = message_box_seam::Shown().front();
  QCOMPARE(box.title, M(90));
  QCOMPARE(box.buttons, MessageButtons::kYesNo);
  QCOMPARE(box.defaultAnswer, MessageAnswer::kNo);
  QCOMPARE(box.text, M(65) + "\n" + M(113) + " 1 (" + M(114) + " 1)\n" + M(75) +
                         (changedBefore ? "\n" + M(68) : QString()) + "\n" + M(103));
  QCOMPARE(folder_->Read(QStringLiteral("points.gpx")) == before, !yes);
  if (yes) {
    QCOMPARE(TitlesIn(folder_->PathOf(QStringLiteral("points.gpx"))),
             (std::vector<std::string>{"Tokyo Skytree", "Shibuya", "Marunouchi", "Osaka Castle",
                                       "Big Ben"}));
    // The file is Velorin's now: saved again unasked.
    Choose(map, {kShibuya});
    QTest::keyClick(map.Canvas(), Qt::Key_Delete);
    QTest::keyClick(map.Canvas(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
    QCOMPARE(TitlesIn(folder_->PathOf(QStringLiteral("points.gpx"))).size(), std::size_t{4});
  }
}

void MapEditorTest::saveAgainAsksWhenAnotherProgramChangedTheFile_data() {
  QTest::addColumn<bool>("yes");
  QTest::newRow("Kept") << false;
  QTest::newRow("Replaced") << true;
}

void MapEditorTest::saveAgainAsksWhenAnotherProgramChangedTheFile() {
  QFETCH(bool, yes);
  MapWindow& map = OpenMap(kGpx);
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("mine.gpx")));
  Action(map, "map_save_as")->trigger();
  folder_->Write(QStringLiteral("mine.gpx"), "changed by another program");
  Choose(map, {kShibuya});
  QTest::keyClick(map.Canvas(), Qt::Key_Delete);
  message_box_seam::QueueAnswer(yes ? MessageAnswer::kYes : MessageAnswer::kNo);
  QTest::keyClick(map.Canvas(), Qt::Key_S, Qt::ControlModifier);
  QCOMPARE(message_box_seam::Shown().size(), std::size_t{1});
  QCOMPARE(message_box_seam::Shown().front().text, M(69) + "\n" + M(103));
  QCOMPARE(message_box_seam::Shown().front().defaultAnswer, MessageAnswer::kNo);
  QCOMPARE(folder_->Read(QStringLiteral("mine.gpx")) == "changed by another program", !yes);
  QCOMPARE(map.windowTitle().endsWith(QStringLiteral(" *")), !yes);
}

void MapEditorTest::fileLargerThanTheMapIsSaidAndKept() {
  MapWindow& map = OpenMap(kGpx);
  map.SetCapacity(3);
  QSignalSpy shown(&map, &MapWindow::Shown);
  message_box_seam::QueueAnswer(MessageAnswer::kOk);
  map.ShowFile(map.File());
  QVERIFY(shown.wait(10000));
  // At once: the map holds three points, not the file's five.
  QCOMPARE(message_box_seam::Shown().front().text, M(71) + " 3");
  QCOMPARE(map.Data()->read().points.size(), std::size_t{3});
  // Saved over, the file would lose the rest: refused.
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("points.gpx")));
  message_box_seam::QueueAnswer(MessageAnswer::kOk);
  Action(map, "map_save_as")->trigger();
  QCOMPARE(message_box_seam::Shown().back().title, M(91));
  QCOMPARE(message_box_seam::Shown().back().text, M(70));
  QCOMPARE(folder_->Read(QStringLiteral("points.gpx")), kGpx);
  // Another file takes what the map holds.
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("part.gpx")));
  Action(map, "map_save_as")->trigger();
  QCOMPARE(TitlesIn(folder_->PathOf(QStringLiteral("part.gpx"))).size(), std::size_t{3});
}

void MapEditorTest::typedTitlesAreOneLine_data() {
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<QString>("title");
  QTest::newRow("LineBreak") << "A\nB"
                             << "A B";
  QTest::newRow("BlockEnd") << "x};\r\neoNPOIs@NRA\r\n"
                            << "x}; eoNPOIs@NRA";
  QTest::newRow("Tabs") << "\tTokyo\tTower"
                        << "Tokyo Tower";
}

void MapEditorTest::typedTitlesAreOneLine() {
  QFETCH(QString, pasted);
  QFETCH(QString, title);
  MapWindow& map = OpenMap(kGpx);
  Choose(map, {kTower});
  QTest::keyClick(&map, Qt::Key_F2);
  auto* editor = map.List()->findChild<QLineEdit*>(QStringLiteral("map_title_editor"));
  QVERIFY(editor != nullptr);
  editor->selectAll();
  editor->insert(pasted);
  // Said while it is typed, before it is kept.
  QVERIFY2(map.TitleCheck()->text().contains(M(166) + " " + title),
           qPrintable(map.TitleCheck()->text()));
  QTest::keyClick(editor, Qt::Key_Return);
  QTRY_COMPARE(QString::fromUtf8(map.Editor()->points().Title(kTower)), title);
  // The dialog's titles alike.
  point_dialog_seam::QueueAnswer({pasted, "139.7745", "35.7141"});
  Action(map, "map_add")->trigger();
  QCOMPARE(QString::fromUtf8(map.Editor()->points().Title(7)), title);
  common_dialog_seam::QueuePick(folder_->PathOf(QStringLiteral("out.nvi")));
  Action(map, "map_save_as")->trigger();
  const std::string nvi = folder_->Read(QStringLiteral("out.nvi"));
  QCOMPARE(std::count(nvi.begin(), nvi.end(), '\n'), qsizetype(12 * 6));
  QCOMPARE(TitlesIn(folder_->PathOf(QStringLiteral("out.nvi"))).front(), title.toStdString());
}

void MapEditorTest::longFindIsCut() {
  MapWindow& map = OpenMap(kGpx);
  map.FindBox()->insert(QStringLiteral("Tokyo") + QString(100'000, QLatin1Char('x')));
  QCOMPARE(map.FindBox()->text().size(), qsizetype(kFindCharacters));
  QVERIFY(map.Editor()->list().Group(ListGroup::kPoints).empty());
  map.FindBox()->setText(QStringLiteral("Tokyo"));
  QCOMPARE(PointTitles(map), (std::vector<std::string>{"Tokyo Tower", "Tokyo Skytree"}));
}

void MapEditorTest::datumThatCannotBeMovedIsSaid() {
  const testutil::MissingProjData missing;
  StartupTables tables = Tables();
  tables.systemSettings[kInputDatumEntry] = "tokyo";
  MapWindow& map = OpenMap("ORD=POI/tex=Tower/kei=139'44'43'5/ido=35'39'30'9\r\n", false,
                           QStringLiteral("tokyo.pot"), tables);
  // As Convert says it: the datum's words, and why below them.
  QCOMPARE(map.Canvas()->Notice(), M(147) + "\n" + M(172));
  QVERIFY2(map.Details()->text().startsWith(M(147) + "\n" + M(172) + "\n"),
           qPrintable(map.Details()->text()));
  QVERIFY(map.Details()->text().size() > (M(147) + "\n" + M(172) + "\n").size());
}

}  // namespace velorin

QTEST_MAIN(velorin::MapEditorTest)
#include "map_editor_test.moc"
