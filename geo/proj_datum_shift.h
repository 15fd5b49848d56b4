#pragma once
// The datum shift by PROJ: the operation PROJ ranks first between the Tokyo
// datum (EPSG:4301) and WGS 84 (EPSG:4326), taken once with a context of its
// own for the whole run, and used forwards or backwards for every point.
#include <memory>
#include <string>

#include "geo/datum_shift.h"

namespace velorin {

class ProjDatumShift : public DatumShift {
 public:
  /// The shift from `from` to `to` (two different datums); null, with
  /// PROJ's reason in `why`, when PROJ finds no operation (its database
  /// missing, say).
  static std::unique_ptr<ProjDatumShift> Make(Datum from, Datum to, std::string& why);
  ~ProjDatumShift() override;
  ProjDatumShift(const ProjDatumShift&) = delete;
  ProjDatumShift& operator=(const ProjDatumShift&) = delete;

  bool Move(double& longitude, double& latitude) override;
  std::string Operation() const override { return operation_; }

 private:
  struct Handles;
  ProjDatumShift(std::unique_ptr<Handles> handles, bool backwards, std::string operation);

  std::unique_ptr<Handles> handles_;
  bool backwards_;
  std::string operation_;
};

}  // namespace velorin
