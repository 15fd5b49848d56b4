#include "formats/title_text.h"

#include <gtest/gtest.h>

#include "text/cp932_encoder.h"

namespace velorin {
namespace {

struct TextCase {
  const char* name;
  std::string input;
  std::string expected;
};

void PrintTo(const TextCase& c, std::ostream* out) { *out << c.name; }

std::string CaseName(const ::testing::TestParamInfo<TextCase>& info) { return info.param.name; }

class CollapseWhiteSpaceTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(CollapseWhiteSpaceTest, LeavesOneBlankBetweenWordsAndNoneAtTheEnds) {
  std::string text = GetParam().input;
  CollapseWhiteSpace(text);
  EXPECT_EQ(text, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CollapseWhiteSpaceTest,
    ::testing::Values(TextCase{"Empty", "", ""}, TextCase{"OnlyWhiteSpace", " \t\r\n ", ""},
                      TextCase{"Plain", "Tokyo Tower", "Tokyo Tower"},
                      TextCase{"LineBreaksInside", "Tokyo\r\n  Tower", "Tokyo Tower"},
                      TextCase{"TabsAndEnds", "\tA\t\tB\n", "A B"},
                      // 東京 in CP932 next to white space: the bytes stay whole.
                      TextCase{"Cp932Bytes", " \x93\x8C\x8B\x9E \n\x83\x5E ",
                               "\x93\x8C\x8B\x9E \x83\x5E"},
                      TextCase{"FullWidthBlankIsNoWhiteSpace", "\x81\x40", "\x81\x40"}),
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
                      EncodeCase{"CutOffSequence", "B\xE6\x9D", "B??", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TitleDecoder, GivesAsciiAsItIsAndDecodesTheRest) {
  TitleDecoder decoder;
  const std::string ascii = "Tower";
  EXPECT_EQ(decoder.Decode(ascii).data(), ascii.data());
  EXPECT_EQ(decoder.Decode("\x93\x8C\x8B\x9E"), "東京");
  EXPECT_EQ(decoder.Decode("A\x81"), "A\xEF\xBF\xBD");
}

}  // namespace
}  // namespace velorin
