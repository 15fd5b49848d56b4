#include "formats/point_check.h"

#include <charconv>
#include <cmath>
#include <tuple>
#include <variant>

namespace velorin {

namespace {

constexpr double kMaxAngle = 180.0;

/// The shortest text that reads back as `value`: 180.0000000001 is not
/// shown as 180, which would not explain why it is outside.
std::string AngleWords(double value) {
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::optional<std::pair<SkipKind, std::string>> CheckOnGlobe(const Degrees& degrees) {
  for (const auto& [name, value, limit] : {std::tuple{"longitude", degrees.longitude, 180.0},
                                           std::tuple{"latitude", degrees.latitude, 90.0}}) {
    if (!(value >= -limit && value <= limit)) {
      return std::pair{SkipKind::kOutOfRange, std::string(name) + " " + AngleWords(value) +
                                                  " is outside " + AngleWords(-limit) + " to " +
                                                  AngleWords(limit) + " degrees"};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::pair<SkipKind, std::string>> CheckPointFully(const Point& point, bool untitled,
                                                                UntitledRule rule,
                                                                PointRanges ranges) {
  if (untitled && rule == UntitledRule::kSkip) {
    return std::pair{SkipKind::kUntitled, std::string("no title")};
  }
  if (ranges.input == PositionRange::kGlobe || ranges.output == PositionRange::kGlobe) {
    if (auto problem = CheckOnGlobe(DegreesOf(point.position))) return problem;
    if (ranges.output == PositionRange::kGlobe) return std::nullopt;
  }
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    if (!IsWithinNviRange(*units)) {
      return std::pair{SkipKind::kOutOfRange, std::string("position beyond 180 degrees")};
    }
    return std::nullopt;
  }
  const Degrees& degrees = std::get<Degrees>(point.position);
  if (!degrees.nviCode.empty()) return std::nullopt;  // within 0 to 180: it has a code
  for (const auto& [name, value] :
       {std::pair{"longitude", degrees.longitude}, std::pair{"latitude", degrees.latitude}}) {
    if (!(value >= 0.0 && value <= kMaxAngle)) {
      return std::pair{SkipKind::kOutOfRange, std::string(name) + " " + AngleWords(value) +
                                                  " is outside 0 to 180 degrees"};
    }
  }
  return std::nullopt;
}

}  // namespace velorin
