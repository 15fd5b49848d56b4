#pragma once
// Keyed value extraction from one text line (module CommonGeneralFunction).
#include <cstdint>
#include <string_view>

#include "text/search_pattern.h"

namespace velorin {

/// Returns the text that follows the first `key` found at or after the
/// 1-based character position `startPosition` of `line`, up to the next
/// `delimiter` (searched from one character after the key's first character)
/// or the end of the line. With `stripQuotes` one leading and one trailing
/// double quote are removed; with `blankToEmpty` an all-space value becomes
/// empty. Every failure (start below 1, positions beyond 32767, a delimiter
/// inside the key) yields the empty string. The result is a view into `line`.
std::string_view ExtractKeyValue(std::string_view line, std::string_view key,
                                 std::string_view delimiter, std::int16_t startPosition,
                                 bool ignoreCase, bool stripQuotes, bool blankToEmpty);

/// The last steps of the extraction: with `stripQuotes` one leading and one
/// trailing double quote are removed, then with `blankToEmpty` a value of
/// spaces alone becomes empty. A double quote (0x22) and a blank (0x20) are
/// never trail bytes, so a byte test at either end sees whole characters.
constexpr std::string_view TidyKeyValue(std::string_view value, bool stripQuotes,
                                        bool blankToEmpty) {
  if (stripQuotes) {
    if (!value.empty() && value.front() == '"') value.remove_prefix(1);
    if (!value.empty() && value.back() == '"') value.remove_suffix(1);
  }
  if (blankToEmpty && value.find_first_not_of(' ') == std::string_view::npos) return {};
  return value;
}

/// The same extraction with the key and the delimiter analysed beforehand,
/// each with its own letter-case rule: for searching many lines with the
/// same key. ExtractKeyValue(line, key, delimiter, start, ignoreCase, ...)
/// is this with both patterns made with `ignoreCase`.
std::string_view ExtractKeyValue(std::string_view line, const SearchPattern& key,
                                 const SearchPattern& delimiter, std::int16_t startPosition,
                                 bool stripQuotes, bool blankToEmpty);

}  // namespace velorin
