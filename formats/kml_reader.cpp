#include "formats/kml_reader.h"

#include "formats/decimal_text.h"

namespace velorin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

/// Google's extensions, where gx:Track lives.
constexpr std::string_view kGxNamespace = "http://www.google.com/kml/ext/2.2";

/// Where atom:link lives.
constexpr std::string_view kAtomNamespace = "http://www.w3.org/2005/Atom";

/// The longest tuple of a LineString's coordinates read.
constexpr std::size_t kMaxTupleSize = 256;

}  // namespace

std::optional<Degrees> ParseKmlCoordinates(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  const std::size_t first = text.find(',');
  if (first == std::string_view::npos) return std::nullopt;
  const std::size_t second = text.find(',', first + 1);
  const std::string_view longitudeText = text.substr(0, first);
  const std::string_view latitudeText = text.substr(
      first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1);
  if (second != std::string_view::npos) {
    // An altitude: a number, and nothing after it (a second tuple would
    // follow a blank).
    if (!ParseDecimalDegrees(text.substr(second + 1))) return std::nullopt;
  }
  // A blank inside a number's text (a second tuple) leaves no number.
  const std::optional<double> longitude = ParseDecimalDegrees(longitudeText);
  const std::optional<double> latitude = ParseDecimalDegrees(latitudeText);
  if (!longitude || !latitude) return std::nullopt;
  return Degrees{*longitude, *latitude};
}

std::optional<Degrees> ParseGxCoord(std::string_view text) {
  std::optional<double> numbers[3];
  std::size_t count = 0;
  while (true) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    if (text.empty()) break;
    std::size_t end = 0;
    while (end < text.size() && !IsBlank(text[end])) ++end;
    if (count == 3) return std::nullopt;
    numbers[count] = ParseDecimalDegrees(text.substr(0, end));
    if (!numbers[count++]) return std::nullopt;
    text.remove_prefix(end);
  }
  if (count < 2) return std::nullopt;
  return Degrees{*numbers[0], *numbers[1]};
}

/// KML's own elements: in a KML namespace (OGC 2.2, or Google's older
/// ones), or in none. Google's gx: extensions and others are passed over.
bool KmlReader::IsOwnNamespace(std::string_view space) const {
  return space.find("opengis.net/kml/") != std::string_view::npos ||
         space.find("earth.google.com/kml/") != std::string_view::npos;
}

/// A tour, or an update of features already shown: what it holds are the
/// steps of an animation, not places.
bool KmlReader::IsAnimation(const XmlName& name) const {
  if (name.space == kGxNamespace) return name.local == "Tour" || name.local == "AnimatedUpdate";
  return name.own && name.local == "Update";
}

void KmlReader::OnStart(const XmlName& name, int depth, const char** attributes) {
  if (placemarkDepth_ == 0 && animationDepth_ == 0 && IsAnimation(name)) animationDepth_ = depth;
  if (animationDepth_ != 0) {
    if (name.own && name.local == "Placemark") ++ignored_[IgnoredKind::kAnimationPlacemark];
    return;
  }
  // KML names are case-sensitive: a <placemark> is said, not silently lost.
  if (placemarkDepth_ == 0 && PassesOver(name, "Placemark")) return;
  if (placemarkDepth_ != 0 && name.space == kGxNamespace) {
    OnGxStart(name, depth);
    return;
  }
  if (placemarkDepth_ != 0 && pointDepth_ == 0 && segmentDepth_ == 0) {
    OnFieldStart(name, depth, attributes);
  }
  if (!name.own) return;
  const std::string_view local = name.local;
  if (linkDepth_ != 0 || (placemarkDepth_ == 0 && local == "NetworkLink")) {
    OnLinkStart(local, depth);
    return;
  }
  if (placemarkDepth_ == 0) {
    if (local == "Placemark") StartPlacemark(depth);
    return;
  }
  if (depth == placemarkDepth_ + 1 && local == "name" && !hasName_) {
    CollectText();
    return;
  }
  if (segmentDepth_ != 0) {
    if (!gxSegment_ && depth == segmentDepth_ + 1 && local == "coordinates" && !inTuples_) {
      inTuples_ = true;
      tuple_.clear();
      tupleTooLong_ = false;
      StreamText();
    }
    return;
  }
  if (pointDepth_ == 0 && local == "LineString") {
    StartSegment(depth, false);
    return;
  }
  if (pointDepth_ == 0 && depth == containerDepth_ + 1) {
    if (local == "MultiGeometry") {
      containerDepth_ = depth;
    } else if (local == "Point" && (depth > placemarkDepth_ + 1 || !hasDirectPoint_)) {
      // A placemark holds one Point of its own; a MultiGeometry any number.
      hasDirectPoint_ = hasDirectPoint_ || depth == placemarkDepth_ + 1;
      pointDepth_ = depth;
      point_.line = depth == placemarkDepth_ + 1 ? placemarkLine_ : CurrentLine();
      hasCoordinates_ = coordinatesTooLong_ = false;
      coordinates_.clear();
    }
    return;
  }
  if (pointDepth_ != 0 && depth == pointDepth_ + 1 && local == "coordinates" && !hasCoordinates_) {
    CollectText();
  }
}

void KmlReader::OnFieldStart(const XmlName& name, int depth, const char** attributes) {
  const std::string_view local = name.local;
  if (depth == placemarkDepth_ + 1) {
    if (name.own) {
      if (local == "description") CollectField(PointField::kDescription, depth);
      if (local == "address") CollectField(PointField::kAddress, depth);
      if (local == "phoneNumber") CollectField(PointField::kPhone, depth);
      if (local == "ExtendedData") extendedDepth_ = depth;
    } else if (name.space == kAtomNamespace && local == "link") {
      const char* href = FindAttribute(attributes, "href");
      std::string& link = fields_[IndexOf(PointField::kLink)];
      if (href != nullptr && link.empty()) {
        link.assign(href);
        hasFields_ = true;
      }
    }
    return;
  }
  if (extendedDepth_ == 0 || !name.own) return;
  // ExtendedData/Data name="..."/value, ExtendedData/SchemaData/SimpleData name="...".
  const bool data = depth == extendedDepth_ + 1 && local == "Data";
  const bool simple = depth == extendedDepth_ + 2 && local == "SimpleData";
  if (data || simple) {
    const char* itemName = FindAttribute(attributes, "name");
    const std::optional<FieldName> named =
        itemName != nullptr ? FieldOfName(itemName) : std::nullopt;
    // The first whole text of each kind counts (not a part of an address).
    if (!named || named->addressPart) return;
    if (simple) {
      CollectField(named->field, depth);
    } else {
      dataDepth_ = depth;
      dataField_ = named->field;
    }
  } else if (dataDepth_ != 0 && depth == dataDepth_ + 1 && local == "value") {
    CollectField(dataField_, depth);
  }
}

void KmlReader::CollectField(PointField field, int depth) {
  if (!fields_[IndexOf(field)].empty()) return;  // the first of each counts
  field_ = field;
  fieldDepth_ = depth;
  CollectText();
}

bool KmlReader::OnFieldEnd(int depth) {
  if (depth == dataDepth_) dataDepth_ = 0;
  if (depth == extendedDepth_) extendedDepth_ = 0;
  if (fieldDepth_ == 0 || depth != fieldDepth_) return false;
  EndField();
  return true;
}

void KmlReader::EndField() {
  fieldDepth_ = 0;
  const bool cut = TextOverflowed();
  const std::string_view text = TakeText();
  if (IsWhiteSpaceOnly(text)) return;
  fields_[IndexOf(field_)].assign(text);
  if (cut) cut_.Add(field_);
  hasFields_ = true;
}

void KmlReader::StartPlacemark(int depth) {
  placemarkDepth_ = containerDepth_ = depth;
  placemarkLine_ = CurrentLine();
  pointDepth_ = 0;
  points_ = 0;
  hasDirectPoint_ = hasName_ = nameTooLong_ = false;
  name_.clear();
  waiting_.clear();
  placemarkHasLine_ = holding_ = false;
  linePoints_ = 0;
  segmentDepth_ = 0;
  if (hasFields_) {
    for (std::string& text : fields_) text.clear();
    hasFields_ = false;
  }
  cut_ = {};
  fieldDepth_ = extendedDepth_ = dataDepth_ = 0;
}

void KmlReader::OnEnd(const XmlName& name, int depth) {
  if (animationDepth_ != 0) {
    if (depth == animationDepth_) animationDepth_ = 0;
    return;
  }
  if (placemarkDepth_ != 0 && name.space == kGxNamespace) {
    OnGxEnd(name, depth);
    return;
  }
  if (placemarkDepth_ != 0 && OnFieldEnd(depth)) return;
  if (!name.own) return;
  const std::string_view local = name.local;
  if (linkDepth_ != 0) {
    OnLinkEnd(local, depth);
    return;
  }
  if (placemarkDepth_ == 0) return;
  if (depth == placemarkDepth_ + 1 && local == "name" && !hasName_) {
    TakeTextInto(name_);
    nameTooLong_ = TextOverflowed();
    hasName_ = true;
    for (const Waiting& point : waiting_) EmitPoint(point);
    waiting_.clear();
    return;
  }
  if (segmentDepth_ != 0) {
    if (inTuples_ && depth == segmentDepth_ + 1) {
      EndTuple();
      inTuples_ = false;
    } else if (depth == segmentDepth_) {
      EndSegment();
    }
    return;
  }
  if (pointDepth_ != 0 && depth == pointDepth_ + 1 && local == "coordinates" && !hasCoordinates_) {
    TakeTextInto(coordinates_);
    coordinatesTooLong_ = TextOverflowed();
    hasCoordinates_ = true;
    return;
  }
  if (depth == pointDepth_ && local == "Point") {
    EndPoint();
    return;
  }
  if (depth == containerDepth_ && depth > placemarkDepth_ && local == "MultiGeometry") {
    --containerDepth_;
    return;
  }
  if (depth != placemarkDepth_ || local != "Placemark") return;
  placemarkDepth_ = 0;
  if (placemarkHasLine_ && !kinds_.tracks) ++ignored_[IgnoredKind::kTrack];
  if (points_ == 0 && linePoints_ == 0) {
    if (!placemarkHasLine_) ++ignored_[IgnoredKind::kPlacemarkWithoutPoint];
    return;
  }
  for (const Waiting& point : waiting_) EmitPoint(point);
  waiting_.clear();
}

void KmlReader::OnLinkStart(std::string_view local, int depth) {
  if (linkDepth_ == 0) {
    linkDepth_ = depth;
    hasHref_ = false;
  } else if (depth == linkDepth_ + 1) {
    inLinkElement_ = local == "Link" || local == "Url";
  } else if (depth == linkDepth_ + 2 && inLinkElement_ && local == "href" && !hasHref_) {
    CollectText();
  }
}

void KmlReader::OnLinkEnd(std::string_view local, int depth) {
  if (depth == linkDepth_ + 2 && inLinkElement_ && local == "href" && !hasHref_) {
    href_.assign(TakeText());
    hrefTooLong_ = TextOverflowed();
    hasHref_ = true;
    return;
  }
  if (depth != linkDepth_) return;
  linkDepth_ = 0;
  inLinkElement_ = false;
  if (!hasHref_) return;  // links to nothing
  if (!keepsLinks_) {
    ++ignored_[IgnoredKind::kLinkOutside];
  } else if (links_.size() < kMaxLinks && !hrefTooLong_) {
    links_.push_back(href_);
  } else {
    ++ignored_[IgnoredKind::kLinkNotFollowed];
  }
}

void KmlReader::EndPoint() {
  pointDepth_ = 0;
  ++points_;
  point_.hadCoordinates = hasCoordinates_;
  point_.position = coordinatesTooLong_ ? std::nullopt : ParseKmlCoordinates(coordinates_);
  point_.number = 0;
  if (kinds_.waypoints) {
    Deliver(point_);
  } else {
    ++ignored_[IgnoredKind::kWaypoint];
  }
}

void KmlReader::Deliver(const Waiting& point) {
  if (hasName_) {
    EmitPoint(point);
  } else if (waiting_.size() < kMaxPointsWaiting) {
    waiting_.push_back(point);
  } else {
    ReadEntry& entry = Emit();
    entry.point.line = placemarkLine_;  // before the waiting ones: lines never go back
    entry.isPoint = false;
    entry.reason = "more than " + std::to_string(kMaxPointsWaiting) +
                   " points of one placemark before its name";
  }
}

void KmlReader::EmitPoint(const Waiting& point) {
  ReadEntry& entry = Emit();
  entry.point.line = point.line;
  if (!point.position) {
    entry.isPoint = false;
    entry.reason = point.number > 0       ? "a track position that is not longitude,latitude"
                   : point.hadCoordinates ? "placemark coordinates are not longitude,latitude"
                                          : "placemark point without coordinates";
    return;
  }
  if (nameTooLong_) {
    entry.isPoint = false;
    entry.reason = "placemark name longer than " + std::to_string(kMaxTextSize) + " bytes";
    return;
  }
  // name_ was collapsed as it ended. Expat hands over valid UTF-8: the title
  // stays as the file gives it.
  if (point.number > 0) {
    LinePointTitle(entry.point.title, name_, LineKind::kTrack, tracks_, point.number);
  } else {
    entry.point.title = name_;
  }
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = *point.position;
  if (!hasFields_) return;
  for (const PointField field : kPointFields) {
    const std::string& text = fields_[IndexOf(field)];
    if (text.empty()) continue;
    entry.point.fields.Set(field, text);
    if (cut_.Has(field)) entry.point.fields.MarkCut(field);
  }
}

void KmlReader::OnGxStart(const XmlName& name, int depth) {
  if (segmentDepth_ == 0 && pointDepth_ == 0 && name.local == "Track") {
    StartSegment(depth, true);
  } else if (gxSegment_ && depth == segmentDepth_ + 1 && name.local == "coord") {
    CollectText();
  }
}

void KmlReader::OnGxEnd(const XmlName& name, int depth) {
  if (gxSegment_ && depth == segmentDepth_ + 1 && name.local == "coord") {
    const std::string_view text = TakeText();
    SegmentPosition(TextOverflowed() ? std::nullopt : ParseGxCoord(text));
  } else if (gxSegment_ && depth == segmentDepth_) {
    EndSegment();
  }
}

void KmlReader::StartSegment(int depth, bool gx) {
  if (!placemarkHasLine_) {
    placemarkHasLine_ = true;
    ++tracks_;
  }
  if (!kinds_.tracks) return;
  segmentDepth_ = depth;
  gxSegment_ = gx;
  inTuples_ = false;
  holding_ = false;
  thinner_.StartSegment();
}

void KmlReader::EndSegment() {
  segmentDepth_ = 0;
  gxSegment_ = false;
  if (thinner_.EndSegment() && holding_) Deliver(held_);
  holding_ = false;
}

void KmlReader::SegmentPosition(std::optional<Degrees> position) {
  Waiting point;
  point.line = CurrentLine();
  point.position = position;
  point.hadCoordinates = true;
  point.number = ++linePoints_;
  if (position &&
      thinner_.Offer(position->longitude, position->latitude) == TrackThinner::Verdict::kHold) {
    held_ = point;
    holding_ = true;
    return;
  }
  if (position) holding_ = false;
  Deliver(point);
}

void KmlReader::OnText(std::string_view piece) {
  for (const char c : piece) {
    if (IsBlank(c)) {
      EndTuple();
    } else if (tuple_.size() < kMaxTupleSize) {
      tuple_.push_back(c);
    } else {
      tupleTooLong_ = true;
    }
  }
}

void KmlReader::EndTuple() {
  if (tuple_.empty()) return;
  SegmentPosition(tupleTooLong_ ? std::nullopt : ParseKmlCoordinates(tuple_));
  tuple_.clear();
  tupleTooLong_ = false;
}

}  // namespace velorin
