#pragma once
// One point of interest on its way between two formats: a title in CP932
// (the encoding of NVI and POT files) and a position, kept exactly as the
// input gave it.
#include <cstdint>
#include <string>
#include <variant>

#include "geo/coordinate.h"
#include "geo/position_code.h"

namespace velorin {

/// A position in decimal degrees, as GPX, KML, CSV and POT give it.
struct Degrees {
  double longitude = 0.0;
  double latitude = 0.0;
  /// The NVI position text of these degrees when the reader worked it out
  /// already (a POT line is only a point once it has one); empty otherwise.
  PositionText nviCode;
};

/// Decimal degrees, or the exact angle integers of an NVI position code (so
/// that NVI to NVI or POT never goes through a rounded double).
using PointPosition = std::variant<Degrees, DecodedPosition>;

struct Point {
  std::string title;               ///< CP932 bytes; empty when the input named none
  bool titleApproximated = false;  ///< characters CP932 lacks were replaced
  PointPosition position;
  std::int64_t line = 0;  ///< input line where the point begins; 0 when unknown
};

/// The NVI position text: EncodeNviPosition for degrees, the code itself for
/// angle integers. Empty when the position is beyond what NVI holds.
PositionText NviPositionOf(const PointPosition& position);

/// Decimal degrees of either kind of position (angle integers divided out).
Degrees DegreesOf(const PointPosition& position);

}  // namespace velorin
