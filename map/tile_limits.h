#pragma once
// What a raster tile may be, so that no tile server can fill the memory or
// the disk of the map: a body no tile is larger than, pictures no tile is
// larger than, decoded no larger than they are drawn; a few redirects at
// most; and how long to leave a failing server alone.
#include <chrono>
#include <cstdint>
#include <optional>

namespace velorin {

/// A reply longer than this is no tile (most are under 100 KB).
inline constexpr std::int64_t kMostTileBytes = 512 * 1024;
/// A picture wider or taller than this is no tile (they are 256 or 512).
inline constexpr int kMostTileSide = 1024;
/// Redirects followed for one tile.
inline constexpr int kMostTileRedirects = 3;
/// Decoded tiles held in memory, in bytes.
inline constexpr std::int64_t kMostTileMemory = 64LL * 1024 * 1024;

struct TileSize {
  int width = 0;
  int height = 0;
  friend bool operator==(const TileSize&, const TileSize&) = default;
};

/// The size to decode a picture of `declared` size at, when drawn `drawn`
/// pixels square: its own, each side cut to `drawn` (the picture is
/// stretched over the square anyway); nothing when the declared size is
/// empty or larger than any tile.
std::optional<TileSize> TileDecodeSize(TileSize declared, int drawn);

/// How long to leave a tile server alone after it failed: not at all after
/// an answer; after the n-th failure in a row `first` times 2^(n - 1), at
/// most `longest`. Times in milliseconds of any one clock.
class TileBackOff {
 public:
  TileBackOff(std::chrono::milliseconds first, std::chrono::milliseconds longest);

  void Failed(std::int64_t now);
  void Answered();
  /// Whether requests may go out at `now`.
  bool MayAsk(std::int64_t now) const { return now >= askAt_; }
  /// When requests may go out again (0 after an answer).
  std::int64_t AskAt() const { return askAt_; }
  int FailuresInARow() const { return failures_; }

 private:
  std::int64_t first_;
  std::int64_t longest_;
  int failures_ = 0;
  std::int64_t askAt_ = 0;
};

}  // namespace velorin
