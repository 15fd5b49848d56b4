#pragma once
// Finding the bytes of one value in a short text without a library call.
//
// The keyed extraction looks for a byte several times per line, each time
// over a few dozen bytes, and often has to look at several hits before one
// fits. A call of memchr for every hit costs more than the search itself;
// this search is inline, tests sixteen bytes at a time where the processor
// offers SSE2 (every x86-64 one does) and eight at a time in plain C++
// elsewhere, and hands out every hit of such a block without looking at the
// block again.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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
      : data_(text.data()), size_(text.size()), next_(from), byte_(byte) {
#if defined(__SSE2__)
    // Sixteen-byte blocks; at the end, the last sixteen bytes of the text.
    if (size_ >= 16) {
      bitsPerByteLog2_ = 0;
      return;
    }
#endif
    bitsPerByteLog2_ = 3;
  }

  /// The next offset, or kNone when there is none.
  std::size_t Next() {
    while (hits_ == 0) {
      if (next_ >= size_) return kNone;
      LoadBlock();
    }
    const auto bit = static_cast<std::size_t>(std::countr_zero(hits_));
    hits_ &= hits_ - 1;
    return blockAt_ + (bit >> bitsPerByteLog2_);
  }

 private:
  // Marks the hits among the next block of bytes in hits_: byte i of the
  // block, offset blockAt_ + i, is bit i (SSE2) or bit 8i + 7 (eight-byte
  // words). At the end of the text the block is the text's last bytes,
  // without those already seen.
  void LoadBlock() {
#if defined(__SSE2__)
    if (bitsPerByteLog2_ == 0) {
      blockAt_ = next_ + 16 <= size_ ? next_ : size_ - 16;
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data_ + blockAt_));
      const auto equal =
          static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, _mm_set1_epi8(byte_))));
      hits_ = equal & (~0u << (next_ - blockAt_));
      next_ = blockAt_ + 16;
      return;
    }
#endif
    if constexpr (std::endian::native == std::endian::little) {
      // The first byte in memory is the lowest byte of a little-endian word.
      if (size_ >= 8) {
        blockAt_ = next_ + 8 <= size_ ? next_ : size_ - 8;
        std::uint64_t word;
        std::memcpy(&word, data_ + blockAt_, 8);
        const std::uint64_t pattern = 0x0101010101010101ull * static_cast<unsigned char>(byte_);
        hits_ = MatchingBytes(word, pattern) & (~0ull << (8 * (next_ - blockAt_)));
        next_ = blockAt_ + 8;
        return;
      }
    }
    blockAt_ = next_;
    const std::size_t end = next_ + 8 <= size_ ? next_ + 8 : size_;
    for (; next_ < end; ++next_) {
      if (data_[next_] == byte_) hits_ |= 0x80ull << (8 * (next_ - blockAt_));
    }
  }

  const char* data_;
  std::size_t size_;
  std::size_t next_;  // the first offset not yet loaded
  char byte_;
  int bitsPerByteLog2_;  // how hits_ counts bytes: 1 bit (0) or 8 bits (3) each
  std::size_t blockAt_ = 0;
  std::uint64_t hits_ = 0;
};

/// Where two byte values stand among 64 bytes of a text: bit i of each mask
/// stands for the byte at the first offset + i; bits for bytes past the
/// text's end are clear.
struct ByteMasks {
  std::uint64_t first = 0;
  std::uint64_t second = 0;
};

/// The masks of the 64 bytes from `from` (below text.size()) on.
inline ByteMasks MaskTwoBytes(std::string_view text, std::size_t from, char first, char second) {
  ByteMasks masks;
  const std::size_t size = text.size();
#if defined(__SSE2__)
  if (size >= 16) {
    // Sixteen bytes at a time; a block that would run past the end is the
    // last sixteen bytes, their bits moved down past those already seen.
    const __m128i firsts = _mm_set1_epi8(first);
    const __m128i seconds = _mm_set1_epi8(second);
    for (std::size_t block = 0; block < 64 && from + block < size; block += 16) {
      const std::size_t wanted = from + block;
      const std::size_t at = wanted + 16 <= size ? wanted : size - 16;
      const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + at));
      const auto shift = static_cast<int>(wanted - at);
      const auto a = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, firsts)));
      const auto b = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, seconds)));
      masks.first |= std::uint64_t{a >> shift} << block;
      masks.second |= std::uint64_t{b >> shift} << block;
    }
    return masks;
  }
#endif
  for (std::size_t i = 0; i < 64 && from + i < size; ++i) {
    masks.first |= std::uint64_t{text[from + i] == first} << i;
    masks.second |= std::uint64_t{text[from + i] == second} << i;
  }
  return masks;
}

}  // namespace velorin
