#include "convert/point_selector.h"

#include <cmath>
#include <cstdint>

#include "formats/poi_record.h"
#include "geo/surface_distance.h"

namespace velorin {

namespace {

/// "850 m", "52.3 km".
std::string DistanceText(double metres) {
  if (metres < 999.5) return std::to_string(std::llround(metres)) + " m";
  const std::int64_t tenths = std::llround(metres / 100.0);
  return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + " km";
}

}  // namespace

PointSelector::PointSelector(const std::vector<PointFilter>& filters, TitleEncoding titles)
    : filters_(filters), titles_(titles) {}

std::optional<std::size_t> PointSelector::FilterLeavingOut(const Point& point,
                                                           std::string_view title) {
  utf8_.reset();
  const Degrees degrees = DegreesOf(point.position);
  for (std::size_t i = 0; i < filters_.size(); ++i) {
    if (!Keeps(filters_[i], degrees, title)) return i;
  }
  return std::nullopt;
}

bool PointSelector::Keeps(const PointFilter& filter, const Degrees& degrees,
                          std::string_view title) {
  switch (filter.kind) {
    case FilterKind::kNear:
      return DistanceWithin(filter.area, degrees.longitude, degrees.latitude).has_value();
    case FilterKind::kWithin:
      return IsWithin(filter.box, degrees.longitude, degrees.latitude);
    case FilterKind::kMatch:
    case FilterKind::kExclude: {
      const std::string_view text = Utf8Title(title);
      const bool found = TitleMatches(*filter.title, text);
      return found == (filter.kind == FilterKind::kMatch);
    }
  }
  return true;
}

std::string_view PointSelector::Utf8Title(std::string_view title) {
  if (!utf8_) {
    if (title.empty()) {
      utf8_ = kNoTitleText;
    } else {
      utf8_ = titles_ == TitleEncoding::kCp932 ? decoder_.Decode(title) : title;
    }
  }
  return *utf8_;
}

std::string PointSelector::Reason(std::size_t index, const Point& point) const {
  const PointFilter& filter = filters_[index];
  const Degrees degrees = DegreesOf(point.position);
  const bool onGlobe = IsOnGlobe(degrees.longitude, degrees.latitude);
  switch (filter.kind) {
    case FilterKind::kNear: {
      if (!onGlobe) return "outside " + filter.name + " (not a position on the globe)";
      const double metres = SurfaceDistanceMetres(filter.area.longitude, filter.area.latitude,
                                                  degrees.longitude, degrees.latitude);
      return "outside " + filter.name + " (" + DistanceText(metres) + " from its centre)";
    }
    case FilterKind::kWithin:
      return "outside " + filter.name + (onGlobe ? "" : " (not a position on the globe)");
    case FilterKind::kMatch:
      return "title not matching " + filter.name;
    case FilterKind::kExclude:
      break;
  }
  return "title matching " + filter.name;
}

}  // namespace velorin
