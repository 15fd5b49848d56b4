#include "gui/map/tile_loader.h"

#include <QBuffer>
#include <QDateTime>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkDiskCache>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>
#include <algorithm>

#include "startup/version.h"

namespace velorin {
namespace {

constexpr qint64 kTileCacheBytes = 200LL * 1024 * 1024;
// A server that answers nothing is given up after this long.
constexpr int kTransferTimeoutMs = 20000;

qint64 Now() { return QDateTime::currentMSecsSinceEpoch(); }

TileFailure FailureOfError(QNetworkReply::NetworkError error) {
  switch (error) {
    case QNetworkReply::ContentNotFoundError:
      return FailureOfStatus(404);
    case QNetworkReply::ContentGoneError:
      return FailureOfStatus(410);
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
      return TileFailure::kRedirectedAway;
    default:
      return TileFailure::kServerFault;
  }
}

// Drops a reply without reacting to the finished() that aborting emits.
void Drop(QNetworkReply* reply, QObject* receiver) {
  reply->disconnect(receiver);
  reply->abort();
  reply->deleteLater();
}

}  // namespace

TileLoader::TileLoader(TileServer server, const QString& cacheFolder, QObject* parent)
    : QObject(parent),
      server_(std::move(server)),
      network_(new QNetworkAccessManager(this)),
      images_(static_cast<qsizetype>(kMostTileMemory / 1024)) {
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
  const auto open = std::move(inFlight_);
  inFlight_.clear();
  for (const auto& [key, reply] : open) Drop(reply, this);
}

QByteArray TileLoader::UserAgent() const {
  return QByteArray::fromStdString(TileUserAgent(kVersionNumber, server_.contact));
}

void TileLoader::Want(const std::vector<TileId>& tiles) {
  if (!server_.Enabled()) return;
  std::vector<QNetworkReply*> stale;
  for (const TileId& tile : queue_.Want(tiles)) {
    const auto open = inFlight_.find(TileNumber(tile));
    if (open == inFlight_.end()) continue;
    stale.push_back(open->second);
    inFlight_.erase(open);
  }
  for (QNetworkReply* reply : stale) Drop(reply, this);
  StartRequests();
}

const QImage* TileLoader::Image(const TileId& tile) const {
  return images_.object(TileNumber(tile));
}

std::optional<TileFailure> TileLoader::FailureOf(const TileId& tile) const {
  return queue_.FailureOf(tile);
}

void TileLoader::StartRequests() {
  const qint64 now = Now();
  const TileStart next =
      queue_.Next(now, [this](const TileId& tile) { return images_.contains(TileNumber(tile)); });
  for (const TileId& tile : next.start) Start(tile);
  if (next.wakeAt != 0) retryTimer_.start(static_cast<int>(std::max<qint64>(1, next.wakeAt - now)));
}

void TileLoader::Start(const TileId& tile) {
  QNetworkRequest request(QUrl(QString::fromStdString(TileUrl(server_.urlTemplate, tile))));
  request.setHeader(QNetworkRequest::UserAgentHeader, UserAgent());
  // A tile still fresh on disk is not asked for; a stale one is revalidated.
  request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
  request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                       QNetworkRequest::NoLessSafeRedirectPolicy);
  request.setMaximumRedirectsAllowed(kMostTileRedirects);
  request.setTransferTimeout(kTransferTimeoutMs);
  QNetworkReply* reply = network_->get(request);
  inFlight_[TileNumber(tile)] = reply;
  connect(reply, &QNetworkReply::finished, this, [this, reply, tile] { Finished(reply, tile); });
  // A length past any tile's is refused at once; a body without one is
  // stopped as soon as it passes that size.
  connect(reply, &QNetworkReply::metaDataChanged, this, [this, reply, tile] {
    if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > kMostTileBytes)
      Refuse(reply, tile, TileFailure::kTooLarge);
  });
  connect(reply, &QNetworkReply::downloadProgress, this,
          [this, reply, tile](qint64 received, qint64 total) {
            if (received > kMostTileBytes || total > kMostTileBytes)
              Refuse(reply, tile, TileFailure::kTooLarge);
          });
}

void TileLoader::Refuse(QNetworkReply* reply, const TileId& tile, TileFailure why) {
  const auto open = inFlight_.find(TileNumber(tile));
  if (open == inFlight_.end() || open->second != reply) return;
  inFlight_.erase(open);
  Drop(reply, this);
  Failed(reply, tile, why);
}

void TileLoader::Finished(QNetworkReply* reply, const TileId& tile) {
  reply->deleteLater();
  const std::uint64_t key = TileNumber(tile);
  const auto open = inFlight_.find(key);
  if (open == inFlight_.end() || open->second != reply) return;
  inFlight_.erase(open);
  if (reply->error() != QNetworkReply::NoError)
    return Failed(reply, tile, FailureOfError(reply->error()));
  TileFailure why = TileFailure::kNotAnImage;
  std::optional<QImage> image = Decode(reply->readAll(), why);
  if (!image) return Failed(reply, tile, why);
  queue_.Arrived(tile);
  const qsizetype kib = std::max<qsizetype>(1, image->sizeInBytes() / 1024);
  images_.insert(key, new QImage(std::move(*image)), kib);
  emit TileArrived();
  StartRequests();
}

void TileLoader::Failed(QNetworkReply* reply, const TileId& tile, TileFailure why) {
  queue_.Failed(tile, why, Now());
  // A body that is no tile must not be served from the disk again.
  if (ForgetsCachedBody(why)) ForgetCached(reply);
  emit TileFailed();
  StartRequests();
}

std::optional<QImage> TileLoader::Decode(const QByteArray& body, TileFailure& why) const {
  QBuffer buffer;
  buffer.setData(body);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QSize declared = reader.size();
  if (!declared.isValid()) {
    why = TileFailure::kNotAnImage;
    return std::nullopt;
  }
  const std::optional<TileSize> decoded =
      TileDecodeSize({declared.width(), declared.height()}, drawnSide_);
  if (!decoded) {
    why = TileFailure::kTooManyPixels;
    return std::nullopt;
  }
  if (decoded->width != declared.width() || decoded->height != declared.height())
    reader.setScaledSize(QSize(decoded->width, decoded->height));
  const QImage image = reader.read();
  if (image.isNull()) {
    why = TileFailure::kNotAnImage;
    return std::nullopt;
  }
  // Palette PNGs drawn as they are would be converted on every frame.
  return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                       : QImage::Format_RGB32);
}

void TileLoader::ForgetCached(const QNetworkReply* reply) {
  QAbstractNetworkCache* cache = network_->cache();
  if (cache == nullptr) return;
  cache->remove(reply->request().url());
  cache->remove(reply->url());
}

}  // namespace velorin
