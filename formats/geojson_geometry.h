#pragma once
// A GeoJSON geometry being read (RFC 7946): its "type" and its
// "coordinates", array by array as the parser gives them, turned into the
// points its type reads: a Point's one position, each position of a
// MultiPoint and, when asked, each position of a LineString (route points)
// or of a MultiLineString (track points, each of its lines a segment,
// thinned as they come). A position of a list that stands where no position
// of the type does makes one entry saying so. Other types are counted, not
// read. A geometry whose type comes after its coordinates keeps their
// positions until its end, as many as a feature keeps points.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/geojson_feature.h"
#include "formats/point_kinds.h"
#include "formats/point_reader.h"
#include "formats/track_thinner.h"

namespace velorin {

/// What every geometry of a file reads through.
struct GeoJsonReading {
  GeoJsonReading(PointKinds pointKinds, double thinMetres)
      : kinds(pointKinds), thinner(thinMetres) {}
  PointKinds kinds;
  TrackThinner thinner;
  std::int64_t routes = 0;  ///< LineStrings read so far
  std::int64_t tracks = 0;  ///< MultiLineStrings read so far
  IgnoredItems ignored;
  GeoJsonEntries entries;
};

/// An array within a geometry's coordinates, as far as it has been read.
struct GeoJsonArray {
  int level = 0;  ///< 1 for "coordinates" itself, +1 inward
  std::int64_t line = 0;
  int numbers = 0;
  bool holdsArrays = false;
  double longitude = 0.0;  ///< the first number, when readable
  double latitude = 0.0;   ///< the second
  std::string reason;      ///< why it is no readable position

  void Start(int atLevel, std::int64_t atLine) {
    level = atLevel;
    line = atLine;
    numbers = 0;
    holdsArrays = false;
    reason.clear();
  }
  /// Something other than a number: the first such reason counts.
  void Refuse(std::string_view why) {
    if (reason.empty()) reason = why;
  }
};

class GeoJsonGeometry {
 public:
  /// A geometry beginning at `line`; `direct`: a feature's own (or the
  /// top-level one), not a member of a collection.
  void Reset(std::int64_t line, bool direct);
  bool direct() const { return direct_; }
  bool typed() const { return shape_ != Shape::kUntyped; }

  /// Its "type" member: the first one counts.
  void SetType(std::string_view type, bool isString, GeoJsonReading& reading);
  /// Whether a member's value is the one that counts: the first of each.
  bool TakeCoordinates() {
    if (coordinates_ != Coordinates::kNone) return false;
    coordinates_ = Coordinates::kGiven;
    return true;
  }
  bool TakeGeometries() { return TakeFirst(hasGeometries_); }

  /// An array of its coordinates begins `level` deep.
  void StartArray(int level) {
    if (level > deepest_) deepest_ = level;
    if (level == 2) ++segments_;
  }
  /// An array of its coordinates has ended.
  void EndArray(const GeoJsonArray& array, GeoJsonReading& reading, GeoJsonFeature& feature) {
    if (reads_ != Reads::kNothing) TakeArray(array, reading, feature);
  }
  /// The geometry has ended: what it gives, or that it is counted.
  void End(GeoJsonReading& reading, GeoJsonFeature& feature);

 private:
  /// A geometry's "type", as far as the reader tells them apart.
  enum class Shape : std::uint8_t {
    kUntyped,
    kPoint,
    kMultiPoint,
    kLineString,
    kMultiLineString,
    kPolygon,
    kMultiPolygon,
    kCollection,
    kOther,  ///< a type GeoJSON lacks, or no string
  };
  /// What becomes of its positions.
  enum class Reads : std::uint8_t {
    kNothing,
    kOne,      ///< a Point's
    kList,     ///< each one listLevel_ deep
    kPending,  ///< kept until the type is known
  };
  enum class Coordinates : std::uint8_t { kNone, kGiven, kEmpty };
  /// A position kept until the type is known; its reason is in reasons_.
  struct Kept {
    int level = 0;
    std::int64_t line = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    std::int64_t segment = 0;
    std::uint32_t reason = kNoReason;
  };
  /// A position as an array gives it.
  struct Position {
    int level = 0;
    std::int64_t line = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    std::int64_t segment = 0;  ///< of a MultiLineString, from 1
    std::string_view reason;   ///< empty for a readable one
  };
  /// The line whose points are read.
  struct Line {
    LineKind kind = LineKind::kRoute;
    std::int64_t number = 0;  ///< among the file's lines of its kind
    std::int64_t points = 0;  ///< so far
    std::int64_t segment = -1;
    /// The latest track point not kept, in case it is its segment's last.
    std::optional<GeoJsonPoint> held;
  };
  static constexpr std::uint32_t kNoReason = UINT32_MAX;

  static bool TakeFirst(bool& seen) {
    if (seen) return false;
    seen = true;
    return true;
  }
  static Shape ShapeOf(std::string_view type);
  void TakeArray(const GeoJsonArray& array, GeoJsonReading& reading, GeoJsonFeature& feature);
  void TakePosition(const Position& position, GeoJsonReading& reading, GeoJsonFeature& feature);
  void Keep(const Position& position, const GeoJsonFeature& feature);
  void TakeKept(GeoJsonReading& reading, GeoJsonFeature& feature);
  /// A position of a list: a point, a route point, a track point.
  void TakeListed(const Position& position, GeoJsonReading& reading, GeoJsonFeature& feature);
  void TakeTrackPoint(GeoJsonPoint& point, std::int64_t segment, GeoJsonReading& reading,
                      GeoJsonFeature& feature);
  void EndSegment(GeoJsonReading& reading, GeoJsonFeature& feature);
  void EndPoint(GeoJsonFeature& feature, GeoJsonEntries& out);
  void Count(GeoJsonReading& reading) const;
  [[gnu::cold, gnu::noinline]] void SayOutOfPlace(std::int64_t line, GeoJsonFeature& feature,
                                                  GeoJsonEntries& out);
  [[gnu::cold, gnu::noinline]] void SayDropped(GeoJsonFeature& feature, GeoJsonEntries& out);

  std::int64_t line_ = 0;
  bool direct_ = true;
  Shape shape_ = Shape::kUntyped;
  Reads reads_ = Reads::kPending;
  int listLevel_ = 0;  ///< how deep a listed position stands
  Coordinates coordinates_ = Coordinates::kNone;
  bool hasGeometries_ = false;
  bool outOfPlace_ = false;    ///< something listed where no position stands
  int deepest_ = 0;            ///< the deepest array of the coordinates
  std::int64_t segments_ = 0;  ///< lists of positions begun two deep
  std::int64_t lastLine_ = 0;  ///< of the latest position listed
  /// A Point's position, read one deep; its reason apart, since the
  /// array's text is reused.
  std::optional<Position> single_;
  std::string singleReason_;
  std::optional<Line> read_;  ///< the line read, if it is one
  // Positions kept until the type is known.
  std::vector<Kept> kept_;
  std::vector<std::string> reasons_;
  std::size_t dropped_ = 0;  ///< past kMaxPointsWaiting
};

}  // namespace velorin
