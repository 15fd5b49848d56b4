#pragma once
// Raster tiles from a z/x/y server, fetched as tile usage policies ask: a
// User-Agent naming Velorin and its version, HTTP caching on disk, at most
// two requests at a time, only the tiles of the view (a request the view no
// longer needs is cancelled). A tile that fails is asked again later; the map
// shows its offline land meanwhile, and nobody is bothered with a box.
#include <QCache>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <map>
#include <vector>

#include "map/tile_grid.h"
#include "map/tile_server.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace velorin {

/// At most this many tile requests are open at once.
inline constexpr int kMaxTileRequests = 2;

/// "Velorin/0.2.0 (+https://...)": who asks, for the server's operators.
QByteArray TileUserAgent();

class TileLoader : public QObject {
  Q_OBJECT

 public:
  /// Tiles of `server`, kept between runs in `cacheFolder` (none: in memory
  /// only).
  TileLoader(TileServer server, const QString& cacheFolder, QObject* parent = nullptr);
  ~TileLoader() override;

  const TileServer& Server() const { return server_; }
  /// The tiles the view shows now, most wanted first; any other request
  /// still open is cancelled.
  void Want(const std::vector<TileId>& tiles);
  /// A tile that has arrived and is still held in memory, or null.
  const QImage* Image(const TileId& tile) const;
  /// How long a tile that failed waits before it is asked again.
  void SetRetryDelay(std::chrono::milliseconds delay) { retryDelay_ = delay; }
  int RequestsInFlight() const { return static_cast<int>(inFlight_.size()); }

 signals:
  /// A tile arrived: the view draws again.
  void TileArrived();

 private:
  void StartRequests();
  bool Startable(const TileId& tile, qint64 now) const;
  void Start(const TileId& tile);
  void Finished(QNetworkReply* reply, const TileId& tile);

  TileServer server_;
  QNetworkAccessManager* network_;
  std::vector<TileId> wanted_;
  /// Keyed by TileNumber.
  std::map<std::uint64_t, QNetworkReply*> inFlight_;
  /// Tiles that failed, and when they may be asked again (ms since epoch).
  /// Kept while the view moves on, so that panning back waits as well.
  std::map<std::uint64_t, qint64> retryAt_;
  QCache<std::uint64_t, QImage> images_;
  std::chrono::milliseconds retryDelay_{std::chrono::seconds(30)};
  QTimer retryTimer_;
};

}  // namespace velorin
