#include "formats/gpx_reader.h"

#include "formats/decimal_text.h"

namespace velorin {

namespace {

constexpr int kWaypointDepth = 2;  // gpx/wpt
constexpr std::string_view kGpxNamespacePrefix = "http://www.topografix.com/GPX/";

}  // namespace

/// GPX's own elements: in a GPX namespace, or in none. An extension's
/// <name> in another namespace is not the waypoint's name.
bool GpxReader::IsOwnNamespace(std::string_view space) const {
  return space.starts_with(kGpxNamespacePrefix);
}

void GpxReader::OnStart(const XmlName& name, int depth, const char** attributes) {
  // A waypoint of a wrong namespace or spelling: said, not silently lost.
  if (depth == kWaypointDepth && PassesOver(name, "wpt")) return;
  if (!name.own) return;
  const std::string_view local = name.local;
  if (depth == kWaypointDepth) {
    if (local == "rte") ++ignored_.routes;
    if (local == "trk") ++ignored_.tracks;
    if (local != "wpt") return;
    inWaypoint_ = true;
    waypointLine_ = CurrentLine();
    latitude_.Read(FindAttribute(attributes, "lat"));
    longitude_.Read(FindAttribute(attributes, "lon"));
    hasName_ = false;
    nameTooLong_ = false;
    name_.clear();
    return;
  }
  if (inWaypoint_ && depth == kWaypointDepth + 1 && local == "name" && !hasName_) {
    CollectText();
  }
}

void GpxReader::OnEnd(const XmlName& name, int depth) {
  if (!inWaypoint_ || !name.own) return;
  const std::string_view local = name.local;
  if (depth == kWaypointDepth + 1 && local == "name" && !hasName_) {
    TakeTextInto(name_);
    nameTooLong_ = TextOverflowed();
    hasName_ = true;
    return;
  }
  if (depth != kWaypointDepth || local != "wpt") return;
  inWaypoint_ = false;

  ReadEntry& entry = Emit();
  entry.point.line = waypointLine_;
  if (!latitude_.degrees || !longitude_.degrees) {
    entry.isPoint = false;
    const bool badLatitude = !latitude_.degrees;
    const Coordinate& bad = badLatitude ? latitude_ : longitude_;
    entry.reason = std::string("waypoint ") + (badLatitude ? "lat" : "lon") +
                   (bad.present ? " '" + bad.text + "' is not a number" : " missing");
    return;
  }
  if (nameTooLong_) {
    entry.isPoint = false;
    entry.reason = "waypoint name longer than " + std::to_string(kMaxTextSize) + " bytes";
    return;
  }
  entry.point.titleTidied = CollapseWhiteSpace(name_);
  // Expat hands over valid UTF-8: the title stays as the file gives it.
  // One point a waypoint: the name's memory goes with it, the title's comes
  // back for the next name.
  entry.point.title.swap(name_);
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = Degrees{*longitude_.degrees, *latitude_.degrees};
}

void GpxReader::Coordinate::Read(const char* attribute) {
  present = attribute != nullptr;
  degrees = present ? ParseDecimalDegrees(attribute) : std::nullopt;
  if (present && !degrees) text.assign(attribute);
}

}  // namespace velorin
