#pragma once
// ASCII letter case, byte by byte: "A" to "Z" and "a" to "z" change case,
// every other byte value (digits, signs, bytes from 0x80 up) stays as it is.
// Names of formats, encodings, extensions and answers are compared this way,
// never by the locale's rules.
#include <cstddef>
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
