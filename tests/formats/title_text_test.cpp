#include "formats/title_text.h"

#include <gtest/gtest.h>

#include "text/cp932_encoder.h"

namespace velorin {
namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
  bool changedInside = false;  ///< more than the ends was tidied
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; }

class CollapseWhiteSpaceTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CollapseWhiteSpaceTest, LeavesOneBlankBetweenWordsAndNoneAtTheEnds) {
  std::string text = GetParam().input;
  EXPECT_EQ(CollapseWhiteSpace(text), GetParam().changedInside);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CollapseWhiteSpaceTest,
    ::testing::Values(
        TextCase{"Empty", "", ""}, TextCase{"OnlyWhiteSpace", " \t\r\n ", ""},
        TextCase{"Plain", "Tokyo Tower", "Tokyo Tower"},
        TextCase{"IndentedName", "\n    Tokyo Tower\n  ", "Tokyo Tower"},
        TextCase{"LineBreaksInside", "Tokyo\r\n  Tower", "Tokyo Tower", true},
        TextCase{"TabsAndEnds", "\tA\t\tB\n", "A B", true},
        TextCase{"OneTabInside", "A\tB", "A B", true},
        TextCase{"DoubledBlank", "A  B", "A B", true},
        // 東京 in CP932 next to white space: the bytes stay whole.
        TextCase{"Cp932Bytes", " \x93\x8C\x8B\x9E \n\x83\x5E ", "\x93\x8C\x8B\x9E \x83\x5E", true},
        TextCase{"FullWidthBlankIsNoWhiteSpace", "\x81\x40", "\x81\x40"},
        TextCase{"SingleBlanksStay", "A B C", "A B C"},
        TextCase{"BlankThenTab", "A \tB", "A B", true}, TextCase{"LoneBlank", " ", ""},
        TextCase{"LeadingBlank", " A", "A"}, TextCase{"TrailingBlank", "A ", "A"},
        TextCase{"ControlCharacterIsNoWhiteSpace", "A\x01B", "A\x01B"},
        // Texts longer than a word of eight bytes, white space in each word.
        TextCase{"LongSingleBlanks", "Shinjuku Gyoen National Garden",
                 "Shinjuku Gyoen National Garden"},
        TextCase{"DoubledBlankInSecondWord", "Shinjuku  Gyoen", "Shinjuku Gyoen", true},
        TextCase{"TabAfterSixteenBytes", "Fuji 5th Station\tNorth", "Fuji 5th Station North", true},
        TextCase{"TrailingBlankAfterTwoWords", "0123456789abcdef ", "0123456789abcdef"},
        TextCase{"LineBreakLastOfAWord", "0123456\n89", "0123456 89", true},
        // The last word ends where the text does, over bytes already looked at.
        TextCase{"EightBytesBlankLast", "1234567 ", "1234567"},
        TextCase{"NineBytesTwoBlanksLast", "1234567  ", "1234567"},
        TextCase{"NineBytesDoubledAcrossWords", "123456  9", "123456 9", true},
        TextCase{"EightBytesControlLast", "ABCDEFG\x01", "ABCDEFG\x01"},
        TextCase{"Utf8BesideBlank", "\xE6\x9D\xB1\xE4\xBA\xAC \xE3\x82\xBF",
                 "\xE6\x9D\xB1\xE4\xBA\xAC \xE3\x82\xBF"},
        TextCase{"HighBytesLowBitsABlank", "\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0",
                 "\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0\xA0"},
        TextCase{"DeleteIsNoWhiteSpace", "\x7F\x7F\x7F\x7F\x7F\x7F\x7F\x7F\x7F\t",
                 "\x7F\x7F\x7F\x7F\x7F\x7F\x7F\x7F\x7F"},
        TextCase{"TabAmongUtf8", "\xE6\x9D\xB1\xE4\xBA\xAC\t\xE3\x82\xBF",
                 "\xE6\x9D\xB1\xE4\xBA\xAC \xE3\x82\xBF", true}),
    CaseName);

struct EncodeCase {
  const char* name;
  std::string utf8;
  std::string cp932;
  bool approximated;
};

void PrintTo(const EncodeCase& c, std::ostream* out) { *out << c.name; }

class TitleEncoderTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(TitleEncoderTest, GivesCp932AndSaysWhenItHadToReplace) {
  TitleEncoder encoder;
  std::string out = "left over";
  EXPECT_EQ(encoder.Encode(GetParam().utf8, out), GetParam().approximated);
  EXPECT_EQ(out, GetParam().cp932);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleEncoderTest,
    ::testing::Values(EncodeCase{"Ascii", "Tower", "Tower", false},
                      EncodeCase{"Japanese", "東京タワー",
                                 "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B", false},
                      EncodeCase{"WaveDash", "\xEF\xBD\x9E", "\x81\x60", false},
                      EncodeCase{"Emoji", "A\xF0\x9F\x97\xBC", "A?", true},
                      EncodeCase{"InvalidByte",
                                 "A\xFF"
                                 "B",
                                 "A?B", true},
                      EncodeCase{"CutOffSequence", "B\xE6\x9D", "B??", true},
                      // Characters that take no room are dropped, and said to be.
                      EncodeCase{"ZeroWidthSpace",
                                 "A\xE2\x80\x8B"
                                 "B",
                                 "AB", true},
                      EncodeCase{"SoftHyphenAlone", "\xC2\xAD", "?", true},
                      // Invisible characters beyond the first eight bytes.
                      EncodeCase{"ZeroWidthSpaceAfterKanji", "東京タワー\xE2\x80\x8B",
                                 "\x93\x8C\x8B\x9E\x83\x5E\x83\x8F\x81\x5B", true},
                      EncodeCase{"ByteOrderMarkInLongAscii",
                                 "ABCDEFGHIJKL\xEF\xBB\xBF"
                                 "M",
                                 "ABCDEFGHIJKLM", true},
                      // EF leads visible characters too: nothing was dropped.
                      EncodeCase{"FullWidthTildeAfterEightBytes", "ABCDEFGH\xEF\xBD\x9E",
                                 "ABCDEFGH\x81\x60", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TitleDecoder, GivesAsciiAsItIsAndDecodesTheRest) {
  TitleDecoder decoder;
  const std::string ascii = "Tower";
  EXPECT_EQ(decoder.Decode(ascii).data(), ascii.data());
  EXPECT_EQ(decoder.Decode("\x93\x8C\x8B\x9E"), "東京");
  EXPECT_EQ(decoder.Decode("A\x81"), "A\xEF\xBF\xBD");
}

struct RecodeCase {
  const char* name;
  std::string cp932;
  TitleChange change;
};

void PrintTo(const RecodeCase& c, std::ostream* out) { *out << c.name; }

class TitleToUtf8Test : public ::testing::TestWithParam<RecodeCase> {};

// A CP932 title in a UTF-8 file comes back as the same bytes, or is said not to.
TEST_P(TitleToUtf8Test, SaysWhenTheBytesWouldNotComeBack) {
  TitleDecoder decoder;
  decoder.Decode(GetParam().cp932);
  EXPECT_EQ(decoder.lastChange(), GetParam().change);
  decoder.Decode("Tower");
  EXPECT_EQ(decoder.lastChange(), TitleChange::kNone);
}

INSTANTIATE_TEST_SUITE_P(
    Titles, TitleToUtf8Test,
    ::testing::Values(RecodeCase{"Japanese", "\x93\x8C\x8B\x9E", TitleChange::kNone},
                      RecodeCase{"IbmExtensionItself", "\xFA\x5C", TitleChange::kNone},
                      RecodeCase{"NecSelectedDuplicate", "\xED\x40", TitleChange::kRecoded},
                      RecodeCase{"NecRow13Duplicate", "A\x87\x90", TitleChange::kRecoded},
                      RecodeCase{"NecRow13Numeral", "\x87\x40", TitleChange::kNone},
                      RecodeCase{"NoCharacter", "A\x85\x40", TitleChange::kBrokenBytes},
                      RecodeCase{"CutOffAtTheEnd", "A\x81", TitleChange::kBrokenBytes}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
