#include "map/tile_limits.h"

#include <algorithm>

namespace velorin {

std::optional<TileSize> TileDecodeSize(TileSize declared, int drawn) {
  if (declared.width <= 0 || declared.height <= 0) return std::nullopt;
  if (declared.width > kMostTileSide || declared.height > kMostTileSide) return std::nullopt;
  if (declared.width <= drawn && declared.height <= drawn) return declared;
  return TileSize{std::min(declared.width, drawn), std::min(declared.height, drawn)};
}

TileBackOff::TileBackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest)
    : first_(first.count()), longest_(std::max(first, longest).count()) {}

void TileBackOff::Failed(std::int64_t now) {
  ++failures_;
  // Doubled per failure in a row, no further once at the longest.
  std::int64_t wait = first_;
  for (int i = 1; i < failures_ && wait < longest_; ++i) wait *= 2;
  askAt_ = now + std::min(wait, longest_);
}

void TileBackOff::Answered() {
  failures_ = 0;
  askAt_ = 0;
}

}  // namespace velorin
