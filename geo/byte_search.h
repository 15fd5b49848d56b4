#pragma once
// Finding the bytes of one value in a short text without a library call.
//
// The keyed extraction looks for a byte several times per line, each time
// over a few dozen bytes, and often has to look at several hits before one
// fits. A call of memchr for every hit costs more than the search itself;
// this search is inline, tests eight bytes at a time and hands out every hit
// of an eight-byte word without looking at the word again.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace velorin {

/// The high bit of every byte of `word` that equals the byte repeated in
/// `pattern`, and no other bit (exact: no false hits next to a true one).
constexpr std::uint64_t MatchingBytes(std::uint64_t word, std::uint64_t pattern) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  const std::uint64_t diff = word ^ pattern;  // zero bytes where they match
  return ~(((diff & kLow7) + kLow7) | diff | kLow7);
}

/// The offsets of the bytes equal to one value, from a given offset on, in
/// increasing order.
class ByteHits {
 public:
  static constexpr std::size_t kNone = std::string_view::npos;

  ByteHits(std::string_view text, std::size_t from, char byte)
      : data_(text.data()),
        size_(text.size()),
        next_(from),
        byte_(byte),
        pattern_(0x0101010101010101ull * static_cast<unsigned char>(byte)) {}

  /// The next offset, or kNone when there is none.
  std::size_t Next() {
    while (hits_ == 0) {
      if (next_ >= size_) return kNone;
      LoadWord();
    }
    const std::size_t hit = wordAt_ + static_cast<std::size_t>(std::countr_zero(hits_)) / 8;
    hits_ &= hits_ - 1;
    return hit;
  }

 private:
  // Marks the hits among the next eight bytes (or fewer, at the end of the
  // text) in hits_, byte i of the word standing for offset wordAt_ + i.
  void LoadWord() {
    if constexpr (std::endian::native == std::endian::little) {
      // The first byte in memory is the lowest byte of a little-endian word.
      if (size_ >= 8) {
        // At the end, the last eight bytes of the text without those seen.
        wordAt_ = next_ + 8 <= size_ ? next_ : size_ - 8;
        std::uint64_t word;
        std::memcpy(&word, data_ + wordAt_, 8);
        hits_ = MatchingBytes(word, pattern_) & (~0ull << (8 * (next_ - wordAt_)));
        next_ = wordAt_ + 8;
        return;
      }
    }
    wordAt_ = next_;
    const std::size_t end = next_ + 8 <= size_ ? next_ + 8 : size_;
    for (; next_ < end; ++next_) {
      if (data_[next_] == byte_) hits_ |= 0x80ull << (8 * (next_ - wordAt_));
    }
  }

  const char* data_;
  std::size_t size_;
  std::size_t next_;  // the first offset not yet loaded
  char byte_;
  std::uint64_t pattern_;
  std::size_t wordAt_ = 0;
  std::uint64_t hits_ = 0;
};

}  // namespace velorin
