#include "map/map_points.h"

#include <new>

#include "formats/decimal_text.h"
#include "formats/poi_record.h"
#include "geo/position_code.h"

namespace velorin {
namespace {

std::uint32_t ArenaOffset(const std::string& arena) {
  if (arena.size() > UINT32_MAX) throw std::bad_alloc();
  return static_cast<std::uint32_t>(arena.size());
}

std::string SignedDms(double degrees) {
  return degrees < 0.0 ? "-" + FormatPotNotation(-degrees) : FormatPotNotation(degrees);
}

}  // namespace

MapPoint MapPointOf(const Point& point) {
  MapPoint kept;
  const Degrees degrees = DegreesOf(point.position);
  kept.longitude = degrees.longitude;
  kept.latitude = degrees.latitude;
  kept.line = point.line;
  if (const auto* units = std::get_if<DecodedPosition>(&point.position)) {
    kept.fromCode = true;
    kept.unitsX = units->x;
    kept.unitsY = units->y;
  }
  return kept;
}

void MapSkipObserver::OnSkipped(const ReadEntry& entry, SkipKind kind, std::string_view reason) {
  // A point whose position was read lies somewhere, even where the output
  // cannot hold it.
  LonLat position;
  bool placed = false;
  if (entry.isPoint) {
    const Degrees degrees = DegreesOf(entry.point.position);
    placed = degrees.latitude >= -90.0 && degrees.latitude <= 90.0 && degrees.longitude >= -180.0 &&
             degrees.longitude <= 180.0;
    position = {degrees.longitude, degrees.latitude};
  }
  sink_.AddSkip(entry.point.line, kind, reason, placed ? &position : nullptr);
  if (next_ != nullptr) next_->OnSkipped(entry, kind, reason);
}

void MapPoints::Add(const MapPoint& point, std::string_view title) {
  MapPoint& added = points_.emplace_back(point);
  added.titleOffset = ArenaOffset(titles_);
  added.titleSize = static_cast<std::uint32_t>(title.size());
  titles_.append(title);
}

void MapPoints::AddSkip(std::int64_t line, SkipKind kind, std::string_view reason,
                        const LonLat* position) {
  const std::uint32_t offset = ArenaOffset(reasons_);
  MapSkip& skip = skips_.emplace_back();
  skip.line = line;
  skip.kind = kind;
  skip.reasonOffset = offset;
  skip.reasonSize = static_cast<std::uint32_t>(reason.size());
  if (position != nullptr) {
    skip.placed = true;
    skip.position = *position;
  }
  reasons_.append(reason);
}

void MapPoints::Reserve(std::size_t points, std::size_t titleBytes) {
  points_.reserve(points);
  titles_.reserve(titleBytes);
}

MapPointTexts MapPoints::Texts(std::size_t index) const {
  const MapPoint& point = points_[index];
  MapPointTexts texts;
  if (point.fromCode) {
    texts.longitudeDms = FormatPotNotationOfUnits(point.unitsX);
    texts.latitudeDms = FormatPotNotationOfUnits(point.unitsY);
    texts.longitudeDecimal = std::string(FormatUnitsAsDegrees(point.unitsX).view());
    texts.latitudeDecimal = std::string(FormatUnitsAsDegrees(point.unitsY).view());
    texts.nviCode = std::string(FormatPositionCode(point.unitsX, point.unitsY).view());
    return texts;
  }
  return TextsOfPosition(point.position());
}

MapPointTexts TextsOfPosition(LonLat position) {
  MapPointTexts texts;
  texts.longitudeDms = SignedDms(position.longitude);
  texts.latitudeDms = SignedDms(position.latitude);
  texts.longitudeDecimal = std::string(FormatDegrees(position.longitude).view());
  texts.latitudeDecimal = std::string(FormatDegrees(position.latitude).view());
  // NVI holds no west longitude and no south latitude.
  if (position.longitude >= 0.0 && position.latitude >= 0.0) {
    texts.nviCode = EncodeNviPosition(position.longitude, position.latitude).str();
  }
  return texts;
}

FitBounds MapPoints::Bounds() const {
  BoundsGatherer gatherer;
  for (const MapPoint& point : points_) gatherer.Add(point.position());
  return gatherer.Bounds();
}

}  // namespace velorin
