#include "text/search_pattern.h"

namespace velorin {
namespace {

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
  CharacterStarts starts(from);
  for (std::size_t hit = hits.Next(); hit != kNotFound; hit = hits.Next()) {
    const std::size_t at = hit - anchor_;
    if (MatchesAt(line, at) && (anchorBeginsCharacter_ || starts.At(line, at))) {
      return at;
    }
  }
  return kNotFound;
}

// Letters only, under ignoreCase: every byte is looked at for either case of
// the first letter.
std::size_t SearchPattern::FindLettersIn(std::string_view line, std::size_t from) const {
  CharacterStarts starts(from);
  const char upper = AsciiUpper(text_[0]);
  for (std::size_t at = from; at < line.size(); ++at) {
    if (AsciiUpper(line[at]) != upper) continue;
    if (starts.At(line, at) && MatchesAt(line, at)) return at;
  }
  return kNotFound;
}

}  // namespace velorin
