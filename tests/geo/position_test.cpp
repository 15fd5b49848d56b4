#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include "geo/coordinate.h"

namespace velorin {
namespace {

struct Case {
  double longitude;
  double latitude;
  const char* expected;
};

TEST(EncodeNviPosition, EncodesTheWorkedExamples) {
  const Case cases[] = {
      {0, 0, "$0000000000000000"},
      {180, 0, "$1555555555554000"},
      {0, 180, "$2AAAAAAAAAAA8000"},
      {180, 180, "$3FFFFFFFFFFFC000"},
      {135, 35, "$13D5FD5FD5FD4C00"},
      {1 / kUnitsPerDegree, 0, "$0000000000000001"},
      {0, 1 / kUnitsPerDegree, "$0000000000000002"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EncodeNviPosition(c.longitude, c.latitude).view(), c.expected)
        << c.longitude << ", " << c.latitude;
  }
}

TEST(EncodeNviPosition, EncodesParsedCoordinates) {
  const double longitude = ParseCoordinateText("139'46'1'6");
  const double latitude = ParseCoordinateText("35'40'52'3");
  EXPECT_EQ(std::floor(longitude * kUnitsPerDegree + 0.5), 1667486487.0);
  EXPECT_EQ(std::floor(latitude * kUnitsPerDegree + 0.5), 425693206.0);
  EXPECT_EQ(EncodeNviPosition(longitude, latitude).view(), "$168736AFD305033D");
}

TEST(EncodeNviPosition, RoundsHalvesUp) {
  EXPECT_EQ(EncodeNviPosition(0.5 / kUnitsPerDegree, 0).view(), "$0000000000000001");
  EXPECT_EQ(EncodeNviPosition(0.49 / kUnitsPerDegree, 0).view(), "$0000000000000000");
}

TEST(EncodeNviPosition, RefusesAnglesAbove180) {
  EXPECT_TRUE(EncodeNviPosition(180.0000001, 0).empty());
  EXPECT_TRUE(EncodeNviPosition(0, 180.0000001).empty());
  EXPECT_TRUE(EncodeNviPosition(std::numeric_limits<double>::infinity(), 0).empty());
  EXPECT_EQ(EncodeNviPosition(180.0000001, 0).view(), "");
}

TEST(EncodeNviPosition, NegativeAnglesUseTheLow31BitsOfTheirTwosComplement) {
  // -1 unit is 0xFFFFFFFF; its low 31 bits fill every even bit up to bit 60.
  EXPECT_EQ(EncodeNviPosition(-1 / kUnitsPerDegree, 0).view(), "$1555555555555555");
  EXPECT_EQ(EncodeNviPosition(0, -1 / kUnitsPerDegree).view(), "$2AAAAAAAAAAAAAAA");
}

TEST(EncodeNviPosition, RefusesWhatNoUnitCountCanHold) {
  // Neither is ever passed; both would otherwise need an undefined conversion.
  EXPECT_TRUE(EncodeNviPosition(std::nan(""), 0).empty());
  EXPECT_TRUE(EncodeNviPosition(0, -1e300).empty());
}

// Bit by bit, as the code is described: bit i of X to bit 2i, of Y to 2i+1.
std::string ReferenceCode(double longitude, double latitude) {
  const auto x = static_cast<std::uint64_t>(std::floor(longitude * kUnitsPerDegree + 0.5));
  const auto y = static_cast<std::uint64_t>(std::floor(latitude * kUnitsPerDegree + 0.5));
  std::uint64_t code = 0;
  for (int i = 0; i <= 30; ++i) {
    code |= ((x >> i) & 1) << (2 * i);
    code |= ((y >> i) & 1) << (2 * i + 1);
  }
  char text[18];
  std::snprintf(text, sizeof text, "$%016llX", static_cast<unsigned long long>(code));
  return text;
}

TEST(EncodeNviPosition, InterleavesLikeTheBitByBitDescription) {
  std::mt19937_64 random(42);
  std::uniform_real_distribution<double> angle(0.0, 180.0);
  for (int i = 0; i < 100000; ++i) {
    const double longitude = angle(random);
    const double latitude = angle(random);
    const PositionText text = EncodeNviPosition(longitude, latitude);
    ASSERT_EQ(text.view(), ReferenceCode(longitude, latitude));
    ASSERT_EQ(text.size(), 17u);
    ASSERT_EQ(text.view().find_first_not_of("0123456789ABCDEF", 1), std::string::npos);
  }
}

}  // namespace
}  // namespace velorin
