#include "geo/coordinate.h"

#include <gtest/gtest.h>

#include <string>

namespace velorin {
namespace {

// The angle exactly as the parser must compute it.
double Dmst(double d, double m, double s, double t) {
  return ((d + m / 60) + s / 3600) + t / 36000;
}

struct Case {
  std::string text;
  double expected;
};

TEST(ParseCoordinateText, ComputesDegreesFromTheFourParts) {
  const Case cases[] = {
      {"35'40'52'3", Dmst(35, 40, 52, 3)},
      {"035'40'52'3", Dmst(35, 40, 52, 3)},
      {"35'40'52.3'0", Dmst(35, 40, 52.3, 0)},
      {"35'40'52'", Dmst(35, 40, 52, 0)},
      {"35'40'52'3'9", Dmst(35, 40, 52, 3)},
      {"35'40'52'3'anything at all", Dmst(35, 40, 52, 3)},
      {"'''", 0.0},
      {"''''", 0.0},
      {"180'0'0'0", 180.0},
      {"35'99'99'9", Dmst(35, 99, 99, 9)},
      {"0'0'0'30", Dmst(0, 0, 0, 30)},
      {"139'46'1'6", Dmst(139, 46, 1, 6)},
      {"0'0'0'0", 0.0},
      {"0'.5'00'", Dmst(0, 0.5, 0, 0)},
      {"179'59'59'9", Dmst(179, 59, 59, 9)},
      {"0'10800'0'0", 180.0},  // minutes are not range-tested
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ParseCoordinateText(c.text), c.expected) << c.text;
  }
}

TEST(ParseCoordinateText, DecimalSecondsAndTenthsGiveNearlyTheSameAngle) {
  EXPECT_NEAR(ParseCoordinateText("35'40'52.3'0"), ParseCoordinateText("35'40'52'3"), 1e-12);
  EXPECT_NEAR(ParseCoordinateText("35'40'52'3"), 35.681194444444, 1e-11);
  EXPECT_NEAR(ParseCoordinateText("35'99'99'9"), 36.67775, 1e-12);
  EXPECT_NEAR(ParseCoordinateText("0'0'0'30"), 3.0 / 3600, 1e-15);
}

TEST(ParseCoordinateText, RejectsUnusableTexts) {
  const std::string rejected[] = {
      "",
      "35",
      "''",
      "35'40'52",
      "-35'40'52'3",
      " 35'40'52'3",
      "35'40'52'3 ",
      "35'40'52 '3",
      "180'0'0'1",
      "181'0'0'0",
      "180.000000000001'0'0'0",
      "35'40'52.30'0",
      "35'40'52.'0",
      "35'40'.'0",
      "4O'0'0'0",
      "1,5'0'0'0",
      "1e3'0'0'0",
      "+35'40'52'3",
      "35'40'-52'3",
      "1234567890123456'0'0'0",
      "35\x81\x66'0'0'0",    // a double-byte character inside a part
      "35'40'52'3\x82\x4f",  // a full-width digit in the fourth part
      "35\"'40'52'3",
  };
  for (const std::string& text : rejected) {
    EXPECT_EQ(ParseCoordinateText(text), kRejectedAngle) << text;
  }
}

TEST(ParseCoordinateText, IgnoresEverythingAfterTheFourthApostrophe) {
  EXPECT_EQ(ParseCoordinateText("35'40'52'3'\x93\x8c\x8b\x9e'-x"), Dmst(35, 40, 52, 3));
  EXPECT_EQ(ParseCoordinateText("35'40'52'3'" + std::string(40000, 'x')), Dmst(35, 40, 52, 3));
}

// A text of `length` characters whose fourth apostrophe is its last character.
std::string FourApostrophesEndingAt(std::size_t length) {
  const std::string tail = "35'40'52'3'";
  return std::string(length - tail.size(), '0') + tail;
}

TEST(ParseCoordinateText, ApostrophePositionsMustLeaveRoomForTheNextPosition) {
  // The position after the fourth apostrophe must still be at most 32767.
  EXPECT_EQ(ParseCoordinateText(FourApostrophesEndingAt(32766)), Dmst(35, 40, 52, 3));
  EXPECT_EQ(ParseCoordinateText(FourApostrophesEndingAt(32767)), kRejectedAngle);
  EXPECT_EQ(ParseCoordinateText(FourApostrophesEndingAt(40000)), kRejectedAngle);
}

TEST(ParseCoordinateText, TheAppendedApostropheCountsAsAPosition) {
  // Three apostrophes: the appended one follows the last character.
  const std::string head = "35'40'52'";
  EXPECT_EQ(ParseCoordinateText(head + std::string(32765 - head.size() - 1, '0') + "3"),
            Dmst(35, 40, 52, 3));
  EXPECT_EQ(ParseCoordinateText(head + std::string(32766 - head.size() - 1, '0') + "3"),
            kRejectedAngle);
}

}  // namespace
}  // namespace velorin
