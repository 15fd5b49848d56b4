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

}  // namespace velorin
