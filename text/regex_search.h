#pragma once
// Whether a compiled pattern (regex_program.h) is found in a text, in time
// that grows with the text's length alone, whatever the pattern: the
// automaton runs over all its ways at once (no backtracking), and each set
// of instructions it can be in after a character becomes a state whose
// steps are remembered per character class, so that a text mostly costs a
// table look-up a character. The states remembered take at most a budget
// of memory; past it they are forgotten and made again as needed, and where
// nearly every character needs a new state the search goes on without
// remembering (a character then costs a step for each way open). A long
// search asks whether to go on every so often, so that a cancel is heard.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/regex_program.h"

namespace velorin {

class RegexSearcher {
 public:
  /// The memory the remembered states may take, by default.
  static constexpr std::size_t kDefaultBudget = 4u << 20;
  /// About how many instructions and characters are handled between two
  /// questions whether to go on: a millisecond or two.
  static constexpr std::uint64_t kWorkBetweenQuestions = 1u << 18;

  explicit RegexSearcher(std::shared_ptr<const RegexProgram> program,
                         std::size_t budget = kDefaultBudget);

  enum class Result { kNotFound, kFound, kStopped };

  /// Searches `text` (UTF-8; a byte that begins no well-formed sequence is
  /// one unit that only "." and negated classes take). `keepGoing`, when
  /// given, is asked every kWorkBetweenQuestions; false stops the search.
  Result Search(std::string_view text, const std::function<bool()>& keepGoing = {});

  /// Times the remembered states were forgotten for the budget.
  std::size_t flushes() const { return flushes_; }

 private:
  /// What a state is: the instructions that wait for the next character,
  /// in order, after flags (whether the text's start is here, whether the
  /// character before is one of \w's).
  using StateKey = std::vector<std::uint32_t>;
  struct KeyHash {
    std::size_t operator()(const StateKey& key) const;
  };
  static constexpr std::uint32_t kAtStart = 1;
  static constexpr std::uint32_t kAfterWord = 2;
  /// Table entries besides state numbers.
  static constexpr std::int32_t kUnknown = -1;
  static constexpr std::int32_t kFoundHere = -2;
  static constexpr std::int32_t kNowhere = -3;  ///< nothing can match any more

  bool PlainSearch(std::string_view text) const;
  /// The search from `at` on, in `state`, making each step anew.
  Result SearchWithoutStates(std::string_view text, std::size_t at, StateKey state,
                             const std::function<bool()>& keepGoing);
  /// Asks `keepGoing` (when given), and when to ask next.
  bool KeepGoing(const std::function<bool()>& keepGoing);
  std::int32_t StartState();
  /// The state after `state` takes a character of class `k`.
  std::int32_t Transition(std::int32_t state, std::uint32_t k);
  bool FoundAtEnd(std::int32_t state);
  /// Follows every way from `seeds` that takes no character, with the
  /// places around; true when one reaches the match. The instructions that
  /// take a character of class `k` (when there is a next character) put
  /// their next instruction into `taken`.
  bool Follow(const StateKey& state, std::uint32_t flags, bool atEnd, std::uint32_t k,
              StateKey& taken);
  std::int32_t Intern(StateKey key);
  void Forget();

  std::shared_ptr<const RegexProgram> program_;
  std::size_t budget_;
  std::size_t used_ = 0;
  std::size_t flushes_ = 0;
  std::uint64_t work_ = 0;
  std::uint64_t question_ = 0;  ///< the work at which to ask next
  std::unordered_map<StateKey, std::int32_t, KeyHash> index_;
  std::vector<const StateKey*> keys_;
  std::vector<std::int8_t> foundAtEnd_;  ///< per state: -1 not known yet
  std::vector<std::int32_t> table_;      ///< per state, per class
  std::int32_t start_ = kUnknown;
  // Scratch of Follow: a stamp per instruction, the ways still to follow.
  std::vector<std::uint32_t> seen_;
  std::uint32_t stamp_ = 0;
  std::vector<std::uint32_t> stack_;
};

}  // namespace velorin
