// The fast numeral check against a literal implementation of the rule:
// render the leading number with 15 significant digits, pad with zeros on the
// left, keep as many characters as the part has, and compare.
#include "geo/canonical_numeral.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "literal_part_rule.h"

namespace velorin {
namespace {

void ExpectAgrees(const std::string& part) {
  const std::optional<double> expected = testing::LiteralPartRule(part);
  const std::optional<double> actual = ParseCanonicalNumeral(part);
  ASSERT_EQ(expected.has_value(), actual.has_value()) << '"' << part << '"';
  if (expected) {
    ASSERT_EQ(*expected, *actual) << '"' << part << '"';
  }
}

struct Case {
  const char* part;
  bool accepted;
  double value;
};

TEST(CanonicalNumeral, AcceptsAndRejectsTheDocumentedParts) {
  const Case cases[] = {
      {"", true, 0},
      {"35", true, 35},
      {"035", true, 35},
      {"0000035", true, 35},
      {"0", true, 0},
      {"00", true, 0},
      {"52.3", true, 52.3},
      {"052.3", true, 52.3},
      {"0.5", true, 0.5},
      {".5", true, 0.5},
      {"00.5", true, 0.5},
      {"52.30", false, 0},
      {"52.", false, 0},
      {".", false, 0},
      {"-5", false, 0},
      {"+5", false, 0},
      {" 5", false, 0},
      {"5 ", false, 0},
      {"3 5", false, 0},
      {"4O", false, 0},
      {"1,5", false, 0},
      {"1e3", false, 0},
      {"123456789012345", true, 123456789012345.0},
      {"000123456789012345", true, 123456789012345.0},
      {"1234567890123456", false, 0},
      {"1.23456789012345", true, 1.23456789012345},
      {"1.234567890123456", false, 0},
      {".0001", true, 0.0001},
      {".000123456789012345", true, 0.000123456789012345},
      {".00001", false, 0},  // rendered 1e-05
      {"0.0", false, 0},
      {"0.", false, 0},
      {"1.05", true, 1.05},
      {"10", true, 10},
      {"100", true, 100},
      {"\x82\x4f", false, 0},  // a full-width digit zero
  };
  for (const Case& c : cases) {
    const std::optional<double> value = ParseCanonicalNumeral(c.part);
    ASSERT_EQ(value.has_value(), c.accepted) << '"' << c.part << '"';
    if (c.accepted) {
      EXPECT_EQ(*value, c.value) << '"' << c.part << '"';
    }
    ExpectAgrees(c.part);
  }
}

TEST(CanonicalNumeral, AgreesWithTheLiteralRuleOnRandomStrings) {
  const std::string alphabet = "0123456789. -+eE,O";
  std::mt19937 random(20240611);
  std::uniform_int_distribution<std::size_t> length(0, 20);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  for (int i = 0; i < 200000; ++i) {
    std::string part(length(random), ' ');
    for (char& c : part) c = alphabet[pick(random)];
    ExpectAgrees(part);
  }
}

// Random strings seldom look like numbers; these are built like numerals,
// long enough to cross the 15-digit and 1e-4 boundaries.
TEST(CanonicalNumeral, AgreesWithTheLiteralRuleOnNumeralShapes) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> zeros(0, 4);
  std::uniform_int_distribution<int> digitCount(0, 17);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> coin(0, 2);
  auto digits = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
      // Many zeros and nines: trailing zeros, leading zeros and carries.
      const int kind = coin(random);
      text += kind == 0 ? '0' : kind == 1 ? '9' : static_cast<char>('0' + digit(random));
    }
    return text;
  };
  for (int i = 0; i < 200000; ++i) {
    std::string part(zeros(random), '0');
    part += digits(digitCount(random));
    if (coin(random) != 0)
      part += '.' + std::string(zeros(random), '0') + digits(digitCount(random));
    ExpectAgrees(part);
  }
}

TEST(CanonicalNumeral, AgreesWithTheLiteralRuleOnEveryShortString) {
  const std::string alphabet = "019.";
  std::vector<std::string> level = {""};
  for (int length = 0; length <= 8; ++length) {
    std::vector<std::string> next;
    for (const std::string& part : level) {
      ExpectAgrees(part);
      for (char c : alphabet) next.push_back(part + c);
    }
    level = std::move(next);
  }
}

}  // namespace
}  // namespace velorin
