// The datum shift of a build without PROJ: the operation PROJ chose when
// the build was configured, carried as its parameters.
#include <memory>

#include "geo/datum_shift.h"
#include "geo/geocentric_translation.h"
#include "geo/tokyo_datum_operation.h"

namespace velorin {

std::unique_ptr<DatumShift> MakeDatumShift(Datum from, Datum to, std::string& why) {
  if (from == to) {
    why = "no shift from a datum to itself";
    return nullptr;
  }
  return std::make_unique<GeocentricTranslation>(kTokyoToWgs84, from == Datum::kWgs84);
}

}  // namespace velorin
