#include "map/read_items.h"

#include <new>

namespace velorin {

ReadItem ReadItems::Kept(const velorin::Point& point) {
  if (titles_.size() + point.title.size() > UINT32_MAX) throw std::bad_alloc();
  ReadItem item;
  item.order = entries_++;
  item.titleOffset = static_cast<std::uint32_t>(titles_.size());
  item.titleSize = static_cast<std::uint32_t>(point.title.size());
  item.encoding = point.titleEncoding;
  item.approximated = point.titleApproximated;
  item.isPoint = true;
  titles_.append(point.title);
  return item;
}

void ReadItems::AddPoint(const velorin::Point& point, std::string_view shown) {
  if (point.fields.Any()) {
    pointFields_.emplace(static_cast<std::uint32_t>(points_.size()), point.fields);
  }
  if (point.titleEncoding == TitleEncoding::kUtf8 && !point.titleApproximated &&
      point.title == shown) {
    // Most titles of UTF-8 files: the map's own copy serves.
    ReadItem& item = points_.emplace_back();
    item.order = entries_++;
    item.titleShown = true;
    item.isPoint = true;
    return;
  }
  points_.push_back(Kept(point));
}

void ReadItems::AddSkip(const ReadEntry& entry) {
  if (entry.isPoint && entry.point.fields.Any()) {
    skipFields_.emplace(static_cast<std::uint32_t>(skips_.size()), entry.point.fields);
  }
  ReadPosition& position = skipPositions_.emplace_back();
  if (!entry.isPoint) {
    // Only the line of an entry the reader could not read counts.
    ReadItem& item = skips_.emplace_back();
    item.order = entries_++;
    return;
  }
  skips_.push_back(Kept(entry.point));
  if (const auto* units = std::get_if<DecodedPosition>(&entry.point.position)) {
    position.fromCode = true;
    position.unitsX = units->x;
    position.unitsY = units->y;
  }
  const Degrees degrees = DegreesOf(entry.point.position);
  position.longitude = degrees.longitude;
  position.latitude = degrees.latitude;
}

void ReadItems::Reserve(std::size_t points) { points_.reserve(points); }

}  // namespace velorin
