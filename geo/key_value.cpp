#include "geo/key_value.h"

#include <cstddef>
#include <optional>

#include "geo/sjis_scan.h"

namespace velorin {
namespace {

// Character positions are 16-bit signed integers.
constexpr std::size_t kMaxPosition = 32767;

struct Occurrence {
  std::size_t byte;      ///< offset of the first byte in the line
  std::size_t position;  ///< 1-based character position
};

// Compares one character of `line` at byte `at` with one of `pattern` at byte
// `from`, both `width` bytes wide. Upper-casing touches single-byte characters
// only, so the trail byte of a double-byte character is never changed.
inline bool SameCharacter(std::string_view line, std::size_t at, std::string_view pattern,
                          std::size_t from, std::size_t width, bool ignoreCase) {
  if (width == 2) return line[at] == pattern[from] && line[at + 1] == pattern[from + 1];
  return ignoreCase ? AsciiUpper(line[at]) == AsciiUpper(pattern[from]) : line[at] == pattern[from];
}

// True when the characters of `pattern` follow one another in `line` from the
// character boundary `at` on; the match then also ends at a boundary.
bool MatchesAt(std::string_view line, std::size_t at, std::string_view pattern, bool ignoreCase) {
  std::size_t from = 0;
  while (from < pattern.size()) {
    if (at >= line.size()) return false;
    const std::size_t width = CharWidthAt(line, at);
    if (width != CharWidthAt(pattern, from) ||
        !SameCharacter(line, at, pattern, from, width, ignoreCase)) {
      return false;
    }
    at += width;
    from += width;
  }
  return true;
}

// The first occurrence of `pattern` that begins at a character boundary at or
// after byte `byte`, which is the boundary of character `position`. An empty
// pattern occurs at every character of the line.
std::optional<Occurrence> FindFrom(std::string_view line, std::size_t byte, std::size_t position,
                                   std::string_view pattern, bool ignoreCase) {
  for (; byte < line.size(); byte += CharWidthAt(line, byte), ++position) {
    if (MatchesAt(line, byte, pattern, ignoreCase)) return Occurrence{byte, position};
  }
  return std::nullopt;
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t byte = 0; byte < text.size(); byte += CharWidthAt(text, byte)) ++count;
  return count;
}

}  // namespace

std::string_view ExtractKeyValue(std::string_view line, std::string_view key,
                                 std::string_view delimiter, std::int16_t startPosition,
                                 bool ignoreCase, bool stripQuotes, bool blankToEmpty) {
  if (startPosition < 1) return {};

  std::size_t start = 0;
  for (std::int16_t skipped = 1; skipped < startPosition && start < line.size(); ++skipped) {
    start += CharWidthAt(line, start);
  }
  const std::optional<Occurrence> keyAt =
      FindFrom(line, start, static_cast<std::size_t>(startPosition), key, ignoreCase);
  if (!keyAt || keyAt->position > kMaxPosition) return {};

  // The delimiter search begins one character after the key's first
  // character, so a key that starts with the delimiter does not end itself.
  const std::size_t searchPosition = keyAt->position + 1;
  if (searchPosition > kMaxPosition) return {};
  const std::optional<Occurrence> delimiterAt = FindFrom(
      line, keyAt->byte + CharWidthAt(line, keyAt->byte), searchPosition, delimiter, ignoreCase);

  // The key matched character by character, so it spans exactly key.size() bytes.
  const std::size_t valueBegin = keyAt->byte + key.size();
  std::string_view value;
  if (delimiterAt) {
    if (delimiterAt->position > kMaxPosition) return {};
    if (delimiterAt->byte < valueBegin) return {};  // inside the key: negative length
    value = line.substr(valueBegin, delimiterAt->byte - valueBegin);
  } else if (valueBegin < line.size()) {
    if (keyAt->position + CharacterCount(key) > kMaxPosition) return {};
    value = line.substr(valueBegin);
  }

  // A double quote (0x22) and a blank (0x20) are never trail bytes, so a byte
  // test at either end of the value sees whole characters.
  if (stripQuotes) {
    if (!value.empty() && value.front() == '"') value.remove_prefix(1);
    if (!value.empty() && value.back() == '"') value.remove_suffix(1);
  }
  if (blankToEmpty && value.find_first_not_of(' ') == std::string_view::npos) return {};
  return value;
}

}  // namespace velorin
