#include "text/regex_syntax.h"

#include <utility>

#include "text/text_encoding.h"
#include "text/utf8.h"

namespace velorin {

namespace {

constexpr char32_t kNoCharacter = 0xFFFFFFFF;

bool IsAsciiDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsAsciiLetter(char32_t c) { return (c >= U'A' && c <= U'Z') || (c >= U'a' && c <= U'z'); }

int HexValue(char32_t c) {
  if (IsAsciiDigit(c)) return static_cast<int>(c - U'0');
  if (c >= U'a' && c <= U'f') return static_cast<int>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<int>(c - U'A' + 10);
  return -1;
}

/// A character of a bracket expression, or a class escape such as \d in it.
struct ClassItem {
  char32_t character = 0;
  std::optional<CodePointSet> set;
};

/// What a group's sequence ends with, which decides whether a count may
/// follow.
enum class Last { kNothing, kAtom, kAssertion, kRepeated };

/// An open group: the alternatives closed so far and the one being read.
struct OpenGroup {
  std::vector<std::uint32_t> alternatives;
  std::vector<std::uint32_t> sequence;
  std::size_t openedAt = 0;  ///< the character number of its "("
  Last last = Last::kNothing;
};

class RegexReader {
 public:
  explicit RegexReader(std::string_view pattern) : pattern_(pattern) {}

  ParsedRegex Read() {
    ParsedRegex parsed;
    if (!IsValidUtf8(pattern_)) {
      parsed.error = "it is not UTF-8 text";
      return parsed;
    }
    groups_.emplace_back();
    while (at_ < pattern_.size()) {
      if (!Token()) {
        parsed.error = std::move(error_);
        return parsed;
      }
    }
    if (groups_.size() > 1) {
      parsed.error = "'(' at character " + std::to_string(groups_.back().openedAt) +
                     " is not closed: write \\( for the character itself";
      return parsed;
    }
    tree_.root = Finished(groups_.back());
    parsed.tree = std::move(tree_);
    return parsed;
  }

 private:
  bool AtEnd() const { return at_ >= pattern_.size(); }

  char32_t Peek() const {
    if (AtEnd()) return kNoCharacter;
    char32_t c = 0;
    utf8::DecodeSequence(pattern_.substr(at_), c);
    return c;
  }

  /// The next character, read; the pattern is well-formed UTF-8.
  char32_t Next() {
    char32_t c = 0;
    at_ += static_cast<std::size_t>(utf8::DecodeSequence(pattern_.substr(at_), c));
    ++characters_;
    return c;
  }

  bool Fail(std::string words) {
    error_ = std::move(words);
    return false;
  }

  std::string At(std::size_t character) const {
    return " at character " + std::to_string(character);
  }

  std::uint32_t AddNode(RegexNode node) {
    tree_.nodes.push_back(std::move(node));
    return static_cast<std::uint32_t>(tree_.nodes.size() - 1);
  }

  void Append(RegexNode node, Last last) {
    OpenGroup& group = groups_.back();
    group.sequence.push_back(AddNode(std::move(node)));
    group.last = last;
  }

  void AppendCharacters(CodePointSet set) {
    set.FoldAsciiCase();
    tree_.sets.push_back(std::move(set));
    RegexNode node;
    node.kind = RegexNode::Kind::kCharacters;
    node.set = static_cast<std::uint32_t>(tree_.sets.size() - 1);
    Append(std::move(node), Last::kAtom);
  }

  void AppendAssertion(RegexAssertion assertion) {
    RegexNode node;
    node.kind = RegexNode::Kind::kAssertion;
    node.assertion = assertion;
    Append(std::move(node), Last::kAssertion);
  }

  std::uint32_t SequenceNode(std::vector<std::uint32_t>& sequence) {
    if (sequence.size() == 1) return sequence[0];
    RegexNode node;
    node.kind = sequence.empty() ? RegexNode::Kind::kEmpty : RegexNode::Kind::kConcat;
    node.children = std::move(sequence);
    return AddNode(std::move(node));
  }

  std::uint32_t Finished(OpenGroup& group) {
    group.alternatives.push_back(SequenceNode(group.sequence));
    if (group.alternatives.size() == 1) return group.alternatives[0];
    RegexNode node;
    node.kind = RegexNode::Kind::kAlternation;
    node.children = std::move(group.alternatives);
    return AddNode(std::move(node));
  }

  bool Token();
  bool Open(std::size_t position);
  bool Close(std::size_t position);
  bool Repeat(std::uint32_t min, std::uint32_t max, std::size_t position, std::size_t from);
  bool Count(std::size_t position, std::size_t from);
  std::optional<std::uint32_t> Number();
  bool Escape(std::size_t position);
  std::optional<char32_t> EscapedCharacter(char32_t c, std::size_t position);
  std::optional<char32_t> CodePointEscape(std::size_t position);
  bool BracketExpression(std::size_t position);
  bool ClassRange(CodePointSet& set, std::size_t position);
  std::optional<ClassItem> ReadClassItem(std::size_t bracket);

  std::string_view pattern_;
  std::size_t at_ = 0;          ///< bytes read
  std::size_t characters_ = 0;  ///< characters read
  RegexTree tree_;
  std::vector<OpenGroup> groups_;
  std::string error_;
};

bool RegexReader::Token() {
  const std::size_t from = at_;
  const std::size_t position = characters_ + 1;
  const char32_t c = Next();
  switch (c) {
    case U'(':
      return Open(position);
    case U')':
      return Close(position);
    case U'|': {
      OpenGroup& group = groups_.back();
      group.alternatives.push_back(SequenceNode(group.sequence));
      group.sequence.clear();
      group.last = Last::kNothing;
      return true;
    }
    case U'*':
      return Repeat(0, kRegexUnbounded, position, from);
    case U'+':
      return Repeat(1, kRegexUnbounded, position, from);
    case U'?':
      return Repeat(0, 1, position, from);
    case U'{':
      return Count(position, from);
    case U'^':
      AppendAssertion(RegexAssertion::kTextStart);
      return true;
    case U'$':
      AppendAssertion(RegexAssertion::kTextEnd);
      return true;
    case U'.': {
      CodePointSet any;
      any.Add(0, kMalformedUnit);
      AppendCharacters(std::move(any));
      return true;
    }
    case U'[':
      return BracketExpression(position);
    case U'\\':
      return Escape(position);
    default:
      AppendCharacters(CodePointSet(c));
      return true;
  }
}

bool RegexReader::Open(std::size_t position) {
  if (groups_.size() > kRegexMaxNesting) {
    return Fail("groups are nested more than " + std::to_string(kRegexMaxNesting) + " deep" +
                At(position));
  }
  if (Peek() == U'?') {
    Next();
    const char32_t kind = AtEnd() ? kNoCharacter : Next();
    if (kind == U'=' || kind == U'!') {
      return Fail("a look-ahead (?" + std::string(1, static_cast<char>(kind)) + "...)" +
                  At(position) + ": title filters do not support look-arounds");
    }
    if (kind == U'<' && (Peek() == U'=' || Peek() == U'!')) {
      return Fail("a look-behind (?<" + std::string(1, static_cast<char>(Peek())) + "...)" +
                  At(position) + ": title filters do not support look-arounds");
    }
    if (kind == U'<') {
      return Fail("a named group (?<name>...)" + At(position) +
                  ": title filters do not support names; write (?:...) or (...)");
    }
    if (kind != U':') {
      return Fail("'(?'" + At(position) +
                  " begins no group: write (?:...) or (...), or \\( for the character itself");
    }
  }
  OpenGroup group;
  group.openedAt = position;
  groups_.push_back(std::move(group));
  return true;
}

bool RegexReader::Close(std::size_t position) {
  if (groups_.size() == 1) {
    return Fail("')'" + At(position) + " closes no group: write \\) for the character itself");
  }
  const std::uint32_t node = Finished(groups_.back());
  groups_.pop_back();
  OpenGroup& outer = groups_.back();
  outer.sequence.push_back(node);
  outer.last = Last::kAtom;
  return true;
}

bool RegexReader::Repeat(std::uint32_t min, std::uint32_t max, std::size_t position,
                         std::size_t from) {
  OpenGroup& group = groups_.back();
  const std::string given(pattern_.substr(from, at_ - from));
  if (group.last == Last::kNothing || group.last == Last::kAssertion) {
    return Fail("'" + given + "'" + At(position) + " has nothing to repeat: write \\" +
                given.substr(0, 1) + " for the character itself");
  }
  if (group.last == Last::kRepeated) {
    return Fail("'" + given + "'" + At(position) +
                " repeats a repetition: put what it repeats in (?:...)");
  }
  // A lazy count ("*?") finds the same titles as a greedy one.
  if (Peek() == U'?') Next();
  RegexNode node;
  node.kind = RegexNode::Kind::kRepeat;
  node.min = min;
  node.max = max;
  node.children = {group.sequence.back()};
  group.sequence.back() = AddNode(std::move(node));
  group.last = Last::kRepeated;
  return true;
}

std::optional<std::uint32_t> RegexReader::Number() {
  if (!IsAsciiDigit(Peek())) return std::nullopt;
  std::uint32_t value = 0;
  while (IsAsciiDigit(Peek())) {
    const std::uint32_t digit = Next() - U'0';
    // Past the limit the exact value no longer matters.
    value = value > kRegexMaxCount ? kRegexMaxCount + 1 : value * 10 + digit;
  }
  return value;
}

bool RegexReader::Count(std::size_t position, std::size_t from) {
  const std::string notACount = "'{'" + At(position) +
                                " begins no count {n}, {n,} or {n,m}: write \\{ for the "
                                "character itself";
  const std::optional<std::uint32_t> min = Number();
  if (!min) return Fail(notACount);
  std::uint32_t max = *min;
  if (Peek() == U',') {
    Next();
    max = IsAsciiDigit(Peek()) ? *Number() : kRegexUnbounded;
  }
  if (Peek() != U'}') return Fail(notACount);
  Next();
  const std::string count(pattern_.substr(from, at_ - from));
  if (*min > kRegexMaxCount || (max != kRegexUnbounded && max > kRegexMaxCount)) {
    return Fail("the count " + count + At(position) + " is above " +
                std::to_string(kRegexMaxCount) + ", the most a count may be");
  }
  if (max < *min) {
    return Fail("the count " + count + At(position) + " has its maximum below its minimum");
  }
  // Repeat() reads a lazy "?" after the count.
  return Repeat(*min, max, position, from);
}

bool RegexReader::Escape(std::size_t position) {
  if (AtEnd()) return Fail("the pattern ends in a backslash: write \\\\ for the backslash itself");
  const char32_t c = Next();
  std::optional<CodePointSet> set;
  switch (c) {
    case U'd':
    case U'D':
      set = DigitCharacters();
      break;
    case U'w':
    case U'W':
      set = WordCharacters();
      break;
    case U's':
    case U'S':
      set = SpaceCharacters();
      break;
    case U'b':
      AppendAssertion(RegexAssertion::kWordBoundary);
      return true;
    case U'B':
      AppendAssertion(RegexAssertion::kNotWordBoundary);
      return true;
    default: {
      const std::optional<char32_t> character = EscapedCharacter(c, position);
      if (!character) return false;
      AppendCharacters(CodePointSet(*character));
      return true;
    }
  }
  set->Normalize();
  if (c == U'D' || c == U'W' || c == U'S') set->Invert();
  AppendCharacters(std::move(*set));
  return true;
}

std::optional<char32_t> RegexReader::EscapedCharacter(char32_t c, std::size_t position) {
  const std::string escape = "\\" + std::string(1, static_cast<char>(c < 0x80 ? c : '?'));
  switch (c) {
    case U't':
      return U'\t';
    case U'n':
      return U'\n';
    case U'v':
      return U'\v';
    case U'f':
      return U'\f';
    case U'r':
      return U'\r';
    case U'0':
      if (!IsAsciiDigit(Peek())) return U'\0';
      Fail("\\0 followed by a digit" + At(position) + " is not supported (no octal escapes)");
      return std::nullopt;
    case U'x': {
      const int high = HexValue(Peek());
      if (high >= 0) Next();
      const int low = high >= 0 ? HexValue(Peek()) : -1;
      if (low < 0) {
        Fail("\\x" + At(position) + " needs two hex digits, as \\x41 for A");
        return std::nullopt;
      }
      Next();
      return static_cast<char32_t>(high * 16 + low);
    }
    case U'u':
      return CodePointEscape(position);
    case U'c':
      if (IsAsciiLetter(Peek())) return Next() % 32;
      Fail("\\c" + At(position) + " needs a letter after it, as \\cI for a tab");
      return std::nullopt;
    case U'k':
      Fail("a named back-reference \\k" + At(position) +
           ": title filters do not support back-references");
      return std::nullopt;
    case U'p':
    case U'P':
      Fail(escape + At(position) +
           " (a Unicode property) is not supported: name the "
           "characters in brackets, as [ぁ-ゖ] for hiragana");
      return std::nullopt;
    default:
      break;
  }
  if (c >= U'1' && c <= U'9') {
    Fail("a back-reference " + escape + At(position) +
         ": title filters do not support back-references");
    return std::nullopt;
  }
  if (IsAsciiLetter(c) || IsAsciiDigit(c)) {
    Fail(escape + At(position) + " is no escape: write " + escape.substr(1) +
         " alone for the character itself");
    return std::nullopt;
  }
  return c;  // a sign or a character beyond ASCII stands for itself
}

std::optional<char32_t> RegexReader::CodePointEscape(std::size_t position) {
  char32_t value = 0;
  if (Peek() == U'{') {
    Next();
    int digits = 0;
    while (HexValue(Peek()) >= 0 && digits < 7) {
      value = value * 16 + static_cast<char32_t>(HexValue(Next()));
      ++digits;
    }
    if (digits == 0 || Peek() != U'}' || value > 0x10FFFF) {
      Fail("\\u{" + At(position) +
           " needs the hex digits of a code point up to 10FFFF and "
           "a closing }, as \\u{1F5FC}");
      return std::nullopt;
    }
    Next();
  } else {
    for (int i = 0; i < 4; ++i) {
      if (HexValue(Peek()) < 0) {
        Fail("\\u" + At(position) + " needs four hex digits, as \\u6771 for 東");
        return std::nullopt;
      }
      value = value * 16 + static_cast<char32_t>(HexValue(Next()));
    }
  }
  if (value >= 0xD800 && value <= 0xDFFF) {
    Fail("\\u" + At(position) +
         " names half of a UTF-16 pair, which no title holds: write "
         "the character, or \\u{...} with its code point");
    return std::nullopt;
  }
  return value;
}

bool RegexReader::BracketExpression(std::size_t position) {
  CodePointSet set;
  bool negated = false;
  if (Peek() == U'^') {
    Next();
    negated = true;
  }
  while (true) {
    if (AtEnd()) {
      return Fail("'['" + At(position) +
                  " is not closed by ']': write \\[ for the character itself");
    }
    if (Peek() == U']') {
      Next();
      break;
    }
    if (!ClassRange(set, position)) return false;
  }
  // [^a] takes neither a nor A: fold before inverting.
  set.FoldAsciiCase();
  if (negated) set.Invert();
  AppendCharacters(std::move(set));
  return true;
}

bool RegexReader::ClassRange(CodePointSet& set, std::size_t bracket) {
  const std::size_t from = at_;
  const std::size_t position = characters_ + 1;
  const std::optional<ClassItem> first = ReadClassItem(bracket);
  if (!first) return false;
  // A "-" first, last or after a range is the character itself.
  if (Peek() != U'-' || at_ + 1 >= pattern_.size() || pattern_[at_ + 1] == ']') {
    if (first->set) {
      set.Add(*first->set);
    } else {
      set.Add(first->character, first->character);
    }
    return true;
  }
  Next();
  const std::optional<ClassItem> last = ReadClassItem(bracket);
  if (!last) return false;
  const std::string range(pattern_.substr(from, at_ - from));
  if (first->set || last->set) {
    return Fail("the range " + range + At(position) +
                " has a class such as \\d at an end: write \\- for the character -");
  }
  if (first->character > last->character) {
    return Fail("the range " + range + At(position) + " runs backwards: its first character " +
                "comes after its last");
  }
  set.Add(first->character, last->character);
  return true;
}

std::optional<ClassItem> RegexReader::ReadClassItem(std::size_t bracket) {
  if (AtEnd()) {
    Fail("'['" + At(bracket) + " is not closed by ']': write \\[ for the character itself");
    return std::nullopt;
  }
  const std::size_t position = characters_ + 1;
  const char32_t c = Next();
  ClassItem item;
  item.character = c;
  if (c == U'[' && (Peek() == U':' || Peek() == U'.' || Peek() == U'=')) {
    Fail("'[" + std::string(1, static_cast<char>(Peek())) + "'" + At(position) +
         " begins a POSIX class such as [:alpha:], which is not supported: name the "
         "characters, as [A-Za-z], or write \\[ for the bracket");
    return std::nullopt;
  }
  if (c != U'\\') return item;
  if (AtEnd()) {
    Fail("'['" + At(bracket) + " is not closed by ']': write \\[ for the character itself");
    return std::nullopt;
  }
  const char32_t e = Next();
  switch (e) {
    case U'd':
    case U'D':
      item.set = DigitCharacters();
      break;
    case U'w':
    case U'W':
      item.set = WordCharacters();
      break;
    case U's':
    case U'S':
      item.set = SpaceCharacters();
      break;
    case U'b':
      item.character = U'\b';  // a backspace, in brackets
      return item;
    case U'-':
      item.character = U'-';
      return item;
    default: {
      const std::optional<char32_t> character = EscapedCharacter(e, position);
      if (!character) return std::nullopt;
      item.character = *character;
      return item;
    }
  }
  item.set->Normalize();
  if (e == U'D' || e == U'W' || e == U'S') item.set->Invert();
  return item;
}

}  // namespace

ParsedRegex ParseRegex(std::string_view pattern) { return RegexReader(pattern).Read(); }

}  // namespace velorin
