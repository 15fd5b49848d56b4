#pragma once
// Keyed value extraction from one text line (module CommonGeneralFunction).
#include <cstdint>
#include <string_view>

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

}  // namespace velorin
