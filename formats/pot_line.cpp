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

// Fills the record as far as the line gets and says why it is skipped, if
// it is: texts after extraction, angles after parsing, the position when
// accepted. The angles and the position are set by the caller beforehand.
SkipReason ParseInto(std::string_view line, UntitledRule untitled, PoiRecord& record) {
  if (!IsPointLine(line)) {
    record.title = {};
    record.longitudeText = {};
    record.latitudeText = {};
    return SkipReason::kNotPointLine;
  }
  // All three fields are taken before any of them is tested, so that a skip
  // explanation can show every one of them.
  ExtractPotLineFields(line, record.title, record.longitudeText, record.latitudeText);
  if (record.title.empty() && untitled == UntitledRule::kKeep) record.title = kNoTitleText;

  if (record.title.empty()) return SkipReason::kNoTitle;
  if (record.longitudeText.empty()) return SkipReason::kNoLongitude;
  if (record.latitudeText.empty()) return SkipReason::kNoLatitude;

  // Both texts are parsed, the longitude first, before either is tested.
  record.longitude = ParseCoordinateText(record.longitudeText);
  record.latitude = ParseCoordinateText(record.latitudeText);
  // Written as "not at least 0" so that a NaN could never reach the encoder.
  if (!(record.longitude >= 0.0)) return SkipReason::kLongitudeRejected;
  if (!(record.latitude >= 0.0)) return SkipReason::kLatitudeRejected;

  record.position = EncodeNviPosition(record.longitude, record.latitude);
  if (record.position.size() != 17) return SkipReason::kPositionOutOfRange;
  return SkipReason::kNone;
}

}  // namespace

void ParsePotLine(std::string_view line, UntitledRule untitled, PotLineOutcome& outcome) {
  PoiRecord& record = outcome.record;
  record.longitude = 0.0;
  record.latitude = 0.0;
  record.position = PositionText();
  outcome.reason = ParseInto(line, untitled, record);
}

PotLineOutcome ParsePotLine(std::string_view line, UntitledRule untitled) {
  PotLineOutcome outcome;
  ParsePotLine(line, untitled, outcome);
  return outcome;
}

}  // namespace velorin
