#include "text/search_pattern.h"

#include <gtest/gtest.h>

#include <string>

#include "text/key_value.h"

namespace velorin {
namespace {

constexpr std::size_t kNone = SearchPattern::kNotFound;

// Eight-byte comparison and byte-by-byte comparison must agree with the
// plain rule for every byte value: equal bytes, or equal after ASCII
// upper-casing under ignoreCase (nothing else changes case).
TEST(SearchPattern, ComparesEveryByteValueLikeAsciiUpperCasing) {
  const std::string patternBytes = "aAzZ@[`{09=_~";
  for (const bool ignoreCase : {false, true}) {
    for (const char p : patternBytes) {
      const std::string text = std::string(1, p) + "=";
      const SearchPattern pattern(text, ignoreCase);
      for (int b = 0; b < 256; ++b) {
        const char c = static_cast<char>(b);
        const bool same = ignoreCase ? AsciiUpper(c) == AsciiUpper(p) : c == p;
        const std::size_t expected = same ? 0 : kNone;
        // Long enough for the eight-byte comparison, and too short for it.
        EXPECT_EQ(pattern.FindIn(std::string(1, c) + "=--------", 0), expected)
            << ignoreCase << " " << p << " " << b;
        EXPECT_EQ(pattern.FindIn(std::string(1, c) + "=", 0), expected)
            << ignoreCase << " " << p << " " << b;
      }
    }
  }
}

TEST(SearchPattern, FindsPatternsAtEveryDistanceFromTheLineEnd) {
  for (std::size_t tail = 0; tail <= 10; ++tail) {
    const std::string line =
        "\x83\x69"
        "do=0/Ido=1" +
        std::string(tail, '/');
    EXPECT_EQ(SearchPattern("ido=", true).FindIn(line, 0), 7u) << tail;
    EXPECT_EQ(SearchPattern("ido=", false).FindIn(line, 0), kNone) << tail;
    EXPECT_EQ(SearchPattern("=1", false).FindIn(line, 0), 10u) << tail;
    EXPECT_EQ(SearchPattern("/", true).FindIn(line, 7), tail > 0 ? 12u : kNone) << tail;
  }
}

TEST(SearchPattern, PatternsLongerThanEightBytes) {
  const std::string line = "ORD=POI/TEX=a/tex=b/description=c";
  EXPECT_EQ(SearchPattern("/DESCRIPTION=", true).FindIn(line, 0), 19u);
  EXPECT_EQ(SearchPattern("/DESCRIPTION=", false).FindIn(line, 0), kNone);
  EXPECT_EQ(SearchPattern("/description=c", false).FindIn(line, 0), 19u);
}

TEST(SearchPattern, IsReadyAtCompileTime) {
  static constexpr SearchPattern kKey("/tex=", true);
  EXPECT_EQ(kKey.text(), "/tex=");
  EXPECT_TRUE(kKey.ignoreCase());
  EXPECT_EQ(kKey.FindIn("ORD=POI/TeX=1", 0), 7u);
}

TEST(ExtractKeyValueWithPatterns, EachPatternKeepsItsOwnLetterCaseRule) {
  const std::string line = "k=abcXdefxg";
  const SearchPattern exactKey("k=", false);
  EXPECT_EQ(ExtractKeyValue(line, exactKey, SearchPattern("x", true), 1, false, false), "abc");
  EXPECT_EQ(ExtractKeyValue(line, exactKey, SearchPattern("x", false), 1, false, false), "abcXdef");
  EXPECT_EQ(
      ExtractKeyValue(line, SearchPattern("K=", true), SearchPattern("X", false), 1, false, false),
      "abc");
  EXPECT_EQ(
      ExtractKeyValue(line, SearchPattern("K=", false), SearchPattern("X", false), 1, false, false),
      "");
}

TEST(ExtractKeyValueWithPatterns, GivesWhatTheTextFormGives) {
  const std::string lines[] = {
      "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3",
      "ORD=POI/tex=\"  \"/kei=1",
      "ORD=POI/tex=\x83\x69"
      "do=5/ido=7",
      "\x81\x81\x81ido=5",
  };
  const char* keys[] = {"/tex=", "/kei=", "ido=", "ORD="};
  for (const std::string& line : lines) {
    for (const char* key : keys) {
      for (int options = 0; options < 8; ++options) {
        const bool ignoreCase = options & 1, stripQuotes = options & 2, blankToEmpty = options & 4;
        EXPECT_EQ(ExtractKeyValue(line, SearchPattern(key, ignoreCase),
                                  SearchPattern("/", ignoreCase), 1, stripQuotes, blankToEmpty),
                  ExtractKeyValue(line, key, "/", 1, ignoreCase, stripQuotes, blankToEmpty))
            << line << " " << key << " " << options;
      }
    }
  }
}

}  // namespace
}  // namespace velorin
