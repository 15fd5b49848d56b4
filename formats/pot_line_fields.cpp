#include "formats/pot_line_fields.h"

#include <array>
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

// Bits of the three keys, in the order of PotLineFields.
constexpr unsigned kTitle = 1;
constexpr unsigned kLongitude = 2;
constexpr unsigned kLatitude = 4;

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

// Which key, if any not found yet, ends with the "=" at byte `end`: at most
// one can. "/" begins a character wherever it stands, so "/tex=" and
// "/kei=" occur wherever their bytes do; "ido=" may begin inside a
// double-byte character, which `starts` tells (asked with growing offsets).
inline unsigned KeyEndingAt(std::string_view line, std::size_t end, unsigned unfound,
                            CharacterStarts& starts) {
  if ((unfound & kTitle) != 0 && KeyEndsAt(line, end, kTitleKey, kTitleEnding)) return kTitle;
  if ((unfound & kLongitude) != 0 && KeyEndsAt(line, end, kLongitudeKey, kLongitudeEnding)) {
    return kLongitude;
  }
  if ((unfound & kLatitude) != 0 && KeyEndsAt(line, end, kLatitudeKey, kLatitudeEnding) &&
      starts.At(line, end - 3)) {
    return kLatitude;
  }
  return 0;
}

}  // namespace

PotLineFields ExtractPotLineFields(std::string_view line) {
  if (line.size() >= kLongLine) {
    return {Field(line, kTitleKey), Field(line, kLongitudeKey), Field(line, kLatitudeKey)};
  }
  // Every key ends in "=", a byte that always begins a character, so the
  // first occurrence of a key ends at the first "=" where its bytes stand
  // before. No key holds a "/" after its first byte, so the delimiter that
  // the extraction finds one character after the key's first is the first
  // "/" after the key. Both bytes are marked 64 at a time.
  std::array<std::size_t, 3> keyEnd{kNotFound, kNotFound, kNotFound};
  std::array<std::size_t, 3> valueEnd{line.size(), line.size(), line.size()};
  CharacterStarts starts;
  unsigned unfound = kTitle | kLongitude | kLatitude;
  unsigned open = 0;  // keys found whose value has not ended yet
  for (std::size_t block = 0; block < line.size() && (unfound | open) != 0; block += 64) {
    const ByteMasks masks = MaskTwoBytes(line, block, '=', '/');
    for (std::uint64_t equals = masks.first; equals != 0 && unfound != 0; equals &= equals - 1) {
      const std::size_t end = block + static_cast<std::size_t>(std::countr_zero(equals));
      const unsigned key = KeyEndingAt(line, end, unfound, starts);
      if (key == 0) continue;
      keyEnd[static_cast<std::size_t>(std::countr_zero(key))] = end;
      unfound &= ~key;
      open |= key;
    }
    for (unsigned left = open; left != 0; left &= left - 1) {
      const auto key = static_cast<std::size_t>(std::countr_zero(left));
      const std::size_t valueBegin = keyEnd[key] + 1;
      if (valueBegin >= block + 64) continue;  // it begins in the next block
      std::uint64_t slashes = masks.second;
      if (valueBegin > block) slashes &= ~0ull << (valueBegin - block);
      if (slashes == 0) continue;
      valueEnd[key] = block + static_cast<std::size_t>(std::countr_zero(slashes));
      open &= ~(1u << key);
    }
  }
  std::array<std::string_view, 3> values;
  for (std::size_t key = 0; key < 3; ++key) {
    if (keyEnd[key] == kNotFound) continue;
    const std::size_t valueBegin = keyEnd[key] + 1;
    values[key] = TidyKeyValue(line.substr(valueBegin, valueEnd[key] - valueBegin),
                               /*stripQuotes=*/true, /*blankToEmpty=*/true);
  }
  return {values[0], values[1], values[2]};
}

}  // namespace velorin
