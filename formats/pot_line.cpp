#include <string_view>

#include "formats/poi_record.h"
#include "geo/coordinate.h"
#include "text/key_value.h"
#include "text/sjis_scan.h"

namespace velorin {
namespace {

// The prefix, keys and delimiter, all without regard to letter case,
// analysed once.
constexpr SearchPattern kPointLinePrefix("ORD=POI", true);
constexpr SearchPattern kTitleKey("/tex=", true);
constexpr SearchPattern kLongitudeKey("/kei=", true);
constexpr SearchPattern kLatitudeKey("ido=", true);
constexpr SearchPattern kFieldDelimiter("/", true);

/// The first seven characters, ASCII letters upper-cased, read "ORD=POI".
bool IsPointLine(std::string_view line) { return kPointLinePrefix.MatchesAt(line, 0); }

std::string_view ExtractField(std::string_view line, const SearchPattern& key) {
  return ExtractKeyValue(line, key, kFieldDelimiter, 1, /*stripQuotes=*/true,
                         /*blankToEmpty=*/true);
}

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
  record.title = ExtractField(line, kTitleKey);
  record.longitudeText = ExtractField(line, kLongitudeKey);
  record.latitudeText = ExtractField(line, kLatitudeKey);
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
