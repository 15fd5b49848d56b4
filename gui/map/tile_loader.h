#pragma once
// Raster tiles from a z/x/y server, fetched as tile usage policies ask: a
// User-Agent naming Velorin and its version (and the user's contact when
// the settings give one), HTTP caching on disk, at most two requests at a
// time, only the tiles of the view (a request the view no longer needs is
// cancelled). A tile that fails is asked again later; a server that fails
// is left alone for longer each time. Nothing a server sends can fill the
// memory or the disk (map/tile_limits.h): a reply past the size of any tile
// is stopped, a picture larger than any tile refused before it is decoded,
// tiles decoded no larger than they are drawn and held within a bound, and
// what is refused never stays in the disk cache. The map shows its offline
// land meanwhile, and nobody is bothered with a box.
#include <QCache>
#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <vector>

#include "map/tile_grid.h"
#include "map/tile_limits.h"
#include "map/tile_queue.h"
#include "map/tile_server.h"

class QNetworkAccessManager;
class QNetworkReply;

namespace velorin {

class TileLoader : public QObject {
  Q_OBJECT

 public:
  /// Tiles of `server`, kept between runs in `cacheFolder` (none: in memory
  /// only).
  TileLoader(TileServer server, const QString& cacheFolder, QObject* parent = nullptr);
  ~TileLoader() override;

  const TileServer& Server() const { return server_; }
  /// The User-Agent of the requests.
  QByteArray UserAgent() const;
  /// The tiles the view shows now, most wanted first; any other request
  /// still open is cancelled.
  void Want(const std::vector<TileId>& tiles);
  /// A tile that has arrived and is still held in memory, or null.
  const QImage* Image(const TileId& tile) const;
  /// Why the tile's last request failed, until it is asked again.
  std::optional<TileFailure> FailureOf(const TileId& tile) const;
  /// How long a tile that failed waits before it is asked again.
  void SetRetryDelay(std::chrono::milliseconds delay) { queue_.SetRetryDelay(delay); }
  /// How long a failing server is first left alone, and at most.
  void SetBackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest) {
    queue_.SetBackOff(first, longest);
  }
  /// The side in device pixels a tile is drawn at (256 times the screen's
  /// pixel ratio): tiles are decoded no larger.
  void SetDrawnSide(int side) { drawnSide_ = side; }
  int RequestsInFlight() const { return queue_.RequestsOpen(); }

 signals:
  /// A tile arrived: the view draws again.
  void TileArrived();
  /// A tile failed: the view may say that tiles are missing.
  void TileFailed();

 private:
  void StartRequests();
  void Start(const TileId& tile);
  void Finished(QNetworkReply* reply, const TileId& tile);
  /// Stops a reply that has shown it is no tile.
  void Refuse(QNetworkReply* reply, const TileId& tile, TileFailure why);
  void Failed(QNetworkReply* reply, const TileId& tile, TileFailure why);
  std::optional<QImage> Decode(const QByteArray& body, TileFailure& why) const;
  void ForgetCached(const QNetworkReply* reply);

  TileServer server_;
  QNetworkAccessManager* network_;
  /// Which tiles are asked for and when (ms since epoch).
  TileQueue queue_;
  /// The open requests, keyed by TileNumber.
  std::map<std::uint64_t, QNetworkReply*> inFlight_;
  /// Decoded tiles; the cost of each is its size in KiB.
  QCache<std::uint64_t, QImage> images_;
  int drawnSide_ = static_cast<int>(kTileSize);
  QTimer retryTimer_;
};

}  // namespace velorin
