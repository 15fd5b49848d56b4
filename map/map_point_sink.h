#pragma once
// One point of a map as a run hands it over, and where a run hands the
// points and skips of a map: kept all in memory (MapPoints) or streamed on
// (SpilledMapPoints). MapPointWriter is the run's writer for them, and
// MapSkipObserver tells them the entries the run skipped.
#include <cstdint>
#include <string_view>

#include "convert/run_observer.h"
#include "formats/point_writer.h"
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

/// Takes a run's points in file order.
class MapPointSink {
 public:
  virtual ~MapPointSink() = default;
  /// A point that would become a record, with its title (UTF-8).
  virtual void Add(const MapPoint& point, std::string_view title) = 0;
  /// An entry the conversion would skip, with its line and why; `position`
  /// is where it lies when that is known (a point without a title, one the
  /// output cannot hold), else null.
  virtual void AddSkip(std::int64_t line, SkipKind kind, std::string_view reason,
                       const LonLat* position) = 0;
};

/// The map point of a run's point.
MapPoint MapPointOf(const Point& point);

/// The run's writer of a map: every point written goes to the sink.
class MapPointWriter : public PointWriter {
 public:
  explicit MapPointWriter(MapPointSink& sink) : sink_(sink) {}
  void Write(const Point& point, std::string_view title) override {
    sink_.Add(MapPointOf(point), title);
  }

 private:
  MapPointSink& sink_;
};

/// Tells the sink of every entry the run skipped, then `next` (if any).
class MapSkipObserver : public RunObserver {
 public:
  explicit MapSkipObserver(MapPointSink& sink, RunObserver* next = nullptr)
      : sink_(sink), next_(next) {}
  void OnSkipped(const ReadEntry& entry, SkipKind kind, std::string_view reason) override;
  void OnTitleChanged(const Point& point, TitleChange change) override {
    if (next_ != nullptr) next_->OnTitleChanged(point, change);
  }
  void OnInputStarted(std::string_view path) override {
    if (next_ != nullptr) next_->OnInputStarted(path);
  }
  void OnInputWithoutPoints(std::string_view path) override {
    if (next_ != nullptr) next_->OnInputWithoutPoints(path);
  }
  void OnDuplicate(const Point& point, std::string_view reason) override {
    if (next_ != nullptr) next_->OnDuplicate(point, reason);
  }

 private:
  MapPointSink& sink_;
  RunObserver* next_;
};

}  // namespace velorin
