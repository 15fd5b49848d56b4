#include "convert/point_selector.h"

#include <cmath>
#include <cstdint>
#include <utility>

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

PointSelector::PointSelector(const std::vector<PointFilter>& filters, TitleEncoding titles,
                             std::function<bool()> keepGoing)
    : filters_(filters), titles_(titles), keepGoing_(std::move(keepGoing)) {
  for (const PointFilter& filter : filters) {
    searchers_.emplace_back();
    if (filter.title) searchers_.back().emplace(filter.title);
  }
}

PointSelector::Verdict PointSelector::Judge(const Point& point, std::string_view title,
                                            std::size_t& filter) {
  utf8_.reset();
  const Degrees degrees = DegreesOf(point.position);
  for (std::size_t i = 0; i < filters_.size(); ++i) {
    const Verdict verdict = Judge(i, degrees, title);
    if (verdict == Verdict::kKept) continue;
    filter = i;
    return verdict;
  }
  return Verdict::kKept;
}

PointSelector::Verdict PointSelector::Judge(std::size_t index, const Degrees& degrees,
                                            std::string_view title) {
  const PointFilter& filter = filters_[index];
  bool keeps = true;
  switch (filter.kind) {
    case FilterKind::kNear:
      keeps = DistanceWithin(filter.area, degrees.longitude, degrees.latitude).has_value();
      break;
    case FilterKind::kWithin:
      keeps = IsWithin(filter.box, degrees.longitude, degrees.latitude);
      break;
    case FilterKind::kMatch:
    case FilterKind::kExclude: {
      const RegexSearcher::Result found = searchers_[index]->Search(Utf8Title(title), keepGoing_);
      if (found == RegexSearcher::Result::kStopped) return Verdict::kStopped;
      keeps = (found == RegexSearcher::Result::kFound) == (filter.kind == FilterKind::kMatch);
      break;
    }
  }
  return keeps ? Verdict::kKept : Verdict::kLeftOut;
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
