#include "map/tile_fetch.h"

namespace velorin {
namespace {

bool IsRedirect(int status) {
  return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

// From https to anything else: the user's view of where tiles come from
// would be less safe than the server's own.
bool LessSafe(std::string_view from, std::string_view to) {
  return StartsWith(from, "https://") && !StartsWith(to, "https://");
}

}  // namespace

std::optional<std::string> ResolveLocation(std::string_view base, std::string_view location) {
  const std::size_t schemeEnd = base.find("://");
  if (location.empty() || schemeEnd == std::string_view::npos ||
      !(StartsWith(base, "http://") || StartsWith(base, "https://")))
    return std::nullopt;
  if (location.find("://") != std::string_view::npos &&
      location.find("://") < location.find_first_of("/?#"))
    return std::string(location);
  const std::string_view scheme = base.substr(0, schemeEnd);
  if (StartsWith(location, "//")) return std::string(scheme) + ":" + std::string(location);
  const std::size_t pathStart = base.find('/', schemeEnd + 3);
  const std::string_view root = base.substr(0, pathStart);
  if (location.front() == '/') return std::string(root) + std::string(location);
  // A path from the base's folder: up to its last "/" before any query.
  if (pathStart == std::string_view::npos) return std::string(root) + "/" + std::string(location);
  const std::string_view path = base.substr(0, base.find_first_of("?#", pathStart));
  return std::string(path.substr(0, path.rfind('/') + 1)) + std::string(location);
}

TileFetcher::TileFetcher(TileServer server, HttpGetter get, TileCodec codec, TileDiskCache* cache,
                         std::function<std::int64_t()> now)
    : server_(std::move(server)),
      get_(std::move(get)),
      codec_(std::move(codec)),
      cache_(cache),
      now_(std::move(now)) {}

TileFetched TileFetcher::Decode(std::string_view body, int drawnSide) const {
  TileFetched fetched;
  const std::optional<TileSize> declared = codec_.sizeOf(body);
  if (!declared) {
    fetched.why = TileFailure::kNotAnImage;
    return fetched;
  }
  // A picture larger than any tile is refused before a pixel is decoded.
  const std::optional<TileSize> size = TileDecodeSize(*declared, drawnSide);
  if (!size) {
    fetched.why = TileFailure::kTooManyPixels;
    return fetched;
  }
  fetched.picture = codec_.decode(body, *size);
  if (!fetched.picture) fetched.why = TileFailure::kNotAnImage;
  return fetched;
}

std::optional<HttpReply> TileFetcher::Ask(HttpRequest request, const HttpCancel& cancel,
                                          TileFetched& failed) const {
  for (int redirects = 0;; ++redirects) {
    HttpReply reply = get_(request, cancel);
    switch (reply.outcome) {
      case HttpOutcome::kCancelled:
        failed.cancelled = true;
        return std::nullopt;
      case HttpOutcome::kTooLarge:
        failed.why = TileFailure::kTooLarge;
        return std::nullopt;
      case HttpOutcome::kFailed:
        failed.why = TileFailure::kServerFault;
        return std::nullopt;
      case HttpOutcome::kAnswered:
        break;
    }
    if (!IsRedirect(reply.status)) return reply;
    const std::optional<std::string> location = HeaderValue(reply.headers, "Location");
    const std::optional<std::string> next =
        location ? ResolveLocation(request.url, *location) : std::nullopt;
    if (!next || redirects >= kMostTileRedirects || LessSafe(request.url, *next)) {
      failed.why = TileFailure::kRedirectedAway;
      return std::nullopt;
    }
    request.url = *next;
    request.headers.clear();  // the validators are those of the first address
  }
}

TileFetched TileFetcher::Fetch(const TileId& tile, int drawnSide, const HttpCancel& cancel) const {
  const std::string url = TileUrl(server_.urlTemplate, tile);
  const std::int64_t now = now_();
  std::optional<TileCacheEntry> cached = cache_ != nullptr ? cache_->Find(url) : std::nullopt;
  if (cached && cached->freshUntil > now) {
    TileFetched fetched = Decode(cached->body, drawnSide);
    if (fetched.picture) return fetched;
    cache_->Forget(url);
    cached.reset();
  }
  HttpRequest request{url, {}, kMostTileBytes, kTileTimeout};
  if (cached && !cached->eTag.empty()) request.headers.emplace_back("If-None-Match", cached->eTag);
  if (cached && !cached->lastModified.empty())
    request.headers.emplace_back("If-Modified-Since", cached->lastModified);
  TileFetched failed;
  const std::optional<HttpReply> reply = Ask(request, cancel, failed);
  if (!reply) {
    if (cache_ != nullptr && !failed.cancelled && ForgetsCachedBody(failed.why))
      cache_->Forget(url);
    return failed;
  }
  const bool notModified = reply->status == 304 && cached;
  if (!notModified && (reply->status < 200 || reply->status > 299)) {
    failed.why = FailureOfStatus(reply->status);
    return failed;
  }
  TileCacheEntry entry;
  if (notModified) {
    entry = std::move(*cached);
  } else {
    entry.url = url;
    entry.body = reply->body;
    entry.eTag = HeaderValue(reply->headers, "ETag").value_or(std::string());
    entry.lastModified = HeaderValue(reply->headers, "Last-Modified").value_or(std::string());
  }
  TileFetched fetched = Decode(entry.body, drawnSide);
  if (cache_ == nullptr) return fetched;
  const std::optional<std::int64_t> fresh = FreshUntil(reply->headers, now);
  const bool worthKeeping =
      fresh && (*fresh > now || !entry.eTag.empty() || !entry.lastModified.empty());
  if (fetched.picture && worthKeeping) {
    entry.freshUntil = *fresh;
    cache_->Store(entry);
  } else {
    cache_->Forget(url);
  }
  return fetched;
}

}  // namespace velorin
