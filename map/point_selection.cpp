#include "map/point_selection.h"

#include <algorithm>

namespace velorin {

void PointSelection::Resize(std::size_t items) {
  if (items < items_) {
    for (std::size_t item = items; item < items_; ++item)
      Set(static_cast<std::uint32_t>(item), false);
  }
  items_ = items;
  words_.resize((items + 63) / 64, 0);
}

void PointSelection::Set(std::uint32_t item, bool chosen) {
  if (item >= items_ || Has(item) == chosen) return;
  words_[item / 64] ^= std::uint64_t{1} << (item % 64);
  count_ = chosen ? count_ + 1 : count_ - 1;
}

void PointSelection::Clear() {
  std::fill(words_.begin(), words_.end(), 0);
  count_ = 0;
}

std::vector<std::uint32_t> PointSelection::Items() const {
  std::vector<std::uint32_t> items;
  items.reserve(count_);
  ForEach([&](std::uint32_t item) { items.push_back(item); });
  return items;
}

}  // namespace velorin
