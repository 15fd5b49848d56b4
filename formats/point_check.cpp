#include "formats/point_check.h"

#include <charconv>
#include <cmath>
#include <tuple>

namespace velorin::point_check {

namespace {

constexpr double kMaxAngle = 180.0;

/// The shortest text that reads back as `value`: 180.0000000001 is not
/// shown as 180, which would not explain why it is outside.
std::string AngleWords(double value) {
  char text[40];
  const auto result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

}  // namespace

PointProblem Untitled() { return {SkipKind::kUntitled, "no title"}; }

PointProblem CodeBeyondNvi() { return {SkipKind::kOutOfRange, "position beyond 180 degrees"}; }

std::optional<PointProblem> DegreesBeyondNvi(const Degrees& degrees) {
  for (const auto& [name, value] :
       {std::pair{"longitude", degrees.longitude}, std::pair{"latitude", degrees.latitude}}) {
    if (!(value >= 0.0 && value <= kMaxAngle)) {
      return PointProblem{SkipKind::kOutOfRange, std::string(name) + " " + AngleWords(value) +
                                                     " is outside 0 to 180 degrees"};
    }
  }
  return std::nullopt;
}

std::optional<PointProblem> OffTheGlobe(const Degrees& degrees) {
  for (const auto& [name, value, limit] : {std::tuple{"longitude", degrees.longitude, 180.0},
                                           std::tuple{"latitude", degrees.latitude, 90.0}}) {
    if (!(value >= -limit && value <= limit)) {
      return PointProblem{SkipKind::kOutOfRange, std::string(name) + " " + AngleWords(value) +
                                                     " is outside " + AngleWords(-limit) + " to " +
                                                     AngleWords(limit) + " degrees"};
    }
  }
  return std::nullopt;
}

}  // namespace velorin::point_check
