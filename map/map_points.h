#pragma once
// The points of a map kept in memory: a point that would become a record
// with its title (UTF-8), its position and its line; a point the conversion
// would skip as its line, why, and where it lies when that is known. A
// million points fit in a few tens of megabytes: the titles share one arena.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "map/map_point_sink.h"
#include "map/map_view.h"

namespace velorin {

/// One point the conversion would skip.
struct MapSkip {
  std::int64_t line = 0;
  SkipKind kind = SkipKind::kMalformed;
  std::uint32_t reasonOffset = 0;  ///< into MapPoints' reason arena
  std::uint32_t reasonSize = 0;
  /// Where the point lies, when its position could be read.
  bool placed = false;
  LonLat position;
};

/// The texts a person is shown for one point.
struct MapPointTexts {
  std::string longitudeDms;      ///< D'M'S'T, "-" before a west longitude
  std::string latitudeDms;       ///< "-" before a south latitude
  std::string longitudeDecimal;  ///< "139.767125"
  std::string latitudeDecimal;
  std::string nviCode;  ///< "$..." or empty when NVI cannot hold the position
};

/// The texts of a position in degrees.
MapPointTexts TextsOfPosition(LonLat position);

class MapPoints : public MapPointSink {
 public:
  std::span<const MapPoint> points() const { return points_; }
  std::span<const MapSkip> skips() const { return skips_; }
  std::size_t size() const { return points_.size(); }
  std::string_view Title(const MapPoint& point) const {
    return std::string_view(titles_).substr(point.titleOffset, point.titleSize);
  }
  std::string_view Title(std::size_t index) const { return Title(points_[index]); }
  /// Every title, one after another in the points' order (each point's at
  /// its titleOffset).
  std::string_view Titles() const { return titles_; }
  std::string_view Reason(const MapSkip& skip) const {
    return std::string_view(reasons_).substr(skip.reasonOffset, skip.reasonSize);
  }
  MapPointTexts Texts(std::size_t index) const;
  /// The smallest box holding every point (across 180 degrees when smaller).
  FitBounds Bounds() const;

  void Add(const MapPoint& point, std::string_view title) override;
  void AddSkip(std::int64_t line, SkipKind kind, std::string_view reason,
               const LonLat* position) override;
  void Reserve(std::size_t points, std::size_t titleBytes);

 private:
  std::vector<MapPoint> points_;
  std::string titles_;
  std::vector<MapSkip> skips_;
  std::string reasons_;
};

}  // namespace velorin
