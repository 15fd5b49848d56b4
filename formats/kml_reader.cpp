#include "formats/kml_reader.h"

#include "formats/decimal_text.h"

namespace velorin {

namespace {

/// KML's own elements: in a KML namespace (OGC 2.2, or Google's older
/// ones), or in none. Google's gx: extensions and others are passed over.
bool IsKmlElement(std::string_view name) {
  const std::string_view space = NamespaceOf(name);
  return space.empty() || space.find("opengis.net/kml/") != std::string_view::npos ||
         space.find("earth.google.com/kml/") != std::string_view::npos;
}

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
  const std::optional<double> longitude = ParseDecimalDegrees(longitudeText);
  const std::optional<double> latitude = ParseDecimalDegrees(latitudeText);
  if (!longitude || !latitude) return std::nullopt;
  // Blanks inside a number's text would be a second tuple.
  for (const std::string_view part : {longitudeText, latitudeText}) {
    std::string_view inner = part;
    while (!inner.empty() && IsBlank(inner.front())) inner.remove_prefix(1);
    while (!inner.empty() && IsBlank(inner.back())) inner.remove_suffix(1);
    for (const char c : inner) {
      if (IsBlank(c)) return std::nullopt;
    }
  }
  return Degrees{*longitude, *latitude};
}

void KmlReader::OnStart(std::string_view name, int depth, const char**) {
  if (!IsKmlElement(name)) return;
  const std::string_view local = LocalName(name);
  if (placemarkDepth_ == 0) {
    if (local != "Placemark") return;
    placemarkDepth_ = depth;
    placemarkLine_ = CurrentLine();
    inPoint_ = hasPoint_ = hasCoordinates_ = hasName_ = false;
    nameTooLong_ = coordinatesTooLong_ = false;
    name_.clear();
    coordinates_.clear();
    return;
  }
  if (depth == placemarkDepth_ + 1) {
    if (local == "name" && !hasName_) CollectText();
    if (local == "Point" && !hasPoint_) inPoint_ = hasPoint_ = true;
    return;
  }
  if (inPoint_ && depth == placemarkDepth_ + 2 && local == "coordinates" && !hasCoordinates_) {
    CollectText();
  }
}

void KmlReader::OnEnd(std::string_view name, int depth) {
  if (placemarkDepth_ == 0 || !IsKmlElement(name)) return;
  const std::string_view local = LocalName(name);
  if (depth == placemarkDepth_ + 1 && local == "name" && !hasName_) {
    name_.assign(TakeText());
    nameTooLong_ = TextOverflowed();
    hasName_ = true;
    return;
  }
  if (depth == placemarkDepth_ + 1 && local == "Point") {
    inPoint_ = false;
    return;
  }
  if (inPoint_ && depth == placemarkDepth_ + 2 && local == "coordinates" && !hasCoordinates_) {
    coordinates_.assign(TakeText());
    coordinatesTooLong_ = TextOverflowed();
    hasCoordinates_ = true;
    return;
  }
  if (depth != placemarkDepth_ || local != "Placemark") return;
  placemarkDepth_ = 0;
  if (!hasPoint_) {
    ++ignored_.placemarksWithoutPoint;
    return;
  }

  ReadEntry& entry = Emit();
  entry.point.line = placemarkLine_;
  const std::optional<Degrees> position =
      coordinatesTooLong_ ? std::nullopt : ParseKmlCoordinates(coordinates_);
  if (!position) {
    entry.isPoint = false;
    entry.reason = hasCoordinates_ ? "placemark coordinates are not longitude,latitude"
                                   : "placemark point without coordinates";
    return;
  }
  if (nameTooLong_) {
    entry.isPoint = false;
    entry.reason = "placemark name longer than " + std::to_string(kMaxTextSize) + " bytes";
    return;
  }
  CollapseWhiteSpace(name_);
  // Expat hands over valid UTF-8: the title stays as the file gives it.
  entry.point.title = name_;
  entry.point.titleEncoding = TitleEncoding::kUtf8;
  entry.point.position = *position;
}

}  // namespace velorin
