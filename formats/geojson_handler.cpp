#include "formats/geojson_handler.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <initializer_list>
#include <iterator>

#include "formats/decimal_text.h"
#include "formats/title_text.h"

namespace velorin {

namespace {

constexpr std::array<std::string_view, 9> kTopTypes = {
    "FeatureCollection", "Feature", "Point",        "MultiPoint",        "LineString",
    "MultiLineString",   "Polygon", "MultiPolygon", "GeometryCollection"};

/// The names of WGS 84 longitude/latitude that a crs member may give: OGC's
/// CRS84 and, as GDAL writes it for such data, EPSG:4326.
constexpr std::array<std::string_view, 7> kWgs84Names = {
    "urn:ogc:def:crs:OGC:1.3:CRS84",
    "urn:ogc:def:crs:OGC::CRS84",
    "http://www.opengis.net/def/crs/OGC/1.3/CRS84",
    "OGC:CRS84",
    "EPSG:4326",
    "urn:ogc:def:crs:EPSG::4326",
    "http://www.opengis.net/def/crs/EPSG/0/4326"};

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names) {
  for (const std::string_view name : names) {
    if (text == name) return true;
  }
  return false;
}

/// A text of the file for a message: cut short, quoted.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 60;
  return "\"" + std::string(text.substr(0, kShown)) + (text.size() > kShown ? "...\"" : "\"");
}

// Messages are built apart from the handlers that need them, in functions
// of their own that are never inlined: a handler that holds no string of its
// own sets up no stack guard and saves fewer registers on every event.

/// Why a coordinate is no angle.
[[gnu::cold, gnu::noinline]] std::string OutOfRange(bool longitude, std::string_view text) {
  return std::string(longitude ? "longitude" : "latitude") + " " + Quoted(text) +
         " is out of range";
}

constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD

/// A JSON string may hold U+0000, which no title should: U+FFFD instead.
void ReplaceNulls(std::string& title) {
  for (std::size_t at = title.find('\0'); at != std::string::npos; at = title.find('\0', at)) {
    title.replace(at, 1, kReplacement);
  }
}

}  // namespace

void GeoJsonHandler::Feature::Reset(std::int64_t at) {
  line = at;
  type.clear();
  typed = false;
  typeIsFeature = false;
  hasGeometry = false;
  hasProperties = false;
  for (auto& title : titles) title.given = false;
  hasLocation = false;
  points.clear();
}

bool GeoJsonHandler::Fail(std::string_view message) {
  if (!failure_) failure_ = ReadFailure{stream_.Line(), std::string(message)};
  return false;
}

bool GeoJsonHandler::FailTooDeep() {
  return Fail("JSON nested more than " + std::to_string(kMaxDepth) + " deep: refused");
}

bool GeoJsonHandler::FailTooManyPositions() {
  return Fail("a feature with more than " + std::to_string(kMaxFeaturePositions) +
              " positions of points: refused");
}

void GeoJsonHandler::SetOutOfRange(Frame& frame, bool longitude, std::string_view text) {
  frame.reason = OutOfRange(longitude, text);
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
    case 5:
      if (name[0] == 't') return is("title") ? Member::kTitle : Member::kOther;
      return is("Title") ? Member::kTitleCapital : Member::kOther;
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
      kTopMembers,       // kTop
      0,                 // kFeatures
      kFeatureMembers,   // kFeature
      kGeometryMembers,  // kGeometry
      0,                 // kGeometries
      0,                 // kCoordinates
      kBits({Member::kName, Member::kTitle, Member::kTitleCapital,
             Member::kLocation}),                   // kProperties
      kBits({Member::kName}),                       // kLocation
      kBits({Member::kType, Member::kProperties}),  // kCrs
      kBits({Member::kName, Member::kCode}),        // kCrsProperties
      0,                                            // kPassed
  };
  static_assert(std::size(kKnown) == static_cast<std::size_t>(Role::kPassed) + 1);
  const Member member = NamedMember(name);
  const bool known = (kKnown[static_cast<std::size_t>(role)] >> static_cast<unsigned>(member)) & 1u;
  return known ? member : Member::kOther;
}

GeoJsonHandler::Feature& GeoJsonHandler::CurrentFeature() { return inElement_ ? element_ : top_; }

GeoJsonHandler::Frame& GeoJsonHandler::Push(Role role, std::int64_t line) {
  Frame& frame = frames_[depth_++];  // depth_ < kMaxDepth: checked where containers open
  frame.role = role;
  frame.array = false;
  frame.member = Member::kOther;
  frame.level = 0;
  frame.line = line;
  if (role == Role::kCoordinates) {  // the members only positions use
    frame.numbers = 0;
    frame.holdsArrays = false;
    frame.longitude.reset();
    frame.latitude.reset();
    frame.reason.clear();
  }
  return frame;
}

GeoJsonHandler::Geometry& GeoJsonHandler::PushGeometry(std::int64_t line, bool direct) {
  if (openGeometries_ == geometries_.size()) geometries_.emplace_back();
  Geometry& geometry = geometries_[openGeometries_++];
  geometry.line = line;
  geometry.shape = Shape::kOther;
  geometry.typed = false;
  geometry.direct = direct;
  geometry.collects = true;
  geometry.hasCoordinates = false;
  geometry.hasGeometries = false;
  geometry.emptyCoordinates = false;
  geometry.deepCoordinates = false;
  geometry.lineKind.reset();
  geometry.segments = 0;
  geometry.positions.clear();
  return geometry;
}

GeoJsonHandler::Shape GeoJsonHandler::ShapeOf(std::string_view type) {
  if (type == "Point") return Shape::kPoint;
  if (type == "MultiPoint") return Shape::kMultiPoint;
  if (type == "LineString") return Shape::kLineString;
  if (type == "MultiLineString") return Shape::kMultiLineString;
  if (type == "Polygon") return Shape::kPolygon;
  if (type == "MultiPolygon") return Shape::kMultiPolygon;
  if (type == "GeometryCollection") return Shape::kCollection;
  return Shape::kOther;
}

void GeoJsonHandler::SetGeometryType(Geometry& geometry, std::string_view type, bool isString) {
  if (geometry.typed) return;
  geometry.typed = true;
  geometry.shape = isString ? ShapeOf(type) : Shape::kOther;
  if (isString && kinds_.routes && type == "LineString") geometry.lineKind = LineKind::kRoute;
  if (isString && kinds_.tracks && type == "MultiLineString") geometry.lineKind = LineKind::kTrack;
  const bool point = geometry.shape == Shape::kPoint || geometry.shape == Shape::kMultiPoint;
  geometry.collects = (point && kinds_.waypoints) || geometry.lineKind.has_value();
  if (!geometry.collects) geometry.positions.clear();
}

bool GeoJsonHandler::Key(const char* text, unsigned length, bool) {
  stream_.MarkEvent();
  Frame& frame = frames_[depth_ - 1];
  frame.member = MemberOf(frame.role, {text, length});
  return true;
}

bool GeoJsonHandler::StartObject() {
  stream_.MarkEvent();
  if (depth_ >= kMaxDepth) return FailTooDeep();
  if (depth_ == 0) {
    StartTop();
    return true;
  }
  Frame& parent = frames_[depth_ - 1];
  const Role role = parent.array ? ElementObjectRole(parent) : MemberObjectRole(parent);
  // Lines are counted where a feature or a geometry begins, nowhere else.
  Push(role, 0);
  return true;
}

void GeoJsonHandler::StartTop() {
  const std::int64_t line = stream_.Line();
  top_.Reset(line);
  openGeometries_ = 0;
  PushGeometry(line, true);  // in case the top is a geometry
  Push(Role::kTop, line);
}

GeoJsonHandler::Role GeoJsonHandler::ElementObjectRole(Frame& parent) {
  if (parent.role == Role::kFeatures) {
    element_.Reset(stream_.Line());
    inElement_ = true;
    return Role::kFeature;
  }
  if (parent.role == Role::kGeometries) {
    PushGeometry(stream_.Line(), false);
    return Role::kGeometry;
  }
  if (parent.role == Role::kCoordinates && parent.reason.empty()) {
    parent.reason = "a position holds an object";
  }
  return Role::kPassed;
}

GeoJsonHandler::Role GeoJsonHandler::MemberObjectRole(const Frame& parent) {
  const bool featureLike = parent.role == Role::kTop || parent.role == Role::kFeature;
  Feature& feature = CurrentFeature();
  switch (parent.member) {
    case Member::kGeometry:
      if (featureLike && !feature.hasGeometry) {
        feature.hasGeometry = true;
        PushGeometry(stream_.Line(), true);
        return Role::kGeometry;
      }
      break;
    case Member::kProperties:
      if (featureLike && !feature.hasProperties) {
        feature.hasProperties = true;
        return Role::kProperties;
      }
      if (parent.role == Role::kCrs) return Role::kCrsProperties;
      break;
    case Member::kLocation:
      if (!feature.hasLocation) {
        feature.hasLocation = true;
        return Role::kLocation;
      }
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
    EmitFeature(element_, true);
    inElement_ = false;
  } else if (role == Role::kGeometry) {
    ok = EndGeometry(geometries_[--openGeometries_]);
  } else if (role == Role::kCrs) {
    ok = CheckCrs();
  } else if (role == Role::kTop) {
    ok = EndTop();
  }
  --depth_;
  return ok;
}

bool GeoJsonHandler::EndTop() {
  bool ok = true;
  if (!top_.typed) return Fail("not a GeoJSON file: the top-level object has no \"type\"");
  // Its elements were handed out as they came: a Feature or geometry around
  // them would be a second, earlier source of points.
  if (featuresSeen_ && top_.type != "FeatureCollection") {
    return Fail("not a GeoJSON file: a \"features\" member in a " + Quoted(top_.type));
  }
  if (top_.type != "FeatureCollection" && top_.type != "Feature") {
    ok = EndGeometry(geometries_[0]);
  }
  if (top_.type != "FeatureCollection") EmitFeature(top_, top_.type == "Feature");
  openGeometries_ = 0;
  return ok;
}

bool GeoJsonHandler::StartArray() {
  stream_.MarkEvent();
  if (depth_ >= kMaxDepth) return FailTooDeep();
  if (depth_ == 0) return Fail("not a GeoJSON file: the top-level value is no object");
  Frame& parent = frames_[depth_ - 1];
  Role role = Role::kPassed;
  int level = 0;
  std::int64_t line = 0;  // counted for coordinates only
  if (parent.array) {
    if (parent.role == Role::kCoordinates) {
      parent.holdsArrays = true;
      role = Role::kCoordinates;
      level = parent.level + 1;
      line = stream_.Line();
      Geometry& geometry = geometries_[openGeometries_ - 1];
      if (level >= 3) geometry.deepCoordinates = true;
      if (level == 2) ++geometry.segments;
    } else if (parent.role == Role::kFeatures) {
      Emit(stream_.Line()).reason = "a features element that is no object";
      ready_[readyCount_ - 1].isPoint = false;
    }
  } else if (parent.role == Role::kTop || parent.role == Role::kGeometry) {
    Geometry& geometry = geometries_[openGeometries_ - 1];
    if (parent.member == Member::kFeatures && parent.role == Role::kTop && !featuresSeen_) {
      featuresSeen_ = true;
      role = Role::kFeatures;
    } else if (parent.member == Member::kCoordinates && !geometry.hasCoordinates) {
      geometry.hasCoordinates = true;
      role = Role::kCoordinates;
      level = 1;
      line = stream_.Line();
    } else if (parent.member == Member::kGeometries && !geometry.hasGeometries) {
      geometry.hasGeometries = true;
      role = Role::kGeometries;
    }
  }
  Frame& frame = Push(role, line);
  frame.array = true;
  frame.level = level;
  return true;
}

bool GeoJsonHandler::EndArray(unsigned) {
  stream_.MarkEvent();
  const Frame& frame = frames_[depth_ - 1];
  if (frame.role == Role::kCoordinates) EndPosition(frame);
  --depth_;
  return !failure_;
}

bool GeoJsonHandler::FeaturesNext() const {
  return depth_ == 1 && frames_[0].member == Member::kFeatures && !featuresSeen_;
}

void GeoJsonHandler::OnNumber(Frame& frame, std::string_view text) {
  ++frame.numbers;
  if (frame.numbers > 2 || !frame.reason.empty()) return;  // an elevation and beyond
  const bool longitude = frame.numbers == 1;
  const std::optional<double> value = ParseDecimalDegrees(text);
  if (!value) SetOutOfRange(frame, longitude, text);
  (longitude ? frame.longitude : frame.latitude) = value;
}

void GeoJsonHandler::EndPosition(const Frame& frame) {
  Geometry& geometry = geometries_[openGeometries_ - 1];
  if (frame.level == 1 && frame.numbers == 0 && !frame.holdsArrays && frame.reason.empty()) {
    geometry.emptyCoordinates = true;
    return;
  }
  if (frame.holdsArrays && frame.numbers == 0 && frame.reason.empty()) return;
  // A track's positions lie three arrays deep, and so may those of a
  // geometry whose type comes after its coordinates.
  const bool deep = !geometry.typed || geometry.lineKind == LineKind::kTrack;
  if (!geometry.collects || frame.level > (deep ? 3 : 2)) return;
  if (geometry.positions.size() + CurrentFeature().points.size() >= kMaxFeaturePositions) {
    FailTooManyPositions();
    return;
  }
  Position& position = geometry.positions.emplace_back();
  position.level = frame.level;
  position.line = frame.line;
  position.segment = geometry.segments;
  if (!frame.reason.empty()) {
    position.reason = frame.reason;
  } else if (frame.holdsArrays) {
    position.reason = "a position holds an array";
  } else if (frame.numbers < 2) {
    position.reason = "a position with fewer than two numbers";
  } else {
    position.longitude = *frame.longitude;
    position.latitude = *frame.latitude;
  }
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
  Feature& feature = CurrentFeature();
  switch (frame.role) {
    case Role::kTop:
      return TopScalar(frame.member, kind, text);
    case Role::kFeature:
      if (frame.member == Member::kType && !feature.typed) {
        feature.typed = true;
        // The usual type is only noted; another is kept for the message.
        feature.typeIsFeature = isString && text == "Feature";
        if (!feature.typeIsFeature) feature.type = isString ? text : "(not a string)";
      }
      break;
    case Role::kGeometry:
      if (frame.member == Member::kType) {
        SetGeometryType(geometries_[openGeometries_ - 1], text, isString);
      }
      break;
    case Role::kProperties:
    case Role::kLocation:
      // Only a string is a title; null or a number leaves the next choice.
      if (const std::optional<std::size_t> index = TitleIndex(frame); index && isString) {
        TitleCandidate& title = feature.titles[*index];
        if (!title.given) {
          title.given = true;
          title.text.assign(text.substr(0, kMaxTitleSize + 1));
        }
      }
      break;
    case Role::kCrs:
      if (frame.member == Member::kType && isString) crsType_ = text.substr(0, 100);
      break;
    case Role::kCrsProperties:
      if (frame.member == Member::kName && isString) crsName_ = text.substr(0, 100);
      // The older form's EPSG code, as a string or a number.
      if (frame.member == Member::kCode && (isString || kind == ScalarKind::kNumber)) {
        crsCode_ = text.substr(0, 100);
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
      OnNumber(frame, text);
    } else if (frame.reason.empty()) {
      frame.reason = "a position holds something other than a number";
    }
  } else if (frame.role == Role::kFeatures) {
    ReadEntry& entry = Emit(stream_.Line());
    entry.isPoint = false;
    entry.reason = "a features element that is no object";
  }
}

bool GeoJsonHandler::TopScalar(Member member, ScalarKind kind, std::string_view text) {
  const bool isString = kind == ScalarKind::kString;
  if (member == Member::kType && !top_.typed) {
    top_.typed = true;
    top_.type = text;
    SetGeometryType(geometries_[0], text, isString);
    if (!isString) return Fail("not a GeoJSON file: the top-level \"type\" is no string");
    if (!IsOneOf(text, kTopTypes)) {
      return Fail("not a GeoJSON file: the top-level \"type\" is " + Quoted(text));
    }
  } else if (member == Member::kCrs && kind == ScalarKind::kNull && !crsSeen_) {
    crsSeen_ = true;  // null: no coordinate system named, WGS 84 as always
  } else if (member == Member::kCrs && !crsSeen_) {
    return Fail("the \"crs\" member is no object naming a coordinate system");
  }
  return true;
}

std::optional<std::size_t> GeoJsonHandler::TitleIndex(const Frame& frame) {
  if (frame.role == Role::kLocation) {
    if (frame.member == Member::kName) return std::size_t{3};
    return std::nullopt;
  }
  switch (frame.member) {
    case Member::kName:
      return std::size_t{0};
    case Member::kTitle:
      return std::size_t{1};
    case Member::kTitleCapital:
      return std::size_t{2};
    default:
      return std::nullopt;
  }
}

bool GeoJsonHandler::CheckCrs() {
  if (crsType_ == "name" && IsOneOf(crsName_, kWgs84Names)) return true;
  // The form GeoJSON had before RFC 7946 named WGS 84 by its EPSG code.
  if (crsType_ == "EPSG" && crsCode_ == "4326") return true;
  const std::string named = crsType_ == "name"   ? Quoted(crsName_)
                            : crsType_ == "EPSG" ? "EPSG code " + Quoted(crsCode_)
                                                 : "no name (type " + Quoted(crsType_) + ")";
  return Fail("the \"crs\" member gives " + named +
              ", not WGS 84 longitude/latitude (urn:ogc:def:crs:OGC:1.3:CRS84): no coordinate "
              "system is converted");
}

bool GeoJsonHandler::AddPoint(std::int64_t line, double longitude, double latitude) {
  Pending& point = CurrentFeature().points.emplace_back();
  point.line = line;
  point.longitude = longitude;
  point.latitude = latitude;
  point.reason.clear();
  return true;
}

bool GeoJsonHandler::AddSkip(std::int64_t line, std::string_view reason) {
  Pending& point = CurrentFeature().points.emplace_back();
  point.line = line;
  point.reason = reason;
  return true;
}

bool GeoJsonHandler::EndGeometry(Geometry& geometry) {
  const std::int64_t featureLine = CurrentFeature().line;
  if (!geometry.typed) {
    AddSkip(geometry.line, "a geometry without a \"type\"");
  } else if (geometry.shape == Shape::kPoint && kinds_.waypoints) {
    const Position* single = nullptr;
    for (const Position& position : geometry.positions) {
      if (position.level == 1) single = &position;
    }
    if (!geometry.hasCoordinates || geometry.emptyCoordinates) {
      AddSkip(geometry.line, "a Point without coordinates");
    } else if (single == nullptr || geometry.positions.size() != 1 || geometry.deepCoordinates) {
      AddSkip(geometry.line, "Point coordinates that are not one position");
    } else {
      const std::int64_t line = geometry.direct ? featureLine : single->line;
      if (single->reason.empty()) {
        AddPoint(line, single->longitude, single->latitude);
      } else {
        AddSkip(line, single->reason);
      }
    }
  } else if (geometry.shape == Shape::kMultiPoint && kinds_.waypoints) {
    bool flat = !geometry.deepCoordinates;
    for (const Position& position : geometry.positions) flat = flat && position.level == 2;
    if (!flat) {
      AddSkip(geometry.line, "MultiPoint coordinates that are not a list of positions");
    } else {
      for (const Position& position : geometry.positions) {
        if (position.reason.empty()) {
          AddPoint(position.line, position.longitude, position.latitude);
        } else {
          AddSkip(position.line, position.reason);
        }
      }
    }
  } else if (EndLine(geometry)) {
    // Its points are read.
  } else if (geometry.shape == Shape::kLineString) {
    ++ignored_[IgnoredKind::kLineString];
  } else if (geometry.shape == Shape::kMultiLineString) {
    ++ignored_[IgnoredKind::kMultiLineString];
  } else if (geometry.shape == Shape::kPolygon) {
    ++ignored_[IgnoredKind::kPolygon];
  } else if (geometry.shape == Shape::kMultiPolygon) {
    ++ignored_[IgnoredKind::kMultiPolygon];
  } else if (geometry.shape == Shape::kOther) {
    ++ignored_[IgnoredKind::kOtherGeometry];
  }
  geometry.positions.clear();
  if (CurrentFeature().points.size() > kMaxFeaturePositions) {
    return FailTooManyPositions();
  }
  return true;
}

bool GeoJsonHandler::EndLine(Geometry& geometry) {
  if (!geometry.lineKind) return false;
  const LineKind kind = *geometry.lineKind;
  const bool route = kind == LineKind::kRoute;
  const int level = route ? 2 : 3;
  bool fits = route ? !geometry.deepCoordinates : true;
  for (const Position& position : geometry.positions) fits = fits && position.level == level;
  const std::int64_t lineNumber = route ? ++routes_ : ++tracks_;
  if (fits) {
    AddLinePoints(geometry, kind, lineNumber);
  } else {
    AddSkip(geometry.line, route ? "LineString coordinates that are not a list of positions"
                                 : "MultiLineString coordinates that are not lists of positions");
  }
  return true;
}

void GeoJsonHandler::AddLinePoints(const Geometry& geometry, LineKind kind,
                                   std::int64_t lineNumber) {
  std::int64_t number = 0;
  std::int64_t segment = -1;
  const Position* held = nullptr;  // the segment's last point, should it be
  std::int64_t heldNumber = 0;
  for (const Position& position : geometry.positions) {
    ++number;
    if (kind == LineKind::kRoute || !position.reason.empty()) {
      AddLinePoint(position, number, kind, lineNumber);
      continue;
    }
    if (position.segment != segment) {
      if (thinner_.EndSegment() && held != nullptr) {
        AddLinePoint(*held, heldNumber, kind, lineNumber);
      }
      held = nullptr;
      segment = position.segment;
      thinner_.StartSegment();
    }
    if (thinner_.Offer(position.longitude, position.latitude) == TrackThinner::Verdict::kHold) {
      held = &position;
      heldNumber = number;
    } else {
      held = nullptr;
      AddLinePoint(position, number, kind, lineNumber);
    }
  }
  if (thinner_.EndSegment() && held != nullptr) AddLinePoint(*held, heldNumber, kind, lineNumber);
}

void GeoJsonHandler::AddLinePoint(const Position& position, std::int64_t number, LineKind kind,
                                  std::int64_t lineNumber) {
  Pending& point = CurrentFeature().points.emplace_back();
  point.line = position.line;
  point.longitude = position.longitude;
  point.latitude = position.latitude;
  point.reason = position.reason;
  point.number = number;
  point.kind = kind;
  point.lineNumber = lineNumber;
}

ReadEntry& GeoJsonHandler::Emit(std::int64_t line) {
  if (readyCount_ == ready_.size()) ready_.emplace_back();
  ReadEntry& entry = ready_[readyCount_++];
  entry.isPoint = true;
  entry.skip = SkipKind::kMalformed;
  entry.reason.clear();
  entry.point.title.clear();
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.titleApproximated = false;
  entry.point.titleTidied = false;
  entry.point.line = line;
  return entry;
}

void GeoJsonHandler::EmitNoFeature(Feature& feature) {
  Emit(feature.line).reason =
      feature.typed ? "a features element of type " + Quoted(feature.type) + ", not \"Feature\""
                    : "a features element without a \"type\"";
  ready_[readyCount_ - 1].isPoint = false;
  feature.points.clear();
}

void GeoJsonHandler::SetTitleTooLong(ReadEntry& entry) {
  entry.reason = "a title longer than " + std::to_string(kMaxTitleSize) + " bytes";
}

void GeoJsonHandler::EmitFeature(Feature& feature, bool isFeature) {
  if (&feature == &element_ && !feature.typeIsFeature) {
    EmitNoFeature(feature);
    return;
  }
  if (isFeature && !feature.hasGeometry) ++ignored_[IgnoredKind::kFeatureWithoutGeometry];
  std::string* title = nullptr;
  for (TitleCandidate& candidate : feature.titles) {
    if (candidate.given && title == nullptr) title = &candidate.text;
  }
  const bool tooLong = title != nullptr && title->size() > kMaxTitleSize;
  // In the order of their lines: a collection's members end, and give their
  // points, before the collection does. Most features are in order already
  // (one point), and a stable sort would take a buffer for them.
  const auto byLine = [](const Pending& a, const Pending& b) { return a.line < b.line; };
  if (!std::is_sorted(feature.points.begin(), feature.points.end(), byLine)) {
    std::stable_sort(feature.points.begin(), feature.points.end(), byLine);
  }
  for (Pending& pending : feature.points) {
    ReadEntry& entry = Emit(pending.line);
    if (!pending.reason.empty() || tooLong) {
      entry.isPoint = false;
      if (tooLong) {
        SetTitleTooLong(entry);
      } else {
        entry.reason = std::move(pending.reason);
      }
      continue;
    }
    if (pending.number > 0) {
      LinePointTitle(entry.point.title, title != nullptr ? *title : std::string_view(),
                     pending.kind, pending.lineNumber, pending.number);
      ReplaceNulls(entry.point.title);
    } else if (title != nullptr) {
      // The last point takes the title's buffer; the ones before, a copy.
      if (&pending == &feature.points.back()) {
        entry.point.title.swap(*title);
      } else {
        entry.point.title = *title;
      }
      ReplaceNulls(entry.point.title);
      entry.point.titleTidied = CollapseWhiteSpace(entry.point.title);
    }
    entry.point.position = Degrees{pending.longitude, pending.latitude};
  }
  feature.points.clear();
}

}  // namespace velorin
