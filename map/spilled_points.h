#pragma once
// The map points of a file in flat memory: their count and bounds, the
// first ones in memory and the rest spilled to an anonymous temporary file,
// to be streamed again in file order as often as the picture needs.
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>

#include "map/map_points.h"

namespace velorin {

/// Opens the temporary file the points beyond the kept ones go to; null
/// when none can be made.
using SpillOpener = std::function<std::FILE*()>;

class SpilledMapPoints : public MapPointSink {
 public:
  /// Keeps the first `kept` points in memory and spills the rest to the
  /// file `open` gives (OpenAnonymousFile by default).
  explicit SpilledMapPoints(std::size_t kept, SpillOpener open = {});

  void Add(const MapPoint& point, std::string_view title) override;
  /// Skips are counted by the read; their details are not kept.
  void AddSkip(std::int64_t, SkipKind, std::string_view, const LonLat*) override {}

  std::size_t size() const { return count_; }
  FitBounds Bounds() const { return bounds_.Bounds(); }
  /// Whether some points are in the temporary file; otherwise every point
  /// is in `inMemory()`.
  bool spilled() const { return spill_ != nullptr; }
  const MapPoints& inMemory() const { return memory_; }
  /// Why writing or reading the temporary file failed, if it did.
  std::error_code error() const { return error_; }

  using Visit = std::function<void(std::uint32_t index, LonLat position, std::string_view title)>;
  /// Calls `visit` for every point in file order; false (and `error()`)
  /// when the temporary file could not be read back whole.
  bool ForEach(const Visit& visit) const;

 private:
  struct CloseFile {
    void operator()(std::FILE* file) const { std::fclose(file); }
  };
  bool Spill(const MapPoint& point, std::string_view title);

  std::size_t keep_;
  SpillOpener open_;
  std::size_t count_ = 0;
  BoundsGatherer bounds_;
  MapPoints memory_;
  std::unique_ptr<std::FILE, CloseFile> spill_;
  bool openTried_ = false;
  mutable std::error_code error_;
  mutable std::string title_;  ///< the title being read back
};

}  // namespace velorin
