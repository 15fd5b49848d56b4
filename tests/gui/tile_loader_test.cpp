// Map tiles against a tile server on the loopback address that the test
// starts: the settings file's server and contact, the User-Agent, two
// requests at a time, the disk cache, cancelled and failed requests, and a
// table of misbehaving servers (bodies too long or endless, no picture,
// pictures too large, redirect loops, errors) that must neither fill the
// memory or the disk nor be asked again and again.
#include "gui/map/tile_loader.h"

#include <QDirIterator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "map/tile_server.h"
#include "map/tile_settings.h"
#include "platform/file_system.h"
#include "tile_test_server.h"

Q_DECLARE_METATYPE(velorin::window_test::TileBehaviour)

namespace velorin {
namespace {

using window_test::TileBehaviour;
using window_test::TileTestServer;

constexpr char kOsmCredit[] = "© OpenStreetMap contributors";

TileServer LocalServer(const TileTestServer& server) {
  return ChooseTileServer(server.UrlTemplate().toStdString(), std::string(), nullptr);
}

bool Holds(const TileLoader& loader, const std::vector<TileId>& keys) {
  return std::all_of(keys.begin(), keys.end(),
                     [&](const TileId& key) { return loader.Image(key) != nullptr; });
}

// "z/x/y" of every tile asked for, sorted.
QStringList RequestedTiles(const TileTestServer& server) {
  QStringList tiles;
  for (const auto& request : server.Requests())
    tiles << QStringLiteral("%1/%2/%3").arg(request.z).arg(request.x).arg(request.y);
  tiles.sort();
  return tiles;
}

// The bytes of every file under `folder`.
qint64 BytesUnder(const QString& folder) {
  qint64 bytes = 0;
  QDirIterator files(folder, QDir::Files, QDirIterator::Subdirectories);
  while (files.hasNext()) bytes += files.nextFileInfo().size();
  return bytes;
}

// Six tiles of one view, the first two asked for at once.
const std::vector<TileId> kSixTiles = {{7, 113, 50}, {7, 114, 50}, {7, 113, 51},
                                       {7, 114, 51}, {7, 115, 50}, {7, 115, 51}};

}  // namespace

class TileLoaderTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    qunsetenv(kTileUrlVariable);
    QVERIFY(server_.Start());
    server_.ClearRequests();
  }
  void cleanup() { server_.Stop(); }

  void settingsFile_data();
  void settingsFile();

  void requestsNameVelorinAndItsVersion();
  void atMostTwoRequestsAtOnce();
  void secondOpeningWithinTheLifetimeAsksNothing();
  void requestsTheViewLeftAreCancelled();
  void failedTileIsAskedAgainLater();
  void noServerAsksNothing();
  void misbehavingServer_data();
  void misbehavingServer();

 private:
  TileTestServer server_;
};

void TileLoaderTest::settingsFile_data() {
  QTest::addColumn<QByteArray>("contents");  // "(missing)": no file
  QTest::addColumn<QString>("url");
  QTest::addColumn<QString>("credit");
  QTest::addColumn<QByteArray>("userAgent");
  const QString osm = QString::fromLatin1(kOpenStreetMapTiles);
  const QByteArray agent = "Velorin/0.2.0";
  QTest::newRow("MissingFile") << QByteArray("(missing)") << osm << QString::fromUtf8(kOsmCredit)
                               << agent;
  QTest::newRow("EmptyFile") << QByteArray() << osm << QString::fromUtf8(kOsmCredit) << agent;
  QTest::newRow("Gsi") << QByteArray(
                              "[tiles]\nurl=https://cyberjapandata.gsi.go.jp/xyz/std/{z}/{x}/"
                              "{y}.png\nattribution=\xE5\x9C\xB0\xE7\x90\x86\xE9\x99\xA2\xE3\x82"
                              "\xBF\xE3\x82\xA4\xE3\x83\xAB\n")
                       << QString::fromLatin1(kGsiStandardTiles)
                       << QString::fromUtf8(kGsiAttribution) << agent;
  QTest::newRow("CreditWithAComma")
      << QByteArray("[tiles]\r\nurl=http://h/{z}/{x}/{y}.png\r\nattribution=\xC2\xA9 A, B\r\n")
      << QStringLiteral("http://h/{z}/{x}/{y}.png") << QStringLiteral("© A, B") << agent;
  QTest::newRow("Offline") << QByteArray("[tiles]\nurl=none\ncontact=me@example.org\n") << QString()
                           << QString() << agent;
  QTest::newRow("ContactGoesIntoTheUserAgent")
      << QByteArray("[tiles]\ncontact=me@example.org\n") << osm << QString::fromUtf8(kOsmCredit)
      << QByteArray("Velorin/0.2.0 (me@example.org)");
  QTest::newRow("ContactCannotBreakTheHeader")
      << QByteArray("[tiles]\ncontact=\"me@example.org\\r\\nX-Evil: 1\"\n") << osm
      << QString::fromUtf8(kOsmCredit) << QByteArray("Velorin/0.2.0 (me@example.orgX-Evil: 1)");
}

void TileLoaderTest::settingsFile() {
  QFETCH(QByteArray, contents);
  QFETCH(QString, url);
  QFETCH(QString, credit);
  QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("velorin_map.ini"));
  if (contents != "(missing)") {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
  }
  LocalFileSystem files;
  const TileServer server = TileServerFromSettings(files, path.toStdString());
  QCOMPARE(QString::fromStdString(server.urlTemplate), url);
  QCOMPARE(QString::fromStdString(server.attribution), credit);
  QFETCH(QByteArray, userAgent);
  QCOMPARE(TileLoader(server, QString()).UserAgent(), userAgent);
}

void TileLoaderTest::requestsNameVelorinAndItsVersion() {
  TileLoader loader(LocalServer(server_), QString());
  QSignalSpy arrived(&loader, &TileLoader::TileArrived);
  loader.Want({{3, 5, 2}});
  QTRY_COMPARE(arrived.count(), 1);
  QCOMPARE(server_.Requests().size(), std::size_t{1});
  QCOMPARE(server_.Requests()[0].path, QByteArray("/3/5/2.png"));
  QCOMPARE(server_.Requests()[0].userAgent, QByteArray("Velorin/0.2.0"));
  QCOMPARE(loader.Image({3, 5, 2})->pixelColor(128, 128), TileTestServer::TileColour(3, 5, 2));
}

void TileLoaderTest::atMostTwoRequestsAtOnce() {
  server_.SetDelay(60);
  TileLoader loader(LocalServer(server_), QString());
  const std::vector<TileId> keys = {{4, 1, 1}, {4, 2, 1}, {4, 3, 1}, {4, 1, 2}, {4, 2, 2}};
  loader.Want(keys);
  QCOMPARE(loader.RequestsInFlight(), kMaxTileRequests);
  QTRY_VERIFY(Holds(loader, keys));
  QCOMPARE(server_.Requests().size(), keys.size());
  QCOMPARE(server_.MostOpenAtOnce(), kMaxTileRequests);
  server_.SetDelay(0);
}

void TileLoaderTest::secondOpeningWithinTheLifetimeAsksNothing() {
  QTemporaryDir cache;
  const std::vector<TileId> keys = {{5, 27, 12}, {5, 28, 12}};
  {
    TileLoader first(LocalServer(server_), cache.path());
    first.Want(keys);
    QTRY_VERIFY(Holds(first, keys));
  }
  QCOMPARE(server_.Requests().size(), keys.size());
  TileLoader second(LocalServer(server_), cache.path());
  second.Want(keys);
  QTRY_VERIFY(Holds(second, keys));
  QCOMPARE(server_.Requests().size(), keys.size());  // from the disk cache alone
}

void TileLoaderTest::requestsTheViewLeftAreCancelled() {
  server_.SetDelay(300);
  TileLoader loader(LocalServer(server_), QString());
  loader.Want({{6, 1, 1}, {6, 2, 1}, {6, 3, 1}});
  QTRY_COMPARE(server_.Requests().size(), std::size_t{2});
  const std::vector<TileId> moved = {{6, 40, 30}};
  loader.Want(moved);
  QCOMPARE(loader.RequestsInFlight(), 1);
  QTRY_VERIFY(Holds(loader, moved));
  QCOMPARE(RequestedTiles(server_), QStringList({"6/1/1", "6/2/1", "6/40/30"}));
  QVERIFY(loader.Image({6, 1, 1}) == nullptr);
  server_.SetDelay(0);
}

void TileLoaderTest::failedTileIsAskedAgainLater() {
  server_.RememberPort();
  const quint16 port = server_.Port();
  TileLoader loader(LocalServer(server_), QString());
  loader.SetRetryDelay(std::chrono::milliseconds(300));
  server_.Stop();
  QSignalSpy arrived(&loader, &TileLoader::TileArrived);
  loader.Want({{2, 1, 1}});
  QTRY_COMPARE(loader.RequestsInFlight(), 0);
  QCOMPARE(arrived.count(), 0);
  QVERIFY(server_.Start(port));
  QTRY_COMPARE(arrived.count(), 1);
  QCOMPARE(RequestedTiles(server_), QStringList({"2/1/1"}));
}

void TileLoaderTest::noServerAsksNothing() {
  TileLoader loader(ChooseTileServer(kNoTiles, std::string(), nullptr), QString());
  loader.Want({{0, 0, 0}});
  QCOMPARE(loader.RequestsInFlight(), 0);
  QTest::qWait(50);
  QVERIFY(server_.Requests().empty());
}

void TileLoaderTest::misbehavingServer_data() {
  QTest::addColumn<TileBehaviour>("behaviour");
  QTest::addColumn<int>("side");          // of the tiles held; 0: none held
  QTest::addColumn<int>("failure");       // TileFailure, -1: none
  QTest::addColumn<int>("mostRequests");  // the server gets at most these
  const auto failure = [](TileFailure why) { return static_cast<int>(why); };
  QTest::newRow("GoodTiles") << TileBehaviour::kTiles << 256 << -1 << 6;
  QTest::newRow("LargeTilesDecodedAsDrawn") << TileBehaviour::kLargeTiles << 256 << -1 << 6;
  QTest::newRow("EndlessBodyStopped")
      << TileBehaviour::kEndlessBody << 0 << failure(TileFailure::kTooLarge) << 2;
  QTest::newRow("HugeLengthRefusedAtOnce")
      << TileBehaviour::kHugeLength << 0 << failure(TileFailure::kTooLarge) << 2;
  QTest::newRow("RandomBytes") << TileBehaviour::kNotAnImage << 0
                               << failure(TileFailure::kNotAnImage) << 2;
  QTest::newRow("DeclaredHugeRefusedBeforeDecoding")
      << TileBehaviour::kDeclaredHuge << 0 << failure(TileFailure::kTooManyPixels) << 2;
  QTest::newRow("HugePictureRefusedBeforeDecoding")
      << TileBehaviour::kHugePicture << 0 << failure(TileFailure::kTooManyPixels) << 2;
  // Two tiles at once, each followed through three redirects, then rest.
  QTest::newRow("RedirectLoop") << TileBehaviour::kRedirectLoop << 0
                                << failure(TileFailure::kRedirectedAway) << 8;
  QTest::newRow("ServerError") << TileBehaviour::kServerError << 0
                               << failure(TileFailure::kServerFault) << 2;
  // A server that has no such tiles answers: the other tiles are asked.
  QTest::newRow("MissingTiles") << TileBehaviour::kMissing << 0 << failure(TileFailure::kMissing)
                                << 6;
}

void TileLoaderTest::misbehavingServer() {
  QFETCH(TileBehaviour, behaviour);
  QFETCH(int, side);
  QFETCH(int, failure);
  QFETCH(int, mostRequests);
  QTemporaryDir cache;
  server_.SetBehaviour(behaviour);
  {
    TileLoader loader(LocalServer(server_), cache.path());
    loader.SetRetryDelay(std::chrono::minutes(10));
    loader.SetBackOff(std::chrono::minutes(1), std::chrono::minutes(10));
    loader.Want(kSixTiles);
    // A loaded machine may take its time over a body stopped at its limit.
    QTRY_VERIFY_WITH_TIMEOUT(
        loader.RequestsInFlight() == 0 &&
            (failure < 0 ? Holds(loader, kSixTiles) : loader.FailureOf(kSixTiles[0]).has_value()),
        30000);
    for (const TileId& tile : kSixTiles) {
      const QImage* image = loader.Image(tile);
      QCOMPARE(image != nullptr ? image->width() : 0, side);
      QCOMPARE(image != nullptr ? image->height() : 0, side);
      // The first tile asked fails as the server misbehaves; on a loaded
      // machine the one asked beside it may end at the transfer's time limit.
      const std::optional<TileFailure> why = loader.FailureOf(tile);
      if (why && (tile == kSixTiles[0] || *why != TileFailure::kServerFault))
        QCOMPARE(static_cast<int>(*why), failure);
    }
    // A failing server is left alone: nothing more goes out for a while.
    QTest::qWait(200);
    QVERIFY2(static_cast<int>(server_.Requests().size()) <= mostRequests,
             qPrintable(QString::number(server_.Requests().size())));
  }
  // Nothing refused lies in the disk cache: once the server is mended, the
  // next opening asks for those tiles again; good tiles come from the disk.
  QVERIFY2(BytesUnder(cache.path()) < 2 * 1024 * 1024,
           qPrintable(QString::number(BytesUnder(cache.path()))));
  const std::size_t before = server_.Requests().size();
  server_.SetBehaviour(TileBehaviour::kTiles);
  TileLoader mended(LocalServer(server_), cache.path());
  mended.Want(kSixTiles);
  QTRY_VERIFY(Holds(mended, kSixTiles));
  QCOMPARE(server_.Requests().size() - before, side > 0 ? std::size_t{0} : kSixTiles.size());
}

}  // namespace velorin

QTEST_MAIN(velorin::TileLoaderTest)
#include "tile_loader_test.moc"
