#pragma once
// A datum shift by geocentric translation (EPSG's method 9603), the kind
// of operation between the Tokyo datum and WGS 84: each position is put on
// the source ellipsoid at height 0, turned into earth-centred coordinates,
// moved by three distances, and read back on the target ellipsoid; the
// height that comes out is dropped, as PROJ drops it for 2D positions.
#include <string>
#include <string_view>

#include "geo/datum_shift.h"

namespace velorin {

struct Ellipsoid {
  double semiMajorAxis = 0.0;  ///< metres
  double inverseFlattening = 0.0;
};

struct GeocentricTranslationParameters {
  /// How EPSG names the operation: "EPSG:15484 \"Tokyo to WGS 84 (108)\"".
  std::string_view operation;
  Ellipsoid source;
  Ellipsoid target;
  /// The translation from the source's centre to the target's, in metres.
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

class GeocentricTranslation : public DatumShift {
 public:
  /// `backwards`: from the operation's target to its source.
  GeocentricTranslation(const GeocentricTranslationParameters& parameters, bool backwards)
      : parameters_(parameters), backwards_(backwards) {}

  bool Move(double& longitude, double& latitude) override;
  std::string Operation() const override {
    return (backwards_ ? "the inverse of " : "") + std::string(parameters_.operation);
  }

 private:
  GeocentricTranslationParameters parameters_;
  bool backwards_;
};

}  // namespace velorin
