#include "text/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

#include "text/utf8.h"

namespace velorin {
namespace {

const std::string kAscii64K(kEncodingSniffBytes, 'a');

struct DetectCase {
  const char* name;
  std::string head;
  bool wholeFile;
  TextEncoding encoding;
  std::size_t byteOrderMark;
};

void PrintTo(const DetectCase& c, std::ostream* out) { *out << c.name; }

class EncodingChoice : public ::testing::TestWithParam<DetectCase> {};

TEST_P(EncodingChoice, FollowsTheFirstBytes) {
  const DetectCase& c = GetParam();
  const DetectedEncoding detected = DetectTextEncoding(c.head, c.wholeFile);
  EXPECT_EQ(detected.encoding, c.encoding);
  EXPECT_EQ(detected.byteOrderMarkSize, c.byteOrderMark);
}

constexpr auto kUtf8 = TextEncoding::kUtf8;
constexpr auto kCp932 = TextEncoding::kCp932;

INSTANTIATE_TEST_SUITE_P(
    Heads, EncodingChoice,
    ::testing::Values(
        DetectCase{"EmptyFile", "", true, kCp932, 0},
        DetectCase{"AsciiOnly", "ORD=POI/tex=Tower\r\n", true, kCp932, 0},
        DetectCase{"ByteOrderMarkAlone", "\xEF\xBB\xBF", true, kUtf8, 3},
        DetectCase{"ByteOrderMarkThenAscii", "\xEF\xBB\xBFORD=POI", true, kUtf8, 3},
        DetectCase{"ByteOrderMarkThenInvalid", "\xEF\xBB\xBF\x93\x8C", true, kUtf8, 3},
        DetectCase{"MarkNotAtTheStart", "a\xEF\xBB\xBF", true, kUtf8, 0},
        DetectCase{"JapaneseUtf8", "ORD=POI/tex=東京タワー\r\n", true, kUtf8, 0},
        DetectCase{"FourByteSequence", "tex=😀", true, kUtf8, 0},
        // Only two-byte sequences: accented letters, Greek, Cyrillic; or CP932
        // half-width katakana that happen to be valid UTF-8 ("ﾃｽ" is C3 BD).
        DetectCase{"EuropeanPlaces", "Café Zürich\r\nKraków\r\nSão Paulo\r\ncréé", true, kUtf8, 0},
        DetectCase{"GreekAndCyrillic", "Αθήνα,Москва", true, kUtf8, 0},
        DetectCase{"DegreeSign", "35°40'", true, kUtf8, 0},
        DetectCase{"Cp932KatakanaPlaceNames", "\xC4\xB3\xB7\xAE\xB3 \xC0\xDC\xB0", true, kCp932,
                   0},  // ﾄｳｷｮｳ ﾀﾜｰ: not UTF-8
        DetectCase{"KatakanaRunThatIsValidUtf8", "tex=\xC3\xBD\xC4\xB0\xD2\xB0", true, kCp932,
                   0},  // ﾃｽﾄｰﾒｰ
        DetectCase{"KatakanaPairAloneReadsAsAnAccent", "tex=\xC3\xBD", true, kUtf8, 0},
        DetectCase{"Cp932Japanese", "ORD=POI/tex=\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B", true,
                   kCp932, 0},
        DetectCase{"Cp932AfterUtf8", "東京 \x93\x8C", true, kCp932, 0},
        DetectCase{"OverlongForm", "東\xE0\x80\xAF", true, kCp932, 0},
        DetectCase{"Surrogate", "東\xED\xA0\x80", true, kCp932, 0},
        DetectCase{"AboveUnicode", "東\xF4\x90\x80\x80", true, kCp932, 0},
        // A sequence cut by the end of the head is fine; by the end of the file it is not.
        DetectCase{"CutByTheHead", "東京\xE3\x81", false, kUtf8, 0},
        DetectCase{"CutByTheEndOfTheFile", "東京\xE3\x81", true, kCp932, 0},
        DetectCase{"CutByThe64KiBHead", kAscii64K.substr(3) + "東" + "\xE4\xBA", false, kUtf8, 0},
        DetectCase{"OnlyACutSequence", kAscii64K.substr(2) + "\xE6\x9D", false, kCp932, 0},
        DetectCase{"CutButMalformedSoFar", "東\xE3\x41", false, kCp932, 0}),
    [](const ::testing::TestParamInfo<DetectCase>& info) { return std::string(info.param.name); });

struct ValidityCase {
  const char* name;
  std::string text;
  bool valid;
};

void PrintTo(const ValidityCase& c, std::ostream* out) { *out << c.name; }

class Utf8Validity : public ::testing::TestWithParam<ValidityCase> {};

TEST_P(Utf8Validity, WellFormedOnly) { EXPECT_EQ(IsValidUtf8(GetParam().text), GetParam().valid); }

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8Validity,
    ::testing::Values(
        ValidityCase{"Empty", "", true}, ValidityCase{"Nul", std::string(1, '\0'), true},
        ValidityCase{"LastAscii", "\x7F", true}, ValidityCase{"FirstTwoByte", "\xC2\x80", true},
        ValidityCase{"LastTwoByte", "\xDF\xBF", true},
        ValidityCase{"FirstThreeByte", "\xE0\xA0\x80", true},
        ValidityCase{"LastBeforeSurrogates", "\xED\x9F\xBF", true},
        ValidityCase{"FirstAfterSurrogates", "\xEE\x80\x80", true},
        ValidityCase{"LastThreeByte", "\xEF\xBF\xBF", true},
        ValidityCase{"FirstFourByte", "\xF0\x90\x80\x80", true},
        ValidityCase{"LastCodePoint", "\xF4\x8F\xBF\xBF", true},
        ValidityCase{"LongAsciiThenKanji", "0123456789abcdefg東", true},
        ValidityCase{"OverlongNul", "\xC0\x80", false},
        ValidityCase{"OverlongC1", "\xC1\xBF", false},
        ValidityCase{"OverlongThreeByte", "\xE0\x9F\xBF", false},
        ValidityCase{"OverlongFourByte", "\xF0\x8F\xBF\xBF", false},
        ValidityCase{"FirstSurrogate", "\xED\xA0\x80", false},
        ValidityCase{"LastSurrogate", "\xED\xBF\xBF", false},
        ValidityCase{"AboveUnicode", "\xF4\x90\x80\x80", false},
        ValidityCase{"LeadF5", "\xF5\x80\x80\x80", false}, ValidityCase{"LeadFF", "\xFF", false},
        ValidityCase{"LoneContinuation", "\x80", false},
        ValidityCase{"ContinuationMissing",
                     "\xE6\x9D"
                     "a",
                     false},
        ValidityCase{"CutAtTheEnd", "\xE6\x9D", false},
        ValidityCase{"InvalidAfterEightAscii", "01234567\x80", false},
        ValidityCase{"InvalidInsideAsciiWord",
                     "0123\x80"
                     "567",
                     false}),
    [](const ::testing::TestParamInfo<ValidityCase>& info) {
      return std::string(info.param.name);
    });

struct PrefixCase {
  const char* name;
  std::string text;
  std::size_t valid;
};

void PrintTo(const PrefixCase& c, std::ostream* out) { *out << c.name; }

class Utf8ValidPrefix : public ::testing::TestWithParam<PrefixCase> {};

TEST_P(Utf8ValidPrefix, EndsBeforeTheFirstMalformedSequence) {
  EXPECT_EQ(ValidUtf8PrefixLength(GetParam().text), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, Utf8ValidPrefix,
    ::testing::Values(PrefixCase{"Empty", "", 0}, PrefixCase{"AllValid", "ab東京", 8},
                      PrefixCase{"MalformedFirst", "\x80\xE6\x9D\xB1", 0},
                      PrefixCase{"OverlongAfterKanji", "東\xC0\xAF", 3},
                      PrefixCase{"SurrogateAfterAscii", "0123456789\xED\xA0\x80", 10},
                      PrefixCase{"CutAtTheEnd", "東京\xE6\x9D", 6},
                      PrefixCase{"ContinuationMissing",
                                 "東\xE6\x9D"
                                 "a",
                                 3}),
    [](const ::testing::TestParamInfo<PrefixCase>& info) { return std::string(info.param.name); });

struct SequenceCase {
  const char* name;
  std::string text;
  int length;
  char32_t codePoint;  ///< when the length is above 0
};

void PrintTo(const SequenceCase& c, std::ostream* out) { *out << c.name; }

class Utf8DecodeSequence : public ::testing::TestWithParam<SequenceCase> {};

// The short way for three-byte sequences gives what SequenceLength and
// Decode give, and refuses what they refuse.
TEST_P(Utf8DecodeSequence, GivesTheLengthAndTheCodePoint) {
  char32_t codePoint = 0;
  const int length = utf8::DecodeSequence(GetParam().text, codePoint);
  EXPECT_EQ(length, GetParam().length);
  EXPECT_EQ(length, utf8::SequenceLength(GetParam().text));
  if (length > 0) {
    EXPECT_EQ(codePoint, GetParam().codePoint);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, Utf8DecodeSequence,
    ::testing::Values(SequenceCase{"Ascii", "A", 1, U'A'},
                      SequenceCase{"TwoBytes", "\xC3\xA9", 2, U'\u00E9'},
                      SequenceCase{"Kanji", "東京", 3, U'\u6771'},
                      SequenceCase{"LeadE0", "\xE0\xA0\x80", 3, U'\u0800'},
                      SequenceCase{"OverlongE0", "\xE0\x9F\xBF", 0, 0},
                      SequenceCase{"LastBeforeSurrogates", "\xED\x9F\xBF", 3, U'\uD7FF'},
                      SequenceCase{"Surrogate", "\xED\xA0\x80", 0, 0},
                      SequenceCase{"FirstAfterSurrogates", "\xEE\x80\x80", 3, U'\uE000'},
                      SequenceCase{"LastThreeBytes", "\xEF\xBF\xBF", 3, U'\uFFFF'},
                      SequenceCase{"CutThreeBytes", "\xE6\x9D", -1, 0},
                      SequenceCase{"BadSecondByte", "\xE6\x41\xB1", 0, 0},
                      SequenceCase{"BadThirdByte", "\xE6\x9D\xC1", 0, 0},
                      SequenceCase{"FourBytes", "\xF0\x9F\x97\xBC", 4, U'\U0001F5FC'}),
    [](const ::testing::TestParamInfo<SequenceCase>& info) {
      return std::string(info.param.name);
    });

// The one byte beyond ASCII is found wherever it stands: in the short
// tail, in a whole word, in the last word that overlaps the one before.
TEST(Utf8IsAscii, FindsTheOneByteBeyondAsciiAnywhere) {
  for (std::size_t size = 0; size <= 20; ++size) {
    const std::string ascii(size, 'a');
    EXPECT_TRUE(utf8::IsAscii(ascii)) << size;
    for (std::size_t at = 0; at < size; ++at) {
      std::string text = ascii;
      text[at] = '\x80';
      EXPECT_FALSE(utf8::IsAscii(text)) << size << " " << at;
      text[at] = '\x7F';
      EXPECT_TRUE(utf8::IsAscii(text)) << size << " " << at;
    }
  }
}

}  // namespace
}  // namespace velorin
