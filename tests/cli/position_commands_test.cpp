#include "cli/position_commands.h"

#include <gtest/gtest.h>

#include <sstream>

#include "cli/exit_codes.h"
#include "cli/printable_text.h"
#include "formats/pot_skip_reason.h"

namespace velorin {
namespace {

struct DecodeCase {
  const char* text;
  std::uint32_t x;
  std::uint32_t y;
};

TEST(DecodePositionText, SplitsEvenAndOddBits) {
  const DecodeCase cases[] = {
      {"$0000000000000000", 0, 0},
      {"$0000000000000001", 1, 0},
      {"$0000000000000002", 0, 1},
      {"$1555555555554000", 2147483520, 0},
      {"$2AAAAAAAAAAA8000", 0, 2147483520},
      {"$3FFFFFFFFFFFC000", 2147483520, 2147483520},
      {"$13D5FD5FD5FD4C00", 1610612640, 417566240},
      {"$168736AFD305033D", 1667486487, 425693206},
      {"$168736afd305033d", 1667486487, 425693206},
      // Bits 62 and 63 never occur in a written code but still decode.
      {"$FFFFFFFFFFFFFFFF", 0xFFFFFFFFu, 0xFFFFFFFFu},
  };
  for (const DecodeCase& c : cases) {
    const std::optional<DecodedPosition> position = DecodePositionText(c.text);
    ASSERT_TRUE(position.has_value()) << c.text;
    EXPECT_EQ(position->x, c.x) << c.text;
    EXPECT_EQ(position->y, c.y) << c.text;
  }
}

TEST(DecodePositionText, RefusesEverythingButDollarAndSixteenHexDigits) {
  for (const char* text : {"", "$", "168736AFD305033D", "$168736AFD305033", "$168736AFD305033D0",
                           "#168736AFD305033D", "$168736AFD305033G", "$168736AFD30 033D",
                           "$0x68736AFD305033", " $168736AFD305033D", "$-68736AFD305033D"}) {
    EXPECT_FALSE(DecodePositionText(text).has_value()) << "'" << text << "'";
  }
}

TEST(FormatPotNotation, RoundsToWholeTenthsOfASecond) {
  struct Case {
    double degrees;
    const char* text;
  };
  const Case cases[] = {
      {0.0, "0'0'0'0"},
      {180.0, "180'0'0'0"},
      {135.5, "135'30'0'0"},
      {139.0 + 46.0 / 60 + 1.0 / 3600 + 6.0 / 36000, "139'46'1'6"},
      {35.0 + 40.0 / 60 + 52.0 / 3600 + 3.0 / 36000, "35'40'52'3"},
      // 59.96 seconds round up into the next minute and degree.
      {10.0 + 59.0 / 60 + 59.96 / 3600, "11'0'0'0"},
      {10.0 + 59.0 / 60 + 59.94 / 3600, "10'59'59'9"},
      {1.0 / 36000 * 0.49, "0'0'0'0"},
  };
  for (const Case& c : cases) EXPECT_EQ(FormatPotNotation(c.degrees), c.text) << c.degrees;
}

TEST(FormatDecodedPosition, PrintsDecimalDegreesThenPotNotation) {
  EXPECT_EQ(FormatDecodedPosition({1667486487, 425693206}),
            "139.7671111 35.6811945\n139'46'1'6 35'40'52'3\n");
  EXPECT_EQ(FormatDecodedPosition({2147483520, 0}), "180.0000000 0.0000000\n180'0'0'0 0'0'0'0\n");
}

struct CommandResult {
  int exitCode;
  std::string out;
  std::string err;
};

CommandResult Encode(std::string_view longitude, std::string_view latitude) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunEncodeCommand(longitude, latitude, out, err);
  return {code, out.str(), err.str()};
}

CommandResult Decode(std::string_view position) {
  std::ostringstream out;
  std::ostringstream err;
  const int code = RunDecodeCommand(position, out, err);
  return {code, out.str(), err.str()};
}

TEST(EncodeCommand, PrintsThePositionText) {
  const CommandResult result = Encode("139'46'1'6", "35'40'52'3");
  EXPECT_EQ(result.exitCode, kExitDone);
  EXPECT_EQ(result.out, "$168736AFD305033D\n");
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(Encode("135'0'0'0", "35'0'0'0").out, "$13D5FD5FD5FD4C00\n");
  EXPECT_EQ(Encode("180'''", "180'''").out, "$3FFFFFFFFFFFC000\n");
}

TEST(EncodeCommand, NamesEachRejectedText) {
  CommandResult result = Encode("181'0'0'0", "35'40'52'3");
  EXPECT_EQ(result.exitCode, kExitFailed);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "velorin-cli: longitude text rejected: 181'0'0'0" +
                            std::string(kExpectedCoordinateForm) + "\n");

  result = Encode("139'46'1'6", "35'40'52.30'0");
  EXPECT_EQ(result.exitCode, kExitFailed);
  EXPECT_EQ(result.err, "velorin-cli: latitude text rejected: 35'40'52.30'0" +
                            std::string(kExpectedCoordinateForm) + "\n");

  result = Encode("35'40'52", "x\x1b[2J");
  EXPECT_EQ(result.exitCode, kExitFailed);
  EXPECT_EQ(result.err, "velorin-cli: longitude text rejected: 35'40'52" +
                            std::string(kExpectedCoordinateForm) +
                            "\nvelorin-cli: latitude text rejected: x\\x1B[2J" +
                            std::string(kExpectedCoordinateForm) + "\n");
}

struct DecimalEncodeCase {
  const char* longitude;
  const char* latitude;
  const char* position;
};

// Decimal degrees as decode prints them first, and as point files write
// them: the code a CSV file with those numbers gives.
TEST(EncodeCommand, TakesDecimalDegreesToo) {
  const DecimalEncodeCase cases[] = {
      {"135", "35", "$13D5FD5FD5FD4C00"},
      {"0", "0", "$0000000000000000"},
      {"180", "180.0", "$3FFFFFFFFFFFC000"},
      {"0.000000083819", "0", "$0000000000000001"},
      {"139.745433", "35.658581", "$168733DF7E085B86"},
      {"6.958281", "50.941278", "$08305F86C71F3E8B"},
      {"139.7671111", "35.6811944", "$168736AFD3050337"},
      // One text of each notation.
      {"139'46'1'6", "35.6811945", "$168736AFD305033D"},
      {"-0", "1e1", "$002A02A02A02A000"},
  };
  for (const DecimalEncodeCase& c : cases) {
    const CommandResult result = Encode(c.longitude, c.latitude);
    EXPECT_EQ(result.exitCode, kExitDone) << c.longitude << " " << c.latitude;
    EXPECT_EQ(result.out, std::string(c.position) + "\n") << c.longitude << " " << c.latitude;
    EXPECT_EQ(result.err, "");
  }
}

struct RejectedCase {
  const char* longitude;
  const char* latitude;
  std::string err;
};

TEST(EncodeCommand, RefusesDecimalsOutsideNviAndWhatIsNoNumber) {
  const std::string form = std::string(kExpectedCoordinateForm) + "\n";
  const RejectedCase cases[] = {
      {"-35.5", "35",
       "velorin-cli: longitude text rejected: -35.5 (decimal degrees must lie between 0 and "
       "180)\n"},
      {"139", "180.0000001",
       "velorin-cli: latitude text rejected: 180.0000001 (decimal degrees must lie between 0 "
       "and 180)\n"},
      {"139,5", "35", "velorin-cli: longitude text rejected: 139,5" + form},
      {"nan", "inf",
       "velorin-cli: longitude text rejected: nan" + form +
           "velorin-cli: latitude text rejected: inf" + form},
      // An apostrophe makes it D'M'S'T, whatever else it holds.
      {"139.5'", "35", "velorin-cli: longitude text rejected: 139.5'" + form},
      {"139", "", "velorin-cli: latitude text rejected: " + form},
  };
  for (const RejectedCase& c : cases) {
    const CommandResult result = Encode(c.longitude, c.latitude);
    EXPECT_EQ(result.exitCode, kExitFailed) << c.longitude << " " << c.latitude;
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
}

TEST(DecodeCommand, PrintsBothNotations) {
  const CommandResult result = Decode("$168099C7A8913920");
  EXPECT_EQ(result.exitCode, kExitDone);
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out, "135.5000000 34.6833334\n135'30'0'0 34'41'0'0\n");
}

TEST(DecodeCommand, ExplainsAMalformedText) {
  const CommandResult result = Decode("168099C7A8913920");
  EXPECT_EQ(result.exitCode, kExitFailed);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err,
            "velorin-cli: not a position text: '168099C7A8913920' (expected \"$\" followed by 16 "
            "hexadecimal digits)\n");
}

TEST(PositionCommands, DecodeOfEncodeGivesBackCanonicalTexts) {
  const std::pair<const char*, const char*> pairs[] = {
      {"0'0'0'0", "0'0'0'0"},      {"180'0'0'0", "180'0'0'0"}, {"139'46'1'6", "35'40'52'3"},
      {"135'30'0'0", "34'41'0'0"}, {"0'0'0'1", "179'59'59'9"}, {"123'4'5'6", "45'59'59'9"},
      {"89'59'59'9", "90'0'0'1"},  {"1'1'1'1", "2'2'2'2"},
  };
  for (const auto& [longitude, latitude] : pairs) {
    const CommandResult encoded = Encode(longitude, latitude);
    ASSERT_EQ(encoded.exitCode, kExitDone) << longitude << " " << latitude;
    const CommandResult decoded = Decode(encoded.out.substr(0, encoded.out.size() - 1));
    ASSERT_EQ(decoded.exitCode, kExitDone);
    const std::string secondLine = decoded.out.substr(decoded.out.find('\n') + 1);
    EXPECT_EQ(secondLine, std::string(longitude) + " " + latitude + "\n");
  }
}

}  // namespace
}  // namespace velorin
