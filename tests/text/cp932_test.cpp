#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "text/cp932_decoder.h"
#include "text/cp932_encoder.h"

namespace velorin {
namespace {

struct CodecCase {
  std::string cp932;
  std::string utf8;
};

void PrintTo(const CodecCase& c, std::ostream* out) {
  static const char kHex[] = "0123456789ABCDEF";
  if (c.cp932.empty()) *out << "empty";
  for (std::size_t i = 0; i < c.cp932.size(); ++i) {
    const auto byte = static_cast<unsigned char>(c.cp932[i]);
    *out << (i > 0 ? " " : "") << kHex[byte >> 4] << kHex[byte & 15];
  }
}

class Cp932RoundTripTest : public ::testing::TestWithParam<CodecCase> {};

TEST_P(Cp932RoundTripTest, DecodesAndEncodes) {
  const CodecCase& c = GetParam();
  EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Cp932RoundTripTest,
    ::testing::Values(CodecCase{"", ""}, CodecCase{"ORD=POI/tex=Tower", "ORD=POI/tex=Tower"},
                      CodecCase{"\x5c", "\\"},                // backslash, not a yen sign
                      CodecCase{"\x7e", "~"},                 // tilde, not an overline
                      CodecCase{"\x81\x60", "\xef\xbd\x9e"},  // U+FF5E fullwidth tilde
                      CodecCase{"\x82\xa0", "\xe3\x81\x82"},  // hiragana a
                      CodecCase{"\x93\x8c\x8b\x9e", "\xe6\x9d\xb1\xe4\xba\xac"},  // Tokyo
                      CodecCase{"\xb1", "\xef\xbd\xb1"},      // half-width katakana a
                      CodecCase{"\x87\x40", "\xe2\x91\xa0"},  // NEC special: circled 1
                      CodecCase{"\x81\x5f", "\xef\xbc\xbc"},  // U+FF3C fullwidth backslash
                      CodecCase{"\x81\x7c", "\xef\xbc\x8d"},  // U+FF0D fullwidth hyphen-minus
                      CodecCase{std::string("a\0b", 3), std::string("a\0b", 3)}),
    [](const ::testing::TestParamInfo<CodecCase>& info) {
      std::string name = ::testing::PrintToString(info.param);  // "81 60"
      for (char& c : name) {
        if (c == ' ') c = '_';
      }
      return name;
    });

TEST(Cp932ToUtf8Test, ExtensionCodesDecode) {
  EXPECT_EQ(Cp932ToUtf8("\xfa\x5c"), "\xe7\xba\x8a");  // IBM extension: U+7E8A
  EXPECT_EQ(Cp932ToUtf8("\xed\x40"), "\xe7\xba\x8a");  // the same character, NEC-selected IBM
  EXPECT_EQ(Cp932ToUtf8("\xfa\x40"), "\xe2\x85\xb0");  // small roman numeral one
}

TEST(Cp932ToUtf8Test, InvalidBytesBecomeReplacementAndDecodingGoesOn) {
  const std::string fffd = "\xef\xbf\xbd";
  EXPECT_EQ(Cp932ToUtf8("\x80"), fffd);
  EXPECT_EQ(Cp932ToUtf8("A\xa0Z"), "A" + fffd + "Z");
  EXPECT_EQ(Cp932ToUtf8("\xff"), fffd);
  // A lead byte at the very end, cut off from its second byte.
  EXPECT_EQ(Cp932ToUtf8("AB\x82"), "AB" + fffd);
  // A lead byte followed by a byte that cannot be a second byte: only the lead is lost.
  EXPECT_EQ(Cp932ToUtf8("\x82 x"), fffd + " x");
  EXPECT_EQ(Cp932ToUtf8("\x82\xa0\x80\x82\xa0"), "\xe3\x81\x82" + fffd + "\xe3\x81\x82");
}

TEST(Cp932ToUtf8Test, LongTextCrossesTheInternalBuffer) {
  std::string cp932;
  std::string utf8;
  for (int i = 0; i < 5000; ++i) {
    cp932 += "\x82\xa0x";
    utf8 += "\xe3\x81\x82x";
  }
  cp932 += "\x80";
  utf8 += "\xef\xbf\xbd";
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

TEST(Utf8ToCp932Test, CharacterWithoutCp932FormGivesNothing) {
  EXPECT_EQ(Utf8ToCp932("\xf0\x9f\x98\x80"), std::nullopt);  // an emoji
  EXPECT_EQ(Utf8ToCp932("ok \xc3\xa9"), std::nullopt);       // e acute
  EXPECT_EQ(Utf8ToCp932("\xea\xb0\x80"), std::nullopt);      // a Hangul syllable
}

TEST(Utf8ToCp932Test, InvalidUtf8GivesNothing) {
  EXPECT_EQ(Utf8ToCp932("\xff"), std::nullopt);
  EXPECT_EQ(Utf8ToCp932("A\xe3\x81"), std::nullopt);  // cut off
}

struct SharedTableCase {
  const char* name;
  std::string cp932;  ///< empty: the character has no CP932 form
  std::string utf8;
};

void PrintTo(const SharedTableCase& c, std::ostream* out) { *out << c.name; }

// Where Windows' own table and glibc's part ways, both systems decode as
// glibc does: bytes 80, A0 and FD to FF are invalid.
class SharedDecodingTest : public ::testing::TestWithParam<SharedTableCase> {};

TEST_P(SharedDecodingTest, DecodesAsGlibcDoes) {
  EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SharedDecodingTest,
    ::testing::Values(SharedTableCase{"Byte80",
                                      "a\x80"
                                      "b",
                                      "a\xef\xbf\xbd"
                                      "b"},
                      SharedTableCase{"ByteA0",
                                      "a\xa0"
                                      "b",
                                      "a\xef\xbf\xbd"
                                      "b"},
                      SharedTableCase{"ByteFD", "\xfd", "\xef\xbf\xbd"},
                      SharedTableCase{"ByteFE", "\xfe\x40", "\xef\xbf\xbd@"},
                      SharedTableCase{"ByteFF", "\xff\xff", "\xef\xbf\xbd\xef\xbf\xbd"},
                      SharedTableCase{"UserDefinedF040", "\xf0\x40", "\xee\x80\x80"},
                      SharedTableCase{"NecRow13Duplicate", "\x87\x90", "\xe2\x89\x92"},
                      SharedTableCase{"NecSelectedIbmDuplicate", "\xee\xf9", "\xef\xbf\xa2"}),
    [](const auto& info) { return std::string(info.param.name); });

// ... and encode as glibc does: characters that only Windows' table holds
// have no form, and duplicates take the code glibc takes.
class SharedEncodingTest : public ::testing::TestWithParam<SharedTableCase> {};

TEST_P(SharedEncodingTest, EncodesAsGlibcDoes) {
  const SharedTableCase& c = GetParam();
  EXPECT_EQ(Utf8ToCp932(c.utf8),
            c.cp932.empty() ? std::nullopt : std::optional<std::string>(c.cp932));
}

INSTANTIATE_TEST_SUITE_P(Table, SharedEncodingTest,
                         ::testing::Values(SharedTableCase{"U0080", "", "\xc2\x80"},
                                           SharedTableCase{"UF8F0", "", "\xef\xa3\xb0"},
                                           SharedTableCase{"UF8F3", "", "\xef\xa3\xb3"},
                                           SharedTableCase{"UE000", "\xf0\x40", "\xee\x80\x80"},
                                           SharedTableCase{"U2252", "\x81\xe0", "\xe2\x89\x92"},
                                           SharedTableCase{"UFFE2", "\x81\xca", "\xef\xbf\xa2"},
                                           SharedTableCase{"U2170", "\xfa\x40", "\xe2\x85\xb0"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
