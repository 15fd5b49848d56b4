#include "formats/pot_skip_reason.h"

#include "text/cp932_decoder.h"

namespace velorin {

std::string PotSkipReasonText(const PotLineOutcome& outcome) {
  switch (outcome.reason) {
    case SkipReason::kNone:
    case SkipReason::kNotPointLine:
      return {};
    case SkipReason::kNoTitle:
      return "no title";
    case SkipReason::kNoLongitude:
      return "no longitude";
    case SkipReason::kNoLatitude:
      return "no latitude";
    case SkipReason::kLongitudeRejected:
      return "longitude text rejected: " + Cp932ToUtf8(outcome.record.longitudeText) +
             std::string(kExpectedCoordinateForm);
    case SkipReason::kLatitudeRejected:
      return "latitude text rejected: " + Cp932ToUtf8(outcome.record.latitudeText) +
             std::string(kExpectedCoordinateForm);
    case SkipReason::kPositionOutOfRange:
      return "position out of range";
    case SkipReason::kNotUtf8:
      return "not valid UTF-8";
  }
  return {};
}

}  // namespace velorin
