#include "formats/pot_line_fields.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "text/byte_search.h"
#include "text/key_value.h"
#include "text/search_pattern.h"
#include "text/sjis_scan.h"

namespace velorin {
namespace {

constexpr std::size_t kNotFound = std::string_view::npos;

constexpr SearchPattern kTitleKey("/tex=", true);
constexpr SearchPattern kLongitudeKey("/kei=", true);
constexpr SearchPattern kLatitudeKey("ido=", true);
constexpr SearchPattern kFieldDelimiter("/", true);

// The keys as compared with the eight bytes that end at a "=".
constexpr SearchPattern::Word kTitleEnding = kTitleKey.EndingWord();
constexpr SearchPattern::Word kLongitudeEnding = kLongitudeKey.EndingWord();
constexpr SearchPattern::Word kLatitudeEnding = kLatitudeKey.EndingWord();

// The bytes whose "=" and "/" are marked at once.
constexpr std::size_t kMarked = 64;

// From this many bytes on, character positions may pass 32767: such a line
// takes the extraction's own way, which counts them.
constexpr std::size_t kLongLine = 32767;

std::string_view Field(std::string_view line, const SearchPattern& key) {
  return ExtractKeyValue(line, key, kFieldDelimiter, 1, /*stripQuotes=*/true,
                         /*blankToEmpty=*/true);
}

// Whether the bytes of `key` end with the "=" at byte `end` (whether its
// first byte begins a character is the caller's test).
inline bool KeyEndsAt(std::string_view line, std::size_t end, const SearchPattern& key,
                      const SearchPattern::Word& ending) {
  if (end >= 7) {
    std::uint64_t word;
    std::memcpy(&word, line.data() + end - 7, 8);
    return (((word | ending.fold) ^ ending.word) & ending.mask) == 0;
  }
  const std::size_t size = key.text().size();
  return end + 1 >= size && key.MatchesAt(line, end + 1 - size);
}

// Whether `key` occurs at a character boundary ending with the "=" at byte
// `end`. `starts` is asked for a key that may begin inside a double-byte
// character ("ido=", whose "i" may be a trail byte); "/" begins a character
// wherever it stands.
inline bool KeyFoundAt(std::string_view line, std::size_t end, const SearchPattern& key,
                       const SearchPattern::Word& ending, CharacterStarts& starts) {
  return KeyEndsAt(line, end, key, ending) &&
         (key.startsAnywhere() || starts.At(line, end + 1 - key.text().size()));
}

// KeyEnd beyond the first 64 bytes, where a key seldom is.
std::size_t KeyEndBeyondMarks(std::string_view line, const SearchPattern& key,
                              const SearchPattern::Word& ending, CharacterStarts& starts) {
  ByteHits hits(line, kMarked, '=');
  for (std::size_t end = hits.Next(); end != kNotFound; end = hits.Next()) {
    if (KeyFoundAt(line, end, key, ending, starts)) return end;
  }
  return kNotFound;
}

// The "=" that ends the first occurrence of `key` at a character boundary:
// among the marked "=" of the first 64 bytes, then beyond them.
inline std::size_t KeyEnd(std::string_view line, std::uint64_t equals, const SearchPattern& key,
                          const SearchPattern::Word& ending) {
  CharacterStarts starts;
  for (; equals != 0; equals &= equals - 1) {
    const auto end = static_cast<std::size_t>(std::countr_zero(equals));
    if (KeyFoundAt(line, end, key, ending, starts)) return end;
  }
  return line.size() > kMarked ? KeyEndBeyondMarks(line, key, ending, starts) : kNotFound;
}

// The value after the key that ends at byte `end`: up to the first "/"
// after it, among the marked ones of the first 64 bytes or beyond them.
inline std::string_view ValueAfter(std::string_view line, std::uint64_t slashes, std::size_t end) {
  if (end == kNotFound) return {};
  const std::size_t begin = end + 1;
  std::size_t delimiter = kNotFound;
  if (begin < kMarked) slashes &= ~0ull << begin;
  if (begin < kMarked && slashes != 0) {
    delimiter = static_cast<std::size_t>(std::countr_zero(slashes));
  } else if (line.size() > kMarked) {
    delimiter = ByteHits(line, begin < kMarked ? kMarked : begin, '/').Next();
  }
  const std::size_t size = delimiter == kNotFound ? line.size() - begin : delimiter - begin;
  return TidyKeyValue(line.substr(begin, size), /*stripQuotes=*/true, /*blankToEmpty=*/true);
}

}  // namespace

void ExtractPotLineFields(std::string_view line, std::string_view& title,
                          std::string_view& longitudeText, std::string_view& latitudeText) {
  if (line.size() >= kLongLine) {
    title = Field(line, kTitleKey);
    longitudeText = Field(line, kLongitudeKey);
    latitudeText = Field(line, kLatitudeKey);
    return;
  }
  if (line.empty()) {
    title = longitudeText = latitudeText = {};
    return;
  }
  // Every key ends in "=", a byte that always begins a character, so the
  // first occurrence of a key ends at the first "=" where its bytes stand
  // before. No key holds a "/" after its first byte, so the delimiter that
  // the extraction finds one character after the key's first is the first
  // "/" after the key. Both bytes are marked for the first 64 bytes, where
  // the three fields nearly always are.
  const ByteMasks marks = MaskTwoBytes(line, 0, '=', '/');
  title = ValueAfter(line, marks.second, KeyEnd(line, marks.first, kTitleKey, kTitleEnding));
  longitudeText =
      ValueAfter(line, marks.second, KeyEnd(line, marks.first, kLongitudeKey, kLongitudeEnding));
  latitudeText =
      ValueAfter(line, marks.second, KeyEnd(line, marks.first, kLatitudeKey, kLatitudeEnding));
}

}  // namespace velorin
