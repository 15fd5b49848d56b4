#include "text/cp932_encoder.h"

#include <gtest/gtest.h>

#include <clocale>
#include <random>
#include <string>
#include <vector>

namespace velorin {

void PrintTo(const ByteSpan& s, std::ostream* out) {
  *out << "{" << s.offset << ", " << s.size << "}";
}

namespace {

struct EncodeCase {
  const char* name;
  std::string utf8;
  std::string cp932;
  std::size_t replaced;  // characters that changed
};

void PrintTo(const EncodeCase& c, std::ostream* out) { *out << c.name; }

class TitleRule : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(TitleRule, EncodesAndCountsChanges) {
  const EncodeCase& c = GetParam();
  const std::optional<Cp932Title> title = TitleToCp932(c.utf8);
  ASSERT_TRUE(title.has_value());
  EXPECT_EQ(title->text, c.cp932);
  EXPECT_EQ(title->replaced, c.replaced);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleRule,
    ::testing::Values(
        EncodeCase{"Empty", "", "", 0},
        EncodeCase{"Ascii", "ORD=POI/tex=Tower/kei=1'0'0'0", "ORD=POI/tex=Tower/kei=1'0'0'0", 0},
        EncodeCase{"NulAndTabStay", std::string("a\0b\tc", 5), std::string("a\0b\tc", 5), 0},
        EncodeCase{"Japanese", "東京タワー", "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B", 0},
        EncodeCase{"HalfWidthKatakana", "ｶﾀｶﾅ", "\xB6\xC0\xB6\xC5", 0},
        EncodeCase{"IbmExtensionKanji", "髙橋", "\xFB\xFC\x8B\xB4", 0},
        EncodeCase{"NecCircledDigit", "①", "\x87\x40", 0},
        // The same JIS characters under the mapping of Unix tools: unchanged.
        EncodeCase{"WaveDash", "〜", "\x81\x60", 0},
        EncodeCase{"FullwidthTilde", "～", "\x81\x60", 0},
        EncodeCase{"DoubleVerticalLine", "‖", "\x81\x61", 0},
        EncodeCase{"MinusSign", "−", "\x81\x7C", 0},
        EncodeCase{"CentPoundNot", "¢£¬", "\x81\x91\x81\x92\x81\xCA", 0},
        EncodeCase{"EmDash", "—", "\x81\x5C", 0}, EncodeCase{"YenSign", "¥", "\x5C", 0},
        EncodeCase{"Overline", "‾", "\x7E", 0}, EncodeCase{"AngstromLetter", "Å", "\x81\xF0", 0},
        EncodeCase{"CompatibilityIdeograph", "\xEF\xA4\x9D", "\x97\x93", 0},  // U+F91D is U+6B04
        EncodeCase{"BrokenBarFullWidth", "¦", "\xFA\x55", 1},
        // Latin letters lose their accents.
        EncodeCase{"Shingu", "Shingū", "Shingu", 1}, EncodeCase{"Aero", "Ærø", "AEro", 2},
        EncodeCase{"SharpS", "Straße", "Strasse", 1}, EncodeCase{"Lodz", "Łódź", "Lodz", 3},
        EncodeCase{"Vietnamese", "Hà Nội", "Ha Noi", 2},
        EncodeCase{"Icelandic", "Þórsmörk", "THorsmork", 3},
        EncodeCase{"Turkish", "İstanbul ılık", "Istanbul ilik", 3},
        EncodeCase{"GreekTonos", "Αθήνα", "\x83\x9F\x83\xC6\x83\xC5\x83\xCB\x83\xBF", 1},
        // Typographic punctuation.
        EncodeCase{"CurlyQuotesHeld", "“A” ‘B’",
                   "\x81\x67"
                   "A\x81\x68 \x81\x65"
                   "B\x81\x66",
                   0},
        EncodeCase{"LowQuotes", "„Haus“", "\x81\x67Haus\x81\x67", 1},
        EncodeCase{"Guillemets", "«Tour»", "\x81\x67Tour\x81\x68", 2},
        EncodeCase{"EnDash", "Paris – Lyon", "Paris - Lyon", 1},
        EncodeCase{"EllipsisHeld", "…", "\x81\x63", 0},
        EncodeCase{"Bullet", "A•B",
                   "A\x81\x45"
                   "B",
                   1},
        EncodeCase{"NoBreakSpace", "A\u00A0B", "A B", 1}, EncodeCase{"Euro", "5€", "5EUR", 1},
        EncodeCase{"Copyright", "©", "(C)", 1}, EncodeCase{"Trademark", "Velorin™", "VelorinTM", 1},
        EncodeCase{"AlmostEqual", "≈", "\x81\xE0", 1},
        EncodeCase{"SpacingMacron", "¯", "\x81\x50", 1},
        // Never new POT syntax: the full-width forms instead.
        EncodeCase{"FractionSlash", "½",
                   "1\x81\x5E"
                   "2",
                   1},
        EncodeCase{"SuperscriptEquals", "ido⁼5",
                   "ido\x81\x81"
                   "5",
                   1},
        // Kana and symbols CP932 lacks.
        EncodeCase{"HiraganaVu", "ゔ", "\x82\xA4\x81\x4A", 1},
        EncodeCase{"SquareEraReiwa", "㋿", "\x97\xDF\x98\x61", 1},
        EncodeCase{"TsuchiYoshi", "𠮷野家", "\x8B\x67\x96\xEC\x89\xC6", 1},
        EncodeCase{"HalfwidthArrow", "￩", "\x81\xA9", 1},
        // Decomposed text: a pair CP932 holds as one character is that character.
        EncodeCase{"DecomposedGa", "か\u3099", "\x82\xAA", 0},
        EncodeCase{"DecomposedVu", "ウ\u3099", "\x83\x94", 0},
        EncodeCase{"DecomposedAngstrom", "A\u030A", "\x81\xF0", 0},
        EncodeCase{"DecomposedShortI", "И\u0306", "\x84\x4A", 0},
        EncodeCase{"DecomposedWithoutPrecomposed", "う\u3099", "\x82\xA4\x81\x4A", 1},
        EncodeCase{"DecomposedLatin", "Shingu\u0304", "Shingu", 1},
        EncodeCase{"TwoMarksOnOneLetter", "u\u0304\u0301", "u", 1},
        EncodeCase{"MarkOnAReplacedLetter", "ü\u0301", "u", 1},
        EncodeCase{"MarkOnJapanese", "東\u0301", "\x93\x8C", 1},
        EncodeCase{"MarkWithNothingBefore", "\u0301a", "?a", 1},
        EncodeCase{"MarkAfterAnInvisible", "\u200B\u0301", "?", 1},
        EncodeCase{"EqualsNeverTakesAMark", "ido=\u0338", "ido=", 1},
        // Invisible characters are dropped; a variation selector changes its character.
        EncodeCase{"ZeroWidthSpace", "A\u200BB", "AB", 0},
        EncodeCase{"SoftHyphen", "Zürich\u00AD", "Zurich", 1},
        EncodeCase{"GraphemeJoiner", "a\u034Fb", "ab", 0},
        EncodeCase{"TagCharacter", "\U000E0041", "", 0},
        EncodeCase{"IdeographicVariation", "葛\U000E0100", "\x8A\x8B", 1},
        // Nothing close: "?".
        EncodeCase{"Emoji", "😀", "?", 1}, EncodeCase{"EmojiWithSelector", "☀️", "?", 1},
        EncodeCase{"Hangul", "서울", "??", 2}, EncodeCase{"SimplifiedHanzi", "们", "?", 1},
        EncodeCase{"NotAlmostEqual", "≉", "?", 1}, EncodeCase{"C1Control", "\u0085", "?", 1},
        // CP932's user-defined area is held (F0 40 to F9 FC).
        EncodeCase{"PrivateUse", "\uE000", "\xF0\x40", 0}),
    [](const ::testing::TestParamInfo<EncodeCase>& info) { return std::string(info.param.name); });

struct InvalidCase {
  const char* name;
  std::string bytes;
};

void PrintTo(const InvalidCase& c, std::ostream* out) { *out << c.name; }

class InvalidUtf8Line : public ::testing::TestWithParam<InvalidCase> {};

TEST_P(InvalidUtf8Line, IsRefusedAndLeavesTheOutput) {
  Cp932Encoder encoder;
  std::string out = "kept";
  std::vector<ByteSpan> replaced;
  EXPECT_FALSE(encoder.Append(GetParam().bytes, out, &replaced));
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(replaced.empty());
  EXPECT_FALSE(TitleToCp932(GetParam().bytes).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Lines, InvalidUtf8Line,
    ::testing::Values(
        InvalidCase{"OverlongSlash", "a\xC0\xAF"},
        InvalidCase{"OverlongThreeBytes", "\xE0\x80\xAF"}, InvalidCase{"Surrogate", "\xED\xA0\x80"},
        InvalidCase{"AboveUnicode", "\xF4\x90\x80\x80"}, InvalidCase{"LeadF5", "\xF5\x80\x80\x80"},
        InvalidCase{"LoneContinuation", "\x80"}, InvalidCase{"CutAtTheEnd", "ab\xE6\x9D"},
        InvalidCase{"Cp932Tokyo", "\x93\x8C\x8B\x9E"},
        InvalidCase{"AfterAnAsciiWord", "12345678\xFF"}, InvalidCase{"AfterValidKanji", "東\xFF"},
        // Written and replaced characters before the
        // bytes are taken back.
        InvalidCase{"AfterAReplacedCharacter", "\xC3\xA9\xFF"},
        InvalidCase{"AfterKanjiAndAscii", "東京ab\xE6\x9D"},
        InvalidCase{"AfterAnEmojiAndKanji", "\xF0\x9F\x97\xBC東\xC0\x80"}),
    [](const ::testing::TestParamInfo<InvalidCase>& info) { return std::string(info.param.name); });

TEST(Cp932EncoderSpans, MarkTheReplacedBytesOfTheWholeOutput) {
  Cp932Encoder encoder;
  std::string out = "head:";
  std::vector<ByteSpan> replaced;
  ASSERT_TRUE(encoder.Append("Café 東京 😀 a\u200Bb ©", out, &replaced));
  EXPECT_EQ(out, "head:Cafe \x93\x8C\x8B\x9E ? ab (C)");
  EXPECT_EQ(replaced, (std::vector<ByteSpan>{{8, 1}, {15, 1}, {20, 3}}));
}

TEST(Cp932EncoderSpans, ADroppedAccentMarksItsLetter) {
  Cp932Encoder encoder;
  std::string out;
  std::vector<ByteSpan> replaced;
  // After ASCII, after the converter's own characters, after a replacement.
  ASSERT_TRUE(encoder.Append("Shingu\u0304/東京\uFE00/Æ\u0301", out, &replaced));
  EXPECT_EQ(out, "Shingu/\x93\x8C\x8B\x9E/AE");
  EXPECT_EQ(replaced, (std::vector<ByteSpan>{{5, 1}, {9, 2}, {12, 2}}));
}

// glibc's converter restarts after every refused character: the whole line
// must come out as its characters one by one do (combining marks aside,
// which belong to the character before them).
TEST(Cp932EncoderLines, WholeLineMatchesCharacterByCharacter) {
  const std::vector<std::string> alphabet = {"a", "/", "=",  " ", "東",     "ｶ",         "①", "〜",
                                             "¥", "é", "ß",  "😀", "서",     "\u200B",    "½", "€",
                                             "—", "¦", "髙", "Å", "\u00A0", "\U000E0041"};
  Cp932Encoder lineEncoder;
  Cp932Encoder charEncoder;
  std::mt19937 random(6);
  for (int round = 0; round < 2000; ++round) {
    std::string line;
    std::string expected;
    std::size_t expectedCount = 0;
    const int length = static_cast<int>(random() % 40);
    for (int i = 0; i < length; ++i) {
      const std::string& character = alphabet[random() % alphabet.size()];
      line += character;
      std::vector<ByteSpan> spans;
      ASSERT_TRUE(charEncoder.Append(character, expected, &spans));
      expectedCount += spans.size();
    }
    std::string out;
    std::vector<ByteSpan> spans;
    ASSERT_TRUE(lineEncoder.Append(line, out, &spans)) << line;
    ASSERT_EQ(out, expected) << line;
    ASSERT_EQ(spans.size(), expectedCount) << line;
  }
}

// glibc's //TRANSLIT would follow the locale; the title rule must not.
TEST(Cp932EncoderLines, SameBytesInEveryLocale) {
  const std::string title = "Ærø Straße „Łódź“ 東京〜 😀 ½";
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  std::vector<std::string> results;
  // The last two are Windows' names for its Japanese and Western code pages.
  for (const char* locale : {"C", "C.UTF-8", "POSIX", ".932", ".1252"}) {
    if (std::setlocale(LC_ALL, locale) == nullptr) continue;
    results.push_back(TitleToCp932(title).value().text);
  }
  std::setlocale(LC_ALL, saved.c_str());
  ASSERT_GE(results.size(), 2u);
  for (const std::string& result : results) EXPECT_EQ(result, results.front());
}

}  // namespace
}  // namespace velorin
