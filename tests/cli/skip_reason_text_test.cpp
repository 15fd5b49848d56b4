#include "cli/skip_reason_text.h"

#include <gtest/gtest.h>

namespace velorin {
namespace {

PotLineOutcome Skipped(SkipReason reason, std::string_view longitudeText = {},
                       std::string_view latitudeText = {}) {
  PotLineOutcome outcome;
  outcome.reason = reason;
  outcome.record.longitudeText = longitudeText;
  outcome.record.latitudeText = latitudeText;
  return outcome;
}

TEST(SkipReasonText, NamesEveryReason) {
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNoTitle)), "no title");
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNoLongitude)), "no longitude");
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNoLatitude)), "no latitude");
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kLongitudeRejected, "181'0'0'0", "35'0'0'0")),
            "longitude text rejected: 181'0'0'0" + std::string(kExpectedCoordinateForm));
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kLatitudeRejected, "139'0'0'0", "35'40'52.30'0")),
            "latitude text rejected: 35'40'52.30'0" + std::string(kExpectedCoordinateForm));
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kPositionOutOfRange)), "position out of range");
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNotUtf8)), "not valid UTF-8");
}

TEST(SkipReasonText, IsEmptyForAcceptedLinesAndOtherLines) {
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNone)), "");
  EXPECT_EQ(SkipReasonText(Skipped(SkipReason::kNotPointLine)), "");
}

TEST(SkipReasonText, ShowsCp932TextsAsUtf8) {
  // Full-width digits "１３９" in CP932.
  EXPECT_EQ(
      SkipReasonText(Skipped(SkipReason::kLongitudeRejected, "\x82\x50\x82\x52\x82\x58'0'0'0")),
      "longitude text rejected: \xEF\xBC\x91\xEF\xBC\x93\xEF\xBC\x99'0'0'0" +
          std::string(kExpectedCoordinateForm));
}

TEST(PrintableText, EscapesControlCharacters) {
  struct Case {
    std::string_view in;
    std::string_view out;
  };
  const Case cases[] = {
      {"35'40'52'3", "35'40'52'3"},
      {"a\tb", "a\\x09b"},
      {"\x1b[31mred", "\\x1B[31mred"},
      {std::string_view("a\0b", 3), "a\\x00b"},
      {"del\x7f", "del\\x7F"},
      {"c1 \xC2\x9B", "c1 \\x9B"},
      {"\xC2\xA9 stays", "\xC2\xA9 stays"},
      {"\xE6\x9D\xB1\xE4\xBA\xAC", "\xE6\x9D\xB1\xE4\xBA\xAC"},
      {"cut \xC2", "cut \xC2"},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintableText(c.in), c.out);
}

}  // namespace
}  // namespace velorin
