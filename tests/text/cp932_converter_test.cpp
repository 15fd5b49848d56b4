#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/cp932_encoder.h"

namespace velorin {
namespace {

std::string Utf8Of(char32_t c) {
  std::string out;
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | c >> 6);
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | c >> 12);
    out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
  return out;
}

struct Answer {
  std::size_t taken = 0;
  std::string bytes;
  bool operator==(const Answer&) const = default;
};

Answer ConvertOne(Cp932Converter& converter, std::string_view utf8) {
  Answer answer;
  answer.taken = converter.Convert(utf8, answer.bytes);
  return answer;
}

// One converter serves a whole file: asked again for a character (in any
// order, slots shared or not), it answers as it did the first time.
TEST(Cp932ConverterTest, AnswersAgainAsTheFirstTimeForEveryCharacter) {
  std::vector<std::string> characters;
  for (char32_t c = 1; c < 0x10000; ++c) {
    if (c < 0xD800 || c > 0xDFFF) characters.push_back(Utf8Of(c));
  }
  Cp932Converter converter;
  std::vector<Answer> first;
  for (const std::string& c : characters) first.push_back(ConvertOne(converter, c));
  for (std::size_t i = characters.size(); i-- > 0;) {
    ASSERT_EQ(ConvertOne(converter, characters[i]), first[i]) << characters[i];
  }
  std::size_t taken = 0;
  for (const Answer& answer : first) taken += answer.taken > 0 ? 1 : 0;
  EXPECT_GT(taken, 7000u);  // CP932's characters, not a converter that takes nothing
}

// A run stops at the first character the table lacks, the first time and
// the next, with the bytes before it written.
TEST(Cp932ConverterTest, StopsAtTheFirstCharacterTheTableLacks) {
  const std::string run = "\xE6\x9D\xB1\xE4\xBA\xAC\xF0\x9F\x98\x80\xE6\x9D\xB1";  // 東京😀東
  Cp932Converter converter;
  for (int time = 0; time < 2; ++time) {
    std::string out = "x";
    EXPECT_EQ(converter.Convert(run, out), 6u);
    EXPECT_EQ(out, "x\x93\x8C\x8B\x9E");
  }
}

// Runs of known characters are gathered and appended a piece at a time:
// runs shorter and longer than a piece, and ending on its edge, come out
// whole, after what the output held, and the same the first time and the
// next.
TEST(Cp932ConverterTest, LongRunsOfKnownCharactersComeOutWhole) {
  const std::string kanji = "\xE6\x9D\xB1";  // 東, 93 8C
  for (const std::size_t count : {1u, 127u, 128u, 129u, 300u, 1000u}) {
    std::string run;
    std::string expected = "x";
    for (std::size_t i = 0; i < count; ++i) {
      run += i % 2 == 0 ? kanji : "a";
      expected += i % 2 == 0 ? "\x93\x8C" : "a";
    }
    Cp932Converter converter;
    for (int time = 0; time < 2; ++time) {
      std::string out = "x";
      EXPECT_EQ(converter.Convert(run, out), run.size()) << count << " characters";
      EXPECT_EQ(out, expected) << count << " characters, time " << time;
    }
  }
}

struct MalformedCase {
  const char* name;
  std::string run;
  std::size_t taken;
  std::string bytes;
};

void PrintTo(const MalformedCase& c, std::ostream* out) { *out << c.name; }

class Cp932ConverterMalformed : public ::testing::TestWithParam<MalformedCase> {};

// Bytes that start no character end the conversion as a character the table
// lacks does, the first time and the next (when the characters before them
// are known).
TEST_P(Cp932ConverterMalformed, StopsAtBytesThatStartNoCharacter) {
  Cp932Converter converter;
  for (int time = 0; time < 2; ++time) {
    std::string out = "x";
    EXPECT_EQ(converter.Convert(GetParam().run, out), GetParam().taken) << "time " << time;
    EXPECT_EQ(out, "x" + GetParam().bytes) << "time " << time;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Runs, Cp932ConverterMalformed,
    ::testing::Values(
        MalformedCase{"LoneContinuation", "\x80\xE6\x9D\xB1", 0, ""},
        MalformedCase{"SurrogateAfterKanji", "\xE6\x9D\xB1\xED\xA0\x80", 3, "\x93\x8C"},
        MalformedCase{"OverlongAfterKanji", "\xE6\x9D\xB1\xE0\x80\xAF", 3, "\x93\x8C"},
        MalformedCase{"CutAtTheEnd", "\xE6\x9D\xB1\xE4\xBA", 3, "\x93\x8C"}),
    [](const ::testing::TestParamInfo<MalformedCase>& info) {
      return std::string(info.param.name);
    });

}  // namespace
}  // namespace velorin
