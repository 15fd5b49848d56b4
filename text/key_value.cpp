#include "text/key_value.h"

#include <cstddef>

#include "text/sjis_scan.h"

namespace velorin {
namespace {

// Character positions are 16-bit signed integers.
constexpr std::size_t kMaxPosition = 32767;

constexpr std::size_t kNotFound = std::string_view::npos;

// Whether the 1-based position of the character that begins at byte `byte`
// holds in a 16-bit signed integer. A character has one or two bytes, so
// only very long lines need their characters counted.
bool PositionFits(std::string_view line, std::size_t byte) {
  if (byte < kMaxPosition) return true;
  std::size_t position = 1;
  for (std::size_t at = 0; at < byte; at += CharWidthAt(line, at)) {
    if (++position > kMaxPosition) return false;
  }
  return true;
}

}  // namespace

std::string_view ExtractKeyValue(std::string_view line, std::string_view key,
                                 std::string_view delimiter, std::int16_t startPosition,
                                 bool ignoreCase, bool stripQuotes, bool blankToEmpty) {
  return ExtractKeyValue(line, SearchPattern(key, ignoreCase), SearchPattern(delimiter, ignoreCase),
                         startPosition, stripQuotes, blankToEmpty);
}

std::string_view ExtractKeyValue(std::string_view line, const SearchPattern& key,
                                 const SearchPattern& delimiter, std::int16_t startPosition,
                                 bool stripQuotes, bool blankToEmpty) {
  if (startPosition < 1) return {};

  std::size_t start = 0;
  for (std::int16_t skipped = 1; skipped < startPosition && start < line.size(); ++skipped) {
    start += CharWidthAt(line, start);
  }
  const std::size_t keyAt = key.FindIn(line, start);
  if (keyAt == kNotFound) return {};

  // The delimiter search begins one character after the key's first
  // character, so a key that starts with the delimiter does not end itself.
  // That position must fit as well as the key's own.
  const std::size_t searchFrom = keyAt + CharWidthAt(line, keyAt);
  if (!PositionFits(line, searchFrom)) return {};
  const std::size_t delimiterAt = delimiter.FindIn(line, searchFrom);

  // The key matched character by character, so it spans exactly key.size()
  // bytes and the value begins at a character boundary.
  const std::size_t valueBegin = keyAt + key.text().size();
  std::string_view value;
  if (delimiterAt != kNotFound) {
    if (!PositionFits(line, delimiterAt)) return {};
    if (delimiterAt < valueBegin) return {};  // inside the key: negative length
    value = line.substr(valueBegin, delimiterAt - valueBegin);
  } else if (valueBegin < line.size()) {
    if (!PositionFits(line, valueBegin)) return {};
    value = line.substr(valueBegin);
  }

  return TidyKeyValue(value, stripQuotes, blankToEmpty);
}

}  // namespace velorin
