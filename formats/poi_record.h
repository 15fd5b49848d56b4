#pragma once
// One POT line turned into a point of interest, or the reason it is skipped.
#include <string_view>

#include "formats/untitled_rule.h"
#include "geo/coordinate.h"

namespace velorin {

inline constexpr std::string_view kNoTitleText = "no title";

/// What an accepted POT line yields. The texts are views into the line (or
/// kNoTitleText): a record lives only while its line is handled.
struct PoiRecord {
  std::string_view title;
  std::string_view longitudeText;
  std::string_view latitudeText;
  double longitude = 0.0;
  double latitude = 0.0;
  PositionText position;
};

enum class SkipReason {
  kNone,                ///< accepted
  kNotPointLine,        ///< does not begin with ORD=POI
  kNoTitle,             ///< empty title and untitled points are skipped
  kNoLongitude,         ///< no /kei= value
  kNoLatitude,          ///< no ido= value
  kLongitudeRejected,   ///< ParseCoordinateText refused the longitude text
  kLatitudeRejected,    ///< ParseCoordinateText refused the latitude text
  kPositionOutOfRange,  ///< EncodeNviPosition gave no 17-character text
  kNotUtf8,             ///< a line of a UTF-8 file that is not valid UTF-8
};

struct PotLineOutcome {
  SkipReason reason = SkipReason::kNotPointLine;
  /// Filled as far as the line got: texts after extraction, angles after
  /// parsing, the position when accepted.
  PoiRecord record;
  bool accepted() const { return reason == SkipReason::kNone; }
};

/// Decides whether `line` is a point line that becomes a record. An untitled
/// point is kept under kNoTitleText or skipped, as `untitled` says; the title is
/// tested before the coordinates.
PotLineOutcome ParsePotLine(std::string_view line, UntitledRule untitled);

/// The same into an outcome kept from line to line (every field is set as
/// in a new one), for a reader that parses many lines.
void ParsePotLine(std::string_view line, UntitledRule untitled, PotLineOutcome& outcome);

}  // namespace velorin
