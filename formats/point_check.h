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

/// Why `point` cannot be written, or nothing when it can: no title under
/// the skip rule, a coordinate outside `range` (or not a number).
std::optional<std::pair<SkipKind, std::string>> CheckPointFully(const Point& point,
                                                                UntitledRule untitled,
                                                                PositionRange range);

inline std::optional<std::pair<SkipKind, std::string>> CheckPoint(
    const Point& point, UntitledRule untitled, PositionRange range = PositionRange::kNvi) {
  // The usual case, a titled POT point for an NVI file, without a call: its
  // position code shows it is within 0 to 180.
  if (range == PositionRange::kNvi && !point.title.empty()) {
    const auto* degrees = std::get_if<Degrees>(&point.position);
    if (degrees != nullptr && !degrees->nviCode.empty()) return std::nullopt;
  }
  return CheckPointFully(point, untitled, range);
}

}  // namespace velorin
