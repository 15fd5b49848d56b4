#include "formats/decimal_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <string>

namespace velorin {
namespace {

struct FormatCase {
  const char* name;
  double degrees;
  const char* text;
};

void PrintTo(const FormatCase& c, std::ostream* out) { *out << c.name; }

class FormatDegreesTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatDegreesTest, NinePlaces) {
  EXPECT_EQ(FormatDegrees(GetParam().degrees).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Angles, FormatDegreesTest,
                         ::testing::Values(FormatCase{"Zero", 0.0, "0.000000000"},
                                           FormatCase{"NegativeZero", -0.0, "0.000000000"},
                                           FormatCase{"OneEighty", 180.0, "180.000000000"},
                                           FormatCase{"Tower", 139.745433, "139.745433000"},
                                           FormatCase{"RoundsTheTenthPlace", 35.12345678951,
                                                      "35.123456790"},
                                           FormatCase{"Negative", -12.5, "-12.500000000"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnitsCase {
  const char* name;
  std::uint32_t units;
  const char* text;
};

void PrintTo(const UnitsCase& c, std::ostream* out) { *out << c.name; }

class FormatUnitsTest : public ::testing::TestWithParam<UnitsCase> {};

TEST_P(FormatUnitsTest, ExactFromTheInteger) {
  EXPECT_EQ(FormatUnitsAsDegrees(GetParam().units).view(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, FormatUnitsTest,
    ::testing::Values(UnitsCase{"Zero", 0, "0.000000000"}, UnitsCase{"OneUnit", 1, "0.000000084"},
                      UnitsCase{"OneEighty", kMaxAngleUnits, "180.000000000"},
                      UnitsCase{"WorkedLongitude", 1667486487, "139.767111070"},
                      UnitsCase{"JustBelowADegree", 11930463, "0.999999916"}),
    [](const auto& info) { return std::string(info.param.name); });

// Nine places are finer than a code unit: every angle integer comes back.
TEST(FormatUnitsTest, EveryCodeSurvivesTheTextAndBack) {
  for (std::uint64_t units = 0; units <= kMaxAngleUnits; units += 65537) {
    const auto x = static_cast<std::uint32_t>(units);
    const std::string longitude(FormatUnitsAsDegrees(x).view());
    const std::string latitude(FormatUnitsAsDegrees(kMaxAngleUnits - x).view());
    EXPECT_EQ(EncodeNviPosition(std::stod(longitude), std::stod(latitude)).view(),
              FormatPositionCode(x, kMaxAngleUnits - x).view())
        << longitude << " " << latitude;
  }
}

struct ParseCase {
  const char* name;
  const char* text;
  std::optional<double> value;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << c.name; }

class ParseDecimalDegreesTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseDecimalDegreesTest, ReadsPlainNumbersOnly) {
  EXPECT_EQ(ParseDecimalDegrees(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseDecimalDegreesTest,
    ::testing::Values(
        ParseCase{"Plain", "35.5", 35.5}, ParseCase{"Negative", "-12.25", -12.25},
        ParseCase{"PlusSign", "+1", 1.0}, ParseCase{"LeadingPoint", ".5", 0.5},
        ParseCase{"BlanksAround", " \t139.5\r\n", 139.5}, ParseCase{"Exponent", "1.5e1", 15.0},
        ParseCase{"Empty", "", std::nullopt}, ParseCase{"Blank", "  ", std::nullopt},
        ParseCase{"Infinity", "inf", std::nullopt}, ParseCase{"NotANumber", "nan", std::nullopt},
        ParseCase{"NegativeInfinity", "-inf", std::nullopt},
        ParseCase{"TrailingText", "35.5N", std::nullopt}, ParseCase{"Comma", "35,5", std::nullopt},
        ParseCase{"TwoSigns", "+-1", std::nullopt}, ParseCase{"Overflow", "1e999", std::nullopt},
        ParseCase{"TrailingPoint", "5.", 5.0}, ParseCase{"TwoPoints", "1.2.3", std::nullopt},
        ParseCase{"LoneMinus", "-", std::nullopt}, ParseCase{"LonePoint", ".", std::nullopt},
        ParseCase{"SixteenDigits", "35.68119444444444", 35.68119444444444}),
    [](const auto& info) { return std::string(info.param.name); });

// Up to eight places are read as one word, the eight bytes that end the
// text: one place short of, at and past eight, texts too short for a word,
// and bytes next to the digits' range inside the word.
INSTANTIATE_TEST_SUITE_P(
    DigitGroups, ParseDecimalDegreesTest,
    ::testing::Values(ParseCase{"SevenPlacesOneGroup", "135.1234567", 135.1234567},
                      ParseCase{"EightPlacesWholeGroup", "1.23456789", 1.23456789},
                      ParseCase{"NinePlacesGroupAndOne", "35.123456789", 35.123456789},
                      ParseCase{"TextOfSevenBytes", "1.23456", 1.23456},
                      ParseCase{"TextOfEightBytes", "-1.23456", -1.23456},
                      ParseCase{"NegativeZeroPlaces", "-0.0000000", -0.0},
                      ParseCase{"ColonInGroup", "12.345678:", std::nullopt},
                      ParseCase{"SlashInGroup", "12.34/67890", std::nullopt},
                      ParseCase{"HighByteInGroup",
                                "12.3456\xFA"
                                "89",
                                std::nullopt},
                      ParseCase{"ExponentAfterGroup", "1.23456789e1", 12.3456789},
                      ParseCase{"BlankAfterGroup", "1.23456789 ", 1.23456789},
                      ParseCase{"SixteenPlaces", "0.1234567890123456", 0.1234567890123456},
                      ParseCase{"FifteenDigitsExactly", "12345.6789012345", 12345.6789012345}),
    [](const auto& info) { return std::string(info.param.name); });

// Plain decimals of up to 15 digits and beyond read exactly as the general
// parser reads them, down to the last bit and the sign of zero.
TEST(ParseDecimalDegreesTest, PlainDecimalsRoundAsTheGeneralParser) {
  std::uint64_t state = 1;
  const auto next = [&state] {
    return state = state * 6364136223846793005u + 1442695040888963407u;
  };
  for (int i = 0; i < 200000; ++i) {
    std::string text = next() % 4 == 0 ? "-" : "";
    const int whole = 1 + static_cast<int>(next() % 4);
    const int places = static_cast<int>(next() % 15);
    for (int d = 0; d < whole; ++d) text += static_cast<char>('0' + next() % 10);
    if (places > 0) text += '.';
    for (int d = 0; d < places; ++d) text += static_cast<char>('0' + next() % 10);
    double expected = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    const std::optional<double> read = ParseDecimalDegrees(text);
    ASSERT_TRUE(read) << text;
    ASSERT_EQ(std::bit_cast<std::uint64_t>(*read), std::bit_cast<std::uint64_t>(expected)) << text;
  }
}

}  // namespace
}  // namespace velorin
