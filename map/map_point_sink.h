#pragma once
// One point of a map as the reader finds it, and where the reader hands the
// points and skips it finds: kept all in memory (MapPoints) or streamed on.
#include <cstdint>
#include <string_view>

#include "formats/point_reader.h"
#include "map/web_mercator.h"

namespace velorin {

/// One point that would become a record.
struct MapPoint {
  double longitude = 0.0;  ///< decimal degrees
  double latitude = 0.0;
  std::int64_t line = 0;          ///< line (or element) where it begins in the file; 0 when unknown
  std::uint32_t titleOffset = 0;  ///< into MapPoints' title arena
  std::uint32_t titleSize = 0;
  /// The exact angle integers when the file gave a position code (NVI).
  std::uint32_t unitsX = 0;
  std::uint32_t unitsY = 0;
  bool fromCode = false;

  LonLat position() const { return {longitude, latitude}; }
};

/// Takes the reader's points in file order.
class MapPointSink {
 public:
  virtual ~MapPointSink() = default;
  /// A point that would become a record, with its title (UTF-8).
  virtual void Add(const MapPoint& point, std::string_view title) = 0;
  /// An entry the conversion would skip, with its line and why.
  virtual void AddSkip(std::int64_t line, SkipKind kind, std::string_view reason) = 0;
};

}  // namespace velorin
