#include "gui/map/tile_loader.h"

#include <QDateTime>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>
#include <set>

#include "startup/version.h"

namespace velorin {
namespace {

// About 64 MB of decoded tiles: a few screens' worth at every zoom.
constexpr int kTilesInMemory = 256;
constexpr qint64 kTileCacheBytes = 200LL * 1024 * 1024;
// A server that answers nothing is given up after this long.
constexpr int kTransferTimeoutMs = 20000;

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

}  // namespace

QByteArray TileUserAgent() {
  return QByteArrayLiteral("Velorin/") + QByteArray(kVersionNumber) + QByteArrayLiteral(" (+") +
         QByteArray(kProjectUrl) + QByteArrayLiteral(")");
}

TileLoader::TileLoader(TileServer server, const QString& cacheFolder, QObject* parent)
    : QObject(parent),
      server_(std::move(server)),
      network_(new QNetworkAccessManager(this)),
      images_(kTilesInMemory) {
  if (!cacheFolder.isEmpty()) {
    auto* cache = new QNetworkDiskCache(network_);
    cache->setCacheDirectory(cacheFolder);
    cache->setMaximumCacheSize(kTileCacheBytes);
    network_->setCache(cache);
  }
  retryTimer_.setSingleShot(true);
  connect(&retryTimer_, &QTimer::timeout, this, &TileLoader::StartRequests);
}

TileLoader::~TileLoader() {
  // Aborting emits finished(); nothing may react to it any more.
  const auto open = std::move(inFlight_);
  inFlight_.clear();
  for (const auto& [key, reply] : open) {
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
}

void TileLoader::Want(const std::vector<TileId>& tiles) {
  if (!server_.Enabled()) return;
  wanted_ = tiles;
  std::set<std::uint64_t> wanted;
  for (const TileId& tile : tiles) wanted.insert(TileNumber(tile));
  std::vector<QNetworkReply*> stale;
  for (auto it = inFlight_.begin(); it != inFlight_.end();) {
    if (wanted.count(it->first) == 0) {
      stale.push_back(it->second);
      it = inFlight_.erase(it);
    } else {
      ++it;
    }
  }
  for (QNetworkReply* reply : stale) {
    reply->disconnect(this);
    reply->abort();
    reply->deleteLater();
  }
  StartRequests();
}

const QImage* TileLoader::Image(const TileId& tile) const {
  return images_.object(TileNumber(tile));
}

bool TileLoader::Startable(const TileId& tile, qint64 now) const {
  const std::uint64_t key = TileNumber(tile);
  if (images_.contains(key) || inFlight_.count(key) != 0) return false;
  const auto failed = retryAt_.find(key);
  return failed == retryAt_.end() || failed->second <= now;
}

void TileLoader::StartRequests() {
  const qint64 now = Now();
  qint64 nextRetry = 0;
  for (const TileId& tile : wanted_) {
    if (RequestsInFlight() < kMaxTileRequests && Startable(tile, now)) Start(tile);
    const std::uint64_t key = TileNumber(tile);
    const auto failed = retryAt_.find(key);
    if (failed != retryAt_.end() && failed->second > now && inFlight_.count(key) == 0)
      nextRetry = nextRetry == 0 ? failed->second : std::min(nextRetry, failed->second);
  }
  // Tiles of the view that failed are asked again when their time comes,
  // even if the view does not move.
  if (nextRetry != 0) retryTimer_.start(static_cast<int>(std::max<qint64>(1, nextRetry - now)));
}

void TileLoader::Start(const TileId& tile) {
  QNetworkRequest request(QUrl(QString::fromStdString(TileUrl(server_.urlTemplate, tile))));
  request.setHeader(QNetworkRequest::UserAgentHeader, TileUserAgent());
  // A tile still fresh on disk is not asked for; a stale one is revalidated.
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
  request.setTransferTimeout(kTransferTimeoutMs);
  QNetworkReply* reply = network_->get(request);
  inFlight_[TileNumber(tile)] = reply;
  connect(reply, &QNetworkReply::finished, this, [this, reply, tile] { Finished(reply, tile); });
}

void TileLoader::Finished(QNetworkReply* reply, const TileId& tile) {
  reply->deleteLater();
  const std::uint64_t key = TileNumber(tile);
  const auto open = inFlight_.find(key);
  if (open == inFlight_.end() || open->second != reply) return;
  inFlight_.erase(open);
  QImage image;
  if (reply->error() == QNetworkReply::NoError) image.loadFromData(reply->readAll());
  if (image.isNull()) {
    retryAt_[key] = Now() + retryDelay_.count();
  } else {
    retryAt_.erase(key);
    // Palette PNGs drawn as they are would be converted on every frame.
    images_.insert(key, new QImage(image.convertToFormat(image.hasAlphaChannel()
                                                             ? QImage::Format_ARGB32_Premultiplied
                                                             : QImage::Format_RGB32)));
    emit TileArrived();
  }
  StartRequests();
}

}  // namespace velorin
