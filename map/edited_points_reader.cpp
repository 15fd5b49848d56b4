#include "map/edited_points_reader.h"

#include <memory>

namespace velorin {

std::optional<std::uint32_t> EditedPointsReader::NextItem() {
  // The points and the skipped entries, each in file order, merged by
  // their places in the file.
  const EditableMap& map = points_.map();
  const bool pointLeft = nextPoint_ < map.pointCount();
  const bool skipLeft = nextSkip_ < map.skipCount();
  if (pointLeft && skipLeft) {
    if (map.items.Point(nextPoint_).order < map.items.Skip(nextSkip_).order) return nextPoint_++;
    return map.pointCount() + nextSkip_++;
  }
  if (pointLeft) return nextPoint_++;
  if (skipLeft) return map.pointCount() + nextSkip_++;
  if (points_.firstAdded() + nextAdded_ < points_.size())
    return points_.firstAdded() + nextAdded_++;
  return std::nullopt;
}

bool EditedPointsReader::Next(ReadEntry& entry) {
  while (const std::optional<std::uint32_t> item = NextItem()) {
    if (points_.Entry(*item, entry)) return true;
  }
  return false;
}

RunInput EditedPointsInput(const EditedPoints& points) {
  const EditableMap& map = points.map();
  return {map.path, map.read.format, FormatBasis::kExtension,
          [&points] { return std::make_unique<EditedPointsReader>(points); }};
}

}  // namespace velorin
