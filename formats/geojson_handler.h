#pragma once
// The events of a GeoJSON document (RFC 7946), as RapidJSON's SAX reader
// hands them over, turned into points: a state machine over the nesting of
// objects and arrays that knows the members that matter (type, features,
// geometry, geometries, coordinates, properties, crs) and passes over every
// other. A feature's points wait until the feature ends, since its members
// may come in any order (the title after the geometry, the type after the
// coordinates); what a feature holds is bounded (kMaxFeaturePositions).
//
// A member given twice counts once: the first one wins, for every member.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/json_source_stream.h"
#include "formats/point_reader.h"
#include "formats/track_thinner.h"

namespace velorin {

class GeoJsonHandler {
 public:
  /// The deepest nesting of objects and arrays read.
  static constexpr std::size_t kMaxDepth = 256;
  /// The longest title taken; a longer one skips its feature's points.
  static constexpr std::size_t kMaxTitleSize = 1 << 16;
  /// The most positions of points one feature (or a top-level geometry)
  /// may hold: they are kept until it ends.
  static constexpr std::size_t kMaxFeaturePositions = 100'000;

  explicit GeoJsonHandler(JsonSourceStream& stream, PointKinds kinds = {},
                          double thinMetres = kDefaultThinMetres)
      : stream_(stream), frames_(kMaxDepth), kinds_(kinds), thinner_(thinMetres) {}

  // RapidJSON's handler concept; false stops the parser (see failure()).
  bool Null() { return Scalar(ScalarKind::kNull, {}); }
  bool Bool(bool) { return Scalar(ScalarKind::kOther, {}); }
  // Numbers come as their texts (the parser runs with kParseNumbersAsStringsFlag).
  bool Int(int) { return Scalar(ScalarKind::kOther, {}); }
  bool Uint(unsigned) { return Scalar(ScalarKind::kOther, {}); }
  bool Int64(std::int64_t) { return Scalar(ScalarKind::kOther, {}); }
  bool Uint64(std::uint64_t) { return Scalar(ScalarKind::kOther, {}); }
  bool Double(double) { return Scalar(ScalarKind::kOther, {}); }
  bool RawNumber(const char* text, unsigned length, bool) {
    return Scalar(ScalarKind::kNumber, {text, length});
  }
  bool String(const char* text, unsigned length, bool) {
    return Scalar(ScalarKind::kString, {text, length});
  }
  bool Key(const char* text, unsigned length, bool);
  bool StartObject();
  bool EndObject(unsigned);
  bool StartArray();
  bool EndArray(unsigned);

  /// The top-level value is the object whose member `features` is open
  /// next: the reader then takes its elements one at a time.
  bool FeaturesNext() const;

  /// Entries ready to hand out, in order; their memory is reused once
  /// ClearReady() says they are all taken.
  std::size_t readyCount() const { return readyCount_; }
  ReadEntry& ReadyAt(std::size_t index) { return ready_[index]; }
  void ClearReady() { readyCount_ = 0; }
  const std::optional<ReadFailure>& failure() const { return failure_; }
  const IgnoredItems& ignored() const { return ignored_; }

 private:
  enum class ScalarKind { kString, kNumber, kNull, kOther };
  /// What a container is in GeoJSON's terms.
  enum class Role : std::uint8_t {
    kTop,  ///< the top-level object: a FeatureCollection, a Feature or a geometry
    kFeatures,
    kFeature,
    kGeometry,
    kGeometries,
    kCoordinates,
    kProperties,
    kLocation,
    kCrs,
    kCrsProperties,
    kPassed,  ///< anything else, read over
  };
  /// The member names that matter.
  enum class Member : std::uint8_t {
    kOther,
    kType,
    kFeatures,
    kGeometry,
    kGeometries,
    kCoordinates,
    kProperties,
    kCrs,
    kName,
    kCode,  ///< of a crs's properties, in the older EPSG form
    kTitle,
    kTitleCapital,
    kLocation,
  };
  struct Frame {
    Role role = Role::kPassed;
    bool array = false;
    Member member = Member::kOther;  ///< of the value that comes next (objects)
    // Coordinates: 1 for the "coordinates" array itself, +1 inward.
    int level = 0;
    // Only positions use the members from here on; other frames leave them as they were.
    int numbers = 0;
    bool holdsArrays = false;
    std::int64_t line = 0;
    std::optional<double> longitude;
    std::optional<double> latitude;
    std::string reason;  ///< why this array is no readable position
  };
  struct Position {
    int level = 0;
    std::int64_t line = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    std::string reason;        ///< empty for a readable position
    std::int64_t segment = 0;  ///< the line of a MultiLineString it is in, from 1
  };
  /// A geometry's "type", as far as the reader tells them apart.
  enum class Shape : std::uint8_t {
    kPoint,
    kMultiPoint,
    kLineString,
    kMultiLineString,
    kPolygon,
    kMultiPolygon,
    kCollection,
    kOther,  ///< a type GeoJSON lacks, or no string
  };
  struct Geometry {
    std::int64_t line = 0;
    Shape shape = Shape::kOther;
    bool typed = false;
    bool direct = false;   ///< a feature's own geometry, not one of a collection
    bool collects = true;  ///< may be a Point or MultiPoint: positions are kept
    bool hasCoordinates = false;
    bool hasGeometries = false;
    bool emptyCoordinates = false;
    bool deepCoordinates = false;  ///< arrays three deep or more
    /// A line whose points are read: a LineString (routes asked for) or a
    /// MultiLineString (tracks).
    std::optional<LineKind> lineKind;
    std::int64_t segments = 0;  ///< position lists begun, for a MultiLineString
    std::vector<Position> positions;
  };
  /// A point of a feature before its title is known.
  struct Pending {
    std::int64_t line = 0;
    double longitude = 0.0;
    double latitude = 0.0;
    std::string reason;  ///< empty for a point
    /// A route or track point: its number in the line from 1 (0 for a
    /// point), the line's kind and number among the file's.
    std::int64_t number = 0;
    LineKind kind = LineKind::kRoute;
    std::int64_t lineNumber = 0;
  };
  /// A title member's text, once one is given.
  struct TitleCandidate {
    bool given = false;
    std::string text;
  };
  struct Feature {
    std::int64_t line = 0;
    std::string type;  ///< of the top-level object; of an element, only when not "Feature"
    bool typed = false;
    bool typeIsFeature = false;  ///< an element's "type" is "Feature"
    bool hasGeometry = false;    ///< a "geometry" member that is an object
    bool hasProperties = false;
    // Title candidates in the order they are chosen; their buffers are
    // kept from feature to feature.
    TitleCandidate titles[4];
    bool hasLocation = false;
    std::vector<Pending> points;
    void Reset(std::int64_t at);
  };

  bool Scalar(ScalarKind kind, std::string_view text);
  /// What a scalar member's value is: a type, a title, a coordinate system's name.
  /// Apart from Scalar, which coordinates take without its set-up.
  [[gnu::noinline]] bool MemberScalar(Frame& frame, ScalarKind kind, std::string_view text);
  /// What a scalar in an array is: a coordinate, or a features element that is no object.
  void ElementScalar(Frame& frame, ScalarKind kind, std::string_view text);
  /// Whether a scalar member of the top-level object (its type, a null crs) is acceptable.
  [[gnu::noinline]] bool TopScalar(Member member, ScalarKind kind, std::string_view text);
  /// Which title candidate a member of properties or location is; none for any other.
  static std::optional<std::size_t> TitleIndex(const Frame& frame);
  /// Opens the top-level object, and a geometry in case it is one.
  void StartTop();
  /// What an object in an array is: a feature, a geometry of a collection, or passed over.
  Role ElementObjectRole(Frame& parent);
  /// What an object as a member's value is; only the first of each member counts.
  Role MemberObjectRole(const Frame& parent);
  bool Fail(std::string_view message);
  // Failures and skip reasons whose messages are built from parts; cold,
  // apart from the handlers of every event (see geojson_handler.cpp).
  [[gnu::cold, gnu::noinline]] bool FailTooDeep();
  [[gnu::cold, gnu::noinline]] bool FailTooManyPositions();
  [[gnu::cold, gnu::noinline]] static void SetOutOfRange(Frame& frame, bool longitude,
                                                         std::string_view text);
  [[gnu::cold, gnu::noinline]] void EmitNoFeature(Feature& feature);
  [[gnu::cold, gnu::noinline]] static void SetTitleTooLong(ReadEntry& entry);
  /// The end of the top-level object: what it is, and its points unless a
  /// FeatureCollection; once a file, apart from the ends of other objects.
  [[gnu::noinline]] bool EndTop();
  /// Which member a name is, in the object it is a name of.
  static Member MemberOf(Role role, std::string_view name);
  /// Which of the names that matter a name is, in whatever object.
  static Member NamedMember(std::string_view name);
  Feature& CurrentFeature();
  void OnNumber(Frame& frame, std::string_view text);
  void EndPosition(const Frame& frame);
  Frame& Push(Role role, std::int64_t line);
  Geometry& PushGeometry(std::int64_t line, bool direct);
  static Shape ShapeOf(std::string_view type);
  void SetGeometryType(Geometry& geometry, std::string_view type, bool isString);
  bool EndGeometry(Geometry& geometry);
  bool AddPoint(std::int64_t line, double longitude, double latitude);
  bool AddSkip(std::int64_t line, std::string_view reason);
  /// The points of a line asked for; true when the geometry is one.
  bool EndLine(Geometry& geometry);
  /// A route's positions, each a point; a track's, thinned segment by segment.
  void AddLinePoints(const Geometry& geometry, LineKind kind, std::int64_t lineNumber);
  void AddLinePoint(const Position& position, std::int64_t number, LineKind kind,
                    std::int64_t lineNumber);
  void EmitFeature(Feature& feature, bool checkType);
  bool CheckTopType(std::string_view type);
  bool CheckCrs();
  ReadEntry& Emit(std::int64_t line);

  JsonSourceStream& stream_;
  /// The open containers, outermost first; as many as may be open at once.
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;  ///< frames in use
  std::vector<Geometry> geometries_;
  std::size_t openGeometries_ = 0;
  Feature top_;
  Feature element_;  ///< the element of "features" being read
  bool inElement_ = false;
  bool featuresSeen_ = false;
  bool crsSeen_ = false;
  std::string crsType_;
  std::string crsName_;
  std::string crsCode_;
  std::vector<ReadEntry> ready_;
  std::size_t readyCount_ = 0;
  std::optional<ReadFailure> failure_;
  IgnoredItems ignored_;
  PointKinds kinds_;
  TrackThinner thinner_;
  std::int64_t routes_ = 0;  ///< LineStrings so far
  std::int64_t tracks_ = 0;  ///< MultiLineStrings so far
};

}  // namespace velorin
