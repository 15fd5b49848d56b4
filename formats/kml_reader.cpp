#include "formats/kml_reader.h"

#include "formats/decimal_text.h"

namespace velorin {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

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

/// KML's own elements: in a KML namespace (OGC 2.2, or Google's older
/// ones), or in none. Google's gx: extensions and others are passed over.
bool KmlReader::IsOwnNamespace(std::string_view space) const {
  return space.find("opengis.net/kml/") != std::string_view::npos ||
         space.find("earth.google.com/kml/") != std::string_view::npos;
}

void KmlReader::OnStart(const XmlName& name, int depth, const char**) {
  // KML names are case-sensitive: a <placemark> is said, not silently lost.
  if (placemarkDepth_ == 0 && PassesOver(name, "Placemark")) return;
  if (!name.own) return;
  const std::string_view local = name.local;
  if (linkDepth_ != 0 || (placemarkDepth_ == 0 && local == "NetworkLink")) {
    OnLinkStart(local, depth);
    return;
  }
  if (placemarkDepth_ == 0) {
    if (local != "Placemark") return;
    placemarkDepth_ = containerDepth_ = depth;
    placemarkLine_ = CurrentLine();
    pointDepth_ = 0;
    points_ = 0;
    hasDirectPoint_ = hasName_ = nameTooLong_ = nameTidied_ = false;
    name_.clear();
    waiting_.clear();
    return;
  }
  if (depth == placemarkDepth_ + 1 && local == "name" && !hasName_) {
    CollectText();
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

void KmlReader::OnEnd(const XmlName& name, int depth) {
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
    nameTidied_ = CollapseWhiteSpace(name_);
    hasName_ = true;
    for (const Waiting& point : waiting_) EmitPoint(point);
    waiting_.clear();
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
  if (points_ == 0) {
    ++ignored_.placemarksWithoutPoint;
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
    ++ignored_.linksOutside;
  } else if (links_.size() < kMaxLinks && !hrefTooLong_) {
    links_.push_back(href_);
  } else {
    ++ignored_.linksNotFollowed;
  }
}

void KmlReader::EndPoint() {
  pointDepth_ = 0;
  ++points_;
  point_.hadCoordinates = hasCoordinates_;
  point_.position = coordinatesTooLong_ ? std::nullopt : ParseKmlCoordinates(coordinates_);
  if (hasName_) {
    EmitPoint(point_);
  } else if (waiting_.size() < kMaxPointsBeforeName) {
    waiting_.push_back(point_);
  } else {
    ReadEntry& entry = Emit();
    entry.point.line = placemarkLine_;  // before the waiting ones: lines never go back
    entry.isPoint = false;
    entry.reason = "more than " + std::to_string(kMaxPointsBeforeName) +
                   " points of one placemark before its name";
  }
}

void KmlReader::EmitPoint(const Waiting& point) {
  ReadEntry& entry = Emit();
  entry.point.line = point.line;
  if (!point.position) {
    entry.isPoint = false;
    entry.reason = point.hadCoordinates ? "placemark coordinates are not longitude,latitude"
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
  entry.point.titleTidied = nameTidied_;
  entry.point.title = name_;
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = *point.position;
}

}  // namespace velorin
