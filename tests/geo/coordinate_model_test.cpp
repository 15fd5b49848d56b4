// ParseCoordinateText against a literal reading of its rules: split at the
// apostrophes of the text with one apostrophe appended, render every part
// with 15 significant digits and compare, sum the four parts in order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>
#include <string>

#include "geo/coordinate.h"
#include "literal_part_rule.h"

namespace velorin {
namespace {

double LiteralCoordinate(const std::string& text) {
  const std::string extended = text + "'";
  const double divisors[] = {1, 60, 3600, 36000};
  double angle = 0;
  std::size_t current = 0;
  for (const double divisor : divisors) {
    const std::size_t apostrophe = extended.find('\'', current);
    if (apostrophe == std::string::npos) return kRejectedAngle;
    if (apostrophe + 2 > 32767) return kRejectedAngle;  // 1-based position after it
    const std::optional<double> value =
        testing::LiteralPartRule(extended.substr(current, apostrophe - current));
    if (!value) return kRejectedAngle;
    angle += *value / divisor;
    current = apostrophe + 1;
  }
  if (!std::isfinite(angle) || angle > 180) return kRejectedAngle;
  return angle;
}

void ExpectAgrees(const std::string& text) {
  const double expected = LiteralCoordinate(text);
  const double actual = ParseCoordinateText(text);
  ASSERT_TRUE(expected == actual) << ::testing::PrintToString(text) << " literal " << expected
                                  << " parsed " << actual;
}

TEST(ParseCoordinateTextModel, AgreesOnWholeNumberPartsOfEveryLength) {
  // Parts of 0 to 17 digits after 0 to 3 zeros, around the 15-digit limit.
  for (int zeros = 0; zeros <= 3; ++zeros) {
    for (int digits = 0; digits <= 17; ++digits) {
      std::string part(zeros, '0');
      for (int i = 0; i < digits; ++i) part += static_cast<char>('1' + i % 9);
      for (int place = 0; place < 4; ++place) {
        std::string parts[4] = {"1", "2", "3", "4"};
        parts[place] = part;
        ExpectAgrees(parts[0] + "'" + parts[1] + "'" + parts[2] + "'" + parts[3]);
        ExpectAgrees(parts[0] + "'" + parts[1] + "'" + parts[2] + "'" + parts[3] + "'");
        ExpectAgrees(parts[0] + "'" + parts[1] + "'" + parts[2] + "'" + parts[3] + ".5");
        ExpectAgrees(parts[0] + "'" + parts[1] + "'" + parts[2] + "'" + parts[3] + "x");
      }
    }
  }
}

TEST(ParseCoordinateTextModel, AgreesOnEveryWholePartAroundTheTabledOnes) {
  // Parts below 100 take looked-up quotients, the others divide: every value
  // in every place, with and without leading zeros, against run-time division.
  for (int value = 0; value <= 130; ++value) {
    for (const std::string& zeros : {std::string(), std::string("0"), std::string("000")}) {
      const std::string part = zeros + std::to_string(value);
      ExpectAgrees(part + "'17'29'3");
      ExpectAgrees("139'" + part + "'29'3");
      ExpectAgrees("35'17'" + part + "'3");
      ExpectAgrees("35'17'29'" + part);
      ExpectAgrees(part + "'" + part + "'" + part + "'" + part);
      // One part alone: the angle is that part's quotient itself.
      ExpectAgrees("0'" + part + "'0'0");
      ExpectAgrees("0'0'" + part + "'0");
      ExpectAgrees("0'0'0'" + part);
    }
  }
}

TEST(ParseCoordinateTextModel, AgreesOnRandomTexts) {
  const std::string pieces[] = {"0", "1",        "5",        "9",  "35",       "139", "'",
                                "'", "'",        ".",        "00", "",         " ",   "-",
                                "x", "\x82\x4f", "\x81\x27", "59", "000000000"};
  std::mt19937 random(1024);
  std::uniform_int_distribution<std::size_t> count(0, 14);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(pieces) - 1);
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    for (std::size_t n = count(random); n > 0; --n) text += pieces[pick(random)];
    ExpectAgrees(text);
  }
}

TEST(ParseCoordinateTextModel, AgreesOnRandomCoordinateShapes) {
  std::mt19937 random(35);
  std::uniform_int_distribution<int> digits(0, 4);
  std::uniform_int_distribution<int> digit(0, 9);
  std::uniform_int_distribution<int> coin(0, 9);
  for (int i = 0; i < 300000; ++i) {
    std::string text;
    for (int part = 0; part < 4; ++part) {
      if (part > 0) text += '\'';
      for (int n = digits(random); n > 0; --n) text += static_cast<char>('0' + digit(random));
      if (coin(random) == 0) text += '.';
      if (coin(random) == 0) text += static_cast<char>('0' + digit(random));
    }
    if (coin(random) == 0) text += '\'';
    ExpectAgrees(text);
  }
}

}  // namespace
}  // namespace velorin
