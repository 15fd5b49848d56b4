#pragma once
// Decoded tiles held in memory within a bound (kMostTileMemory): each tile
// costs its bytes, and past the bound the tile used longest ago goes first.
// A tile costlier than the whole bound is not held at all.
#include <cstddef>
#include <cstdint>
#include <list>
#include <unordered_map>
#include <utility>

namespace velorin {

template <typename Picture>
class TileMemory {
 public:
  explicit TileMemory(std::size_t mostBytes) : most_(mostBytes) {}

  /// The picture of a tile (by TileNumber), now the one used last; null
  /// when it is not held.
  const Picture* Find(std::uint64_t key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return nullptr;
    held_.splice(held_.begin(), held_, found->second);
    return &found->second->picture;
  }
  bool Holds(std::uint64_t key) const { return index_.count(key) != 0; }

  /// Holds `picture` for `key` at the cost of `bytes`; false when it is too
  /// costly to hold.
  bool Insert(std::uint64_t key, Picture picture, std::size_t bytes) {
    Erase(key);
    if (bytes > most_) return false;
    held_.push_front(Held{key, std::move(picture), bytes});
    index_[key] = held_.begin();
    bytes_ += bytes;
    while (bytes_ > most_) Erase(held_.back().key);
    return true;
  }
  void Erase(std::uint64_t key) {
    const auto found = index_.find(key);
    if (found == index_.end()) return;
    bytes_ -= found->second->bytes;
    held_.erase(found->second);
    index_.erase(found);
  }
  std::size_t Bytes() const { return bytes_; }
  std::size_t size() const { return index_.size(); }

 private:
  struct Held {
    std::uint64_t key;
    Picture picture;
    std::size_t bytes;
  };
  std::size_t most_;
  std::size_t bytes_ = 0;
  std::list<Held> held_;  ///< the one used last first
  std::unordered_map<std::uint64_t, typename std::list<Held>::iterator> index_;
};

}  // namespace velorin
