#include "cli/standard_streams.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace velorin {
namespace {

struct ShownCase {
  const char* name;
  std::vector<std::string> writes;  ///< CP932 bytes, one write each
  std::vector<std::string> shown;   ///< UTF-8 text shown, one piece per call
};

class Cp932TextSinkTest : public ::testing::TestWithParam<ShownCase> {};

TEST_P(Cp932TextSinkTest, ShowsTheCharactersOfWholeCharactersOnly) {
  std::vector<std::string> shown;
  Cp932TextSink sink([&shown](std::string_view text, std::error_code&) {
    shown.emplace_back(text);
    return true;
  });
  for (const std::string& bytes : GetParam().writes) {
    EXPECT_TRUE(sink.Write(bytes.data(), bytes.size()));
  }
  EXPECT_TRUE(sink.Close());
  EXPECT_EQ(shown, GetParam().shown);
}

// "\x93\x8c" is U+6771, "\x8b\x9e" U+4EAC, "\xb1" the half-width katakana A.
INSTANTIATE_TEST_SUITE_P(
    Writes, Cp932TextSinkTest,
    ::testing::Values(
        ShownCase{"Ascii", {"NPOIs100\n"}, {"NPOIs100\n"}},
        ShownCase{"WholeCharacters", {"\x93\x8c\x8b\x9e"}, {"\xE6\x9D\xB1\xE4\xBA\xAC"}},
        ShownCase{"CharacterSplitBetweenWrites",
                  {"A\x93",
                   "\x8c"
                   "B"},
                  {"A",
                   "\xE6\x9D\xB1"
                   "B"}},
        ShownCase{"LeadByteAloneWaits", {"\x93", "\x8c"}, {"\xE6\x9D\xB1"}},
        ShownCase{"LeadByteAfterAWholeCharacter",
                  {"\x93\x8c\x8b", "\x9e"},
                  {"\xE6\x9D\xB1", "\xE4\xBA\xAC"}},
        ShownCase{"SecondByteThatLooksLikeALead", {"\x93\x93", "A"}, {"\xE6\xB6\x9B", "A"}},
        ShownCase{"HalfWidthKatakanaIsOneByte", {"\xb1"}, {"\xEF\xBD\xB1"}},
        ShownCase{"NothingWritten", {""}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932TextSink, AFailedShowFailsThisAndEveryLaterWrite) {
  int calls = 0;
  Cp932TextSink sink([&calls](std::string_view, std::error_code& error) {
    ++calls;
    error = std::make_error_code(std::errc::broken_pipe);
    return false;
  });
  EXPECT_FALSE(sink.Write("A", 1));
  EXPECT_FALSE(sink.Write("B", 1));
  EXPECT_FALSE(sink.Close());
  EXPECT_EQ(sink.error(), std::errc::broken_pipe);
  EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace velorin
