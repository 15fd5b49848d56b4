#include "geo/key_value.h"

#include <cstddef>

#include "geo/byte_search.h"
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

constexpr bool IsAscii(char c) { return static_cast<unsigned char>(c) < 0x80; }

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (!IsAscii(c)) return false;
  }
  return true;
}

// MatchesAt for a pattern of ASCII bytes only. A line byte equal to an ASCII
// byte (upper-cased or not) is ASCII itself, so never a lead byte: matching
// byte for byte from a character boundary matches whole characters.
bool MatchesAsciiAt(std::string_view line, std::size_t at, std::string_view pattern,
                    bool ignoreCase) {
  if (pattern.size() > line.size() - at) return false;
  const char* bytes = line.data() + at;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (ignoreCase ? AsciiUpper(bytes[i]) != AsciiUpper(pattern[i]) : bytes[i] != pattern[i]) {
      return false;
    }
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
// Only bytes equal to the pattern's anchor byte ("=" of "ido=") can hold the
// pattern; only there are the characters checked closely.
std::size_t FindFrom(std::string_view line, std::size_t from, std::string_view pattern,
                     bool ignoreCase) {
  const std::size_t size = line.size();
  if (pattern.empty()) return from < size ? from : kNotFound;

  std::size_t boundary = from;  // a byte known to begin a character
  const bool asciiPattern = IsAscii(pattern);
  const auto matchesAt = [&](std::size_t at) {
    return asciiPattern ? MatchesAsciiAt(line, at, pattern, ignoreCase)
                        : MatchesAt(line, at, pattern, ignoreCase);
  };
  const std::size_t anchor = AnchorIndex(pattern, ignoreCase);
  if (anchor == kNotFound) {
    // Letters only: look at every byte for either case of the first letter.
    const char upper = AsciiUpper(pattern[0]);
    for (std::size_t at = from; at < size; ++at) {
      if (AsciiUpper(line[at]) != upper) continue;
      if (BeginsCharacter(line, at, boundary) && matchesAt(at)) return at;
    }
    return kNotFound;
  }

  // Only a trail byte can stand inside a character, so a pattern that starts
  // with any other byte ("/", "=") begins a character wherever that byte is.
  const bool anchorBeginsCharacter =
      anchor == 0 && !IsTrailByte(static_cast<unsigned char>(pattern[0]));
  if (anchorBeginsCharacter && pattern.size() == 1) {
    // Such a byte alone, as the delimiter "/" is: its first occurrence.
    return FindByteWhere(line, from, pattern[0], [](std::size_t) { return true; });
  }
  const std::size_t anchorAt =
      FindByteWhere(line, from + anchor, pattern[anchor], [&](std::size_t candidate) {
        const std::size_t at = candidate - anchor;
        return (anchorBeginsCharacter || BeginsCharacter(line, at, boundary)) && matchesAt(at);
      });
  return anchorAt == kNotFound ? kNotFound : anchorAt - anchor;
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
