#include "formats/pot_skip_reason.h"

#include <gtest/gtest.h>

#include <string>

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

TEST(PotSkipReasonText, NamesEveryReason) {
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNoTitle)), "no title");
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNoLongitude)), "no longitude");
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNoLatitude)), "no latitude");
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kLongitudeRejected, "181'0'0'0", "35'0'0'0")),
            "longitude text rejected: 181'0'0'0" + std::string(kExpectedCoordinateForm));
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kLatitudeRejected, "139'0'0'0", "35'40'52.30'0")),
            "latitude text rejected: 35'40'52.30'0" + std::string(kExpectedCoordinateForm));
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kPositionOutOfRange)), "position out of range");
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNotUtf8)), "not valid UTF-8");
}

TEST(PotSkipReasonText, IsEmptyForAcceptedLinesAndOtherLines) {
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNone)), "");
  EXPECT_EQ(PotSkipReasonText(Skipped(SkipReason::kNotPointLine)), "");
}

TEST(PotSkipReasonText, ShowsCp932TextsAsUtf8) {
  // Full-width digits "１３９" in CP932.
  EXPECT_EQ(
      PotSkipReasonText(Skipped(SkipReason::kLongitudeRejected, "\x82\x50\x82\x52\x82\x58'0'0'0")),
      "longitude text rejected: \xEF\xBC\x91\xEF\xBC\x93\xEF\xBC\x99'0'0'0" +
          std::string(kExpectedCoordinateForm));
}

}  // namespace
}  // namespace velorin
