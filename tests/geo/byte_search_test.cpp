#include "geo/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace velorin {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Every offset of `byte` at or after `from`, the plain way.
std::vector<std::size_t> Offsets(const std::string& text, std::size_t from, char byte) {
  std::vector<std::size_t> offsets;
  for (std::size_t at = from; at < text.size(); ++at) {
    if (text[at] == byte) offsets.push_back(at);
  }
  return offsets;
}

std::vector<std::size_t> Offered(const std::string& text, std::size_t from, char byte) {
  std::vector<std::size_t> offered;
  EXPECT_EQ(FindByteWhere(text, from, byte,
                          [&](std::size_t at) {
                            offered.push_back(at);
                            return false;
                          }),
            kNone);
  return offered;
}

TEST(MatchingBytes, MarksExactlyTheEqualBytes) {
  const std::uint64_t pattern = 0x2F2F2F2F2F2F2F2Full;
  EXPECT_EQ(MatchingBytes(0x2F2F2F2F2F2F2F2Full, pattern), 0x8080808080808080ull);
  EXPECT_EQ(MatchingBytes(0x0000000000000000ull, pattern), 0u);
  // Bytes one above or below the pattern, or differing in the high bit only,
  // are no hits, also right next to a true one (no borrow between bytes).
  EXPECT_EQ(MatchingBytes(0x302E2FAF2F30012Eull, pattern), 0x0000800080000000ull);
  EXPECT_EQ(MatchingBytes(0x0100000000000000ull, 0), 0x0080808080808080ull);
  EXPECT_EQ(MatchingBytes(0xFF80017F00FE7E81ull, 0), 0x0000000080000000ull);
}

TEST(FindByteWhere, OffersEveryHitInOrderOnEveryLengthAndStart) {
  // Lengths across the eight-byte words and the last partial word.
  for (std::size_t length = 0; length <= 40; ++length) {
    std::string text(length, 'x');
    for (std::size_t i = 0; i < length; i += 3) text[i] = '/';
    for (std::size_t from = 0; from <= length + 1; ++from) {
      EXPECT_EQ(Offered(text, from, '/'), Offsets(text, from, '/'))
          << "length " << length << " from " << from;
    }
  }
}

TEST(FindByteWhere, ReturnsTheFirstAcceptedHit) {
  const std::string text = "a/b/c/d/e/f/g/h/i/j";
  EXPECT_EQ(FindByteWhere(text, 0, '/', [](std::size_t) { return true; }), 1u);
  EXPECT_EQ(FindByteWhere(text, 2, '/', [](std::size_t) { return true; }), 3u);
  EXPECT_EQ(FindByteWhere(text, 0, '/', [](std::size_t at) { return at > 12; }), 13u);
  EXPECT_EQ(FindByteWhere(text, 0, '/', [](std::size_t at) { return at == 17; }), 17u);
  EXPECT_EQ(FindByteWhere(text, 0, '#', [](std::size_t) { return true; }), kNone);
  EXPECT_EQ(FindByteWhere(text, 18, '/', [](std::size_t) { return true; }), kNone);
}

TEST(FindByteWhere, FindsHighBytesAndZeroBytes) {
  const std::string text(
      "ab\x81\x00\xFF\x80"
      "cdefgh\x81\x00",
      14);
  EXPECT_EQ(Offered(text, 0, '\x81'), (std::vector<std::size_t>{2, 12}));
  EXPECT_EQ(Offered(text, 0, '\0'), (std::vector<std::size_t>{3, 13}));
  EXPECT_EQ(Offered(text, 0, '\xFF'), (std::vector<std::size_t>{4}));
  EXPECT_EQ(Offered(text, 5, '\x80'), (std::vector<std::size_t>{5}));
}

TEST(FindByteWhere, AgreesWithAPlainSearchOnRandomTexts) {
  const std::string bytes = "/=a\x81\x80\xFF\x7F\x01";
  std::mt19937 random(4242);
  std::uniform_int_distribution<std::size_t> length(0, 70);
  std::uniform_int_distribution<std::size_t> pick(0, bytes.size() - 1);
  for (int i = 0; i < 20000; ++i) {
    std::string text(length(random), ' ');
    for (char& c : text) c = bytes[pick(random)];
    const char byte = bytes[pick(random)];
    const std::size_t from = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
    ASSERT_EQ(Offered(text, from, byte), Offsets(text, from, byte))
        << testing::PrintToString(text) << " from " << from;
  }
}

}  // namespace
}  // namespace velorin
