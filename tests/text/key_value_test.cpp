#include "text/key_value.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace velorin {
namespace {

// How the conversion reads the fields of a point line.
std::string_view Field(std::string_view line, std::string_view key) {
  return ExtractKeyValue(line, key, "/", 1, true, true, true);
}

struct Case {
  std::string line;
  std::string key;
  std::string expected;
};

TEST(ExtractKeyValue, ReadsTheFieldsOfAPointLine) {
  const std::string line = "ORD=POI/tex=Tower/kei=139'46'1'6/ido=35'40'52'3";
  const Case cases[] = {
      {line, "/tex=", "Tower"},
      {line, "/kei=", "139'46'1'6"},
      {line, "ido=", "35'40'52'3"},
      {"ORD=POI/TEX=Tower/kei=1", "/tex=", "Tower"},
      {"ORD=POI/tex=/kei=1", "/tex=", ""},
      {"ORD=POI/tex=", "/tex=", ""},
      {"ORD=POI/tex=   /kei=1", "/tex=", ""},
      {"ORD=POI/tex= Tower /kei=1", "/tex=", " Tower "},
      {"ORD=POI/kei=1", "/tex=", ""},
      {"ORD=POI/tex=\"Tower\"/kei=1", "/tex=", "Tower"},
      {"ORD=POI/tex=\"/kei=1", "/tex=", ""},
      {"ORD=POI/tex=\"Tower/kei=1", "/tex=", "Tower"},
      {"ORD=POI/tex=Tower\"/kei=1", "/tex=", "Tower"},
      {"ORD=POI/tex=\"\"\"/kei=1", "/tex=", "\""},
      {"ORD=POI/tex=a\"b/kei=1", "/tex=", "a\"b"},
      {"ORD=POI/tex=\" \"/kei=1", "/tex=", ""},
      {"ORD=POI/tex=\t/kei=1", "/tex=", "\t"},
      {"ORD=POI/tex=Kaido=x/kei=1/ido=35'0'0'0", "ido=", "x"},
      {"ORD=POI/tex=first/tex=second", "/tex=", "first"},
      {"ORD=POI/tex=A/B/kei=1", "/tex=", "A"},
      {"ORD=POI/Tex=a/kEI=b/IDO=c", "ido=", "c"},
      {"ORD=POI/tex=a/KEI=b/ido=c", "/kei=", "b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Field(c.line, c.key), c.expected) << c.line << " " << c.key;
  }
}

TEST(ExtractKeyValue, WithEveryOptionOffReturnsTheExactText) {
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=\" a \"/kei=1", "/tex=", "/", 1, false, false, false),
            "\" a \"");
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=   /kei=1", "/tex=", "/", 1, false, false, false), "   ");
  EXPECT_EQ(ExtractKeyValue("ORD=POI/TEX=Tower", "/tex=", "/", 1, false, false, false), "");
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=a/KEI=b/kei=c", "/kei=", "/", 1, false, false, false),
            "c");
}

TEST(ExtractKeyValue, OptionsActIndependently) {
  const std::string line = "ORD=POI/tex=\"  \"/kei=1";
  EXPECT_EQ(ExtractKeyValue(line, "/tex=", "/", 1, true, true, false), "  ");
  EXPECT_EQ(ExtractKeyValue(line, "/tex=", "/", 1, true, false, true), "\"  \"");
  EXPECT_EQ(ExtractKeyValue(line, "/tex=", "/", 1, true, true, true), "");
  // Case is ignored for the delimiter too.
  EXPECT_EQ(ExtractKeyValue("k=abcXdef", "K=", "x", 1, true, false, false), "abc");
  EXPECT_EQ(ExtractKeyValue("k=abcXdef", "k=", "x", 1, false, false, false), "abcXdef");
}

TEST(ExtractKeyValue, ReturnsAViewIntoTheLine) {
  const std::string line = "ORD=POI/TEX=Tower/kei=1";
  const std::string_view value = Field(line, "/tex=");
  EXPECT_EQ(value.data(), line.data() + 12);
  EXPECT_EQ(value, "Tower");  // cut from the line, not from an upper-case copy
}

TEST(ExtractKeyValue, StartPositionCountsCharacters) {
  // Characters: 1 is a double-byte katakana, 2 "/", 3 "k", ... 6 "/", 7 "k".
  const std::string line = "\x83\x41/k=1/k=2";
  EXPECT_EQ(ExtractKeyValue(line, "/k=", "/", 2, true, true, true), "1");
  EXPECT_EQ(ExtractKeyValue(line, "/k=", "/", 3, true, true, true), "2");
  EXPECT_EQ(ExtractKeyValue(line, "/k=", "/", 7, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue(line, "/k=", "/", 100, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue(line, "/k=", "/", 32767, true, true, true), "");
}

TEST(ExtractKeyValue, StartPositionBelowOneFails) {
  EXPECT_EQ(ExtractKeyValue("k=1", "k=", "/", 0, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue("k=1", "k=", "/", -1, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue("k=1", "k=", "/", -32768, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue("k=1", "k=", "/", 1, true, true, true), "1");
}

TEST(ExtractKeyValue, ADelimiterInsideTheKeyFails) {
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=abc/kei=1", "/tex=", "e", 1, true, true, true), "");
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=abc/kei=1", "/tex=", "=", 1, true, true, true), "");
  // The key's own first character is never searched for the delimiter.
  EXPECT_EQ(ExtractKeyValue("ORD=POI/tex=abc/kei=1", "/tex=", "/", 1, true, true, true), "abc");
  // A delimiter that begins inside the key and ends after it also fails.
  EXPECT_EQ(ExtractKeyValue("k=abc", "k=", "=a", 1, false, false, false), "");
  // One that begins right after the key gives an empty value.
  EXPECT_EQ(ExtractKeyValue("k=/abc", "k=", "/a", 1, false, false, false), "");
}

TEST(ExtractKeyValue, KeepsDoubleByteTitlesWhole) {
  // Tokyo Tower in CP932: the trail bytes 0x5E, 0x5B and 0x5C look like ASCII.
  const std::string title = "\x93\x8c\x8b\x9e\x83\x5e\x83\x8f\x81\x5b\x95\x5c";
  const std::string line = "ORD=POI/tex=" + title + "/kei=139'46'1'6/ido=35'40'52'3";
  EXPECT_EQ(Field(line, "/tex="), title);
  EXPECT_EQ(Field(line, "/kei="), "139'46'1'6");
  EXPECT_EQ(Field(line, "ido="), "35'40'52'3");
  // Double-byte characters right before and after keys.
  EXPECT_EQ(Field("\x82\xa0/tex=\x82\xa2/kei=1", "/tex="), "\x82\xa2");
  EXPECT_EQ(Field("\x82\xa0ido=\x82\xa2", "ido="), "\x82\xa2");
}

TEST(ExtractKeyValue, KeysNeverMatchInsideADoubleByteCharacter) {
  // 0x83 0x69 is one character whose trail byte is the letter "i".
  EXPECT_EQ(Field("ORD=POI/tex=\x83\x69"
                  "do=5/kei=1",
                  "ido="),
            "");
  EXPECT_EQ(Field("ORD=POI/tex=\x83\x69"
                  "do=5/ido=7",
                  "ido="),
            "7");
  EXPECT_EQ(Field("ORD=POI/tex=\x83\x49"
                  "DO=5",
                  "ido="),
            "");
  // Bytes in the lead range pair up from the last character boundary on.
  EXPECT_EQ(Field("\x81\x81\x81ido=5", "ido="), "");
  EXPECT_EQ(Field("\x81\x81ido=5", "ido="), "5");
  EXPECT_EQ(Field("/\x81\x81\x81Ido=5/ido=6", "ido="), "6");
  EXPECT_EQ(Field("/\x81\x81\x81\x81Ido=5/ido=6", "ido="), "5");
  // A lead byte before a non-trail byte is a character of its own.
  EXPECT_EQ(Field("ORD=POI\x81/tex=5", "/tex="), "5");
  EXPECT_EQ(Field("ORD=POI/tex=a\x81/kei=1", "/tex="), "a\x81");
}

TEST(ExtractKeyValue, ADelimiterNeverMatchesInsideADoubleByteCharacter) {
  // 0x95 0x5C ends in the byte of a backslash.
  const std::string line =
      "k=\x95\x5c"
      "a\\b";
  EXPECT_EQ(ExtractKeyValue(line, "k=", "\\", 1, false, false, false),
            "\x95\x5c"
            "a");
  // "/" (0x2F) is never a trail byte, so it always ends the value.
  EXPECT_EQ(ExtractKeyValue("k=\x95/x", "k=", "/", 1, false, false, false), "\x95");
}

TEST(ExtractKeyValue, UpperCasingLeavesDoubleByteCharactersAlone) {
  // Trail bytes 0x61 ("a") and 0x41 ("A") belong to different characters.
  EXPECT_EQ(ExtractKeyValue("\x83\x41=1", "\x83\x61=", "/", 1, true, false, false), "");
  EXPECT_EQ(ExtractKeyValue("\x83\x61=1", "\x83\x61=", "/", 1, true, false, false), "1");
  EXPECT_EQ(ExtractKeyValue("\x83\x61=1", "\x83\x61=", "/", 1, false, false, false), "1");
  // A key ending in a lead byte does not match the first half of a character.
  EXPECT_EQ(ExtractKeyValue("ab\x83\x41=1", "ab\x83", "/", 1, true, false, false), "");
  // The value keeps its own bytes although the key was found case-blind.
  EXPECT_EQ(ExtractKeyValue("/TEX=\x83\x61x", "/tex=", "/", 1, true, false, false), "\x83\x61x");
}

TEST(ExtractKeyValue, EmptyKeyOrDelimiterOccurAtEveryCharacter) {
  EXPECT_EQ(ExtractKeyValue("abc", "", "/", 2, false, false, false), "bc");
  EXPECT_EQ(ExtractKeyValue("abc", "", "/", 4, false, false, false), "");
  EXPECT_EQ(ExtractKeyValue("k=abc", "=", "", 1, false, false, false), "");
  EXPECT_EQ(ExtractKeyValue("k=abc", "k=", "", 1, false, false, false), "");
}

std::string Padding(std::size_t characters, bool doubleByte) {
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) text += doubleByte ? "\x82\xa0" : "x";
  return text;
}

TEST(ExtractKeyValue, KeyPositionsAreLimitedTo32767Characters) {
  for (bool doubleByte : {false, true}) {
    // The key at position 32765: value position 32767.
    EXPECT_EQ(Field(Padding(32764, doubleByte) + "k=v", "k="), "v") << doubleByte;
    // The key at 32766: the value would begin at 32768.
    EXPECT_EQ(Field(Padding(32765, doubleByte) + "k=v", "k="), "") << doubleByte;
    // The key at 32767: the delimiter search would begin at 32768.
    EXPECT_EQ(Field(Padding(32766, doubleByte) + "=v", "="), "") << doubleByte;
    // Beyond 32767 the key is unusable.
    EXPECT_EQ(Field(Padding(40000, doubleByte) + "k=v", "k="), "") << doubleByte;
  }
}

TEST(ExtractKeyValue, DelimiterPositionsAreLimitedTo32767Characters) {
  for (bool doubleByte : {false, true}) {
    const std::string head = "k=" + Padding(32764, doubleByte);  // 32766 characters
    EXPECT_EQ(Field(head + "/", "k=").size(), head.size() - 2) << doubleByte;
    EXPECT_EQ(Field(head + "y/", "k="), "") << doubleByte;
    // Without any delimiter the value runs to the end of a long line.
    EXPECT_EQ(Field(head + std::string(10000, 'y'), "k=").size(), head.size() - 2 + 10000)
        << doubleByte;
  }
}

// A plain model: split both texts into characters, compare character lists.
std::vector<std::string> Characters(const std::string& text) {
  std::vector<std::string> characters;
  for (std::size_t at = 0; at < text.size();) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const bool pair = ((lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc)) &&
                      at + 1 < text.size() &&
                      ((static_cast<unsigned char>(text[at + 1]) >= 0x40 &&
                        static_cast<unsigned char>(text[at + 1]) <= 0x7e) ||
                       (static_cast<unsigned char>(text[at + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[at + 1]) <= 0xfc));
    characters.push_back(text.substr(at, pair ? 2 : 1));
    at += pair ? 2 : 1;
  }
  return characters;
}

// 0-based index of the first occurrence at or after `from`, or -1.
long ModelFind(const std::vector<std::string>& line, const std::vector<std::string>& pattern,
               long from, bool ignoreCase) {
  auto fold = [&](std::string c) {
    if (ignoreCase && c.size() == 1 && c[0] >= 'a' && c[0] <= 'z') c[0] -= 32;
    return c;
  };
  for (long at = from; at < static_cast<long>(line.size()); ++at) {
    if (at + pattern.size() > line.size()) break;
    bool same = true;
    for (std::size_t i = 0; i < pattern.size() && same; ++i) {
      same = fold(line[at + i]) == fold(pattern[i]);
    }
    if (same) return at;
  }
  return -1;
}

std::string ModelExtract(const std::string& text, const std::string& keyText,
                         const std::string& delimiterText, int start, bool ignoreCase,
                         bool stripQuotes, bool blankToEmpty) {
  if (start < 1) return "";
  const auto line = Characters(text);
  const auto key = Characters(keyText);
  const long k = ModelFind(line, key, start - 1, ignoreCase);
  if (k < 0) return "";
  const long d = ModelFind(line, Characters(delimiterText), k + 1, ignoreCase);
  const long valueBegin = k + static_cast<long>(key.size());
  const long valueEnd = d >= 0 ? d : static_cast<long>(line.size());
  if (valueEnd < valueBegin) return "";
  std::string value;
  for (long i = valueBegin; i < valueEnd; ++i) value += line[i];
  if (stripQuotes && !value.empty() && value.front() == '"') value.erase(0, 1);
  if (stripQuotes && !value.empty() && value.back() == '"') value.pop_back();
  if (blankToEmpty && value.find_first_not_of(' ') == std::string::npos) return "";
  return value;
}

TEST(ExtractKeyValue, AgreesWithACharacterListModelOnRandomLines) {
  // Bytes that form keys, delimiters, lead and trail bytes and quotes.
  const std::string bytes = "/=ido\"I \x81\x83\x95\xe0\x5c\x69\xa0\xfd";
  const std::vector<std::string> patterns = {"ido=", "/tex=",    "/",    "=", "\\",
                                             "I",    "\x83\x69", "\x81", "",  "/i"};
  std::mt19937 random(99);
  std::uniform_int_distribution<std::size_t> length(0, 24);
  std::uniform_int_distribution<std::size_t> byte(0, bytes.size() - 1);
  std::uniform_int_distribution<std::size_t> pattern(0, patterns.size() - 1);
  std::uniform_int_distribution<int> start(-1, 8);
  std::uniform_int_distribution<int> flags(0, 7);
  for (int i = 0; i < 200000; ++i) {
    std::string line(length(random), ' ');
    for (char& c : line) c = bytes[byte(random)];
    const std::string& key = patterns[pattern(random)];
    const std::string& delimiter = patterns[pattern(random)];
    const int from = start(random);
    const int options = flags(random);
    const bool ignoreCase = options & 1, stripQuotes = options & 2, blankToEmpty = options & 4;
    ASSERT_EQ(ExtractKeyValue(line, key, delimiter, static_cast<std::int16_t>(from), ignoreCase,
                              stripQuotes, blankToEmpty),
              ModelExtract(line, key, delimiter, from, ignoreCase, stripQuotes, blankToEmpty))
        << testing::PrintToString(line) << " key " << testing::PrintToString(key) << " delimiter "
        << testing::PrintToString(delimiter) << " start " << from << " options " << options;
  }
}

// Lines as long as real point lines, so that the keys and delimiters fall in
// every byte of the eight-byte words that the search tests at once, in the
// last partial word and right after lead bytes.
TEST(ExtractKeyValue, AgreesWithTheModelOnLinesOfPointLineLength) {
  const std::vector<std::string> pieces = {
      "/", "=", "ido=", "/tex=", "/kei=", "IDO=", "/TEX=", "\"",       " ",    "x",
      "7", "'", "\x81", "\x83",  "\x95",  "\xe0", "\x69",  "\x83\x69", "\x2f", "\xfc"};
  const std::vector<std::string> patterns = {"ido=",
                                             "/tex=",
                                             "/kei=",
                                             "/",
                                             "=",
                                             "\x83\x69"
                                             "d"};
  std::mt19937 random(2010);
  std::uniform_int_distribution<std::size_t> count(0, 30);
  std::uniform_int_distribution<std::size_t> piece(0, pieces.size() - 1);
  std::uniform_int_distribution<std::size_t> pattern(0, patterns.size() - 1);
  std::uniform_int_distribution<int> flags(0, 7);
  for (int i = 0; i < 100000; ++i) {
    std::string line;
    for (std::size_t n = count(random); n > 0; --n) line += pieces[piece(random)];
    const std::string& key = patterns[pattern(random)];
    const std::string& delimiter = patterns[pattern(random)];
    const int options = flags(random);
    const bool ignoreCase = options & 1, stripQuotes = options & 2, blankToEmpty = options & 4;
    ASSERT_EQ(ExtractKeyValue(line, key, delimiter, 1, ignoreCase, stripQuotes, blankToEmpty),
              ModelExtract(line, key, delimiter, 1, ignoreCase, stripQuotes, blankToEmpty))
        << testing::PrintToString(line) << " key " << testing::PrintToString(key) << " delimiter "
        << testing::PrintToString(delimiter) << " options " << options;
  }
}

TEST(ExtractKeyValue, FindsKeysAfterDoubleByteCharactersInLongLines) {
  // A title of double-byte characters whose trail bytes include "i" (0x69)
  // and "I" (0x49): "ido=" must not start inside one of them, wherever the
  // eight-byte words of the search begin.
  for (std::size_t pad = 0; pad < 16; ++pad) {
    const std::string head = "ORD=POI/tex=" + std::string(pad, 'x') + "\x83\x69" + "do=1" +
                             "\x83\x49" + "DO=2" + "\x81\x81";
    EXPECT_EQ(Field(head + "ido=3/kei=4", "ido="), "3") << pad;
    EXPECT_EQ(Field(head + "/kei=4/ido=5", "ido="), "5") << pad;
    EXPECT_EQ(Field(head + "/kei=4/ido=5", "/kei="), "4") << pad;
    EXPECT_EQ(Field(head + "/kei=4/ido=5", "/tex="),
              std::string(pad, 'x') + "\x83\x69" + "do=1" + "\x83\x49" + "DO=2" + "\x81\x81")
        << pad;
  }
}

}  // namespace
}  // namespace velorin
