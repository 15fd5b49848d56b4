// The regular expressions titles are searched with: what they find in
// titles (Latin and Japanese), with states remembered and forgotten at every
// step alike, and the patterns they refuse, with the words a user reads.
#include "text/regex_search.h"

#include <gtest/gtest.h>

#include <string>

#include "text/regex_program.h"

namespace velorin {
namespace {

struct FindCase {
  const char* name;
  const char* pattern;
  std::string title;
  bool found;
};

class RegexFindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(RegexFindTest, FindsWhatThePatternSays) {
  const FindCase& c = GetParam();
  const CompiledRegex compiled = CompileRegex(c.pattern);
  ASSERT_TRUE(compiled.program) << compiled.error;
  const auto expected = c.found ? RegexSearcher::Result::kFound : RegexSearcher::Result::kNotFound;
  RegexSearcher searcher(compiled.program);
  EXPECT_EQ(searcher.Search(c.title), expected);
  // Once more from the remembered states, and with none remembered.
  EXPECT_EQ(searcher.Search(c.title), expected);
  RegexSearcher forgetful(compiled.program, 1);
  EXPECT_EQ(forgetful.Search(c.title), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, RegexFindTest,
    ::testing::Values(
        FindCase{"WordAnywhere", "tower", "Tokyo Tower", true},
        FindCase{"AsciiLettersEitherCase", "TOKYO", "tokyo dome", true},
        FindCase{"WordMissing", "tower", "Tokyo Dome", false},
        FindCase{"WordLongerThanTheTitle", "tokyo tower", "tokyo", false},
        FindCase{"Alternatives", "tower|タワー", "京都タワー", true},
        FindCase{"JapaneseAtTheStart", "^東", "東京駅", true},
        FindCase{"JapaneseNotAtTheStart", "^京", "東京駅", false},
        FindCase{"JapaneseAtTheEnd", "タワー$", "東京タワー", true},
        FindCase{"DotIsOneCharacter", "^...$", "大阪城", true},
        FindCase{"DotIsNotOneByte", "^...$", "城", false},
        FindCase{"CountRepeatsTheCharacter", "^あ{2}$", "ああ", true},
        FindCase{"BracketHoldsCharacters", "^[東西]", "本町", false},
        FindCase{"BracketFindsItsCharacter", "^[東西]", "西口", true},
        FindCase{"RangeOfHiragana", "^[ぁ-ゖ]+$", "ひらがな", true},
        FindCase{"RangeOfHiraganaMissesKatakana", "^[ぁ-ゖ]+$", "カタカナ", false},
        FindCase{"NegatedClassTakesKanji", "^[^a-z]+$", "東京", true},
        FindCase{"NegatedLetterInBothCases", "[^a]", "A", false},
        FindCase{"RangeInBothCases", "^[a-z]+$", "ABC", true},
        FindCase{"Digits", "\\d{3}", "Route 246", true},
        FindCase{"NoDigitInDigits", "\\D", "123", false},
        FindCase{"WordCharactersAreAscii", "^\\w+$", "東京", false},
        FindCase{"IdeographicSpaceIsSpace", "東京\\s駅", "東京　駅", true},
        FindCase{"WordBoundary", "\\bdome\\b", "Tokyo Dome City", true},
        FindCase{"NoWordBoundaryInsideAWord", "\\bdome\\b", "Domestic", false},
        FindCase{"NotWordBoundary", "\\Bome", "Dome", true},
        FindCase{"WordBoundaryAtTheEnds", "^\\b.*\\b$", "Dome", true},
        FindCase{"WordBoundaryBesideKanji", "\\bcafe\\b", "東京cafe", true},
        FindCase{"EmptyFindsEverything", "", "anything", true},
        FindCase{"EmptyFindsTheEmptyTitle", "", "", true},
        FindCase{"EmptyAlternative", "x|", "abc", true},
        FindCase{"EmptyBracketFindsNothing", "[]", "abc", false},
        FindCase{"NegatedEmptyBracketFindsAny", "^[^]$", "東", true},
        FindCase{"LazyAsGreedy", "a.*?b", "a東b", true},
        FindCase{"EscapedDot", "St\\.", "Sta. Maria", false},
        FindCase{"HexEscape", "^\\x41", "apple", true},
        FindCase{"UnicodeEscape", "\\u6771京", "東京", true},
        FindCase{"CodePointEscape", "\\u{1F5FC}", "Tower 🗼", true},
        FindCase{"CountBetween", "^(?:ab){2,3}$", "ababab", true},
        FindCase{"CountBelowItsMinimum", "^(?:ab){2,3}$", "ab", false},
        FindCase{"CountAboveItsMaximum", "^(?:ab){2,3}$", "abababab", false},
        FindCase{"CountAtLeast", "^a{2,}$", "aaaaa", true},
        FindCase{"CountUpTo", "^a{0,2}$", "aaa", false},
        FindCase{"CountOfNone", "^xa{0}y$", "xy", true},
        FindCase{"RepeatedEmptyGroup", "(?:)*x", "x", true},
        FindCase{"NestedStarsWithoutTheEnd", "(a*)*b", "aaaaaaaaaaaaaaaaaaaaaaaa", false},
        FindCase{"StartInTheMiddle", "a^b", "ab", false},
        FindCase{"EndOrStart", "a$|^b", "bx", true},
        FindCase{"FullWidthLettersAreNotFolded", "tokyo", "ＴＯＫＹＯ", false},
        FindCase{"AccentedLettersAreNotFolded", "é", "CAFÉ", false},
        FindCase{"DotTakesAMalformedByte", "^a.b$",
                 "a\xff"
                 "b",
                 true},
        FindCase{"LetterMissesAMalformedByte", "\\xff", "\xff", false},
        FindCase{"DigitsAndDotInBrackets", "^[\\d.]+$", "3.5", true},
        FindCase{"DashLastInBrackets", "[a-]", "-", true},
        FindCase{"EscapedBracketInBrackets", "[\\]]", "]", true},
        FindCase{"ClosingSignsAlone", "a]}", "a]}", true},
        FindCase{"GroupedWordInBothCases", "(?:TOKYO)", "tokyo dome", true},
        FindCase{"LongWordByTheAutomaton",
                 "abcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghij",
                 "x ABCDEFGHIJabcdefghijabcdefghijabcdefghijabcdefghijabcdefghijabcdefghij", true}),
    [](const ::testing::TestParamInfo<FindCase>& info) { return info.param.name; });

struct RefusalCase {
  const char* name;
  std::string pattern;
  const char* error;
};

class RegexRefusalTest : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(RegexRefusalTest, RefusesWithWords) {
  const RefusalCase& c = GetParam();
  const CompiledRegex compiled = CompileRegex(c.pattern);
  EXPECT_FALSE(compiled.program);
  EXPECT_EQ(compiled.error, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, RegexRefusalTest,
    ::testing::Values(
        RefusalCase{"NotUtf8", "\x93\x8c", "it is not UTF-8 text"},
        RefusalCase{"GroupNotClosed", "(東京",
                    "'(' at character 1 is not closed: write \\( for "
                    "the character itself"},
        RefusalCase{"GroupNotOpened", "a)",
                    "')' at character 2 closes no group: write \\) for "
                    "the character itself"},
        RefusalCase{"NothingToRepeat", "*x",
                    "'*' at character 1 has nothing to repeat: write "
                    "\\* for the character itself"},
        RefusalCase{"AssertionRepeated", "^*",
                    "'*' at character 2 has nothing to repeat: write "
                    "\\* for the character itself"},
        RefusalCase{"RepetitionRepeated", "a**",
                    "'*' at character 3 repeats a repetition: put what it repeats in (?:...)"},
        RefusalCase{"BraceWithoutCount", "a{x}",
                    "'{' at character 2 begins no count {n}, {n,} or {n,m}: write \\{ for the "
                    "character itself"},
        RefusalCase{"CountBackwards", "a{3,1}",
                    "the count {3,1} at character 2 has its maximum below its minimum"},
        RefusalCase{"CountTooLarge", "x{1001}",
                    "the count {1001} at character 2 is above 1000, the most a count may be"},
        RefusalCase{"TooManyInstructions", "(?:x{1000}){11}",
                    "it is too large to search with: it would take more than 10000 steps (each "
                    "character counts once, a group once per repetition)"},
        RefusalCase{"BackReference", "(a)\\1",
                    "a back-reference \\1 at character 4: title filters do not support "
                    "back-references"},
        RefusalCase{"NamedBackReference", "\\k<n>",
                    "a named back-reference \\k at character 1: title filters do not support "
                    "back-references"},
        RefusalCase{"LookAhead", "a(?=b)",
                    "a look-ahead (?=...) at character 2: title filters do not support "
                    "look-arounds"},
        RefusalCase{"NegativeLookBehind", "(?<!a)b",
                    "a look-behind (?<!...) at character 1: title filters do not support "
                    "look-arounds"},
        RefusalCase{
            "NamedGroup", "(?<n>a)",
            "a named group (?<name>...) at character 1: title filters do not support names; "
            "write (?:...) or (...)"},
        RefusalCase{"UnknownGroup", "(?i)a",
                    "'(?' at character 1 begins no group: write (?:...) or (...), or \\( for the "
                    "character itself"},
        RefusalCase{"BracketNotClosed", "[ab",
                    "'[' at character 1 is not closed by ']': write \\[ for the character itself"},
        RefusalCase{"RangeBackwards", "[z-a]",
                    "the range z-a at character 2 runs backwards: its first character comes "
                    "after its last"},
        RefusalCase{"RangeOfAClass", "[\\d-z]",
                    "the range \\d-z at character 2 has a class such as \\d at an end: write \\- "
                    "for the character -"},
        RefusalCase{"PosixClass", "[[:alpha:]]",
                    "'[:' at character 2 begins a POSIX class such as [:alpha:], which is not "
                    "supported: name the characters, as [A-Za-z], or write \\[ for the bracket"},
        RefusalCase{"TrailingBackslash", "a\\",
                    "the pattern ends in a backslash: write \\\\ for the backslash itself"},
        RefusalCase{"UnknownEscape", "\\q",
                    "\\q at character 1 is no escape: write q alone for the character itself"},
        RefusalCase{"UnicodeProperty", "\\p{L}",
                    "\\p at character 1 (a Unicode property) is not supported: name the "
                    "characters in brackets, as [ぁ-ゖ] for hiragana"},
        RefusalCase{"ShortHexEscape", "\\x4",
                    "\\x at character 1 needs two hex digits, as \\x41 for A"},
        RefusalCase{"Surrogate", "\\uD83D",
                    "\\u at character 1 names half of a UTF-16 pair, which no title holds: write "
                    "the character, or \\u{...} with its code point"},
        RefusalCase{"CodePointTooLarge", "\\u{110000}",
                    "\\u{ at character 1 needs the hex digits of a code point up to 10FFFF and a "
                    "closing }, as \\u{1F5FC}"},
        RefusalCase{"NestedTooDeep", std::string(13'378, '(') + std::string(13'378, ')'),
                    "groups are nested more than 100 deep at character 101"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(RegexLimits, TakeWhatTheyAllow) {
  for (const std::string& pattern : {std::string(100, '(') + "a" + std::string(100, ')'),
                                     std::string("x{1000}"), std::string("(?:x{1000}){10}")}) {
    EXPECT_TRUE(CompileRegex(pattern).program) << pattern.substr(0, 20);
  }
}

// Where nearly every character of a long title leads to a set of ways not
// seen before, the search goes on without remembering them, finding the same.
TEST(RegexSearcher, FindsTheSameWhereNoStateComesTwice) {
  std::string title;
  for (unsigned bits = 12345; title.size() < 20'000; bits = bits * 1103515245 + 12345) {
    title += (bits >> 16) % 2 == 0 ? 'a' : 'b';
  }
  const std::string tail = std::string(1, 'a').append(20, 'b');
  struct Case {
    const char* pattern;
    std::string title;
    bool found;
  };
  const Case cases[] = {
      {"a[ab]{20}c", title, false},
      {"a[ab]{20}c", title + tail + "c", true},
      {"\\ba[ab]{20}$", title + " " + tail, true},
      {"\\ba[ab]{20}$", title + tail, false},
      {"[ab]{8}b{30}", title + std::string(38, 'b'), true},
  };
  for (const Case& c : cases) {
    const CompiledRegex compiled = CompileRegex(c.pattern);
    ASSERT_TRUE(compiled.program) << compiled.error;
    RegexSearcher searcher(compiled.program);
    EXPECT_EQ(searcher.Search(c.title) == RegexSearcher::Result::kFound, c.found) << c.pattern;
  }
}

// A long search asks whether to go on, and stops when told to.
TEST(RegexSearcher, AsksWhetherToGoOnDuringALongSearch) {
  const CompiledRegex compiled = CompileRegex("a.*b");
  ASSERT_TRUE(compiled.program);
  RegexSearcher searcher(compiled.program);
  const std::string title(1 << 20, 'a');
  int asked = 0;
  EXPECT_EQ(searcher.Search(title, [&] { return ++asked < 2; }), RegexSearcher::Result::kStopped);
  EXPECT_EQ(asked, 2);
  asked = 0;
  EXPECT_EQ(searcher.Search(title, [&] { return ++asked > 0; }), RegexSearcher::Result::kNotFound);
  EXPECT_GE(asked, 1);
  EXPECT_EQ(searcher.Search(title + "b", {}), RegexSearcher::Result::kFound);
}

}  // namespace
}  // namespace velorin
