#include "formats/geojson_handler.h"

#include <array>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "formats/decimal_text.h"
#include "formats/geojson_quoted.h"
#include "text/ascii.h"

namespace velorin {

namespace {

constexpr std::array<std::string_view, 9> kTopTypes = {
    "FeatureCollection", "Feature", "Point",        "MultiPoint",        "LineString",
    "MultiLineString",   "Polygon", "MultiPolygon", "GeometryCollection"};

bool IsTopType(std::string_view type) {
  for (const std::string_view name : kTopTypes) {
    if (type == name) return true;
  }
  return false;
}

/// Whether a property's name may be a title's (TitleNamed): its length
/// and first byte, so that most names (an elevation, a time) cost no more.
bool MayNameTitle(std::string_view name) {
  const auto first = static_cast<unsigned char>(name.empty() ? '\0' : name[0]);
  switch (name.size()) {
    case 4:
      return (first | 0x20u) == 'n';
    case 5:
      return (first | 0x20u) == 't' || (first | 0x20u) == 'l';
    case 6:
      return first == 0xE5;  // 名称
    case 9:
      return first == 0xE6 || (first | 0x20u) == 's';  // 施設名, stop_name
    default:
      return false;
  }
}

// Messages are built apart from the handlers that need them, in functions
// of their own that are never inlined: a handler that holds no string of its
// own sets up no stack guard and saves fewer registers on every event.

/// Why a coordinate is no angle.
[[gnu::cold, gnu::noinline]] std::string OutOfRange(bool longitude, std::string_view text) {
  return std::string(longitude ? "longitude" : "latitude") + " " + QuotedJsonText(text) +
         " is out of range";
}

}  // namespace

bool GeoJsonHandler::Fail(std::string_view message) {
  if (!failure_) failure_ = ReadFailure{stream_.Line(), std::string(message)};
  return false;
}

bool GeoJsonHandler::FailTooDeep() {
  return Fail("JSON nested more than " + std::to_string(kMaxDepth) + " deep: refused");
}

void GeoJsonHandler::SetOutOfRange(GeoJsonArray& array, bool longitude, std::string_view text) {
  array.reason = OutOfRange(longitude, text);
}

GeoJsonHandler::Member GeoJsonHandler::NamedMember(std::string_view name) {
  // The length and the first byte leave one name to compare at most.
  const auto is = [name](std::string_view known) {
    return std::memcmp(name.data(), known.data(), known.size()) == 0;
  };
  switch (name.size()) {
    case 3:
      return is("crs") ? Member::kCrs : Member::kOther;
    case 4:
      if (name[0] == 't') return is("type") ? Member::kType : Member::kOther;
      if (name[0] == 'c') return is("code") ? Member::kCode : Member::kOther;
      return is("name") ? Member::kName : Member::kOther;
    case 8:
      if (name[0] == 'f') return is("features") ? Member::kFeatures : Member::kOther;
      if (name[0] == 'g') return is("geometry") ? Member::kGeometry : Member::kOther;
      return is("location") ? Member::kLocation : Member::kOther;
    case 10:
      if (name[0] == 'p') return is("properties") ? Member::kProperties : Member::kOther;
      return is("geometries") ? Member::kGeometries : Member::kOther;
    case 11:
      return is("coordinates") ? Member::kCoordinates : Member::kOther;
    default:
      return Member::kOther;
  }
}

GeoJsonHandler::Member GeoJsonHandler::MemberOf(Role role, std::string_view name) {
  // The members each kind of object knows, one bit a member.
  constexpr auto kBits = [](std::initializer_list<Member> members) {
    std::uint32_t set = 0;
    for (const Member member : members) set |= 1u << static_cast<unsigned>(member);
    return set;
  };
  constexpr std::uint32_t kFeatureMembers =
      kBits({Member::kType, Member::kGeometry, Member::kProperties});
  constexpr std::uint32_t kGeometryMembers =
      kBits({Member::kType, Member::kCoordinates, Member::kGeometries});
  // The top may be a FeatureCollection, a Feature or a geometry.
  constexpr std::uint32_t kTopMembers =
      kFeatureMembers | kGeometryMembers | kBits({Member::kFeatures, Member::kCrs});
  static constexpr std::uint32_t kKnown[] = {
      kTopMembers,                                  // kTop
      0,                                            // kFeatures
      kFeatureMembers,                              // kFeature
      kGeometryMembers,                             // kGeometry
      0,                                            // kGeometries
      0,                                            // kCoordinates
      kBits({Member::kName, Member::kLocation}),    // kProperties (other titles: PropertyRole)
      0,                                            // kLocation
      kBits({Member::kType, Member::kProperties}),  // kCrs
      kBits({Member::kName, Member::kCode}),        // kCrsProperties
      0,                                            // kPassed
  };
  static_assert(std::size(kKnown) == static_cast<std::size_t>(Role::kPassed) + 1);
  const Member member = NamedMember(name);
  const bool known = (kKnown[static_cast<std::size_t>(role)] >> static_cast<unsigned>(member)) & 1u;
  return known ? member : Member::kOther;
}

GeoJsonHandler::Frame& GeoJsonHandler::Push(Role role) {
  Frame& frame = frames_[depth_++];  // depth_ < kMaxDepth: checked where containers open
  frame.role = role;
  frame.array = false;
  frame.member = Member::kOther;
  return frame;
}

void GeoJsonHandler::PushGeometry(std::int64_t line, bool direct) {
  if (openGeometries_ == geometries_.size()) geometries_.emplace_back();
  geometries_[openGeometries_++].Reset(line, direct);
}

bool GeoJsonHandler::Key(const char* text, unsigned length, bool) {
  stream_.MarkEvent();
  Frame& frame = frames_[depth_ - 1];
  const std::string_view name(text, length);
  frame.member = MemberOf(frame.role, name);
  if (frame.role != Role::kProperties && frame.role != Role::kLocation) return true;
  if (frame.member == Member::kName && frame.role == Role::kProperties) {
    // The title of most files, found by MemberOf already.
    frame.member = Member::kTitle;
    frame.title = GeoJsonFeature::Title::kName;
  } else if (frame.member == Member::kOther && (MayNameTitle(name) || MayNameField(name))) {
    PropertyRole(frame, name);
  }
  return true;
}

namespace {

/// Whether `name` is `lower` (letters a to z alone) in any letter case: a
/// byte with 0x20 added is one of them only when it is that letter.
bool IsLettersInAnyCase(std::string_view name, std::string_view lower) {
  if (name.size() != lower.size()) return false;
  for (std::size_t i = 0; i < lower.size(); ++i) {
    if ((static_cast<unsigned char>(name[i]) | 0x20u) != static_cast<unsigned char>(lower[i])) {
      return false;
    }
  }
  return true;
}

/// The title a property of this name is, in any letter case; none for
/// any other name. The length and the first byte settle most names.
std::optional<GeoJsonFeature::Title> TitleNamed(std::string_view name) {
  using Title = GeoJsonFeature::Title;
  switch (name.size()) {
    case 4:
      if (IsLettersInAnyCase(name, "name")) return Title::kName;
      break;
    case 5:
      if (IsLettersInAnyCase(name, "title")) return Title::kTitle;
      if (IsLettersInAnyCase(name, "label")) return Title::kLabel;
      break;
    case 6:
      if (name == "名称") return Title::kJapanese;
      break;
    case 9:
      if (name == "施設名") return Title::kJapanese;
      if (EqualsIgnoringAsciiCase(name, "stop_name")) return Title::kStopName;
      break;
    default:
      break;
  }
  return std::nullopt;
}

}  // namespace

void GeoJsonHandler::PropertyRole(Frame& frame, std::string_view name) {
  if (frame.role == Role::kLocation) {
    // A Takeout place's location: its name is a title, the rest its texts.
    if (name == "name") {
      frame.member = Member::kTitle;
      frame.title = GeoJsonFeature::Title::kLocationName;
      return;
    }
  } else if (const std::optional<GeoJsonFeature::Title> title = TitleNamed(name)) {
    frame.member = Member::kTitle;
    frame.title = *title;
    return;
  }
  if (!MayNameField(name)) return;
  if (const std::optional<FieldName> field = FieldOfName(name)) {
    frame.member = Member::kField;
    frame.field = field->field;
    frame.addressPart = field->addressPart;
  }
}

bool GeoJsonHandler::StartObject() {
  stream_.MarkEvent();
  if (depth_ >= kMaxDepth) return FailTooDeep();
  if (depth_ == 0) {
    StartTop();
    return true;
  }
  Frame& parent = frames_[depth_ - 1];
  Push(parent.array ? ElementObjectRole(parent) : MemberObjectRole(parent));
  return true;
}

void GeoJsonHandler::StartTop() {
  const std::int64_t line = stream_.Line();
  top_.Reset(line, true);
  openGeometries_ = 0;
  PushGeometry(line, true);  // in case the top is a geometry
  Push(Role::kTop);
}

GeoJsonHandler::Role GeoJsonHandler::ElementObjectRole(Frame& parent) {
  // Lines are counted where a feature or a geometry begins, nowhere else.
  if (parent.role == Role::kFeatures) {
    element_.Reset(stream_.Line(), false);
    inElement_ = true;
    return Role::kFeature;
  }
  if (parent.role == Role::kGeometries) {
    PushGeometry(stream_.Line(), false);
    return Role::kGeometry;
  }
  if (parent.role == Role::kCoordinates) parent.coordinates.Refuse("a position holds an object");
  return Role::kPassed;
}

GeoJsonHandler::Role GeoJsonHandler::MemberObjectRole(const Frame& parent) {
  const bool featureLike = parent.role == Role::kTop || parent.role == Role::kFeature;
  GeoJsonFeature& feature = CurrentFeature();
  switch (parent.member) {
    case Member::kGeometry:
      if (featureLike && feature.TakeGeometry()) {
        PushGeometry(stream_.Line(), true);
        return Role::kGeometry;
      }
      break;
    case Member::kProperties:
      if (featureLike && feature.TakeProperties()) return Role::kProperties;
      if (parent.role == Role::kCrs) return Role::kCrsProperties;
      break;
    case Member::kLocation:
      if (feature.TakeLocation()) return Role::kLocation;
      break;
    case Member::kCrs:
      if (!crsSeen_) {
        crsSeen_ = true;
        return Role::kCrs;
      }
      break;
    default:
      break;
  }
  return Role::kPassed;
}

bool GeoJsonHandler::EndObject(unsigned) {
  stream_.MarkEvent();
  const Role role = frames_[depth_ - 1].role;
  bool ok = true;
  if (role == Role::kFeature) {
    EndFeature(element_, true);
    inElement_ = false;
  } else if (role == Role::kGeometry) {
    geometries_[--openGeometries_].End(reading_, CurrentFeature());
  } else if (role == Role::kProperties) {
    CurrentFeature().EndProperties();
  } else if (role == Role::kCrs) {
    const std::optional<std::string> refusal = crs_.Refusal();
    if (refusal) ok = Fail(*refusal);
  } else if (role == Role::kTop) {
    ok = EndTop();
  }
  --depth_;
  return ok && !paused_;
}

void GeoJsonHandler::EndFeature(GeoJsonFeature& feature, bool isFeature) {
  if (&feature == &element_ && !feature.typeIsFeature()) {
    feature.EmitNotAFeature(reading_.entries);
    return;
  }
  if (isFeature && !feature.hasGeometry()) ++reading_.ignored[IgnoredKind::kFeatureWithoutGeometry];
  if (!feature.EmitWaiting(reading_.entries, kMaxReady)) {
    ending_ = &feature;
    paused_ = true;
  }
}

void GeoJsonHandler::EmitMore() {
  if (ending_ != nullptr && ending_->EmitWaiting(reading_.entries, kMaxReady)) ending_ = nullptr;
}

bool GeoJsonHandler::EndTop() {
  if (!top_.typed()) return Fail("not a GeoJSON file: the top-level object has no \"type\"");
  const std::string& type = top_.type();
  // Its elements were handed out as they came: a Feature or geometry around
  // them would be a second, earlier source of points.
  if (featuresSeen_ && type != "FeatureCollection") {
    return Fail("not a GeoJSON file: a \"features\" member in a " + QuotedJsonText(type));
  }
  if (type != "FeatureCollection" && type != "Feature") geometries_[0].End(reading_, top_);
  if (type != "FeatureCollection") EndFeature(top_, type == "Feature");
  openGeometries_ = 0;
  return true;
}

bool GeoJsonHandler::StartArray() {
  stream_.MarkEvent();
  if (depth_ >= kMaxDepth) return FailTooDeep();
  if (depth_ == 0) return Fail("not a GeoJSON file: the top-level value is no object");
  Frame& parent = frames_[depth_ - 1];
  const Role role = ArrayRole(parent);
  const int level = role == Role::kCoordinates ? parent.coordinates.level + 1 : 0;
  Frame& frame = Push(role);
  frame.array = true;
  if (role == Role::kCoordinates) {
    // The first array of coordinates is one deep, whatever its parent's level.
    const int at = parent.role == Role::kCoordinates ? level : 1;
    frame.coordinates.Start(at, stream_.Line());
    CurrentGeometry().StartArray(at);
  }
  return true;
}

GeoJsonHandler::Role GeoJsonHandler::ArrayRole(Frame& parent) {
  if (parent.array) {
    if (parent.role == Role::kCoordinates) {
      parent.coordinates.holdsArrays = true;
      return Role::kCoordinates;
    }
    if (parent.role == Role::kFeatures) EmitNoObject();
    return Role::kPassed;
  }
  if (parent.role != Role::kTop && parent.role != Role::kGeometry) return Role::kPassed;
  if (parent.member == Member::kFeatures && parent.role == Role::kTop && !featuresSeen_) {
    featuresSeen_ = true;
    return Role::kFeatures;
  }
  GeoJsonGeometry& geometry = CurrentGeometry();
  if (parent.member == Member::kCoordinates && geometry.TakeCoordinates()) {
    return Role::kCoordinates;
  }
  if (parent.member == Member::kGeometries && geometry.TakeGeometries()) return Role::kGeometries;
  return Role::kPassed;
}

void GeoJsonHandler::EmitNoObject() {
  ReadEntry& entry = reading_.entries.Emit(stream_.Line());
  entry.isPoint = false;
  entry.reason = "a features element that is no object";
}

bool GeoJsonHandler::EndArray(unsigned) {
  stream_.MarkEvent();
  Frame& frame = frames_[depth_ - 1];
  --depth_;
  if (frame.role == Role::kCoordinates) {
    CurrentGeometry().EndArray(frame.coordinates, reading_, CurrentFeature());
    return PauseWhenFull();
  }
  return !failure_;
}

bool GeoJsonHandler::PauseWhenFull() {
  if (failure_) return false;
  if (reading_.entries.count() < kMaxReady) return true;
  paused_ = true;
  return false;
}

void GeoJsonHandler::OnNumber(GeoJsonArray& array, std::string_view text) {
  ++array.numbers;
  if (array.numbers > 2 || !array.reason.empty()) return;  // an elevation and beyond
  const bool longitude = array.numbers == 1;
  const std::optional<double> value = ParseDecimalDegrees(text);
  if (!value) {
    SetOutOfRange(array, longitude, text);
    return;
  }
  (longitude ? array.longitude : array.latitude) = *value;
}

bool GeoJsonHandler::Scalar(ScalarKind kind, std::string_view text) {
  stream_.MarkEvent();
  if (depth_ == 0) return true;
  Frame& frame = frames_[depth_ - 1];
  if (frame.array) {
    ElementScalar(frame, kind, text);
    return true;
  }
  // A member whose name matters to no object (most properties) is passed over.
  if (frame.member == Member::kOther) return true;
  return MemberScalar(frame, kind, text);
}

bool GeoJsonHandler::MemberScalar(Frame& frame, ScalarKind kind, std::string_view text) {
  const bool isString = kind == ScalarKind::kString;
  switch (frame.role) {
    case Role::kTop:
      return TopScalar(frame.member, kind, text);
    case Role::kFeature:
      if (frame.member == Member::kType) CurrentFeature().SetType(text, isString);
      break;
    case Role::kGeometry:
      if (frame.member == Member::kType) CurrentGeometry().SetType(text, isString, reading_);
      break;
    case Role::kProperties:
    case Role::kLocation:
      // A number or a boolean is written as its text ("name": 101); null
      // leaves the next choice.
      if (!isString && kind != ScalarKind::kNumber && kind != ScalarKind::kBoolean) break;
      if (frame.member == Member::kField) {
        CurrentFeature().OfferField(frame.field, text, frame.addressPart);
      } else if (frame.member == Member::kTitle) {
        CurrentFeature().OfferTitle(frame.title, text);
      }
      break;
    case Role::kCrs:
      if (frame.member == Member::kType && isString) crs_.SetType(text);
      break;
    case Role::kCrsProperties:
      if (frame.member == Member::kName && isString) crs_.SetName(text);
      if (frame.member == Member::kCode && (isString || kind == ScalarKind::kNumber)) {
        crs_.SetCode(text);
      }
      break;
    default:
      break;
  }
  return true;
}

void GeoJsonHandler::ElementScalar(Frame& frame, ScalarKind kind, std::string_view text) {
  if (frame.role == Role::kCoordinates) {
    if (kind == ScalarKind::kNumber) {
      OnNumber(frame.coordinates, text);
    } else {
      frame.coordinates.Refuse("a position holds something other than a number");
    }
  } else if (frame.role == Role::kFeatures) {
    EmitNoObject();
  }
}

bool GeoJsonHandler::TopScalar(Member member, ScalarKind kind, std::string_view text) {
  const bool isString = kind == ScalarKind::kString;
  if (member == Member::kType && !top_.typed()) {
    top_.SetType(text, isString);
    geometries_[0].SetType(text, isString, reading_);
    if (!isString) return Fail("not a GeoJSON file: the top-level \"type\" is no string");
    if (!IsTopType(text)) {
      return Fail("not a GeoJSON file: the top-level \"type\" is " + QuotedJsonText(text));
    }
  } else if (member == Member::kCrs && kind == ScalarKind::kNull && !crsSeen_) {
    crsSeen_ = true;  // null: no coordinate system named, WGS 84 as always
  } else if (member == Member::kCrs && !crsSeen_) {
    return Fail("the \"crs\" member is no object naming a coordinate system");
  }
  return true;
}

}  // namespace velorin
