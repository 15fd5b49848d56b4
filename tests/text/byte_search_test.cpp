#include "text/byte_search.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace velorin {
namespace {

constexpr std::size_t kNone = std::string_view::npos;

// Every offset of `byte` at or after `from`, the plain way.
std::vector<std::size_t> Offsets(std::string_view text, std::size_t from, char byte) {
  std::vector<std::size_t> offsets;
  for (std::size_t at = from; at < text.size(); ++at) {
    if (text[at] == byte) offsets.push_back(at);
  }
  return offsets;
}

std::vector<std::size_t> AllHits(std::string_view text, std::size_t from, char byte) {
  std::vector<std::size_t> hits;
  ByteHits search(text, from, byte);
  for (std::size_t at = search.Next(); at != ByteHits::kNone; at = search.Next()) {
    hits.push_back(at);
  }
  EXPECT_EQ(search.Next(), ByteHits::kNone);  // and stays at the end
  return hits;
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

TEST(ByteHits, GivesEveryHitInOrderOnEveryLengthAndStart) {
  // Lengths across the eight-byte words and the last partial word.
  for (std::size_t length = 0; length <= 40; ++length) {
    std::string text(length, 'x');
    for (std::size_t i = 0; i < length; i += 3) text[i] = '/';
    for (std::size_t from = 0; from <= length + 1; ++from) {
      EXPECT_EQ(AllHits(text, from, '/'), Offsets(text, from, '/'))
          << "length " << length << " from " << from;
    }
  }
}

TEST(ByteHits, GivesTheFirstHitFirst) {
  const std::string text = "a/b/c/d/e/f/g/h/i/j";
  EXPECT_EQ(ByteHits(text, 0, '/').Next(), 1u);
  EXPECT_EQ(ByteHits(text, 2, '/').Next(), 3u);
  EXPECT_EQ(ByteHits(text, 17, '/').Next(), 17u);
  EXPECT_EQ(ByteHits(text, 18, '/').Next(), kNone);
  EXPECT_EQ(ByteHits(text, 0, '#').Next(), kNone);
  EXPECT_EQ(ByteHits("", 0, '/').Next(), kNone);
}

TEST(ByteHits, FindsHighBytesAndZeroBytes) {
  const std::string text(
      "ab\x81\x00\xFF\x80"
      "cdefgh\x81\x00",
      14);
  EXPECT_EQ(AllHits(text, 0, '\x81'), (std::vector<std::size_t>{2, 12}));
  EXPECT_EQ(AllHits(text, 0, '\0'), (std::vector<std::size_t>{3, 13}));
  EXPECT_EQ(AllHits(text, 0, '\xFF'), (std::vector<std::size_t>{4}));
  EXPECT_EQ(AllHits(text, 5, '\x80'), (std::vector<std::size_t>{5}));
  // Bytes past the end of a short text are never looked at.
  EXPECT_EQ(AllHits(std::string_view(text).substr(0, 3), 0, '\0'), std::vector<std::size_t>{});
}

TEST(ByteHits, AgreesWithAPlainSearchOnRandomTexts) {
  const std::string bytes = "/=a\x81\x80\xFF\x7F\x01";
  std::mt19937 random(4242);
  std::uniform_int_distribution<std::size_t> length(0, 70);
  std::uniform_int_distribution<std::size_t> pick(0, bytes.size() - 1);
  for (int i = 0; i < 20000; ++i) {
    std::string text(length(random), ' ');
    for (char& c : text) c = bytes[pick(random)];
    const char byte = bytes[pick(random)];
    const std::size_t from = std::uniform_int_distribution<std::size_t>(0, text.size())(random);
    ASSERT_EQ(AllHits(text, from, byte), Offsets(text, from, byte))
        << testing::PrintToString(text) << " from " << from;
  }
}

// Both masks of the 64 bytes from every start, on every length across the
// sixteen-byte blocks and the last, partial one: no bit past the text.
TEST(MaskTwoBytes, MarksBothBytesOfSixtyFourFromAnyStart) {
  for (std::size_t length = 1; length <= 150; ++length) {
    std::string text(length, 'x');
    for (std::size_t i = 0; i < length; i += 3) text[i] = '=';
    for (std::size_t i = 1; i < length; i += 7) text[i] = '/';
    for (std::size_t from = 0; from < length; ++from) {
      std::uint64_t equals = 0;
      std::uint64_t slashes = 0;
      for (std::size_t i = 0; i < 64 && from + i < length; ++i) {
        equals |= std::uint64_t{text[from + i] == '='} << i;
        slashes |= std::uint64_t{text[from + i] == '/'} << i;
      }
      const ByteMasks masks = MaskTwoBytes(text, from, '=', '/');
      ASSERT_EQ(masks.first, equals) << "length " << length << " from " << from;
      ASSERT_EQ(masks.second, slashes) << "length " << length << " from " << from;
    }
  }
}

}  // namespace
}  // namespace velorin
