#include <string_view>

#include "formats/poi_record.h"
#include "formats/pot_line_fields.h"
#include "geo/coordinate.h"
#include "text/search_pattern.h"
#include "text/sjis_scan.h"

namespace velorin {
namespace {

// Without regard to letter case, analysed once.
constexpr SearchPattern kPointLinePrefix("ORD=POI", true);

/// The first seven characters, ASCII letters upper-cased, read "ORD=POI".
bool IsPointLine(std::string_view line) { return kPointLinePrefix.MatchesAt(line, 0); }

}  // namespace

PotLineOutcome ParsePotLine(std::string_view line, UntitledRule untitled) {
  PotLineOutcome outcome;
  if (!IsPointLine(line)) {
    outcome.reason = SkipReason::kNotPointLine;
    return outcome;
  }

  // All three fields are taken before any of them is tested, so that a skip
  // explanation can show every one of them.
  PoiRecord& record = outcome.record;
  const PotLineFields fields = ExtractPotLineFields(line);
  record.title = fields.title;
  record.longitudeText = fields.longitudeText;
  record.latitudeText = fields.latitudeText;
  if (record.title.empty() && untitled == UntitledRule::kKeep) record.title = kNoTitleText;

  if (record.title.empty()) {
    outcome.reason = SkipReason::kNoTitle;
    return outcome;
  }
  if (record.longitudeText.empty()) {
    outcome.reason = SkipReason::kNoLongitude;
    return outcome;
  }
  if (record.latitudeText.empty()) {
    outcome.reason = SkipReason::kNoLatitude;
    return outcome;
  }

  // Both texts are parsed, the longitude first, before either is tested.
  record.longitude = ParseCoordinateText(record.longitudeText);
  record.latitude = ParseCoordinateText(record.latitudeText);
  // Written as "not at least 0" so that a NaN could never reach the encoder.
  if (!(record.longitude >= 0.0)) {
    outcome.reason = SkipReason::kLongitudeRejected;
    return outcome;
  }
  if (!(record.latitude >= 0.0)) {
    outcome.reason = SkipReason::kLatitudeRejected;
    return outcome;
  }

  record.position = EncodeNviPosition(record.longitude, record.latitude);
  if (record.position.size() != 17) {
    outcome.reason = SkipReason::kPositionOutOfRange;
    return outcome;
  }
  outcome.reason = SkipReason::kNone;
  return outcome;
}

}  // namespace velorin
