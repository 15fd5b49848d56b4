#pragma once
// Which tiles a map asks its tile server for, and when, as tile usage
// policies ask: only the tiles the view shows, most wanted first; at most
// kMaxTileRequests at a time; a tile that failed is asked again only after
// a delay; a server that failed is left alone for longer each time
// (TileBackOff). Without a toolkit: the window's loader makes the requests,
// cancels those the queue lets go and tells it what came of each.
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "map/tile_grid.h"
#include "map/tile_limits.h"
#include "map/web_mercator.h"

namespace velorin {

/// At most this many tile requests are open at once.
inline constexpr int kMaxTileRequests = 2;

/// Why a tile is not there.
enum class TileFailure {
  kMissing,         ///< the server has no such tile (404, 410)
  kServerFault,     ///< no answer, an error, or a status other than success
  kTooLarge,        ///< the reply passed the size of any tile
  kNotAnImage,      ///< the body does not decode as a picture
  kTooManyPixels,   ///< a picture larger than any tile
  kRedirectedAway,  ///< more redirects than a tile is worth, or to a less safe scheme
};

/// The failure an HTTP status other than success means.
TileFailure FailureOfStatus(int status);

/// Whether what a server sent for a failure must leave the disk cache: a
/// body that is no tile. (A missing tile or a server fault left nothing
/// new there.)
bool ForgetsCachedBody(TileFailure why);

/// What the queue asks of the loader now.
struct TileStart {
  std::vector<TileId> start;  ///< request these, in this order
  /// When to ask the queue again though nothing arrives (a failed tile's
  /// or the server's rest over), in the clock's milliseconds; 0: no need.
  std::int64_t wakeAt = 0;
};

class TileQueue {
 public:
  /// How long a tile that failed waits before it is asked again.
  void SetRetryDelay(std::chrono::milliseconds delay) { retryDelay_ = delay.count(); }
  /// How long a failing server is first left alone, and at most.
  void SetBackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest) {
    backOff_ = TileBackOff(first, longest);
  }

  /// The tiles the view shows now, most wanted first. Gives the requests
  /// still open that the view no longer needs: the loader cancels them, and
  /// they no longer count as open.
  std::vector<TileId> Want(const std::vector<TileId>& tiles);
  /// The tiles to request at `now` (counted open from here on), at most
  /// `slots` of them: neither held (`held`), nor open, nor resting after a
  /// failure; none while the server rests.
  TileStart Next(std::int64_t now, const std::function<bool(const TileId&)>& held,
                 int slots = kMaxTileRequests);
  /// A request came back with a tile.
  void Arrived(const TileId& tile);
  /// A request failed at `now`: the tile rests, and unless the server only
  /// lacks it, the server rests too.
  void Failed(const TileId& tile, TileFailure why, std::int64_t now);
  /// A request was dropped without an answer (the loader went away).
  void Dropped(const TileId& tile) { open_.erase(TileNumber(tile)); }

  bool Open(const TileId& tile) const { return open_.count(TileNumber(tile)) != 0; }
  int RequestsOpen() const { return static_cast<int>(open_.size()); }
  /// Why the tile's last request failed, until it is asked again.
  std::optional<TileFailure> FailureOf(const TileId& tile) const;
  const TileBackOff& BackOff() const { return backOff_; }

 private:
  struct Failure {
    std::int64_t retryAt = 0;
    TileFailure why = TileFailure::kServerFault;
  };

  std::vector<TileId> wanted_;
  std::map<std::uint64_t, TileId> open_;  ///< by TileNumber
  /// Kept while the view moves on, so that panning back waits too.
  std::map<std::uint64_t, Failure> failed_;
  std::int64_t retryDelay_ = 30000;
  TileBackOff backOff_{std::chrono::seconds(2), std::chrono::minutes(5)};
};

}  // namespace velorin
