#include "formats/gpx_reader.h"

#include "formats/decimal_text.h"

namespace velorin {

namespace {

constexpr int kWaypointDepth = 2;    // gpx/wpt, gpx/rte, gpx/trk
constexpr int kRoutePointDepth = 3;  // gpx/rte/rtept, gpx/trk/trkseg
constexpr int kTrackPointDepth = 4;  // gpx/trk/trkseg/trkpt
constexpr std::string_view kGpxNamespacePrefix = "http://www.topografix.com/GPX/";
/// Garmin's extensions (v3; the waypoint extension's names are those of
/// every version).
constexpr std::string_view kGarminNamespacePrefix =
    "http://www.garmin.com/xmlschemas/GpxExtensions/";

/// The parts of Garmin's address, joined in this order by ", ".
bool IsAddressPart(std::string_view local) {
  return local == "StreetAddress" || local == "City" || local == "State" || local == "PostalCode" ||
         local == "Country";
}

}  // namespace

/// GPX's own elements: in a GPX namespace, or in none. An extension's
/// <name> in another namespace is not the waypoint's name.
bool GpxReader::IsOwnNamespace(std::string_view space) const {
  return space.starts_with(kGpxNamespacePrefix);
}

void GpxReader::OnStart(const XmlName& name, int depth, const char** attributes) {
  // A waypoint of a wrong namespace or spelling: said, not silently lost.
  if (depth == kWaypointDepth && PassesOver(name, "wpt")) return;
  if (pointDepth_ != 0) {
    StartPointElement(name, depth, attributes);
    return;
  }
  if (!name.own) return;
  const std::string_view local = name.local;
  if (depth == kWaypointDepth) {
    if (local == "rte" || local == "trk") StartLine(local);
    if (local == "wpt" && kinds_.waypoints) StartPoint(depth, attributes);
    if (local == "wpt" && !kinds_.waypoints) ++ignored_[IgnoredKind::kWaypoint];
    return;
  }
  if (lineDepth_ == 0) return;
  const bool routePoint =
      line_.kind == LineKind::kRoute && depth == kRoutePointDepth && local == "rtept";
  const bool trackPoint =
      line_.kind == LineKind::kTrack && depth == kTrackPointDepth && local == "trkpt";
  if (depth == kRoutePointDepth && local == "name" && !line_.hasName) {
    CollectText();
  } else if (routePoint || trackPoint) {
    StartPoint(depth, attributes);
  } else if (line_.kind == LineKind::kTrack && depth == kRoutePointDepth && local == "trkseg") {
    thinner_.StartSegment();
  }
}

void GpxReader::StartPointElement(const XmlName& name, int depth, const char** attributes) {
  if (!readsFields_) {
    if (name.own && depth == pointDepth_ + 1 && name.local == "name" && !hasName_) CollectText();
    return;
  }
  if (!name.own) {
    StartGarminElement(name, depth);
    return;
  }
  if (depth != pointDepth_ + 1) return;
  const std::string_view local = name.local;
  if (local == "name") {
    if (!hasName_) CollectText();
  } else if (local == "desc") {
    CollectField(PointField::kDescription, depth);
  } else if (local == "cmt") {
    CollectField(PointField::kComment, depth);
  } else if (local == "url") {  // GPX 1.0
    CollectField(PointField::kLink, depth);
  } else if (local == "link" && fields_[IndexOf(PointField::kLink)].empty()) {
    if (const char* href = FindAttribute(attributes, "href")) {
      fields_[IndexOf(PointField::kLink)].assign(href);
      hasFields_ = true;
    }
  }
}

void GpxReader::StartGarminElement(const XmlName& name, int depth) {
  if (!name.space.starts_with(kGarminNamespacePrefix)) return;
  // extensions/WaypointExtension/PhoneNumber, .../Address/StreetAddress.
  if (depth == pointDepth_ + 3 && name.local == "PhoneNumber") {
    CollectField(PointField::kPhone, depth);
  } else if (depth == pointDepth_ + 4 && IsAddressPart(name.local)) {
    CollectField(PointField::kAddress, depth);
    addressPart_ = true;
  }
}

void GpxReader::CollectField(PointField field, int depth) {
  // The first of each counts; address parts add up.
  if (field != PointField::kAddress && !fields_[IndexOf(field)].empty()) return;
  field_ = field;
  fieldDepth_ = depth;
  addressPart_ = false;
  CollectText();
}

bool GpxReader::EndField(int depth) {
  if (fieldDepth_ == 0 || depth != fieldDepth_) return false;
  fieldDepth_ = 0;
  std::string& text = fields_[IndexOf(field_)];
  if (TextOverflowed()) cut_.Add(field_);
  const std::string_view piece = TakeText();
  if (addressPart_) {
    if (IsWhiteSpaceOnly(piece)) return true;
    if (!text.empty()) text += ", ";
    text.append(piece);
  } else {
    text.assign(piece);
  }
  hasFields_ = hasFields_ || !text.empty();
  return true;
}

void GpxReader::FieldsInto(PointFields& fields) {
  // The point takes the buffers; its old ones, emptied, collect the next.
  for (const PointField field : kPointFields) {
    std::string& text = fields_[IndexOf(field)];
    if (text.empty()) continue;
    fields.Exchange(field, text);
    if (cut_.Has(field)) fields.MarkCut(field);
  }
  cut_ = {};
  hasFields_ = false;
}

void GpxReader::StartLine(std::string_view local) {
  const bool route = local == "rte";
  const std::int64_t number = route ? ++routes_ : ++tracks_;
  if (!(route ? kinds_.routes : kinds_.tracks)) {
    ++ignored_[route ? IgnoredKind::kRoute : IgnoredKind::kTrack];
    return;
  }
  lineDepth_ = kWaypointDepth;
  line_.kind = route ? LineKind::kRoute : LineKind::kTrack;
  line_.number = number;
  line_.points = 0;
  line_.hasName = false;
  line_.name.clear();
}

void GpxReader::StartPoint(int depth, const char** attributes) {
  pointDepth_ = depth;
  pointLine_ = CurrentLine();
  latitude_.Read(FindAttribute(attributes, "lat"));
  longitude_.Read(FindAttribute(attributes, "lon"));
  hasName_ = false;
  nameTooLong_ = false;
  name_.clear();
  readsFields_ = lineDepth_ == 0 || line_.kind == LineKind::kRoute;
  fieldDepth_ = 0;
  if (hasFields_) {
    for (std::string& text : fields_) text.clear();
    hasFields_ = false;
  }
  cut_ = {};
}

void GpxReader::OnEnd(const XmlName& name, int depth) {
  if (pointDepth_ != 0 && EndField(depth)) return;
  if (!name.own) return;
  const std::string_view local = name.local;
  if (pointDepth_ != 0) {
    if (depth == pointDepth_ + 1 && local == "name" && !hasName_) {
      TakeTextInto(name_);
      nameTooLong_ = TextOverflowed();
      hasName_ = true;
    } else if (depth == pointDepth_) {
      pointDepth_ = 0;
      EndPoint();
    }
    return;
  }
  if (lineDepth_ == 0) return;
  if (depth == kRoutePointDepth && local == "name" && !line_.hasName) {
    TakeTextInto(line_.name);
    line_.hasName = true;
  } else if (line_.kind == LineKind::kTrack && depth == kRoutePointDepth && local == "trkseg") {
    EndSegment();
  } else if (depth == lineDepth_) {
    lineDepth_ = 0;
  }
}

void GpxReader::TitleInto(std::string& title) {
  if (lineDepth_ == 0 || !name_.empty()) {
    // One point a waypoint: the name's memory goes with it, the title's comes
    // back for the next name.
    title.swap(name_);
    return;
  }
  LinePointTitle(title, line_.name, line_.kind, line_.number, line_.points);
}

void GpxReader::EndPoint() {
  if (lineDepth_ != 0) ++line_.points;
  const char* what = lineDepth_ == 0                  ? "waypoint"
                     : line_.kind == LineKind::kRoute ? "route point"
                                                      : "track point";
  if (!latitude_.degrees || !longitude_.degrees || nameTooLong_) {
    ReadEntry& entry = Emit();
    entry.point.line = pointLine_;
    entry.isPoint = false;
    const bool badLatitude = !latitude_.degrees;
    const Coordinate& bad = badLatitude ? latitude_ : longitude_;
    entry.reason = std::string(what) + " " +
                   (nameTooLong_ && latitude_.degrees && longitude_.degrees
                        ? "name longer than " + std::to_string(kMaxTextSize) + " bytes"
                        : std::string(badLatitude ? "lat" : "lon") +
                              (bad.present ? " '" + bad.text + "' is not a number" : " missing"));
    return;
  }
  const Degrees position{*longitude_.degrees, *latitude_.degrees};
  // A point of a line named by white space alone is called after its line.
  if (lineDepth_ != 0 && IsWhiteSpaceOnly(name_)) name_.clear();
  if (lineDepth_ != 0 && line_.kind == LineKind::kTrack &&
      thinner_.Offer(position.longitude, position.latitude) == TrackThinner::Verdict::kHold) {
    held_.present = true;
    held_.line = pointLine_;
    held_.position = position;
    TitleInto(held_.title);
    return;
  }
  ReadEntry& entry = Emit();
  entry.point.line = pointLine_;
  TitleInto(entry.point.title);
  // Expat hands over valid UTF-8: the title stays as the file gives it.
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = position;
  if (hasFields_) FieldsInto(entry.point.fields);
}

void GpxReader::EndSegment() {
  if (!thinner_.EndSegment() || !held_.present) return;
  held_.present = false;
  ReadEntry& entry = Emit();
  entry.point.line = held_.line;
  entry.point.title.swap(held_.title);
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = held_.position;
}

void GpxReader::Coordinate::Read(const char* attribute) {
  present = attribute != nullptr;
  degrees = present ? ParseDecimalDegrees(attribute) : std::nullopt;
  if (present && !degrees) text.assign(attribute);
}

}  // namespace velorin
