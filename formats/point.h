#pragma once
// One point of interest on its way between two formats: its title, its
// position and its further texts (a description, an address ...), all kept
// exactly as the input gave them; each writer makes of them what its format
// can hold.
#include <cstdint>
#include <string>
#include <utility>
#include <variant>

#include "formats/point_fields.h"
#include "formats/title_text.h"
#include "geo/coordinate.h"
#include "geo/position_code.h"

namespace velorin {

/// A position in decimal degrees, as GPX, KML, CSV and POT give it.
struct Degrees {
  double longitude = 0.0;
  double latitude = 0.0;
  /// The NVI position text of these degrees when the reader worked it out
  /// already (a POT line is only a point once it has one); empty otherwise.
  PositionText nviCode = {};
};

/// Decimal degrees, or the exact angle integers of an NVI position code (so
/// that NVI to NVI or POT never goes through a rounded double).
using PointPosition = std::variant<Degrees, DecodedPosition>;

struct Point {
  std::string title = {};  ///< as the input gave it; empty when it named none
  TitleEncoding titleEncoding = TitleEncoding::kUtf8;
  /// The reader had to replace characters CP932 lacks already (a POT file
  /// in UTF-8 is read as CP932).
  bool titleApproximated = false;
  PointPosition position = {};
  std::int64_t line = 0;  ///< input line where the point begins; 0 when unknown
  /// Its description, address, link ...; none for most files.
  PointFields fields = {};
};

/// Exchanges two points member by member (the title's buffer, not a copy).
// NOLINTNEXTLINE(readability-identifier-naming): the name std::swap finds by ADL
inline void swap(Point& a, Point& b) noexcept {
  using std::swap;
  a.title.swap(b.title);
  swap(a.titleEncoding, b.titleEncoding);
  swap(a.titleApproximated, b.titleApproximated);
  swap(a.position, b.position);
  swap(a.line, b.line);
  a.fields.swap(b.fields);
}

/// The NVI position text: EncodeNviPosition for degrees, the code itself for
/// angle integers. Empty when the position is beyond what NVI holds.
PositionText NviPositionOf(const PointPosition& position);

/// Decimal degrees of either kind of position (angle integers divided out).
Degrees DegreesOf(const PointPosition& position);

}  // namespace velorin
