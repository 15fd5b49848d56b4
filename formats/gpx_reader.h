#pragma once
// Points read from the waypoints (wpt) of a GPX 1.0 or 1.1 file, the name
// of each its title. Routes and tracks are no points of interest: they are
// counted, not read.
#include "formats/xml_point_reader.h"

namespace velorin {

class GpxReader : public XmlPointReader {
 public:
  explicit GpxReader(ByteSource& source) : XmlPointReader(source, "gpx", "GPX") {}

 private:
  void OnStart(const XmlName& name, int depth, const char** attributes) override;
  void OnEnd(const XmlName& name, int depth) override;
  bool IsOwnNamespace(std::string_view space) const override;

  bool inWaypoint_ = false;
  std::int64_t waypointLine_ = 0;
  /// A lat or lon attribute, read as its waypoint begins.
  struct Coordinate {
    std::optional<double> degrees;
    bool present = false;
    std::string text;  ///< what the file wrote, kept only when no number
    void Read(const char* attribute);
  };

  Coordinate latitude_;
  Coordinate longitude_;
  bool hasName_ = false;
  std::string name_;
  bool nameTooLong_ = false;
};

}  // namespace velorin
