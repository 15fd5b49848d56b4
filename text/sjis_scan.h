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

/// Whether `s` ends in a lead byte without its second byte. The lead bytes
/// at its end, back to one that is not, are all valid second bytes too:
/// they pair up from the first, and an odd one is left alone. Such a byte
/// would take whatever is written after the text (a closing brace) as its
/// second.
constexpr bool EndsInLoneLeadByte(std::string_view s) {
  std::size_t leads = 0;
  while (leads < s.size() && IsLeadByte(static_cast<unsigned char>(s[s.size() - 1 - leads]))) {
    ++leads;
  }
  return leads % 2 == 1;
}

/// Answers whether bytes of one text begin characters, for offsets asked in
/// increasing order: each answer walks only the bytes since the one before,
/// so asking about every byte of a text costs one pass over it.
class CharacterStarts {
 public:
  constexpr CharacterStarts() = default;
  /// `known` is an offset known to begin a character (0 always does).
  constexpr explicit CharacterStarts(std::size_t known) : boundary_(known) {}

  /// Whether byte `at` of `text` (always the same text; `at` beyond the
  /// offset asked before, and at least `known`) begins a character. A byte
  /// that follows a non-lead byte always does; after a lead byte the
  /// characters are walked from the nearest known start.
  constexpr bool At(std::string_view text, std::size_t at) {
    if (at <= boundary_ || !IsLeadByte(static_cast<unsigned char>(text[at - 1]))) return true;
    std::size_t walk = at - 1;
    while (walk > boundary_ && IsLeadByte(static_cast<unsigned char>(text[walk - 1]))) --walk;
    while (walk < at) walk += CharWidthAt(text, walk);
    boundary_ = walk;
    return walk == at;
  }

 private:
  std::size_t boundary_ = 0;  ///< an offset known to begin a character
};

}  // namespace velorin
