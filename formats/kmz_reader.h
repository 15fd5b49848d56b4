#pragma once
// Points read from the KML document inside a KMZ archive.
#include "formats/kml_reader.h"
#include "formats/kmz_source.h"

namespace velorin {

class KmzReader : public PointReader {
 public:
  explicit KmzReader(ByteSource& archive) : kml_source_(archive), kml_(kml_source_) {}
  bool Next(ReadEntry& entry) override;
  IgnoredItems ignored() const override { return kml_.ignored(); }

 private:
  KmzSource kml_source_;
  KmlReader kml_;
};

}  // namespace velorin
