#include "formats/point.h"

namespace velorin {

PositionText NviPositionOf(const PointPosition& position) {
  if (const auto* units = std::get_if<DecodedPosition>(&position)) {
    if (!IsWithinNviRange(*units)) return {};
    return FormatPositionCode(units->x, units->y);
  }
  const Degrees& degrees = std::get<Degrees>(position);
  if (!degrees.nviCode.empty()) return degrees.nviCode;
  // Written as "not at least 0" so that a NaN never reaches the encoder.
  if (!(degrees.longitude >= 0.0) || !(degrees.latitude >= 0.0)) return {};
  return EncodeNviPosition(degrees.longitude, degrees.latitude);
}

Degrees DegreesOf(const PointPosition& position) {
  if (const auto* units = std::get_if<DecodedPosition>(&position)) {
    return {units->x / kUnitsPerDegree, units->y / kUnitsPerDegree};
  }
  return std::get<Degrees>(position);
}

}  // namespace velorin
