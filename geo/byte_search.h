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

/// Offers `accept` the offsets of the bytes equal to `byte` at or after
/// `from`, in increasing order, and returns the first offset that it
/// accepts, or std::string_view::npos when it accepts none.
template <typename Accept>
std::size_t FindByteWhere(std::string_view text, std::size_t from, char byte, Accept&& accept) {
  const std::size_t size = text.size();
  const char* data = text.data();
  std::size_t at = from;
  if constexpr (std::endian::native == std::endian::little) {
    // The first byte in memory is the lowest byte of a little-endian word.
    const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(byte);
    const auto acceptAny = [&](std::size_t wordAt, std::uint64_t hits) {
      for (; hits != 0; hits &= hits - 1) {
        const std::size_t hit = wordAt + static_cast<std::size_t>(std::countr_zero(hits)) / 8;
        if (accept(hit)) return hit;
      }
      return std::string_view::npos;
    };
    for (; at + 8 <= size; at += 8) {
      std::uint64_t word;
      std::memcpy(&word, data + at, 8);
      const std::size_t found = acceptAny(at, MatchingBytes(word, pattern));
      if (found != std::string_view::npos) return found;
    }
    if (at < size && size >= 8) {
      // The last eight bytes of the text, without the ones already seen.
      std::uint64_t word;
      std::memcpy(&word, data + size - 8, 8);
      const unsigned seen = static_cast<unsigned>(8 - (size - at));
      return acceptAny(size - 8, MatchingBytes(word, pattern) & (~0ull << (8 * seen)));
    }
  }
  for (; at < size; ++at) {
    if (data[at] == byte && accept(at)) return at;
  }
  return std::string_view::npos;
}

}  // namespace velorin
