#pragma once
// Points read from a GPX 1.0 or 1.1 file: its waypoints (wpt), and when
// asked the points of its routes (rte/rtept) and of its tracks
// (trk/trkseg/trkpt), track points thinned as they come. A point's title is
// its name; a route or track point without one is called after its line
// and its number in it (see LinePointTitle). Routes and tracks not asked
// for are counted, not read.
//
// A waypoint's and a route point's further texts are read too: desc, cmt,
// the first link's href (url in GPX 1.0), and the address and telephone
// number of Garmin's waypoint extension, which route planners write.
#include <array>

#include "formats/point_fields.h"
#include "formats/track_thinner.h"
#include "formats/xml_point_reader.h"

namespace velorin {

class GpxReader : public XmlPointReader {
 public:
  explicit GpxReader(ByteSource& source, const ReaderOptions& options = {})
      : XmlPointReader(source, "gpx", "GPX"),
        kinds_(options.points),
        thinner_(options.thinMetres) {}

 private:
  void OnStart(const XmlName& name, int depth, const char** attributes) override;
  void OnEnd(const XmlName& name, int depth) override;
  bool IsOwnNamespace(std::string_view space) const override;

  /// A route or track begins, asked for or not.
  void StartLine(std::string_view local);
  void StartPoint(int depth, const char** attributes);
  /// The point that just ended: out now, held (a track point), or skipped.
  void EndPoint();
  /// A track segment ended: its last point goes out if it was held.
  void EndSegment();
  /// The point's title as it goes out: its name, else its line's and number.
  void TitleInto(std::string& title);
  /// An element of the point: a text of it begins (or not).
  void StartPointElement(const XmlName& name, int depth, const char** attributes);
  /// An element of Garmin's extension in the point.
  void StartGarminElement(const XmlName& name, int depth);
  void CollectField(PointField field, int depth);
  /// The text being collected ended at `depth`.
  bool EndField(int depth);
  void FieldsInto(PointFields& fields);

  /// A lat or lon attribute, read as its waypoint begins.
  struct Coordinate {
    std::optional<double> degrees;
    bool present = false;
    std::string text;  ///< what the file wrote, kept only when no number
    void Read(const char* attribute);
  };
  /// The route or track whose points are read.
  struct Line {
    LineKind kind = LineKind::kRoute;
    std::int64_t number = 0;  ///< among the file's routes or tracks, from 1
    std::int64_t points = 0;  ///< its points so far
    bool hasName = false;
    std::string name;
  };
  /// A track point not kept yet: the segment's last, should it be.
  struct Held {
    bool present = false;
    std::int64_t line = 0;
    Degrees position;
    std::string title;
  };

  PointKinds kinds_;
  TrackThinner thinner_;
  std::int64_t routes_ = 0;  ///< routes begun so far
  std::int64_t tracks_ = 0;
  int lineDepth_ = 0;   ///< 0 outside a route or track being read
  int pointDepth_ = 0;  ///< 0 outside a point being read
  Line line_;
  Held held_;
  std::int64_t pointLine_ = 0;
  Coordinate latitude_;
  Coordinate longitude_;
  bool hasName_ = false;
  std::string name_;
  bool nameTooLong_ = false;
  /// The point's texts so far, and the one being collected.
  bool readsFields_ = false;  ///< the point is a waypoint or a route point
  std::array<std::string, kPointFieldCount> fields_;
  bool hasFields_ = false;  ///< a text of fields_ is not empty
  PointFieldSet cut_;       ///< texts of fields_ cut at kMaxTextSize
  int fieldDepth_ = 0;      ///< 0 when none is
  PointField field_ = PointField::kDescription;
  bool addressPart_ = false;  ///< a part of Garmin's address, joined to the others
};

}  // namespace velorin
