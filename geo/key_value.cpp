#include "geo/key_value.h"

#include <cstddef>
#include <cstring>

#include "geo/sjis_scan.h"

namespace velorin {
namespace {

// Character positions are 16-bit signed integers.
constexpr std::size_t kMaxPosition = 32767;

constexpr std::size_t kNotFound = std::string_view::npos;

constexpr char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

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

// Whether byte `at` begins a character, given `boundary`, a byte at or
// before `at` known to begin one. A byte that follows a non-lead byte always
// begins a character; otherwise the characters are walked from the nearest
// byte known to begin one. `boundary` moves up to what was learned, so calls
// with growing `at` walk every byte at most once.
bool BeginsCharacter(std::string_view line, std::size_t at, std::size_t& boundary) {
  if (at <= boundary || !IsLeadByte(static_cast<unsigned char>(line[at - 1]))) return true;
  std::size_t walk = at - 1;
  while (walk > boundary && IsLeadByte(static_cast<unsigned char>(line[walk - 1]))) --walk;
  while (walk < at) walk += CharWidthAt(line, walk);
  boundary = walk;
  return walk == at;
}

// The index of a pattern byte that letter case cannot change, for memchr to
// look for; kNotFound when every byte is an ASCII letter under ignoreCase.
std::size_t AnchorIndex(std::string_view pattern, bool ignoreCase) {
  if (!ignoreCase) return 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (AsciiUpper(pattern[i]) == AsciiLower(pattern[i])) return i;
  }
  return kNotFound;
}

// Byte offset of the first occurrence of `pattern` that begins at a character
// boundary at or after the boundary `from`; kNotFound if there is none. An
// empty pattern occurs at every character of the line.
//
// memchr skips to the bytes that can hold the pattern's anchor byte ("=" of
// "ido="); only there are the characters checked closely.
std::size_t FindFrom(std::string_view line, std::size_t from, std::string_view pattern,
                     bool ignoreCase) {
  const std::size_t size = line.size();
  if (pattern.empty()) return from < size ? from : kNotFound;

  std::size_t boundary = from;  // a byte known to begin a character
  const std::size_t anchor = AnchorIndex(pattern, ignoreCase);
  if (anchor == kNotFound) {
    // Letters only: look at every byte for either case of the first letter.
    const char upper = AsciiUpper(pattern[0]);
    for (std::size_t at = from; at < size; ++at) {
      if (AsciiUpper(line[at]) != upper) continue;
      if (BeginsCharacter(line, at, boundary) && MatchesAt(line, at, pattern, ignoreCase)) {
        return at;
      }
    }
    return kNotFound;
  }

  for (std::size_t searchAt = from + anchor; searchAt < size;) {
    const void* found = std::memchr(line.data() + searchAt, pattern[anchor], size - searchAt);
    if (found == nullptr) break;
    const auto anchorAt = static_cast<std::size_t>(static_cast<const char*>(found) - line.data());
    const std::size_t at = anchorAt - anchor;
    if (BeginsCharacter(line, at, boundary) && MatchesAt(line, at, pattern, ignoreCase)) return at;
    searchAt = anchorAt + 1;
  }
  return kNotFound;
}

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
  if (startPosition < 1) return {};

  std::size_t start = 0;
  for (std::int16_t skipped = 1; skipped < startPosition && start < line.size(); ++skipped) {
    start += CharWidthAt(line, start);
  }
  const std::size_t keyAt = FindFrom(line, start, key, ignoreCase);
  if (keyAt == kNotFound) return {};

  // The delimiter search begins one character after the key's first
  // character, so a key that starts with the delimiter does not end itself.
  // That position must fit as well as the key's own.
  const std::size_t searchFrom = keyAt + CharWidthAt(line, keyAt);
  if (!PositionFits(line, searchFrom)) return {};
  const std::size_t delimiterAt = FindFrom(line, searchFrom, delimiter, ignoreCase);

  // The key matched character by character, so it spans exactly key.size()
  // bytes and the value begins at a character boundary.
  const std::size_t valueBegin = keyAt + key.size();
  std::string_view value;
  if (delimiterAt != kNotFound) {
    if (!PositionFits(line, delimiterAt)) return {};
    if (delimiterAt < valueBegin) return {};  // inside the key: negative length
    value = line.substr(valueBegin, delimiterAt - valueBegin);
  } else if (valueBegin < line.size()) {
    if (!PositionFits(line, valueBegin)) return {};
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
