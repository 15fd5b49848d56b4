#pragma once
// ASCII letter case, byte by byte: "A" to "Z" and "a" to "z" change case,
// every other byte value (digits, signs, bytes from 0x80 up) stays as it is.
// Names of formats, encodings, extensions and answers are compared this way,
// never by the locale's rules.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace velorin {

/// The lower-case form of an ASCII capital; any other byte unchanged.
constexpr char AsciiLower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// The capital form of an ASCII lower-case letter; any other byte unchanged.
constexpr char AsciiUpper(char c) {
  return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

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

/// `text` with its ASCII capitals made lower case.
inline std::string AsciiToLower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = AsciiLower(c);
  return lower;
}

/// Whether `a` and `b` are the same bytes once ASCII capitals are made lower case.
constexpr bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

/// Whether `text` ends with `suffix`, ASCII letters matching in either case.
constexpr bool EndsWithIgnoringAsciiCase(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() &&
         EqualsIgnoringAsciiCase(text.substr(text.size() - suffix.size()), suffix);
}

}  // namespace velorin
