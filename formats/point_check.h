#pragma once
// Whether a point can be written: a title unless untitled points are kept,
// and a position the output's format holds.
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "formats/point_reader.h"
#include "formats/untitled_rule.h"
#include "geo/position_code.h"

namespace velorin {

/// The positions a format holds.
enum class PositionRange {
  kNvi,    ///< longitude and latitude 0 to 180 degrees (NVI, POT)
  kGlobe,  ///< latitude -90 to 90, longitude -180 to 180 (GPX, KML, CSV ...)
};

/// Why a point cannot be written, and the words for it.
using PointProblem = std::pair<SkipKind, std::string>;

namespace point_check {
// The problems with their words, formed only when a point has one.
PointProblem Untitled();
PointProblem CodeBeyondNvi();
std::optional<PointProblem> DegreesBeyondNvi(const Degrees& degrees);
std::optional<PointProblem> OffTheGlobe(const Degrees& degrees);

/// The longitude and latitude DegreesOf gives, without the rest of Degrees.
inline std::pair<double, double> AnglesOf(const PointPosition& position) {
  if (const auto* degrees = std::get_if<Degrees>(&position)) {
    return {degrees->longitude, degrees->latitude};
  }
  const auto& units = std::get<DecodedPosition>(position);
  return {units.x / kUnitsPerDegree, units.y / kUnitsPerDegree};
}

// The same limits as plain comparisons, so that a point within them (nearly
// every one) is passed without a call; NaN is within none.
constexpr bool OnTheGlobe(double longitude, double latitude) {
  return longitude >= -180.0 && longitude <= 180.0 && latitude >= -90.0 && latitude <= 90.0;
}
constexpr bool WithinNvi(double longitude, double latitude) {
  return longitude >= 0.0 && longitude <= 180.0 && latitude >= 0.0 && latitude <= 180.0;
}
}  // namespace point_check

/// What a point is checked against: the positions its input's format
/// defines (a GPX latitude is within -90 to 90, a POT one within 0 to 180)
/// and those its output holds.
struct PointRanges {
  PositionRange input = PositionRange::kNvi;
  PositionRange output = PositionRange::kNvi;
};

/// Why `point` cannot be written, or nothing when it can: no title
/// (`untitled`) under the skip rule, a coordinate outside either range (or
/// not a number). Inline: the run asks for every point, and nearly every
/// one passes at once.
inline std::optional<PointProblem> CheckPoint(const Point& point, bool untitled, UntitledRule rule,
                                              PointRanges ranges = {}) {
  if (untitled && rule == UntitledRule::kSkip) return point_check::Untitled();
  const auto* degrees = std::get_if<Degrees>(&point.position);
  if (ranges.input == PositionRange::kGlobe || ranges.output == PositionRange::kGlobe) {
    const auto [longitude, latitude] = point_check::AnglesOf(point.position);
    if (!point_check::OnTheGlobe(longitude, latitude)) {
      if (auto problem = point_check::OffTheGlobe(DegreesOf(point.position))) return problem;
    }
    if (ranges.output == PositionRange::kGlobe) return std::nullopt;
  }
  if (degrees == nullptr) {
    if (!IsWithinNviRange(std::get<DecodedPosition>(point.position))) {
      return point_check::CodeBeyondNvi();
    }
    return std::nullopt;
  }
  // A code the reader worked out (a POT point) shows the degrees are within
  // 0 to 180.
  if (!degrees->nviCode.empty()) return std::nullopt;
  if (point_check::WithinNvi(degrees->longitude, degrees->latitude)) return std::nullopt;
  return point_check::DegreesBeyondNvi(*degrees);
}

}  // namespace velorin
