#pragma once
// Moving positions from one datum to another: a small seam, so that the
// engine does not care who does the work. On Linux PROJ does it, choosing
// its operation between the two datums once (proj_datum_shift.h); where no
// PROJ is built in, the same operation carried in the program, its
// parameters taken from PROJ's database when Velorin is built
// (geocentric_translation.h).
#include <memory>
#include <string>
#include <string_view>

#include "geo/datum.h"

namespace velorin {

class DatumShift {
 public:
  virtual ~DatumShift() = default;
  /// Moves a position given in decimal degrees, in place; false, leaving it
  /// as it was, when the position cannot be moved (a latitude beyond 90
  /// degrees, a coordinate that is no number).
  virtual bool Move(double& longitude, double& latitude) = 0;
  /// The operation that moves them, as EPSG names it: "EPSG:15484 \"Tokyo
  /// to WGS 84 (108)\"", or "the inverse of EPSG:15484 ..." when it is used
  /// backwards.
  virtual std::string Operation() const = 0;
};

/// The shift from `from` to `to` by this build's means, made once for a
/// run. Null, with the reason in `why`, when it cannot be made.
std::unique_ptr<DatumShift> MakeDatumShift(Datum from, Datum to, std::string& why);

}  // namespace velorin
