#pragma once
// The regular expressions that titles are searched with, read into a tree:
// ECMAScript's syntax without what needs backtracking (back-references,
// look-arounds), over characters (UTF-8 code points), A-Z and a-z alike.
// The reader walks the pattern in one loop with its own stack, so that no
// pattern can exhaust the program's stack, and it refuses what lies beyond
// the limits below with words a person can act on.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_point_set.h"

namespace velorin {

/// Groups may nest this deep.
inline constexpr std::uint32_t kRegexMaxNesting = 100;
/// The greatest count of {n}, {n,} and {n,m}.
inline constexpr std::uint32_t kRegexMaxCount = 1000;
/// The upper count of * + and {n,}.
inline constexpr std::uint32_t kRegexUnbounded = UINT32_MAX;

enum class RegexAssertion : std::uint8_t {
  kTextStart,        ///< ^
  kTextEnd,          ///< $
  kWordBoundary,     ///< \b
  kNotWordBoundary,  ///< \B
};

struct RegexNode {
  enum class Kind : std::uint8_t {
    kEmpty,        ///< matches the empty text
    kCharacters,   ///< one character of `set`
    kAssertion,    ///< `assertion`, taking no character
    kConcat,       ///< `children` one after another
    kAlternation,  ///< one of `children`
    kRepeat,       ///< children[0], min to max times
  };
  Kind kind = Kind::kEmpty;
  RegexAssertion assertion = RegexAssertion::kTextStart;
  std::uint32_t set = 0;  ///< index into RegexTree::sets
  std::uint32_t min = 0;
  std::uint32_t max = 0;
  std::vector<std::uint32_t> children;
};

struct RegexTree {
  std::vector<RegexNode> nodes;
  std::vector<CodePointSet> sets;  ///< normalized, ASCII letters in both cases
  std::uint32_t root = 0;
};

struct ParsedRegex {
  std::optional<RegexTree> tree;
  /// Why the pattern was refused, in words ("'(' at character 3 is not
  /// closed"); empty when it was read.
  std::string error;
};

/// Reads `pattern`, which must be UTF-8.
ParsedRegex ParseRegex(std::string_view pattern);

}  // namespace velorin
