#pragma once
// The events of a GeoJSON document (RFC 7946), as RapidJSON's SAX reader
// hands them over, followed through the nesting of objects and arrays: a
// state machine that knows the members that matter (type, features,
// geometry, geometries, coordinates, properties, crs) and passes over every
// other. What the members say goes to the feature (geojson_feature.h), the
// geometry (geojson_geometry.h) and the coordinate system
// (geojson_crs.h) they belong to.
//
// A member given twice counts once: the first one wins, for every member.
//
// So that memory stays flat whatever one feature holds, the handler stops
// the parser once many entries are ready (pause): the reader hands them out
// and walks on through the containers left open itself.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/geojson_crs.h"
#include "formats/geojson_feature.h"
#include "formats/geojson_geometry.h"
#include "formats/json_source_stream.h"
#include "formats/point_reader.h"

namespace velorin {

class GeoJsonHandler {
 public:
  /// The deepest nesting of objects and arrays read.
  static constexpr std::size_t kMaxDepth = 256;
  /// Entries ready past which the parser is paused.
  static constexpr std::size_t kMaxReady = 1024;

  explicit GeoJsonHandler(JsonSourceStream& stream, PointKinds kinds = {},
                          double thinMetres = kDefaultThinMetres)
      : stream_(stream), frames_(kMaxDepth), reading_(kinds, thinMetres) {}

  // RapidJSON's handler concept; false stops the parser (see failure() and
  // TakePause()).
  bool Null() { return Scalar(ScalarKind::kNull, {}); }
  bool Bool(bool value) { return Scalar(ScalarKind::kBoolean, value ? "true" : "false"); }
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
  bool FeaturesNext() const {
    return depth_ == 1 && frames_[0].member == Member::kFeatures && !featuresSeen_;
  }
  /// The containers open, the top-level object first.
  std::size_t depth() const { return depth_; }
  bool InArray() const { return frames_[depth_ - 1].array; }
  /// True once when the handler paused the parser, with no failure, at the
  /// end of an array or object (whose closing bracket the parser has not
  /// taken): the containers still open are the reader's to walk.
  bool TakePause() {
    const bool paused = paused_;
    paused_ = false;
    return paused;
  }
  /// A feature has ended with more points than were handed out at once:
  /// EmitMore() gives the next of them.
  bool emitting() const { return ending_ != nullptr; }
  void EmitMore();

  /// Entries ready to hand out, in order; their memory is reused once
  /// ClearReady() says they are all taken.
  std::size_t readyCount() const { return reading_.entries.count(); }
  ReadEntry& ReadyAt(std::size_t index) { return reading_.entries.At(index); }
  void ClearReady() { reading_.entries.Clear(); }
  const std::optional<ReadFailure>& failure() const { return failure_; }
  const IgnoredItems& ignored() const { return reading_.ignored; }

 private:
  enum class ScalarKind { kString, kNumber, kBoolean, kNull, kOther };
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
    kLocation,
    kTitle,  ///< of properties or location: a title (see title)
    kField,  ///< of properties or location: one of a point's texts (see field)
  };
  struct Frame {
    Role role = Role::kPassed;
    bool array = false;
    Member member = Member::kOther;  ///< of the value that comes next (objects)
    GeoJsonFeature::Title title = GeoJsonFeature::Title::kName;  ///< which, when member is kTitle
    PointField field = PointField::kDescription;                 ///< which, when member is kField
    bool addressPart = false;  ///< the field's text is a part of an address
    GeoJsonArray coordinates;  ///< an array of coordinates, as read so far
  };

  bool Scalar(ScalarKind kind, std::string_view text);
  /// What a scalar member's value is: a type, a title, a coordinate system's name.
  /// Apart from Scalar, which coordinates take without its set-up.
  [[gnu::noinline]] bool MemberScalar(Frame& frame, ScalarKind kind, std::string_view text);
  /// What a scalar in an array is: a coordinate, or a features element that is no object.
  void ElementScalar(Frame& frame, ScalarKind kind, std::string_view text);
  /// Whether a scalar member of the top-level object (its type, a null crs) is acceptable.
  [[gnu::noinline]] bool TopScalar(Member member, ScalarKind kind, std::string_view text);
  /// What a member of properties or location is: a title, one of a point's
  /// texts, or neither.
  static void PropertyRole(Frame& frame, std::string_view name);
  /// Opens the top-level object, and a geometry in case it is one.
  void StartTop();
  /// What an object in an array is: a feature, a geometry of a collection, or passed over.
  Role ElementObjectRole(Frame& parent);
  /// What an object as a member's value is; only the first of each member counts.
  Role MemberObjectRole(const Frame& parent);
  /// What an array as a value is.
  Role ArrayRole(Frame& parent);
  bool Fail(std::string_view message);
  // Failures and skip reasons whose messages are built from parts; cold,
  // apart from the handlers of every event (see geojson_handler.cpp).
  [[gnu::cold, gnu::noinline]] bool FailTooDeep();
  [[gnu::cold, gnu::noinline]] static void SetOutOfRange(GeoJsonArray& array, bool longitude,
                                                         std::string_view text);
  [[gnu::cold, gnu::noinline]] void EmitNoObject();
  /// The end of the top-level object: what it is, and its points unless a
  /// FeatureCollection; once a file, apart from the ends of other objects.
  [[gnu::noinline]] bool EndTop();
  /// Which member a name is, in the object it is a name of.
  static Member MemberOf(Role role, std::string_view name);
  /// Which of the names that matter a name is, in whatever object.
  static Member NamedMember(std::string_view name);
  GeoJsonFeature& CurrentFeature() { return inElement_ ? element_ : top_; }
  GeoJsonGeometry& CurrentGeometry() { return geometries_[openGeometries_ - 1]; }
  void OnNumber(GeoJsonArray& array, std::string_view text);
  Frame& Push(Role role);
  void PushGeometry(std::int64_t line, bool direct);
  /// A feature's end: its points, or why it gives none.
  void EndFeature(GeoJsonFeature& feature, bool isFeature);
  /// Pauses the parser when many entries are ready.
  bool PauseWhenFull();

  JsonSourceStream& stream_;
  /// The open containers, outermost first; as many as may be open at once.
  std::vector<Frame> frames_;
  std::size_t depth_ = 0;  ///< frames in use
  std::vector<GeoJsonGeometry> geometries_;
  std::size_t openGeometries_ = 0;
  GeoJsonFeature top_;
  GeoJsonFeature element_;  ///< the element of "features" being read
  bool inElement_ = false;
  bool featuresSeen_ = false;
  bool crsSeen_ = false;
  GeoJsonCrs crs_;
  GeoJsonReading reading_;
  std::optional<ReadFailure> failure_;
  bool paused_ = false;
  GeoJsonFeature* ending_ = nullptr;  ///< a feature ended, its points still going out
};

}  // namespace velorin
