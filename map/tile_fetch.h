#pragma once
// One tile fetched as the tile policy and the tile limits ask, without a
// toolkit: from the disk cache while it is fresh, else from the server (a
// stale one with its validators), with Velorin's User-Agent, the body read
// no further than any tile's size, at most kMostTileRedirects redirects and
// none to a less safe scheme, the picture refused before it is decoded
// when it is larger than any tile and decoded no larger than it is drawn.
// Only a body that decoded as a tile is stored; one that did not leaves the
// cache. The HTTP client and the picture decoder are the system's, handed
// in; one fetcher may serve several threads.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "map/tile_disk_cache.h"
#include "map/tile_limits.h"
#include "map/tile_queue.h"
#include "map/tile_server.h"
#include "platform/http_get.h"

namespace velorin {

/// A server that answers nothing is given up after this long.
inline constexpr std::chrono::milliseconds kTileTimeout{20000};

/// A decoded tile: rows top down, premultiplied blue, green, red, alpha.
struct TilePicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  bool opaque = true;
};

/// The system's picture decoder: the size a picture's header declares
/// (nothing: no picture), then its pixels at a size.
struct TileCodec {
  std::function<std::optional<TileSize>(std::string_view body)> sizeOf;
  std::function<std::optional<TilePicture>(std::string_view body, TileSize size)> decode;
};

/// The system's HTTP client: one GET, redirects handed back.
using HttpGetter = std::function<HttpReply(const HttpRequest& request, const HttpCancel& cancel)>;

/// What fetching a tile came to: its picture, or why there is none.
struct TileFetched {
  std::optional<TilePicture> picture;
  TileFailure why = TileFailure::kServerFault;
  bool cancelled = false;  ///< the loader let it go: nothing to say
};

/// Where a redirect from `base` to `location` leads: an absolute URL, one
/// without its scheme, a path from the host's root or from the base's
/// folder. Nothing when `base` is no http(s) URL.
std::optional<std::string> ResolveLocation(std::string_view base, std::string_view location);

class TileFetcher {
 public:
  /// Tiles of `server` through `get` (whose client names Velorin in its
  /// User-Agent); `cache` may be null (none); `now` gives seconds since 1970.
  TileFetcher(TileServer server, HttpGetter get, TileCodec codec, TileDiskCache* cache,
              std::function<std::int64_t()> now);

  /// Fetches `tile` for drawing `drawnSide` pixels square.
  TileFetched Fetch(const TileId& tile, int drawnSide, const HttpCancel& cancel) const;

 private:
  /// The body decoded, or why not.
  TileFetched Decode(std::string_view body, int drawnSide) const;
  /// Asks the server, following redirects; the reply, or a failure.
  std::optional<HttpReply> Ask(HttpRequest request, const HttpCancel& cancel,
                               TileFetched& failed) const;

  TileServer server_;
  HttpGetter get_;
  TileCodec codec_;
  TileDiskCache* cache_;
  std::function<std::int64_t()> now_;
};

}  // namespace velorin
