#include "text/regex_search.h"

#include <algorithm>
#include <utility>

#include "text/ascii.h"
#include "text/utf8.h"

namespace velorin {

namespace {

using Op = RegexInstruction::Op;

/// A plain text longer than this is searched by the automaton, whose time
/// does not grow with the pattern's length.
constexpr std::size_t kPlainSearchLongest = 64;

/// What a state costs beyond its key and its row of the table.
constexpr std::size_t kStateOverhead = 96;

/// A search makes this many steps anew before it judges whether
/// remembering them pays.
constexpr std::size_t kMissesBeforeJudging = 1024;

/// The character at `at` and its length in bytes.
char32_t CharacterAt(std::string_view text, std::size_t at, std::size_t& length) {
  const auto lead = static_cast<unsigned char>(text[at]);
  length = 1;
  if (lead < 0x80) return lead;
  char32_t c = 0;
  const int sequence = utf8::DecodeSequence(text.substr(at), c);
  if (sequence <= 0) return kMalformedUnit;
  length = static_cast<std::size_t>(sequence);
  return c;
}

bool Holds(RegexAssertion assertion, bool atStart, bool atEnd, bool afterWord, bool beforeWord) {
  switch (assertion) {
    case RegexAssertion::kTextStart:
      return atStart;
    case RegexAssertion::kTextEnd:
      return atEnd;
    case RegexAssertion::kWordBoundary:
      return afterWord != beforeWord;
    case RegexAssertion::kNotWordBoundary:
      break;
  }
  return afterWord == beforeWord;
}

}  // namespace

std::size_t RegexSearcher::KeyHash::operator()(const StateKey& key) const {
  std::uint64_t hash = 0xcbf29ce484222325ull;
  for (const std::uint32_t value : key) hash = (hash ^ value) * 0x100000001b3ull;
  return static_cast<std::size_t>(hash ^ (hash >> 29));
}

RegexSearcher::RegexSearcher(std::shared_ptr<const RegexProgram> program, std::size_t budget)
    : program_(std::move(program)), budget_(budget), seen_(program_->instructions.size(), 0) {}

RegexSearcher::Result RegexSearcher::Search(std::string_view text,
                                            const std::function<bool()>& keepGoing) {
  const RegexProgram& program = *program_;
  if (program.literal && program.literal->size() <= kPlainSearchLongest) {
    return PlainSearch(text) ? Result::kFound : Result::kNotFound;
  }
  work_ = 0;
  question_ = kWorkBetweenQuestions;
  const std::size_t classes = program.ClassCount();
  std::int32_t state = StartState();
  std::size_t misses = 0;
  for (std::size_t at = 0, characters = 1; at < text.size(); ++characters) {
    std::size_t length = 1;
    const std::uint32_t k = program.ClassOf(CharacterAt(text, at, length));
    std::int32_t next = table_[static_cast<std::size_t>(state) * classes + k];
    if (next == kUnknown) {
      // Where nearly every character leads somewhere new, remembering costs
      // more than it saves: the rest goes without.
      if (++misses > kMissesBeforeJudging && misses * 4 > characters) {
        return SearchWithoutStates(text, at, *keys_[static_cast<std::size_t>(state)], keepGoing);
      }
      next = Transition(state, k);
    }
    if (next == kFoundHere) return Result::kFound;
    if (next == kNowhere) return Result::kNotFound;
    state = next;
    at += length;
    if (++work_ >= question_ && !KeepGoing(keepGoing)) return Result::kStopped;
  }
  return FoundAtEnd(state) ? Result::kFound : Result::kNotFound;
}

RegexSearcher::Result RegexSearcher::SearchWithoutStates(std::string_view text, std::size_t at,
                                                         StateKey state,
                                                         const std::function<bool()>& keepGoing) {
  const RegexProgram& program = *program_;
  StateKey next;
  while (at < text.size()) {
    std::size_t length = 1;
    const std::uint32_t k = program.ClassOf(CharacterAt(text, at, length));
    const bool word = program.usesWordBoundaries && IsWordCharacter(program.classStarts[k]);
    next.assign(1, word ? kAfterWord : 0);
    if (Follow(state, state[0], false, k, next)) return Result::kFound;
    if (next.size() == 1 && program.anchoredAtStart) return Result::kNotFound;
    state.swap(next);
    at += length;
    if (++work_ >= question_ && !KeepGoing(keepGoing)) return Result::kStopped;
  }
  StateKey unused;
  return Follow(state, state[0], true, 0, unused) ? Result::kFound : Result::kNotFound;
}

bool RegexSearcher::KeepGoing(const std::function<bool()>& keepGoing) {
  question_ = work_ + kWorkBetweenQuestions;
  return !keepGoing || keepGoing();
}

bool RegexSearcher::PlainSearch(std::string_view text) const {
  const std::string& literal = *program_->literal;
  return std::search(text.begin(), text.end(), literal.begin(), literal.end(),
                     [](char a, char b) { return AsciiLower(a) == b; }) != text.end() ||
         literal.empty();
}

std::int32_t RegexSearcher::StartState() {
  if (start_ == kUnknown) start_ = Intern({kAtStart});
  return start_;
}

std::int32_t RegexSearcher::Transition(std::int32_t state, std::uint32_t k) {
  const RegexProgram& program = *program_;
  const StateKey& key = *keys_[static_cast<std::size_t>(state)];
  StateKey taken;
  if (Follow(key, key[0], false, k, taken)) {
    table_[static_cast<std::size_t>(state) * program.ClassCount() + k] = kFoundHere;
    return kFoundHere;
  }
  std::sort(taken.begin(), taken.end());
  taken.erase(std::unique(taken.begin(), taken.end()), taken.end());
  std::int32_t next = kNowhere;
  // Past the start, a pattern that must begin there has nothing left.
  if (!taken.empty() || !program.anchoredAtStart) {
    const bool word = program.usesWordBoundaries && IsWordCharacter(program.classStarts[k]);
    taken.insert(taken.begin(), word ? kAfterWord : 0);
    const std::size_t flushes = flushes_;
    next = Intern(std::move(taken));
    // Forgetting the states for the budget took `state` away too.
    if (flushes_ != flushes) return next;
  }
  table_[static_cast<std::size_t>(state) * program.ClassCount() + k] = next;
  return next;
}

bool RegexSearcher::FoundAtEnd(std::int32_t state) {
  std::int8_t& known = foundAtEnd_[static_cast<std::size_t>(state)];
  if (known < 0) {
    StateKey unused;
    const StateKey& key = *keys_[static_cast<std::size_t>(state)];
    known = Follow(key, key[0], true, 0, unused) ? 1 : 0;
  }
  return known == 1;
}

bool RegexSearcher::Follow(const StateKey& state, std::uint32_t flags, bool atEnd, std::uint32_t k,
                           StateKey& taken) {
  const RegexProgram& program = *program_;
  if (++stamp_ == 0) {
    std::fill(seen_.begin(), seen_.end(), 0);
    stamp_ = 1;
  }
  const bool atStart = (flags & kAtStart) != 0;
  const bool afterWord = (flags & kAfterWord) != 0;
  const char32_t c = atEnd ? 0 : program.classStarts[k];
  const bool beforeWord = !atEnd && IsWordCharacter(c);
  stack_.assign(state.begin() + 1, state.end());
  // The search may begin at any character: the start joins every state.
  if (atStart || !program.anchoredAtStart) stack_.push_back(0);
  while (!stack_.empty()) {
    const std::uint32_t at = stack_.back();
    stack_.pop_back();
    if (seen_[at] == stamp_) continue;
    seen_[at] = stamp_;
    ++work_;
    const RegexInstruction& instruction = program.instructions[at];
    switch (instruction.op) {
      case Op::kMatch:
        return true;
      case Op::kSplit:
        stack_.push_back(instruction.other);
        stack_.push_back(instruction.next);
        break;
      case Op::kJump:
        stack_.push_back(instruction.next);
        break;
      case Op::kAssert:
        if (Holds(instruction.assertion, atStart, atEnd, afterWord, beforeWord)) {
          stack_.push_back(instruction.next);
        }
        break;
      case Op::kCharacters:
        if (!atEnd && program.sets[instruction.set].Contains(c)) taken.push_back(instruction.next);
        break;
    }
  }
  return false;
}

std::int32_t RegexSearcher::Intern(StateKey key) {
  const auto known = index_.find(key);
  if (known != index_.end()) return known->second;
  const std::size_t classes = program_->ClassCount();
  const std::size_t cost =
      (key.size() + classes) * sizeof(std::uint32_t) + sizeof(StateKey) + kStateOverhead;
  if (used_ + cost > budget_ && !keys_.empty()) Forget();
  const auto id = static_cast<std::int32_t>(keys_.size());
  const auto placed = index_.emplace(std::move(key), id).first;
  keys_.push_back(&placed->first);
  foundAtEnd_.push_back(-1);
  table_.resize(table_.size() + classes, kUnknown);
  used_ += cost;
  return id;
}

void RegexSearcher::Forget() {
  index_.clear();
  keys_.clear();
  foundAtEnd_.clear();
  table_.clear();
  used_ = 0;
  start_ = kUnknown;
  ++flushes_;
}

}  // namespace velorin
