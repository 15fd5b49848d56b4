#pragma once
// Character-aware scanning of CP932 (Shift-JIS) byte strings.
//
// The engine never decodes text: it walks the bytes of a line and counts a
// lead byte followed by a valid trail byte as one character, every other byte
// as one character. Positions therefore count characters, and an ASCII key
// can never match inside a double-byte character.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velorin {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool IsTrailByte(unsigned char b) {
  return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

/// Width in bytes (1 or 2) of the character that begins at byte `pos` of `s`.
constexpr std::size_t CharWidthAt(std::string_view s, std::size_t pos) {
  return (IsLeadByte(static_cast<unsigned char>(s[pos])) && pos + 1 < s.size() &&
          IsTrailByte(static_cast<unsigned char>(s[pos + 1])))
             ? 2
             : 1;
}

/// ASCII-only upper-casing of one byte; bytes of double-byte characters and
/// every non-ASCII byte stay as they are.
constexpr char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

/// AsciiUpper applied to each of the eight bytes of `word` at once: 0x20 is
/// taken off exactly the bytes "a" to "z" (never carrying into a neighbour).
constexpr std::uint64_t AsciiUpperWord(std::uint64_t word) {
  constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
  constexpr std::uint64_t kHigh = 0x8080808080808080ull;
  const std::uint64_t low7 = word & kLow7;
  const std::uint64_t fromA = low7 + 0x1F1F1F1F1F1F1F1Full;    // high bit: low 7 bits >= 'a'
  const std::uint64_t pastZ = low7 + 0x0505050505050505ull;    // high bit: low 7 bits > 'z'
  const std::uint64_t lower = fromA & ~pastZ & ~word & kHigh;  // and the byte is ASCII
  return word - (lower >> 2);
}

}  // namespace velorin
