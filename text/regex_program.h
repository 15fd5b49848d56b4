#pragma once
// A pattern made ready to search with: its tree (regex_syntax.h) as a
// Thompson automaton of a few kinds of instruction, and the characters cut
// into classes that no instruction tells apart, so that a searcher can
// remember its steps per class rather than per character.
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/code_point_set.h"
#include "text/regex_syntax.h"

namespace velorin {

/// The most instructions a pattern may become (x{1000} is 1,000 of them):
/// what one character of a searched text may cost at most.
inline constexpr std::size_t kRegexMaxInstructions = 10'000;

struct RegexInstruction {
  enum class Op : std::uint8_t {
    kCharacters,  ///< takes a character of sets[set], then goes to `next`
    kSplit,       ///< goes to `next` and to `other`
    kJump,        ///< goes to `next`
    kAssert,      ///< goes to `next` where `assertion` holds
    kMatch,       ///< the pattern is found
  };
  Op op = Op::kMatch;
  RegexAssertion assertion = RegexAssertion::kTextStart;
  std::uint32_t set = 0;
  std::uint32_t next = 0;
  std::uint32_t other = 0;
};

struct RegexProgram {
  /// Begins at instruction 0.
  std::vector<RegexInstruction> instructions;
  std::vector<CodePointSet> sets;
  /// Class k holds the characters from classStarts[k] up to the next start
  /// (the last up to kMalformedUnit); classStarts[0] is 0.
  std::vector<char32_t> classStarts;
  std::array<std::uint32_t, 128> asciiClasses = {};
  /// Every way through begins with ^: only the text's start can match.
  bool anchoredAtStart = false;
  /// \b or \B is used, so the classes keep \w's characters apart.
  bool usesWordBoundaries = false;
  /// The pattern is a plain text (ASCII letters in small letters): found by
  /// a plain search.
  std::optional<std::string> literal;

  std::uint32_t ClassOf(char32_t c) const;
  std::size_t ClassCount() const { return classStarts.size(); }
};

struct CompiledRegex {
  std::shared_ptr<const RegexProgram> program;
  /// Why the pattern was refused, in words; empty when it compiled.
  std::string error;
};

/// Reads and compiles `pattern` (UTF-8), refusing one beyond the limits of
/// regex_syntax.h or kRegexMaxInstructions.
CompiledRegex CompileRegex(std::string_view pattern);

}  // namespace velorin
