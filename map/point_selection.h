#pragma once
// The items chosen on the map or in the list: a bit an item, so that a
// million of them are chosen, looked up and counted at once.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace velorin {

class PointSelection {
 public:
  /// Room for `items` items; the chosen ones beyond are let go.
  void Resize(std::size_t items);
  std::size_t size() const { return items_; }
  std::size_t count() const { return count_; }
  bool Has(std::uint32_t item) const {
    return item < items_ && ((words_[item / 64] >> (item % 64)) & 1U) != 0;
  }
  void Set(std::uint32_t item, bool chosen);
  void Clear();
  /// The chosen items, in order.
  std::vector<std::uint32_t> Items() const;
  /// Calls `visit` with each chosen item, in order.
  template <typename Visit>
  void ForEach(Visit visit) const {
    for (std::size_t word = 0; word < words_.size(); ++word) {
      for (std::uint64_t bits = words_[word]; bits != 0; bits &= bits - 1) {
        visit(
            static_cast<std::uint32_t>(word * 64 + static_cast<unsigned>(std::countr_zero(bits))));
      }
    }
  }

 private:
  std::vector<std::uint64_t> words_;
  std::size_t items_ = 0;
  std::size_t count_ = 0;
};

}  // namespace velorin
