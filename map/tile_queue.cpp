#include "map/tile_queue.h"

#include <algorithm>
#include <set>

namespace velorin {

TileFailure FailureOfStatus(int status) {
  return status == 404 || status == 410 ? TileFailure::kMissing : TileFailure::kServerFault;
}

bool ForgetsCachedBody(TileFailure why) {
  return why != TileFailure::kMissing && why != TileFailure::kServerFault;
}

std::vector<TileId> TileQueue::Want(const std::vector<TileId>& tiles) {
  wanted_ = tiles;
  std::set<std::uint64_t> wanted;
  for (const TileId& tile : tiles) wanted.insert(TileNumber(tile));
  std::vector<TileId> stale;
  for (auto it = open_.begin(); it != open_.end();) {
    if (wanted.count(it->first) != 0) {
      ++it;
      continue;
    }
    stale.push_back(it->second);
    it = open_.erase(it);
  }
  return stale;
}

TileStart TileQueue::Next(std::int64_t now, const std::function<bool(const TileId&)>& held,
                          int slots) {
  TileStart next;
  if (!backOff_.MayAsk(now)) {
    // The server failed: nothing is asked until its rest is over.
    next.wakeAt = std::max<std::int64_t>(now + 1, backOff_.AskAt());
    return next;
  }
  const int most = std::min(kMaxTileRequests, RequestsOpen() + std::max(0, slots));
  for (const TileId& tile : wanted_) {
    const std::uint64_t key = TileNumber(tile);
    const auto failed = failed_.find(key);
    const bool resting = failed != failed_.end() && failed->second.retryAt > now;
    if (RequestsOpen() < most && !resting && open_.count(key) == 0 && !held(tile)) {
      open_.emplace(key, tile);
      next.start.push_back(tile);
    }
    // Tiles of the view that failed are asked again when their time comes,
    // even if the view does not move.
    if (resting && open_.count(key) == 0)
      next.wakeAt =
          next.wakeAt == 0 ? failed->second.retryAt : std::min(next.wakeAt, failed->second.retryAt);
  }
  return next;
}

void TileQueue::Arrived(const TileId& tile) {
  open_.erase(TileNumber(tile));
  failed_.erase(TileNumber(tile));
  backOff_.Answered();
}

void TileQueue::Failed(const TileId& tile, TileFailure why, std::int64_t now) {
  open_.erase(TileNumber(tile));
  failed_[TileNumber(tile)] = {now + retryDelay_, why};
  // A tile the server does not have is an answer; anything else is the
  // server failing, which leaves it alone for a while.
  if (why == TileFailure::kMissing) {
    backOff_.Answered();
  } else {
    backOff_.Failed(now);
  }
}

std::optional<TileFailure> TileQueue::FailureOf(const TileId& tile) const {
  const auto found = failed_.find(TileNumber(tile));
  if (found == failed_.end()) return std::nullopt;
  return found->second.why;
}

}  // namespace velorin
