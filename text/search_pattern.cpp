#include "text/search_pattern.h"

namespace velorin {
namespace {

// BeginsCharacter for a byte that follows a lead byte: the characters are
// walked from the nearest byte known to begin one. `boundary` moves up to
// what was learned, so calls with growing `at` walk every byte at most once.
bool WalkToCharacter(std::string_view line, std::size_t at, std::size_t& boundary) {
  std::size_t walk = at - 1;
  while (walk > boundary && IsLeadByte(static_cast<unsigned char>(line[walk - 1]))) --walk;
  while (walk < at) walk += CharWidthAt(line, walk);
  boundary = walk;
  return walk == at;
}

// Whether byte `at` begins a character, given `boundary`, a byte at or
// before `at` known to begin one. A byte that follows a non-lead byte always
// begins a character.
inline bool BeginsCharacter(std::string_view line, std::size_t at, std::size_t& boundary) {
  if (at <= boundary || !IsLeadByte(static_cast<unsigned char>(line[at - 1]))) return true;
  return WalkToCharacter(line, at, boundary);
}

// Compares one character of `line` at byte `at` with one of `pattern` at byte
// `from`, both `width` bytes wide. Upper-casing touches single-byte characters
// only, so the trail byte of a double-byte character is never changed.
bool SameCharacter(std::string_view line, std::size_t at, std::string_view pattern,
                   std::size_t from, std::size_t width, bool ignoreCase) {
  if (width == 2) return line[at] == pattern[from] && line[at + 1] == pattern[from + 1];
  return ignoreCase ? AsciiUpper(line[at]) == AsciiUpper(pattern[from]) : line[at] == pattern[from];
}

}  // namespace

bool SearchPattern::MatchesAtSlowly(std::string_view line, std::size_t at) const {
  if (ascii_) {
    if (text_.size() > line.size() - at) return false;
    for (std::size_t i = 0; i < text_.size(); ++i) {
      const char c = line[at + i];
      if (ignoreCase_ ? AsciiUpper(c) != AsciiUpper(text_[i]) : c != text_[i]) return false;
    }
    return true;
  }
  std::size_t from = 0;
  while (from < text_.size()) {
    if (at >= line.size()) return false;
    const std::size_t width = CharWidthAt(line, at);
    if (width != CharWidthAt(text_, from) ||
        !SameCharacter(line, at, text_, from, width, ignoreCase_)) {
      return false;
    }
    at += width;
    from += width;
  }
  return true;
}

std::size_t SearchPattern::FindPatternIn(std::string_view line, std::size_t from) const {
  if (text_.empty()) return from < line.size() ? from : kNotFound;
  if (anchor_ == kNotFound) return FindLettersIn(line, from);

  ByteHits hits(line, from + anchor_, text_[anchor_]);

  // The bytes are compared first, the rarer character boundary test after.
  std::size_t boundary = from;  // a byte known to begin a character
  for (std::size_t hit = hits.Next(); hit != kNotFound; hit = hits.Next()) {
    const std::size_t at = hit - anchor_;
    if (MatchesAt(line, at) && (anchorBeginsCharacter_ || BeginsCharacter(line, at, boundary))) {
      return at;
    }
  }
  return kNotFound;
}

// Letters only, under ignoreCase: every byte is looked at for either case of
// the first letter.
std::size_t SearchPattern::FindLettersIn(std::string_view line, std::size_t from) const {
  std::size_t boundary = from;
  const char upper = AsciiUpper(text_[0]);
  for (std::size_t at = from; at < line.size(); ++at) {
    if (AsciiUpper(line[at]) != upper) continue;
    if (BeginsCharacter(line, at, boundary) && MatchesAt(line, at)) return at;
  }
  return kNotFound;
}

}  // namespace velorin
