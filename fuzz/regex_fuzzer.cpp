// The title filters' regular expressions: any pattern compiles or is refused
// with words, and a compiled one searches any title to an end; the answer is
// the same with states remembered and with every state forgotten at once,
// through the plain search of a word and through the automaton, and, for
// short printable ASCII, the same as std::regex's (ECMAScript, either case)
// wherever both take the pattern.
//
// Input: "PATTERN\nTITLE".
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <regex>
#include <string>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "text/regex_program.h"
#include "text/regex_search.h"

namespace {

using namespace velorin;

using Result = RegexSearcher::Result;

/// Titles searched with every state forgotten at each step may be this long.
constexpr std::size_t kForgetfulLongest = 256;
/// Patterns and titles std::regex is asked about may be this long.
constexpr std::size_t kCompareLongest = 24;

bool IsPrintableAscii(std::string_view text) {
  for (const char c : text) {
    if (c < 0x20 || c > 0x7E) return false;
  }
  return true;
}

/// What std::regex reads otherwise than ECMAScript (libstdc++'s empty and
/// POSIX brackets), or where it lacks what the search takes (\u{...}, \c).
bool ReadAlike(std::string_view pattern) {
  for (const std::string_view odd : {"[]", "[^]", "[:", "[.", "[=", "\\u", "\\c"}) {
    if (pattern.find(odd) != std::string_view::npos) return false;
  }
  return true;
}

/// What std::regex says, when it takes the pattern: its search that keeps
/// all ways at once, so that no pattern takes it long.
std::optional<bool> StdRegexFinds(std::string_view pattern, std::string_view title) {
  try {
    const std::regex regex(
        pattern.begin(), pattern.end(),
        std::regex::ECMAScript | std::regex::icase | std::regex_constants::__polynomial);
    return std::regex_search(title.begin(), title.end(), regex);
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void CheckSearch(const std::shared_ptr<const RegexProgram>& program, std::string_view pattern,
                 std::string_view title) {
  RegexSearcher searcher(program);
  const Result found = searcher.Search(title);
  FUZZ_CHECK(found != Result::kStopped);
  FUZZ_CHECK(searcher.Search(title) == found);
  if (title.size() <= kForgetfulLongest) {
    RegexSearcher forgetful(program, 1);
    FUZZ_CHECK(forgetful.Search(title) == found);
  }
  if (program->literal) {
    auto automaton = std::make_shared<RegexProgram>(*program);
    automaton->literal.reset();
    FUZZ_CHECK(RegexSearcher(automaton).Search(title) == found);
  }
  if (pattern.size() <= kCompareLongest && title.size() <= kCompareLongest &&
      IsPrintableAscii(pattern) && IsPrintableAscii(title) && ReadAlike(pattern)) {
    const std::optional<bool> expected = StdRegexFinds(pattern, title);
    FUZZ_CHECK(!expected || *expected == (found == Result::kFound));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\n');
  const std::string_view pattern = input.substr(0, split);
  const std::string_view title =
      split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
  const CompiledRegex compiled = CompileRegex(pattern);
  FUZZ_CHECK(compiled.program ? compiled.error.empty() : !compiled.error.empty());
  if (!compiled.program) return 0;
  FUZZ_CHECK(compiled.program->instructions.size() <= kRegexMaxInstructions + 1);
  CheckSearch(compiled.program, pattern, title);
  return 0;
}
