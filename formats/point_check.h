#pragma once
// Whether a point can be written: what every output holds to today (a
// title unless untitled points are kept, longitude and latitude 0 to 180).
#include <optional>
#include <string>
#include <utility>

#include "formats/point_reader.h"
#include "formats/untitled_rule.h"

namespace velorin {

/// Why `point` cannot be written, or nothing when it can: no title under
/// the skip rule, a coordinate below 0 or above 180 (or not a number).
std::optional<std::pair<SkipKind, std::string>> CheckPoint(const Point& point,
                                                           UntitledRule untitled);

}  // namespace velorin
