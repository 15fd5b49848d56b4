#pragma once
// Whether a point can be written: a title unless untitled points are kept,
// and a position the output's format holds.
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "formats/point_reader.h"
#include "formats/untitled_rule.h"

namespace velorin {

/// The positions a format holds.
enum class PositionRange {
  kNvi,    ///< longitude and latitude 0 to 180 degrees (NVI, POT)
  kGlobe,  ///< latitude -90 to 90, longitude -180 to 180 (GPX, KML, CSV ...)
};

/// What a point is checked against: the positions its input's format
/// defines (a GPX latitude is within -90 to 90, a POT one within 0 to 180)
/// and those its output holds.
struct PointRanges {
  PositionRange input = PositionRange::kNvi;
  PositionRange output = PositionRange::kNvi;
};

/// Why `point` cannot be written, or nothing when it can: no title
/// (`untitled`) under the skip rule, a coordinate outside either range (or
/// not a number).
std::optional<std::pair<SkipKind, std::string>> CheckPointFully(const Point& point, bool untitled,
                                                                UntitledRule rule,
                                                                PointRanges ranges);

inline std::optional<std::pair<SkipKind, std::string>> CheckPoint(const Point& point, bool untitled,
                                                                  UntitledRule rule,
                                                                  PointRanges ranges = {}) {
  // The usual case, a titled POT point for an NVI file, without a call: its
  // position code shows it is within 0 to 180.
  if (ranges.input == PositionRange::kNvi && ranges.output == PositionRange::kNvi && !untitled) {
    const auto* degrees = std::get_if<Degrees>(&point.position);
    if (degrees != nullptr && !degrees->nviCode.empty()) return std::nullopt;
  }
  return CheckPointFully(point, untitled, rule, ranges);
}

}  // namespace velorin
