#include "formats/decimal_text.h"

#include <gtest/gtest.h>

#include <cmath>

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
        ParseCase{"TwoSigns", "+-1", std::nullopt}, ParseCase{"Overflow", "1e999", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velorin
