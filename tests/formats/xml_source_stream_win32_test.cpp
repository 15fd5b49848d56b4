#include "formats/xml_source_stream_win32.h"

#include <gtest/gtest.h>

#include <string_view>

namespace velorin {
namespace {

struct TailCase {
  const char* name;
  std::string_view bytes;
  std::size_t heldBack;
};

class TailToHoldBackTest : public ::testing::TestWithParam<TailCase> {};

// A read ends right after its last ASCII byte; without one, on a
// character's edge.
TEST_P(TailToHoldBackTest, EndsWhereXmlLiteDecodesTheReadWhole) {
  EXPECT_EQ(TailToHoldBack(GetParam().bytes), GetParam().heldBack);
}

INSTANTIATE_TEST_SUITE_P(
    Reads, TailToHoldBackTest,
    ::testing::Values(TailCase{"EndsInAscii", "a\xE3\x81\x82>", 0},
                      TailCase{"WholeCharacterAfterAscii", "a\xE3\x81\x82", 3},
                      TailCase{"HalfCharacterAfterAscii", ">\xE3\x81\x82\xE3\x81", 5},
                      TailCase{"AsciiFirstOnly", "a\xE3\x81\x82\xE3\x81\x82", 6},
                      TailCase{"NoAsciiWholeCharacters", "\xE3\x81\x82\xE3\x81\x82", 0},
                      TailCase{"NoAsciiHalfCharacter", "\xE3\x81\x82\xE3\x81", 2},
                      TailCase{"NoAsciiFourByteLead", "\xE3\x81\x82\xF0", 1},
                      TailCase{"Empty", "", 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
