#pragma once
// A set of characters as ranges of Unicode code points: what one letter, a
// class escape such as \d or a bracket expression of a pattern stands for.
#include <cstddef>
#include <vector>

namespace velorin {

/// One past U+10FFFF: the unit that a byte of a searched text which begins
/// no well-formed UTF-8 sequence stands for, so that "." and negated classes
/// still take it, and no letter does.
inline constexpr char32_t kMalformedUnit = 0x110000;

struct CodePointRange {
  char32_t first = 0;
  char32_t last = 0;  ///< included
};

class CodePointSet {
 public:
  CodePointSet() = default;
  explicit CodePointSet(char32_t c) { Add(c, c); }

  /// Adds first to last (first <= last); Normalize() before asking.
  void Add(char32_t first, char32_t last) { ranges_.push_back({first, last}); }
  void Add(const CodePointSet& other) {
    ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
  }
  /// Adds the other case of every ASCII letter held (A-Z and a-z alike).
  void FoldAsciiCase();
  /// Holds what it did not, up to kMalformedUnit.
  void Invert();
  /// Sorts the ranges and merges those that overlap or touch.
  void Normalize();

  /// Whether `c` is held; the set must be normalized.
  bool Contains(char32_t c) const {
    // Most sets are one character, or a letter in both cases.
    if (ranges_.size() <= 2) {
      for (const CodePointRange& range : ranges_) {
        if (c >= range.first && c <= range.last) return true;
      }
      return false;
    }
    return ContainsAmongMany(c);
  }
  /// Sorted, apart from each other, once normalized.
  const std::vector<CodePointRange>& ranges() const { return ranges_; }
  bool Empty() const { return ranges_.empty(); }
  /// The one character held, when the set holds exactly one.
  bool IsSingle() const { return ranges_.size() == 1 && ranges_[0].first == ranges_[0].last; }

 private:
  bool ContainsAmongMany(char32_t c) const;

  std::vector<CodePointRange> ranges_;
};

/// \d, \w and \s as ECMAScript has them (\s: its white space and line
/// terminators, the ideographic space U+3000 among them).
CodePointSet DigitCharacters();
CodePointSet WordCharacters();
CodePointSet SpaceCharacters();
/// Whether `c` is one of \w's characters (the letters, digits and "_" of
/// ASCII), as \b sees it.
constexpr bool IsWordCharacter(char32_t c) {
  return (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z') ||
         c == U'_';
}

}  // namespace velorin
