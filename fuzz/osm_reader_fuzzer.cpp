// The OSM reader (PBF and XML) on any bytes (see point_reader_fuzz.h for what must hold).
#include "fuzz/point_reader_fuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  velorin::fuzzing::FuzzPointReader(velorin::PointFormat::kOsm, data, size);
  return 0;
}
